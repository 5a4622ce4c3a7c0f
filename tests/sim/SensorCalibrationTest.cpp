// The simulated controller's trims: two dryers run side by side from the same start, one with
// calibration offsets and a bushel multiplier set, and differ in their reports by exactly those.
#include <gtest/gtest.h>

#include "link/RegisterMap.h"
#include "sim/Simulator.h"

using lnk::kStatusBushelCalibration;
using lnk::kStatusBushelCounter;
using lnk::kStatusIncomingGrainTenthsF;
using lnk::kStatusIncomingMoisture;
using lnk::kStatusMoistureCalibration1;
using lnk::kStatusMoistureCalibration2;
using lnk::kStatusMoistureCalibration3;
using lnk::kStatusMoistureCalibration4;
using lnk::kStatusOutgoingGrainTenthsF;
using lnk::kStatusOutgoingMoisture;
using lnk::kStatusUnloadPanel173;

namespace {

struct Trim {
  int offsetReg;
  int offset;  // tenths
  int reading;
};
constexpr Trim kTrims[] = {
    {kStatusMoistureCalibration1, -5, kStatusOutgoingMoisture},
    {kStatusMoistureCalibration2, 12, kStatusIncomingMoisture},
    {kStatusMoistureCalibration3, -100, kStatusOutgoingGrainTenthsF},
    {kStatusMoistureCalibration4, 100, kStatusIncomingGrainTenthsF},
};

TEST(SensorCalibration, OffsetsMoveTheReportedReadingsAndTheMultiplierTheBushels) {
  Simulator plain;
  Simulator trimmed;
  SimInit(plain);
  SimInit(trimmed);
  for (const Trim& t : kTrims) SimSetU16HighFirst(trimmed, t.offsetReg, static_cast<uint16_t>(static_cast<int16_t>(t.offset)));
  trimmed.reg[kStatusBushelCalibration] = 150;
  const uint32_t startCount = SimU32LowFirst(plain, kStatusBushelCounter);
  SimStep(plain, 30);
  SimStep(trimmed, 30);
  for (const Trim& t : kTrims)
    EXPECT_EQ(SimU16HighFirst(trimmed, t.reading) - SimU16HighFirst(plain, t.reading), t.offset) << "reading " << t.reading;

  const int rate = SimU16HighFirst(plain, kStatusUnloadPanel173);
  ASSERT_GT(rate, 0) << "the default dryer unloads";
  EXPECT_NEAR(SimU16HighFirst(trimmed, kStatusUnloadPanel173), rate * 1.5, 1.0);
  const double counted = SimU32LowFirst(plain, kStatusBushelCounter) - startCount;
  EXPECT_NEAR(SimU32LowFirst(trimmed, kStatusBushelCounter) - startCount, counted * 1.5, 40.0);  // each second rounds its rate
}

}  // namespace
