#include "screens/TempSelectLogic.h"

#include <cstdio>

#include "dialogs/KeypadLogic.h"
#include "i18n/LineText.h"
#include "link/Temperature.h"
#include "i18n/Language.h"
#include "link/DryerStatus.h"
#include "link/SettingRequest.h"
#include "screens/StatusReading.h"

namespace {


constexpr TempSetpointRow kSetpoints[kTempSetpointCount] = {
    {TempSetpoint::Plenum1, lnk::CommandRow::PlenumSetpoint6, 250, 180, 50},
    {TempSetpoint::Plenum2, lnk::CommandRow::PlenumSetpoint5, 250, 180, 50},
    {TempSetpoint::Plenum3, lnk::CommandRow::PlenumSetpoint4, 250, 180, 50},
    {TempSetpoint::Plenum4, lnk::CommandRow::PlenumSetpoint3, 250, 180, 50},
    {TempSetpoint::Plenum5, lnk::CommandRow::PlenumSetpoint2, 250, 180, 50},
    {TempSetpoint::Plenum6, lnk::CommandRow::PlenumSetpoint1, 250, 180, 50},
    {TempSetpoint::LoHeat1, lnk::CommandRow::PlenumSetpoint8, 250, 180, 50},
    {TempSetpoint::LoHeat2, lnk::CommandRow::PlenumSetpoint7, 250, 180, 50},
    {TempSetpoint::Grain, lnk::CommandRow::GrainTempSetpoint1, 160, 105, 50},
    {TempSetpoint::GrainType3, lnk::CommandRow::GrainTempSetpoint2, 180, 120, 50},
    {TempSetpoint::GrainTwoHeatFirst, lnk::CommandRow::GrainTempSetpoint2, 180, 120, 50},
    {TempSetpoint::GrainTwoHeatSecond, lnk::CommandRow::GrainTempSetpoint3, 180, 105, 50},
};

// Plenums stand in two columns of three, numbered from the bottom: 1..3 left, 4..6 right.
constexpr int kButtonWidth = 150;
constexpr int kButtonHeight = 45;
constexpr int kLeftX = 20;
constexpr int kRightX = 325;
constexpr int kValueGap = 5;
constexpr int kValueWidth = 140;
constexpr int kRowY[3] = {160, 92, 24};  // bottom, middle, top
constexpr int kGridY[2] = {40, 130};    // upper, lower

constexpr plat::Rect ButtonAt(int x, int y) { return plat::RectXywh(x, y, kButtonWidth, kButtonHeight); }
constexpr plat::Rect ValueAt(int x, int y) {
  return plat::RectXywh(x + kButtonWidth + kValueGap, y, kValueWidth, kButtonHeight);
}
constexpr PlenumButtonPlace Place(PlenumButton b, int id, TempSetpoint sp, int picture, const char* text,
                                  int x, int y) {
  return PlenumButtonPlace{b, id, sp, picture, text, ButtonAt(x, y), ValueAt(x, y)};
}

}  // namespace

const PlenumButtonPlace kPlenumButtons[kPlenumButtonCount] = {
    Place(PlenumButton::Plenum1, 1201, TempSetpoint::Plenum1, 17, "PLENUM 1", kLeftX, kRowY[0]),
    Place(PlenumButton::Plenum2, 1202, TempSetpoint::Plenum2, 16, "PLENUM 2", kLeftX, kRowY[1]),
    Place(PlenumButton::Plenum3, 1203, TempSetpoint::Plenum3, 15, "PLENUM 3", kLeftX, kRowY[2]),
    Place(PlenumButton::Plenum4, 1204, TempSetpoint::Plenum4, 14, "PLENUM 4", kRightX, kRowY[0]),
    Place(PlenumButton::Plenum5, 1205, TempSetpoint::Plenum5, 13, "PLENUM 5", kRightX, kRowY[1]),
    Place(PlenumButton::Plenum6, 1206, TempSetpoint::Plenum6, 12, "PLENUM 6", kRightX, kRowY[2]),
    Place(PlenumButton::HiHeat1, 1207, TempSetpoint::Plenum1, 19, "HI HEAT 1", kLeftX, kGridY[0]),
    Place(PlenumButton::LoHeat1, 1208, TempSetpoint::LoHeat1, 20, "LO HEAT 1", kLeftX, kGridY[1]),
    Place(PlenumButton::HiHeat2, 1209, TempSetpoint::Plenum2, 71, "HI HEAT 2", kRightX, kGridY[0]),
    Place(PlenumButton::LoHeat2, 1210, TempSetpoint::LoHeat2, 70, "LO HEAT 2", kRightX, kGridY[1]),
};

const GrainButtonPlace kGrainButtons[kGrainButtonCount] = {
    {GrainButton::Single, 1211, 18, "SETUP", plat::RectXywh(kLeftX, 26, 100, 40),
     plat::RectXywh(kLeftX + 100 + kValueGap, 24, kValueWidth, kButtonHeight)},
    {GrainButton::TwoHeatFirst, 1212, 21, "HI HEAT GRAIN", ButtonAt(kLeftX, 24), ValueAt(kLeftX, 24)},
    {GrainButton::TwoHeatSecond, 1213, 22, "LO HEAT GRAIN", ButtonAt(kRightX, 24), ValueAt(kRightX, 24)},
};

const TempSetpointRow& TempSetpointInfo(TempSetpoint setpoint) {
  const int i = static_cast<int>(setpoint);
  return kSetpoints[i < kTempSetpointCount ? i : 0];
}

TempSetpoint PlenumSetpoint(int plenum) {
  if (plenum < 1 || plenum > 6) return TempSetpoint::Plenum1;
  return static_cast<TempSetpoint>(plenum - 1);
}

