#include "platform/Controls.h"

#include <cstring>

#include "platform/ControlsInternal.h"
#include "platform/Font.h"
#include "platform/Verify.h"
#include "platform/WindowInternal.h"

// List boxes and report list views, with rows kept here or, for owner-data list views, by
// the parent.
namespace plat {
namespace detail {
namespace {

constexpr int kListStripWidth = 26;  // the scroll strip of list boxes and list views
constexpr int kRowPadding = 8;
constexpr Color kHeaderColor = Rgb(192, 192, 192);
constexpr Color kGridColor = Rgb(160, 160, 160);

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

// What a list control's window slot holds: its store and what the finger does.
struct ListData {
  int list = -1;
  Part part = Part::None;   // what the finger took
  bool fingerDown = false;  // the touch began on it
  int dragStart = 0;        // touch coordinate where a drag began
  int dragPos = 0;          // top row when it began
  bool dragged = false;
};

ListData g_listData[kMaxWindows];
ListStore g_lists[kMaxListControls];

ListStore* ListOf(Hwnd h) {
  if (ControlOf(h) == nullptr) return nullptr;
  int list = g_listData[SlotOf(h)].list;
  return list < 0 ? nullptr : &g_lists[list];
}

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

// How far a press on `part` of the bar moves the top row: one row for an arrow, a page less
// one row (at least one) for the track on either side of the thumb.
int TopStep(Part part, int visibleRows) {
  const int page = visibleRows > 1 ? visibleRows - 1 : 1;
  switch (part) {
    case Part::ArrowUp: return -1;
    case Part::ArrowDown: return 1;
    case Part::PageUp: return -page;
    case Part::PageDown: return page;
    case Part::None:
    case Part::Thumb:
    case Part::Rows: return 0;
  }
  VERIFY_NOT_REACHED();
  return 0;
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

void PaintList(Canvas& c, Hwnd h, const ControlData& d, const ListData& ld, const ListStore& l,
               const Rect& client, bool enabled) {
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
      // An owner-data list's rows go past the store, so only the parent is asked.
      const char16_t* text = asked;
      if (l.ownerData) {
        AskCell(h, row, col, asked, kMaxCellText);
      } else {
        text = l.cell[l.order[row]][col];
      }
      c.DrawText(cellRect, text, TextFlag::VCenter | TextFlag::SingleLine);
    }
  }
  PaintBar(c, StripRect(client), true, ListScroll(d, l, client), ld.part, enabled);
}

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

bool IsListKind(ControlKind k) { return k == ControlKind::ListBox || k == ControlKind::ListView; }

bool ListStoreFree() {
  for (const ListStore& l : g_lists) {
    if (!l.used) return true;
  }
  return false;
}

void InitList(int slot, ControlKind kind, uint32_t style) {
  int list = -1;
  for (int i = 0; i < kMaxListControls; ++i) {
    if (!g_lists[i].used) {
      list = i;
      break;
    }
  }
  if (list < 0) return;
  ListStore& l = g_lists[list];
  l.used = true;
  l.ownerData = kind == ControlKind::ListView && (style & ControlStyle::OwnerData) != 0;
  l.hintFirst = l.hintLast = -1;
  l.rows = 0;
  l.columns = 0;
  l.selection = -1;
  l.top = 0;
  for (bool& u : l.slotUsed) u = false;
  g_listData[slot] = ListData{};
  g_listData[slot].list = list;
}

void ForgetList(int slot) {
  ListData& ld = g_listData[slot];
  if (ld.list >= 0) g_lists[ld.list].used = false;
  ld = ListData{};
}

void ResetLists() {
  for (auto& ld : g_listData) ld = ListData{};
  for (auto& l : g_lists) l.used = false;
}

void PaintListControl(Hwnd h, const ControlData& d, const ControlLook& look, Canvas& c) {
  const ListData& ld = g_listData[SlotOf(h)];
  if (ld.list >= 0) PaintList(c, h, d, ld, g_lists[ld.list], look.rect, look.enabled);
}

void ListTouch(Hwnd h, const ControlData& d, Msg msg, Point p) {
  ListData& ld = g_listData[SlotOf(h)];
  if (ld.list < 0) return;
  ListStore& l = g_lists[ld.list];
  Rect client = GetClientRect(h);
  Rect strip = StripRect(client);
  ScrollInfo info = ListScroll(d, l, client);
  BarLayout b = LayoutBar(strip, true, info);
  switch (msg) {
    case Msg::TouchDown: {
      if (!IsWindowEnabled(h)) return;
      ld.fingerDown = true;
      ld.dragged = false;
      ld.dragStart = p.y;
      ld.dragPos = l.top;
      if (strip.Contains(p.x, p.y)) {
        ld.part = BarPartAt(b, p);
        l.top += TopStep(ld.part, info.page);
        ClampTop(h, d, l, client);
        if (ld.part != Part::Thumb && ld.part != Part::None) SetTimer(h, kRepeatTimerId, kRepeatDelayMs);
      } else {
        ld.part = Part::Rows;
      }
      InvalidateRect(h, nullptr, false);
      break;
    }
    case Msg::TouchMove: {
      if (!ld.fingerDown) return;
      int rowH = RowHeight(d);
      int oldTop = l.top;
      if (ld.part == Part::Thumb) {
        l.top = ThumbPosAt(b, info, p.y - ld.dragStart, ld.dragPos);
      } else if (ld.part == Part::Rows && rowH > 0) {
        int rows = (ld.dragStart - p.y) / rowH;
        if (rows != 0) ld.dragged = true;
        l.top = ld.dragPos + rows;
      }
      ClampTop(h, d, l, client);
      if (l.top != oldTop) InvalidateRect(h, nullptr, false);
      break;
    }
    case Msg::TouchUp: {
      if (!ld.fingerDown) return;
      Part was = ld.part;
      ld.fingerDown = false;
      ld.part = Part::None;
      KillTimer(h, kRepeatTimerId);
      InvalidateRect(h, nullptr, false);
      if (was != Part::Rows || ld.dragged) return;
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

void ListRepeat(Hwnd h, const ControlData& d) {
  ListData& ld = g_listData[SlotOf(h)];
  if (!ld.fingerDown) {
    KillTimer(h, kRepeatTimerId);
    return;
  }
  SetTimer(h, kRepeatTimerId, kRepeatPeriodMs);
  if (ld.list < 0) return;
  ListStore& l = g_lists[ld.list];
  Rect client = GetClientRect(h);
  int old = l.top;
  l.top += TopStep(ld.part, VisibleRowsOf(d, client));
  ClampTop(h, d, l, client);
  if (old != l.top) InvalidateRect(h, nullptr, false);
}

}  // namespace detail

using detail::ListStore;
using detail::ListOf;

int ListBoxAddString(Hwnd box, TextRef text) { return detail::InsertRow(box, -1, text); }
void ListBoxResetContent(Hwnd box) { detail::DeleteRows(box); }

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

int ListViewInsertItem(Hwnd view, int index, TextRef text) { return detail::InsertRow(view, index, text); }

bool ListViewSetItemText(Hwnd view, int row, int column, TextRef text) {
  ListStore* l = ListOf(view);
  if (l == nullptr || l->ownerData || row < 0 || row >= l->rows || column < 0 ||
      column >= kMaxListColumns) {
    return false;
  }
  CopyText(detail::CellOf(*l, row, column), kMaxCellText, text);
  InvalidateRect(view, nullptr, false);
  return true;
}

void ListViewDeleteAllItems(Hwnd view) { detail::DeleteRows(view); }

bool ListViewSetItemCount(Hwnd view, int count) {
  ListStore* l = ListOf(view);
  if (l == nullptr || !l->ownerData) return false;
  if (count < 0) count = 0;
  if (l->rows != count) {
    l->rows = count;
    if (l->selection >= count) l->selection = -1;
    InvalidateRect(view, nullptr, false);
  }
  detail::ClampTop(view, *detail::ControlOf(view), *l, GetClientRect(view));
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
    detail::AskCell(list, row, column, l->asked, kMaxCellText);
    return l->asked;
  }
  return detail::CellOf(*l, row, column);
}

int ListGetSelection(Hwnd list) {
  ListStore* l = ListOf(list);
  return l == nullptr ? -1 : l->selection;
}

bool ListSetSelection(Hwnd list, int row) {
  ListStore* l = ListOf(list);
  detail::ControlData* d = detail::ControlOf(list);
  if (l == nullptr || row < -1 || row >= l->rows) return false;
  if (l->selection == row) return true;
  l->selection = row;
  if (row >= 0) {
    int visible = detail::VisibleRowsOf(*d, GetClientRect(list));
    if (row < l->top) l->top = row;
    if (row >= l->top + visible) l->top = row - visible + 1;
    detail::HintRows(list, *d, *l, GetClientRect(list));
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
  detail::ControlData* d = detail::ControlOf(list);
  if (l == nullptr) return;
  int old = l->top;
  l->top = row;
  detail::ClampTop(list, *d, *l, GetClientRect(list));
  if (old != l->top) InvalidateRect(list, nullptr, false);
}

int ListVisibleRows(Hwnd list) {
  detail::ControlData* d = detail::ControlOf(list);
  return d == nullptr ? 0 : detail::VisibleRowsOf(*d, GetClientRect(list));
}

}  // namespace plat
