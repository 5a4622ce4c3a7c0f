#pragma once
// Dialog 202 "CHECK LIGHT OUTPUTS": each of the sixteen lamp outputs of the control panel with
// an ACTIVATED and a SHORTED mark, following the status record while open.
#include "platform/Window.h"

namespace dialogs {

inline constexpr int kLightOutputsDialogId = 202;

enum LightOutputsControl : int {
  kLightsHelp = 1050,
  kLightsExit = 1043,
  kLightActivatedFirst = 1101,  // + output index (J1-01 .. J1-08, J2-01 .. J2-08)
  kLightShortedFirst = 1121,
  kLightLabelFirst = 1141,
};

void OpenLightOutputsDialog(plat::Hwnd parent);

}  // namespace dialogs
