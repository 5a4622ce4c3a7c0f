#pragma once
// Dialog 435 "BRACKETED 5 SPEED MOISTURE CONTROL SETUP - 23": the outer and inner bands around
// the setpoint, each a moisture (or grain temperature) offset and a metering speed offset, with
// the actual speeds they give. Opened from the continuous flow setup.
#include "platform/Window.h"

namespace dialogs {

inline constexpr int kFiveSpeedDialogId = 435;

enum FiveSpeedControl : int {
  kFiveSpeedMoistureUp = 1240,
  kFiveSpeedMoistureDown = 1241,
  kFiveSpeedSpeedUp = 1242,
  kFiveSpeedSpeedDown = 1243,
  kFiveSpeedSelect = 1244,
  kFiveSpeedAccept = 1245,
  kFiveSpeedDefaults = 1246,
  kFiveSpeedCentre = 1252,
  kFiveSpeedCentreSpeed = 1263,
  kFiveSpeedSelected = 1264,
};
// Rows from the top: +outer, +inner, -inner, -outer.
inline constexpr int kFiveSpeedMoistureFields[4] = {1250, 1251, 1253, 1254};
inline constexpr int kFiveSpeedOffsetFields[4] = {1255, 1256, 1257, 1258};
inline constexpr int kFiveSpeedActualFields[4] = {1259, 1260, 1261, 1262};

// Runs the dialog over `parent` for moisture-control mode `mode` (the low bits of 0:187 as the
// opener has them); returns the id of the button that closed it.
int OpenFiveSpeedDialog(plat::Hwnd parent, int mode);

}  // namespace dialogs
