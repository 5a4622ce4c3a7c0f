#pragma once
// The standard controls, drawn by our own code in a plain panel style: flat faces, black
// frames, high contrast, large touch targets. Controls tell their parent what happened with
// Command (control id and notification), VScroll/HScroll and DrawItem, never through stored
// callbacks. State changes repaint a control only when the state really changed.
#include <cstddef>
#include <cstdint>

#include "platform/Window.h"

namespace plat {

enum class ControlKind : uint8_t {
  PushButton,
  OwnerDrawButton,  // the parent paints it on DrawItem
  CheckBox,
  RadioButton,
  CheckButton,      // a push-like check box: stays down while checked
  Static,
  Edit,             // read-only edit field
  GroupBox,
  ListBox,
  ListView,         // report view with columns
  VScrollBar,
  HScrollBar,
  ProgressBar,
};

namespace ControlStyle {
inline constexpr uint32_t Hidden = 1u << 0;
inline constexpr uint32_t Disabled = 1u << 1;
inline constexpr uint32_t Left = 0;  // text alignment (statics, edits, buttons)
inline constexpr uint32_t Center = 1u << 2;
inline constexpr uint32_t Right = 1u << 3;
inline constexpr uint32_t Border = 1u << 4;   // statics
inline constexpr uint32_t Group = 1u << 5;    // starts a group of radio buttons
inline constexpr uint32_t NoAuto = 1u << 6;   // check boxes and radios only notify; code sets them
inline constexpr uint32_t Checked = 1u << 7;  // initially checked
inline constexpr uint32_t Multiline = 1u << 8;  // statics and edits wrap at spaces
inline constexpr uint32_t Topmost = 1u << 9;
inline constexpr uint32_t OwnerData = 1u << 10;  // list views: the parent keeps the rows
}  // namespace ControlStyle

// Creates a control as a child of `parent`; visible unless Hidden.
Hwnd CreateControl(Hwnd parent, ControlKind kind, int id, const Rect& rect, TextRef text,
                   uint32_t style);
// The kind of a control, or false when the window is not one.
bool GetControlKind(Hwnd h, ControlKind& out);

// Colours and font of a control's text and face (statics, edits, buttons, group boxes).
void SetControlColors(Hwnd h, Color text, Color background);
void SetControlFont(Hwnd h, FontHandle font);

// Owner-drawn buttons: DrawItem goes to the parent whenever the button paints; the parent
// returns nonzero when it drew the button, otherwise the button draws a plain face with its
// text (so a missing picture still leaves a usable button).
namespace ItemState {
inline constexpr uint32_t Pressed = 1u << 0;  // the finger is on it
inline constexpr uint32_t Disabled = 1u << 1;
inline constexpr uint32_t Checked = 1u << 2;
}  // namespace ItemState
struct DrawItemInfo {
  Hwnd control = kNoWindow;
  int controlId = 0;
  Canvas* canvas = nullptr;  // origin at the button's top-left, clipped to it
  Rect rect;                 // 0, 0, width, height
  uint32_t state = 0;        // ItemState bits
};
inline DrawItemInfo& DrawItemFrom(LParam l) { return *reinterpret_cast<DrawItemInfo*>(l); }

// Buttons, check boxes, radios.
void SetButtonCheck(Hwnd h, bool checked);
bool GetButtonCheck(Hwnd h);
// Pressed: a finger went down on the button and is still on it.
bool IsButtonHeld(Hwnd h);

// Scroll bars. The bar does not move by itself: like a Win32 one it tells its parent the
// code and the parent sets the new position. The position is always clamped to
// min .. max - page + 1 (max when page is 0), and never below min.
enum class ScrollCode : uint16_t {
  LineUp = 0,  // also line left
  LineDown = 1,
  PageUp = 2,
  PageDown = 3,
  ThumbPosition = 4,  // the thumb was released at the position given
  ThumbTrack = 5,     // the thumb is being dragged to the position given
  Top = 6,
  Bottom = 7,
  EndScroll = 8,
};
constexpr WParam ScrollParam(ScrollCode code, int position) {
  return static_cast<WParam>(static_cast<uint16_t>(code)) |
         (static_cast<WParam>(static_cast<uint16_t>(position)) << 16);
}
constexpr ScrollCode ScrollCodeFrom(WParam w) { return static_cast<ScrollCode>(w & 0xFFFF); }
constexpr int ScrollPositionFrom(WParam w) { return static_cast<int16_t>((w >> 16) & 0xFFFF); }

struct ScrollInfo {
  int min = 0;
  int max = 100;
  int page = 0;
  int pos = 0;
};
// Sets range, page and position (clamped); returns the clamped position.
int SetScrollInfo(Hwnd bar, const ScrollInfo& info);
ScrollInfo GetScrollInfo(Hwnd bar);
int SetScrollPos(Hwnd bar, int pos);  // returns the clamped position
int GetScrollPos(Hwnd bar);
// The highest position the bar allows.
int ScrollMaxPos(const ScrollInfo& info);

// Progress bar.
void SetProgressRange(Hwnd bar, int min, int max);
void SetProgressPos(Hwnd bar, int pos);
int GetProgressPos(Hwnd bar);

// List box and list view rows live in fixed stores; a full store refuses rows (-1). An
// owner-data list view (below) has no such limit.
inline constexpr int kMaxListControls = 6;
inline constexpr int kMaxListRows = 1024;
inline constexpr int kMaxListColumns = 5;
inline constexpr int kMaxCellText = 104;  // code units, terminator included

// List box: one column of rows in the order added.
int ListBoxAddString(Hwnd box, TextRef text);  // index of the row, -1 when full
void ListBoxResetContent(Hwnd box);

// Report list view.
bool ListViewInsertColumn(Hwnd view, int column, TextRef title, int width);
bool ListViewSetColumnWidth(Hwnd view, int column, int width);
// Inserts a row before `index` (0 puts it at the top) with the first column's text; returns
// the row's index, -1 when the store is full.
int ListViewInsertItem(Hwnd view, int index, TextRef text);
bool ListViewSetItemText(Hwnd view, int row, int column, TextRef text);
void ListViewDeleteAllItems(Hwnd view);

// Owner-data list views (style OwnerData) hold only a row count, the top row and the
// selection, so a list may be as long as its owner's store. The parent keeps the rows: when
// other rows come into view (scrolling, a new count, a selection moved into view) the list
// sends it ListCacheHint with the rows about to be shown, outside painting, so it can read
// them in one go; while painting, and for ListItemText, it sends GetListText for each cell and
// the parent copies the cell's text into the buffer (left empty when it has none). Rows cannot
// be inserted or set in such a list.
struct ListTextRequest {
  Hwnd control = kNoWindow;
  int controlId = 0;
  int row = 0;
  int column = 0;
  char16_t* text = nullptr;  // empty on entry
  int units = 0;             // terminator included
};
inline ListTextRequest& ListTextRequestFrom(LParam l) { return *reinterpret_cast<ListTextRequest*>(l); }
struct ListRowRange {
  Hwnd control = kNoWindow;
  int controlId = 0;
  int first = 0;  // the top row shown
  int last = 0;   // the bottom row shown, count - 1 at most
};
inline const ListRowRange& ListRowRangeFrom(LParam l) { return *reinterpret_cast<const ListRowRange*>(l); }
// Sets the number of rows of an owner-data list view; the selection is dropped when it falls
// outside and the top row moves up when the end would leave the list. False for other lists.
bool ListViewSetItemCount(Hwnd view, int count);

// Rows of both kinds.
int ListItemCount(Hwnd list);
// "" when absent; an owner-data list asks its parent, into a buffer the next call reuses.
const char16_t* ListItemText(Hwnd list, int row, int column = 0);
int ListGetSelection(Hwnd list);  // -1 when none
bool ListSetSelection(Hwnd list, int row);  // -1 clears; scrolls the row into view
int ListTopRow(Hwnd list);
void ListSetTopRow(Hwnd list, int row);
int ListVisibleRows(Hwnd list);

// Look of the panel's controls, shared by message boxes and the dialogs that draw their own.
inline constexpr Color kFaceColor = Rgb(224, 224, 224);
inline constexpr Color kFrameColor = Rgb(0, 0, 0);
inline constexpr Color kPressedFaceColor = Rgb(48, 48, 48);
inline constexpr Color kTextColor = Rgb(0, 0, 0);
inline constexpr Color kDisabledTextColor = Rgb(128, 128, 128);
inline constexpr Color kSelectionColor = Rgb(0, 0, 128);
inline constexpr Color kCaptionColor = Rgb(0, 0, 128);
inline constexpr Color kCaptionTextColor = Rgb(255, 255, 255);
// A flat button face with its text, as push buttons draw it (for owner-drawn fallbacks).
void DrawButtonFace(Canvas& canvas, const Rect& r, TextRef text, bool pressed, bool enabled);

}  // namespace plat
