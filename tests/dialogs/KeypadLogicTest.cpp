#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "dialogs/KeypadLogic.h"
#include "link/DryerStatus.h"
#include "link/RegisterMap.h"
#include "link/SettingRequest.h"

namespace {

constexpr TimerLimits kOneSecondToTenMinutes = {.maxMinutes = 10, .maxSeconds = 0,
                                                .defaultMinutes = 5, .defaultSeconds = 30,
                                                .minMinutes = 0, .minSeconds = 1};

class TimerKeypad : public ::testing::Test {
 protected:
  void SetUp() override {
    lnk::ResetSettingRequest();
    OpenTimerEntry(r, lnk::CommandRow::OutOfGrainTime, 7, 45, kOneSecondToTenMinutes);
  }
  void Minutes(std::initializer_list<int> keys) {
    for (int k : keys) TimerMinutesKey(r, k);
  }
  void Seconds(std::initializer_list<int> keys) {
    for (int k : keys) TimerSecondsKey(r, k);
  }
  TimerEntryRequest r{};
};

TEST_F(TimerKeypad, LimitsOneSecondToTenMinutes) {
  Minutes({0});
  Seconds({0});
  EXPECT_EQ(CheckTimerEntry(r), EntryResult::OutOfRange);  // 000:00

  OpenTimerEntry(r, lnk::CommandRow::OutOfGrainTime, 7, 45, kOneSecondToTenMinutes);
  Minutes({1, 0});
  Seconds({0});
  EXPECT_EQ(r.minutes, 10);
  EXPECT_EQ(r.seconds, 0);
  EXPECT_EQ(CheckTimerEntry(r), EntryResult::Accepted);  // 010:00

  Seconds({kKeyDelete, 1});
  EXPECT_EQ(r.seconds, 1);
  EXPECT_EQ(CheckTimerEntry(r), EntryResult::OutOfRange);  // 010:01
}

TEST_F(TimerKeypad, SecondsDropADigitThatWouldPassFiftyNine) {
  Seconds({7, 3});
  EXPECT_EQ(r.seconds, 7);
  char text[32];
  FormatTimerEntryValue(text, sizeof text, r);
  EXPECT_STREQ(text, " 007 : 07 ");  // the first key cleared the minutes too
  Seconds({kKeyDelete});
  EXPECT_EQ(r.seconds, 0);
  // The DELETE took back one of the two places: one more digit fits, appended to the 0.
  Seconds({5, 9});
  EXPECT_EQ(r.seconds, 5);

  OpenTimerEntry(r, lnk::CommandRow::OutOfGrainTime, 0, 0, kOneSecondToTenMinutes);
  Seconds({5, 9});
  EXPECT_EQ(r.seconds, 59);
}

TEST_F(TimerKeypad, MinutesStopAtTwoHundredFortyNine) {
  Minutes({2, 5, 0});
  EXPECT_EQ(r.minutes, 25);
  Minutes({kKeyDelete});  // the dropped 0 filled the field: DELETE takes the 5
  EXPECT_EQ(r.minutes, 2);

  OpenTimerEntry(r, lnk::CommandRow::OutOfGrainTime, 0, 0, kOneSecondToTenMinutes);
  Minutes({2, 4, 9});
  EXPECT_EQ(r.minutes, 249);
  Minutes({8});  // field full
  EXPECT_EQ(r.minutes, 249);
}

TEST_F(TimerKeypad, LeadingZerosAreNotDigits) {
  Minutes({0, 0, 1, 2, 3});
  EXPECT_EQ(r.minutes, 123);
  Seconds({0, 0, 4, 2});
  EXPECT_EQ(r.seconds, 42);
}

TEST_F(TimerKeypad, FirstDeleteClearsTheField) {
  Minutes({kKeyDelete});
  EXPECT_EQ(r.minutes, 0);
  // The first-key rule is the dialog's, not the field's: the seconds keep their value.
  Seconds({kKeyDelete});
  EXPECT_EQ(r.seconds, 4);
}

TEST_F(TimerKeypad, DefaultSetsTheDigitStates) {
  TimerDefault(r);
  EXPECT_EQ(r.minutes, 5);
  EXPECT_EQ(r.seconds, 30);
  EXPECT_EQ(r.lastKey, kKeyDefault);
  EXPECT_EQ(r.minutesDigits, 1);
  EXPECT_EQ(r.secondsDigits, 1);
  Minutes({7});  // appended to the default
  EXPECT_EQ(r.minutes, 57);
  Seconds({4});  // 30 is above 5: the digit is dropped
  EXPECT_EQ(r.seconds, 30);
}

TEST_F(TimerKeypad, InfoLinesShowDefaultMaximumMinimum) {
  char16_t out[64];
  FormatTimerInfoLine(r, TimerInfoLine::Default, u"DEFAULT", out, 64);
  EXPECT_EQ(std::u16string(out), u"DEFAULT = 05:30    ");
  FormatTimerInfoLine(r, TimerInfoLine::Maximum, u"MAX", out, 64);
  EXPECT_EQ(std::u16string(out), u"MAX = 10:00    ");
  FormatTimerInfoLine(r, TimerInfoLine::Minimum, u"MIN", out, 64);
  EXPECT_EQ(std::u16string(out), u"MIN = 00:01    ");
  FormatTimerInfoLine(r, TimerInfoLine::Minimum, u"MIN", out, 6);
  EXPECT_EQ(std::u16string(out), u"MIN =");
}

TEST_F(TimerKeypad, AcceptWritesMinutesThenSecondsAndRaisesTheRow) {
  Minutes({9});
  Seconds({1, 5});
  ASSERT_EQ(AcceptTimerEntry(r), EntryResult::Accepted);
  EXPECT_TRUE(lnk::IsPending(lnk::CommandRow::OutOfGrainTime));
  EXPECT_EQ(lnk::ReadRequestByte(lnk::kStatusOutOfGrainTime), 9);
  EXPECT_EQ(lnk::ReadRequestByte(lnk::kStatusOutOfGrainTime + 1), 15);
}

TEST_F(TimerKeypad, RefusedOrCancelledRaisesNothing) {
  Minutes({2, 0});
  ASSERT_EQ(AcceptTimerEntry(r), EntryResult::OutOfRange);
  EXPECT_FALSE(lnk::IsPending(lnk::CommandRow::OutOfGrainTime));
  EXPECT_EQ(lnk::ReadRequestByte(lnk::kStatusOutOfGrainTime), 0);
  // CANCEL is closing the dialog without calling AcceptTimerEntry: typing alone sends nothing.
  Minutes({1});
  Seconds({1});
  EXPECT_FALSE(lnk::IsPending(lnk::CommandRow::OutOfGrainTime));
}

TEST_F(TimerKeypad, OpensWithTheValueTheControllerReports) {
  lnk::DryerStatus s{};
  s.b[lnk::kStatusCoolTime] = 45;
  s.b[lnk::kStatusCoolTime + 1] = 10;
  OpenTimerEntryFromStatus(r, s, lnk::CommandRow::CoolTime, kOneSecondToTenMinutes);
  EXPECT_EQ(r.minutes, 45);
  EXPECT_EQ(r.seconds, 10);
  EXPECT_EQ(r.typedOnce, 0);
  EXPECT_EQ(r.minutesDigits, 0);
}

class SetpointKeypad : public ::testing::Test {
 protected:
  void SetUp() override { lnk::ResetSettingRequest(); }
  void Open(bool celsius, int currentF = 150) {
    OpenSetpointEntry(r, lnk::CommandRow::GrainTempSetpoint1, currentF, 50, 160, 105, celsius);
  }
  void Keys(std::initializer_list<int> keys) {
    for (int k : keys) SetpointKey(r, k);
  }
  uint16_t SentFahrenheit() const {
    return static_cast<uint16_t>(lnk::ReadRequestByte(lnk::kStatusGrainTempSetpoint1) |
                                 (lnk::ReadRequestByte(lnk::kStatusGrainTempSetpoint1 + 1) << 8));
  }
  SetpointEntryRequest r{};
};

TEST_F(SetpointKeypad, ThreeDigitsThenDelete) {
  Open(false);
  Keys({1, 8, 0});
  EXPECT_EQ(r.value, 180);
  Keys({5});
  EXPECT_EQ(r.value, 180);
  Keys({kKeyDelete});
  EXPECT_EQ(r.value, 18);
  Keys({5});  // appended to what is left
  EXPECT_EQ(r.value, 185);
}

TEST_F(SetpointKeypad, CelsiusTopOfRangeGoesOutAboveTheFahrenheitLimit) {
  Open(true);
  Keys({7, 1});
  SetpointOutcome outcome = CheckSetpointEntry(r);
  ASSERT_EQ(outcome.result, EntryResult::Accepted);  // 159 °F passes the 160 °F limit
  ASSERT_EQ(AcceptSetpointEntry(r), EntryResult::Accepted);
  EXPECT_EQ(SentFahrenheit(), 161);
  EXPECT_TRUE(lnk::IsPending(lnk::CommandRow::GrainTempSetpoint1));
}

TEST_F(SetpointKeypad, CelsiusJustAboveTheLimitIsRefused) {
  Open(true);
  Keys({7, 2});
  EXPECT_EQ(AcceptSetpointEntry(r), EntryResult::OutOfRange);
  EXPECT_FALSE(lnk::IsPending(lnk::CommandRow::GrainTempSetpoint1));
}

TEST_F(SetpointKeypad, CelsiusEchoCorrectionShowsTheTypedValueAgain) {
  Open(true);
  Keys({5, 4});
  ASSERT_EQ(AcceptSetpointEntry(r), EntryResult::Accepted);
  EXPECT_EQ(SentFahrenheit(), 130);  // 97 + 32 + 1
  EXPECT_EQ(5 * (SentFahrenheit() - 32) / 9, 54);
  // Every correction class shows again as the typed value.
  for (int c : {50, 51, 52, 53, 54, 60, 66}) {
    Open(true);
    r.value = c;
    r.digits = 2;
    SetpointOutcome o = CheckSetpointEntry(r);
    ASSERT_EQ(o.result, EntryResult::Accepted) << c;
    EXPECT_EQ(5 * (o.fahrenheit - 32) / 9, c) << c;
  }
}

TEST_F(SetpointKeypad, OpensAndDefaultsInTheShownUnit) {
  Open(true, 180);
  EXPECT_EQ(r.value, 82);
  char text[32];
  FormatSetpointEntryValue(text, sizeof text, r);
  EXPECT_STREQ(text, " 082 \xB0" "C ");
  SetpointDefault(r);
  EXPECT_EQ(r.value, 40);  // 105 °F
  EXPECT_EQ(r.digits, 1);
  SetpointClear(r);
  EXPECT_EQ(r.value, 0);
  EXPECT_EQ(r.digits, 0);
  Open(false, 180);
  FormatSetpointEntryValue(text, sizeof text, r);
  EXPECT_STREQ(text, " 180 \xB0" "F ");
}

TEST_F(SetpointKeypad, FahrenheitAcceptGoesOutLowByteFirst) {
  OpenSetpointEntry(r, lnk::CommandRow::PlenumSetpoint1, 180, 50, 250, 180, false);
  Keys({2, 5, 0});
  ASSERT_EQ(AcceptSetpointEntry(r), EntryResult::Accepted);
  EXPECT_EQ(lnk::ReadRequestByte(lnk::kStatusPlenumSetpoint1), 250);
  EXPECT_EQ(lnk::ReadRequestByte(lnk::kStatusPlenumSetpoint1 + 1), 0);
  Keys({kKeyDelete, kKeyDelete, kKeyDelete, 4, 9});
  EXPECT_EQ(AcceptSetpointEntry(r), EntryResult::OutOfRange);
}

TEST_F(SetpointKeypad, CancelRaisesNothing) {
  Open(false);
  Keys({1, 2, 0});
  EXPECT_FALSE(lnk::IsPending(lnk::CommandRow::GrainTempSetpoint1));
  EXPECT_EQ(SentFahrenheit(), 0);
}

TEST(KeypadFaults, MoistureKeypadTakesAtMostThreeDigits) {
  MoistureKeypad k;
  OpenMoistureKeypad(k, MoistureSetpoint::Drying);
  for (int d : {1, 5, 5, 7, 3}) MoistureKey(k, d);
  EXPECT_EQ(k.value, 155);
  char text[16];
  FormatMoistureKeypadValue(text, sizeof text, k.value);
  EXPECT_STREQ(text, "15.5 %");
  MoistureKey(k, kKeyDelete);
  EXPECT_EQ(k.value, 15);
  FormatMoistureKeypadValue(text, sizeof text, k.value);
  EXPECT_STREQ(text, "01.5 %");
  for (int d : {9, 9, 9}) MoistureKey(k, d);
  EXPECT_EQ(k.value, 159);
  OpenMoistureKeypad(k, MoistureSetpoint::Drying);
  for (int d : {9, 9, 9, 9}) MoistureKey(k, d);
  EXPECT_EQ(k.value, 999);
}

TEST(KeypadFaults, MoistureAcceptWithoutKeysLeavesTheSetpoint) {
  lnk::ResetSettingRequest();
  MoistureKeypad k;
  OpenMoistureKeypad(k, MoistureSetpoint::Drying);
  EXPECT_FALSE(AcceptMoistureKeypad(k));
  EXPECT_FALSE(lnk::IsPending(lnk::CommandRow::MoistureSetpoint));
  EXPECT_EQ(lnk::ReadRequestByte(lnk::kStatusMoistureSetpoint + 1), 0);

  MoistureKey(k, 0);  // a typed zero is a value
  EXPECT_TRUE(AcceptMoistureKeypad(k));
  EXPECT_TRUE(lnk::IsPending(lnk::CommandRow::MoistureSetpoint));
}

TEST(MoistureKeypad, EachSetpointInItsOwnByteOrder) {
  lnk::ResetSettingRequest();
  MoistureKeypad k;
  OpenMoistureKeypad(k, MoistureSetpoint::Drying);
  for (int d : {3, 1, 2}) MoistureKey(k, d);  // 31.2 % = 0x0138
  ASSERT_TRUE(AcceptMoistureKeypad(k));
  EXPECT_EQ(lnk::ReadRequestByte(lnk::kStatusMoistureSetpoint), 0x01);
  EXPECT_EQ(lnk::ReadRequestByte(lnk::kStatusMoistureSetpoint + 1), 0x38);

  OpenMoistureKeypad(k, MoistureSetpoint::AutoStart);
  for (int d : {3, 1, 2}) MoistureKey(k, d);
  ASSERT_TRUE(AcceptMoistureKeypad(k));
  EXPECT_EQ(lnk::ReadRequestByte(lnk::kStatusSubstituteMoisture), 0x38);
  EXPECT_EQ(lnk::ReadRequestByte(lnk::kStatusSubstituteMoisture + 1), 0x01);
  EXPECT_TRUE(lnk::IsPending(lnk::CommandRow::Setting125));

  lnk::DryerStatus s{};
  s.b[lnk::kStatusMoistureSetpoint] = 0x00;
  s.b[lnk::kStatusMoistureSetpoint + 1] = 0xAF;
  char text[16];
  FormatMoistureSetpoint(text, sizeof text, MoistureSetpointFromStatus(s, MoistureSetpoint::Drying));
  EXPECT_STREQ(text, "17.5 %");
}

TEST(HeldRepeat, RepeatsEveryTickAfterHalfASecond) {
  int delay = 0;
  bool held[2] = {false, false};
  EXPECT_EQ(StepHeldRepeat(delay, held, 2), -1);  // nothing held: the delay is armed
  EXPECT_EQ(delay, kRepeatDelayTicks);
  held[1] = true;
  int actions = 0;
  for (int tick = 0; tick < 4; ++tick) actions += StepHeldRepeat(delay, held, 2) >= 0;
  EXPECT_EQ(actions, 0);  // held 0.4 s: only the click acted
  for (int tick = 4; tick < 10; ++tick) actions += StepHeldRepeat(delay, held, 2) == 1;
  EXPECT_EQ(actions, 5);  // held 1 s: about five repeats
  held[0] = true;         // the first watched button wins
  EXPECT_EQ(StepHeldRepeat(delay, held, 2), 0);
}

}  // namespace
