// The panel's lights and switch inputs in the simulator: they follow the plant until a forced
// value's time comes, and from then on carry the forced value whatever the plant does.
#include <gtest/gtest.h>

#include "link/RegisterMap.h"
#include "sim/Plant.h"
#include "sim/Simulator.h"

TEST(PanelIo, ForcedLampAndSwitchHoldTheirValueFromTheirSecondOnOverThePlant) {
  SimFaults f;
  const lnk::PanelBit fan1 = lnk::kLightFan[0];
  f.forced[f.forcedCount++] = SimForcedBit{.byte = static_cast<uint16_t>(fan1.byte), .mask = fan1.mask, .value = false, .fromS = 30};
  f.forced[f.forcedCount++] = SimForcedBit{.byte = lnk::kStatusConnector180, .mask = 0x08, .value = true, .fromS = 30};
  Simulator sim;
  SimInit(sim, f);  // the running two-unit dryer: fan 1 runs
  SimStep(sim, 20);
  EXPECT_NE(sim.reg[fan1.byte] & fan1.mask, 0) << "the lamp follows the running fan";
  EXPECT_EQ(sim.reg[lnk::kStatusConnector180] & 0x08, 0);
  SimStep(sim, 20);
  EXPECT_EQ(sim.reg[fan1.byte] & fan1.mask, 0) << "forced off while the fan runs";
  EXPECT_NE(sim.reg[lnk::kStatusConnector180] & 0x08, 0) << "FAN 2 ON forced";
  EXPECT_NE(sim.reg[lnk::kLightFan[1].byte] & lnk::kLightFan[1].mask, 0) << "the other lamps still follow the plant";
  EXPECT_TRUE(PanelIoByte(lnk::kStatusDryerTypeSwitch));
  EXPECT_FALSE(PanelIoByte(lnk::kStatusBurnerMode1)) << "only lamp and switch bytes may be forced";
}
