#include "platform/Window.h"

#include <cstdio>

#include "platform/Font.h"
#include "platform/Png.h"
#include "platform/Script.h"
#include "platform/Verify.h"
#include "platform/WindowState.h"

// Painting and screen composition: dirty windows paint into their top-level window's
// backbuffer, and the backbuffers are composed onto the screen the display shows.
namespace plat {
namespace detail {

DirtyEntry g_dirty[kMaxWindows];
bool g_anyDirty = false;
Canvas* g_backbuffers[kMaxTopLevels] = {};
bool g_backbufferUsed[kMaxTopLevels] = {};
// Screen-coordinate areas whose pixels changed without a paint of their own: per top-level
// (a child hidden or moved) and for the composed screen (a top-level shown, moved or gone).
Rect g_damage[kMaxWindows];
std::atomic<const BackendOps*> g_backend{nullptr};
Hwnd g_paintingWindow = kNoWindow;

namespace {
#ifdef DRYER_PAINT_CHECKS
std::atomic<bool> g_paintChecks{true};
#else
std::atomic<bool> g_paintChecks{false};
#endif
// Files are opened on other threads too: only the painting thread's own calls count.
thread_local bool t_painting = false;
Rect g_screenDamage;
Canvas* g_screen = nullptr;
uint64_t g_framesShown = 0;  // since the display opened
DisplayKind g_displayKind = DisplayKind::None;
}  // namespace

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

void VerifyNotPainting(const char* call) {
  if (!t_painting || !g_paintChecks.load(std::memory_order_relaxed)) return;
  char what[160];
  std::snprintf(what, sizeof what, "%s while a %s window (id %d) paints", call,
                GetClassName(g_paintingWindow), GetDlgCtrlID(g_paintingWindow));
  VerifyFailed(what, __FILE__, __LINE__);
}

bool LeavePainting() {
  bool was = t_painting;
  t_painting = false;
  return was;
}

void ResumePainting(bool painting) { t_painting = painting; }

}  // namespace detail

using namespace detail;

bool SetPaintChecks(bool on) {
  return g_paintChecks.exchange(on);
}

namespace {

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
  bool outerPainting = t_painting;
  g_paintingWindow = h;
  t_painting = true;
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
  t_painting = outerPainting;
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
  ResetWindowTree();
  ResetMessageQueue();
  for (auto& d : g_damage) d = Rect{};
  for (bool& b : g_backbufferUsed) b = false;
  g_screenDamage = Rect{};
  g_paintingWindow = kNoWindow;
  std::lock_guard<std::mutex> guard(g_lock);
  for (auto& d : g_dirty) d = DirtyEntry{};
  g_anyDirty = false;
}

}  // namespace

namespace detail {

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

bool ScreenshotPng(const char* hostPath) {
  if (g_screen == nullptr) return false;
  detail::PaintDirty();
  return WritePng(hostPath, g_screen->View()) == PngResult::Ok;
}

PixelView ScreenPixels() {
  return g_screen == nullptr ? PixelView{} : g_screen->View();
}

}  // namespace plat
