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
Writer g_writer;

void WriterMain() {
  std::unique_lock<std::mutex> hold(g_writer.lock);
  for (;;) {
    g_writer.wake.wait(hold, [] { return (g_writer.count > 0 && !g_writer.stalled) || g_writer.stopping; });
    if (g_writer.count == 0) return;
    // The head stays in the queue until it is written: the link thread only ever adds at the
    // tail, so the copy taken here is still the head afterwards.
    PendingRecord record = g_writer.queue[g_writer.head];
    // The card is written without the queue's lock, so the link thread never waits on it.
    hold.unlock();
    HistoryResult r = AddHistoryRecord(record.description, record.node, record.when);
    hold.lock();
    if (r == HistoryResult::Ok || g_writer.stopping) {
      g_writer.head = (g_writer.head + 1) % kHistoryQueueSize;
      --g_writer.count;
    } else {
      g_writer.stalled = true;
    }
  }
}

}  // namespace

void StartHistoryWriter() {
  std::lock_guard<std::mutex> guard(g_writer.lock);
  if (g_writer.running) return;
  g_writer.head = 0;
  g_writer.count = 0;
  g_writer.stopping = false;
  g_writer.stalled = false;
  g_writer.running = true;
  g_writer.thread = std::thread(WriterMain);
}

void StopHistoryWriter() {
  {
    std::lock_guard<std::mutex> guard(g_writer.lock);
    if (!g_writer.running) return;
    g_writer.stopping = true;
  }
  g_writer.wake.notify_one();
  g_writer.thread.join();
  std::lock_guard<std::mutex> guard(g_writer.lock);
  g_writer.running = false;
}

void RetryHistoryWrites() {
  {
    std::lock_guard<std::mutex> guard(g_writer.lock);
    if (!g_writer.stalled) return;
    g_writer.stalled = false;
  }
  g_writer.wake.notify_one();
}

int QueuedHistoryRecords() {
  std::lock_guard<std::mutex> guard(g_writer.lock);
  return g_writer.count;
}

QueueResult QueueHistoryRecord(const char16_t* description, const char16_t* node, const plat::LocalTime& when) {
  {
    std::lock_guard<std::mutex> guard(g_writer.lock);
    if (!g_writer.running || g_writer.stopping) return QueueResult::NotRunning;
    if (g_writer.count == kHistoryQueueSize) return QueueResult::Full;
    PendingRecord& r = g_writer.queue[(g_writer.head + g_writer.count) % kHistoryQueueSize];
    plat::Utf16Copy(r.description, kDescriptionUnits, description ? description : u"");
    plat::Utf16Copy(r.node, kNodeNameUnits, node ? node : u"");
    r.when = when;
    ++g_writer.count;
  }
  g_writer.wake.notify_one();
  return QueueResult::Queued;
}

}  // namespace records
