#include "platform/Window.h"

#include "platform/Clock.h"
#include "platform/Script.h"
#include "platform/WindowState.h"

// The message queue: posted messages and touches, the quit request, timers and the loop that
// hands them out in order.
namespace plat {
namespace detail {

std::mutex g_lock;
TimerEntry g_timers[kMaxTimers];
int g_exitCode = 0;

namespace {
// Under g_lock.
Message g_ring[kMaxPostedMessages];
int g_ringHead = 0;
int g_ringCount = 0;
bool g_quitPending = false;
int g_quitCode = 0;
}  // namespace

void Wake() {
  const detail::BackendOps* backend = g_backend.load(std::memory_order_acquire);
  if (backend != nullptr) backend->wake();
}

void ResetMessageQueue() {
  for (auto& t : g_timers) t = TimerEntry{};
  g_exitCode = 0;
  std::lock_guard<std::mutex> guard(g_lock);
  g_ringHead = g_ringCount = 0;
  g_quitPending = false;
}

}  // namespace detail

using namespace detail;

namespace {

// --- message ring -------------------------------------------------------------------------

bool PushPosted(const Message& m) {
  {
    std::lock_guard<std::mutex> guard(g_lock);
    if (g_ringCount == kMaxPostedMessages) return false;
    g_ring[(g_ringHead + g_ringCount) % kMaxPostedMessages] = m;
    ++g_ringCount;
  }
  Wake();
  return true;
}

bool PopPosted(Message& out) {
  std::lock_guard<std::mutex> guard(g_lock);
  if (g_ringCount == 0) return false;
  out = g_ring[g_ringHead];
  g_ringHead = (g_ringHead + 1) % kMaxPostedMessages;
  --g_ringCount;
  return true;
}

bool TakeQuit(int& code) {
  std::lock_guard<std::mutex> guard(g_lock);
  if (!g_quitPending) return false;
  g_quitPending = false;
  code = g_quitCode;
  return true;
}

// Nothing queued and nothing dirty: safe to move the virtual clock on.
bool QueueQuiet() {
  std::lock_guard<std::mutex> guard(g_lock);
  return g_ringCount == 0 && !g_anyDirty && !g_quitPending;
}

// --- touches ------------------------------------------------------------------------------

int ChildAt(int slot, Point p) {
  for (int c = g_windows[slot].lastChild; c != kNone; c = g_windows[c].prev) {
    const WindowEntry& w = g_windows[c];
    if (!(w.flags & WindowFlag::Visible) || (w.flags & WindowFlag::Disabled)) continue;
    if (w.flags & WindowFlag::Transparent) continue;
    if (VisibleScreenRect(c).Contains(p.x, p.y)) return ChildAt(c, p);
  }
  return slot;
}

int VisibleChildAt(int slot, Point p) {
  for (int c = g_windows[slot].lastChild; c != kNone; c = g_windows[c].prev) {
    const WindowEntry& w = g_windows[c];
    if (!(w.flags & WindowFlag::Visible) || (w.flags & WindowFlag::Transparent)) continue;
    if (VisibleScreenRect(c).Contains(p.x, p.y)) return VisibleChildAt(c, p);
  }
  return slot;
}

int ActiveTopSlot() {
  for (int s = g_topLast; s != kNone; s = g_windows[s].prev) {
    const WindowEntry& w = g_windows[s];
    if (!(w.flags & WindowFlag::Visible)) continue;
    return (w.flags & WindowFlag::Disabled) ? kNone : s;
  }
  return kNone;
}

// Turns a queued touch (screen coordinates, no window) into a message for its window.
bool RouteTouch(Message& m) {
  Point p = PointFrom(m.lParam);
  Hwnd target = kNoWindow;
  if (m.msg == Msg::TouchDown) {
    target = WindowFromPoint(p.x, p.y);
    g_capture = target;
  } else {
    target = g_capture;
    if (m.msg == Msg::TouchUp) g_capture = kNoWindow;
  }
  int slot = Slot(target);
  if (slot == kNone) return false;
  Rect client = ClientScreenRectOf(slot);
  m.window = target;
  m.lParam = PointParam(p.x - client.left, p.y - client.top);
  return true;
}

// --- timers -------------------------------------------------------------------------------

int DueTimer(uint64_t now) {
  int best = kNone;
  for (int i = 0; i < kMaxTimers; ++i) {
    const TimerEntry& t = g_timers[i];
    if (t.used && t.due <= now && (best == kNone || t.due < g_timers[best].due)) best = i;
  }
  return best;
}
}  // namespace

// --- messages -----------------------------------------------------------------------------

LResult SendMessage(Hwnd h, Msg msg, WParam wParam, LParam lParam) {
  int s = Slot(h);
  if (s == kNone) return 0;
  return g_classes[g_windows[s].classIndex].proc(h, msg, wParam, lParam);
}

bool PostMessage(Hwnd h, Msg msg, WParam wParam, LParam lParam) {
  return PushPosted(Message{h, msg, wParam, lParam});
}

void PostQuitMessage(int exitCode) {
  {
    std::lock_guard<std::mutex> guard(g_lock);
    g_quitPending = true;
    g_quitCode = exitCode;
  }
  Wake();
}

namespace detail {

void RepostQuit(int code) { PostQuitMessage(code); }

bool QuitPending() {
  std::lock_guard<std::mutex> guard(g_lock);
  return g_quitPending;
}

void WaitForWork(int timeoutMs) {
  if (g_backend.load() != nullptr) g_backend.load()->wait(timeoutMs);
}

uint64_t NextDeadlineMs() {
  uint64_t next = ScriptNextDueMs();
  for (const TimerEntry& t : g_timers) {
    if (t.used && t.due < next) next = t.due;
  }
  return next;
}

NextResult NextMessage(Message& out, bool wait) {
  for (;;) {
    while (PopPosted(out)) {
      if (out.window == kNoWindow &&
          (out.msg == Msg::TouchDown || out.msg == Msg::TouchMove || out.msg == Msg::TouchUp)) {
        if (RouteTouch(out)) return NextResult::Message;
        continue;
      }
      if (out.window != kNoWindow && Slot(out.window) == kNone) continue;
      return NextResult::Message;
    }
    int code = 0;
    if (TakeQuit(code)) {
      g_exitCode = code;
      out = Message{kNoWindow, Msg::Quit, static_cast<WParam>(code), 0};
      return NextResult::Quit;
    }
    PaintDirty();
    uint64_t now = NowMs();
    int t = DueTimer(now);
    uint64_t scriptDue = ScriptNextDueMs();
    if (t != kNone && g_timers[t].due <= scriptDue) {
      TimerEntry& e = g_timers[t];
      out = Message{e.window, Msg::Timer, e.id, 0};
      e.due += e.period;
      if (e.due <= now) e.due += ((now - e.due) / e.period + 1) * e.period;
      return NextResult::Message;
    }
    if (scriptDue <= now) {
      out = Message{kNoWindow, Msg::Automation, 0, 0};
      return NextResult::Message;
    }
    {
      std::lock_guard<std::mutex> guard(g_lock);
      if (g_ringCount > 0 || g_quitPending) continue;
    }
    if (!wait) return NextResult::Idle;
    uint64_t deadline = NextDeadlineMs();
    if (VirtualClockActive() && deadline != UINT64_MAX) {
      // Nothing can happen in virtual time before the deadline: jump to it.
      if (QueueQuiet() && deadline > now) AdvanceVirtualClock(deadline - now);
      continue;
    }
    int timeout = -1;
    if (deadline != UINT64_MAX) {
      uint64_t ms = deadline > now ? deadline - now : 0;
      timeout = ms > 1000000 ? 1000000 : static_cast<int>(ms);
    }
    if (g_backend.load() != nullptr) g_backend.load()->wait(timeout);
  }
}

}  // namespace detail

bool GetMessage(Message& out) {
  return detail::NextMessage(out, true) == detail::NextResult::Message;
}

bool PeekMessage(Message& out) {
  detail::NextResult r = detail::NextMessage(out, false);
  if (r == detail::NextResult::Quit) detail::RepostQuit(g_exitCode);
  return r == detail::NextResult::Message;
}

void DispatchMessage(const Message& m) {
  if (m.msg == Msg::Automation && m.window == kNoWindow) {
    RunScriptStep();
    return;
  }
  if (m.window != kNoWindow) SendMessage(m.window, m.msg, m.wParam, m.lParam);
}

int ExitCode() { return g_exitCode; }

// --- timers -------------------------------------------------------------------------------

bool SetTimer(Hwnd h, uint32_t id, uint32_t periodMs) {
  if (Slot(h) == kNone || periodMs == 0) return false;
  int free = kNone;
  for (int i = 0; i < kMaxTimers; ++i) {
    if (g_timers[i].used && g_timers[i].window == h && g_timers[i].id == id) {
      free = i;
      break;
    }
    if (!g_timers[i].used && free == kNone) free = i;
  }
  if (free == kNone) return false;
  g_timers[free] = TimerEntry{true, h, id, periodMs, NowMs() + periodMs};
  return true;
}

bool KillTimer(Hwnd h, uint32_t id) {
  for (auto& t : g_timers) {
    if (t.used && t.window == h && t.id == id) {
      t = TimerEntry{};
      return true;
    }
  }
  return false;
}

// --- touches --------------------------------------------------------------------------------

bool PostTouch(TouchPhase phase, int x, int y) {
  if (phase == TouchPhase::Move) {
    // A move still queued behind the loop is replaced, so a fast finger cannot fill the ring
    // and push out the TouchUp that follows.
    std::lock_guard<std::mutex> guard(g_lock);
    if (g_ringCount > 0) {
      Message& last = g_ring[(g_ringHead + g_ringCount - 1) % kMaxPostedMessages];
      if (last.window == kNoWindow && last.msg == Msg::TouchMove) {
        last.lParam = PointParam(x, y);
        return true;
      }
    }
  }
  Msg m = phase == TouchPhase::Down ? Msg::TouchDown
          : phase == TouchPhase::Move ? Msg::TouchMove
                                      : Msg::TouchUp;
  return PushPosted(Message{kNoWindow, m, 0, PointParam(x, y)});
}

Hwnd WindowFromPoint(int x, int y) {
  int top = ActiveTopSlot();
  if (top == kNone || !VisibleScreenRect(top).Contains(x, y)) return kNoWindow;
  return MakeHandle(ChildAt(top, Point{x, y}));
}

bool ClickWindow(Hwnd h) {
  int s = Slot(h);
  if (s == kNone) return false;
  Rect c = GetClientRect(h);
  LParam at = PointParam(c.Width() / 2, c.Height() / 2);
  g_capture = h;
  SendMessage(h, Msg::TouchDown, 0, at);
  if (g_capture == h) g_capture = kNoWindow;
  SendMessage(h, Msg::TouchUp, 0, at);
  return true;
}

Hwnd ActiveTopLevel() {
  int s = ActiveTopSlot();
  return s == kNone ? kNoWindow : MakeHandle(s);
}

namespace detail {
Hwnd VisibleWindowAt(Hwnd top, int x, int y) {
  int s = Slot(top);
  return s == kNone ? kNoWindow : MakeHandle(VisibleChildAt(s, Point{x, y}));
}
}  // namespace detail

}  // namespace plat
