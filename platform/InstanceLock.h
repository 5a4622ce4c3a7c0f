#pragma once
// One process per folder: a lock file only one process holds at a time, and a FIFO beside it
// through which later processes knock. Host paths.
#include <cstdint>

namespace plat {

enum class LockResult : uint8_t {
  Taken,          // this process holds the lock until ReleaseInstanceLock
  HeldElsewhere,  // another process holds it
  Failed,         // the lock file could not be opened or made
};
LockResult TakeInstanceLock(const char* lockPath);
void ReleaseInstanceLock();

// Makes the FIFO when missing and listens on it without blocking; false when it cannot.
bool ListenForKnocks(const char* fifoPath);
// True when at least one knock arrived since the last call (never blocks).
bool TakeKnocks();
void StopListening();
// Writes one byte into the FIFO when a process listens on it; nothing otherwise.
void Knock(const char* fifoPath);

}  // namespace plat
