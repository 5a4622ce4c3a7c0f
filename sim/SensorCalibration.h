#pragma once
// The controller's own trims of what it measures: the moisture sensors' calibration offsets
// added to the readings it reports, and the bushel/hour multiplier applied to the unload rate.
#include <cstdint>

#include "sim/Simulator.h"

// Adds the four signed offsets (0:232..0:235 and 0:241..0:244, tenths, high byte first) to the
// moisture and grain temperature readings just written from the plant. The readings stay at 0
// or above.
void SimCalibrateSensorReadings(Simulator& sim);

// The unload rate in bushels per hour after the multiplier of 0:163 (percent).
double SimCalibratedBushelRate(const Simulator& sim, double rate);
