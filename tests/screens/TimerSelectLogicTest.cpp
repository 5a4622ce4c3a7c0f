// The timer presets' limits as the keypad applies them, and how a preset is opened from the
// status record through the request registers.
#include <gtest/gtest.h>

#include "link/DryerStatus.h"
#include "link/SettingRequest.h"
#include "screens/TimerSelectLogic.h"

namespace {

class TimerPresets : public ::testing::Test {
 protected:
  void SetUp() override {
    lnk::ResetDryerStatus();
    lnk::ResetSettingRequest();
  }
  void TearDown() override {
    lnk::ResetDryerStatus();
    lnk::ResetSettingRequest();
  }
  // Opens the preset and types minutes and seconds on the two keypads, as a finger would.
  EntryResult Enter(TimerPreset preset, std::initializer_list<int> minutes, std::initializer_list<int> seconds) {
    OpenTimerPreset(r_, preset);
    for (int d : minutes) TimerMinutesKey(r_, d);
    for (int d : seconds) TimerSecondsKey(r_, d);
    return CheckTimerEntry(r_);
  }
  // The value as given, bypassing the digit machines, for limits the keypads cannot type.
  EntryResult Value(TimerPreset preset, int minutes, int seconds) {
    OpenTimerPreset(r_, preset);
    r_.minutes = static_cast<uint8_t>(minutes);
    r_.seconds = static_cast<uint8_t>(seconds);
    return CheckTimerEntry(r_);
  }
  TimerEntryRequest r_{};
};

}  // namespace

TEST_F(TimerPresets, FanDelayTakesOneToTwentyFiveSecondsOnly) {
  EXPECT_EQ(Enter(TimerPreset::FanDelay, {}, {0}), EntryResult::OutOfRange);
  EXPECT_EQ(Enter(TimerPreset::FanDelay, {}, {1}), EntryResult::Accepted);
  EXPECT_EQ(Enter(TimerPreset::FanDelay, {}, {2, 5}), EntryResult::Accepted);
  EXPECT_EQ(Enter(TimerPreset::FanDelay, {}, {2, 6}), EntryResult::OutOfRange);
  // A minute is far above the limit even with no seconds.
  EXPECT_EQ(Enter(TimerPreset::FanDelay, {1}, {0}), EntryResult::OutOfRange);
  // DEFAULT gives 00:03, inside the range.
  OpenTimerPreset(r_, TimerPreset::FanDelay);
  TimerDefault(r_);
  EXPECT_EQ(r_.minutes, 0);
  EXPECT_EQ(r_.seconds, 3);
  EXPECT_EQ(CheckTimerEntry(r_), EntryResult::Accepted);
}

TEST_F(TimerPresets, LoadStartupDelayRefusesZeroWhileUnloadCleanoutAcceptsIt) {
  EXPECT_EQ(Enter(TimerPreset::LoadStartupDelay, {0}, {0}), EntryResult::OutOfRange);
  EXPECT_EQ(Enter(TimerPreset::LoadStartupDelay, {}, {1}), EntryResult::Accepted);
  EXPECT_EQ(Enter(TimerPreset::UnloadCleanoutDelay, {0}, {0}), EntryResult::Accepted);
  EXPECT_EQ(Enter(TimerPreset::OutOfGrain, {0}, {0}), EntryResult::Accepted);
  EXPECT_EQ(Enter(TimerPreset::FanSetup, {0}, {0}), EntryResult::Accepted);
}

TEST_F(TimerPresets, EachPresetTakesItsMaximumAndRefusesOneSecondMore) {
  struct Top {
    TimerPreset preset;
    int minutes, seconds;
  };
  const Top tops[] = {{TimerPreset::LoadStartupDelay, 10, 0}, {TimerPreset::OutOfGrain, 30, 0},
                      {TimerPreset::FanDelay, 0, 25},         {TimerPreset::FanSetup, 60, 0},
                      {TimerPreset::UnloadCleanoutDelay, 10, 0}};
  for (const Top& t : tops) {
    SCOPED_TRACE(static_cast<int>(t.preset));
    EXPECT_EQ(Value(t.preset, t.minutes, t.seconds), EntryResult::Accepted);
    EXPECT_EQ(Value(t.preset, t.minutes, t.seconds + 1), EntryResult::OutOfRange);
  }
}

TEST_F(TimerPresets, DefaultsLoadedByTheDefaultKey) {
  struct Default {
    TimerPreset preset;
    int minutes, seconds;
  };
  const Default defaults[] = {{TimerPreset::LoadStartupDelay, 1, 0}, {TimerPreset::OutOfGrain, 8, 0},
                              {TimerPreset::FanSetup, 0, 0},         {TimerPreset::UnloadCleanoutDelay, 1, 0},
                              {TimerPreset::StagedBatch, 255, 0}};
  for (const Default& d : defaults) {
    SCOPED_TRACE(static_cast<int>(d.preset));
    lnk::WriteStatusByte(TimerPresetFor(d.preset).presetByte, 7);
    OpenTimerPreset(r_, d.preset);
    EXPECT_EQ(r_.minutes, 7);
    TimerDefault(r_);
    EXPECT_EQ(r_.minutes, d.minutes);
    EXPECT_EQ(r_.seconds, d.seconds);
    EXPECT_EQ(CheckTimerEntry(r_), EntryResult::Accepted);
  }
}

