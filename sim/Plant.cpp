#include "sim/Plant.h"

#include <cmath>

#include "link/RegisterMap.h"

namespace {

// Burners overshoot their setpoint by the margin; a fan alone warms the plenum a little above
// ambient.
constexpr double kBurnerMarginF = 30.0;
constexpr double kFanWarmthF = 10.0;
constexpr double kPlenumTauS = 45.0;
constexpr double kGrainTauS = 600.0;
constexpr double kGrainFraction[3] = {0.35, 0.45, 0.55};
constexpr double kOutgoingGrainCoolingF = 15.0;
constexpr double kIncomingMoisturePeriodS = 1800.0;
constexpr double kTwoPi = 6.283185307179586;

// Drying: the moisture the grain would lose moves toward the equilibrium moisture with the
// heat (plenum rise over the working rise) and the time in the column (the reference speed
// over the metering speed). Tuned so that 180 F at 60 % takes corn from 24 % to about 15 %.
constexpr double kEquilibriumMoisture = 80.0;
constexpr double kWorkingRiseF = 120.0;
constexpr double kReferenceSpeed = 60.0;
constexpr double kDryingConstant = 0.75;
constexpr double kMoistureTauS = 300.0;
constexpr double kBatchDryingS = 2400.0;  // time constant of a batch at full heat
constexpr double kMinimumSpeed = 5.0;

constexpr uint32_t kLoadPauseS = 90;
constexpr uint32_t kLoadMinS = 60;
constexpr uint32_t kLoadSpreadS = 60;
constexpr uint32_t kPurgeS = 5;  // a fan runs this long before its burner may light
constexpr uint32_t kStartPulseS = 1;
constexpr uint32_t kVariableControlS = 10;
constexpr double kVariableGain = 0.05;  // percent of speed per tenth of a percent of error
constexpr double kVariableStepLimit = 2.0;

// Unload rate: percent of full speed times the dryer length times the bushels per foot at
// full speed (6-inch rolls, or 4-inch rolls when byte 183 bit 1 is set), and the roll speed.
constexpr double kBushelsPerFoot = 140.6202;
constexpr double kBushelsPerFootSmallRolls = 129.6;
constexpr double kFullSpeedRpmTenths = 175.0;

struct BatchTimer {
  int countdown;
  int preset;
};
// The batch runs its timers in this order; the phase byte 13 holds the running one.
constexpr BatchTimer kBatchTimers[] = {
    {lnk::kStatusHiHeatCountdown, lnk::kStatusHiHeatTime},
    {lnk::kStatusLoHeatCountdown, lnk::kStatusLoHeatTime},
    {lnk::kStatusCoolCountdown, lnk::kStatusCoolTime},
    {lnk::kStatusUnloadCountdown, lnk::kStatusUnloadTime},
};

uint32_t NextNoise(SimPlant& p) {
  p.noise = p.noise * 1664525u + 1013904223u;
  return p.noise >> 8;
}

void SetBit(Simulator& sim, int index, uint8_t mask, bool on) {
  sim.reg[index] = on ? static_cast<uint8_t>(sim.reg[index] | mask) : static_cast<uint8_t>(sim.reg[index] & ~mask);
}
void SetBit(Simulator& sim, lnk::PanelBit bit, bool on) { SetBit(sim, bit.byte, bit.mask, on); }
bool Bit(const Simulator& sim, int index, uint8_t mask) { return (sim.reg[index] & mask) != 0; }

void SetU32LowFirst(Simulator& sim, int index, uint32_t v) {
  for (int i = 0; i < 4; ++i) sim.reg[index + i] = static_cast<uint8_t>(v >> (8 * i));
}

double Clamp(double v, double lo, double hi) { return v < lo ? lo : (v > hi ? hi : v); }

void CountDown(Simulator& sim, int index) {
  uint8_t& minutes = sim.reg[index];
  uint8_t& seconds = sim.reg[index + 1];
  if (seconds > 59) seconds = 59;
  if (seconds > 0) {
    --seconds;
  } else if (minutes > 0) {
    --minutes;
    seconds = 59;
  }
}

void CopyPreset(Simulator& sim, const BatchTimer& t) {
  sim.reg[t.countdown] = sim.reg[t.preset];
  sim.reg[t.countdown + 1] = sim.reg[t.preset + 1];
}

bool BatchDryer(const Simulator& sim) { return sim.reg[lnk::kStatusDryerType] != 0; }

uint8_t BatchPhase(const Simulator& sim) { return sim.reg[lnk::kStatusBatchState]; }

bool Unloading(const Simulator& sim) {
  return sim.running && (!BatchDryer(sim) || BatchPhase(sim) == lnk::kBatchStateUnload);
}

bool HeatAllowed(const Simulator& sim) {
  if (!sim.running) return false;
  if (!BatchDryer(sim)) return true;
  const uint8_t phase = BatchPhase(sim);
  return phase == lnk::kBatchStateHiHeat || phase == lnk::kBatchStateLoHeat;
}

// The unit that a slot holds: slot 6 is unit 1.
int UnitOfSlot(int slot) { return kSimUnitSlots - slot; }

// The slot whose burner a warning node concerns, or -1.
int SlotOfNode(int node) {
  if (node >= lnk::kNodeFanHeater1 && node <= lnk::kNodeFanHeater6) return kSimUnitSlots - 1 - (node - lnk::kNodeFanHeater1);
  if (node >= lnk::kNodeFanHeaterInt1 && node <= lnk::kNodeFanHeaterInt6) return kSimUnitSlots - 1 - (node - lnk::kNodeFanHeaterInt1);
  return -1;
}

// The scenario's warning active now, or nullptr.
const SimWarningEvent* ScenarioWarning(const Simulator& sim) {
  const SimScenario* sc = sim.scenario;
  if (sc == nullptr || sc->warningCount == 0) return nullptr;
  double t = sim.timeS;
  if (sc->plant.warningCycleS > 0) t = std::fmod(t, sc->plant.warningCycleS);
  for (int i = 0; i < sc->warningCount; ++i) {
    const SimWarningEvent& e = sc->warnings[i];
    if (t >= e.fromS && t < e.toS) return &e;
  }
  return nullptr;
}

bool SlotLockedOut(const Simulator& sim, int slot) {
  const SimWarningEvent* e = ScenarioWarning(sim);
  return e != nullptr && e->shutdown && SlotOfNode(e->node) == slot;
}

bool LoadStoppedByWarning(const Simulator& sim) {
  const SimWarningEvent* e = ScenarioWarning(sim);
  return e != nullptr && e->shutdown && e->node == lnk::kNodeMainIo;
}

bool FanRunning(const Simulator& sim, int slot) {
  if (!sim.running || !PlantSlotPresent(sim, slot)) return false;
  // The units start one after the other, a fan delay apart, from the top unit down.
  const uint32_t order = static_cast<uint32_t>(kSimUnitSlots - 1 - slot);
  return sim.plant.sinceStartS >= order * SimMinSec(sim, lnk::kStatusFanDelay);
}

double DryerGrainTemp(const Simulator& sim) {
  const int select = sim.reg[lnk::kStatusGrainTempSelect];
  const int i = select == 0 ? 2 : (select == 1 ? 1 : 0);
  return sim.plant.grainTemp[i];
}

// ---- Whole-second work ----

void EndLoad(Simulator& sim) {
  SimPlant& p = sim.plant;
  SetBit(sim, lnk::kStatusLoadState, lnk::kLoadStateLoadRunning | lnk::kLoadStateFillMoving, false);
  sim.reg[lnk::kStatusOutOfGrainCountdown] = sim.reg[lnk::kStatusOutOfGrainTime];
  sim.reg[lnk::kStatusOutOfGrainCountdown + 1] = sim.reg[lnk::kStatusOutOfGrainTime + 1];
  p.loadPhaseS = 0;
  NextNoise(p);
}

void StepLoad(Simulator& sim) {
  SimPlant& p = sim.plant;
  const bool loading = Bit(sim, lnk::kStatusLoadState, lnk::kLoadStateLoadRunning);
  ++p.loadPhaseS;
  if (!loading) {
    sim.reg[lnk::kStatusOutOfGrainCountdown] = sim.reg[lnk::kStatusOutOfGrainTime];
    sim.reg[lnk::kStatusOutOfGrainCountdown + 1] = sim.reg[lnk::kStatusOutOfGrainTime + 1];
    if (p.loadPhaseS >= kLoadPauseS) {
      SetBit(sim, lnk::kStatusLoadState, lnk::kLoadStateLoadRunning, true);
      p.loadPhaseS = 0;
      p.loadLengthS = kLoadMinS + (p.noise >> 4) % kLoadSpreadS;
    }
    return;
  }
  // The level switch is uncovered: the out-of-grain timer runs, and the load auger starts
  // after the load startup delay (and not while its overload has tripped).
  CountDown(sim, lnk::kStatusOutOfGrainCountdown);
  const bool augerRuns = p.loadPhaseS > SimMinSec(sim, lnk::kStatusLoadStartupDelay) && !LoadStoppedByWarning(sim);
  SetBit(sim, lnk::kStatusLoadState, lnk::kLoadStateFillMoving, augerRuns);
  if (SimMinSec(sim, lnk::kStatusOutOfGrainCountdown) == 0) {
    // No grain came in time: the controller stops the dryer.
    EndLoad(sim);
    sim.running = false;
    sim.reg[lnk::kStatusStatusBar271] =
        static_cast<uint8_t>((sim.reg[lnk::kStatusStatusBar271] & ~lnk::kStopReasonBits) | lnk::kStopReasonNoGrain);
    return;
  }
  if (p.loadPhaseS >= p.loadLengthS + SimMinSec(sim, lnk::kStatusLoadStartupDelay)) EndLoad(sim);
}

bool LowHeatSkipped(const Simulator& sim) { return SimMinSec(sim, lnk::kStatusLoHeatTime) == 0; }

void StartBatch(Simulator& sim) {
  for (const BatchTimer& t : kBatchTimers) CopyPreset(sim, t);
  sim.reg[lnk::kStatusBatchState] = lnk::kBatchStateHiHeat;
  sim.plant.outgoingMoisture = sim.plant.incomingMoisture;
}

void StepBatch(Simulator& sim) {
  uint8_t& phase = sim.reg[lnk::kStatusBatchState];
  if (!BatchDryer(sim)) {
    phase = lnk::kBatchStateIdle;
    return;
  }
  if (phase == lnk::kBatchStateIdle || phase > lnk::kBatchStateUnload) StartBatch(sim);
  const BatchTimer& t = kBatchTimers[phase - 1];
  CountDown(sim, t.countdown);
  if (SimMinSec(sim, t.countdown) > 0) return;
  if (phase < lnk::kBatchStateUnload) {
    ++phase;
    if (phase == lnk::kBatchStateLoHeat && LowHeatSkipped(sim)) ++phase;
    return;
  }
  // A batch is done: count it and start the next.
  SimSetU16HighFirst(sim, lnk::kStatusBatchCounter, static_cast<uint16_t>(SimU16HighFirst(sim, lnk::kStatusBatchCounter) + 1));
  StartBatch(sim);
}

// The band of a 5-speed control: the speed offset for an error (positive: too wet or too hot
// is the caller's choice of sign) against the outer and inner offsets.
double FiveSpeedOffset(double error, double outer, double inner, double outerSpeed, double innerSpeed) {
  if (error > outer) return outerSpeed;
  if (error > inner) return innerSpeed;
  if (error < -outer) return -outerSpeed;
  if (error < -inner) return -innerSpeed;
  return 0;
}

void StepMeterRoll(Simulator& sim) {
  SimPlant& p = sim.plant;
  const double high = sim.reg[lnk::kStatusMeterRoll1];
  const double medium = sim.reg[lnk::kStatusMeterRoll2];
  const double low = sim.reg[lnk::kStatusMeterRoll3];
  const uint8_t modeByte = sim.reg[lnk::kStatusMoistureControlMode];
  const double outer = sim.reg[lnk::kStatusTrim1];
  const double inner = sim.reg[lnk::kStatusTrim1 + 1];
  const double outerSpeed = sim.reg[lnk::kStatusTrim1 + 2];
  const double innerSpeed = sim.reg[lnk::kStatusTrim1 + 3];
  const double moistureError = p.outgoingMoisture - SimU16HighFirst(sim, lnk::kStatusMoistureSetpoint);
  const double grainError = DryerGrainTemp(sim) - SimS16LowFirst(sim, lnk::kStatusGrainTempSetpoint1);
  double speed = medium;
  switch (modeByte & lnk::kMoistureModeMask) {
    case lnk::kModeTemperature2Speed:
      // Hot grain is dry grain: run fast above the grain setpoint, slow below it.
      if (modeByte & lnk::kMoistureModeBit6) speed = medium;
      else speed = grainError >= 0 ? high : low;
      break;
    case lnk::kModeTemperature5Speed:
      speed = medium + FiveSpeedOffset(grainError, outer, inner, outerSpeed, innerSpeed);
      break;
    case lnk::kModeMoisture5Speed:
      // Wet grain leaves slower.
      speed = medium - FiveSpeedOffset(moistureError, outer, inner, outerSpeed, innerSpeed);
      break;
    case lnk::kModeMoistureVariable:
      speed = p.meterSpeed;
      if (++p.controlS >= kVariableControlS) {
        p.controlS = 0;
        speed -= Clamp(moistureError * kVariableGain, -kVariableStepLimit, kVariableStepLimit);
      }
      break;
    default:
      break;
  }
  const double maxRate = SimU16HighFirst(sim, lnk::kStatusMaxUnloadRate);
  const double minRate = SimU16HighFirst(sim, lnk::kStatusMinUnloadRate);
  if (maxRate > minRate) speed = Clamp(speed, minRate, maxRate);
  p.meterSpeed = Clamp(speed, 0, 100);
  const long shown = std::lround(p.meterSpeed);
  sim.reg[lnk::kStatusMeterRollSpeedPercent] = static_cast<uint8_t>(shown);
  sim.reg[lnk::kStatusMeterRoll0] = shown > medium ? lnk::kMeterRollInUseHigh : (shown < medium ? lnk::kMeterRollInUseLow : lnk::kMeterRollInUseMedium);
  sim.reg[lnk::kStatusMeterRollValue230] = static_cast<uint8_t>(medium);
}

void StepCounters(Simulator& sim) {
  SimPlant& p = sim.plant;
  uint16_t rate = 0;
  uint16_t rpmTenths = 0;
  if (Unloading(sim)) {
    const double perFoot = Bit(sim, lnk::kStatusControllerDisplayOptions, lnk::kControllerDisplayBit1) ? kBushelsPerFootSmallRolls
                                                                                             : kBushelsPerFoot;
    rate = static_cast<uint16_t>(std::lround(p.meterSpeed / 100.0 * lnk::DryerLengthFeet(sim.reg[lnk::kStatusDryerLengthIndex]) * perFoot));
    rpmTenths = static_cast<uint16_t>(std::lround(p.meterSpeed / 100.0 * kFullSpeedRpmTenths));
  }
  if (sim.reg[lnk::kStatusSensorCommand] & lnk::kSensorCommandZeroBushels) {
    SetU32LowFirst(sim, lnk::kStatusBushelCounter, 0);
  } else {
    // Bushel-seconds: a rate in bushels per hour adds that many each second.
    SetU32LowFirst(sim, lnk::kStatusBushelCounter, SimU32LowFirst(sim, lnk::kStatusBushelCounter) + rate);
  }
  SimSetU16HighFirst(sim, lnk::kStatusUnloadPanel173, rate);
  SimSetU16HighFirst(sim, lnk::kStatusUnloadStatusValue, rpmTenths);

  if (!sim.running) return;
  ++p.runSeconds;
  ++p.sinceStartS;
  SimSetMinSec(sim, lnk::kStatusStatusBar39, p.runSeconds % (256 * 60));
  const uint16_t runMinutes = static_cast<uint16_t>(p.runSeconds / 60);
  sim.reg[lnk::kStatusRunTimeCounter1] = static_cast<uint8_t>(runMinutes & 0xFF);
  sim.reg[lnk::kStatusRunTimeCounter1 + 1] = static_cast<uint8_t>(runMinutes >> 8);
  for (int slot = 0; slot < kSimUnitSlots; ++slot) {
    if (!PlantSlotPresent(sim, slot)) continue;
    // Counter A: burner seconds, counter B: fan seconds; the statistics screen shows A / B.
    const int a = lnk::kStatusUnitCounterA1 + 2 * slot;
    const int b = lnk::kStatusUnitCounterB1 + 2 * slot;
    uint16_t fan = static_cast<uint16_t>(sim.reg[b] | (sim.reg[b + 1] << 8));
    uint16_t burner = static_cast<uint16_t>(sim.reg[a] | (sim.reg[a + 1] << 8));
    if (fan == 0xFFFF) {  // keep the ratio when the fan counter would wrap
      fan /= 2;
      burner /= 2;
    }
    ++fan;
    if (p.burnerOn[slot]) ++burner;
    sim.reg[a] = static_cast<uint8_t>(burner & 0xFF);
    sim.reg[a + 1] = static_cast<uint8_t>(burner >> 8);
    sim.reg[b] = static_cast<uint8_t>(fan & 0xFF);
    sim.reg[b + 1] = static_cast<uint8_t>(fan >> 8);
  }
}

// ---- Continuous values ----

double PlenumSetpoint(const Simulator& sim, int slot) {
  // The low heat of a two-heat batch holds every plenum at setpoint 7.
  if (BatchDryer(sim) && BatchPhase(sim) == lnk::kBatchStateLoHeat) return SimS16LowFirst(sim, lnk::kStatusPlenumSetpoint7);
  return SimS16LowFirst(sim, lnk::kStatusPlenumSetpoint1 + 2 * slot);
}

void StepUnit(Simulator& sim, int slot, double plenumK) {
  SimPlant& p = sim.plant;
  const int tempIndex = lnk::kStatusPlenumTemp1 + 2 * slot;
  uint8_t& run = sim.reg[lnk::kStatusUnitStatusA1 + slot];
  uint8_t& status = sim.reg[lnk::kStatusUnitStatusB1 + slot];
  uint8_t& burner = sim.reg[lnk::kStatusUnitStatusD1 + slot];
  const int unit = UnitOfSlot(slot);
  if (!PlantSlotPresent(sim, slot)) {
    p.burnerOn[slot] = false;
    run = 0;
    status = 0;
    burner = 0;
    SimSetS16LowFirst(sim, tempIndex, 0);
    SetBit(sim, lnk::kLightFan[unit - 1], false);
    SetBit(sim, lnk::kLightBurner[unit - 1], false);
    SetBit(sim, lnk::kSwitchFanAuto[unit - 1], false);
    SetBit(sim, lnk::kSwitchBurnerAuto[unit - 1], false);
    return;
  }
  const double ambient = sim.scenario->plant.ambientF;
  const double setpoint = PlenumSetpoint(sim, slot);
  const double differential = sim.reg[lnk::kStatusPlenumDifferential1 + slot];
  const uint8_t mode = sim.reg[lnk::kStatusBurnerMode1 + slot];
  const bool fan = FanRunning(sim, slot);
  const bool purged = fan && sim.plant.sinceStartS >= static_cast<uint32_t>(kSimUnitSlots - 1 - slot) * SimMinSec(sim, lnk::kStatusFanDelay) + kPurgeS;
  const bool lockedOut = SlotLockedOut(sim, slot);
  const bool mayFire = HeatAllowed(sim) && purged && !(mode & lnk::kBurnerModeFanOnly) && !lockedOut;
  double& temp = p.plenumTemp[slot];
  // The thermostat: on at the bottom of the differential, off at the setpoint.
  if (!mayFire || temp >= setpoint) {
    p.burnerOn[slot] = false;
  } else if (temp <= setpoint - differential) {
    p.burnerOn[slot] = true;
  }
  double target = ambient;
  if (fan) target = p.burnerOn[slot] ? setpoint + kBurnerMarginF : ambient + kFanWarmthF;
  temp += (target - temp) * plenumK;

  run = static_cast<uint8_t>((fan ? lnk::kUnitRunTurning | lnk::kUnitRunFanOn : 0) | (lockedOut ? lnk::kUnitRunBurnerFault : 0));
  status = static_cast<uint8_t>((status & ~(lnk::kUnitStatusOn | lnk::kUnitStatusFiring)) | (fan ? lnk::kUnitStatusOn : 0) |
                                (p.burnerOn[slot] || lockedOut ? lnk::kUnitStatusFiring : 0));
  burner = static_cast<uint8_t>((burner & ~(lnk::kUnitBurnerOn | lnk::kUnitBurnerFlameFail)) | (p.burnerOn[slot] ? lnk::kUnitBurnerOn : 0) |
                                (lockedOut ? lnk::kUnitBurnerFlameFail : 0));
  SimSetS16LowFirst(sim, tempIndex, static_cast<int16_t>(std::lround(temp)));
  SetBit(sim, lnk::kLightFan[unit - 1], fan);
  SetBit(sim, lnk::kLightBurner[unit - 1], p.burnerOn[slot]);
  SetBit(sim, lnk::kSwitchFanAuto[unit - 1], true);
  SetBit(sim, lnk::kSwitchBurnerAuto[unit - 1], !(mode & lnk::kBurnerModeFanOnly));
}

void StepMoisture(Simulator& sim, double dt, double heat) {
  SimPlant& p = sim.plant;
  const SimPlantParameters& pp = sim.scenario->plant;
  p.incomingMoisture = pp.incomingMoisture + pp.incomingSwing * std::sin(kTwoPi * sim.timeS / kIncomingMoisturePeriodS);
  if (BatchDryer(sim)) {
    // A batch dries in place while it is heated; a new batch comes in as wet as it was loaded.
    const double k = 1.0 - std::exp(-dt * heat / kBatchDryingS);
    p.outgoingMoisture -= (p.outgoingMoisture - kEquilibriumMoisture) * k;
    return;
  }
  double target = p.incomingMoisture;
  if (sim.running) {
    const double residence = kReferenceSpeed / (p.meterSpeed > kMinimumSpeed ? p.meterSpeed : kMinimumSpeed);
    const double removed = 1.0 - std::exp(-kDryingConstant * heat * residence);
    target = p.incomingMoisture - (p.incomingMoisture - kEquilibriumMoisture) * removed;
  }
  p.outgoingMoisture += (target - p.outgoingMoisture) * (1.0 - std::exp(-dt / kMoistureTauS));
}

void WriteMoisture(Simulator& sim) {
  const SimPlant& p = sim.plant;
  auto tenths = [](double v) { return static_cast<uint16_t>(v < 0 ? 0 : std::lround(v)); };
  SimSetU16HighFirst(sim, lnk::kStatusOutgoingMoisture, tenths(p.outgoingMoisture));
  SimSetU16HighFirst(sim, lnk::kStatusIncomingMoisture, tenths(p.incomingMoisture));
  SimSetU16HighFirst(sim, lnk::kStatusOutgoingGrainTenthsF, tenths(10.0 * (p.grainTemp[2] - (sim.running ? kOutgoingGrainCoolingF : 0.0))));
  SimSetU16HighFirst(sim, lnk::kStatusIncomingGrainTenthsF, tenths(10.0 * sim.scenario->plant.ambientF));
}

void WriteRunState(Simulator& sim) {
  const bool loading = Bit(sim, lnk::kStatusLoadState, lnk::kLoadStateLoadRunning);
  SetBit(sim, lnk::kStatusRunFlags, lnk::kRunFlagsRunning, sim.running);
  SetBit(sim, lnk::kStatusRunFlags2, lnk::kRunFlags2Running, sim.running);
  SetBit(sim, lnk::kStatusRunFlags, lnk::kRunFlagsGrainPresent, true);
  SetBit(sim, lnk::kStatusRunFlags, lnk::kRunFlagsColumnFull, !loading);
  SetBit(sim, lnk::kStatusStatusBar28, lnk::kStatusBar28ShowElapsed, true);
  SetBit(sim, lnk::kStatusStatusBar43, 0x01, sim.running);
  const bool stoppedNoGrain = (sim.reg[lnk::kStatusStatusBar271] & lnk::kStopReasonBits) == lnk::kStopReasonNoGrain;
  SetBit(sim, lnk::kStatusSwitches, lnk::kSwitchesReady, sim.running || !stoppedNoGrain);
  SetBit(sim, lnk::kLightLoad, sim.running && Bit(sim, lnk::kStatusLoadState, lnk::kLoadStateFillMoving));
  SetBit(sim, lnk::kLightUnload, Unloading(sim));
  SetBit(sim, lnk::kLightStart, sim.running);
  SetBit(sim, lnk::kSwitchStart, sim.plant.startPulseS > 0);
  SetBit(sim, lnk::kStatusLoadState, lnk::kLoadStateFillForward, true);
}

}  // namespace

