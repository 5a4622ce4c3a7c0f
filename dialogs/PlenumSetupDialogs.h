#pragma once
// Dialog 170 "BURNER DIFFERENTIAL SETUP - 24": the swing allowed around each plenum's setpoint,
// one to five degrees F, chosen plenum by plenum; ACCEPT / EXIT sends what was changed.
// Dialog 514 "PLENUM TEMPERATURE MANAGER": the stepwise raising of the plenum temperature
// under moisture control, on or off, its time between steps and its step size.
// Both are opened modally from the setup screens.
#include "platform/Window.h"

namespace dialogs {

inline constexpr int kBurnerDifferentialDialogId = 170;
inline constexpr int kPlenumTempManagerDialogId = 514;

enum BurnerDifferentialControl : int {
  kDifferentialHelp = 1094,
  kDifferentialAccept = 1108,
};
// Plenum n's button at n - 1.
inline constexpr int kDifferentialPlenumButtons[6] = {1092, 1090, 1088, 1105, 1104, 1103};
// "+/- n DEGREES" at n - 1.
inline constexpr int kDifferentialDegreeButtons[5] = {1102, 1101, 1100, 1099, 1098};

enum PlenumTempManagerControl : int {
  kManagerOnRadio = 1302,
  kManagerOffRadio = 1303,
  kManagerSelectOnOff = 1304,
  kManagerTimeUp = 1307,
  kManagerTimeDown = 1045,
  kManagerSizeUp = 1308,
  kManagerSizeDown = 1046,
  kManagerTimeField = 1146,
  kManagerSizeField = 1147,
  kManagerHelp = 1011,
  kManagerAccept = 1008,
  kManagerCancel = 1010,
  kManagerOnOffGroup = 1300,
  kManagerTimeGroup = 1301,
  kManagerSizeGroup = 1305,
};

// Run the dialogs modally over `parent`; return the id of the button that closed them.
int OpenBurnerDifferentialDialog(plat::Hwnd parent);
int OpenPlenumTempManagerDialog(plat::Hwnd parent);

}  // namespace dialogs
