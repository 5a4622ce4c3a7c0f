#pragma once
// The display behind the window system: SDL2 on a desktop or panel, or headless (no display,
// everything drawn off screen). Headless is used when asked for and when no display is named
// (no DISPLAY or WAYLAND_DISPLAY); a named display that does not answer is reported on standard
// error and the panel runs headless, unless full screen was asked for, which a panel without a
// screen cannot give: then, as for a magnification that does not fit, nothing is opened.
#include <cstddef>
#include <cstdint>

#include "platform/Window.h"

namespace plat {

class Bitmap;

enum class DisplayKind : uint8_t { None, Sdl, Headless };

enum class DisplayResult : uint8_t {
  Ok,
  NoDisplay,      // none named in the environment
  Unreachable,    // the named display does not answer
  ScaleTooLarge,  // the magnified window does not fit on the screen
  WindowFailed,   // the display answers but gives no window
};
const char* DisplayResultText(DisplayResult r);

// Exit status of a process whose display went away under it.
inline constexpr int kExitDisplayLost = 4;

struct DisplayOptions {
  bool headless = false;
  int scale = 1;  // window magnification on a desktop
  bool fullscreen = false;
  const char* title = "Dryer panel";
};

// Starts the window system on a display. Returns the kind started, or None when the display
// asked for cannot be given (full screen without a display, a magnification that does not fit);
// `result` says why the display is not the one asked for.
DisplayKind OpenDisplay(const DisplayOptions& options, DisplayResult* result = nullptr);
// Destroys every window, timer, class and queued message, and closes the display, so a
// test can start again from nothing.
void CloseDisplay();
DisplayKind ActiveDisplay();
// Frames composed and handed to the display since it opened; the first one means the panel is
// on screen.
uint64_t FramesShown();
// The main window gets Close when the display's close box is used.
void SetMainWindow(Hwnd h);
Hwnd MainWindow();

// The composed screen as last shown (640 x 480).
PixelView ScreenPixels();
// Composes what is dirty and writes the screen as a PNG at a host path.
bool ScreenshotPng(const char* hostPath);

// Test driving. Touches are queued as input, as a finger's would be: a touch while the finger
// is down is a move.
void HeadlessInjectTouch(int x, int y, bool down);
// Dispatches everything that is due now (posted messages, input, paints, timers and script
// steps already due) without moving the clock. Returns the number of messages dispatched.
int PumpUntilIdle();
// Advances the virtual clock by `ms` in steps to each deadline that falls inside, dispatching
// what is due at each step, and paints at the end. A modal dialog opened on the way runs its
// own loop, which moves the clock on by itself until something (a script step) ends it.
void RunFor(uint64_t ms);

// Text capture: while on, every text drawn by a window's paint is recorded with the window
// that drew it, its rectangle in screen coordinates and its colour.
inline constexpr int kMaxCapturedTexts = 2048;
struct CapturedText {
  Hwnd window = kNoWindow;
  Rect rect;
  Color color;
  char16_t text[kMaxWindowText] = {};
};
void StartTextCapture();
void StopTextCapture();
void ClearCapturedText();
int CapturedTextCount();
const CapturedText* CapturedTextAt(int index);
// The last captured text containing `needle` (Latin-1), drawn by `window` or any of its
// descendants (kNoWindow: any window); null when none.
const CapturedText* FindCapturedText(const char* needle, Hwnd window = kNoWindow);

// Paint handlers only paint. While these checks are on, setting a caption, showing, hiding or
// enabling a window, checking a button or opening a file from inside a paint (or from a
// DrawItem, list text or erase message a paint sends) is a failed VERIFY. They start on in
// builds configured with DRYER_PAINT_CHECKS. Returns the previous setting.
bool SetPaintChecks(bool on);

}  // namespace plat
