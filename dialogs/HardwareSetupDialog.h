#pragma once
// Dialog 164 "DRYER HARDWARE SETUP - 05 ": what the controller is connected to (fan/heater
// units, modules, fuel, load system, dryer length), grain present, the cycled moisture sampler
// and the door to the moisture sensor selection. On a single-series dryer the length buttons
// name the series' models and the module, load system, roll size and fill groups are hidden.
// ACCEPT / EXIT sends only what was changed.
#include "platform/Window.h"

namespace dialogs {

inline constexpr int kHardwareSetupDialogId = 164;

enum HardwareSetupControl : int {
  kHwFanGroup = 1400,
  kHwFanSelect = 1406,
  kHwModuleGroup = 1410,
  kHwModuleSelect = 1414,
  kHwFuelGroup = 1420,
  kHwFuelSelect = 1425,
  kHwLoadGroup = 1430,
  kHwLoadSelect = 1434,
  kHwLengthGroup = 1440,
  kHwLengthSelect = 1456,
  kHwRollGroup = 1460,
  kHwRollFourInch = 1461,
  kHwRollSevenInch = 1462,
  kHwGrainPresent = 1470,
  kHwCycledSampler = 1471,
  kHwSensorSetup = 1472,
  kHwAccept = 1473,
};
// The radio button of value code c of each group is at c.
inline constexpr int kHwFanRadios[5] = {1401, 1402, 1403, 1404, 1405};
inline constexpr int kHwModuleRadios[3] = {1411, 1412, 1413};
inline constexpr int kHwFuelRadios[4] = {1421, 1422, 1423, 1424};
inline constexpr int kHwLoadRadios[3] = {1431, 1432, 1433};
inline constexpr int kHwLengthRadios[15] = {1441, 1442, 1443, 1444, 1445, 1446, 1447, 1448,
                                            1449, 1450, 1451, 1452, 1453, 1454, 1455};
// Our single-series models, on length buttons 0..10; the rest read "N/A".
inline constexpr int kSeriesModelCount = 11;
inline constexpr const char* kSeriesModelNames[kSeriesModelCount] = {
    "TS-08", "TS-10", "TS-12", "TS-14", "TS-16", "TS-18", "TS-20", "TS-22", "TS-24", "TS-26", "TS-28"};

// Runs the dialog modally over `parent`.
void OpenHardwareSetupDialog(plat::Hwnd parent);

}  // namespace dialogs