int PlantUnitCount(const Simulator& sim) {
  constexpr int kUnitsForCode[] = {1, 2, 3, 4, 6};
  const int code = sim.reg[lnk::kStatusFanHeaterCount];
  return code < 5 ? kUnitsForCode[code] : 1;
}

bool PlantSlotPresent(const Simulator& sim, int slot) { return slot >= kSimUnitSlots - PlantUnitCount(sim); }

void PlantStart(Simulator& sim) {
  SimPlant& p = sim.plant;
  const SimPlantParameters& pp = sim.scenario->plant;
  p.incomingMoisture = pp.incomingMoisture;
  p.outgoingMoisture = pp.startOutgoingMoisture;
  p.meterSpeed = sim.reg[lnk::kStatusMeterRoll2];
  // A warm start has been running a while: the fans are all on.
  if (pp.startWarm) p.sinceStartS = 3600;
  double plenumMean = pp.ambientF;
  int present = 0;
  double sum = 0;
  for (int slot = 0; slot < kSimUnitSlots; ++slot) {
    double t = pp.ambientF;
    if (pp.startWarm && PlantSlotPresent(sim, slot)) {
      // Spread over the differential, so the burners do not all cycle together.
      const double sp = SimS16LowFirst(sim, lnk::kStatusPlenumSetpoint1 + 2 * slot);
      const double diff = sim.reg[lnk::kStatusPlenumDifferential1 + slot];
      t = sp - diff * (0.2 + 0.6 * (slot % 2));
      p.burnerOn[slot] = slot % 2 == 0;
      sum += t;
      ++present;
    }
    p.plenumTemp[slot] = t;
  }
  if (present > 0) plenumMean = sum / present;
  for (int i = 0; i < 3; ++i) p.grainTemp[i] = pp.ambientF + kGrainFraction[i] * (plenumMean - pp.ambientF);
  PlantAdvance(sim, 0);
}

