#pragma once
// A pseudo-terminal pair for the controller simulator: the simulator serves on the master end,
// the panel opens the slave path as its serial device. Both ends are raw (no echo, no line
// editing, no character translation) and the master never blocks.
#include <cstdint>

namespace plat {

enum class PtyResult : uint8_t {
  Ok,
  NotOpen,       // no pair open
  OpenFailed,    // no pseudo-terminal could be allocated
  ConfigFailed,  // the pair exists but could not be made raw
  Gone,          // the line failed (read or write error); the pair is unusable
  WriteFailed,   // the write did not complete in time
};
const char* PtyResultText(PtyResult r);

class PtyPair {
 public:
  PtyPair() = default;
  ~PtyPair();
  PtyPair(const PtyPair&) = delete;
  PtyPair& operator=(const PtyPair&) = delete;

  // Allocates a new pair. The slave end is kept open here too, so the master does not see a
  // hang-up while the panel closes and reopens its port.
  PtyResult Open();
  // Closes both ends; a panel holding the slave then sees the device disappear.
  void Close();
  bool IsOpen() const { return master_ >= 0; }
  // "/dev/pts/N" while open, empty otherwise.
  const char* SlavePath() const { return slavePath_; }

  // Reads what the slave side has written, up to `capacity` bytes, never blocking.
  PtyResult Read(uint8_t* buffer, int capacity, int& got);
  // Writes the whole buffer, waiting up to `maxWaitMs` in total for room.
  PtyResult Write(const uint8_t* buffer, int length, int maxWaitMs = 1000);
  // Waits up to `timeoutMs` for bytes from the slave side. False on time-out.
  bool WaitReadable(int timeoutMs);

 private:
  int master_ = -1;
  int slave_ = -1;
  char slavePath_[64] = {};
};

}  // namespace plat
