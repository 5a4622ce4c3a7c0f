// The drying mode as the controller applies it. The dryer type register decides between the
// continuous flow and the batch cycle; a staged batch dryer then judges its heat by the drying
// criteria of page 1 register 1 and the safeties enabled in page 1 register 10.
#include "link/RegisterMap.h"
#include "sim/Simulator.h"

namespace {

struct BatchTimer {
  int countdown;
  int preset;
};
constexpr BatchTimer kTimers[] = {{lnk::kStatusHiHeatCountdown, lnk::kStatusHiHeatTime},
                                  {lnk::kStatusLoHeatCountdown, lnk::kStatusLoHeatTime},
                                  {lnk::kStatusCoolCountdown, lnk::kStatusCoolTime},
                                  {lnk::kStatusUnloadCountdown, lnk::kStatusUnloadTime}};

void RefillCountdowns(Simulator& sim) {
  for (const BatchTimer& t : kTimers) SimSetMinSec(sim, t.countdown, SimMinSec(sim, t.preset));
}

// The grain temperature the controller dries by: the sensor the grain temperature select names.
int DryerGrainTemp(const Simulator& sim) {
  const int select = sim.reg[lnk::kStatusGrainTempSelect];
  const int index = select == 0 ? lnk::kStatusGrainTemp3 : (select == 1 ? lnk::kStatusGrainTemp2 : lnk::kStatusGrainTemp1);
  return SimS16LowFirst(sim, index);
}

bool Heating(uint8_t phase) { return phase == lnk::kBatchStateHiHeat || phase == lnk::kBatchStateLoHeat; }

void ApplyTypeChange(Simulator& sim) {
  const uint8_t type = sim.reg[lnk::kStatusDryerType];
  if (type == sim.drying.appliedType) return;
  sim.drying.appliedType = type;
  sim.drying.heatS = 0;
  RefillCountdowns(sim);
  if (type == lnk::kDryerTypeContinuous) {
    sim.reg[lnk::kStatusBatchState] = lnk::kBatchStateIdle;
    return;
  }
  // A dryer switched to batch starts with a fresh batch of the grain coming in.
  sim.reg[lnk::kStatusBatchState] = lnk::kBatchStateHiHeat;
  sim.plant.outgoingMoisture = sim.plant.incomingMoisture;
}

void ApplyStagedBatch(Simulator& sim) {
  uint8_t& phase = sim.reg[lnk::kStatusBatchState];
  if (!sim.running || !Heating(phase)) {
    sim.drying.heatS = 0;
    return;
  }
  ++sim.drying.heatS;
  const uint8_t criteria = sim.reg[lnk::kStatusOptionBits] & lnk::kOptionBitsCriteria;
  if (criteria == 0) return;  // no criterion chosen: the heat timers alone
  const uint8_t safety = sim.reg[lnk::kStatusDisplayOptions];
  const int grain = DryerGrainTemp(sim);
  const uint32_t maxTimeS = SimMinSec(sim, lnk::kStatusStagedBatchTime);
  const bool tooLong = (safety & lnk::kDisplayOptionsMaxTimeGuard) && maxTimeS > 0 && sim.drying.heatS >= maxTimeS;
  const bool tooHot = (safety & lnk::kDisplayOptionsMaxGrainTempGuard) && grain >= SimS16LowFirst(sim, lnk::kStatusMaxGrainTempLimit);

  const int countdown = kTimers[phase - 1].countdown;
  const bool timerEnds = SimMinSec(sim, countdown) <= 1;  // the plant counts it out this second
  const bool timeMet = !(criteria & lnk::kOptionBitsTimeCriterion) || timerEnds;
  const bool temperatureMet =
      !(criteria & lnk::kOptionBitsTemperatureCriterion) || grain >= SimS16LowFirst(sim, lnk::kStatusGrainTempSetpoint1);
  const bool moistureMet = !(criteria & lnk::kOptionBitsMoistureCriterion) ||
                           SimU16HighFirst(sim, lnk::kStatusOutgoingMoisture) <= SimU16HighFirst(sim, lnk::kStatusMoistureSetpoint);
  const bool dry = timeMet && temperatureMet && moistureMet;
  if (criteria == lnk::kOptionBitsTimeCriterion && !tooLong && !tooHot) return;  // the timers run it
  if (dry || tooLong || tooHot) {
    // Drying is complete (or must stop): the rest of the heat is skipped and the batch cools.
    phase = lnk::kBatchStateCool;
    sim.drying.heatS = 0;
    return;
  }
  // Not dry yet: a heat timer that runs out waits for the criteria.
  if (timerEnds) SimSetMinSec(sim, countdown, 2);
}

}  // namespace

void SimApplyDryingMode(Simulator& sim) {
  ApplyTypeChange(sim);
  if (sim.reg[lnk::kStatusDryerType] == lnk::kDryerTypeStagedBatch) ApplyStagedBatch(sim);
}
