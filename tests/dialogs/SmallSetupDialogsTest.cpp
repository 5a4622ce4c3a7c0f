// The small setup dialogs walked on the headless backend: time and date (refusing days a month
// does not have), watchdog, user settings, and the batch counter and cycled sampler questions.
// Each walk leaves a screenshot of its dialog in the build's screenshots folder.
#include <filesystem>
#include <string>

#include "DialogDriver.h"
#include "dialogs/BatchCounterDialog.h"
#include "dialogs/CycledSamplerDialog.h"
#include "dialogs/SetupQuestion.h"
#include "dialogs/TimeDateDialog.h"
#include "dialogs/UserSettingsDialog.h"
#include "dialogs/WatchdogDialog.h"
#include "platform/MessageBox.h"

using namespace testing_support;
using namespace dialogs;

namespace {

class SmallSetupDialogs : public HeadlessFixture {
 protected:
  void SetUp() override {
    HeadlessFixture::SetUp();
    ASSERT_TRUE(hasPack_) << "build the language_packs target first";
    i18n::EnsureLanguageLoaded();
  }
  static std::string Field(plat::Hwnd dialog, int id) {
    return Narrow(plat::GetWindowText(plat::GetDlgItem(dialog, id)));
  }
  static bool Checked(plat::Hwnd dialog, int id) { return plat::IsDlgButtonChecked(dialog, id); }
  static void Screenshot(const char* name) {
    const std::filesystem::path dir = std::filesystem::path(DRYER_BINARY_DIR) / "screenshots";
    std::error_code ec;
    std::filesystem::create_directories(dir, ec);
    plat::ScreenshotPng((dir / name).c_str());
  }
  // A message box's caption and whether it drew `needle`, then OK.
  Step ExpectBox(const char* caption, const char* needle) {
    return Step{plat::IdOk, [caption, needle](plat::Hwnd box) {
                  EXPECT_EQ(plat::DialogTemplateId(box), plat::kMessageBoxTemplateId);
                  EXPECT_EQ(Narrow(plat::GetWindowText(box)), caption);
                  EXPECT_NE(plat::FindCapturedText(needle, box), nullptr) << needle;
                }};
  }
  static Step Click(int id, int waitFor) { return Step{id, {}, waitFor}; }
};

constexpr int kMonth = static_cast<int>(TimeDateField::Month);
constexpr int kDay = static_cast<int>(TimeDateField::Day);
constexpr int kYear = static_cast<int>(TimeDateField::Year);

}  // namespace

TEST_F(SmallSetupDialogs, TimeAndDateRefuseDaysTheMonthLacksAndSetTheClockOnAValidDate) {
  plat::UseVirtualClock(plat::LocalTime{.year = 2027, .month = 4, .day = 30, .hour = 10, .minute = 15, .second = 42});
  std::string shown[kTimeDateFields];
  Drive({Step{kTimeDateIncrease[kDay],
              [&](plat::Hwnd d) {
                for (int f = 0; f < kTimeDateFields; ++f) shown[f] = Field(d, kTimeDateValues[f]);
              }},
         Step{kTimeDateAccept, [](plat::Hwnd) { Screenshot("time_date.png"); }},
         ExpectBox("INVALID DATE", "The month chosen has only 30 days."),
         // 31 February, then 29 February of 2027, which is no leap year.
         Click(kTimeDateDecrease[kMonth], kTimeDateDialogId), Click(kTimeDateDecrease[kMonth], kTimeDateDialogId),
         Click(kTimeDateDecrease[kDay], kTimeDateDialogId), Click(kTimeDateDecrease[kDay], kTimeDateDialogId),
         Click(kTimeDateAccept, kTimeDateDialogId),
         ExpectBox("INVALID DATE", "only 28 days"),
         Click(kTimeDateIncrease[kYear], kTimeDateDialogId),
         Click(kTimeDateAccept, kTimeDateDialogId)});
  OpenTimeDateDialog(parent_);
  EXPECT_TRUE(AllStepsTaken());
  EXPECT_EQ(shown[0] + "/" + shown[1] + "/" + shown[2] + " " + shown[3] + ":" + shown[4], "04/30/2027 10:15");
  plat::LocalTime now;
  plat::GetLocalTime(now);
  EXPECT_EQ(now.year, 2028);
  EXPECT_EQ(now.month, 2);
  EXPECT_EQ(now.day, 29);
  EXPECT_EQ(now.hour, 10);
  EXPECT_EQ(now.minute, 15);
  EXPECT_LT(now.second, 5) << "the seconds start again from 0";
}

