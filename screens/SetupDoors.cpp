#include "screens/SetupDoors.h"

#include "dialogs/BatchCounterDialog.h"
#include "dialogs/BurnerModeDialog.h"
#include "dialogs/CycledSamplerDialog.h"
#include "dialogs/DataLoggerDialog.h"
#include "dialogs/DiagnosticsDialog.h"
#include "dialogs/DryingModeDialogs.h"
#include "dialogs/HardwareSetupDialog.h"
#include "dialogs/LanguageDialog.h"
#include "dialogs/LightOutputsDialog.h"
#include "dialogs/MoistureCalibrationDialog.h"
#include "dialogs/PlenumSetupDialogs.h"
#include "dialogs/SetupConfirmDialogs.h"
#include "dialogs/SwitchTestDialog.h"
#include "dialogs/TimeDateDialog.h"
#include "dialogs/UnloadBushelsDialog.h"
#include "dialogs/UnloadParametersDialog.h"
#include "dialogs/UserSettingsDialog.h"
#include "dialogs/WatchdogDialog.h"
#include "i18n/StringIds.h"
#include "screens/AutoStartConfig.h"

namespace screens {

// Pictures are indexes of the language's picture set; the row's dialog in the comment.
const SetupDoor kSetupDoors[kSetupDoorCount] = {
    {.control = kSetupUnits, .picture = 37, .open = [](plat::Hwnd p) { dialogs::OpenUnitsConfirmDialog(p); }},
    {.control = kSetupDryingMode, .picture = 23, .open = dialogs::OpenDryingModeDialog},            // 512
    {.control = kSetupMeterRollReverse, .picture = 33, .open = [](plat::Hwnd p) { dialogs::OpenMeterRollReverseDialog(p); }},
    {.control = kSetupBurnerMode, .picture = 27, .open = dialogs::OpenBurnerModeDialog},            // 177
    {.control = kSetupBurnerDifferential, .picture = 31, .open = [](plat::Hwnd p) { dialogs::OpenBurnerDifferentialDialog(p); }},
    {.control = kSetupTimeDate, .picture = 36, .open = dialogs::OpenTimeDateDialog},              // 199
    {.control = kSetupHardware, .picture = 38, .open = dialogs::OpenHardwareSetupDialog},              // 164
    {.control = kSetupDiagnostics, .picture = 30, .open = dialogs::OpenDiagnosticsDialog},           // 168
    // Staged batch setup (516) when register 8 is not 0, else continuous flow setup (515): the
    // opener chooses.
    {.control = kSetupMoistureControl, .picture = 24, .open = dialogs::OpenMoistureControlDialog},
    {.control = kSetupDataLogger, .picture = 39, .open = [](plat::Hwnd p) { dialogs::OpenDataLoggerDialog(p); }},
    {.control = kSetupUnloadBushels, .picture = 35, .open = dialogs::OpenUnloadBushelsDialog},         // 226
    {.control = kSetupBatchCounter, .picture = 63, .open = dialogs::OpenBatchCounterDialog},          // 599
    {.control = kSetupWatchdog, .labelId = i18n::kStringWatchdog, .label = "WATCHDOG", .open = dialogs::OpenWatchdogDialog},              // 206
    {.control = kSetupUserSettings, .picture = 40, .open = dialogs::OpenUserSettingsDialog},          // 479
    {.control = kSetupUnloadRates, .picture = 25, .open = dialogs::OpenUnloadRatesDialog},           // 513
    {.control = kSetupTempManager, .picture = 26, .open = [](plat::Hwnd p) { dialogs::OpenPlenumTempManagerDialog(p); }},
    {.control = kSetupMoistureCalibration, .picture = 28, .open = dialogs::OpenMoistureCalibrationDialog},   // 223
    {.control = kSetupAutoStart, .picture = 73, .open = OpenAutoStart},             // auto-start entry
    {.control = kExtendedUnitsConfirm, .picture = 37, .open = [](plat::Hwnd p) { dialogs::OpenUnitsConfirmDialog(p); }},
    {.control = kExtendedMeterRollReverse, .picture = 33, .open = [](plat::Hwnd p) { dialogs::OpenMeterRollReverseDialog(p); }},
    {.control = kExtendedSampler, .picture = 34, .open = dialogs::OpenCycledSamplerDialog},            // 605
    {.control = kExtendedLanguage, .labelId = i18n::kStringLanguageButton, .label = "LANGUAGE", .open = [](plat::Hwnd p) { dialogs::OpenLanguageDialog(p); }},
    {.control = kExtendedLightOutputs, .labelId = i18n::kStringCheckLightOutputs, .label = "Check Light Outputs", .open = dialogs::OpenLightOutputsDialog},  // 202
    {.control = kExtendedSwitchTest, .labelId = i18n::kStringCheckSwitchWiring, .label = "Check Switch Wiring", .open = dialogs::OpenSwitchTestDialog},    // 203
};

const SetupDoor* FindSetupDoor(int control) {
  for (const SetupDoor& d : kSetupDoors)
    if (d.control == control) return &d;
  return nullptr;
}

}  // namespace screens
