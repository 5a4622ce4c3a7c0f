#pragma once
// The burner differential dialog (170) and the plenum temperature manager dialog (514) without
// their windows: the working values, their steps, what ACCEPT raises and the texts shown.
// Both dialogs edit a working copy taken from the request while its flag is raised (a value
// not yet taken by the controller) and from the status record otherwise, and write it into the
// request only on ACCEPT, so a cancelled edit never rides along with an earlier pending one.
#include <cstddef>
#include <cstdint>

#include "link/RegisterMap.h"

namespace lnk {
struct DryerStatus;
}

// ---- Burner differentials ----

inline constexpr int kDifferentialPlenums = 6;
inline constexpr int kDifferentialMinimum = 1;
inline constexpr int kDifferentialMaximum = 5;

// Plenum n (1..6) keeps its differential at page 0 register 101 - n.
lnk::CommandRow PlenumDifferentialRow(int plenum);
int PlenumDifferentialRegister(int plenum);

struct BurnerDifferentials {
  uint8_t value[kDifferentialPlenums];  // plenum n at n - 1, degrees F
  int selected;                         // plenum 1..6
};

void OpenBurnerDifferentials(BurnerDifferentials& d, const lnk::DryerStatus& s);
void SelectDifferentialPlenum(BurnerDifferentials& d, int plenum);
// Sets the selected plenum's differential; values outside 1..5 are ignored.
void SetSelectedDifferential(BurnerDifferentials& d, int degrees);
// Writes and raises every plenum whose value differs from the controller's (or whose earlier
// request is still pending). Returns how many were raised.
int AcceptBurnerDifferentials(const BurnerDifferentials& d, const lnk::DryerStatus& s);
// "%s: %3d %cF " with the plenum's label; always degrees F, a differential has no offset to
// convert and the controller counts it in F.
size_t FormatDifferential(const char16_t* label, int degrees, char16_t* out, size_t size);

// ---- Plenum temperature manager (page 0 register 50) ----

inline constexpr uint8_t kManagerOnBit = 0x80;
inline constexpr uint8_t kManagerTimeMask = 0x38;  // bits 3..5
inline constexpr int kManagerTimeShift = 3;
inline constexpr uint8_t kManagerSizeMask = 0x07;  // bits 0..2
inline constexpr int kManagerSteps = 8;
inline constexpr const char* kManagerMinutesTexts[kManagerSteps] = {"15", "30", "45", "60",
                                                                    "90", "120", "180", "240"};
inline constexpr const char* kManagerDegreesTexts[kManagerSteps] = {"1", "2", "3", "5",
                                                                    "10", "15", "20", "25"};

uint8_t OpenManagerValue(const lnk::DryerStatus& s);
inline bool ManagerOn(uint8_t v) { return (v & kManagerOnBit) != 0; }
inline int ManagerTimeIndex(uint8_t v) { return (v & kManagerTimeMask) >> kManagerTimeShift; }
inline int ManagerSizeIndex(uint8_t v) { return v & kManagerSizeMask; }
uint8_t ToggleManager(uint8_t v);
// `up` moves the index by one, from 7 round to 0; otherwise down, from 0 round to 7.
uint8_t StepManagerTime(uint8_t v, bool up);
uint8_t StepManagerSize(uint8_t v, bool up);
// Writes and raises register 50 when the value differs from the controller's (or an earlier
// request is still pending). True when raised.
bool AcceptManager(uint8_t v, const lnk::DryerStatus& s);
// Field 1146: "%s %s" of the minutes and the unit text; field 1147: "%s %cF".
size_t FormatManagerTime(uint8_t v, const char16_t* unit, char16_t* out, size_t size);
size_t FormatManagerSize(uint8_t v, char16_t* out, size_t size);