TEST_F(SmallSetupDialogs, TimeAndDateCancelLeavesTheClock) {
  plat::UseVirtualClock(plat::LocalTime{.year = 2030, .month = 12, .day = 31, .hour = 23, .minute = 59});
  Drive({Click(kTimeDateIncrease[kYear], kTimeDateDialogId), Click(kTimeDateCancel, kTimeDateDialogId)});
  OpenTimeDateDialog(parent_);
  plat::LocalTime now;
  plat::GetLocalTime(now);
  EXPECT_EQ(now.year, 2030);
}

TEST_F(SmallSetupDialogs, WatchdogOpensOnTheControllersSettingOrOnAChangeStillOnItsWay) {
  lnk::WriteStatusByte(lnk::kStatusWatchdog, lnk::kWatchdogOnBit | 20);
  std::string opened, stepped;
  bool onChecked = false, offChecked = false;
  Drive({Step{kWatchdogIncrease,
              [&](plat::Hwnd d) {
                opened = Field(d, kWatchdogTimeField);
                onChecked = Checked(d, kWatchdogOnRadio);
              }},
         Click(kWatchdogIncrease, kWatchdogDialogId),
         Step{kWatchdogOffRadio, [&](plat::Hwnd d) { stepped = Field(d, kWatchdogTimeField); }},
         Step{kWatchdogAccept, [&](plat::Hwnd d) {
                offChecked = Checked(d, kWatchdogOffRadio) && !Checked(d, kWatchdogOnRadio);
                Screenshot("watchdog.png");
              }}});
  OpenWatchdogDialog(parent_);
  EXPECT_TRUE(AllStepsTaken());
  EXPECT_EQ(opened, "20 SECONDS");
  EXPECT_TRUE(onChecked);
  EXPECT_EQ(stepped, "30 SECONDS");
  EXPECT_TRUE(offChecked);
  EXPECT_TRUE(lnk::IsPending(lnk::CommandRow::Watchdog));
  EXPECT_EQ(lnk::ReadRequestByte(lnk::kStatusWatchdog), 30) << "off, keeping its time";

  // Opened again before the controller echoed it: the dialog shows what is on its way, and the
  // longest time is the limit.
  std::string pendingShown, atLimit;
  Drive({Step{kWatchdogOnRadio, [&](plat::Hwnd d) { pendingShown = Field(d, kWatchdogTimeField); }},
         Click(kWatchdogDecrease, kWatchdogDialogId),
         Step{kWatchdogCancel, [&](plat::Hwnd d) { atLimit = Field(d, kWatchdogTimeField); }}});
  OpenWatchdogDialog(parent_);
  EXPECT_EQ(pendingShown, "30 SECONDS");
  EXPECT_EQ(atLimit, "25 SECONDS");
  EXPECT_EQ(lnk::ReadRequestByte(lnk::kStatusWatchdog), 30) << "CANCEL sends nothing";

  lnk::LowerPending(lnk::CommandRow::Watchdog);
  lnk::WriteStatusByte(lnk::kStatusWatchdog, lnk::kWatchdogOnBit | lnk::kWatchdogSecondsMaximum);
  Drive({Click(kWatchdogIncrease, kWatchdogDialogId),
         Step{kWatchdogAccept, [&](plat::Hwnd d) { atLimit = Field(d, kWatchdogTimeField); }}});
  OpenWatchdogDialog(parent_);
  EXPECT_EQ(atLimit, "120 SECONDS");
  EXPECT_FALSE(lnk::IsPending(lnk::CommandRow::Watchdog)) << "unchanged: nothing to send";
}

