#pragma once
// Dialog 512, the drying mode selection: continuous flow or staged batch, and the door to the
// moisture control setup of the chosen mode. Dialog 515, the continuous flow setup: the
// metering roll control scheme, auto centering, the upper moisture sensor and the maximum grain
// temperature safety. Dialog 516, the staged batch setup: the drying criteria with their
// safeties, single or dual plenum and the heat split. The two setups close the selection
// beneath them when they are accepted.
#include "platform/Window.h"

namespace dialogs {

inline constexpr int kDryingModeDialogId = 512;
inline constexpr int kContinuousFlowDialogId = 515;
inline constexpr int kStagedBatchDialogId = 516;

enum DryingModeControl : int {
  kDryingModeContinuous = 1298,
  kDryingModeStagedBatch = 1299,
  kDryingModeContinuousRadio = 1297,
  kDryingModeStagedBatchRadio = 1046,
  kDryingModeAccept = 1008,
  kDryingModeSetup = 1300,
  kDryingModeHelp = 1011,
};

enum ContinuousFlowControl : int {
  kFlowTemperature = 1308,
  kFlowMoisture = 1309,
  kFlowTwoSpeed = 1312,
  kFlowTemperatureFiveSpeed = 1313,
  kFlowVariable = 1314,
  kFlowMoistureFiveSpeed = 1315,
  kFlowAutoCentering = 1316,
  kFlowAutoCenteringEnabled = 1051,
  kFlowFiveSpeedSetup = 1317,
  kFlowUpperSensorSelect = 1333,
  kFlowUpperSensorEnabled = 1334,
  kFlowUpperSensorDisabled = 1049,
  kFlowSafetyToggle = 1326,
  kFlowMaxGrainTemp = 1325,
  kFlowMaxGrainTempField = 1330,
  kFlowAccept = 1008,
  kFlowHelp = 1011,
};

enum StagedBatchControl : int {
  kBatchTime = 1311,
  kBatchTemperature = 1312,
  kBatchMoisture = 1045,
  kBatchSingle = 1313,
  kBatchDual = 1314,
  kBatchFullHeat = 1315,
  kBatchTwoThirdsHeat = 1316,
  kBatchHalfHeat = 1317,
  kBatchMaxTime = 1324,
  kBatchMaxGrainTemp = 1325,
  kBatchSafetyToggle = 1326,
  kBatchMaxTimeField = 1146,
  kBatchMaxGrainTempField = 1147,
  kBatchAccept = 1008,
  kBatchHelp = 1011,
};

// Run the dialogs modally over `parent`; return the id of the button that closed them.
void OpenDryingModeDialog(plat::Hwnd parent);
int OpenContinuousFlowDialog(plat::Hwnd parent);
int OpenStagedBatchDialog(plat::Hwnd parent);
// The moisture control door of the setup screen: the staged batch setup when the controller
// reports a batch dryer (register 8 not 0), else the continuous flow setup.
void OpenMoistureControlDialog(plat::Hwnd parent);

}  // namespace dialogs