TEST_F(TimerPresets, StagedBatchTimeAcceptsEveryValueTheKeypadCanTypeUpToItsDefault) {
  EXPECT_EQ(Enter(TimerPreset::StagedBatch, {0}, {0}), EntryResult::Accepted);
  // 2, 4, 9 and 5, 9: the largest value the two keypads produce.
  EXPECT_EQ(Enter(TimerPreset::StagedBatch, {2, 4, 9}, {5, 9}), EntryResult::Accepted);
  EXPECT_EQ(r_.minutes, 249);
  EXPECT_EQ(r_.seconds, 59);
  EXPECT_EQ(Value(TimerPreset::StagedBatch, 255, 0), EntryResult::Accepted);
  EXPECT_EQ(Value(TimerPreset::StagedBatch, 255, 1), EntryResult::OutOfRange);
}

TEST_F(TimerPresets, OpeningCopiesTheReportedPresetIntoTheRequestAndTheKeypad) {
  const TimerPresetInfo& load = TimerPresetFor(TimerPreset::LoadStartupDelay);
  const int reg = lnk::RowRegister(lnk::RowInfo(load.row));
  // A stale request left by an earlier edit must not be what the keypad opens on.
  lnk::WriteRequestByte(reg, 9);
  lnk::WriteRequestByte(reg + 1, 9);
  lnk::WriteStatusByte(load.presetByte, 2);
  lnk::WriteStatusByte(load.presetByte + 1, 30);
  OpenTimerPreset(r_, TimerPreset::LoadStartupDelay);
  EXPECT_EQ(lnk::ReadRequestByte(reg), 2);
  EXPECT_EQ(lnk::ReadRequestByte(reg + 1), 30);
  EXPECT_EQ(r_.minutes, 2);
  EXPECT_EQ(r_.seconds, 30);
  EXPECT_EQ(r_.row, lnk::CommandRow::LoadStartupDelay);
  EXPECT_EQ(r_.minutesDigits, 0);
  EXPECT_EQ(r_.secondsDigits, 0);
  EXPECT_EQ(r_.typedOnce, 0);
  EXPECT_FALSE(lnk::IsPending(load.row));
}

TEST_F(TimerPresets, OpeningWhileAnEditIsInFlightShowsTheValueBeingSent) {
  const TimerPresetInfo& fan = TimerPresetFor(TimerPreset::FanSetup);
  const uint8_t sent[2] = {12, 40};
  lnk::RequestSetting(fan.row, sent);
  lnk::WriteStatusByte(fan.presetByte, 5);
  OpenTimerPreset(r_, TimerPreset::FanSetup);
  EXPECT_EQ(r_.minutes, 12);
  EXPECT_EQ(r_.seconds, 40);
  EXPECT_EQ(lnk::ReadRequestByte(lnk::RowRegister(lnk::RowInfo(fan.row))), 12);
  EXPECT_TRUE(lnk::IsPending(fan.row));
}

TEST_F(TimerPresets, AcceptWritesThePageOneRegistersOfTheFanSetupTimer) {
  ASSERT_EQ(Enter(TimerPreset::FanSetup, {4, 5}, {3, 0}), EntryResult::Accepted);
  EXPECT_EQ(AcceptTimerEntry(r_), EntryResult::Accepted);
  EXPECT_TRUE(lnk::IsPending(lnk::CommandRow::FanSetupTime));
  EXPECT_EQ(lnk::ReadRequestByte(lnk::kStatusFanSetupTime), 45);
  EXPECT_EQ(lnk::ReadRequestByte(lnk::kStatusFanSetupTime + 1), 30);
}

TEST(TimerPanelTexts, PreviousLoadLineSplitsSecondsIntoPaddedMinutesAndSeconds) {
  char16_t out[kPanelLineUnits];
  size_t n = FormatPreviousLoadLine(125, u"MIN", u"SEC", out, kPanelLineUnits);
  EXPECT_EQ(std::u16string(out, n), u"MIN: 002     SEC: 05");
  n = FormatPreviousLoadLine(lnk::kPreviousLoadSecondsMax, u"MIN", u"SEC", out, kPanelLineUnits);
  EXPECT_EQ(std::u16string(out, n), u"MIN: 1440     SEC: 00");
  // A small buffer cuts the line and keeps it terminated.
  char16_t small[8];
  n = FormatPreviousLoadLine(125, u"MIN", u"SEC", small, 8);
  EXPECT_EQ(n, 7u);
  EXPECT_EQ(std::u16string(small), u"MIN: 00");
}
