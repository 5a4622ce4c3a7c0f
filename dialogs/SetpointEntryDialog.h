#pragma once
// Dialog 101 "Modifying Temperature Setpoint - 22": one keypad over the shared
// SetpointEntryRequest; the value is typed in the unit shown and sent in degrees F.
#include "dialogs/KeypadLogic.h"
#include "dialogs/TimerEntryDialog.h"
#include "platform/Window.h"

namespace dialogs {

inline constexpr int kSetpointEntryDialogId = 101;

enum SetpointEntryControl : int {
  kSetpointDelete = 1006,
  kSetpointClear = 1015,
  kSetpointDefault = 1014,
  kSetpointAccept = 1013,
  kSetpointCancel = 1001,
};
inline constexpr int kSetpointDigits[10] = {1002, 1003, 1007, 1008, 1004,
                                            1009, 1011, 1005, 1010, 1012};

// Runs dialog 101 modally over `parent`; returns an EntryDialogResult.
int OpenSetpointEntryDialog(plat::Hwnd parent, SetpointEntryRequest& req);

}  // namespace dialogs
