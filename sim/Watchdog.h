#pragma once
// The controller's watch on the panel (0:246): with bit 7 set, a running dryer is stopped when
// no request has been heard from the panel for the seconds in bits 0..6.
#include "sim/Simulator.h"

// The whole-second check, run from the simulated-time step.
void SimWatchdogSecond(Simulator& sim);
