#pragma once
// Dialog 166 "MODIFYING METER ROLL SPEED SETPOINTS (Use knob on control panel) - 23": the
// HIGH, MEDIUM and LOW meter-roll speeds as bars, edited in the request array while it is open
// and sent on ACCEPT / EXIT; CANCEL / EXIT has the controller restore its own speeds.
#include <cstdint>

#include "platform/Window.h"

namespace dialogs {

inline constexpr int kMeterRollDialogId = 166;

enum MeterRollControl : int {
  kMeterRollAccept = 1043,
  kMeterRollCancel = 1044,
  kMeterRollDecrease = 1046,
  kMeterRollIncrease = 1047,
  kMeterRollSelect = 1048,
  kMeterRollMode = 1049,
};
// Watched, in this order, by the tenth-second tick's held-button repeat.
inline constexpr int kMeterRollRepeatButtons[2] = {kMeterRollIncrease, kMeterRollDecrease};

inline constexpr int kMeterRollMaximum = 100;
inline constexpr const char* kTrackingCaption = " SWITCH TO +/- 15% TRACKING OF CENTER";

struct MeterRollOpening {
  bool question = false;          // the meter-roll question flag: opened by the knob
  uint8_t* reminder = nullptr;    // the fifth button's meter-roll reminder, cleared on leaving
};

// Runs the dialog modally; returns kMeterRollAccept or kMeterRollCancel (or -1).
int OpenMeterRollDialog(plat::Hwnd parent, const MeterRollOpening& opening = {});

// Read by the link thread (through the shell's link events): the dialog is on screen, and its
// question flag is set.
bool MeterRollDialogVisible();
bool MeterRollQuestionPending();

// The panel's set-meter-roll-speed-by-screen mode, switched from the diagnostics: while it is
// on, INCREASE, DECREASE and SELECT work whatever opened the dialog, not only the knob.
void SetMeterRollByScreen(bool on);
bool MeterRollByScreen();

}  // namespace dialogs
