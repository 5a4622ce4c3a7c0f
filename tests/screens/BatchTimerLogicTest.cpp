#include <gtest/gtest.h>

#include <string>

#include "link/DryerStatus.h"
#include "link/RegisterMap.h"
#include "link/SettingRequest.h"
#include "screens/BatchTimerLogic.h"

namespace {

TEST(BatchTimers, PresetRowAndCountdownTexts) {
  lnk::DryerStatus s{};
  s.b[lnk::kStatusHiHeatTime] = 45;
  s.b[lnk::kStatusHiHeatTime + 1] = 0;
  s.b[lnk::kStatusHiHeatCountdown] = 7;
  s.b[lnk::kStatusHiHeatCountdown + 1] = 5;
  BatchTimerTexts t;
  MakeBatchTimerTexts(s, BatchTimer::HiHeat, t);
  EXPECT_STREQ(t.presetMinutes, "45");
  EXPECT_STREQ(t.presetSeconds, "00");
  EXPECT_STREQ(t.countdownMinutes, "7");
  EXPECT_STREQ(t.countdownSeconds, "05");
  char16_t row[64];
  FormatBatchPresetRow(t, u"MIN", u"SEC", row, 64);
  EXPECT_EQ(std::u16string(row), u"45 MIN 00 SEC");

  s.b[lnk::kStatusCoolTime] = 200;
  s.b[lnk::kStatusCoolCountdown] = 199;
  MakeBatchTimerTexts(s, BatchTimer::Cool, t);
  EXPECT_STREQ(t.presetMinutes, "200");
  EXPECT_STREQ(t.countdownMinutes, "199");
}

TEST(BatchTimers, ButtonRuleByDryerType) {
  lnk::DryerStatus s{};
  BatchButtons b = ChooseBatchButtons(s);
  EXPECT_TRUE(b.showDry);
  EXPECT_FALSE(b.showHiLoHeat);
  s.b[lnk::kStatusOptionBits] = 0x02;  // two heats do not matter for type 0
  EXPECT_TRUE(ChooseBatchButtons(s).showDry);

  s.b[lnk::kStatusDryerType] = 3;
  s.b[lnk::kStatusOptionBits] = 0;
  b = ChooseBatchButtons(s);
  EXPECT_TRUE(b.showHiLoHeat);
  EXPECT_FALSE(b.showDry);

  s.b[lnk::kStatusDryerType] = 1;
  EXPECT_TRUE(ChooseBatchButtons(s).showDry);
  s.b[lnk::kStatusOptionBits] = 0x02;
  b = ChooseBatchButtons(s);
  EXPECT_TRUE(b.showHiLoHeat);
  EXPECT_FALSE(b.showDry);

  int shown = 0;
  for (const BatchButton& button : kBatchButtons) shown += IsBatchButtonShown(b, button.command);
  EXPECT_EQ(shown, 4);  // HI HEAT, LO HEAT, COOL, UNLOAD
  EXPECT_FALSE(IsBatchButtonShown(b, kBatchCommandDry));
  EXPECT_TRUE(IsBatchButtonShown(b, kBatchCommandCool));
}

TEST(BatchTimers, TwoHeatLayoutStacksTheHeatColumn) {
  lnk::DryerStatus s{};
  const BatchLayout& one = ChooseBatchLayout(s);
  EXPECT_EQ(one.count, 3);
  EXPECT_FALSE(one.heatDividers);
  EXPECT_EQ(one.places[0].minutes, (plat::Rect{0, 15, 90, 90}));
  EXPECT_EQ(one.places[2].seconds, (plat::Rect{350, 55, 410, 135}));

  s.b[lnk::kStatusOptionBits] = 0x02;
  const BatchLayout& two = ChooseBatchLayout(s);
  ASSERT_EQ(two.count, 4);
  EXPECT_TRUE(two.heatDividers);
  EXPECT_EQ(two.places[0].timer, BatchTimer::HiHeat);
  EXPECT_EQ(two.places[1].timer, BatchTimer::LoHeat);
  // Both heats stay in the heat column, the high heat above the dividers, the low below.
  EXPECT_LE(two.places[0].minutes.bottom, 87);
  EXPECT_GE(two.places[1].preset.top, 87);
  for (int i = 0; i < 2; ++i) EXPECT_LE(two.places[i].seconds.right, 126);
  // Neither covers its button: HI HEAT at y 55..80, LO HEAT at y 140..165.
  EXPECT_LE(two.places[0].minutes.bottom, 56);
  EXPECT_LE(two.places[1].minutes.bottom, 141);
}

TEST(BatchTimers, AveragingWordsOnlyWhileNothingElseRuns) {
  lnk::DryerStatus s{};
  s.b[lnk::kStatusOptionBits] = 0x40;
  s.b[lnk::kStatusMoistureControlMode] = 6;
  EXPECT_TRUE(ShowsAveragingWords(s));
  s.b[lnk::kStatusBatchState] = 0x01;
  EXPECT_FALSE(ShowsAveragingWords(s));
  s.b[lnk::kStatusBatchState] = 0;
  s.b[lnk::kStatusRunFlags] = 0x80;
  EXPECT_FALSE(ShowsAveragingWords(s));
  s.b[lnk::kStatusRunFlags] = 0;
  s.b[lnk::kStatusMoistureControlMode] = 5;
  EXPECT_FALSE(ShowsAveragingWords(s));
  EXPECT_STREQ(kAveragingWords[1], "INCOMING");
}

TEST(BatchTimers, ButtonsOpenTheKeypadWithTheirLimits) {
  lnk::DryerStatus s{};
  s.b[lnk::kStatusUnloadTime] = 12;
  s.b[lnk::kStatusUnloadTime + 1] = 30;
  TimerEntryRequest r{};
  ASSERT_TRUE(OpenBatchTimerEntry(r, s, kBatchCommandUnload));
  EXPECT_EQ(r.row, lnk::CommandRow::UnloadTime);
  EXPECT_EQ(r.minutes, 12);
  EXPECT_EQ(r.seconds, 30);
  EXPECT_EQ(r.maxMinutes, 60);
  EXPECT_EQ(r.defaultMinutes, 10);

  ASSERT_TRUE(OpenBatchTimerEntry(r, s, kBatchCommandDry));
  EXPECT_EQ(r.row, lnk::CommandRow::HiHeatTime);
  EXPECT_EQ(r.maxMinutes, 200);
  EXPECT_EQ(r.defaultMinutes, 60);
  ASSERT_TRUE(OpenBatchTimerEntry(r, s, kBatchCommandLoHeat));
  EXPECT_EQ(r.row, lnk::CommandRow::LoHeatTime);
  ASSERT_TRUE(OpenBatchTimerEntry(r, s, kBatchCommandCool));
  EXPECT_EQ(r.defaultMinutes, 20);
  EXPECT_FALSE(OpenBatchTimerEntry(r, s, kBatchCommandSampleTime));

  // 200:00 is the heat maximum; 200:01 is refused.
  ASSERT_TRUE(OpenBatchTimerEntry(r, s, kBatchCommandHiHeat));
  r.minutes = 200;
  r.seconds = 0;
  EXPECT_EQ(CheckTimerEntry(r), EntryResult::Accepted);
  r.seconds = 1;
  EXPECT_EQ(CheckTimerEntry(r), EntryResult::OutOfRange);
}

TEST(BatchHold, AsksAfterTwoHeldTicksAndAgainTwoAfterTheAnswer) {
  uint32_t latch = 1;
  EXPECT_FALSE(StepBatchHoldLatch(latch, true));  // one tick only asks nothing
  EXPECT_FALSE(StepBatchHoldLatch(latch, false));
  EXPECT_FALSE(StepBatchHoldLatch(latch, true));
  EXPECT_TRUE(StepBatchHoldLatch(latch, true));   // two consecutive ticks
  EXPECT_EQ(latch, 1u);                            // set before the question is shown
  EXPECT_FALSE(StepBatchHoldLatch(latch, true));
  EXPECT_TRUE(StepBatchHoldLatch(latch, true));
}

TEST(BatchHold, YesRestartsTheCountdownFromThePreset) {
  lnk::ResetSettingRequest();
  lnk::DryerStatus s{};
  s.b[lnk::kStatusCoolTime] = 20;
  s.b[lnk::kStatusCoolTime + 1] = 15;
  RestartBatchTimer(s, BatchHoldGroup::Cool);
  EXPECT_TRUE(lnk::IsPending(lnk::CommandRow::CoolCountdownReset));
  EXPECT_EQ(lnk::ReadRequestByte(lnk::kStatusCoolCountdown), 20);
  EXPECT_EQ(lnk::ReadRequestByte(lnk::kStatusCoolCountdown + 1), 15);
  int numbers[2];
  BatchHoldQuestionNumbers(s, BatchHoldGroup::Cool, numbers);
  EXPECT_EQ(numbers[0], 20);
  EXPECT_EQ(numbers[1], 15);
  EXPECT_EQ(BatchHoldQuestionId(BatchHoldGroup::Heat, true), kBatchTextHeatQuestionDry);
  EXPECT_EQ(BatchHoldQuestionId(BatchHoldGroup::Heat, false), kBatchTextHeatQuestion);
  EXPECT_EQ(BatchHoldQuestionId(BatchHoldGroup::Unload, false), kBatchTextUnloadQuestion);
  EXPECT_EQ(BatchHoldTimer(BatchHoldGroup::LowHeat), BatchTimer::LoHeat);
}

}  // namespace
