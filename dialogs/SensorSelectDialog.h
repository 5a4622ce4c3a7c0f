#pragma once
// Dialog 613, the moisture sensor selection: the wet (incoming) and the dry (exiting) sensor,
// each analog or on the controller network (page 1 register 31). ACCEPT sends a change,
// CANCEL leaves.
#include "platform/Window.h"

namespace dialogs {

inline constexpr int kSensorSelectDialogId = 613;

enum SensorSelectControl : int {
  kSensorWetGroup = 1600,
  kSensorWetAnalog = 1601,
  kSensorWetNetwork = 1602,
  kSensorDryGroup = 1603,
  kSensorDryAnalog = 1604,
  kSensorDryNetwork = 1605,
  kSensorAccept = 1606,
  kSensorCancel = 1607,
};

// Runs the dialog modally over `parent`; returns the id of the button that closed it.
int OpenSensorSelectDialog(plat::Hwnd parent);

}  // namespace dialogs
