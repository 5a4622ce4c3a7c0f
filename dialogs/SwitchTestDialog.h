#pragma once
// Dialog 203 "Check Switch Wiring": one box per switch input of the control panel, grouped by
// connector, with the metering roll encoder, the three-position dipswitch and the dryer type
// switch; the boxes follow the status record while the dialog is open.
#include "link/RegisterMap.h"
#include "platform/Window.h"

namespace dialogs {

inline constexpr int kSwitchTestDialogId = 203;

enum SwitchTestControl : int {
  kSwitchTestExit = 1043,
  kSwitchInputFirst = 1201,  // + 8 x (input byte - 179) + bit
  kDryerTypeFirst = 1241,    // + bit of byte 225
  kSwitchGroupFirst = 1251,  // J3, J4, J5, J6, MR ENCODER, 3 POS DIPSWITCH, DRYER TYPE SW
};

constexpr int SwitchInputControl(int statusByte, int bit) {
  return kSwitchInputFirst + 8 * (statusByte - lnk::kStatusSwitchInputs) + bit;
}

void OpenSwitchTestDialog(plat::Hwnd parent);

}  // namespace dialogs
