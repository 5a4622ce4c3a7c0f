#include "screens/SetupDoors.h"

#include "dialogs/DataLoggerDialog.h"
#include "dialogs/LanguageDialog.h"
#include "dialogs/PlenumSetupDialogs.h"
#include "dialogs/SetupConfirmDialogs.h"

namespace screens {

// Pictures are indexes of the language's picture set; the row's dialog in the comment.
const SetupDoor kSetupDoors[kSetupDoorCount] = {
    {.control = kSetupUnits, .picture = 37, .open = dialogs::OpenUnitsConfirmDialog},
    {.control = kSetupDryingMode, .picture = 23, .open = nullptr},            // 512
    {.control = kSetupMeterRollReverse, .picture = 33, .open = dialogs::OpenMeterRollReverseDialog},
    {.control = kSetupBurnerMode, .picture = 27, .open = nullptr},            // 177
    {.control = kSetupBurnerDifferential, .picture = 31, .open = dialogs::OpenBurnerDifferentialDialog},
    {.control = kSetupTimeDate, .picture = 36, .open = nullptr},              // 199
    {.control = kSetupHardware, .picture = 38, .open = nullptr},              // 164
    {.control = kSetupDiagnostics, .picture = 30, .open = nullptr},           // 168
    // Staged batch setup (516) when register 8 is not 0, else continuous flow setup (515): the
    // opener chooses.
    {.control = kSetupMoistureControl, .picture = 24, .open = nullptr},
    {.control = kSetupDataLogger, .picture = 39, .open = dialogs::OpenDataLoggerDialog},
    {.control = kSetupUnloadBushels, .picture = 35, .open = nullptr},         // 226
    {.control = kSetupBatchCounter, .picture = 63, .open = nullptr},          // 599
    {.control = kSetupWatchdog, .picture = 32, .open = nullptr},              // 206
    {.control = kSetupUserSettings, .picture = 40, .open = nullptr},          // 479
    {.control = kSetupUnloadRates, .picture = 25, .open = nullptr},           // 513
    {.control = kSetupTempManager, .picture = 26, .open = dialogs::OpenPlenumTempManagerDialog},
    {.control = kSetupMoistureCalibration, .picture = 28, .open = nullptr},   // 223
    {.control = kSetupAutoStart, .picture = 73, .open = nullptr},             // auto-start entry
    {.control = kExtendedUnitsConfirm, .picture = 37, .open = dialogs::OpenUnitsConfirmDialog},
    {.control = kExtendedMeterRollReverse, .picture = 33, .open = dialogs::OpenMeterRollReverseDialog},
    {.control = kExtendedSampler, .picture = 34, .open = nullptr},            // 605
    {.control = kExtendedLanguage, .labelId = 880, .label = "LANGUAGE", .open = dialogs::OpenLanguageDialog},
    {.control = kExtendedLightOutputs, .labelId = 204, .label = "Check Light Outputs", .open = nullptr},  // 202
    {.control = kExtendedSwitchTest, .labelId = 205, .label = "Check Switch Wiring", .open = nullptr},    // 203
};

const SetupDoor* FindSetupDoor(int control) {
  for (const SetupDoor& d : kSetupDoors)
    if (d.control == control) return &d;
  return nullptr;
}

}  // namespace screens
