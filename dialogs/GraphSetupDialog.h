#pragma once
// Dialog 196 "GRAPH SETUP - 25": the graph's window length, 1, 2, 4 or 8 hours, one of them
// checked; ACCEPT/EXIT takes the checked one and saves it.
#include "platform/Window.h"

namespace dialogs {

inline constexpr int kGraphSetupDialogId = 196;

enum GraphSetupControl : int {
  kGraphSetupAccept = 1008,
  kGraphSetup2Hours = 1044,
  kGraphSetup4Hours = 1045,
  kGraphSetup8Hours = 1046,
  kGraphSetupBox1 = 1049,
  kGraphSetupBox2 = 1050,
  kGraphSetupBox4 = 1051,
  kGraphSetupBox8 = 1052,
  kGraphSetup1Hour = 1103,
};

// Runs the dialog over `parent`; returns the scale (0..3) in use when it closed.
int OpenGraphSetupDialog(plat::Hwnd parent);

}  // namespace dialogs
