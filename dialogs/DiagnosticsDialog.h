#pragma once
// Dialog 168 "SYSTEM DIAGNOSTICS": the doors to the light output and switch tests, the air
// switch testing of the fan/heaters, the metering roll service functions and the moisture
// sensor calibration; and the three confirmations it asks (606, 607, 608).
#include "platform/Window.h"

namespace dialogs {

inline constexpr int kDiagnosticsDialogId = 168;
inline constexpr int kConfirmMrScreenDialogId = 606;
inline constexpr int kConfirmMrSensorDialogId = 607;
inline constexpr int kConfirmAirSwitchDialogId = 608;

enum DiagnosticsControl : int {
  kDiagExit = 1043,
  kDiagMeterRollVoltage = 1044,
  kDiagAirSwitchTesting = 1045,
  kDiagMrSpeedViaScreen = 1046,
  kDiagAirSwitchDisabledRadio = 1047,
  kDiagLightOutputs = 1048,
  kDiagSwitchWiring = 1049,
  kDiagHelp = 1050,
  kDiagMrSensorShutdown = 1052,
  kDiagGroupIo = 1053,
  kDiagGroupAirSwitch = 1054,
  kDiagGroupMeterRolls = 1055,
  kDiagCalibrateMoisture = 1138,
};

// The confirmations' question and note; their buttons answer plat::IdYes, plat::IdNo and
// plat::IdCancel. Yes does what the question asks; No and CANCEL leave everything as it is.
enum ConfirmControl : int {
  kConfirmQuestion = 1301,
  kConfirmNote = 1302,
};

// Runs the dialog modally over `parent`.
void OpenDiagnosticsDialog(plat::Hwnd parent);

// Set while the diagnostics dialog is on screen.
bool DiagnosticsOpen();

}  // namespace dialogs
