#include "platform/Window.h"

#include <atomic>
#include <cstdio>
#include <cstring>
#include <mutex>

#include "platform/Clock.h"
#include "platform/Font.h"
#include "platform/Png.h"
#include "platform/Script.h"
#include "platform/WindowInternal.h"

namespace plat {
namespace {

constexpr int kMaxTopLevels = 12;
constexpr int kNone = -1;

struct ClassEntry {
  bool used = false;
  char name[kMaxClassName] = {};
  WindowProc proc = nullptr;
  Color background;
  bool erase = true;
};

// Children form a list in z-order, bottom first; top-level windows form the same kind of list
// from g_topFirst.
struct WindowEntry {
  bool used = false;
  bool destroying = false;
  bool popup = false;  // a dialog: above every top-level window there was when it opened
  uint16_t generation = 0;
  uint32_t serial = 0;  // creation order
  int16_t classIndex = kNone;
  int16_t parent = kNone;
  int16_t owner = kNone;
  int16_t firstChild = kNone;
  int16_t lastChild = kNone;
  int16_t prev = kNone;
  int16_t next = kNone;
  int16_t backbuffer = kNone;
  Rect rect;
  WindowFlags flags = 0;
  int id = 0;
  void* data = nullptr;
  char16_t text[kMaxWindowText] = {};
};

// What other threads may touch, under g_lock.
struct DirtyEntry {
  uint16_t generation = 0;
  bool dirty = false;
  bool whole = false;
  bool erase = false;
  Rect rect;  // client coordinates
};

struct TimerEntry {
  bool used = false;
  Hwnd window = kNoWindow;
  uint32_t id = 0;
  uint32_t period = 0;
  uint64_t due = 0;
};

ClassEntry g_classes[kMaxWindowClasses];
WindowEntry g_windows[kMaxWindows];
TimerEntry g_timers[kMaxTimers];
int g_topFirst = kNone;
int g_topLast = kNone;
int g_nextSlot = 0;
uint32_t g_nextSerial = 0;
Hwnd g_capture = kNoWindow;
int g_exitCode = 0;

std::mutex g_lock;
DirtyEntry g_dirty[kMaxWindows];
bool g_anyDirty = false;
Message g_ring[kMaxPostedMessages];
int g_ringHead = 0;
int g_ringCount = 0;
bool g_quitPending = false;
int g_quitCode = 0;

// Screen-coordinate areas whose pixels changed without a paint of their own: per top-level
// (a child hidden or moved) and for the composed screen (a top-level shown, moved or gone).
Rect g_damage[kMaxWindows];
Rect g_screenDamage;

Canvas* g_backbuffers[kMaxTopLevels] = {};
bool g_backbufferUsed[kMaxTopLevels] = {};
Canvas* g_screen = nullptr;

// Read by other threads when they wake the loop.
std::atomic<const detail::BackendOps*> g_backend{nullptr};
uint64_t g_framesShown = 0;  // since the display opened
DisplayKind g_displayKind = DisplayKind::None;
Hwnd g_mainWindow = kNoWindow;

// Text capture.
bool g_capturing = false;
CapturedText g_captured[kMaxCapturedTexts];
int g_capturedCount = 0;
Hwnd g_paintingWindow = kNoWindow;

Hwnd MakeHandle(int slot) {
  return static_cast<Hwnd>((static_cast<uint32_t>(g_windows[slot].generation) << 16) |
                           static_cast<uint32_t>(slot));
}

int Slot(Hwnd h) {
  uint32_t raw = static_cast<uint32_t>(h);
  int slot = static_cast<int>(raw & 0xFFFF);
  uint16_t gen = static_cast<uint16_t>(raw >> 16);
  if (gen == 0 || slot >= kMaxWindows) return kNone;
  const WindowEntry& w = g_windows[slot];
  return (w.used && w.generation == gen) ? slot : kNone;
}

void Wake() {
  const detail::BackendOps* backend = g_backend.load(std::memory_order_acquire);
  if (backend != nullptr) backend->wake();
}

// --- geometry ---------------------------------------------------------------------------

Rect ClientInWindow(const WindowEntry& w) {
  Rect r{0, 0, w.rect.Width(), w.rect.Height()};
  if (w.flags & WindowFlag::Border) r = Rect{1, 1, r.right - 1, r.bottom - 1};
  if (w.flags & WindowFlag::Caption) r.top += kCaptionHeight;
  if (r.bottom < r.top) r.bottom = r.top;
  return r;
}

Rect ScreenRectOf(int slot) {
  const WindowEntry& w = g_windows[slot];
  Rect r = w.rect;
  for (int p = w.parent; p != kNone; p = g_windows[p].parent) {
    const WindowEntry& pw = g_windows[p];
    Rect c = ClientInWindow(pw);
    r = r.Offset(pw.rect.left + c.left, pw.rect.top + c.top);
  }
  return r;
}

Rect ClientScreenRectOf(int slot) {
  Rect s = ScreenRectOf(slot);
  Rect c = ClientInWindow(g_windows[slot]);
  return c.Offset(s.left, s.top);
}

// The part of the window on screen, inside every ancestor's client area; empty when it or
// an ancestor is hidden.
Rect VisibleScreenRect(int slot) {
  if (!(g_windows[slot].flags & WindowFlag::Visible)) return Rect{};
  Rect r = Intersect(ScreenRectOf(slot), Rect{0, 0, kScreenWidth, kScreenHeight});
  for (int p = g_windows[slot].parent; p != kNone; p = g_windows[p].parent) {
    if (!(g_windows[p].flags & WindowFlag::Visible)) return Rect{};
    r = Intersect(r, ClientScreenRectOf(p));
  }
  return r;
}

int TopLevelOf(int slot) {
  while (g_windows[slot].parent != kNone) slot = g_windows[slot].parent;
  return slot;
}

// Records that pixels under `screenRect` must be painted again.
void Damage(int slot, const Rect& screenRect) {
  if (screenRect.Empty()) return;
  int top = TopLevelOf(slot);
  if (top == slot) {
    g_screenDamage = Union(g_screenDamage, screenRect);
  } else {
    g_damage[top] = Union(g_damage[top], screenRect);
  }
  std::lock_guard<std::mutex> guard(g_lock);
  g_anyDirty = true;
}

// --- z-order ------------------------------------------------------------------------------

void Unlink(int slot) {
  WindowEntry& w = g_windows[slot];
  int parent = w.parent;
  if (w.prev != kNone) {
    g_windows[w.prev].next = w.next;
  } else if (parent == kNone) {
    g_topFirst = w.next;
  } else {
    g_windows[parent].firstChild = w.next;
  }
  if (w.next != kNone) {
    g_windows[w.next].prev = w.prev;
  } else if (parent == kNone) {
    g_topLast = w.prev;
  } else {
    g_windows[parent].lastChild = w.prev;
  }
  w.prev = w.next = kNone;
}

void InsertBefore(int slot, int before) {
  WindowEntry& w = g_windows[slot];
  int parent = w.parent;
  if (before == kNone) {
    int last = parent == kNone ? g_topLast : g_windows[parent].lastChild;
    w.prev = static_cast<int16_t>(last);
    w.next = kNone;
    if (last != kNone) {
      g_windows[last].next = static_cast<int16_t>(slot);
    } else if (parent == kNone) {
      g_topFirst = slot;
    } else {
      g_windows[parent].firstChild = static_cast<int16_t>(slot);
    }
    if (parent == kNone) {
      g_topLast = slot;
    } else {
      g_windows[parent].lastChild = static_cast<int16_t>(slot);
    }
    return;
  }
  WindowEntry& b = g_windows[before];
  w.next = static_cast<int16_t>(before);
  w.prev = b.prev;
  if (b.prev != kNone) {
    g_windows[b.prev].next = static_cast<int16_t>(slot);
  } else if (parent == kNone) {
    g_topFirst = slot;
  } else {
    g_windows[parent].firstChild = static_cast<int16_t>(slot);
  }
  b.prev = static_cast<int16_t>(slot);
}

// Topmost windows stay above the others; a top-level window with an owner (a dialog) goes
// above everything there is.
void LinkOnTop(int slot) {
  const WindowEntry& w = g_windows[slot];
  bool above = (w.flags & WindowFlag::Topmost) || w.popup;
  int first = w.parent == kNone ? g_topFirst : g_windows[w.parent].firstChild;
  int before = kNone;
  if (!above) {
    for (int s = first; s != kNone; s = g_windows[s].next) {
      const WindowEntry& sib = g_windows[s];
      if (s != slot && ((sib.flags & WindowFlag::Topmost) || sib.popup)) {
        before = s;
        break;
      }
    }
  }
  InsertBefore(slot, before);
}

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

// --- painting -----------------------------------------------------------------------------

struct DirtySnapshot {
  bool dirty = false;
  bool erase = false;
  bool whole = false;
  Rect rect;
};

Canvas* BackbufferOf(int topSlot) {
  int b = g_windows[topSlot].backbuffer;
  return b == kNone ? nullptr : g_backbuffers[b];
}

void DrawCaption(Canvas& c, int slot, const Rect& screenRect) {
  const WindowEntry& w = g_windows[slot];
  if (w.flags & WindowFlag::Border) c.FrameRect(screenRect, Rgb(0, 0, 0));
  if (!(w.flags & WindowFlag::Caption)) return;
  Rect bar{screenRect.left, screenRect.top, screenRect.right, screenRect.top + kCaptionHeight};
  if (w.flags & WindowFlag::Border) bar = Rect{bar.left + 1, bar.top + 1, bar.right - 1, bar.bottom + 1};
  c.FillRect(bar, Rgb(0, 0, 128));
  c.SetFont(SystemFont());
  c.SetTextColor(Rgb(255, 255, 255));
  c.SetBackgroundMode(BackgroundMode::Transparent);
  Rect textRect{bar.left + 6, bar.top, bar.right - 4, bar.bottom};
  c.DrawText(textRect, w.text, TextFlag::VCenter | TextFlag::SingleLine);
}

void PaintOne(int slot, Canvas& c, const Rect& need, bool erase) {
  Hwnd h = MakeHandle(slot);
  CanvasState saved = c.SaveState();
  Hwnd outer = g_paintingWindow;
  g_paintingWindow = h;
  Rect screen = ScreenRectOf(slot);
  c.SetOrigin(0, 0);
  c.SetClip(need);
  DrawCaption(c, slot, screen);
  Rect client = ClientScreenRectOf(slot);
  Rect clip = Intersect(need, client);
  if (!clip.Empty()) {
    c.SetOrigin(client.left, client.top);
    Rect logical = clip.Offset(-client.left, -client.top);
    c.SetClip(logical);
    c.SetFont(SystemFont());
    c.SetTextColor(Rgb(0, 0, 0));
    c.SetBackgroundColor(Rgb(255, 255, 255));
    c.SetBackgroundMode(BackgroundMode::Transparent);
    PaintContext ctx{&c, logical, erase};
    if (erase) SendMessage(h, Msg::EraseBackground, 0, reinterpret_cast<LParam>(&ctx));
    if (Slot(h) != kNone) SendMessage(h, Msg::Paint, 0, reinterpret_cast<LParam>(&ctx));
  }
  g_paintingWindow = outer;
  c.RestoreState(saved);
}

int CollectPreOrder(int slot, Hwnd* out, int count) {
  if (count >= kMaxWindows) return count;
  out[count++] = MakeHandle(slot);
  for (int c = g_windows[slot].firstChild; c != kNone; c = g_windows[c].next) {
    count = CollectPreOrder(c, out, count);
  }
  return count;
}

// Paints the dirty windows of one top-level window into its backbuffer in z-order. A window
// also repaints where a window below it has just painted; returns the screen area changed.
Rect PaintTopLevel(int top, const DirtySnapshot* snap) {
  Canvas* canvas = BackbufferOf(top);
  if (canvas == nullptr) return Rect{};
  Rect painted = g_damage[top];
  g_damage[top] = Rect{};
  Hwnd order[kMaxWindows];
  int count = CollectPreOrder(top, order, 0);
  for (int i = 0; i < count; ++i) {
    int s = Slot(order[i]);
    if (s == kNone) continue;
    Rect vis = VisibleScreenRect(s);
    if (vis.Empty()) continue;
    Rect need;
    bool erase = false;
    if (snap[s].dirty) {
      if (snap[s].whole) {
        need = ScreenRectOf(s);
      } else {
        Rect client = ClientScreenRectOf(s);
        need = snap[s].rect.Offset(client.left, client.top);
      }
      erase = snap[s].erase;
    }
    Rect over = Intersect(painted, vis);
    if (!over.Empty()) {
      need = Union(need, over);
      erase = true;
    }
    need = Intersect(need, vis);
    if (need.Empty()) continue;
    PaintOne(s, *canvas, need, erase);
    painted = Union(painted, need);
  }
  return painted;
}

void Compose(const Rect& dirty) {
  if (dirty.Empty() || g_screen == nullptr) return;
  bool covered = false;
  for (int s = g_topFirst; s != kNone; s = g_windows[s].next) {
    Rect vis = VisibleScreenRect(s);
    if (Intersect(vis, dirty) == dirty) covered = true;
    break;
  }
  g_screen->ResetClip();
  g_screen->SetOrigin(0, 0);
  if (!covered) g_screen->FillRect(dirty, Rgb(0, 0, 0));
  for (int s = g_topFirst; s != kNone; s = g_windows[s].next) {
    Canvas* b = BackbufferOf(s);
    Rect part = Intersect(VisibleScreenRect(s), dirty);
    if (b == nullptr || part.Empty()) continue;
    g_screen->Blit(part.left, part.top, b->View(), part);
  }
  if (g_backend.load() != nullptr) {
    g_backend.load()->present(g_screen->View(), dirty);
    ++g_framesShown;
  }
}

void ResetTables() {
  for (auto& c : g_classes) c = ClassEntry{};
  for (int i = 0; i < kMaxWindows; ++i) {
    uint16_t gen = g_windows[i].generation;
    g_windows[i] = WindowEntry{};
    g_windows[i].generation = gen;
    g_damage[i] = Rect{};
  }
  for (auto& t : g_timers) t = TimerEntry{};
  for (bool& b : g_backbufferUsed) b = false;
  g_topFirst = g_topLast = kNone;
  g_capture = kNoWindow;
  g_screenDamage = Rect{};
  g_mainWindow = kNoWindow;
  g_exitCode = 0;
  g_paintingWindow = kNoWindow;
  std::lock_guard<std::mutex> guard(g_lock);
  for (auto& d : g_dirty) d = DirtyEntry{};
  g_anyDirty = false;
  g_ringHead = g_ringCount = 0;
  g_quitPending = false;
}

}  // namespace

// ==========================================================================================

size_t CopyText(char16_t* out, size_t size, TextRef text) {
  if (size == 0) return 0;
  size_t n = 0;
  if (text.wide != nullptr) {
    while (n + 1 < size && text.wide[n] != 0) {
      out[n] = text.wide[n];
      ++n;
    }
  } else if (text.narrow != nullptr) {
    while (n + 1 < size && text.narrow[n] != 0) {
      out[n] = static_cast<unsigned char>(text.narrow[n]);
      ++n;
    }
  }
  out[n] = 0;
  return n;
}

bool RegisterClass(const WindowClass& wc) {
  if (wc.name == nullptr || wc.name[0] == 0 || wc.proc == nullptr) return false;
  if (std::strlen(wc.name) >= static_cast<size_t>(kMaxClassName)) return false;
  int free = kNone;
  for (int i = 0; i < kMaxWindowClasses; ++i) {
    if (g_classes[i].used && std::strcmp(g_classes[i].name, wc.name) == 0) {
      free = i;
      break;
    }
    if (!g_classes[i].used && free == kNone) free = i;
  }
  if (free == kNone) return false;
  ClassEntry& c = g_classes[free];
  c.used = true;
  std::strcpy(c.name, wc.name);
  c.proc = wc.proc;
  c.background = wc.background;
  c.erase = wc.eraseBackground;
  return true;
}

Hwnd CreateWindow(const WindowDesc& d) {
  if (d.className == nullptr) return kNoWindow;
  int cls = kNone;
  for (int i = 0; i < kMaxWindowClasses; ++i) {
    if (g_classes[i].used && std::strcmp(g_classes[i].name, d.className) == 0) cls = i;
  }
  if (cls == kNone) return kNoWindow;
  int parent = kNone;
  if (d.parent != kNoWindow) {
    parent = Slot(d.parent);
    if (parent == kNone) return kNoWindow;
  }
  int slot = kNone;
  for (int i = 0; i < kMaxWindows; ++i) {
    int s = (g_nextSlot + i) % kMaxWindows;
    if (!g_windows[s].used) {
      slot = s;
      break;
    }
  }
  if (slot == kNone) return kNoWindow;
  int backbuffer = kNone;
  if (parent == kNone) {
    for (int b = 0; b < kMaxTopLevels; ++b) {
      if (!g_backbufferUsed[b]) {
        backbuffer = b;
        break;
      }
    }
    if (backbuffer == kNone) return kNoWindow;
    if (g_backbuffers[backbuffer] == nullptr) {
      g_backbuffers[backbuffer] = new Canvas(kScreenWidth, kScreenHeight);
    }
    g_backbufferUsed[backbuffer] = true;
  }
  g_nextSlot = (slot + 1) % kMaxWindows;
  WindowEntry& w = g_windows[slot];
  uint16_t gen = static_cast<uint16_t>(w.generation + 1);
  if (gen == 0) gen = 1;
  w = WindowEntry{};
  w.used = true;
  w.generation = gen;
  w.serial = ++g_nextSerial;
  w.classIndex = static_cast<int16_t>(cls);
  w.parent = static_cast<int16_t>(parent);
  w.rect = d.rect;
  w.flags = d.flags;
  w.id = d.id;
  w.backbuffer = static_cast<int16_t>(backbuffer);
  CopyText(w.text, kMaxWindowText,
           d.wideTitle != nullptr ? TextRef(d.wideTitle) : TextRef(d.title));
  g_damage[slot] = Rect{};
  LinkOnTop(slot);
  {
    std::lock_guard<std::mutex> guard(g_lock);
    g_dirty[slot] = DirtyEntry{};
    g_dirty[slot].generation = gen;
  }
  Hwnd h = MakeHandle(slot);
  if (SendMessage(h, Msg::Create, 0, d.createParam) == -1) {
    DestroyWindow(h);
    return kNoWindow;
  }
  if (Slot(h) == kNone) return kNoWindow;
  if (g_windows[slot].flags & WindowFlag::Visible) InvalidateRect(h, nullptr, true);
  return h;
}

// Window ownership for dialogs: set right after creation, before the dialog is shown.
namespace detail {
int SlotOf(Hwnd h) { return Slot(h); }
Hwnd CapturedWindow() { return g_capture; }
Hwnd VisibleWindowAt(Hwnd top, int x, int y) {
  int s = Slot(top);
  return s == kNone ? kNoWindow : MakeHandle(VisibleChildAt(s, Point{x, y}));
}
void ReleaseCapture() { g_capture = kNoWindow; }
Hwnd FirstChild(Hwnd parent) {
  int s = Slot(parent);
  if (s == kNone || g_windows[s].firstChild == kNone) return kNoWindow;
  return MakeHandle(g_windows[s].firstChild);
}
Hwnd NextSibling(Hwnd h) {
  int s = Slot(h);
  if (s == kNone || g_windows[s].next == kNone) return kNoWindow;
  return MakeHandle(g_windows[s].next);
}
Color ClassBackground(Hwnd h) {
  int s = Slot(h);
  return s == kNone ? Rgb(0, 0, 0) : g_classes[g_windows[s].classIndex].background;
}
void SetOwner(Hwnd window, Hwnd owner) {
  int s = Slot(window);
  int o = Slot(owner);
  if (s == kNone || g_windows[s].parent != kNone) return;
  g_windows[s].owner = static_cast<int16_t>(o == kNone ? kNone : TopLevelOf(o));
  g_windows[s].popup = true;
  Unlink(s);
  LinkOnTop(s);
}
}  // namespace detail

void DestroyWindow(Hwnd h) {
  int slot = Slot(h);
  if (slot == kNone || g_windows[slot].destroying) return;
  g_windows[slot].destroying = true;
  Damage(slot, VisibleScreenRect(slot));
  SendMessage(h, Msg::Destroy);
  // Children: the list may change under us when a Destroy handler destroys others.
  for (;;) {
    int s = Slot(h);
    if (s == kNone) return;
    int child = kNone;
    for (int c = g_windows[s].firstChild; c != kNone; c = g_windows[c].next) {
      if (!g_windows[c].destroying) {
        child = c;
        break;
      }
    }
    if (child == kNone) break;
    DestroyWindow(MakeHandle(child));
  }
  // Children already marked destroying (re-entrant calls) are unlinked with us.
  while (g_windows[slot].firstChild != kNone) {
    int c = g_windows[slot].firstChild;
    Unlink(c);
    g_windows[c].used = false;
  }
  for (auto& t : g_timers) {
    if (t.used && t.window == h) t = TimerEntry{};
  }
  if (g_capture == h) g_capture = kNoWindow;
  if (g_mainWindow == h) g_mainWindow = kNoWindow;
  for (int s = 0; s < kMaxWindows; ++s) {
    if (g_windows[s].used && g_windows[s].owner == slot) g_windows[s].owner = kNone;
  }
  Unlink(slot);
  if (g_windows[slot].backbuffer != kNone) g_backbufferUsed[g_windows[slot].backbuffer] = false;
  g_windows[slot].used = false;
  g_damage[slot] = Rect{};
  std::lock_guard<std::mutex> guard(g_lock);
  g_dirty[slot] = DirtyEntry{};
}

bool IsWindow(Hwnd h) { return Slot(h) != kNone; }

bool ShowWindow(Hwnd h, bool visible) {
  int s = Slot(h);
  if (s == kNone) return false;
  bool was = (g_windows[s].flags & WindowFlag::Visible) != 0;
  if (was == visible) return was;
  if (!visible) {
    Damage(s, VisibleScreenRect(s));
    g_windows[s].flags &= ~WindowFlag::Visible;
    if (g_capture != kNoWindow) {
      int c = Slot(g_capture);
      if (c != kNone && VisibleScreenRect(c).Empty()) g_capture = kNoWindow;
    }
  } else {
    g_windows[s].flags |= WindowFlag::Visible;
    InvalidateRect(h, nullptr, true);
    if (g_windows[s].parent == kNone) Damage(s, VisibleScreenRect(s));
  }
  SendMessage(h, Msg::Show, visible ? 1 : 0);
  return was;
}

void MoveWindow(Hwnd h, const Rect& rect) {
  int s = Slot(h);
  if (s == kNone || g_windows[s].rect == rect) return;
  Damage(s, VisibleScreenRect(s));
  g_windows[s].rect = rect;
  InvalidateRect(h, nullptr, true);
  if (g_windows[s].parent == kNone) Damage(s, VisibleScreenRect(s));
}

bool EnableWindow(Hwnd h, bool enabled) {
  int s = Slot(h);
  if (s == kNone) return false;
  bool was = !(g_windows[s].flags & WindowFlag::Disabled);
  if (was == enabled) return was;
  if (enabled) {
    g_windows[s].flags &= ~WindowFlag::Disabled;
  } else {
    g_windows[s].flags |= WindowFlag::Disabled;
  }
  // A disabled top-level window (the owner of a modal dialog) looks the same.
  if (g_windows[s].parent != kNone) InvalidateRect(h, nullptr, true);
  return was;
}

void BringWindowToTop(Hwnd h) {
  int s = Slot(h);
  if (s == kNone) return;
  Unlink(s);
  LinkOnTop(s);
  InvalidateRect(h, nullptr, true);
  if (g_windows[s].parent == kNone) Damage(s, VisibleScreenRect(s));
}

void SetForegroundWindow(Hwnd h) {
  int s = Slot(h);
  if (s == kNone) return;
  BringWindowToTop(MakeHandle(TopLevelOf(s)));
  if (g_backend.load() != nullptr) g_backend.load()->raise();
}

bool IsWindowVisible(Hwnd h) {
  int s = Slot(h);
  if (s == kNone) return false;
  for (; s != kNone; s = g_windows[s].parent) {
    if (!(g_windows[s].flags & WindowFlag::Visible)) return false;
  }
  return true;
}

bool IsWindowEnabled(Hwnd h) {
  int s = Slot(h);
  return s != kNone && !(g_windows[s].flags & WindowFlag::Disabled);
}

Hwnd GetParent(Hwnd h) {
  int s = Slot(h);
  if (s == kNone || g_windows[s].parent == kNone) return kNoWindow;
  return MakeHandle(g_windows[s].parent);
}

Hwnd GetTopLevel(Hwnd h) {
  int s = Slot(h);
  return s == kNone ? kNoWindow : MakeHandle(TopLevelOf(s));
}

int GetDlgCtrlID(Hwnd h) {
  int s = Slot(h);
  return s == kNone ? 0 : g_windows[s].id;
}

Hwnd GetDlgItem(Hwnd parent, int id) {
  int s = Slot(parent);
  if (s == kNone) return kNoWindow;
  for (int c = g_windows[s].firstChild; c != kNone; c = g_windows[c].next) {
    if (g_windows[c].id == id && !g_windows[c].destroying) return MakeHandle(c);
  }
  return kNoWindow;
}

Hwnd FindWindow(const char* className, const char* title) {
  if (className == nullptr) return kNoWindow;
  char16_t wanted[kMaxWindowText];
  if (title != nullptr) CopyText(wanted, kMaxWindowText, TextRef(title));
  int found = kNone;
  for (int s = 0; s < kMaxWindows; ++s) {
    const WindowEntry& w = g_windows[s];
    if (!w.used || w.destroying) continue;
    if (std::strcmp(g_classes[w.classIndex].name, className) != 0) continue;
    if (title != nullptr) {
      size_t i = 0;
      while (wanted[i] != 0 && wanted[i] == w.text[i]) ++i;
      if (wanted[i] != w.text[i]) continue;
    }
    if (found == kNone || w.serial < g_windows[found].serial) found = s;
  }
  return found == kNone ? kNoWindow : MakeHandle(found);
}

const char* GetClassName(Hwnd h) {
  int s = Slot(h);
  return s == kNone ? "" : g_classes[g_windows[s].classIndex].name;
}

Rect GetWindowRect(Hwnd h) {
  int s = Slot(h);
  return s == kNone ? Rect{} : ScreenRectOf(s);
}

Rect GetChildRect(Hwnd h) {
  int s = Slot(h);
  return s == kNone ? Rect{} : g_windows[s].rect;
}

Rect GetClientRect(Hwnd h) {
  int s = Slot(h);
  if (s == kNone) return Rect{};
  Rect c = ClientInWindow(g_windows[s]);
  return Rect{0, 0, c.Width(), c.Height()};
}

Point ClientToScreen(Hwnd h, Point p) {
  int s = Slot(h);
  if (s == kNone) return p;
  Rect c = ClientScreenRectOf(s);
  return Point{p.x + c.left, p.y + c.top};
}

void SetWindowText(Hwnd h, TextRef text) {
  int s = Slot(h);
  if (s == kNone) return;
  // Only the text up to its terminator counts: the same text set again repaints nothing.
  char16_t buf[kMaxWindowText] = {};
  CopyText(buf, kMaxWindowText, text);
  const char16_t* old = g_windows[s].text;
  int i = 0;
  while (i < kMaxWindowText && buf[i] == old[i] && buf[i] != 0) ++i;
  if (i == kMaxWindowText || buf[i] == old[i]) return;
  std::memcpy(g_windows[s].text, buf, sizeof buf);
  InvalidateRect(h, nullptr, true);
}

const char16_t* GetWindowText(Hwnd h) {
  int s = Slot(h);
  return s == kNone ? u"" : g_windows[s].text;
}

void SetWindowData(Hwnd h, void* data) {
  int s = Slot(h);
  if (s != kNone) g_windows[s].data = data;
}

void* GetWindowData(Hwnd h) {
  int s = Slot(h);
  return s == kNone ? nullptr : g_windows[s].data;
}

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

bool PaintDirty() {
  DirtySnapshot snap[kMaxWindows];
  {
    std::lock_guard<std::mutex> guard(g_lock);
    if (!g_anyDirty) return false;
    g_anyDirty = false;
    for (int i = 0; i < kMaxWindows; ++i) {
      DirtyEntry& d = g_dirty[i];
      if (!d.dirty) continue;
      snap[i] = DirtySnapshot{true, d.erase, d.whole, d.rect};
      d.dirty = d.erase = d.whole = false;
      d.rect = Rect{};
    }
  }
  Rect changed = g_screenDamage;
  g_screenDamage = Rect{};
  Hwnd tops[kMaxTopLevels];
  int count = 0;
  for (int s = g_topFirst; s != kNone && count < kMaxTopLevels; s = g_windows[s].next) {
    tops[count++] = MakeHandle(s);
  }
  for (int i = 0; i < count; ++i) {
    int s = Slot(tops[i]);
    if (s != kNone) changed = Union(changed, PaintTopLevel(s, snap));
  }
  Compose(changed);
  return true;
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

LResult DefWindowProc(Hwnd h, Msg msg, WParam wParam, LParam lParam) {
  switch (msg) {
    case Msg::Close:
      DestroyWindow(h);
      return 0;
    case Msg::EraseBackground: {
      int s = Slot(h);
      if (s == kNone) return 0;
      const ClassEntry& c = g_classes[g_windows[s].classIndex];
      if (!c.erase) return 0;
      PaintContext& ctx = PaintFrom(lParam);
      ctx.canvas->FillRect(ctx.dirty, c.background);
      return 1;
    }
    default:
      return 0;
  }
}

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

// --- invalidation ---------------------------------------------------------------------------

void InvalidateRect(Hwnd h, const Rect* clientRect, bool erase) {
  uint32_t raw = static_cast<uint32_t>(h);
  int slot = static_cast<int>(raw & 0xFFFF);
  uint16_t gen = static_cast<uint16_t>(raw >> 16);
  if (gen == 0 || slot >= kMaxWindows) return;
  {
    std::lock_guard<std::mutex> guard(g_lock);
    DirtyEntry& d = g_dirty[slot];
    if (d.generation != gen) return;
    if (clientRect == nullptr) {
      d.whole = true;
    } else if (!clientRect->Empty()) {
      d.rect = Union(d.rect, *clientRect);
    } else {
      return;
    }
    d.dirty = true;
    d.erase = d.erase || erase;
    g_anyDirty = true;
  }
  Wake();
}

void UpdateWindow(Hwnd h) {
  if (Slot(h) != kNone) detail::PaintDirty();
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

// --- display --------------------------------------------------------------------------------

DisplayKind OpenDisplay(const DisplayOptions& options, DisplayResult* result) {
  if (g_displayKind != DisplayKind::None) CloseDisplay();
  DisplayResult r = DisplayResult::Ok;
  if (!options.headless) r = detail::DisplayAvailable() ? detail::SdlBackend().open(options) : DisplayResult::NoDisplay;
  if (result != nullptr) *result = r;
  // A panel asked to fill a screen it does not get, or to be larger than its screen, would be
  // invisible or cut off: better not to start than to run unseen.
  if (r == DisplayResult::ScaleTooLarge || (r != DisplayResult::Ok && options.fullscreen)) return DisplayKind::None;
  if (r == DisplayResult::Unreachable || r == DisplayResult::WindowFailed)
    std::fprintf(stderr, "display: %s; running headless\n", DisplayResultText(r));
  ResetTables();
  if (g_screen == nullptr) g_screen = new Canvas(kScreenWidth, kScreenHeight);
  g_screen->ResetClip();
  g_screen->Clear(Rgb(0, 0, 0));
  g_backend = nullptr;
  g_framesShown = 0;
  if (!options.headless && r == DisplayResult::Ok) {
    g_backend = &detail::SdlBackend();
    g_displayKind = DisplayKind::Sdl;
  } else {
    detail::HeadlessBackend().open(options);
    g_backend = &detail::HeadlessBackend();
    g_displayKind = DisplayKind::Headless;
  }
  detail::RegisterControlClasses();
  SetTextObserver(detail::RecordText);
  return g_displayKind;
}

const char* DisplayResultText(DisplayResult r) {
  switch (r) {
    case DisplayResult::Ok: return "display open";
    case DisplayResult::NoDisplay: return "no display is named (DISPLAY and WAYLAND_DISPLAY are unset)";
    case DisplayResult::Unreachable: return "the display named in the environment cannot be reached";
    case DisplayResult::ScaleTooLarge: return "the magnified window does not fit on the screen";
    case DisplayResult::WindowFailed: return "the display gives no window";
  }
  return "?";
}

void CloseDisplay() {
  if (g_displayKind == DisplayKind::None) return;
  StopScript();
  for (;;) {
    int s = g_topLast;
    if (s == kNone) break;
    DestroyWindow(MakeHandle(s));
    if (g_topLast == s) Unlink(s);  // a window that refused to go
  }
  detail::ResetDialogs();
  detail::ResetControls();
  SetTextObserver(nullptr);
  const detail::BackendOps* backend = g_backend.exchange(nullptr);
  if (backend != nullptr) backend->close();
  g_displayKind = DisplayKind::None;
  ResetTables();
}

DisplayKind ActiveDisplay() { return g_displayKind; }
uint64_t FramesShown() { return g_framesShown; }
void SetMainWindow(Hwnd h) { g_mainWindow = h; }
Hwnd MainWindow() { return g_mainWindow; }

bool ScreenshotPng(const char* hostPath) {
  if (g_screen == nullptr) return false;
  detail::PaintDirty();
  return WritePng(hostPath, g_screen->View()) == PngResult::Ok;
}

PixelView ScreenPixels() {
  return g_screen == nullptr ? PixelView{} : g_screen->View();
}

// --- text capture ---------------------------------------------------------------------------

void StartTextCapture() {
  g_capturing = true;
  g_capturedCount = 0;
}
void StopTextCapture() { g_capturing = false; }
void ClearCapturedText() { g_capturedCount = 0; }
int CapturedTextCount() { return g_capturedCount; }
const CapturedText* CapturedTextAt(int index) {
  return (index >= 0 && index < g_capturedCount) ? &g_captured[index] : nullptr;
}

namespace {
bool IsSelfOrDescendant(Hwnd h, Hwnd ancestor) {
  for (int s = Slot(h); s != kNone; s = g_windows[s].parent) {
    if (MakeHandle(s) == ancestor) return true;
  }
  return false;
}
}  // namespace

const CapturedText* FindCapturedText(const char* needle, Hwnd window) {
  char16_t wanted[kMaxWindowText];
  size_t n = CopyText(wanted, kMaxWindowText, TextRef(needle));
  for (int i = g_capturedCount - 1; i >= 0; --i) {
    const CapturedText& t = g_captured[i];
    if (window != kNoWindow && !IsSelfOrDescendant(t.window, window)) continue;
    for (size_t at = 0; t.text[at] != 0 || n == 0; ++at) {
      size_t k = 0;
      while (k < n && t.text[at + k] == wanted[k]) ++k;
      if (k == n) return &t;
      if (t.text[at] == 0) break;
    }
  }
  return nullptr;
}

namespace detail {
// Called by the canvas for every text drawn while a window paints.
void RecordText(const Canvas& canvas, const Rect& logicalRect, const char16_t* wide,
                const char* narrow, size_t length, Color color) {
  if (!g_capturing || g_paintingWindow == kNoWindow || g_capturedCount >= kMaxCapturedTexts) {
    return;
  }
  CapturedText& t = g_captured[g_capturedCount++];
  t.window = g_paintingWindow;
  Point o = canvas.Origin();
  t.rect = logicalRect.Offset(o.x, o.y);
  t.color = color;
  size_t n = 0;
  for (; n < length && n + 1 < static_cast<size_t>(kMaxWindowText); ++n) {
    t.text[n] = wide != nullptr ? wide[n] : static_cast<unsigned char>(narrow[n]);
  }
  t.text[n] = 0;
}
}  // namespace detail

}  // namespace plat
