#pragma once
// Dialog 223: the moisture sensor calibration, in which the operator trims the wet and dry
// sensors' moisture and temperature readings with offsets while watching the live readings.

#include "platform/Window.h"

namespace dialogs {

inline constexpr int kMoistureCalibrationDialogId = 223;

enum MoistureCalibrationControl : int {
  kCalibrationWetMoistureUp = 1149,
  kCalibrationWetMoistureDown = 1150,
  kCalibrationDryMoistureUp = 1045,
  kCalibrationDryMoistureDown = 1046,
  kCalibrationWetTemperatureUp = 1154,
  kCalibrationWetTemperatureDown = 1155,
  kCalibrationDryTemperatureUp = 1047,
  kCalibrationDryTemperatureDown = 1048,
  kCalibrationWetMoistureField = 1146,
  kCalibrationAccept = 1147,
  kCalibrationDryMoistureField = 1148,
  kCalibrationHelp = 1151,
  kCalibrationDryTemperatureField = 1153,
  kCalibrationWetTemperatureField = 1156,
};

// Each offset is a signed count of tenths (of a percent, or of a degree F) and stays within
// plus or minus ten whole units.
inline constexpr int kCalibrationOffsetLimit = 100;

// One calibration step: +1 below the limit on up, -1 above minus the limit on down.
int StepCalibrationOffset(int offset, bool up);
// The "%3.1f" text of an offset in tenths, e.g. -5 as "-0.5".
void FormatCalibrationOffset(int offset, char* out, int size);

// The step buttons, which repeat while held.
inline constexpr int kMoistureCalibrationRepeatButtons[8] = {
    kCalibrationWetMoistureUp,    kCalibrationWetMoistureDown,    kCalibrationDryMoistureUp,
    kCalibrationDryMoistureDown,  kCalibrationWetTemperatureUp,   kCalibrationWetTemperatureDown,
    kCalibrationDryTemperatureUp, kCalibrationDryTemperatureDown,
};

// Runs dialog 223 modally over `parent`; it closes only through ACCEPT.
void OpenMoistureCalibrationDialog(plat::Hwnd parent);

}  // namespace dialogs
