#pragma once
// Dialog 252: the metering roll output voltage setup. The drive takes 0.0 V (stopped) to
// 10.0 V (full speed); the HIGH, MEDIUM and LOW speed settings are set here as the voltage each
// puts out, 0.1 V a step, and sent on ACCEPT. The output in use is shown live.
#include "platform/Window.h"

namespace dialogs {

inline constexpr int kMeterRollVoltageDialogId = 252;

enum MeterRollVoltageControl : int {
  kVoltageAccept = 1043,
  kVoltageCancel = 1044,
  kVoltageDecrease = 1046,
  kVoltageIncrease = 1047,
  kVoltageHelp = 1050,
  kVoltageHighRadio = 1061,  // HIGH, MEDIUM, LOW: the speed the arrows change
  kVoltageMediumRadio = 1062,
  kVoltageLowRadio = 1063,
  kVoltageHighValue = 1064,  // the voltage of each, "%d.%d V"
  kVoltageMediumValue = 1065,
  kVoltageLowValue = 1066,
  kVoltageOutputNow = 1067,
};
// Watched, in this order, by the tenth-second tick's held-button repeat.
inline constexpr int kMeterRollVoltageRepeatButtons[2] = {kVoltageIncrease, kVoltageDecrease};

// A speed setting in percent is the output in tenths of a volt: 100 % is 10.0 V.
inline constexpr int kVoltageMaximumTenths = 100;

// Runs the dialog modally; returns kVoltageAccept or kVoltageCancel (or -1).
int OpenMeterRollVoltageDialog(plat::Hwnd parent);

}  // namespace dialogs
