// The simulated controller applying the drying mode: a dryer type sent by the panel starts or
// ends the batch cycle, and a staged batch leaves its heat by its drying criteria and safeties.
#include <gtest/gtest.h>

#include <vector>

#include "link/Framing.h"
#include "link/RegisterMap.h"
#include "sim/Plant.h"
#include "sim/Simulator.h"

namespace {

void SendByte(Simulator& sim, int page, int reg, uint8_t value) {
  uint8_t f[8] = {8, 1, static_cast<uint8_t>(page), static_cast<uint8_t>(reg), 1, value, 0, 0};
  lnk::AppendChecksum(f, 6);
  SimReply reply;
  ASSERT_EQ(SimHandleRequest(sim, f, 8, reply), SimAnswer::Sent);
  EXPECT_EQ(reply.bytes[lnk::RegisterIndex(page, reg)], value) << "echoed in the answer";
}

}  // namespace

TEST(SimDryingMode, ABatchTypeFromThePanelCyclesHeatCoolAndUnloadAndContinuousFlowEndsIt) {
  Simulator sim;
  SimInit(sim);
  ASSERT_EQ(sim.reg[lnk::kStatusDryerType], lnk::kDryerTypeContinuous);
  SimSetMinSec(sim, lnk::kStatusHiHeatTime, 3);
  SimSetMinSec(sim, lnk::kStatusLoHeatTime, 0);
  SimSetMinSec(sim, lnk::kStatusCoolTime, 2);
  SimSetMinSec(sim, lnk::kStatusUnloadTime, 2);
  SimStep(sim, 5);
  EXPECT_EQ(sim.reg[lnk::kStatusBatchState], lnk::kBatchStateIdle);

  SendByte(sim, 0, lnk::kStatusDryerType, lnk::kDryerTypeStagedBatch);
  const uint16_t batches = SimU16HighFirst(sim, lnk::kStatusBatchCounter);
  std::vector<int> phases;
  for (int s = 0; s < 9; ++s) {
    SimStep(sim, 1);
    if (phases.empty() || phases.back() != sim.reg[lnk::kStatusBatchState]) phases.push_back(sim.reg[lnk::kStatusBatchState]);
    if (s == 0) EXPECT_EQ(SimMinSec(sim, lnk::kStatusHiHeatCountdown), 2u) << "counts down from its preset";
  }
  EXPECT_EQ(phases, (std::vector<int>{lnk::kBatchStateHiHeat, lnk::kBatchStateCool, lnk::kBatchStateUnload, lnk::kBatchStateHiHeat}));
  EXPECT_EQ(SimU16HighFirst(sim, lnk::kStatusBatchCounter), batches + 1);

  SendByte(sim, 0, lnk::kStatusDryerType, lnk::kDryerTypeContinuous);
  SimStep(sim, 3);
  EXPECT_EQ(sim.reg[lnk::kStatusBatchState], lnk::kBatchStateIdle);
  EXPECT_EQ(SimMinSec(sim, lnk::kStatusHiHeatCountdown), 3u) << "refilled for the next batch";
}

TEST(SimDryingMode, AStagedBatchLeavesItsHeatByItsCriteriaAndSafeties) {
  constexpr uint8_t kTime = lnk::kOptionBitsTimeCriterion;
  constexpr uint8_t kTemp = lnk::kOptionBitsTemperatureCriterion;
  constexpr uint8_t kMoist = lnk::kOptionBitsMoistureCriterion;
  struct Case {
    const char* name;
    uint8_t criteria;
    uint8_t safety;
    int grainF;         // setpoint 110, limit 150
    int moisture;       // setpoint 155
    int countdownS;     // left on HI HEAT
    uint32_t heatS;     // heated so far; maximum time 60 s
    uint8_t phase;      // after one second
    int countdownAfter;  // -1: not checked
  };
  const Case cases[] = {
      {"time alone: the timer runs", kTime, 0, 140, 200, 10, 0, lnk::kBatchStateHiHeat, 9},
      {"time alone: the timer ends into the low heat", kTime, 0, 90, 200, 1, 0, lnk::kBatchStateLoHeat, -1},
      {"temperature reached", kTemp, 0, 120, 200, 600, 0, lnk::kBatchStateCool, -1},
      {"temperature not reached holds a timer that runs out", kTemp, 0, 100, 200, 1, 0, lnk::kBatchStateHiHeat, 1},
      {"time and temperature wait for the timer", kTime | kTemp, 0, 120, 200, 10, 0, lnk::kBatchStateHiHeat, 9},
      {"time and temperature both met", kTime | kTemp, 0, 120, 200, 1, 0, lnk::kBatchStateCool, -1},
      {"moisture reached", kMoist, 0, 90, 150, 600, 0, lnk::kBatchStateCool, -1},
      {"moisture not reached", kMoist, 0, 90, 200, 600, 0, lnk::kBatchStateHiHeat, 599},
      {"maximum time trips", kTemp, lnk::kDisplayOptionsMaxTimeGuard, 90, 200, 600, 60, lnk::kBatchStateCool, -1},
      {"maximum time without its guard", kTemp, 0, 90, 200, 600, 60, lnk::kBatchStateHiHeat, 599},
      {"maximum grain temperature trips", kTime, lnk::kDisplayOptionsMaxGrainTempGuard, 160, 200, 600, 0,
       lnk::kBatchStateCool, -1},
      {"maximum grain temperature without its guard", kTime, 0, 160, 200, 600, 0, lnk::kBatchStateHiHeat, 599},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Simulator sim;
    const SimScenario* batch = SimFindScenario("staged-batch");
    ASSERT_NE(batch, nullptr);
    SimInitScenario(sim, *batch);
    SimStep(sim, 1);  // the controller has taken up the batch
    sim.reg[lnk::kStatusOptionBits] = static_cast<uint8_t>(lnk::kOptionBitsTwoHeats | c.criteria);
    sim.reg[lnk::kStatusDisplayOptions] = c.safety;
    sim.reg[lnk::kStatusGrainTempSelect] = 0;
    SimSetS16LowFirst(sim, lnk::kStatusGrainTempSetpoint1, 110);
    SimSetS16LowFirst(sim, lnk::kStatusMaxGrainTempLimit, 150);
    SimSetU16HighFirst(sim, lnk::kStatusMoistureSetpoint, 155);
    SimSetMinSec(sim, lnk::kStatusStagedBatchTime, 60);
    for (double& t : sim.plant.grainTemp) t = c.grainF;
    sim.plant.outgoingMoisture = c.moisture;
    PlantAdvance(sim, 0);
    sim.reg[lnk::kStatusBatchState] = lnk::kBatchStateHiHeat;
    SimSetMinSec(sim, lnk::kStatusHiHeatCountdown, static_cast<uint32_t>(c.countdownS));
    sim.drying.heatS = c.heatS;
    SimStep(sim, 1);
    EXPECT_EQ(sim.reg[lnk::kStatusBatchState], c.phase);
    if (c.countdownAfter >= 0) EXPECT_EQ(SimMinSec(sim, lnk::kStatusHiHeatCountdown), static_cast<uint32_t>(c.countdownAfter));
    EXPECT_EQ(sim.reg[lnk::kStatusDryerType], lnk::kDryerTypeStagedBatch);
  }
}
