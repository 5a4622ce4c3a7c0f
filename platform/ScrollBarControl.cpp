#include "platform/Controls.h"

#include "platform/ControlsInternal.h"
#include "platform/Verify.h"
#include "platform/WindowInternal.h"

// Scroll bars, and the bar geometry that list controls draw in their scroll strip.
namespace plat {
namespace detail {
namespace {

constexpr int kArrowMin = 20;  // scroll arrow buttons
constexpr int kThumbMin = 18;
constexpr Color kTrackColor = Rgb(168, 168, 168);
constexpr Color kThumbColor = Rgb(64, 64, 64);

struct BarData {
  ScrollInfo scroll{0, 100, 0, 0};
  Part part = Part::None;   // what the finger took
  bool fingerDown = false;  // the touch began on it
  int dragStart = 0;        // touch coordinate where a drag began
  int dragPos = 0;          // scroll position when it began
  int trackPos = 0;
};

BarData g_bars[kMaxWindows];

BarData* BarOf(Hwnd h) {
  if (ControlOf(h) == nullptr) return nullptr;
  return &g_bars[SlotOf(h)];
}

void DrawArrow(Canvas& c, const Rect& r, int direction, Color color) {
  // direction: 0 up, 1 down, 2 left, 3 right
  int cx = (r.left + r.right) / 2;
  int cy = (r.top + r.bottom) / 2;
  int s = (r.Width() < r.Height() ? r.Width() : r.Height()) / 4;
  if (s < 3) s = 3;
  Point p[3];
  switch (direction) {
    case 0: p[0] = {cx - s, cy + s / 2}; p[1] = {cx + s + 1, cy + s / 2}; p[2] = {cx, cy - s}; break;
    case 1: p[0] = {cx - s, cy - s / 2}; p[1] = {cx + s + 1, cy - s / 2}; p[2] = {cx, cy + s + 1}; break;
    case 2: p[0] = {cx + s / 2, cy - s}; p[1] = {cx + s / 2, cy + s + 1}; p[2] = {cx - s, cy}; break;
    default: p[0] = {cx - s / 2, cy - s}; p[1] = {cx - s / 2, cy + s + 1}; p[2] = {cx + s + 1, cy}; break;
  }
  c.FillPolygon(p, 3, color);
}

void DrawArrowButton(Canvas& c, const Rect& r, int direction, bool pressed, bool enabled) {
  c.FillRect(r, pressed ? kPressedFaceColor : kFaceColor);
  c.FrameRect(r, enabled ? kFrameColor : kDisabledTextColor, 2);
  DrawArrow(c, r, direction, pressed ? kWhite : (enabled ? kTextColor : kDisabledTextColor));
}

void ScrollNotify(Hwnd h, const ControlData& d, ScrollCode code, int pos) {
  Hwnd parent = GetParent(h);
  Msg m = d.kind == ControlKind::HScrollBar ? Msg::HScroll : Msg::VScroll;
  SendMessage(parent, m, ScrollParam(code, pos), static_cast<LParam>(static_cast<uint32_t>(h)));
}

ScrollCode CodeOfPart(Part p) {
  switch (p) {
    case Part::ArrowUp: return ScrollCode::LineUp;
    case Part::ArrowDown: return ScrollCode::LineDown;
    case Part::PageUp: return ScrollCode::PageUp;
    default: return ScrollCode::PageDown;
  }
}

}  // namespace

// --- geometry -------------------------------------------------------------------------------

BarLayout LayoutBar(const Rect& r, bool vertical, const ScrollInfo& info) {
  BarLayout b;
  b.vertical = vertical;
  int along = vertical ? r.Height() : r.Width();
  int across = vertical ? r.Width() : r.Height();
  int arrow = across < kArrowMin ? kArrowMin : across;
  if (arrow * 2 > along) arrow = along / 2;
  if (vertical) {
    b.arrowUp = Rect{r.left, r.top, r.right, r.top + arrow};
    b.arrowDown = Rect{r.left, r.bottom - arrow, r.right, r.bottom};
    b.track = Rect{r.left, r.top + arrow, r.right, r.bottom - arrow};
  } else {
    b.arrowUp = Rect{r.left, r.top, r.left + arrow, r.bottom};
    b.arrowDown = Rect{r.right - arrow, r.top, r.right, r.bottom};
    b.track = Rect{r.left + arrow, r.top, r.right - arrow, r.bottom};
  }
  int trackLen = vertical ? b.track.Height() : b.track.Width();
  int range = info.max - info.min + 1;
  int maxPos = ScrollMaxPos(info);
  if (range <= 0 || trackLen <= 0 || maxPos <= info.min) {
    b.thumb = Rect{};
    return b;
  }
  int thumbLen = info.page > 0 ? static_cast<int>(static_cast<int64_t>(trackLen) * info.page / range)
                               : trackLen / 8;
  if (thumbLen < kThumbMin) thumbLen = kThumbMin;
  if (thumbLen > trackLen) thumbLen = trackLen;
  int travel = trackLen - thumbLen;
  int offset = static_cast<int>(static_cast<int64_t>(travel) * (info.pos - info.min) /
                                (maxPos - info.min));
  if (vertical) {
    b.thumb = Rect{b.track.left, b.track.top + offset, b.track.right, b.track.top + offset + thumbLen};
  } else {
    b.thumb = Rect{b.track.left + offset, b.track.top, b.track.left + offset + thumbLen, b.track.bottom};
  }
  return b;
}

void PaintBar(Canvas& c, const Rect& r, bool vertical, const ScrollInfo& info, Part pressed,
              bool enabled) {
  BarLayout b = LayoutBar(r, vertical, info);
  c.FillRect(b.track, kTrackColor);
  if (!b.thumb.Empty()) {
    c.FillRect(b.thumb, enabled ? kThumbColor : kDisabledTextColor);
    c.FrameRect(b.thumb, kFrameColor, 1);
  }
  DrawArrowButton(c, b.arrowUp, vertical ? 0 : 2, pressed == Part::ArrowUp, enabled);
  DrawArrowButton(c, b.arrowDown, vertical ? 1 : 3, pressed == Part::ArrowDown, enabled);
}

Part BarPartAt(const BarLayout& b, Point p) {
  if (b.arrowUp.Contains(p.x, p.y)) return Part::ArrowUp;
  if (b.arrowDown.Contains(p.x, p.y)) return Part::ArrowDown;
  if (b.thumb.Contains(p.x, p.y)) return Part::Thumb;
  if (!b.track.Contains(p.x, p.y) || b.thumb.Empty()) return Part::None;
  bool before = b.vertical ? p.y < b.thumb.top : p.x < b.thumb.left;
  return before ? Part::PageUp : Part::PageDown;
}

int ClampPos(const ScrollInfo& info, int pos) {
  int maxPos = ScrollMaxPos(info);
  if (pos > maxPos) pos = maxPos;
  if (pos < info.min) pos = info.min;
  return pos;
}

int ThumbPosAt(const BarLayout& b, const ScrollInfo& info, int delta, int startPos) {
  int trackLen = b.vertical ? b.track.Height() : b.track.Width();
  int thumbLen = b.vertical ? b.thumb.Height() : b.thumb.Width();
  int travel = trackLen - thumbLen;
  int maxPos = ScrollMaxPos(info);
  if (travel <= 0) return startPos;
  int pos = startPos + static_cast<int>(static_cast<int64_t>(delta) * (maxPos - info.min) / travel);
  return ClampPos(info, pos);
}

// --- the scroll bar control -------------------------------------------------------------------

bool IsScrollBarKind(ControlKind k) {
  return k == ControlKind::VScrollBar || k == ControlKind::HScrollBar;
}

void ForgetScrollBar(int slot) { g_bars[slot] = BarData{}; }

void PaintScrollBar(Hwnd h, const ControlData& d, const ControlLook& look, Canvas& c) {
  const BarData& bar = g_bars[SlotOf(h)];
  PaintBar(c, look.rect, d.kind == ControlKind::VScrollBar, bar.scroll, bar.part, look.enabled);
}

void ScrollBarTouch(Hwnd h, const ControlData& d, Msg msg, Point p) {
  BarData& bar = g_bars[SlotOf(h)];
  Rect r = GetClientRect(h);
  bool vertical = d.kind == ControlKind::VScrollBar;
  BarLayout b = LayoutBar(r, vertical, bar.scroll);
  int along = vertical ? p.y : p.x;
  switch (msg) {
    case Msg::TouchDown: {
      if (!IsWindowEnabled(h)) return;
      bar.part = BarPartAt(b, p);
      if (bar.part == Part::None) return;
      bar.fingerDown = true;
      InvalidateRect(h, nullptr, false);
      if (bar.part == Part::Thumb) {
        bar.dragStart = along;
        bar.dragPos = bar.scroll.pos;
        bar.trackPos = bar.scroll.pos;
        return;
      }
      ScrollNotify(h, d, CodeOfPart(bar.part), bar.scroll.pos);
      if (IsWindow(h)) SetTimer(h, kRepeatTimerId, kRepeatDelayMs);
      break;
    }
    case Msg::TouchMove:
      if (bar.fingerDown && bar.part == Part::Thumb) {
        int pos = ThumbPosAt(b, bar.scroll, along - bar.dragStart, bar.dragPos);
        if (pos != bar.trackPos) {
          bar.trackPos = pos;
          ScrollNotify(h, d, ScrollCode::ThumbTrack, pos);
        }
      }
      break;
    case Msg::TouchUp: {
      if (!bar.fingerDown) return;
      Part was = bar.part;
      bar.fingerDown = false;
      bar.part = Part::None;
      KillTimer(h, kRepeatTimerId);
      InvalidateRect(h, nullptr, false);
      if (was == Part::Thumb) ScrollNotify(h, d, ScrollCode::ThumbPosition, bar.trackPos);
      if (IsWindow(h)) ScrollNotify(h, d, ScrollCode::EndScroll, bar.scroll.pos);
      break;
    }
    default:
      break;
  }
}

void ScrollBarRepeat(Hwnd h, const ControlData& d) {
  BarData& bar = g_bars[SlotOf(h)];
  if (!bar.fingerDown) {
    KillTimer(h, kRepeatTimerId);
    return;
  }
  SetTimer(h, kRepeatTimerId, kRepeatPeriodMs);
  if (bar.part != Part::Thumb && bar.part != Part::None) {
    ScrollNotify(h, d, CodeOfPart(bar.part), bar.scroll.pos);
  }
}

}  // namespace detail

int ScrollMaxPos(const ScrollInfo& info) {
  int maxPos = info.page > 0 ? info.max - info.page + 1 : info.max;
  return maxPos < info.min ? info.min : maxPos;
}

int SetScrollInfo(Hwnd bar, const ScrollInfo& info) {
  detail::BarData* d = detail::BarOf(bar);
  VERIFY(d != nullptr);
  if (d == nullptr) return 0;
  ScrollInfo next = info;
  if (next.max < next.min) next.max = next.min;
  if (next.page < 0) next.page = 0;
  int range = next.max - next.min + 1;
  if (next.page > range) next.page = range;
  next.pos = detail::ClampPos(next, next.pos);
  if (d->scroll.min != next.min || d->scroll.max != next.max || d->scroll.page != next.page ||
      d->scroll.pos != next.pos) {
    d->scroll = next;
    InvalidateRect(bar, nullptr, false);
  }
  return next.pos;
}

ScrollInfo GetScrollInfo(Hwnd bar) {
  detail::BarData* d = detail::BarOf(bar);
  return d == nullptr ? ScrollInfo{} : d->scroll;
}

int SetScrollPos(Hwnd bar, int pos) {
  detail::BarData* d = detail::BarOf(bar);
  VERIFY(d != nullptr);
  if (d == nullptr) return 0;
  ScrollInfo info = d->scroll;
  info.pos = pos;
  return SetScrollInfo(bar, info);
}

int GetScrollPos(Hwnd bar) {
  detail::BarData* d = detail::BarOf(bar);
  return d == nullptr ? 0 : d->scroll.pos;
}

}  // namespace plat
