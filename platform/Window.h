#pragma once
// The window system: window classes with one procedure each, windows in fixed tables, one
// message queue for the UI thread, timers, invalidation and off-screen painting.
//
// Windows are addressed by handles, small integers into a fixed table that also carry a
// generation, so a handle kept after its window was destroyed is simply not a window any
// more. Every call belongs to the UI thread except PostMessage, PostQuitMessage and
// InvalidateRect, which any thread may call (the link thread posts redraws and rules).
//
// Painting: each top-level window (the main window, a dialog, a message box) has a backbuffer
// of the screen's size. Dirty windows are painted into it in z-order, each over its dirty part
// and over whatever a window below it has just painted, and the composed screen is then copied
// to the display in one step. A paint may open a modal dialog (a question about a missing
// picture): the dialog's loop paints and shows the screen, and the first paint then goes on.
#include <cstddef>
#include <cstdint>

#include "platform/Canvas.h"

namespace plat {

inline constexpr int kScreenWidth = 640;
inline constexpr int kScreenHeight = 480;
inline constexpr int kCaptionHeight = 24;

inline constexpr int kMaxWindows = 512;
inline constexpr int kMaxWindowClasses = 64;
inline constexpr int kMaxTimers = 64;
inline constexpr int kMaxPostedMessages = 1024;
inline constexpr int kMaxWindowText = 128;  // code units, terminator included
inline constexpr int kMaxClassName = 48;

// Slot in the low 16 bits, generation (never 0) in the high 16 bits; Hwnd{} is no window.
enum class Hwnd : uint32_t {};
inline constexpr Hwnd kNoWindow{};

using WParam = uintptr_t;
using LParam = intptr_t;
using LResult = intptr_t;

enum class Msg : uint16_t {
  Null = 0,
  Create,           // lParam: the createParam of WindowDesc
  Destroy,          // the window is still valid while it handles this
  Close,            // a request to close (the display's close box); default destroys
  Quit,             // never dispatched: GetMessage returns false
  EraseBackground,  // lParam: PaintContext*; return nonzero when erased
  Paint,            // lParam: PaintContext*
  Command,          // wParam: CommandParam(id, notify); lParam: the control's Hwnd, or 0
  Timer,            // wParam: timer id
  DrawItem,         // wParam: control id; lParam: DrawItemInfo*
  InitDialog,       // lParam: the param given to DialogBox
  VScroll,          // wParam: ScrollParam(code, position); lParam: the scroll bar's Hwnd
  HScroll,
  TouchDown,        // lParam: PointParam(x, y) in client coordinates
  TouchMove,
  TouchUp,
  Show,             // wParam: 1 shown, 0 hidden
  Automation,       // a script step, dispatched with no window
  GetListText,      // wParam: control id; lParam: ListTextRequest* (owner-data list views)
  ListCacheHint,    // wParam: control id; lParam: ListRowRange* (owner-data list views)
  User = 0x400,     // application messages: UserMessage(n)
};
constexpr Msg UserMessage(int n) {
  return static_cast<Msg>(static_cast<uint16_t>(Msg::User) + n);
}

struct Message {
  Hwnd window = kNoWindow;
  Msg msg = Msg::Null;
  WParam wParam = 0;
  LParam lParam = 0;
};

using WindowProc = LResult (*)(Hwnd window, Msg msg, WParam wParam, LParam lParam);

// Notifications carried with Command.
enum class Notify : uint16_t {
  Clicked = 0,      // buttons (on release inside), check boxes, radios
  SelChange = 1,    // list box, list view: the selection moved
  DoubleClick = 2,  // list box, list view: a second touch on the selected row
};

constexpr WParam CommandParam(int id, Notify n) {
  return static_cast<WParam>(static_cast<uint16_t>(id)) |
         (static_cast<WParam>(static_cast<uint16_t>(n)) << 16);
}
constexpr int CommandId(WParam w) { return static_cast<int>(w & 0xFFFF); }
constexpr Notify CommandNotify(WParam w) { return static_cast<Notify>((w >> 16) & 0xFFFF); }

constexpr LParam PointParam(int x, int y) {
  return static_cast<LParam>(static_cast<uint32_t>(static_cast<uint16_t>(x)) |
                             (static_cast<uint32_t>(static_cast<uint16_t>(y)) << 16));
}
constexpr Point PointFrom(LParam l) {
  return Point{static_cast<int16_t>(l & 0xFFFF), static_cast<int16_t>((l >> 16) & 0xFFFF)};
}

// A narrow (Latin-1) or UTF-16 text, so one call takes either kind.
struct TextRef {
  const char* narrow = nullptr;
  const char16_t* wide = nullptr;
  constexpr TextRef() = default;
  constexpr TextRef(const char* s) : narrow(s) {}
  constexpr TextRef(const char16_t* s) : wide(s) {}
  bool Empty() const { return (narrow == nullptr || *narrow == 0) && (wide == nullptr || *wide == 0); }
};
// Copies a text into UTF-16, always terminated; returns the units copied.
size_t CopyText(char16_t* out, size_t size, TextRef text);

struct WindowClass {
  const char* name = nullptr;
  WindowProc proc = nullptr;
  Color background = Rgb(0, 0, 0);
  bool eraseBackground = true;  // false: the procedure paints every pixel itself
};
// False when the table is full or the name is empty; registering a name again replaces it.
bool RegisterClass(const WindowClass& wc);

using WindowFlags = uint32_t;
namespace WindowFlag {
inline constexpr WindowFlags Visible = 1u << 0;
inline constexpr WindowFlags Caption = 1u << 1;   // the title in a bar; the client area shrinks
inline constexpr WindowFlags Topmost = 1u << 2;   // above its non-topmost siblings
inline constexpr WindowFlags Disabled = 1u << 3;  // receives no touches
inline constexpr WindowFlags Border = 1u << 4;    // a one-pixel frame inside the rectangle
inline constexpr WindowFlags Transparent = 1u << 5;  // touches pass through (labels, frames)
}  // namespace WindowFlag

// Plain pointers and numbers only, so designated initialisers may leave any of them out.
struct WindowDesc {
  const char* className = nullptr;
  const char* title = nullptr;         // Latin-1
  const char16_t* wideTitle = nullptr;  // UTF-16, used instead when set
  Hwnd parent = kNoWindow;  // kNoWindow: a top-level window in screen coordinates
  Rect rect;                // in the parent's client coordinates
  WindowFlags flags = 0;
  int id = 0;               // control id, for GetDlgItem and commands
  LParam createParam = 0;
};

// Sends Create before returning; kNoWindow when the class is unknown, the table is full or
// the procedure returns -1 from Create (the window is then destroyed).
Hwnd CreateWindow(const WindowDesc& desc);
// Sends Destroy to the window, then destroys its children; the handle is dead afterwards.
void DestroyWindow(Hwnd h);
bool IsWindow(Hwnd h);

// Returns whether the window was visible before. Hiding repaints what lay beneath.
bool ShowWindow(Hwnd h, bool visible);
void MoveWindow(Hwnd h, const Rect& rectInParent);
// Returns whether the window was enabled before.
bool EnableWindow(Hwnd h, bool enabled);
// Raises the window above its siblings (within the topmost rule).
void BringWindowToTop(Hwnd h);
void SetForegroundWindow(Hwnd h);

// Visible: the window and all its ancestors are shown.
bool IsWindowVisible(Hwnd h);
bool IsWindowEnabled(Hwnd h);
Hwnd GetParent(Hwnd h);
// The top-level window a window belongs to.
Hwnd GetTopLevel(Hwnd h);
int GetDlgCtrlID(Hwnd h);
// A direct child with that control id.
Hwnd GetDlgItem(Hwnd parent, int id);
// First window, in creation order, of that class (and that title when given).
Hwnd FindWindow(const char* className, const char* title = nullptr);
// Class name of a window, "" when not a window.
const char* GetClassName(Hwnd h);

Rect GetWindowRect(Hwnd h);  // screen coordinates
Rect GetChildRect(Hwnd h);   // in the parent's client coordinates (what MoveWindow takes)
Rect GetClientRect(Hwnd h);  // 0, 0, width, height of the client area
Point ClientToScreen(Hwnd h, Point p);

void SetWindowText(Hwnd h, TextRef text);
const char16_t* GetWindowText(Hwnd h);  // "" when not a window
void SetWindowData(Hwnd h, void* data);
void* GetWindowData(Hwnd h);

// Messages. SendMessage calls the procedure now (UI thread); PostMessage queues it in a fixed
// ring and returns false when the ring is full. A posted message whose window is gone by the
// time it is taken is dropped.
LResult SendMessage(Hwnd h, Msg msg, WParam wParam = 0, LParam lParam = 0);
bool PostMessage(Hwnd h, Msg msg, WParam wParam = 0, LParam lParam = 0);
void PostQuitMessage(int exitCode);
// Waits until a message is due: posted messages and input first, then, after painting what
// is dirty, timers and script steps in the order they fall due. Sleeps in between; under
// the virtual clock it advances the clock to the next deadline instead of sleeping. False
// for the quit message, whose code ExitCode() then returns.
bool GetMessage(Message& out);
// As GetMessage without waiting and without advancing the clock; false when nothing is due.
bool PeekMessage(Message& out);
void DispatchMessage(const Message& m);
int ExitCode();
LResult DefWindowProc(Hwnd h, Msg msg, WParam wParam, LParam lParam);
inline LResult SendCommand(Hwnd h, int id, Notify n = Notify::Clicked) {
  return SendMessage(h, Msg::Command, CommandParam(id, n), 0);
}

// Timers: the first tick comes one period after SetTimer, each next one a period after the
// previous due time, so a late tick does not push the later ones back; periods missed while
// the loop was blocked are skipped, not delivered in a burst. Setting an existing window and
// id again restarts it. False when the table is full or the window is not a window.
bool SetTimer(Hwnd h, uint32_t id, uint32_t periodMs);
bool KillTimer(Hwnd h, uint32_t id);

// Painting.
struct PaintContext {
  Canvas* canvas = nullptr;  // origin at the client area's top-left, clipped to `dirty`
  Rect dirty;                // client coordinates
  bool erase = false;        // the background is to be (or was) erased
};
inline PaintContext& PaintFrom(LParam l) { return *reinterpret_cast<PaintContext*>(l); }

// Any thread. Null: the whole client area. Invalidations are merged until the next paint.
void InvalidateRect(Hwnd h, const Rect* clientRect, bool erase);
// Paints the window now when it is dirty, and shows the result.
void UpdateWindow(Hwnd h);

// Touch routing, used by the backends and by tests: screen coordinates. A touch goes to the
// topmost visible, enabled window under it within the topmost top-level window that is
// enabled; from TouchDown to TouchUp it stays with the window that took the TouchDown.
enum class TouchPhase : uint8_t { Down, Move, Up };
bool PostTouch(TouchPhase phase, int x, int y);
// The window a touch at (x, y) would go to, kNoWindow if none.
Hwnd WindowFromPoint(int x, int y);
// A click on a control: TouchDown and TouchUp at its centre, sent directly to it.
bool ClickWindow(Hwnd h);

// The top-level window that takes input now (the innermost modal dialog, else the topmost).
Hwnd ActiveTopLevel();

}  // namespace plat
