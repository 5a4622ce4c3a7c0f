#pragma once
// Dialog 223: the moisture sensor calibration, in which the operator trims the wet and dry
// sensors' moisture and temperature readings with offsets while watching the live readings.

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
};

// The step buttons, which repeat while held.
inline constexpr int kMoistureCalibrationRepeatButtons[8] = {
    kCalibrationWetMoistureUp,    kCalibrationWetMoistureDown,    kCalibrationDryMoistureUp,
    kCalibrationDryMoistureDown,  kCalibrationWetTemperatureUp,   kCalibrationWetTemperatureDown,
    kCalibrationDryTemperatureUp, kCalibrationDryTemperatureDown,
};

}  // namespace dialogs
