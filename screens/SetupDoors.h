#pragma once
// The doors of the two setup screens: one row per button that opens a dialog, with its control
// id, its picture and what opens behind it. A button that appears on both screens is one row.
// A row whose dialog is not part of the panel yet has no opener; its button is then shown
// disabled, so an operator never presses a button that does nothing. Wiring a dialog in is one
// change of its row in SetupDoors.cpp: the opener's name in place of nullptr.
#include <cstdint>

#include "platform/Window.h"

namespace screens {

// Control ids of the setup screens' buttons. The extended screen uses the ids of the setup
// screen for the doors the two share.
enum SetupControl : int {
  kSetupUnits = 34864,
  kSetupDryingMode = 34865,
  kSetupMeterRollReverse = 34866,
  kSetupBurnerMode = 34867,
  kSetupBurnerDifferential = 34868,
  kSetupTimeDate = 34870,
  kSetupHardware = 34871,
  kSetupDiagnostics = 34872,
  kSetupReturn = 34879,
  kSetupMoistureControl = 34883,
  kSetupDataLogger = 36888,
  kSetupUnloadBushels = 36902,
  kSetupBatchCounter = 36963,
  kSetupWatchdog = 36965,
  kSetupUserSettings = 36973,
  kSetupUnloadRates = 36974,
  kSetupTempManager = 36975,
  kSetupMoistureCalibration = 36976,
  kSetupMore = 36977,
  kSetupAutoStart = 36996,
  // Only on the extended screen.
  kExtendedUnitsConfirm = 36978,       // the SI-units confirmation
  kExtendedLanguage = 36980,
  kExtendedLightOutputs = 36981,
  kExtendedSwitchTest = 36982,
  kExtendedSampler = 36987,            // shown while the controller offers the cycled sampler
  kExtendedMeterRollReverse = 36991,   // shown on metering-roll dryers with 4-inch rolls
};

// Opens the dialog behind a door, modally over `parent` (the setup screen pressed).
using DoorOpener = void (*)(plat::Hwnd parent);

struct SetupDoor {
  int control;
  int picture = 0;              // language picture index; 0 for a button that shows a text
  uint16_t labelId = 0;         // string id of that text (0: none)
  const char* label = nullptr;  // its English text, shown when the language has none
  DoorOpener open = nullptr;    // nullptr while the dialog is not part of the panel: button disabled
};

inline constexpr int kSetupDoorCount = 24;
extern const SetupDoor kSetupDoors[kSetupDoorCount];

// The row of `control`, nullptr when it is not a door.
const SetupDoor* FindSetupDoor(int control);

}  // namespace screens
