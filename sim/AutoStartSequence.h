#pragma once
// The controller's own auto-start: when bit 0 of 1:23 rises on a dryer that does not run, the
// state bits of 1:24 step from preparing (bit 1) to warming (bit 2) to done (bit 7), the per-unit
// times of 1:38..1:63 advance, and the dryer is started between the first two steps. Clearing
// bit 0 before the end cancels and stops the dryer; at the end the controller withdraws bit 0.
#include "sim/Simulator.h"

inline constexpr uint32_t kSimAutoStartPrepareS = 20;  // fans purge, the dryer still waits
inline constexpr uint32_t kSimAutoStartWarmS = 40;     // the dryer runs, the burners come up in turn
inline constexpr uint32_t kSimAutoStartTotalS = kSimAutoStartPrepareS + kSimAutoStartWarmS;
inline constexpr uint32_t kSimAutoStartUnitStaggerS = 5;  // each lower unit starts heating later

// One step of `dt` simulated seconds, after the plant's.
void SimAutoStartStep(Simulator& sim, double dt);
