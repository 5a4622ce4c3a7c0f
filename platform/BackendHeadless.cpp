// The headless display: nothing is shown; the composed screen stays in memory for screenshots
// and tests. The loop waits on a condition variable that posts from other threads signal.
#include <chrono>
#include <condition_variable>
#include <mutex>

#include "platform/Clock.h"
#include "platform/WindowInternal.h"

namespace plat {
namespace {

std::mutex g_waitLock;
std::condition_variable g_waitSignal;
bool g_woken = false;
bool g_fingerDown = false;
constexpr int kMaxPumpedMessages = 100000;

DisplayResult Open(const DisplayOptions&) {
  g_fingerDown = false;
  return DisplayResult::Ok;
}

void Close() { g_fingerDown = false; }

void Present(const PixelView&, const Rect&) {}

void Wait(int timeoutMs) {
  std::unique_lock<std::mutex> lock(g_waitLock);
  if (timeoutMs < 0) {
    g_waitSignal.wait(lock, [] { return g_woken; });
  } else {
    g_waitSignal.wait_for(lock, std::chrono::milliseconds(timeoutMs), [] { return g_woken; });
  }
  g_woken = false;
}

void WakeUp() {
  {
    std::lock_guard<std::mutex> guard(g_waitLock);
    g_woken = true;
  }
  g_waitSignal.notify_one();
}

void Raise() {}

constexpr detail::BackendOps kHeadless{Open, Close, Present, Wait, WakeUp, Raise};

}  // namespace

const detail::BackendOps& detail::HeadlessBackend() { return kHeadless; }

void HeadlessInjectTouch(int x, int y, bool down) {
  if (down) {
    PostTouch(g_fingerDown ? TouchPhase::Move : TouchPhase::Down, x, y);
  } else {
    PostTouch(TouchPhase::Up, x, y);
  }
  g_fingerDown = down;
}

int PumpUntilIdle() {
  int count = 0;
  Message m;
  while (count < kMaxPumpedMessages) {
    detail::NextResult r = detail::NextMessage(m, false);
    if (r == detail::NextResult::Quit) {
      detail::RepostQuit(static_cast<int>(m.wParam));
      break;
    }
    if (r == detail::NextResult::Idle) break;
    DispatchMessage(m);
    ++count;
  }
  return count;
}

void RunFor(uint64_t ms) {
  uint64_t target = NowMs() + ms;
  for (;;) {
    PumpUntilIdle();
    uint64_t now = NowMs();
    if (now >= target || detail::QuitPending()) break;
    uint64_t next = detail::NextDeadlineMs();
    uint64_t until = next < target ? next : target;
    if (VirtualClockActive()) {
      if (until > now) AdvanceVirtualClock(until - now);
    } else {
      detail::WaitForWork(static_cast<int>(until - now));
    }
  }
  if (!detail::QuitPending()) PumpUntilIdle();
}

}  // namespace plat
