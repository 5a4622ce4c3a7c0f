#pragma once
// Dialog 169 "Shutdown Help File - 34": the picture and the help text of a warning. Opened by
// the warning window's help button and by the shutdown-history screen; the tenth-second tick
// closes it when the warning clears and animates the rear-discharge picture.
#include "platform/Window.h"

namespace dialogs {

inline constexpr int kWarningHelpDialogId = 169;
enum WarningHelpControl : int {
  kWarningHelpClose = 1224,
  kWarningHelpText = 1225,
};
// The picture region the tick repaints while the rear-discharge animation runs.
inline constexpr plat::Rect kHelpAnimationRegion = {150, 20, 400, 150};

// Runs the dialog modally for the warning (node, code).
int OpenWarningHelpDialog(plat::Hwnd parent, int node, int code);

// The tenth-second tick's part: the frame of the rear-discharge animation (0..6) ...
int HelpAnimationFrame();
// ... advanced by one, with the picture region repainted, when the dialog is open.
void StepHelpAnimation();
// Sends CLOSE to the dialog when it is open.
void CloseWarningHelpDialog();

}  // namespace dialogs
