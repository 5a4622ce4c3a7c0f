// The controller's own auto-start, second by second: the per-unit times it reports and a
// cancel once the dryer already runs (the panel's view of a whole run is the end-to-end test's).
#include <gtest/gtest.h>

#include "link/RegisterMap.h"
#include "sim/AutoStartSequence.h"
#include "sim/Simulator.h"

using namespace lnk;

namespace {

int Word(const Simulator& sim, int at) { return sim.reg[at] | (sim.reg[at + 1] << 8); }
bool Running(const Simulator& sim) { return (sim.reg[kStatusRunFlags] & kRunFlagsRunning) != 0; }

}  // namespace

TEST(AutoStartSequence, UnitsPurgeThenHeatInTurnAndACancelWhileWarmingStopsTheDryer) {
  Simulator sim;
  SimInitScenario(sim, *SimFindScenario("auto-start-active"));
  SimStep(sim, kSimAutoStartPrepareS - 1);
  EXPECT_EQ(sim.reg[kStatusOptionWithdraw], kAutoStartRunningBit);
  EXPECT_FALSE(Running(sim));
  EXPECT_FALSE(sim.reg[kStatusSwitches] & kSwitchesDryerRunning);
  EXPECT_EQ(Word(sim, kStatusUnitCounterA1), static_cast<int>(kSimAutoStartPrepareS - 1));
  EXPECT_EQ(Word(sim, kStatusUnitCounterB1), 0);
  EXPECT_EQ(Word(sim, kStatusRunTimeCounter1), static_cast<int>(kSimAutoStartTotalS));

  SimStep(sim, kSimAutoStartUnitStaggerS + 4);
  EXPECT_EQ(sim.reg[kStatusOptionWithdraw], kAutoStartWaitingBit);
  EXPECT_TRUE(Running(sim));
  EXPECT_TRUE(sim.reg[kStatusSwitches] & kSwitchesDryerRunning);
  EXPECT_EQ(Word(sim, kStatusUnitCounterA1), static_cast<int>(kSimAutoStartPrepareS)) << "purge is over";
  EXPECT_EQ(Word(sim, kStatusUnitCounterB1), static_cast<int>(kSimAutoStartUnitStaggerS + 3));
  EXPECT_EQ(Word(sim, kStatusUnitCounterB1 + 2), 3) << "unit 2 heats a stagger later";

  sim.reg[kStatusOptionBits2] &= static_cast<uint8_t>(~kOptionBits2QuickStart);
  SimStep(sim, 1);
  EXPECT_EQ(sim.reg[kStatusOptionWithdraw], 0);
  EXPECT_FALSE(Running(sim));
  SimStep(sim, kSimAutoStartTotalS);
  EXPECT_EQ(sim.reg[kStatusOptionWithdraw], 0) << "nothing resumes";
}
