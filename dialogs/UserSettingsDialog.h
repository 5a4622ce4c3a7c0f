#pragma once
// Dialog 479 "USER SETTINGS - 43": the display options the controller keeps for the operator
// (1:10): temperatures in degrees F or C, and the status chart or the graphs on the main screen.
#include "platform/Window.h"

namespace dialogs {

inline constexpr int kUserSettingsDialogId = 479;

enum UserSettingsControl : int {
  kUserUnitsGroup = 1901,
  kUserFahrenheitRadio = 1902,
  kUserCelsiusRadio = 1903,
  kUserViewGroup = 1904,
  kUserChartRadio = 1905,
  kUserGraphRadio = 1906,
  kUserHelp = 1907,
  kUserAccept = 1908,
  kUserCancel = 1909,
};

// Runs the dialog modally over `parent`; ACCEPT sends the options when they changed.
void OpenUserSettingsDialog(plat::Hwnd parent);

}  // namespace dialogs