void PlantSecond(Simulator& sim) {
  if (sim.plant.startPulseS > 0) --sim.plant.startPulseS;
  if (sim.running) {
    StepLoad(sim);
    StepBatch(sim);
  }
  StepMeterRoll(sim);
  StepCounters(sim);
}

void PlantAdvance(Simulator& sim, double dt) {
  SimPlant& p = sim.plant;
  const double ambient = sim.scenario->plant.ambientF;
  const double plenumK = 1.0 - std::exp(-dt / kPlenumTauS);
  double plenumSum = 0;
  int present = 0;
  for (int slot = 0; slot < kSimUnitSlots; ++slot) {
    StepUnit(sim, slot, plenumK);
    if (!PlantSlotPresent(sim, slot)) continue;
    plenumSum += p.plenumTemp[slot];
    ++present;
  }
  const double plenumMean = present > 0 ? plenumSum / present : ambient;

  const double grainK = 1.0 - std::exp(-dt / kGrainTauS);
  for (int i = 0; i < 3; ++i) {
    const double target = ambient + kGrainFraction[i] * (plenumMean - ambient);
    p.grainTemp[i] += (target - p.grainTemp[i]) * grainK;
    SimSetS16LowFirst(sim, lnk::kStatusGrainTemp1 + 2 * i, static_cast<int16_t>(std::lround(p.grainTemp[i])));
  }
  const double heat = HeatAllowed(sim) ? Clamp((plenumMean - ambient) / kWorkingRiseF, 0, 1.5) : 0;
  StepMoisture(sim, dt, heat);
  WriteMoisture(sim);
  WriteRunState(sim);
}

