#pragma once
// The status chart (AVERAGE_VALUES_WINDOW): eight rows of the short-term log with a scroll
// bar, the sample-time button and the data logger's state.
#include "platform/Window.h"

namespace screens {

inline constexpr int kChartScrollBarId = 36893;
inline constexpr int kChartSampleTimeButtonId = 36900;
// Seconds a scrolled-back chart stays where the operator left it before the newest page
// comes back.
inline constexpr int kChartScrollHoldSeconds = 60;

// Called by the one-second tick: counts the scroll hold down.
void StatusChartSecond();

}  // namespace screens
