#pragma once
// The display behind the window system: SDL2 on a desktop or panel, or headless (no display,
// everything drawn off screen). Headless is used when asked for, and whenever no display is
// available (no DISPLAY or WAYLAND_DISPLAY, or SDL's video start fails).
#include <cstddef>
#include <cstdint>

#include "platform/Window.h"

namespace plat {

class Bitmap;

enum class DisplayKind : uint8_t { None, Sdl, Headless };

struct DisplayOptions {
  bool headless = false;
  int scale = 1;  // window magnification on a desktop
  bool fullscreen = false;
  const char* title = "Dryer panel";
};

// Starts the window system on a display. Returns the kind started (never None).
DisplayKind OpenDisplay(const DisplayOptions& options);
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

}  // namespace plat
