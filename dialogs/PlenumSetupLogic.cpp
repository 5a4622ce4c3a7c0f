#include "dialogs/PlenumSetupLogic.h"

#include <cstdio>

#include "i18n/LineText.h"
#include "link/Temperature.h"
#include "link/DryerStatus.h"
#include "link/SettingRequest.h"

namespace {

constexpr int kDifferentialRegisterBase = lnk::kStatusPlenumDifferential1 + kDifferentialPlenums;  // 101

int ClampPlenum(int plenum) { return plenum < 1 || plenum > kDifferentialPlenums ? 1 : plenum; }

// What the dialog opens on: the value still waiting to be sent, else the controller's.
uint8_t WorkingByte(const lnk::DryerStatus& s, int reg, lnk::CommandRow row) {
  return lnk::IsPending(row) ? lnk::ReadRequestByte(reg) : s.b[reg];
}

bool RaiseIfChanged(const lnk::DryerStatus& s, int reg, lnk::CommandRow row, uint8_t value) {
  if (value == s.b[reg] && !lnk::IsPending(row)) return false;
  lnk::RequestByte(reg, value, row);
  return true;
}

}  // namespace

int PlenumDifferentialRegister(int plenum) { return kDifferentialRegisterBase - ClampPlenum(plenum); }

lnk::CommandRow PlenumDifferentialRow(int plenum) {
  constexpr lnk::CommandRow kRows[kDifferentialPlenums] = {
      lnk::CommandRow::PlenumDifferential6, lnk::CommandRow::PlenumDifferential5, lnk::CommandRow::PlenumDifferential4,
      lnk::CommandRow::PlenumDifferential3, lnk::CommandRow::PlenumDifferential2, lnk::CommandRow::PlenumDifferential1,
  };
  return kRows[ClampPlenum(plenum) - 1];
}

void OpenBurnerDifferentials(BurnerDifferentials& d, const lnk::DryerStatus& s) {
  for (int n = 1; n <= kDifferentialPlenums; ++n)
    d.value[n - 1] = WorkingByte(s, PlenumDifferentialRegister(n), PlenumDifferentialRow(n));
  d.selected = 1;
}

void SelectDifferentialPlenum(BurnerDifferentials& d, int plenum) { d.selected = ClampPlenum(plenum); }

void SetSelectedDifferential(BurnerDifferentials& d, int degrees) {
  if (degrees < kDifferentialMinimum || degrees > kDifferentialMaximum) return;
  d.value[ClampPlenum(d.selected) - 1] = static_cast<uint8_t>(degrees);
}

int AcceptBurnerDifferentials(const BurnerDifferentials& d, const lnk::DryerStatus& s) {
  int raised = 0;
  for (int n = 1; n <= kDifferentialPlenums; ++n)
    if (RaiseIfChanged(s, PlenumDifferentialRegister(n), PlenumDifferentialRow(n), d.value[n - 1])) ++raised;
  return raised;
}

size_t FormatDifferential(const char16_t* label, int degrees, char16_t* out, size_t size) {
  char number[24];
  std::snprintf(number, sizeof number, ": %3d %cF ", degrees, lnk::kDegreeSign);
  LineText line(out, size);
  line.Add(label).AddLatin1(number);
  return line.Length();
}

uint8_t OpenManagerValue(const lnk::DryerStatus& s) {
  return WorkingByte(s, lnk::kStatusSetup50, lnk::CommandRow::SetupByte50);
}

uint8_t ToggleManager(uint8_t v) { return static_cast<uint8_t>(v ^ kManagerOnBit); }

namespace {

int StepIndex(int index, bool up) { return (index + (up ? 1 : kManagerSteps - 1)) % kManagerSteps; }

}  // namespace

uint8_t StepManagerTime(uint8_t v, bool up) {
  const int index = StepIndex(ManagerTimeIndex(v), up);
  return static_cast<uint8_t>((v & ~kManagerTimeMask) | (index << kManagerTimeShift));
}

uint8_t StepManagerSize(uint8_t v, bool up) {
  const int index = StepIndex(ManagerSizeIndex(v), up);
  return static_cast<uint8_t>((v & ~kManagerSizeMask) | index);
}

bool AcceptManager(uint8_t v, const lnk::DryerStatus& s) {
  return RaiseIfChanged(s, lnk::kStatusSetup50, lnk::CommandRow::SetupByte50, v);
}

size_t FormatManagerTime(uint8_t v, const char16_t* unit, char16_t* out, size_t size) {
  LineText line(out, size);
  line.AddLatin1(kManagerMinutesTexts[ManagerTimeIndex(v)]).AddLatin1(" ").Add(unit);
  return line.Length();
}

size_t FormatManagerSize(uint8_t v, char16_t* out, size_t size) {
  const char unit[4] = {' ', lnk::kDegreeSign, 'F', 0};
  LineText line(out, size);
  line.AddLatin1(kManagerDegreesTexts[ManagerSizeIndex(v)]).AddLatin1(unit);
  return line.Length();
}
