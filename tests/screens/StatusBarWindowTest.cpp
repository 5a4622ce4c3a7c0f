// DRYER_RIGHT_STATUS_BAR_WINDOW and BATCH_DRYING_WINDOW through the headless backend: the line
// drawn with its colour and blink, and the batch timers with their buttons and keypad.
#include "ScreenHarness.h"
#include "dialogs/TimerEntryDialog.h"
#include "screens/BatchTimerLogic.h"
#include "screens/StatusBarRules.h"

using namespace testing_support;

namespace {

constexpr plat::Color kRed = plat::Rgb(255, 0, 0);
constexpr plat::Color kYellow = plat::Rgb(255, 255, 0);

class StatusBarWindow : public ScreenFixture {
 protected:
  void SetUp() override {
    ScreenFixture::SetUp();
    LoadEnglish();
    bar_ = Create(screens::kRightStatusBarClass, screens::RightStatusBarWindowProc, plat::RectXywh(240, 0, 400, 40));
    ASSERT_NE(bar_, plat::kNoWindow);
  }
  std::u16string Text(int id) {
    char16_t t[i18n::kStringDestUnits] = {};
    i18n::GetString(id, t);
    return t;
  }
  // The one line the bar drew.
  const plat::CapturedText* Line() {
    EXPECT_EQ(plat::CapturedTextCount(), 1) << AllTexts();
    return plat::CapturedTextCount() > 0 ? plat::CapturedTextAt(0) : nullptr;
  }
  void BlinkPhase(bool on) {
    for (int i = 0; i < 16 && lnk::BlinkOn() != on; ++i) lnk::LinkTick();
    ASSERT_EQ(lnk::BlinkOn(), on);
  }
  void OutOfGrain(int minutes, int seconds) {
    Set(lnk::kStatusOutOfGrainCountdown, static_cast<uint8_t>(minutes));
    Set(lnk::kStatusOutOfGrainCountdown + 1, static_cast<uint8_t>(seconds));
  }
  plat::Hwnd bar_ = plat::kNoWindow;
};

}  // namespace

TEST_F(StatusBarWindow, AlarmBitBeatsEveryOtherRuleAndBlinks) {
  Set(lnk::kStatusStatus118, 0x20);
  Set(lnk::kStatusOptionBits2, 0x01);  // quick start
  Set(lnk::kStatusRunFlags2, 0x01);    // running
  Set(lnk::kStatusStatusBar28, 0x01);
  BlinkPhase(true);
  Repaint(bar_);
  const plat::CapturedText* t = Line();
  ASSERT_NE(t, nullptr);
  EXPECT_EQ(std::u16string(t->text), Text(kStatusBarTextAlarm));
  EXPECT_EQ(t->color, kRed);
  BlinkPhase(false);
  Repaint(bar_);
  t = Line();
  ASSERT_NE(t, nullptr);
  EXPECT_EQ(Narrow(t->text), std::string(16, ' '));
}

TEST_F(StatusBarWindow, OutOfGrainAtAQuarterIsRedAndJustAboveIsYellow) {
  Set(lnk::kStatusRunFlags, 0x00);  // attention state
  Set(lnk::kStatusStatusBar28, 0x01);
  Set(lnk::kStatusOutOfGrainTime, 8);
  Set(lnk::kStatusOutOfGrainTime + 1, 0);
  OutOfGrain(2, 0);
  Repaint(bar_);
  const plat::CapturedText* t = Line();
  ASSERT_NE(t, nullptr);
  EXPECT_EQ(t->color, kRed);
  EXPECT_EQ(std::u16string(t->text), Text(kStatusBarTextOutOfGrain) + u"  6:00");
  OutOfGrain(2, 1);
  Repaint(bar_);
  t = Line();
  ASSERT_NE(t, nullptr);
  EXPECT_EQ(t->color, kYellow);
  EXPECT_EQ(std::u16string(t->text), Text(kStatusBarTextOutOfGrain) + u"  5:59");
}

