#include "sim/SensorCalibration.h"

#include "link/RegisterMap.h"

using lnk::kStatusBushelCalibration;
using lnk::kStatusIncomingGrainTenthsF;
using lnk::kStatusIncomingMoisture;
using lnk::kStatusMoistureCalibration1;
using lnk::kStatusMoistureCalibration2;
using lnk::kStatusMoistureCalibration3;
using lnk::kStatusMoistureCalibration4;
using lnk::kStatusOutgoingGrainTenthsF;
using lnk::kStatusOutgoingMoisture;

namespace {

struct Trim {
  int offset;   // signed, tenths, high byte first
  int reading;  // unsigned, tenths, high byte first
};
// The dry sensor reads the exiting grain, the wet sensor the incoming grain.
constexpr Trim kTrims[4] = {
    {kStatusMoistureCalibration1, kStatusOutgoingMoisture},
    {kStatusMoistureCalibration2, kStatusIncomingMoisture},
    {kStatusMoistureCalibration3, kStatusOutgoingGrainTenthsF},
    {kStatusMoistureCalibration4, kStatusIncomingGrainTenthsF},
};

constexpr double kPercent = 100.0;

}  // namespace

void SimCalibrateSensorReadings(Simulator& sim) {
  for (const Trim& t : kTrims) {
    const int offset = static_cast<int16_t>(SimU16HighFirst(sim, t.offset));
    int value = SimU16HighFirst(sim, t.reading) + offset;
    if (value < 0) value = 0;
    if (value > 0xFFFF) value = 0xFFFF;
    SimSetU16HighFirst(sim, t.reading, static_cast<uint16_t>(value));
  }
}

double SimCalibratedBushelRate(const Simulator& sim, double rate) {
  return rate * sim.reg[kStatusBushelCalibration] / kPercent;
}
