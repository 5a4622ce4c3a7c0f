#pragma once
// Dialog 612, the auto-start status, and dialog 617, the confirmation that starts or cancels
// auto-start. Dialogs cannot reach the main window, so the caller passes how the main screens
// are brought back.
#include "platform/Window.h"

namespace dialogs {

inline constexpr int kAutoStartStatusDialogId = 612;
inline constexpr int kAutoStartConfirmDialogId = 617;

enum AutoStartControl : int {
  kAutoStartCancel = 1360,
  kAutoStartMinimize = 1361,
  kAutoStartQuestion = 1362,
  kAutoStartYes = 1363,
  kAutoStartNo = 1364,
  kAutoStartCancelConfirm = 1365,
};

// The confirmation's question while auto-start runs, and while it does not.
inline constexpr int kStringAskCancelAutoStart = 510;
inline constexpr int kStringAskStartAutoStart = 511;

using ShowMainScreens = void (*)();

int OpenAutoStartStatusDialog(plat::Hwnd parent, ShowMainScreens showMainScreens);
int OpenAutoStartConfirmDialog(plat::Hwnd parent, ShowMainScreens showMainScreens);

}  // namespace dialogs