TEST_F(StatusBarWindow, LearningPeriodBlinksAtFiveMinutesAndIsSteadyAtSix) {
  Set(lnk::kStatusLoadFlags, 0x04);
  Set(lnk::kStatusRunFlags, 0x08 | 0xA0);
  Set(lnk::kStatusMoistureControlMode, 3);
  Set(lnk::kStatusLearningCounter, 5);
  BlinkPhase(true);
  Repaint(bar_);
  const plat::CapturedText* t = Line();
  ASSERT_NE(t, nullptr);
  EXPECT_EQ(std::u16string(t->text), Text(kStatusBarTextLearning) + u" 5 Minutes");
  EXPECT_EQ(t->color, plat::Rgb(200, 0, 0));
  BlinkPhase(false);
  Repaint(bar_);
  ASSERT_NE(Line(), nullptr);
  EXPECT_EQ(Narrow(Line()->text), std::string(16, ' '));

  Set(lnk::kStatusLearningCounter, 6);
  Repaint(bar_);
  t = Line();
  ASSERT_NE(t, nullptr);
  EXPECT_EQ(std::u16string(t->text), Text(kStatusBarTextLearning) + u" 6 Minutes");
  EXPECT_EQ(t->color, plat::Rgb(100, 255, 0));
}

namespace {

class BatchDryingWindow : public ScreenFixture {
 protected:
  void SetUp() override {
    ScreenFixture::SetUp();
    LoadEnglish();
    window_ = Create(screens::kBatchDryingClass, screens::BatchDryingWindowProc, plat::RectXywh(240, 40, 400, 205),
                     "batch");
    ASSERT_NE(window_, plat::kNoWindow);
    client_ = plat::ClientToScreen(window_, plat::Point{0, 0});
  }
  std::u16string Text(int id) {
    char16_t t[i18n::kStringDestUnits] = {};
    i18n::GetString(id, t);
    return t;
  }
  bool Shown(int command) { return plat::IsWindowVisible(plat::GetDlgItem(window_, command)); }
  plat::Hwnd window_ = plat::kNoWindow;
  plat::Point client_;
};

}  // namespace

TEST_F(BatchDryingWindow, APresetOfFortyFiveMinutesShowsFortyFiveAndZeroZero) {
  Set(lnk::kStatusDryerType, 2);
  Set(lnk::kStatusHiHeatTime, 45);
  Set(lnk::kStatusHiHeatTime + 1, 0);
  Set(lnk::kStatusHiHeatCountdown, 12);
  Set(lnk::kStatusHiHeatCountdown + 1, 7);
  Repaint(window_);
  const std::u16string row = u"45 " + Text(kBatchMinutesUnitId) + u" 00 " + Text(kBatchSecondsUnitId);
  const plat::CapturedText* preset = plat::FindCapturedText(Narrow(row).c_str(), window_);
  ASSERT_NE(preset, nullptr) << AllTexts();
  EXPECT_EQ(preset->color, plat::Rgb(200, 200, 0));
  EXPECT_EQ(preset->rect.left - client_.x, 0);
  EXPECT_EQ(preset->rect.right - client_.x, 126);
  const plat::CapturedText* minutes = plat::FindCapturedText("12", window_);
  ASSERT_NE(minutes, nullptr);
  EXPECT_EQ(minutes->rect.top - client_.y, 15);
  EXPECT_NE(plat::FindCapturedText("07", window_), nullptr);
  EXPECT_EQ(plat::GetWindowText(window_), Text(kBatchCaptionId));
  EXPECT_TRUE(Shown(kBatchCommandDry));
  EXPECT_FALSE(Shown(kBatchCommandHiHeat));
  Screenshot("batch_drying.png");
}