void PlantWarnings(Simulator& sim) {
  const SimFaults& f = sim.faults;
  const bool injected = f.warningNode != 0 || f.warningId != 0;
  if (injected && sim.timeS >= f.warningFromS && sim.timeS < f.warningToS) {
    sim.reg[lnk::kStatusWarningNode] = f.warningNode;
    sim.reg[lnk::kStatusWarningId] = f.warningId;
    return;
  }
  const SimWarningEvent* e = ScenarioWarning(sim);
  if (!injected && e == nullptr && (sim.scenario == nullptr || sim.scenario->warningCount == 0)) return;
  sim.reg[lnk::kStatusWarningNode] = e != nullptr ? e->node : 0;
  sim.reg[lnk::kStatusWarningId] = e != nullptr ? e->id : 0;
}

void SimPressStart(Simulator& sim) {
  sim.plant.startPulseS = kStartPulseS;
  if (sim.running) return;
  sim.running = true;
  sim.plant.sinceStartS = 0;
  sim.reg[lnk::kStatusStatusBar271] = static_cast<uint8_t>(sim.reg[lnk::kStatusStatusBar271] & ~lnk::kStopReasonBits);
  if (!sim.physicsFrozen) PlantAdvance(sim, 0);
}

void SimPressStop(Simulator& sim) {
  sim.running = false;
  if (!sim.physicsFrozen) PlantAdvance(sim, 0);
}