TEST_F(SmallSetupDialogs, UserSettingsSendOnlyTheDisplayOptionsAndOnlyWhenChanged) {
  lnk::WriteStatusByte(lnk::kStatusDisplayOptions, lnk::kDisplayOptionsCelsius);
  bool celsius = false, chart = false;
  Drive({Step{kUserGraphRadio,
              [&](plat::Hwnd d) {
                celsius = Checked(d, kUserCelsiusRadio) && !Checked(d, kUserFahrenheitRadio);
                chart = Checked(d, kUserChartRadio) && !Checked(d, kUserGraphRadio);
              }},
         Click(kUserFahrenheitRadio, kUserSettingsDialogId),
         Step{kUserAccept, [](plat::Hwnd) { Screenshot("user_settings.png"); }}});
  OpenUserSettingsDialog(parent_);
  EXPECT_TRUE(AllStepsTaken());
  EXPECT_TRUE(celsius);
  EXPECT_TRUE(chart);
  EXPECT_TRUE(lnk::IsPending(lnk::CommandRow::DisplayOptions));
  EXPECT_EQ(lnk::ReadRequestByte(lnk::kStatusDisplayOptions), lnk::kDisplayOptionsGraphView);

  // What the controller already reports is not sent again; CANCEL sends nothing.
  lnk::LowerPending(lnk::CommandRow::DisplayOptions);
  lnk::WriteStatusByte(lnk::kStatusDisplayOptions, lnk::kDisplayOptionsGraphView);
  Drive({Click(kUserAccept, kUserSettingsDialogId)});
  OpenUserSettingsDialog(parent_);
  EXPECT_FALSE(lnk::IsPending(lnk::CommandRow::DisplayOptions));
  Drive({Click(kUserCelsiusRadio, kUserSettingsDialogId), Click(kUserCancel, kUserSettingsDialogId)});
  OpenUserSettingsDialog(parent_);
  EXPECT_FALSE(lnk::IsPending(lnk::CommandRow::DisplayOptions));
}

TEST_F(SmallSetupDialogs, BatchCounterShowsTheCountAndClearsItOnlyOnYes) {
  lnk::WriteStatusByte(lnk::kStatusBatchCounter, 0x01);
  lnk::WriteStatusByte(lnk::kStatusBatchCounter + 1, 0x2C);
  lnk::WriteRequestByte(lnk::kStatusBatchCounter + 1, 7);
  std::string detail;
  Drive({Step{kQuestionHelp, [&](plat::Hwnd d) { detail = Field(d, kQuestionDetail); }},
         ExpectBox("BATCH COUNTER HELP", "The dryer counts"),
         Step{plat::IdNo, [](plat::Hwnd) { Screenshot("batch_counter.png"); }, kBatchCounterDialogId}});
  OpenBatchCounterDialog(parent_);
  EXPECT_TRUE(AllStepsTaken());
  EXPECT_EQ(detail, "Batches counted: 300");
  EXPECT_FALSE(lnk::IsPending(lnk::CommandRow::BatchCounter));

  Drive({Click(plat::IdYes, kBatchCounterDialogId)});
  OpenBatchCounterDialog(parent_);
  EXPECT_TRUE(lnk::IsPending(lnk::CommandRow::BatchCounter));
  EXPECT_EQ(lnk::ReadRequestByte(lnk::kStatusBatchCounter), 0);
  EXPECT_EQ(lnk::ReadRequestByte(lnk::kStatusBatchCounter + 1), 0);
}

TEST_F(SmallSetupDialogs, CycledSamplerIsEnabledOnlyOnYesKeepingTheOtherOptionBits) {
  lnk::WriteStatusByte(lnk::kStatusHardwareOption137, 0x05);
  std::string question;
  Drive({Step{plat::IdNo, [&](plat::Hwnd d) {
                question = Field(d, kQuestionText);
                Screenshot("cycled_sampler.png");
              }}});
  OpenCycledSamplerDialog(parent_);
  EXPECT_EQ(question, "Enable the cycled moisture sampler?");
  EXPECT_FALSE(lnk::IsPending(lnk::CommandRow::HardwareOption137));

  // The hardware setup's form asks only; its own ACCEPT sends.
  Drive({Click(plat::IdYes, kCycledSamplerDialogId)});
  EXPECT_TRUE(ConfirmCycledSampler(parent_));
  EXPECT_FALSE(lnk::IsPending(lnk::CommandRow::HardwareOption137));

  Drive({Click(plat::IdYes, kCycledSamplerDialogId)});
  OpenCycledSamplerDialog(parent_);
  EXPECT_TRUE(lnk::IsPending(lnk::CommandRow::HardwareOption137));
  EXPECT_EQ(lnk::ReadRequestByte(lnk::kStatusHardwareOption137), 0x85);
}
