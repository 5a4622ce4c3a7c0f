#include <gtest/gtest.h>

#include <string>

#include "i18n/StringIds.h"
#include "link/DryerStatus.h"
#include "link/RegisterMap.h"
#include "screens/StatusBarRules.h"
#include "screens/StatusReading.h"

namespace {

// A dryer in its normal state (byte 171 bits 7 and 5), stopped, nothing else set.
DryerStatus Normal() {
  DryerStatus s{};
  s.b[kStatusRunFlags] = kRunFlagsGrainPresent | kRunFlagsColumnFull;
  return s;
}

std::u16string Text(const StatusBarLine& line, const char16_t* label = u"L",
                    const char16_t* second = u"M") {
  char16_t out[128];
  FormatStatusBarLine(line, label, second, out, 128);
  return out;
}

void SetTime(DryerStatus& s, int byte, int minutes, int seconds) {
  s.b[byte] = static_cast<uint8_t>(minutes);
  s.b[byte + 1] = static_cast<uint8_t>(seconds);
}

TEST(StatusBar, Byte118Bit5BeatsEveryOtherRule) {
  DryerStatus s{};
  // Every other rule's condition at once.
  s.b[kStatusOptionBits2] = kOptionBits2QuickStart;
  s.b[kStatusLearningCounter] = 3;
  s.b[kStatusLoadFlags] = kLoadFlagsBit2;
  s.b[kStatusMoistureControlMode] = 3;
  s.b[kStatusDryingCriteria] = kDryingCriteriaHoldTime | kDryingCriteriaDeviation;
  s.b[kStatusSwitches] = kSwitchesBit6;
  s.b[kStatusRunFlags] = kRunFlagsRunning | kRunFlagsLearning;
  s.b[kStatusStatus118] = kStatus118Alarm;
  StatusBarLine on = ChooseStatusBarLine(s, true);
  EXPECT_EQ(on.rule, StatusBarRule::Alarm);
  EXPECT_EQ(on.textId, kStatusBarTextAlarm);
  EXPECT_EQ(on.colour, colour::kRed);
  EXPECT_EQ(Text(on), u"L");
  StatusBarLine off = ChooseStatusBarLine(s, false);
  EXPECT_EQ(off.form, StatusBarForm::Blank);
  EXPECT_EQ(Text(off), u"                ");

  s.b[kStatusStatus118] = static_cast<uint8_t>(~kStatus118Alarm);  // the other bits of 118 do nothing
  EXPECT_EQ(ChooseStatusBarLine(s, true).rule, StatusBarRule::QuickStart);
}

TEST(StatusBar, OutOfGrainColourByTheShareLeft) {
  DryerStatus s{};  // byte 171 clear: the attention state
  s.b[kStatusStatusBar28] = kStatusBar28ShowElapsed;
  SetTime(s, kStatusOutOfGrainTime, 8, 0);
  SetTime(s, kStatusOutOfGrainCountdown, 2, 0);
  StatusBarLine line = ChooseStatusBarLine(s, true);
  EXPECT_EQ(line.rule, StatusBarRule::OutOfGrain);
  EXPECT_EQ(line.textId, kStatusBarTextOutOfGrain);
  EXPECT_EQ(line.colour, colour::kRed);  // r = 0.25
  EXPECT_EQ(Text(line), u"L  6:00");

  SetTime(s, kStatusOutOfGrainCountdown, 2, 1);
  line = ChooseStatusBarLine(s, true);
  EXPECT_EQ(line.colour, colour::kYellow);
  EXPECT_EQ(Text(line), u"L  5:59");

  SetTime(s, kStatusOutOfGrainCountdown, 4, 0);
  EXPECT_EQ(ChooseStatusBarLine(s, true).colour, colour::kYellow);  // r = 0.5
  SetTime(s, kStatusOutOfGrainCountdown, 4, 1);
  EXPECT_EQ(ChooseStatusBarLine(s, true).colour, colour::kGreen);

  s.b[kStatusStatusBar28] = 0;
  EXPECT_EQ(Text(ChooseStatusBarLine(s, true)), u"L");
}

TEST(ScreenFaults, OutOfGrainPresetZeroNoDivision) {
  DryerStatus s{};
  s.b[kStatusStatusBar28] = kStatusBar28ShowElapsed;
  SetTime(s, kStatusOutOfGrainCountdown, 0, 0);
  StatusBarLine line = ChooseStatusBarLine(s, true);
  EXPECT_EQ(line.colour, colour::kRed);  // 0 / 0 would compare false everywhere
  EXPECT_EQ(Text(line), u"L  0:00");
  SetTime(s, kStatusOutOfGrainCountdown, 3, 0);  // v / 0 would be infinite: green
  EXPECT_EQ(ChooseStatusBarLine(s, true).colour, colour::kRed);
}

TEST(ScreenFaults, OutOfGrainNeverPrintsNegative) {
  DryerStatus s{};
  s.b[kStatusStatusBar28] = kStatusBar28ShowElapsed;
  SetTime(s, kStatusOutOfGrainTime, 1, 0);
  SetTime(s, kStatusOutOfGrainCountdown, 2, 30);
  StatusBarLine line = ChooseStatusBarLine(s, true);
  EXPECT_EQ(line.colour, colour::kGreen);
  EXPECT_EQ(Text(line), u"L  0:00");
}

TEST(StatusBar, LearningPeriodBlinksBelowSixMinutes) {
  DryerStatus s = Normal();
  s.b[kStatusRunFlags] |= kRunFlagsLearning;
  s.b[kStatusLoadFlags] = kLoadFlagsBit2;
  s.b[kStatusMoistureControlMode] = 3;
  s.b[kStatusLearningCounter] = 5;
  StatusBarLine on = ChooseStatusBarLine(s, true);
  EXPECT_EQ(on.rule, StatusBarRule::LearningPeriod);
  EXPECT_TRUE(on.smallFont);
  EXPECT_EQ(on.colour, plat::Rgb(200, 0, 0));
  EXPECT_EQ(Text(on), u"L 5 Minutes");
  EXPECT_EQ(ChooseStatusBarLine(s, false).form, StatusBarForm::Blank);

  s.b[kStatusLearningCounter] = 6;
  StatusBarLine steady = ChooseStatusBarLine(s, false);
  EXPECT_EQ(steady.colour, plat::Rgb(100, 255, 0));
  EXPECT_EQ(Text(steady), u"L 6 Minutes");

  s.b[kStatusLoadFlags] = 0;  // no longer active
  EXPECT_NE(ChooseStatusBarLine(s, true).rule, StatusBarRule::LearningPeriod);
}

TEST(StatusBar, TemperatureDeviationChoosesItsSetpoint) {
  DryerStatus s = Normal();
  s.b[kStatusDryingCriteria] = kDryingCriteriaDeviation;
  s.b[kStatusSwitches] = kSwitchesBit6;
  s.b[kStatusGrainTempSetpoint1] = 120;
  s.b[kStatusGrainTempSetpoint2] = 130;
  s.b[kStatusGrainTempSetpoint3] = 140;
  s.b[kStatusGrainTemp3] = 100;  // source 0
  s.b[kStatusGrainTemp2] = 110;  // source 1
  StatusBarLine line = ChooseStatusBarLine(s, true);
  EXPECT_EQ(line.rule, StatusBarRule::TemperatureDeviation);
  EXPECT_EQ(line.colour, colour::kGreen);
  EXPECT_EQ(Text(line), u"L [- 20 \u00B0F]");

  s.b[kStatusOptionBits] = kOptionBitsTwoHeat;  // two heats: setpoint 3, or 2 with byte 148 bit 4
  EXPECT_EQ(ChooseStatusBarLine(s, true).first, 40);
  s.b[kStatusSetpointChoice] = kSetpointChoiceSecond;
  EXPECT_EQ(ChooseStatusBarLine(s, true).first, 30);
  s.b[kStatusGrainTempSelect] = 1;  // other sources count against setpoint 1
  EXPECT_EQ(ChooseStatusBarLine(s, true).first, 10);
}

TEST(ScreenFaults, DeviationInCelsiusIsADifference) {
  DryerStatus s = Normal();
  s.b[kStatusDryingCriteria] = kDryingCriteriaDeviation;
  s.b[kStatusSwitches] = kSwitchesBit6;
  s.b[kStatusDisplayOptions] = kDisplayOptionsCelsius;
  s.b[kStatusGrainTempSetpoint1] = 120;
  s.b[kStatusGrainTemp3] = 102;  // 18 °F below: 10 °C, not the -7 of 18 °F as a temperature
  StatusBarLine line = ChooseStatusBarLine(s, true);
  EXPECT_EQ(line.first, 10);
  EXPECT_EQ(Text(line), u"L [- 10 \u00B0C]");
}

TEST(StatusBar, QuickStartLines) {
  DryerStatus s = Normal();
  s.b[kStatusOptionBits2] = kOptionBits2QuickStart;
  StatusBarLine line = ChooseStatusBarLine(s, true);
  EXPECT_EQ(line.textId, i18n::kStringAutoStart);
  EXPECT_EQ(line.colour, colour::kWhite);

  s.b[kStatusOptionWithdraw] = kOptionWithdrawAutoStartActive;  // auto-start running, 125 s left
  s.b[kStatusRunTimeCounter2] = 125;
  line = ChooseStatusBarLine(s, true);
  EXPECT_TRUE(line.left);
  EXPECT_EQ(Text(line), u"L 2:05");

  s.b[kStatusOptionWithdraw] = kOptionWithdrawAutoStartActive | kAutoStartWaitingBit;
  EXPECT_EQ(ChooseStatusBarLine(s, true).textId, i18n::kStringAutoStartWaiting);

  s.b[kStatusRunFlags] = 0;  // attention: alternates with the out-of-grain word
  EXPECT_EQ(Text(ChooseStatusBarLine(s, true)), u"L");
  EXPECT_EQ(Text(ChooseStatusBarLine(s, false)), u"L M");
}

TEST(StatusBar, HoldTimeInTheLastThreeMinutes) {
  DryerStatus s = Normal();
  s.b[kStatusSwitches] = kSwitchesBit6;
  s.b[kStatusDryingCriteria] = kDryingCriteriaHoldTime;
  s.b[kStatusMoistureControlMode] = 4;
  s.b[kStatusStatusBar290] = 3500 & 0xFF;
  s.b[kStatusStatusBar290 + 1] = 3500 >> 8;
  StatusBarLine line = ChooseStatusBarLine(s, true);
  EXPECT_EQ(line.rule, StatusBarRule::HoldTime);
  EXPECT_EQ(Text(line), u"L [01:40]");
  s.b[kStatusStatusBar290] = 3420 & 0xFF;  // 180 s left: not yet
  s.b[kStatusStatusBar290 + 1] = 3420 >> 8;
  EXPECT_NE(ChooseStatusBarLine(s, true).rule, StatusBarRule::HoldTime);
}

TEST(StatusBar, RunningStoppedAndIdle) {
  DryerStatus s = Normal();
  s.b[kStatusRunFlags2] = kRunFlags2Running;
  s.b[kStatusStatusBar43] = kStatusBar43ShowRunTime;
  SetTime(s, kStatusStatusBar39, 12, 34);
  StatusBarLine line = ChooseStatusBarLine(s, true);
  EXPECT_EQ(line.textId, kStatusBarTextRunning);
  EXPECT_EQ(line.colour, colour::kBlue);
  EXPECT_EQ(Text(line), u"L  12:34");

  s = Normal();
  s.b[kStatusStatusBar271] = kStopReasonNoGrain;
  EXPECT_EQ(ChooseStatusBarLine(s, true).textId, kStatusBarTextStoppedBlue);
  s.b[kStatusStatusBar271] = kStopReasonBits;
  line = ChooseStatusBarLine(s, true);
  EXPECT_EQ(line.textId, kStatusBarTextStoppedRed);
  EXPECT_EQ(line.colour, colour::kRed);

  s.b[kStatusSwitches] = kSwitchesBit6;
  EXPECT_EQ(ChooseStatusBarLine(s, true).textId, kStatusBarTextIdle);
  s.b[kStatusOptionBits] = kOptionBitsIdleOption;
  s.b[kStatusDryerType] = 1;
  line = ChooseStatusBarLine(s, true);
  EXPECT_EQ(line.textId, kStatusBarTextIdleOption);
  EXPECT_EQ(line.colour, colour::kRed);
}

}  // namespace
