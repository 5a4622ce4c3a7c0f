#pragma once
// The shutdown history's writer thread. Records reported on the link thread go through a small
// fixed queue to this thread, so a slow or stuck storage card never stretches the link cycle.
// The shell starts it with the panel and stops it at exit, after the link thread has stopped.
#include "platform/Clock.h"

namespace records {

inline constexpr int kHistoryQueueSize = 16;

// Starts the thread; a second call does nothing.
void StartHistoryWriter();
// Writes what is queued, then ends the thread. A record the store refuses even then is lost.
void StopHistoryWriter();
// Any thread. A record the store refused stays at the head of the queue, and the writer waits
// for this call (the one-second tick makes it) before it tries again.
void RetryHistoryWrites();
// Records waiting in the queue.
int QueuedHistoryRecords();

enum class QueueResult : uint8_t {
  Queued,
  Full,        // the writer is behind by a whole queue: the record is dropped and that is told
  NotRunning,  // no writer: the caller writes the record itself
};
// Any thread. Copies the texts.
QueueResult QueueHistoryRecord(const char16_t* description, const char16_t* node, const plat::LocalTime& when);

}  // namespace records