TEST_F(BatchDryingWindow, TwoHeatsStackTheHeatColumnAndShowHiAndLoHeat) {
  Set(lnk::kStatusDryerType, 2);
  Set(lnk::kStatusOptionBits, 0x02);
  Set(lnk::kStatusLoHeatTime, 30);
  Repaint(window_);
  EXPECT_TRUE(Shown(kBatchCommandHiHeat));
  EXPECT_TRUE(Shown(kBatchCommandLoHeat));
  EXPECT_FALSE(Shown(kBatchCommandDry));
  const std::u16string low = u"30 " + Text(kBatchMinutesUnitId);
  const plat::CapturedText* t = plat::FindCapturedText(Narrow(low).c_str(), window_);
  ASSERT_NE(t, nullptr) << AllTexts();
  EXPECT_EQ(t->rect.top - client_.y, 88);
  EXPECT_EQ(plat::ColorOf(plat::ScreenPixels().At(client_.x + 60, client_.y + 87)), plat::Rgb(150, 150, 150));
}

// Dryer type 3 shows HI HEAT and LO HEAT whatever byte 257 says; the heat column then stacks
// both heats so that neither button covers a countdown.
TEST_F(BatchDryingWindow, TypeThreeWithoutTheTwoHeatBitStacksBothHeatsBesideTheirButtons) {
  Set(lnk::kStatusDryerType, 3);
  Set(lnk::kStatusOptionBits, 0x00);
  Set(lnk::kStatusHiHeatCountdown, 47);
  Set(lnk::kStatusLoHeatTime, 30);
  Repaint(window_);
  ASSERT_TRUE(Shown(kBatchCommandHiHeat));
  ASSERT_TRUE(Shown(kBatchCommandLoHeat));
  const plat::CapturedText* minutes = plat::FindCapturedText("47", window_);
  ASSERT_NE(minutes, nullptr) << AllTexts();
  for (int command : {kBatchCommandHiHeat, kBatchCommandLoHeat}) {
    const plat::Rect button = plat::GetWindowRect(plat::GetDlgItem(window_, command));
    const plat::Point middle{(button.left + button.right) / 2, (button.top + button.bottom) / 2};
    EXPECT_FALSE(minutes->rect.Contains(middle.x, middle.y)) << command;
  }
  const plat::CapturedText* low = plat::FindCapturedText(Narrow(u"30 " + Text(kBatchMinutesUnitId)).c_str(), window_);
  ASSERT_NE(low, nullptr) << "the low-heat preset is shown\n" << AllTexts();
  EXPECT_EQ(low->rect.top - client_.y, 88);
}

TEST_F(BatchDryingWindow, AveragingWordsReplaceTheHeatMinutes) {
  Set(lnk::kStatusDryerType, 2);
  Set(lnk::kStatusOptionBits, 0x40);
  Set(lnk::kStatusMoistureControlMode, 6);
  Set(lnk::kStatusHiHeatCountdown, 33);
  Repaint(window_);
  for (const char* word : {"AVERAGING", "INCOMING", "MOISTURE"})
    EXPECT_NE(plat::FindCapturedText(word, window_), nullptr) << word;
  EXPECT_EQ(plat::FindCapturedText("33", window_), nullptr);
}

TEST_F(BatchDryingWindow, CoolButtonOpensTheKeypadWithItsLimitsAndAcceptSendsThePreset) {
  Set(lnk::kStatusDryerType, 2);
  Set(lnk::kStatusCoolTime, 20);
  Repaint(window_);
  std::u16string value, maximum;
  Drive({Step{dialogs::kTimerMinutesDigits[3],
              [&](plat::Hwnd d) {
                EXPECT_EQ(plat::DialogTemplateId(d), dialogs::kTimerEntryDialogId);
                value = DrawnText(" : ", d);
                maximum = DrawnText("= 60:00", d);
              }},
         Step{dialogs::kTimerMinutesDigits[5], {}}, Step{dialogs::kTimerAccept, {}}});
  plat::ClickWindow(plat::GetDlgItem(window_, kBatchCommandCool));
  EXPECT_TRUE(AllStepsTaken());
  EXPECT_EQ(Narrow(value), " 020 : 00 ");
  EXPECT_FALSE(maximum.empty());
  EXPECT_TRUE(lnk::IsPending(lnk::CommandRow::CoolTime));
  EXPECT_EQ(lnk::ReadRequestByte(16), 35);
  EXPECT_EQ(lnk::ReadRequestByte(17), 0);
}