int TempSetpointF(const lnk::DryerStatus& s, TempSetpoint setpoint) {
  return lnk::StatusS16LowFirst(s, lnk::RowRegister(lnk::RowInfo(TempSetpointInfo(setpoint).row)));
}

void OpenTempSetpointEntry(SetpointEntryRequest& r, const lnk::DryerStatus& s, TempSetpoint setpoint,
                           bool celsius) {
  const TempSetpointRow& t = TempSetpointInfo(setpoint);
  OpenSetpointEntryFromStatus(r, s, t.row, t.minimumF, t.maximumF, t.defaultF, celsius);
}

void FormatTempSetpointValue(char* out, size_t size, int fahrenheit, bool celsius) {
  std::snprintf(out, size, " %3d %c%c ", lnk::DisplayTemperature(fahrenheit, celsius), lnk::kDegreeSign,
                celsius ? 'C' : 'F');
}

bool HasTwoHeatLevels(const lnk::DryerStatus& s) {
  return DryerType(s) == lnk::kDryerTypeBatchOption && (s.b[lnk::kStatusOptionBits] & lnk::kOptionBitsTwoHeat) != 0;
}

namespace {

bool SingleSeriesSwitch(const lnk::DryerStatus& s) {
  return (s.b[lnk::kStatusConfigBits] & lnk::kConfigBitsHardwareChoice) != 0;
}

void ShowPlenums(const lnk::DryerStatus& s, bool seriesRule, bool shown[kPlenumButtonCount]) {
  const int count = s.b[lnk::kStatusFanHeaterCount];
  const bool series = seriesRule && SingleSeriesSwitch(s);
  shown[static_cast<int>(PlenumButton::Plenum1)] = true;
  shown[static_cast<int>(PlenumButton::Plenum2)] = count >= 1 && !series;
  shown[static_cast<int>(PlenumButton::Plenum3)] = count >= 2 && !series;
  shown[static_cast<int>(PlenumButton::Plenum4)] = count >= 3;
  shown[static_cast<int>(PlenumButton::Plenum5)] = count >= 4;
  shown[static_cast<int>(PlenumButton::Plenum6)] = count >= 4;
  for (int i = static_cast<int>(PlenumButton::HiHeat1); i < kPlenumButtonCount; ++i) shown[i] = false;
}

}  // namespace

const PlenumButtonPlace* PlenumButtonById(int controlId) {
  for (const PlenumButtonPlace& p : kPlenumButtons)
    if (p.controlId == controlId) return &p;
  return nullptr;
}

const GrainButtonPlace* GrainButtonById(int controlId) {
  for (const GrainButtonPlace& g : kGrainButtons)
    if (g.controlId == controlId) return &g;
  return nullptr;
}

void InitialPlenumButtons(bool shown[kPlenumButtonCount]) {
  for (int i = 0; i < kPlenumButtonCount; ++i) shown[i] = i < static_cast<int>(PlenumButton::HiHeat1);
}

bool ChoosePlenumButtons(const lnk::DryerStatus& s, bool shown[kPlenumButtonCount]) {
  const int type = DryerType(s);
  if (type == lnk::kDryerTypeContinuous) {
    ShowPlenums(s, true, shown);
    return true;
  }
  if (type != lnk::kDryerTypeBatchOption) return false;
  if (!HasTwoHeatLevels(s)) {
    ShowPlenums(s, false, shown);
    return true;
  }
  const bool second = s.b[lnk::kStatusFanHeaterCount] >= 1;
  for (int i = 0; i < static_cast<int>(PlenumButton::HiHeat1); ++i) shown[i] = false;
  shown[static_cast<int>(PlenumButton::HiHeat1)] = true;
  shown[static_cast<int>(PlenumButton::LoHeat1)] = true;
  shown[static_cast<int>(PlenumButton::HiHeat2)] = second;
  shown[static_cast<int>(PlenumButton::LoHeat2)] = second;
  return true;
}

bool PlenumValueDrawn(const lnk::DryerStatus& s, PlenumButton button) {
  if (!SingleSeriesSwitch(s)) return true;
  const int i = static_cast<int>(button);
  return i < kPlenumButtonCount && kPlenumButtons[i].setpoint == TempSetpoint::Plenum1;
}

bool PlenumButtonActs(const lnk::DryerStatus& s, PlenumButton button) {
  if (button == PlenumButton::HiHeat2) return s.b[lnk::kStatusFanHeaterCount] >= 1;
  return button < PlenumButton::Count;
}

bool GrainButtonShown(const lnk::DryerStatus& s, GrainButton button) {
  return (button == GrainButton::Single) != HasTwoHeatLevels(s);
}

TempSetpoint GrainButtonSetpoint(const lnk::DryerStatus& s, GrainButton button) {
  switch (button) {
    case GrainButton::TwoHeatFirst: return TempSetpoint::GrainTwoHeatFirst;
    case GrainButton::TwoHeatSecond: return TempSetpoint::GrainTwoHeatSecond;
    default: return DryerType(s) == lnk::kDryerTypeHighLimit ? TempSetpoint::GrainType3 : TempSetpoint::Grain;
  }
}

size_t FormatGrainHelp(bool celsius, char16_t* out, size_t size) {
  LineText line(out, size);
  const uint16_t* ids = celsius ? kGrainHelpCelsiusIds : kGrainHelpFahrenheitIds;
  const int count = celsius ? 3 : 2;
  for (int i = 0; i < count; ++i) {
    char16_t text[i18n::kStringDestUnits] = {};
    i18n::GetString(ids[i], text);
    if (i > 0) line.AddLatin1(" ");
    line.Add(text);
  }
  return line.Length();
}
