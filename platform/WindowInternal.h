#pragma once
// Shared by the window system's own sources (windows, controls, dialogs, backends, script);
// not for the rest of the program.
#include <cstdint>

#include "platform/Backend.h"
#include "platform/Window.h"

namespace plat::detail {

int SlotOf(Hwnd h);  // -1 when not a window
Hwnd CapturedWindow();
void ReleaseCapture();
// Children in z-order, bottom first (creation order unless raised); kNoWindow at the end.
Hwnd FirstChild(Hwnd parent);
Hwnd NextSibling(Hwnd h);
// The topmost visible window under a screen point within `top` (itself when no child is
// there), enabled or not, skipping windows that let touches through.
Hwnd VisibleWindowAt(Hwnd top, int x, int y);
// The background colour of the window's class (black when not a window).
Color ClassBackground(Hwnd h);
// Makes a top-level window owned by another's top-level window: it stays above it.
void SetOwner(Hwnd window, Hwnd owner);
// A failed VERIFY naming `call` when the paint checks are on and a window is painting.
void VerifyNotPainting(const char* call);
// A modal dialog opened from a paint runs its own loop with its own paints; for the paint
// checks it lies outside the paint that opened it. Leave returns what Resume takes.
bool LeavePainting();
void ResumePainting(bool painting);
// Records a text drawn on `canvas` while a window paints (text capture).
void RecordText(const Canvas& canvas, const Rect& logicalRect, const char16_t* wide,
                const char* narrow, size_t length, Color color);

// What the loop does next.
enum class NextResult : uint8_t { Message, Quit, Idle };
NextResult NextMessage(Message& out, bool wait);
// Paints every dirty window and presents the screen; false when nothing was dirty.
bool PaintDirty();
// The earliest timer or script deadline, UINT64_MAX when none.
uint64_t NextDeadlineMs();
bool QuitPending();
// Waits on the active display for input or a wake, at most timeoutMs.
void WaitForWork(int timeoutMs);
// Posts the quit message again (a nested loop hands it on to the outer loop).
void RepostQuit(int code);

// Controls register their classes when the display opens and clear their stores when it
// closes.
void RegisterControlClasses();
void ResetControls();
void ResetDialogs();

// A display backend. Wait returns after timeoutMs (-1: no limit), after Wake from any thread,
// or after input arrived (which it posts with PostTouch / PostMessage).
struct BackendOps {
  DisplayResult (*open)(const DisplayOptions& options);
  void (*close)();
  void (*present)(const PixelView& screen, const Rect& dirty);
  void (*wait)(int timeoutMs);
  void (*wake)();
  void (*raise)();
};
const BackendOps& SdlBackend();
const BackendOps& HeadlessBackend();
// Whether a display server is named in the environment.
bool DisplayAvailable();

}  // namespace plat::detail
