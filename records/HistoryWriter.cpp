#include "records/HistoryWriter.h"

#include <condition_variable>
#include <mutex>
#include <thread>

#include "platform/Text.h"
#include "records/ShutdownHistory.h"

namespace records {

namespace {

struct PendingRecord {
  char16_t description[kDescriptionUnits];
  char16_t node[kNodeNameUnits];
  plat::LocalTime when;
};

struct Writer {
  std::mutex lock;
  std::condition_variable wake;
  PendingRecord queue[kHistoryQueueSize];
  int head = 0;
  int count = 0;
  bool running = false;
  bool stopping = false;
  bool stalled = false;  // the head was refused; waits for RetryHistoryWrites
  std::thread thread;
};
Writer gWriter;

void WriterMain() {
  std::unique_lock<std::mutex> hold(gWriter.lock);
  for (;;) {
    gWriter.wake.wait(hold, [] { return (gWriter.count > 0 && !gWriter.stalled) || gWriter.stopping; });
    if (gWriter.count == 0) return;
    // The head stays in the queue until it is written: the link thread only ever adds at the
    // tail, so the copy taken here is still the head afterwards.
    PendingRecord record = gWriter.queue[gWriter.head];
    // The card is written without the queue's lock, so the link thread never waits on it.
    hold.unlock();
    HistoryResult r = AddHistoryRecord(record.description, record.node, record.when);
    hold.lock();
    if (r == HistoryResult::Ok || gWriter.stopping) {
      gWriter.head = (gWriter.head + 1) % kHistoryQueueSize;
      --gWriter.count;
    } else {
      gWriter.stalled = true;
    }
  }
}

}  // namespace

void StartHistoryWriter() {
  std::lock_guard<std::mutex> guard(gWriter.lock);
  if (gWriter.running) return;
  gWriter.head = 0;
  gWriter.count = 0;
  gWriter.stopping = false;
  gWriter.stalled = false;
  gWriter.running = true;
  gWriter.thread = std::thread(WriterMain);
}

void StopHistoryWriter() {
  {
    std::lock_guard<std::mutex> guard(gWriter.lock);
    if (!gWriter.running) return;
    gWriter.stopping = true;
  }
  gWriter.wake.notify_one();
  gWriter.thread.join();
  std::lock_guard<std::mutex> guard(gWriter.lock);
  gWriter.running = false;
}

void RetryHistoryWrites() {
  {
    std::lock_guard<std::mutex> guard(gWriter.lock);
    if (!gWriter.stalled) return;
    gWriter.stalled = false;
  }
  gWriter.wake.notify_one();
}

int QueuedHistoryRecords() {
  std::lock_guard<std::mutex> guard(gWriter.lock);
  return gWriter.count;
}

QueueResult QueueHistoryRecord(const char16_t* description, const char16_t* node, const plat::LocalTime& when) {
  {
    std::lock_guard<std::mutex> guard(gWriter.lock);
    if (!gWriter.running || gWriter.stopping) return QueueResult::NotRunning;
    if (gWriter.count == kHistoryQueueSize) return QueueResult::Full;
    PendingRecord& r = gWriter.queue[(gWriter.head + gWriter.count) % kHistoryQueueSize];
    plat::Utf16Copy(r.description, kDescriptionUnits, description ? description : u"");
    plat::Utf16Copy(r.node, kNodeNameUnits, node ? node : u"");
    r.when = when;
    ++gWriter.count;
  }
  gWriter.wake.notify_one();
  return QueueResult::Queued;
}

}  // namespace records
