#pragma once
// Dialog 226: the unload bushels setup, which calibrates the bushels-per-hour figure with a
// multiplier and zeroes the total bushel counter.

namespace dialogs {

inline constexpr int kUnloadBushelsDialogId = 226;

enum UnloadBushelsControl : int {
  kBushelsIncrease = 1171,
  kBushelsDecrease = 1172,
};

// The multiplier's step buttons, which repeat while held.
inline constexpr int kUnloadBushelsRepeatButtons[2] = {kBushelsIncrease, kBushelsDecrease};

}  // namespace dialogs
