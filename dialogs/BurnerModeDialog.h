#pragma once
// Dialog 177, the burner mode selection: for each fan/heater unit present, whether its burner
// may fire or the unit runs as a fan only, and whether the controller tests the air switch.
// ACCEPT sends the units that were changed; CANCEL leaves. A single-series dryer has no burner
// modes: the dialog does not open there.
#include <cstdint>

#include "link/RegisterMap.h"
#include "platform/Window.h"

namespace lnk {
struct DryerStatus;
}  // namespace lnk

namespace dialogs {

inline constexpr int kBurnerModeDialogId = 177;

enum BurnerModeControl : int {
  kBurnerModeHelp = 1530,
  kBurnerModeAccept = 1531,
  kBurnerModeCancel = 1532,
};
// Unit n's label, burner button and air switch button at n - 1.
inline constexpr int kBurnerUnitLabels[lnk::kFanHeaterSlots] = {1501, 1502, 1503, 1504, 1505, 1506};
inline constexpr int kBurnerFireButtons[lnk::kFanHeaterSlots] = {1511, 1512, 1513, 1514, 1515, 1516};
inline constexpr int kBurnerAirSwitchButtons[lnk::kFanHeaterSlots] = {1521, 1522, 1523, 1524, 1525, 1526};

// Runs the dialog modally over `parent`; nothing on a single-series dryer.
void OpenBurnerModeDialog(plat::Hwnd parent);

// ---- Without the window ----

struct BurnerModes {
  uint8_t value[lnk::kFanHeaterSlots];  // unit n at n - 1
  int units;                            // units present, 1..6
};
// Unit n (1..6) keeps its mode at page 0 register 107 - n: like the plenums, a dryer with
// fewer units uses the highest registers.
int BurnerModeRegister(int unit);
lnk::CommandRow BurnerModeRow(int unit);
BurnerModes OpenBurnerModes(const lnk::DryerStatus& s);
void ToggleFanOnly(BurnerModes& m, int unit);
void ToggleAirSwitchTest(BurnerModes& m, int unit);
// Raises each present unit whose mode differs from the controller's; returns how many.
int AcceptBurnerModes(const BurnerModes& m);

}  // namespace dialogs
