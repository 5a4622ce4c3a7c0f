// The scenarios: each a table of starting registers over a common base, and the plant's
// parameters. Values are in the register's own units (temperatures in whole degrees F,
// moisture in tenths of a percent, timers in seconds).
#include <cstring>

#include "link/RegisterMap.h"
#include "sim/Simulator.h"

namespace {

using F = SimForm;

constexpr int kMin = 60;

// What every scenario starts from, before its own values: a 20 ft continuous-flow dryer with
// two units, 180 F plenums with an 8 F differential, corn dried to 15.5 % under moisture-based
// 5-speed control.
constexpr SimStartValue kBase[] = {
    {kStatusFanHeaterCount, F::U8, 1}, {kStatusLoadSystem, F::U8, 1}, {kStatusDryerLengthIndex, F::U8, 6},
    {kStatusHiHeatTime, F::MinSec, 45 * kMin}, {kStatusLoHeatTime, F::MinSec, 30 * kMin},
    {kStatusCoolTime, F::MinSec, 20 * kMin}, {kStatusUnloadTime, F::MinSec, 15 * kMin},
    {kStatusOutOfGrainTime, F::MinSec, 10 * kMin}, {kStatusLoadStartupDelay, F::MinSec, 30},
    {kStatusUnloadCleanoutDelay, F::MinSec, 2 * kMin}, {kStatusFanDelay, F::MinSec, 3},
    {kStatusPlenumSetpoint1, F::S16LowFirst, 180}, {kStatusPlenumSetpoint2, F::S16LowFirst, 180},
    {kStatusPlenumSetpoint3, F::S16LowFirst, 180}, {kStatusPlenumSetpoint4, F::S16LowFirst, 180},
    {kStatusPlenumSetpoint5, F::S16LowFirst, 180}, {kStatusPlenumSetpoint6, F::S16LowFirst, 180},
    {kStatusPlenumSetpoint7, F::S16LowFirst, 180}, {kStatusPlenumSetpoint8, F::S16LowFirst, 180},
    {kStatusPlenumDifferential1, F::U8, 8}, {kStatusPlenumDifferential1 + 1, F::U8, 8},
    {kStatusPlenumDifferential1 + 2, F::U8, 8}, {kStatusPlenumDifferential1 + 3, F::U8, 8},
    {kStatusPlenumDifferential1 + 4, F::U8, 8}, {kStatusPlenumDifferential1 + 5, F::U8, 8},
    {kStatusGrainTempSetpoint1, F::S16LowFirst, 110}, {kStatusGrainTempSetpoint2, F::S16LowFirst, 110},
    {kStatusGrainTempSetpoint3, F::S16LowFirst, 110},
    {kStatusMeterRoll0, F::U8, kMeterRollInUseMedium}, {kStatusMeterRoll1, F::U8, 70},
    {kStatusMeterRoll2, F::U8, 60}, {kStatusMeterRoll3, F::U8, 50}, {kStatusMeterRollMode, F::U8, 1},
    {kStatusMeterRollHigh, F::U8, 70}, {kStatusMeterRollMedium, F::U8, 60}, {kStatusMeterRollLow, F::U8, 50},
    {kStatusMeterRollValue230, F::U8, 60}, {kStatusBushelCalibration, F::U8, 100},
    {kStatusLoadFlags, F::U8, kLoadFlagsAutomatic},
    {kStatusMoistureControlMode, F::U8, kModeMoisture5Speed},
    {kStatusMoistureSetpoint, F::U16HighFirst, 155},
    {kStatusTrim1, F::U8, 6}, {kStatusTrim1 + 1, F::U8, 3}, {kStatusTrim1 + 2, F::U8, 6}, {kStatusTrim1 + 3, F::U8, 3},
    {kStatusMaxUnloadRate, F::U16HighFirst, 90}, {kStatusMinUnloadRate, F::U16HighFirst, 10},
    {kStatusFanSetupTime, F::MinSec, 5 * kMin}, {kStatusStagedBatchTime, F::MinSec, 30 * kMin},
    {kStatusSetting121, F::U16LowFirst, 150}, {kStatusSubstituteMoisture, F::U16LowFirst, 150},
};

constexpr SimStartValue kSixUnits[] = {
    {kStatusFanHeaterCount, F::U8, 4},    // six units
    {kStatusDryerLengthIndex, F::U8, 10},  // 28 ft
    {kStatusPlenumSetpoint1, F::S16LowFirst, 200}, {kStatusPlenumSetpoint2, F::S16LowFirst, 200},
    {kStatusPlenumSetpoint3, F::S16LowFirst, 190}, {kStatusPlenumSetpoint4, F::S16LowFirst, 190},
    {kStatusPlenumSetpoint5, F::S16LowFirst, 170}, {kStatusPlenumSetpoint6, F::S16LowFirst, 170},
    {kStatusMeterRoll1, F::U8, 80}, {kStatusMeterRoll2, F::U8, 70}, {kStatusMeterRoll3, F::U8, 60},
};

// Two heats: HI HEAT at the unit setpoints, LO HEAT at setpoint 7, then cool and unload.
constexpr SimStartValue kStagedBatch[] = {
    {kStatusDryerType, F::U8, kDryerTypeBatchOption},
    {kStatusMoistureControlMode, F::U8, kModeStagedBatch},
    {kStatusOptionBits, F::U8, kOptionBitsTwoHeats | kOptionBitsTimeCriterion},
    {kStatusHiHeatTime, F::MinSec, 40 * kMin}, {kStatusLoHeatTime, F::MinSec, 20 * kMin},
    {kStatusCoolTime, F::MinSec, 15 * kMin}, {kStatusUnloadTime, F::MinSec, 10 * kMin},
    {kStatusPlenumSetpoint5, F::S16LowFirst, 210}, {kStatusPlenumSetpoint6, F::S16LowFirst, 210},
    {kStatusPlenumSetpoint7, F::S16LowFirst, 160},
    {kStatusPlenumDifferential1 + 4, F::U8, 10}, {kStatusPlenumDifferential1 + 5, F::U8, 10},
};

constexpr SimStartValue kCelsius[] = {
    {kStatusDisplayOptions, F::U8, kDisplayOptionsCelsius},
};

// A minute in which the nodes report one after the other, then a quiet half minute.
constexpr SimWarningEvent kStorm[] = {
    {5, 15, kNodeFanHeater1, 3, false},
    {15, 25, kNodeFanHeater1 + 1, 5, true},
    {25, 35, kNodeMainIo, 2, true},
    {35, 45, kNodeMoistureCont, 2, false},
    {45, 55, kNodeFanHeaterInt1, 4, true},
    {55, 60, kNodeDisplayIo, 1, false},
};

constexpr SimPlantParameters kRunning = {.ambientF = 60,
                                         .incomingMoisture = 237,
                                         .incomingSwing = 3,
                                         .startOutgoingMoisture = 210,
                                         .startWarm = true,
                                         .running = true,
                                         .warningCycleS = 0};
constexpr SimPlantParameters kColdStart = {.ambientF = 45,
                                           .incomingMoisture = 237,
                                           .incomingSwing = 3,
                                           .startOutgoingMoisture = 237,
                                           .startWarm = false,
                                           .running = false,
                                           .warningCycleS = 0};
constexpr SimPlantParameters kBatchPlant = {.ambientF = 60,
                                            .incomingMoisture = 220,
                                            .incomingSwing = 0,
                                            .startOutgoingMoisture = 220,
                                            .startWarm = true,
                                            .running = true,
                                            .warningCycleS = 0};
constexpr SimPlantParameters kStormPlant = {.ambientF = 60,
                                            .incomingMoisture = 237,
                                            .incomingSwing = 3,
                                            .startOutgoingMoisture = 170,
                                            .startWarm = true,
                                            .running = true,
                                            .warningCycleS = 90};

// Auto-start: a waiting dryer the panel may start by auto-start, and one already started.
constexpr SimStartValue kAutoStartActive[] = {
    {kStatusOptionBits2, F::U8, kOptionBits2QuickStart},
};
// Stopped only a while ago: the plenums and the grain are still warm.
constexpr SimPlantParameters kWarmWaiting = {.ambientF = 60,
                                             .incomingMoisture = 237,
                                             .incomingSwing = 3,
                                             .startOutgoingMoisture = 200,
                                             .startWarm = true,
                                             .running = false,
                                             .warningCycleS = 0};

template <int N>
constexpr int Count(const SimStartValue (&)[N]) {
  return N;
}

constexpr SimScenario kScenarios[] = {
    {"corn", "two-unit continuous-flow dryer drying corn from 24 % to 15.5 % (the default)", kRunning, nullptr, 0,
     nullptr, 0},
    {"six-units", "six-unit 28 ft continuous-flow dryer", kRunning, kSixUnits, Count(kSixUnits), nullptr, 0},
    {"staged-batch", "staged batch dryer with a high and a low heat, cool and unload", kBatchPlant, kStagedBatch,
     Count(kStagedBatch), nullptr, 0},
    {"cold-start", "idle with grain present, waiting for START", kColdStart, nullptr, 0, nullptr, 0},
    {"warning-storm", "several nodes reporting warnings and shutdowns over a minute, repeated", kStormPlant, nullptr,
     0, kStorm, static_cast<int>(sizeof kStorm / sizeof kStorm[0])},
    {"celsius", "the default dryer shown in degrees C", kRunning, kCelsius, Count(kCelsius), nullptr, 0},
    // Auto-start.
    {"auto-start", "stopped with warm grain present, ready for the panel to initiate auto-start", kWarmWaiting,
     nullptr, 0, nullptr, 0, true},
    {"auto-start-active", "auto-start already initiated: the controller's own sequence brings the dryer up",
     kWarmWaiting, kAutoStartActive, Count(kAutoStartActive), nullptr, 0, true},
};
constexpr int kScenarioCount = static_cast<int>(sizeof kScenarios / sizeof kScenarios[0]);

}  // namespace

int SimBaseValueCount() { return static_cast<int>(sizeof kBase / sizeof kBase[0]); }
const SimStartValue* SimBaseValues() { return kBase; }

int SimScenarioCount() { return kScenarioCount; }

const SimScenario& SimScenarioAt(int i) { return kScenarios[i >= 0 && i < kScenarioCount ? i : 0]; }

const SimScenario& SimDefaultScenario() { return kScenarios[0]; }

const SimScenario* SimFindScenario(const char* name) {
  if (name == nullptr) return nullptr;
  for (const SimScenario& s : kScenarios)
    if (std::strcmp(s.name, name) == 0) return &s;
  return nullptr;
}
