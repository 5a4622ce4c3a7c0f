#include "platform/Controls.h"

#include <cstring>

#include "platform/Font.h"
#include "platform/WindowInternal.h"

namespace plat {
namespace {

constexpr int kBoxSize = 22;          // check box square and radio circle
constexpr int kArrowMin = 20;         // scroll arrow buttons
constexpr int kThumbMin = 18;
constexpr int kListStripWidth = 26;   // the scroll strip of list boxes and list views
constexpr int kRowPadding = 8;
constexpr int kRepeatTimerId = 1;
constexpr uint32_t kRepeatDelayMs = 400;
constexpr uint32_t kRepeatPeriodMs = 100;
constexpr Color kWhite = Rgb(255, 255, 255);
constexpr Color kTrackColor = Rgb(168, 168, 168);
constexpr Color kThumbColor = Rgb(64, 64, 64);
constexpr Color kHeaderColor = Rgb(192, 192, 192);
constexpr Color kGridColor = Rgb(160, 160, 160);
constexpr Color kProgressColor = Rgb(0, 128, 0);

struct ListColumn {
  char16_t title[kMaxCellText] = {};
  int width = 0;
};

// Rows are stored in fixed slots; `order` maps a row's index on screen to its slot, so that
// inserting at the top moves two bytes per row, not the texts.
struct ListStore {
  bool used = false;
  bool ownerData = false;  // the parent keeps the rows; `cell` and `order` stay unused
  int rows = 0;
  int columns = 0;
  int selection = -1;
  int top = 0;
  int hintFirst = -1;  // the rows last named to an owner-data list's parent
  int hintLast = -1;
  char16_t asked[kMaxCellText];  // an owner-data cell read by ListItemText
  ListColumn column[kMaxListColumns];
  uint16_t order[kMaxListRows] = {};
  bool slotUsed[kMaxListRows] = {};
  char16_t cell[kMaxListRows][kMaxListColumns][kMaxCellText];
};

enum class Part : uint8_t { None, ArrowUp, ArrowDown, PageUp, PageDown, Thumb, Rows };

struct ControlData {
  bool used = false;
  ControlKind kind = ControlKind::Static;
  uint32_t style = 0;
  bool checked = false;
  bool pressed = false;     // the finger is on it
  bool fingerDown = false;  // the touch began on it
  bool customColors = false;
  Color text = kTextColor;
  Color back = kFaceColor;
  FontHandle font;
  ScrollInfo scroll;
  Part part = Part::None;   // what the finger took on a scroll bar or list
  int dragStart = 0;        // touch coordinate where a drag began
  int dragPos = 0;          // scroll position or top row when it began
  bool dragged = false;
  int trackPos = 0;
  int progressMin = 0;
  int progressMax = 100;
  int progressPos = 0;
  int list = -1;
};

ControlData g_data[kMaxWindows];
ListStore g_lists[kMaxListControls];

ControlData* DataOf(Hwnd h) {
  int s = detail::SlotOf(h);
  if (s < 0 || !g_data[s].used) return nullptr;
  return &g_data[s];
}

ListStore* ListOf(Hwnd h) {
  ControlData* d = DataOf(h);
  if (d == nullptr || d->list < 0) return nullptr;
  return &g_lists[d->list];
}

FontHandle FontOf(const ControlData& d) { return d.font.valid() ? d.font : SystemFont(); }

bool IsEnabled(Hwnd h) { return IsWindowEnabled(h); }

void NotifyParent(Hwnd h, Notify n) {
  Hwnd parent = GetParent(h);
  if (parent == kNoWindow) return;
  SendMessage(parent, Msg::Command, CommandParam(GetDlgCtrlID(h), n),
              static_cast<LParam>(static_cast<uint32_t>(h)));
}

// --- drawing helpers ------------------------------------------------------------------------

TextFlags AlignFlags(uint32_t style) {
  if (style & ControlStyle::Center) return TextFlag::Center;
  if (style & ControlStyle::Right) return TextFlag::Right;
  return TextFlag::Left;
}

void DrawTextRef(Canvas& c, const Rect& r, TextRef text, TextFlags flags) {
  if (text.wide != nullptr) {
    c.DrawText(r, text.wide, flags);
  } else if (text.narrow != nullptr) {
    c.DrawText(r, text.narrow, flags);
  }
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

// --- scroll geometry ------------------------------------------------------------------------

struct BarLayout {
  Rect arrowUp;
  Rect arrowDown;
  Rect track;
  Rect thumb;
  bool vertical = true;
};

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

// --- lists ----------------------------------------------------------------------------------

int RowHeight(const ControlData& d) { return LineHeight(FontOf(d)) + kRowPadding; }

Rect RowsArea(const ControlData& d, const Rect& client) {
  Rect r{client.left + 2, client.top + 2, client.right - 2 - kListStripWidth, client.bottom - 2};
  if (d.kind == ControlKind::ListView) r.top += RowHeight(d);
  return r;
}

int VisibleRowsOf(const ControlData& d, const Rect& client) {
  int h = RowHeight(d);
  int rows = h > 0 ? RowsArea(d, client).Height() / h : 0;
  return rows < 1 ? 1 : rows;
}

ScrollInfo ListScroll(const ControlData& d, const ListStore& l, const Rect& client) {
  ScrollInfo info;
  info.min = 0;
  info.max = l.rows > 0 ? l.rows - 1 : 0;
  info.page = VisibleRowsOf(d, client);
  info.pos = l.top;
  return info;
}

Rect StripRect(const Rect& client) {
  return Rect{client.right - 2 - kListStripWidth, client.top + 2, client.right - 2, client.bottom - 2};
}

// Tells an owner-data list's parent which rows are about to be shown, once per change.
void HintRows(Hwnd h, const ControlData& d, ListStore& l, const Rect& client) {
  if (!l.ownerData) return;
  int last = l.top + VisibleRowsOf(d, client) - 1;
  if (last >= l.rows) last = l.rows - 1;
  if (last < l.top) {
    l.hintFirst = l.hintLast = -1;
    return;
  }
  if (l.top == l.hintFirst && last == l.hintLast) return;
  l.hintFirst = l.top;
  l.hintLast = last;
  ListRowRange range{.control = h, .controlId = GetDlgCtrlID(h), .first = l.top, .last = last};
  SendMessage(GetParent(h), Msg::ListCacheHint, static_cast<WParam>(range.controlId),
              reinterpret_cast<LParam>(&range));
}

// Keeps the top row inside the list after any move, and names the rows now in view.
void ClampTop(Hwnd h, const ControlData& d, ListStore& l, const Rect& client) {
  l.top = ClampPos(ListScroll(d, l, client), l.top);
  HintRows(h, d, l, client);
}

// An owner-data cell's text, asked of the parent into `out`.
void AskCell(Hwnd h, int row, int column, char16_t* out, int units) {
  out[0] = 0;
  ListTextRequest request{.control = h, .controlId = GetDlgCtrlID(h), .row = row, .column = column,
                          .text = out, .units = units};
  SendMessage(GetParent(h), Msg::GetListText, static_cast<WParam>(request.controlId),
              reinterpret_cast<LParam>(&request));
  out[units - 1] = 0;
}

char16_t* CellOf(ListStore& l, int row, int column) {
  return l.cell[l.order[row]][column];
}

void PaintList(Canvas& c, Hwnd h, const ControlData& d, const ListStore& l, const Rect& client,
               bool enabled) {
  c.FillRect(client, kWhite);
  c.FrameRect(client, kFrameColor, 2);
  c.SetFont(FontOf(d));
  c.SetBackgroundMode(BackgroundMode::Transparent);
  Rect rows = RowsArea(d, client);
  int rowH = RowHeight(d);
  int columns = d.kind == ControlKind::ListView ? l.columns : 1;
  auto columnRange = [&](int col, int& x0, int& x1) {
    x0 = rows.left;
    if (d.kind != ControlKind::ListView) {
      x1 = rows.right;
      return;
    }
    for (int k = 0; k < col; ++k) x0 += l.column[k].width;
    x1 = x0 + l.column[col].width;
  };
  if (d.kind == ControlKind::ListView) {
    Rect header{rows.left, client.top + 2, rows.right, rows.top};
    c.FillRect(header, kHeaderColor);
    c.SetTextColor(kTextColor);
    for (int col = 0; col < l.columns; ++col) {
      int x0 = 0, x1 = 0;
      columnRange(col, x0, x1);
      Rect cellRect = Intersect(Rect{x0 + 4, header.top, x1 - 2, header.bottom}, header);
      c.DrawText(cellRect, l.column[col].title, TextFlag::VCenter | TextFlag::SingleLine);
      if (x1 < rows.right) c.FillRect(Rect{x1 - 1, header.top, x1, rows.bottom}, kGridColor);
    }
    c.FillRect(Rect{header.left, header.bottom - 1, header.right, header.bottom}, kFrameColor);
  }
  int visible = VisibleRowsOf(d, client);
  char16_t asked[kMaxCellText];
  for (int i = 0; i < visible && l.top + i < l.rows; ++i) {
    int row = l.top + i;
    Rect line{rows.left, rows.top + i * rowH, rows.right, rows.top + (i + 1) * rowH};
    bool selected = row == l.selection;
    if (selected) c.FillRect(line, kSelectionColor);
    c.SetTextColor(selected ? kWhite : (enabled ? kTextColor : kDisabledTextColor));
    for (int col = 0; col < columns; ++col) {
      int x0 = 0, x1 = 0;
      columnRange(col, x0, x1);
      Rect cellRect = Intersect(Rect{x0 + 4, line.top, x1 - 2, line.bottom}, line);
      if (cellRect.Empty()) continue;
      const char16_t* text = l.cell[l.order[row]][col];
      if (l.ownerData) {
        AskCell(h, row, col, asked, kMaxCellText);
        text = asked;
      }
      c.DrawText(cellRect, text, TextFlag::VCenter | TextFlag::SingleLine);
    }
  }
  PaintBar(c, StripRect(client), true, ListScroll(d, l, client), d.part, enabled);
}

// --- painting -------------------------------------------------------------------------------

void PaintCheckMark(Canvas& c, const Rect& box) {
  Point p[3] = {{box.left + 4, box.top + box.Height() / 2},
                {box.left + box.Width() / 2 - 1, box.bottom - 5},
                {box.right - 4, box.top + 4}};
  c.DrawPolyline(p, 3, kTextColor, 3);
}

void PaintControl(Hwnd h, ControlData& d, PaintContext& ctx) {
  Canvas& c = *ctx.canvas;
  Rect r = GetClientRect(h);
  bool enabled = IsEnabled(h);
  const char16_t* text = GetWindowText(h);
  Color parentBack = detail::ClassBackground(GetParent(h));
  Color back = d.customColors ? d.back : parentBack;
  Color fore = enabled ? (d.customColors ? d.text : kTextColor) : kDisabledTextColor;
  c.SetFont(FontOf(d));
  c.SetBackgroundMode(BackgroundMode::Transparent);
  switch (d.kind) {
    case ControlKind::PushButton:
      DrawButtonFace(c, r, text, d.pressed, enabled);
      break;
    case ControlKind::CheckButton:
      DrawButtonFace(c, r, text, d.pressed || d.checked, enabled);
      break;
    case ControlKind::OwnerDrawButton: {
      DrawItemInfo info;
      info.control = h;
      info.controlId = GetDlgCtrlID(h);
      info.canvas = &c;
      info.rect = r;
      info.state = (d.pressed ? ItemState::Pressed : 0) | (enabled ? 0 : ItemState::Disabled) |
                   (d.checked ? ItemState::Checked : 0);
      CanvasState saved = c.SaveState();
      LResult drawn = SendMessage(GetParent(h), Msg::DrawItem,
                                  static_cast<WParam>(info.controlId),
                                  reinterpret_cast<LParam>(&info));
      c.RestoreState(saved);
      if (drawn == 0) DrawButtonFace(c, r, text, d.pressed, enabled);
      break;
    }
    case ControlKind::CheckBox:
    case ControlKind::RadioButton: {
      c.FillRect(r, back);
      int top = r.top + (r.Height() - kBoxSize) / 2;
      Rect box{r.left + 2, top, r.left + 2 + kBoxSize, top + kBoxSize};
      Color frame = enabled ? kFrameColor : kDisabledTextColor;
      if (d.kind == ControlKind::CheckBox) {
        c.FillRect(box, d.pressed ? kFaceColor : kWhite);
        c.FrameRect(box, frame, 2);
        if (d.checked) PaintCheckMark(c, box);
      } else {
        c.FillEllipse(box, d.pressed ? kFaceColor : kWhite);
        c.FrameEllipse(box, frame, 2);
        if (d.checked) {
          c.FillEllipse(Rect{box.left + 6, box.top + 6, box.right - 6, box.bottom - 6}, frame);
        }
      }
      c.SetTextColor(fore);
      Rect label{box.right + 6, r.top, r.right, r.bottom};
      c.DrawText(label, text, TextFlag::VCenter | TextFlag::WordBreak);
      break;
    }
    case ControlKind::Static: {
      c.FillRect(r, back);
      c.SetTextColor(fore);
      Rect inner = r;
      if (d.style & ControlStyle::Border) {
        c.FrameRect(r, kFrameColor, 1);
        inner = Rect{r.left + 3, r.top + 1, r.right - 3, r.bottom - 1};
      }
      c.DrawText(inner, text, AlignFlags(d.style) | TextFlag::WordBreak);
      break;
    }
    case ControlKind::Edit: {
      c.FillRect(r, d.customColors ? d.back : (enabled ? kWhite : kFaceColor));
      c.FrameRect(r, kFrameColor, 2);
      c.SetTextColor(fore);
      Rect inner{r.left + 5, r.top + 2, r.right - 5, r.bottom - 2};
      TextFlags flags = AlignFlags(d.style) |
                        ((d.style & ControlStyle::Multiline) ? TextFlag::WordBreak
                                                             : TextFlag::VCenter | TextFlag::SingleLine);
      c.DrawText(inner, text, flags);
      break;
    }
    case ControlKind::GroupBox: {
      int lh = LineHeight(FontOf(d));
      int mid = r.top + lh / 2;
      c.FrameRect(Rect{r.left, mid, r.right, r.bottom}, enabled ? kFrameColor : kDisabledTextColor, 2);
      if (text[0] != 0) {
        int w = TextWidth(FontOf(d), text);
        Rect title{r.left + 8, r.top, r.left + 16 + w, r.top + lh};
        c.FillRect(title, back);
        c.SetTextColor(fore);
        c.DrawText(Rect{title.left + 4, title.top, title.right, title.bottom}, text,
                   TextFlag::SingleLine);
      }
      break;
    }
    case ControlKind::ListBox:
    case ControlKind::ListView:
      if (d.list >= 0) PaintList(c, h, d, g_lists[d.list], r, enabled);
      break;
    case ControlKind::VScrollBar:
    case ControlKind::HScrollBar:
      PaintBar(c, r, d.kind == ControlKind::VScrollBar, d.scroll, d.part, enabled);
      break;
    case ControlKind::ProgressBar: {
      c.FillRect(r, kWhite);
      c.FrameRect(r, kFrameColor, 2);
      int span = d.progressMax - d.progressMin;
      Rect inner{r.left + 3, r.top + 3, r.right - 3, r.bottom - 3};
      if (span > 0 && !inner.Empty()) {
        int done = static_cast<int>(static_cast<int64_t>(inner.Width()) *
                                    (d.progressPos - d.progressMin) / span);
        c.FillRect(Rect{inner.left, inner.top, inner.left + done, inner.bottom}, kProgressColor);
      }
      break;
    }
  }
}

// --- touches --------------------------------------------------------------------------------

bool IsButtonKind(ControlKind k) {
  return k == ControlKind::PushButton || k == ControlKind::OwnerDrawButton ||
         k == ControlKind::CheckBox || k == ControlKind::RadioButton || k == ControlKind::CheckButton;
}

void Click(Hwnd h, ControlData& d);

void ButtonTouch(Hwnd h, ControlData& d, Msg msg, Point p) {
  Rect r = GetClientRect(h);
  bool inside = r.Contains(p.x, p.y);
  switch (msg) {
    case Msg::TouchDown:
      if (!IsEnabled(h)) return;
      d.fingerDown = true;
      d.pressed = true;
      InvalidateRect(h, nullptr, false);
      break;
    case Msg::TouchMove:
      if (d.fingerDown && d.pressed != inside) {
        d.pressed = inside;
        InvalidateRect(h, nullptr, false);
      }
      break;
    case Msg::TouchUp: {
      if (!d.fingerDown) return;
      bool click = d.pressed && inside;
      d.fingerDown = false;
      d.pressed = false;
      InvalidateRect(h, nullptr, false);
      if (click) Click(h, d);
      break;
    }
    default:
      break;
  }
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

int ThumbPosAt(const BarLayout& b, const ScrollInfo& info, int delta, int startPos) {
  int trackLen = b.vertical ? b.track.Height() : b.track.Width();
  int thumbLen = b.vertical ? b.thumb.Height() : b.thumb.Width();
  int travel = trackLen - thumbLen;
  int maxPos = ScrollMaxPos(info);
  if (travel <= 0) return startPos;
  int pos = startPos + static_cast<int>(static_cast<int64_t>(delta) * (maxPos - info.min) / travel);
  return ClampPos(info, pos);
}

void BarTouch(Hwnd h, ControlData& d, Msg msg, Point p) {
  Rect r = GetClientRect(h);
  bool vertical = d.kind == ControlKind::VScrollBar;
  BarLayout b = LayoutBar(r, vertical, d.scroll);
  int along = vertical ? p.y : p.x;
  switch (msg) {
    case Msg::TouchDown: {
      if (!IsEnabled(h)) return;
      d.part = BarPartAt(b, p);
      if (d.part == Part::None) return;
      d.fingerDown = true;
      InvalidateRect(h, nullptr, false);
      if (d.part == Part::Thumb) {
        d.dragStart = along;
        d.dragPos = d.scroll.pos;
        d.trackPos = d.scroll.pos;
        return;
      }
      ScrollNotify(h, d, CodeOfPart(d.part), d.scroll.pos);
      if (IsWindow(h)) SetTimer(h, kRepeatTimerId, kRepeatDelayMs);
      break;
    }
    case Msg::TouchMove:
      if (d.fingerDown && d.part == Part::Thumb) {
        int pos = ThumbPosAt(b, d.scroll, along - d.dragStart, d.dragPos);
        if (pos != d.trackPos) {
          d.trackPos = pos;
          ScrollNotify(h, d, ScrollCode::ThumbTrack, pos);
        }
      }
      break;
    case Msg::TouchUp: {
      if (!d.fingerDown) return;
      Part was = d.part;
      d.fingerDown = false;
      d.part = Part::None;
      KillTimer(h, kRepeatTimerId);
      InvalidateRect(h, nullptr, false);
      if (was == Part::Thumb) ScrollNotify(h, d, ScrollCode::ThumbPosition, d.trackPos);
      if (IsWindow(h)) ScrollNotify(h, d, ScrollCode::EndScroll, d.scroll.pos);
      break;
    }
    default:
      break;
  }
}

void ListTouch(Hwnd h, ControlData& d, Msg msg, Point p) {
  if (d.list < 0) return;
  ListStore& l = g_lists[d.list];
  Rect client = GetClientRect(h);
  Rect strip = StripRect(client);
  ScrollInfo info = ListScroll(d, l, client);
  BarLayout b = LayoutBar(strip, true, info);
  switch (msg) {
    case Msg::TouchDown: {
      if (!IsEnabled(h)) return;
      d.fingerDown = true;
      d.dragged = false;
      d.dragStart = p.y;
      d.dragPos = l.top;
      if (strip.Contains(p.x, p.y)) {
        d.part = BarPartAt(b, p);
        int page = info.page > 1 ? info.page - 1 : 1;
        switch (d.part) {
          case Part::ArrowUp: l.top -= 1; break;
          case Part::ArrowDown: l.top += 1; break;
          case Part::PageUp: l.top -= page; break;
          case Part::PageDown: l.top += page; break;
          default: break;
        }
        ClampTop(h, d, l, client);
        if (d.part != Part::Thumb && d.part != Part::None) SetTimer(h, kRepeatTimerId, kRepeatDelayMs);
      } else {
        d.part = Part::Rows;
      }
      InvalidateRect(h, nullptr, false);
      break;
    }
    case Msg::TouchMove: {
      if (!d.fingerDown) return;
      int rowH = RowHeight(d);
      int oldTop = l.top;
      if (d.part == Part::Thumb) {
        l.top = ThumbPosAt(b, info, p.y - d.dragStart, d.dragPos);
      } else if (d.part == Part::Rows && rowH > 0) {
        int rows = (d.dragStart - p.y) / rowH;
        if (rows != 0) d.dragged = true;
        l.top = d.dragPos + rows;
      }
      ClampTop(h, d, l, client);
      if (l.top != oldTop) InvalidateRect(h, nullptr, false);
      break;
    }
    case Msg::TouchUp: {
      if (!d.fingerDown) return;
      Part was = d.part;
      d.fingerDown = false;
      d.part = Part::None;
      KillTimer(h, kRepeatTimerId);
      InvalidateRect(h, nullptr, false);
      if (was != Part::Rows || d.dragged) return;
      Rect rows = RowsArea(d, client);
      if (!rows.Contains(p.x, p.y)) return;
      int row = l.top + (p.y - rows.top) / RowHeight(d);
      if (row >= l.rows) return;
      if (row == l.selection) {
        NotifyParent(h, Notify::DoubleClick);
      } else {
        l.selection = row;
        NotifyParent(h, Notify::SelChange);
      }
      break;
    }
    default:
      break;
  }
}

// Held arrows repeat, as on a Win32 scroll bar.
void RepeatTick(Hwnd h, ControlData& d) {
  if (!d.fingerDown) {
    KillTimer(h, kRepeatTimerId);
    return;
  }
  SetTimer(h, kRepeatTimerId, kRepeatPeriodMs);
  if (d.kind == ControlKind::VScrollBar || d.kind == ControlKind::HScrollBar) {
    if (d.part != Part::Thumb && d.part != Part::None) ScrollNotify(h, d, CodeOfPart(d.part), d.scroll.pos);
    return;
  }
  if (d.list < 0) return;
  ListStore& l = g_lists[d.list];
  Rect client = GetClientRect(h);
  int page = VisibleRowsOf(d, client) > 1 ? VisibleRowsOf(d, client) - 1 : 1;
  int old = l.top;
  switch (d.part) {
    case Part::ArrowUp: l.top -= 1; break;
    case Part::ArrowDown: l.top += 1; break;
    case Part::PageUp: l.top -= page; break;
    case Part::PageDown: l.top += page; break;
    default: break;
  }
  ClampTop(h, d, l, client);
  if (old != l.top) InvalidateRect(h, nullptr, false);
}

LResult ControlProc(Hwnd h, Msg msg, WParam wParam, LParam lParam) {
  ControlData* d = DataOf(h);
  if (d == nullptr) return DefWindowProc(h, msg, wParam, lParam);
  switch (msg) {
    case Msg::EraseBackground:
      return 1;  // every control paints its whole face
    case Msg::Paint:
      PaintControl(h, *d, PaintFrom(lParam));
      return 0;
    case Msg::TouchDown:
    case Msg::TouchMove:
    case Msg::TouchUp: {
      Point p = PointFrom(lParam);
      if (IsButtonKind(d->kind)) {
        ButtonTouch(h, *d, msg, p);
      } else if (d->kind == ControlKind::VScrollBar || d->kind == ControlKind::HScrollBar) {
        BarTouch(h, *d, msg, p);
      } else if (d->kind == ControlKind::ListBox || d->kind == ControlKind::ListView) {
        ListTouch(h, *d, msg, p);
      }
      return 0;
    }
    case Msg::Timer:
      if (wParam == kRepeatTimerId) RepeatTick(h, *d);
      return 0;
    case Msg::Destroy: {
      int s = detail::SlotOf(h);
      if (d->list >= 0) g_lists[d->list].used = false;
      g_data[s] = ControlData{};
      return 0;
    }
    default:
      return DefWindowProc(h, msg, wParam, lParam);
  }
}

const char* ClassNameOf(ControlKind k) {
  switch (k) {
    case ControlKind::PushButton:
    case ControlKind::OwnerDrawButton:
    case ControlKind::CheckBox:
    case ControlKind::RadioButton:
    case ControlKind::CheckButton:
    case ControlKind::GroupBox:
      return "BUTTON";
    case ControlKind::Static: return "STATIC";
    case ControlKind::Edit: return "EDIT";
    case ControlKind::ListBox: return "LISTBOX";
    case ControlKind::ListView: return "LISTVIEW";
    case ControlKind::VScrollBar:
    case ControlKind::HScrollBar: return "SCROLLBAR";
    case ControlKind::ProgressBar: return "PROGRESS";
  }
  return "STATIC";
}

// Radio buttons form groups among their siblings in z-order (creation order): a group
// starts at a radio with the Group style, or after any control that is not a radio.
void CheckInGroup(Hwnd h) {
  Hwnd parent = GetParent(h);
  Hwnd group[kMaxWindows];
  int count = 0;
  bool found = false;
  for (Hwnd c = detail::FirstChild(parent); c != kNoWindow; c = detail::NextSibling(c)) {
    ControlData* cd = DataOf(c);
    bool radio = cd != nullptr && cd->kind == ControlKind::RadioButton;
    if (!radio || (cd->style & ControlStyle::Group)) {
      if (found) break;
      count = 0;
      if (!radio) continue;
    }
    group[count++] = c;
    if (c == h) found = true;
  }
  for (int i = 0; i < count; ++i) SetButtonCheck(group[i], group[i] == h);
}

void Click(Hwnd h, ControlData& d) {
  bool autoCheck = !(d.style & ControlStyle::NoAuto);
  if (autoCheck && (d.kind == ControlKind::CheckBox || d.kind == ControlKind::CheckButton)) {
    SetButtonCheck(h, !d.checked);
  } else if (autoCheck && d.kind == ControlKind::RadioButton) {
    CheckInGroup(h);
  }
  NotifyParent(h, Notify::Clicked);
}

}  // namespace

// ==========================================================================================

namespace detail {

void RegisterControlClasses() {
  static constexpr const char* kNames[] = {"BUTTON", "STATIC", "EDIT", "LISTBOX", "LISTVIEW",
                                           "SCROLLBAR", "PROGRESS"};
  for (const char* name : kNames) {
    RegisterClass(WindowClass{.name = name, .proc = ControlProc, .background = kFaceColor,
                              .eraseBackground = false});
  }
}

void ResetControls() {
  for (auto& d : g_data) d = ControlData{};
  for (auto& l : g_lists) l.used = false;
}

}  // namespace detail

Hwnd CreateControl(Hwnd parent, ControlKind kind, int id, const Rect& rect, TextRef text,
                   uint32_t style) {
  int list = -1;
  if (kind == ControlKind::ListBox || kind == ControlKind::ListView) {
    for (int i = 0; i < kMaxListControls; ++i) {
      if (!g_lists[i].used) {
        list = i;
        break;
      }
    }
    if (list < 0) return kNoWindow;
  }
  WindowFlags flags = 0;
  if (!(style & ControlStyle::Hidden)) flags |= WindowFlag::Visible;
  if (style & ControlStyle::Disabled) flags |= WindowFlag::Disabled;
  if (style & ControlStyle::Topmost) flags |= WindowFlag::Topmost;
  if (kind == ControlKind::Static || kind == ControlKind::GroupBox) flags |= WindowFlag::Transparent;
  Hwnd h = CreateWindow(WindowDesc{.className = ClassNameOf(kind), .title = text.narrow,
                                   .wideTitle = text.wide, .parent = parent, .rect = rect,
                                   .flags = flags, .id = id});
  if (h == kNoWindow) return kNoWindow;
  ControlData& d = g_data[detail::SlotOf(h)];
  d = ControlData{};
  d.used = true;
  d.kind = kind;
  d.style = style;
  d.checked = (style & ControlStyle::Checked) != 0;
  d.scroll = ScrollInfo{0, 100, 0, 0};
  if (list >= 0) {
    ListStore& l = g_lists[list];
    l.used = true;
    l.ownerData = kind == ControlKind::ListView && (style & ControlStyle::OwnerData) != 0;
    l.hintFirst = l.hintLast = -1;
    l.rows = 0;
    l.columns = 0;
    l.selection = -1;
    l.top = 0;
    for (bool& u : l.slotUsed) u = false;
    d.list = list;
  }
  return h;
}

bool GetControlKind(Hwnd h, ControlKind& out) {
  ControlData* d = DataOf(h);
  if (d == nullptr) return false;
  out = d->kind;
  return true;
}

void SetControlColors(Hwnd h, Color text, Color background) {
  ControlData* d = DataOf(h);
  if (d == nullptr) return;
  if (d->customColors && d->text == text && d->back == background) return;
  d->customColors = true;
  d->text = text;
  d->back = background;
  InvalidateRect(h, nullptr, false);
}

void SetControlFont(Hwnd h, FontHandle font) {
  ControlData* d = DataOf(h);
  if (d == nullptr || d->font == font) return;
  d->font = font;
  InvalidateRect(h, nullptr, false);
}

void SetButtonCheck(Hwnd h, bool checked) {
  ControlData* d = DataOf(h);
  if (d == nullptr || d->checked == checked) return;
  d->checked = checked;
  InvalidateRect(h, nullptr, false);
}

bool GetButtonCheck(Hwnd h) {
  ControlData* d = DataOf(h);
  return d != nullptr && d->checked;
}

bool IsButtonHeld(Hwnd h) {
  ControlData* d = DataOf(h);
  return d != nullptr && d->pressed;
}

int ScrollMaxPos(const ScrollInfo& info) {
  int maxPos = info.page > 0 ? info.max - info.page + 1 : info.max;
  return maxPos < info.min ? info.min : maxPos;
}

int SetScrollInfo(Hwnd bar, const ScrollInfo& info) {
  ControlData* d = DataOf(bar);
  if (d == nullptr) return 0;
  ScrollInfo next = info;
  if (next.max < next.min) next.max = next.min;
  if (next.page < 0) next.page = 0;
  int range = next.max - next.min + 1;
  if (next.page > range) next.page = range;
  next.pos = ClampPos(next, next.pos);
  if (d->scroll.min != next.min || d->scroll.max != next.max || d->scroll.page != next.page ||
      d->scroll.pos != next.pos) {
    d->scroll = next;
    InvalidateRect(bar, nullptr, false);
  }
  return next.pos;
}

ScrollInfo GetScrollInfo(Hwnd bar) {
  ControlData* d = DataOf(bar);
  return d == nullptr ? ScrollInfo{} : d->scroll;
}

int SetScrollPos(Hwnd bar, int pos) {
  ControlData* d = DataOf(bar);
  if (d == nullptr) return 0;
  ScrollInfo info = d->scroll;
  info.pos = pos;
  return SetScrollInfo(bar, info);
}

int GetScrollPos(Hwnd bar) {
  ControlData* d = DataOf(bar);
  return d == nullptr ? 0 : d->scroll.pos;
}

void SetProgressRange(Hwnd bar, int min, int max) {
  ControlData* d = DataOf(bar);
  if (d == nullptr || (d->progressMin == min && d->progressMax == max)) return;
  d->progressMin = min;
  d->progressMax = max < min ? min : max;
  SetProgressPos(bar, d->progressPos);
  InvalidateRect(bar, nullptr, false);
}

void SetProgressPos(Hwnd bar, int pos) {
  ControlData* d = DataOf(bar);
  if (d == nullptr) return;
  if (pos < d->progressMin) pos = d->progressMin;
  if (pos > d->progressMax) pos = d->progressMax;
  if (pos == d->progressPos) return;
  d->progressPos = pos;
  InvalidateRect(bar, nullptr, false);
}

int GetProgressPos(Hwnd bar) {
  ControlData* d = DataOf(bar);
  return d == nullptr ? 0 : d->progressPos;
}

namespace {

int InsertRow(Hwnd h, int index, TextRef text) {
  ListStore* l = ListOf(h);
  if (l == nullptr || l->ownerData || l->rows >= kMaxListRows) return -1;
  int slot = -1;
  for (int i = 0; i < kMaxListRows; ++i) {
    if (!l->slotUsed[i]) {
      slot = i;
      break;
    }
  }
  if (slot < 0) return -1;
  if (index < 0 || index > l->rows) index = l->rows;
  std::memmove(&l->order[index + 1], &l->order[index],
               static_cast<size_t>(l->rows - index) * sizeof l->order[0]);
  l->order[index] = static_cast<uint16_t>(slot);
  l->slotUsed[slot] = true;
  for (int c = 0; c < kMaxListColumns; ++c) l->cell[slot][c][0] = 0;
  CopyText(l->cell[slot][0], kMaxCellText, text);
  ++l->rows;
  if (l->selection >= index) ++l->selection;
  InvalidateRect(h, nullptr, false);
  return index;
}

void DeleteRows(Hwnd h) {
  ListStore* l = ListOf(h);
  if (l == nullptr) return;
  for (bool& u : l->slotUsed) u = false;
  l->rows = 0;
  l->selection = -1;
  l->top = 0;
  l->hintFirst = l->hintLast = -1;
  InvalidateRect(h, nullptr, false);
}

}  // namespace

int ListBoxAddString(Hwnd box, TextRef text) { return InsertRow(box, -1, text); }
void ListBoxResetContent(Hwnd box) { DeleteRows(box); }

bool ListViewInsertColumn(Hwnd view, int column, TextRef title, int width) {
  ListStore* l = ListOf(view);
  if (l == nullptr || l->columns >= kMaxListColumns) return false;
  if (column < 0 || column > l->columns) column = l->columns;
  for (int c = l->columns; c > column; --c) l->column[c] = l->column[c - 1];
  CopyText(l->column[column].title, kMaxCellText, title);
  l->column[column].width = width;
  ++l->columns;
  InvalidateRect(view, nullptr, false);
  return true;
}

bool ListViewSetColumnWidth(Hwnd view, int column, int width) {
  ListStore* l = ListOf(view);
  if (l == nullptr || column < 0 || column >= l->columns) return false;
  if (l->column[column].width != width) {
    l->column[column].width = width;
    InvalidateRect(view, nullptr, false);
  }
  return true;
}

int ListViewInsertItem(Hwnd view, int index, TextRef text) { return InsertRow(view, index, text); }

bool ListViewSetItemText(Hwnd view, int row, int column, TextRef text) {
  ListStore* l = ListOf(view);
  if (l == nullptr || l->ownerData || row < 0 || row >= l->rows || column < 0 ||
      column >= kMaxListColumns) {
    return false;
  }
  CopyText(CellOf(*l, row, column), kMaxCellText, text);
  InvalidateRect(view, nullptr, false);
  return true;
}

void ListViewDeleteAllItems(Hwnd view) { DeleteRows(view); }

bool ListViewSetItemCount(Hwnd view, int count) {
  ListStore* l = ListOf(view);
  if (l == nullptr || !l->ownerData) return false;
  if (count < 0) count = 0;
  if (l->rows != count) {
    l->rows = count;
    if (l->selection >= count) l->selection = -1;
    InvalidateRect(view, nullptr, false);
  }
  ClampTop(view, *DataOf(view), *l, GetClientRect(view));
  return true;
}

int ListItemCount(Hwnd list) {
  ListStore* l = ListOf(list);
  return l == nullptr ? 0 : l->rows;
}

const char16_t* ListItemText(Hwnd list, int row, int column) {
  ListStore* l = ListOf(list);
  if (l == nullptr || row < 0 || row >= l->rows || column < 0 || column >= kMaxListColumns) {
    return u"";
  }
  if (l->ownerData) {
    AskCell(list, row, column, l->asked, kMaxCellText);
    return l->asked;
  }
  return CellOf(*l, row, column);
}

int ListGetSelection(Hwnd list) {
  ListStore* l = ListOf(list);
  return l == nullptr ? -1 : l->selection;
}

bool ListSetSelection(Hwnd list, int row) {
  ListStore* l = ListOf(list);
  ControlData* d = DataOf(list);
  if (l == nullptr || row < -1 || row >= l->rows) return false;
  if (l->selection == row) return true;
  l->selection = row;
  if (row >= 0) {
    int visible = VisibleRowsOf(*d, GetClientRect(list));
    if (row < l->top) l->top = row;
    if (row >= l->top + visible) l->top = row - visible + 1;
    HintRows(list, *d, *l, GetClientRect(list));
  }
  InvalidateRect(list, nullptr, false);
  return true;
}

int ListTopRow(Hwnd list) {
  ListStore* l = ListOf(list);
  return l == nullptr ? 0 : l->top;
}

void ListSetTopRow(Hwnd list, int row) {
  ListStore* l = ListOf(list);
  ControlData* d = DataOf(list);
  if (l == nullptr) return;
  int old = l->top;
  l->top = row;
  ClampTop(list, *d, *l, GetClientRect(list));
  if (old != l->top) InvalidateRect(list, nullptr, false);
}

int ListVisibleRows(Hwnd list) {
  ControlData* d = DataOf(list);
  return d == nullptr ? 0 : VisibleRowsOf(*d, GetClientRect(list));
}

void DrawButtonFace(Canvas& canvas, const Rect& r, TextRef text, bool pressed, bool enabled) {
  canvas.FillRect(r, pressed ? kPressedFaceColor : kFaceColor);
  canvas.FrameRect(r, enabled ? kFrameColor : kDisabledTextColor, 2);
  canvas.SetTextColor(pressed ? kWhite : (enabled ? kTextColor : kDisabledTextColor));
  canvas.SetBackgroundMode(BackgroundMode::Transparent);
  Rect inner{r.left + 4, r.top + 2, r.right - 4, r.bottom - 2};
  DrawTextRef(canvas, inner, text, TextFlag::Center | TextFlag::VCenter | TextFlag::WordBreak);
}

}  // namespace plat
