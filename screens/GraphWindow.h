#pragma once
// The graph screen (GRAPH_WINDOW): six trace buttons, an hour-by-hour scroll bar, the setup
// button, and the drawing child (DRAW_GRAPH_WINDOW) with the traces of the chosen window.
#include "platform/Window.h"

namespace screens {

inline constexpr int kGraphScrollBarId = 36899;
inline constexpr int kGraphSetupButtonId = 36879;
inline constexpr int kGraphDrawId = 36878;
inline constexpr int kGraphFirstTraceButtonId = 36872;  // 36872..36877, one per trace bit
inline constexpr const char* kGraphNote = "DRYER VARIABLES ARE SAMPLED ONCE EACH MINUTE";

// Hours back from the newest record that the graph shows.
int GraphScrollOffset();

}  // namespace screens
