// The temperature screen's rules without windows: which setpoint buttons each dryer shows, and
// the registers, limits and opening value each button hands to the setpoint keypad.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "dialogs/KeypadLogic.h"
#include "link/DryerStatus.h"
#include "link/SettingRequest.h"
#include "screens/TempSelectLogic.h"

namespace {

lnk::DryerStatus Status(int dryerType, int plenumCode, bool twoHeat = false, bool series = false) {
  lnk::DryerStatus s;
  std::memset(&s, 0, sizeof s);
  s.b[lnk::kStatusDryerType] = static_cast<uint8_t>(dryerType);
  s.b[lnk::kStatusFanHeaterCount] = static_cast<uint8_t>(plenumCode);
  if (twoHeat) s.b[lnk::kStatusOptionBits] = 0x02;
  if (series) s.b[lnk::kStatusConfigBits] = 0x20;
  return s;
}

std::vector<PlenumButton> Shown(const bool shown[kPlenumButtonCount]) {
  std::vector<PlenumButton> out;
  for (int i = 0; i < kPlenumButtonCount; ++i)
    if (shown[i]) out.push_back(static_cast<PlenumButton>(i));
  return out;
}

std::vector<PlenumButton> Choose(const lnk::DryerStatus& s) {
  bool shown[kPlenumButtonCount];
  InitialPlenumButtons(shown);
  EXPECT_TRUE(ChoosePlenumButtons(s, shown));
  return Shown(shown);
}

using PB = PlenumButton;
const std::vector<PB> kByCode[5] = {
    {PB::Plenum1},
    {PB::Plenum1, PB::Plenum2},
    {PB::Plenum1, PB::Plenum2, PB::Plenum3},
    {PB::Plenum1, PB::Plenum2, PB::Plenum3, PB::Plenum4},
    {PB::Plenum1, PB::Plenum2, PB::Plenum3, PB::Plenum4, PB::Plenum5, PB::Plenum6},
};

}  // namespace

TEST(TempSelectButtons, PlenumCountCodeDecidesThePlenumButtonsOfBothSingleLevelTypes) {
  for (int type : {0, 1}) {
    for (int code = 0; code <= 4; ++code)
      EXPECT_EQ(Choose(Status(type, code)), kByCode[code]) << "type " << type << " code " << code;
    // A code past the table's end shows all six rather than nothing.
    EXPECT_EQ(Choose(Status(type, 9)), kByCode[4]);
  }
}

TEST(TempSelectButtons, SingleSeriesSwitchHidesPlenumsTwoAndThreeOnContinuousDryersOnly) {
  EXPECT_EQ(Choose(Status(0, 4, false, true)), (std::vector<PB>{PB::Plenum1, PB::Plenum4, PB::Plenum5, PB::Plenum6}));
  EXPECT_EQ(Choose(Status(0, 1, false, true)), (std::vector<PB>{PB::Plenum1}));
  EXPECT_EQ(Choose(Status(1, 4, false, true)), kByCode[4]);

  // With the switch set only plenum 1's setpoint is drawn beside its button.
  const lnk::DryerStatus series = Status(0, 4, false, true);
  EXPECT_TRUE(PlenumValueDrawn(series, PB::Plenum1));
  EXPECT_FALSE(PlenumValueDrawn(series, PB::Plenum4));
  EXPECT_TRUE(PlenumValueDrawn(Status(0, 4), PB::Plenum4));
}

TEST(TempSelectButtons, TwoHeatLevelBatchShowsTheGridAndItsRightColumnOnlyWithASecondPlenum) {
  EXPECT_EQ(Choose(Status(1, 0, true)), (std::vector<PB>{PB::HiHeat1, PB::LoHeat1}));
  EXPECT_EQ(Choose(Status(1, 1, true)), (std::vector<PB>{PB::HiHeat1, PB::LoHeat1, PB::HiHeat2, PB::LoHeat2}));
  EXPECT_EQ(Choose(Status(1, 4, true)), (std::vector<PB>{PB::HiHeat1, PB::LoHeat1, PB::HiHeat2, PB::LoHeat2}));
  EXPECT_FALSE(PlenumButtonActs(Status(1, 0, true), PB::HiHeat2));
  EXPECT_TRUE(PlenumButtonActs(Status(1, 1, true), PB::HiHeat2));
  EXPECT_TRUE(PlenumButtonActs(Status(1, 0, true), PB::HiHeat1));
  // Bit 1 of byte 257 means two heat levels only on a batch dryer.
  EXPECT_EQ(Choose(Status(0, 1, true)), kByCode[1]);
  EXPECT_FALSE(HasTwoHeatLevels(Status(3, 1, true)));
}

