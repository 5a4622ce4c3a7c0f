#pragma once
// Dialog 206 "WATCHDOG SETUP - 42": the controller's watch on this panel (0:246), on or off,
// and how long it may hear nothing from the panel before it stops the dryer.
#include "platform/Window.h"

namespace dialogs {

inline constexpr int kWatchdogDialogId = 206;

enum WatchdogControl : int {
  kWatchdogGroup = 1801,
  kWatchdogOnRadio = 1802,
  kWatchdogOffRadio = 1803,
  kWatchdogTimeGroup = 1804,
  kWatchdogTimeField = 1805,
  kWatchdogIncrease = 1806,
  kWatchdogDecrease = 1807,
  kWatchdogHelp = 1808,
  kWatchdogAccept = 1809,
  kWatchdogCancel = 1810,
};

// Runs the dialog modally over `parent`; ACCEPT sends the setting when it changed.
void OpenWatchdogDialog(plat::Hwnd parent);

}  // namespace dialogs
