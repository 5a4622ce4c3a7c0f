#include <gtest/gtest.h>

#include <string>

#include "i18n/StringIds.h"
#include "link/DryerStatus.h"
#include "link/RegisterMap.h"
#include "screens/StatusBarRules.h"
#include "screens/StatusReading.h"

namespace {

// A dryer in its normal state (byte 171 bits 7 and 5), stopped, nothing else set.
lnk::DryerStatus Normal() {
  lnk::DryerStatus s{};
  s.b[lnk::kStatusRunFlags] = 0xA0;
  return s;
}

std::u16string Text(const StatusBarLine& line, const char16_t* label = u"L",
                    const char16_t* second = u"M") {
  char16_t out[128];
  FormatStatusBarLine(line, label, second, out, 128);
  return out;
}

void SetTime(lnk::DryerStatus& s, int byte, int minutes, int seconds) {
  s.b[byte] = static_cast<uint8_t>(minutes);
  s.b[byte + 1] = static_cast<uint8_t>(seconds);
}

TEST(StatusBar, Byte118Bit5BeatsEveryOtherRule) {
  lnk::DryerStatus s{};
  // Every other rule's condition at once.
  s.b[lnk::kStatusOptionBits2] = lnk::kOptionBits2QuickStart;
  s.b[lnk::kStatusLearningCounter] = 3;
  s.b[lnk::kStatusLoadFlags] = lnk::kLoadFlagsBit2;
  s.b[lnk::kStatusMoistureControlMode] = 3;
  s.b[lnk::kStatusDryingCriteria] = 0x88;
  s.b[lnk::kStatusSwitches] = 0x40;
  s.b[lnk::kStatusRunFlags] = 0x48;
  s.b[lnk::kStatusStatus118] = 0x20;
  StatusBarLine on = ChooseStatusBarLine(s, true);
  EXPECT_EQ(on.rule, StatusBarRule::Alarm);
  EXPECT_EQ(on.textId, kStatusBarTextAlarm);
  EXPECT_EQ(on.colour, colour::kRed);
  EXPECT_EQ(Text(on), u"L");
  StatusBarLine off = ChooseStatusBarLine(s, false);
  EXPECT_EQ(off.form, StatusBarForm::Blank);
  EXPECT_EQ(Text(off), u"                ");

  s.b[lnk::kStatusStatus118] = 0xDF;  // the other bits of 118 do nothing
  EXPECT_EQ(ChooseStatusBarLine(s, true).rule, StatusBarRule::QuickStart);
}

TEST(StatusBar, OutOfGrainColourByTheShareLeft) {
  lnk::DryerStatus s{};  // byte 171 clear: the attention state
  s.b[lnk::kStatusStatusBar28] = 0x01;
  SetTime(s, lnk::kStatusOutOfGrainTime, 8, 0);
  SetTime(s, lnk::kStatusOutOfGrainCountdown, 2, 0);
  StatusBarLine line = ChooseStatusBarLine(s, true);
  EXPECT_EQ(line.rule, StatusBarRule::OutOfGrain);
  EXPECT_EQ(line.textId, kStatusBarTextOutOfGrain);
  EXPECT_EQ(line.colour, colour::kRed);  // r = 0.25
  EXPECT_EQ(Text(line), u"L  6:00");

  SetTime(s, lnk::kStatusOutOfGrainCountdown, 2, 1);
  line = ChooseStatusBarLine(s, true);
  EXPECT_EQ(line.colour, colour::kYellow);
  EXPECT_EQ(Text(line), u"L  5:59");

  SetTime(s, lnk::kStatusOutOfGrainCountdown, 4, 0);
  EXPECT_EQ(ChooseStatusBarLine(s, true).colour, colour::kYellow);  // r = 0.5
  SetTime(s, lnk::kStatusOutOfGrainCountdown, 4, 1);
  EXPECT_EQ(ChooseStatusBarLine(s, true).colour, colour::kGreen);

  s.b[lnk::kStatusStatusBar28] = 0;
  EXPECT_EQ(Text(ChooseStatusBarLine(s, true)), u"L");
}

TEST(ScreenFaults, OutOfGrainPresetZeroNoDivision) {
  lnk::DryerStatus s{};
  s.b[lnk::kStatusStatusBar28] = 0x01;
  SetTime(s, lnk::kStatusOutOfGrainCountdown, 0, 0);
  StatusBarLine line = ChooseStatusBarLine(s, true);
  EXPECT_EQ(line.colour, colour::kRed);  // 0 / 0 would compare false everywhere
  EXPECT_EQ(Text(line), u"L  0:00");
  SetTime(s, lnk::kStatusOutOfGrainCountdown, 3, 0);  // v / 0 would be infinite: green
  EXPECT_EQ(ChooseStatusBarLine(s, true).colour, colour::kRed);
}

TEST(ScreenFaults, OutOfGrainNeverPrintsNegative) {
  lnk::DryerStatus s{};
  s.b[lnk::kStatusStatusBar28] = 0x01;
  SetTime(s, lnk::kStatusOutOfGrainTime, 1, 0);
  SetTime(s, lnk::kStatusOutOfGrainCountdown, 2, 30);
  StatusBarLine line = ChooseStatusBarLine(s, true);
  EXPECT_EQ(line.colour, colour::kGreen);
  EXPECT_EQ(Text(line), u"L  0:00");
}

TEST(StatusBar, LearningPeriodBlinksBelowSixMinutes) {
  lnk::DryerStatus s = Normal();
  s.b[lnk::kStatusRunFlags] |= 0x08;
  s.b[lnk::kStatusLoadFlags] = lnk::kLoadFlagsBit2;
  s.b[lnk::kStatusMoistureControlMode] = 3;
  s.b[lnk::kStatusLearningCounter] = 5;
  StatusBarLine on = ChooseStatusBarLine(s, true);
  EXPECT_EQ(on.rule, StatusBarRule::LearningPeriod);
  EXPECT_TRUE(on.smallFont);
  EXPECT_EQ(on.colour, plat::Rgb(200, 0, 0));
  EXPECT_EQ(Text(on), u"L 5 Minutes");
  EXPECT_EQ(ChooseStatusBarLine(s, false).form, StatusBarForm::Blank);

  s.b[lnk::kStatusLearningCounter] = 6;
  StatusBarLine steady = ChooseStatusBarLine(s, false);
  EXPECT_EQ(steady.colour, plat::Rgb(100, 255, 0));
  EXPECT_EQ(Text(steady), u"L 6 Minutes");

  s.b[lnk::kStatusLoadFlags] = 0;  // no longer active
  EXPECT_NE(ChooseStatusBarLine(s, true).rule, StatusBarRule::LearningPeriod);
}

TEST(StatusBar, TemperatureDeviationChoosesItsSetpoint) {
  lnk::DryerStatus s = Normal();
  s.b[lnk::kStatusDryingCriteria] = 0x08;
  s.b[lnk::kStatusSwitches] = 0x40;
  s.b[lnk::kStatusGrainTempSetpoint1] = 120;
  s.b[lnk::kStatusGrainTempSetpoint2] = 130;
  s.b[lnk::kStatusGrainTempSetpoint3] = 140;
  s.b[lnk::kStatusGrainTemp3] = 100;  // source 0
  s.b[lnk::kStatusGrainTemp2] = 110;  // source 1
  StatusBarLine line = ChooseStatusBarLine(s, true);
  EXPECT_EQ(line.rule, StatusBarRule::TemperatureDeviation);
  EXPECT_EQ(line.colour, colour::kGreen);
  EXPECT_EQ(Text(line), u"L [- 20 \u00B0F]");

  s.b[lnk::kStatusOptionBits] = 0x02;  // two heats: setpoint 3, or 2 with byte 148 bit 4
  EXPECT_EQ(ChooseStatusBarLine(s, true).first, 40);
  s.b[lnk::kStatusUnitStatusD1 + 5] = 0x10;
  EXPECT_EQ(ChooseStatusBarLine(s, true).first, 30);
  s.b[lnk::kStatusGrainTempSelect] = 1;  // other sources count against setpoint 1
  EXPECT_EQ(ChooseStatusBarLine(s, true).first, 10);
}

TEST(ScreenFaults, DeviationInCelsiusIsADifference) {
  lnk::DryerStatus s = Normal();
  s.b[lnk::kStatusDryingCriteria] = 0x08;
  s.b[lnk::kStatusSwitches] = 0x40;
  s.b[lnk::kStatusDisplayOptions] = lnk::kDisplayOptionsCelsius;
  s.b[lnk::kStatusGrainTempSetpoint1] = 120;
  s.b[lnk::kStatusGrainTemp3] = 102;  // 18 °F below: 10 °C, not the -7 of 18 °F as a temperature
  StatusBarLine line = ChooseStatusBarLine(s, true);
  EXPECT_EQ(line.first, 10);
  EXPECT_EQ(Text(line), u"L [- 10 \u00B0C]");
}

TEST(StatusBar, QuickStartLines) {
  lnk::DryerStatus s = Normal();
  s.b[lnk::kStatusOptionBits2] = lnk::kOptionBits2QuickStart;
  StatusBarLine line = ChooseStatusBarLine(s, true);
  EXPECT_EQ(line.textId, i18n::kStringAutoStart);
  EXPECT_EQ(line.colour, colour::kWhite);

  s.b[lnk::kStatusOptionWithdraw] = 0x02;  // auto-start running, 125 s left
  s.b[lnk::kStatusRunTimeCounter2] = 125;
  line = ChooseStatusBarLine(s, true);
  EXPECT_TRUE(line.left);
  EXPECT_EQ(Text(line), u"L 2:05");

  s.b[lnk::kStatusOptionWithdraw] = 0x06;
  EXPECT_EQ(ChooseStatusBarLine(s, true).textId, i18n::kStringAutoStartWaiting);

  s.b[lnk::kStatusRunFlags] = 0;  // attention: alternates with the out-of-grain word
  EXPECT_EQ(Text(ChooseStatusBarLine(s, true)), u"L");
  EXPECT_EQ(Text(ChooseStatusBarLine(s, false)), u"L M");
}

TEST(StatusBar, HoldTimeInTheLastThreeMinutes) {
  lnk::DryerStatus s = Normal();
  s.b[lnk::kStatusSwitches] = 0x40;
  s.b[lnk::kStatusDryingCriteria] = 0x80;
  s.b[lnk::kStatusMoistureControlMode] = 4;
  s.b[lnk::kStatusStatusBar290] = 3500 & 0xFF;
  s.b[lnk::kStatusStatusBar290 + 1] = 3500 >> 8;
  StatusBarLine line = ChooseStatusBarLine(s, true);
  EXPECT_EQ(line.rule, StatusBarRule::HoldTime);
  EXPECT_EQ(Text(line), u"L [01:40]");
  s.b[lnk::kStatusStatusBar290] = 3420 & 0xFF;  // 180 s left: not yet
  s.b[lnk::kStatusStatusBar290 + 1] = 3420 >> 8;
  EXPECT_NE(ChooseStatusBarLine(s, true).rule, StatusBarRule::HoldTime);
}

TEST(StatusBar, RunningStoppedAndIdle) {
  lnk::DryerStatus s = Normal();
  s.b[lnk::kStatusRunFlags2] = lnk::kRunFlags2Running;
  s.b[lnk::kStatusStatusBar43] = 0x01;
  SetTime(s, lnk::kStatusStatusBar39, 12, 34);
  StatusBarLine line = ChooseStatusBarLine(s, true);
  EXPECT_EQ(line.textId, kStatusBarTextRunning);
  EXPECT_EQ(line.colour, colour::kBlue);
  EXPECT_EQ(Text(line), u"L  12:34");

  s = Normal();
  s.b[lnk::kStatusStatusBar271] = 0x01;
  EXPECT_EQ(ChooseStatusBarLine(s, true).textId, kStatusBarTextStoppedBlue);
  s.b[lnk::kStatusStatusBar271] = 0x03;
  line = ChooseStatusBarLine(s, true);
  EXPECT_EQ(line.textId, kStatusBarTextStoppedRed);
  EXPECT_EQ(line.colour, colour::kRed);

  s.b[lnk::kStatusSwitches] = 0x40;
  EXPECT_EQ(ChooseStatusBarLine(s, true).textId, kStatusBarTextIdle);
  s.b[lnk::kStatusOptionBits] = 0x01;
  s.b[lnk::kStatusDryerType] = 1;
  line = ChooseStatusBarLine(s, true);
  EXPECT_EQ(line.textId, kStatusBarTextIdleOption);
  EXPECT_EQ(line.colour, colour::kRed);
}

}  // namespace