TEST(TempSelectButtons, UnknownDryerTypesLeaveTheButtonsAsTheyWere) {
  bool shown[kPlenumButtonCount];
  InitialPlenumButtons(shown);
  ASSERT_TRUE(ChoosePlenumButtons(Status(1, 1, true), shown));
  const std::vector<PB> before = Shown(shown);
  for (int type : {2, 3, 7}) {
    EXPECT_FALSE(ChoosePlenumButtons(Status(type, 4), shown));
    EXPECT_EQ(Shown(shown), before) << "type " << type;
  }
}

TEST(TempSelectButtons, PlenumsStandInTwoColumnsNumberedFromTheBottom) {
  const auto& p = kPlenumButtons;
  for (int n : {1, 2}) {
    EXPECT_EQ(p[n].place.left, p[0].place.left) << "plenum " << n + 1 << " beside plenum 1";
    EXPECT_LT(p[n].place.bottom, p[n - 1].place.top + 1) << "plenum " << n + 1 << " above plenum " << n;
    EXPECT_EQ(p[n + 3].place.top, p[n].place.top);
  }
  EXPECT_GT(p[3].place.left, p[0].value.right - 1) << "plenum 4 starts the right column";
  EXPECT_EQ(p[3].place.top, p[0].place.top);
  // The value boxes sit beside their buttons without covering another button.
  for (const PlenumButtonPlace& a : kPlenumButtons) {
    EXPECT_GE(a.value.left, a.place.right);
    for (const PlenumButtonPlace& b : kPlenumButtons) {
      const bool sameLayout = (a.button < PB::HiHeat1) == (b.button < PB::HiHeat1);
      if (sameLayout) {
        EXPECT_TRUE(plat::Intersect(a.value, b.place).Empty());
      }
    }
  }
}

namespace {

struct Expected {
  TempSetpoint setpoint;
  int firstRegister;
  int maximum, defaultF, minimum;
};

}  // namespace

TEST(TempSelectSetpoints, EachSetpointOpensTheKeypadOnItsRegistersWithItsLimits) {
  const Expected kTable[] = {
      {TempSetpoint::Plenum1, lnk::RegisterIndex(0, 69), 250, 180, 50},
      {TempSetpoint::Plenum2, lnk::RegisterIndex(0, 67), 250, 180, 50},
      {TempSetpoint::Plenum3, lnk::RegisterIndex(0, 65), 250, 180, 50},
      {TempSetpoint::Plenum4, lnk::RegisterIndex(0, 63), 250, 180, 50},
      {TempSetpoint::Plenum5, lnk::RegisterIndex(0, 61), 250, 180, 50},
      {TempSetpoint::Plenum6, lnk::RegisterIndex(0, 59), 250, 180, 50},
      {TempSetpoint::LoHeat1, lnk::RegisterIndex(1, 4), 250, 180, 50},
      {TempSetpoint::LoHeat2, lnk::RegisterIndex(1, 2), 250, 180, 50},
      {TempSetpoint::Grain, lnk::RegisterIndex(0, 149), 160, 105, 50},
      {TempSetpoint::GrainType3, lnk::RegisterIndex(0, 151), 180, 120, 50},
      {TempSetpoint::GrainTwoHeatFirst, lnk::RegisterIndex(0, 151), 180, 120, 50},
      {TempSetpoint::GrainTwoHeatSecond, lnk::RegisterIndex(0, 153), 180, 105, 50},
  };
  for (int n = 1; n <= 6; ++n)
    EXPECT_EQ(lnk::RowRegister(lnk::RowInfo(TempSetpointInfo(PlenumSetpoint(n)).row)), lnk::RegisterIndex(0, 71 - 2 * n));
  for (const Expected& e : kTable) {
    lnk::DryerStatus s = Status(0, 4);
    // A value above 255 shows the low byte comes first.
    s.b[e.firstRegister] = 0x2C;
    s.b[e.firstRegister + 1] = 0x01;
    SetpointEntryRequest r{};
    r.digits = 2;
    r.typedOnce = 1;
    OpenTempSetpointEntry(r, s, e.setpoint, false);
    const int i = static_cast<int>(e.setpoint);
    EXPECT_EQ(lnk::RowRegister(lnk::RowInfo(r.row)), e.firstRegister) << "setpoint " << i;
    EXPECT_EQ(lnk::RowInfo(r.row).count, 2) << "setpoint " << i;
    EXPECT_EQ(r.maximum, e.maximum) << "setpoint " << i;
    EXPECT_EQ(r.defaultValue, e.defaultF) << "setpoint " << i;
    EXPECT_EQ(r.minimum, e.minimum) << "setpoint " << i;
    EXPECT_EQ(r.value, 300) << "setpoint " << i;
    EXPECT_EQ(r.digits, 0) << "the opener resets the digit machine";
    EXPECT_EQ(r.typedOnce, 0);
    EXPECT_EQ(TempSetpointF(s, e.setpoint), 300);
  }
}

