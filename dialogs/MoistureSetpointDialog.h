#pragma once
// Dialog 225, the moisture setpoint window: shows the setpoint being edited and opens the
// moisture keypad; placed 200 pixels right of the centre of its parent.
#include "dialogs/KeypadLogic.h"
#include "platform/Window.h"

namespace dialogs {

inline constexpr int kMoistureSetpointDialogId = 225;

enum MoistureSetpointControl : int {
  kMoistureModify = 1147,
  kMoistureExit = 1148,
};

// Runs dialog 225 modally over `parent` for the drying or the auto-start moisture setpoint.
// Returns true when a new value was stored and its row raised.
bool OpenMoistureSetpointDialog(plat::Hwnd parent, MoistureSetpoint target);

}  // namespace dialogs
