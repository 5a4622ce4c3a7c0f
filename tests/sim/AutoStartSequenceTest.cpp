// The controller's own auto-start: the state bits it reports, the per-unit times, when the dryer
// starts, the withdrawn request at the end, and a cancel.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "link/RegisterMap.h"
#include "sim/AutoStartSequence.h"
#include "sim/Simulator.h"

namespace {

const SimScenario& Scenario(const char* name) {
  const SimScenario* s = SimFindScenario(name);
  EXPECT_NE(s, nullptr) << name;
  return s != nullptr ? *s : SimDefaultScenario();
}

uint8_t State(const Simulator& sim) { return sim.reg[kStatusOptionWithdraw]; }
bool Running(const Simulator& sim) { return (sim.reg[kStatusRunFlags] & kRunFlagsRunning) != 0; }
bool Bit6(const Simulator& sim) { return (sim.reg[kStatusSwitches] & kSwitchesDryerRunning) != 0; }
int Word(const Simulator& sim, int at) { return sim.reg[at] | (sim.reg[at + 1] << 8); }
void Request(Simulator& sim, bool on) {
  sim.reg[kStatusOptionBits2] = static_cast<uint8_t>(on ? sim.reg[kStatusOptionBits2] | kOptionBits2QuickStart
                                                        : sim.reg[kStatusOptionBits2] & ~kOptionBits2QuickStart);
}

}  // namespace

TEST(AutoStartSequence, WaitingDryerGoesThroughPreparingWarmingAndDoneAndIsLeftRunning) {
  Simulator sim;
  SimInitScenario(sim, Scenario("auto-start"));
  SimStep(sim, 5);
  ASSERT_FALSE(Running(sim));
  ASSERT_FALSE(Bit6(sim)) << "a waiting dryer may be auto-started";
  uint8_t counters[kSimAutoStartCounterBytes];
  std::memcpy(counters, sim.reg + kStatusUnitCounterA1, sizeof counters);

  Request(sim, true);
  std::vector<uint8_t> states;
  int lastPurge = -1, lastHeat = -1;
  for (uint32_t s = 1; s <= kSimAutoStartTotalS + 5; ++s) {
    SimStep(sim, 1);
    if (states.empty() || states.back() != State(sim)) states.push_back(State(sim));
    EXPECT_EQ(Bit6(sim), Running(sim)) << s;
    if (State(sim) == kAutoStartRunningBit) {
      EXPECT_FALSE(Running(sim)) << s;
      EXPECT_GT(Word(sim, kStatusUnitCounterA1), lastPurge) << "unit 1 purges, second " << s;
      lastPurge = Word(sim, kStatusUnitCounterA1);
      EXPECT_EQ(Word(sim, kStatusRunTimeCounter1), static_cast<int>(kSimAutoStartTotalS));
    }
    if (State(sim) == kAutoStartWaitingBit) {
      EXPECT_TRUE(Running(sim)) << s;
      EXPECT_GE(Word(sim, kStatusUnitCounterB1), lastHeat) << s;
      lastHeat = Word(sim, kStatusUnitCounterB1);
      EXPECT_LE(Word(sim, kStatusUnitCounterB1 + 2), Word(sim, kStatusUnitCounterB1)) << "unit 2 heats later";
    }
  }
  EXPECT_EQ(states, (std::vector<uint8_t>{kAutoStartRunningBit, kAutoStartWaitingBit, kOptionWithdrawBit}));
  EXPECT_GT(lastHeat, 0);
  EXPECT_TRUE(Running(sim));
  EXPECT_EQ(sim.reg[kStatusOptionBits2] & kOptionBits2QuickStart, 0) << "withdrawn by the controller";
  // The plant's counters are back, and count on from where they were.
  EXPECT_GE(Word(sim, kStatusUnitCounterB1), counters[kStatusUnitCounterB1 - kStatusUnitCounterA1]);
  EXPECT_LT(Word(sim, kStatusRunTimeCounter1), static_cast<int>(kSimAutoStartTotalS));
}

TEST(AutoStartSequence, ClearingTheRequestCancelsAndStopsTheDryerInEitherStep) {
  for (uint32_t cancelAt : {kSimAutoStartPrepareS / 2, kSimAutoStartPrepareS + 5}) {
    SCOPED_TRACE(cancelAt);
    Simulator sim;
    SimInitScenario(sim, Scenario("auto-start"));
    Request(sim, true);
    SimStep(sim, cancelAt);
    EXPECT_NE(State(sim), 0);
    Request(sim, false);
    SimStep(sim, 1);
    EXPECT_EQ(State(sim), 0);
    EXPECT_FALSE(Running(sim));
    EXPECT_FALSE(Bit6(sim));
    SimStep(sim, kSimAutoStartTotalS);
    EXPECT_EQ(State(sim), 0) << "nothing resumes";
  }
}

TEST(AutoStartSequence, RunningDryerOnlyEchoesAndTheActiveScenarioStartsInTheFirstStep) {
  Simulator running;
  SimInit(running);
  Request(running, true);
  SimStep(running, kSimAutoStartTotalS);
  EXPECT_EQ(State(running), 0);

  Simulator active;
  SimInitScenario(active, Scenario("auto-start-active"));
  SimStep(active, 1);
  EXPECT_EQ(State(active), kAutoStartRunningBit);
  EXPECT_FALSE(Running(active));
}
