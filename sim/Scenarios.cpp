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
    {lnk::kStatusFanHeaterCount, F::U8, 1}, {lnk::kStatusLoadSystem, F::U8, 1}, {lnk::kStatusDryerLengthIndex, F::U8, 6},
    {lnk::kStatusHiHeatTime, F::MinSec, 45 * kMin}, {lnk::kStatusLoHeatTime, F::MinSec, 30 * kMin},
    {lnk::kStatusCoolTime, F::MinSec, 20 * kMin}, {lnk::kStatusUnloadTime, F::MinSec, 15 * kMin},
    {lnk::kStatusOutOfGrainTime, F::MinSec, 10 * kMin}, {lnk::kStatusLoadStartupDelay, F::MinSec, 30},
    {lnk::kStatusUnloadCleanoutDelay, F::MinSec, 2 * kMin}, {lnk::kStatusFanDelay, F::MinSec, 3},
    {lnk::kStatusPlenumSetpoint1, F::S16LowFirst, 180}, {lnk::kStatusPlenumSetpoint2, F::S16LowFirst, 180},
    {lnk::kStatusPlenumSetpoint3, F::S16LowFirst, 180}, {lnk::kStatusPlenumSetpoint4, F::S16LowFirst, 180},
    {lnk::kStatusPlenumSetpoint5, F::S16LowFirst, 180}, {lnk::kStatusPlenumSetpoint6, F::S16LowFirst, 180},
    {lnk::kStatusPlenumSetpoint7, F::S16LowFirst, 180}, {lnk::kStatusPlenumSetpoint8, F::S16LowFirst, 180},
    {lnk::kStatusPlenumDifferential1, F::U8, 8}, {lnk::kStatusPlenumDifferential1 + 1, F::U8, 8},
    {lnk::kStatusPlenumDifferential1 + 2, F::U8, 8}, {lnk::kStatusPlenumDifferential1 + 3, F::U8, 8},
    {lnk::kStatusPlenumDifferential1 + 4, F::U8, 8}, {lnk::kStatusPlenumDifferential1 + 5, F::U8, 8},
    {lnk::kStatusGrainTempSetpoint1, F::S16LowFirst, 110}, {lnk::kStatusGrainTempSetpoint2, F::S16LowFirst, 110},
    {lnk::kStatusGrainTempSetpoint3, F::S16LowFirst, 110},
    {lnk::kStatusMeterRoll0, F::U8, lnk::kMeterRollInUseMedium}, {lnk::kStatusMeterRoll1, F::U8, 70},
    {lnk::kStatusMeterRoll2, F::U8, 60}, {lnk::kStatusMeterRoll3, F::U8, 50}, {lnk::kStatusMeterRollMode, F::U8, 1},
    {lnk::kStatusMeterRollHigh, F::U8, 70}, {lnk::kStatusMeterRollMedium, F::U8, 60}, {lnk::kStatusMeterRollLow, F::U8, 50},
    {lnk::kStatusMeterRollValue230, F::U8, 60}, {lnk::kStatusBushelCalibration, F::U8, 100},
    {lnk::kStatusLoadFlags, F::U8, lnk::kLoadFlagsAutomatic},
    {lnk::kStatusMoistureControlMode, F::U8, lnk::kModeMoisture5Speed},
    {lnk::kStatusMoistureSetpoint, F::U16HighFirst, 155},
    {lnk::kStatusTrim1, F::U8, 6}, {lnk::kStatusTrim1 + 1, F::U8, 3}, {lnk::kStatusTrim1 + 2, F::U8, 6}, {lnk::kStatusTrim1 + 3, F::U8, 3},
    {lnk::kStatusMaxUnloadRate, F::U16HighFirst, 90}, {lnk::kStatusMinUnloadRate, F::U16HighFirst, 10},
    {lnk::kStatusFanSetupTime, F::MinSec, 5 * kMin}, {lnk::kStatusStagedBatchTime, F::MinSec, 30 * kMin},
    {lnk::kStatusSetting121, F::U16LowFirst, 150}, {lnk::kStatusSubstituteMoisture, F::U16LowFirst, 150},
};

constexpr SimStartValue kSixUnits[] = {
    {lnk::kStatusFanHeaterCount, F::U8, 4},    // six units
    {lnk::kStatusDryerLengthIndex, F::U8, 10},  // 28 ft
    {lnk::kStatusPlenumSetpoint1, F::S16LowFirst, 200}, {lnk::kStatusPlenumSetpoint2, F::S16LowFirst, 200},
    {lnk::kStatusPlenumSetpoint3, F::S16LowFirst, 190}, {lnk::kStatusPlenumSetpoint4, F::S16LowFirst, 190},
    {lnk::kStatusPlenumSetpoint5, F::S16LowFirst, 170}, {lnk::kStatusPlenumSetpoint6, F::S16LowFirst, 170},
    {lnk::kStatusMeterRoll1, F::U8, 80}, {lnk::kStatusMeterRoll2, F::U8, 70}, {lnk::kStatusMeterRoll3, F::U8, 60},
};

// Two heats: HI HEAT at the unit setpoints, LO HEAT at setpoint 7, then cool and unload.
constexpr SimStartValue kStagedBatch[] = {
    {lnk::kStatusDryerType, F::U8, lnk::kDryerTypeBatchOption},
    {lnk::kStatusMoistureControlMode, F::U8, lnk::kModeStagedBatch},
    {lnk::kStatusOptionBits, F::U8, lnk::kOptionBitsTwoHeats | lnk::kOptionBitsTimeCriterion},
    {lnk::kStatusHiHeatTime, F::MinSec, 40 * kMin}, {lnk::kStatusLoHeatTime, F::MinSec, 20 * kMin},
    {lnk::kStatusCoolTime, F::MinSec, 15 * kMin}, {lnk::kStatusUnloadTime, F::MinSec, 10 * kMin},
    {lnk::kStatusPlenumSetpoint5, F::S16LowFirst, 210}, {lnk::kStatusPlenumSetpoint6, F::S16LowFirst, 210},
    {lnk::kStatusPlenumSetpoint7, F::S16LowFirst, 160},
    {lnk::kStatusPlenumDifferential1 + 4, F::U8, 10}, {lnk::kStatusPlenumDifferential1 + 5, F::U8, 10},
};

constexpr SimStartValue kCelsius[] = {
    {lnk::kStatusDisplayOptions, F::U8, lnk::kDisplayOptionsCelsius},
};

// A minute in which the nodes report one after the other, then a quiet half minute.
constexpr SimWarningEvent kStorm[] = {
    {5, 15, lnk::kNodeFanHeater1, 3, false},
    {15, 25, lnk::kNodeFanHeater1 + 1, 5, true},
    {25, 35, lnk::kNodeMainIo, 2, true},
    {35, 45, lnk::kNodeMoistureCont, 2, false},
    {45, 55, lnk::kNodeFanHeaterInt1, 4, true},
    {55, 60, lnk::kNodeDisplayIo, 1, false},
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
