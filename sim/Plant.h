#pragma once
// The dryer behind the registers: fans, burners, plenums, grain, moisture, metering rolls, the
// load and the batch cycle, and the panel's lights and switches. Plain functions of the
// simulator's record on simulated time; no input or output.
#include "sim/Simulator.h"

// Number of fan/heater units for the hardware code in byte 3 (0 one ... 4 six).
int PlantUnitCount(const Simulator& sim);
// A dryer with fewer units uses the highest slots (0-based here).
bool PlantSlotPresent(const Simulator& sim, int slot);

// Puts the plant into the scenario's starting state (after the registers are set).
void PlantStart(Simulator& sim);
// The whole-second work: load, batch timers, metering-roll control, counters.
void PlantSecond(Simulator& sim);
// The continuous values over `dt` seconds (at most one second), written into the registers.
void PlantAdvance(Simulator& sim, double dt);
// The warning registers at the current time: an injected warning first, then the scenario's.
void PlantWarnings(Simulator& sim);
// The panel's lights and switch inputs held by the forced bits whose time has come; run last in
// every step, so the forced value is what each frame carries.
void PanelIoStep(Simulator& sim);
// True for the status bytes that carry the panel's light outputs and switch inputs.
bool PanelIoByte(int statusByte);
