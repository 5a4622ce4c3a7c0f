#include "platform/Window.h"

#include <cstring>

#include "platform/WindowState.h"

// The window tree: classes, windows, their z-order and geometry.
namespace plat {
namespace detail {

ClassEntry g_classes[kMaxWindowClasses];
WindowEntry g_windows[kMaxWindows];
int g_topFirst = kNone;
int g_topLast = kNone;
Hwnd g_capture = kNoWindow;
Hwnd g_mainWindow = kNoWindow;

namespace {
int g_nextSlot = 0;
uint32_t g_nextSerial = 0;
}  // namespace

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

namespace {
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
}  // namespace

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

void ResetWindowTree() {
  for (auto& c : g_classes) c = ClassEntry{};
  for (int i = 0; i < kMaxWindows; ++i) {
    uint16_t gen = g_windows[i].generation;
    g_windows[i] = WindowEntry{};
    g_windows[i].generation = gen;
  }
  g_topFirst = g_topLast = kNone;
  g_capture = kNoWindow;
  g_mainWindow = kNoWindow;
}

}  // namespace detail

using namespace detail;

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
  VerifyNotPainting("ShowWindow");
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
  VerifyNotPainting("EnableWindow");
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
  VerifyNotPainting("SetWindowText");
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

void SetMainWindow(Hwnd h) { g_mainWindow = h; }
Hwnd MainWindow() { return g_mainWindow; }

}  // namespace plat
