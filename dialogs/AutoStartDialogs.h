#pragma once
// Dialog 612, the auto-start status, dialog 617, the confirmation that starts or cancels
// auto-start, and dialog 614, the control panel switch positions auto-start needs. Dialogs
// cannot reach the main window, so the caller passes how the main screens are brought back.
#include "platform/Window.h"

namespace dialogs {

inline constexpr int kAutoStartStatusDialogId = 612;
inline constexpr int kAutoStartConfirmDialogId = 617;
inline constexpr int kSwitchRequirementsDialogId = 614;

enum AutoStartControl : int {
  kAutoStartCancel = 1360,
  kAutoStartMinimize = 1361,
  kAutoStartQuestion = 1362,
  kAutoStartYes = 1363,
  kAutoStartNo = 1364,
  kAutoStartCancelConfirm = 1365,
  kSwitchRequirementsOk = 1366,
  kSwitchRequirementsFirstLine = 1367,  // one static per line, strings 492..502 in order
};

inline constexpr int kSwitchRequirementsFirstString = 492;
inline constexpr int kSwitchRequirementsLineCount = 11;

// The confirmation's question while auto-start runs, and while it does not.
inline constexpr int kStringAskCancelAutoStart = 510;
inline constexpr int kStringAskStartAutoStart = 511;

using ShowMainScreens = void (*)();

int OpenAutoStartStatusDialog(plat::Hwnd parent, ShowMainScreens showMainScreens);
int OpenAutoStartConfirmDialog(plat::Hwnd parent, ShowMainScreens showMainScreens);
// Runs dialog 614 until its OK.
void OpenSwitchRequirementsDialog(plat::Hwnd parent);

}  // namespace dialogs
