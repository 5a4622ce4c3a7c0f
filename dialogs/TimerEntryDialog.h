#pragma once
// Dialog 165 "MODIFYING TIMER SETPOINT - 21": two keypads, minutes on the left and seconds on
// the right, over the shared TimerEntryRequest that the opener has filled.
#include "dialogs/KeypadLogic.h"
#include "platform/Window.h"

namespace dialogs {

inline constexpr int kTimerEntryDialogId = 165;

enum TimerEntryControl : int {
  kTimerMinutesDelete = 1073,
  kTimerSecondsDelete = 1084,
  kTimerDefault = 1066,
  kTimerAccept = 1090,
  kTimerCancel = 1089,
};
inline constexpr int kTimerMinutesDigits[10] = {1046, 1068, 1071, 1072, 1069,
                                                1074, 1076, 1070, 1075, 1077};
inline constexpr int kTimerSecondsDigits[10] = {1078, 1079, 1082, 1083, 1080,
                                                1085, 1087, 1081, 1086, 1088};

// How an entry dialog ended.
enum EntryDialogResult : int {
  kEntryAccepted = 1,   // the value was written and its row raised
  kEntryCancelled = 2,  // CANCEL, or the dialog could not be shown
  kEntryRefused = 3,    // out of range: the warning was shown and nothing was written
};

// Runs dialog 165 modally over `parent`.
int OpenTimerEntryDialog(plat::Hwnd parent, TimerEntryRequest& req);

}  // namespace dialogs
