#pragma once
// Dialog 226: the unload bushels setup, which calibrates the bushels-per-hour figure with a
// multiplier and zeroes the total bushel counter.
#include <cstdint>

#include "platform/Window.h"

namespace dialogs {

inline constexpr int kUnloadBushelsDialogId = 226;

enum UnloadBushelsControl : int {
  kBushelsMultiplierField = 1146,
  kBushelsTotalField = 1147,
  kBushelsIncrease = 1171,
  kBushelsDecrease = 1172,
  kBushelsAccept = 1173,
  kBushelsClear = 1174,
  kBushelsHelp = 1175,
};

// The multiplier's step buttons, which repeat while held.
inline constexpr int kUnloadBushelsRepeatButtons[2] = {kBushelsIncrease, kBushelsDecrease};

// The bushel/hour multiplier, in percent.
inline constexpr int kBushelMultiplierMinimum = 50;
inline constexpr int kBushelMultiplierMaximum = 150;

inline constexpr const char* kClearBushelsQuestion = "Do you wish to ZERO total bushels?";
inline constexpr const char* kClearBushelsCaption = " TOTAL BUSHEL COUNTER";

// One INCREASE (+1 below the maximum) or DECREASE (-1 above the minimum).
int StepBushelMultiplier(int multiplier, bool up);
// Whole bushels of the counter's bushel-seconds, truncated.
uint32_t WholeBushels(uint32_t counter);

// Runs dialog 226 modally over `parent`; it closes through ACCEPT.
void OpenUnloadBushelsDialog(plat::Hwnd parent);

}  // namespace dialogs
