#pragma once
// Modal dialogs from constant templates. A template is a table of controls; DialogBox creates
// the dialog over its parent, creates the controls, sends InitDialog to the dialog procedure
// and runs a nested message loop until EndDialog. The nested loop dispatches everything the
// main loop would (timers, posted messages, script steps), so the ticks go on while a dialog
// is open; only touches outside the dialog are refused.
#include <cstdint>

#include "platform/Controls.h"
#include "platform/Window.h"

namespace plat {

// Answer ids, also the control ids of the message-box buttons.
enum DialogResult : int {
  IdOk = 1,
  IdCancel = 2,
  IdAbort = 3,
  IdRetry = 4,
  IdIgnore = 5,
  IdYes = 6,
  IdNo = 7,
};

struct DialogControl {
  ControlKind kind = ControlKind::Static;
  int id = 0;
  Rect rect;  // in the dialog's client coordinates
  const char* text = nullptr;
  uint32_t style = 0;  // ControlStyle bits
};

struct DialogTemplate {
  int id = 0;
  const char* caption = nullptr;  // null: no caption bar
  Rect rect;  // the whole dialog, caption included, in the parent's client coordinates (then
              // moved inside the screen)
  const DialogControl* controls = nullptr;
  int count = 0;
};

// Same shape as a window procedure; returns whether it handled the message. Unhandled
// messages get the dialog's default handling (Close ends the dialog with IdCancel).
using DialogProc = bool (*)(Hwnd dialog, Msg msg, WParam wParam, LParam lParam);

inline constexpr int kMaxOpenDialogs = 8;
inline constexpr Color kDialogBackground = Rgb(200, 200, 200);

// Runs the dialog modally. A touch in progress elsewhere when it opens ends there without a
// click (the window gets TouchUp at a point outside itself), as a Win32 capture release does. Returns the id given to EndDialog, or -1 when the dialog could not
// be created, too many are open, or the quit message ended the loop (which is posted again
// for the outer loop).
int DialogBox(Hwnd parent, const DialogTemplate& tmpl, DialogProc proc, LParam param);
// Marks the dialog to end with `result` once the current message has been handled.
bool EndDialog(Hwnd dialog, int result);
// The template id of an open dialog, 0 otherwise.
int DialogTemplateId(Hwnd dialog);
// The innermost open dialog with that template id, kNoWindow if none.
Hwnd FindOpenDialog(int templateId);

// Centres the window over its parent's client area (a dialog's parent is the window it was
// opened over; the screen when it has none), then moves it the least distance that puts it
// wholly on the 640 x 480 screen.
void CenterOverParent(Hwnd window);
// Moves the window to `screenRect` (screen coordinates), shifted wholly onto the screen.
void PlaceOnScreen(Hwnd window, const Rect& screenRect);
// Shifts the window wholly onto the screen where it lies partly outside. DialogBox does this
// after InitDialog, whatever the procedure did with the template's place.
void MoveInsideScreen(Hwnd window);

bool SetDlgItemText(Hwnd dialog, int id, TextRef text);
bool CheckDlgButton(Hwnd dialog, int id, bool checked);
bool IsDlgButtonChecked(Hwnd dialog, int id);
bool EnableDlgItem(Hwnd dialog, int id, bool enabled);
bool ShowDlgItem(Hwnd dialog, int id, bool visible);
// Whether the finger is on that button now (the held-button rules).
bool IsDlgButtonHeld(Hwnd dialog, int id);

}  // namespace plat
