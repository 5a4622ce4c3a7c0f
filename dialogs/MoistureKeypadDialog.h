#pragma once
// Dialog 224, the moisture keypad: types a moisture setpoint in tenths of a percent into field
// 1146 of the moisture setpoint window that opened it. No range check and no CANCEL: the host's
// EXIT leaves without a change when no key was typed.
#include "dialogs/KeypadLogic.h"
#include "platform/Window.h"

namespace dialogs {

inline constexpr int kMoistureKeypadDialogId = 224;
inline constexpr int kMoistureValueField = 1146;  // the host window's edit field

enum MoistureKeypadControl : int {
  kMoistureDelete = 1167,
  kMoistureAccept = 1168,
};
inline constexpr int kMoistureDigits[10] = {1166, 1163, 1164, 1165, 1160,
                                            1161, 1162, 1157, 1158, 1159};

// Runs dialog 224 over `host`. Returns true when ACCEPT stored a typed value (its row raised).
bool OpenMoistureKeypadDialog(plat::Hwnd host, MoistureSetpoint target);

}  // namespace dialogs