TEST(TempSelectSetpoints, CelsiusOpensOnTheConvertedValueAndDrawsTheDegreeSign) {
  lnk::DryerStatus s = Status(0, 0);
  s.b[lnk::RegisterIndex(0, 69)] = 180;
  SetpointEntryRequest r{};
  OpenTempSetpointEntry(r, s, TempSetpoint::Plenum1, true);
  EXPECT_EQ(r.value, 82);
  EXPECT_TRUE(r.celsius);
  EXPECT_EQ(r.maximum, 250) << "limits stay in degrees F";

  char text[24];
  FormatTempSetpointValue(text, sizeof text, 180, false);
  EXPECT_STREQ(text, " 180 \xb0" "F ");
  FormatTempSetpointValue(text, sizeof text, 180, true);
  EXPECT_STREQ(text, "  82 \xb0" "C ");
  // Truncation toward zero, as the keypad converts: 0 °F is -17 °C, not -18.
  FormatTempSetpointValue(text, sizeof text, 0, true);
  EXPECT_STREQ(text, " -17 \xb0" "C ");
}

TEST(TempSelectSetpoints, GrainButtonsByDryerType) {
  for (int type : {0, 1}) {
    const lnk::DryerStatus s = Status(type, 0);
    EXPECT_TRUE(GrainButtonShown(s, GrainButton::Single));
    EXPECT_FALSE(GrainButtonShown(s, GrainButton::TwoHeatFirst));
    EXPECT_EQ(GrainButtonSetpoint(s, GrainButton::Single), TempSetpoint::Grain);
  }
  const lnk::DryerStatus third = Status(3, 0, true);
  EXPECT_TRUE(GrainButtonShown(third, GrainButton::Single));
  EXPECT_EQ(GrainButtonSetpoint(third, GrainButton::Single), TempSetpoint::GrainType3);

  const lnk::DryerStatus twoHeat = Status(1, 0, true);
  EXPECT_FALSE(GrainButtonShown(twoHeat, GrainButton::Single));
  EXPECT_TRUE(GrainButtonShown(twoHeat, GrainButton::TwoHeatFirst));
  EXPECT_TRUE(GrainButtonShown(twoHeat, GrainButton::TwoHeatSecond));
  EXPECT_EQ(GrainButtonSetpoint(twoHeat, GrainButton::TwoHeatFirst), TempSetpoint::GrainTwoHeatFirst);
  EXPECT_EQ(GrainButtonSetpoint(twoHeat, GrainButton::TwoHeatSecond), TempSetpoint::GrainTwoHeatSecond);
}
