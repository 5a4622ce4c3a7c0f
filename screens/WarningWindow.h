#pragma once
// WARNING_WINDOW: the warning the controller reports, or the connection-lost picture while the
// link is down; its HELP button opens the warning help dialog.
#include "platform/Window.h"

namespace screens {

inline constexpr int kWarningHelpButton = 34884;

// One step of the connection-lost marker along its bar, taken by the blink tick while the
// window is visible and shows that picture; the paint only draws the marker where it is.
void StepWarningMarker(plat::Hwnd warning);

}  // namespace screens
