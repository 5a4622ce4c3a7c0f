// Dialogs 245 (sample time, with 604) and 196 (graph setup) on the headless backend: the
// choice made, accepted, saved and shown checked again when the dialog reopens.
#include <gtest/gtest.h>

#include "dialogs/GraphSetupDialog.h"
#include "dialogs/SampleTimeDialog.h"
#include "i18n/Language.h"
#include "platform/Backend.h"
#include "platform/Dialog.h"
#include "records/Preferences.h"
#include "records/ShortTermLog.h"
#include "tests/records/RecordsTestSupport.h"

namespace {

struct Steps {
  int templateId = 0;
  int press[4] = {};  // buttons pressed in the dialog (or in its question), one per tick
  int count = 0;
  int next = 0;
  bool checked[4] = {};  // the boxes seen checked at the first tick
  const int* boxes = nullptr;
};
Steps g_steps;

plat::LResult ParentProc(plat::Hwnd h, plat::Msg msg, plat::WParam w, plat::LParam l) {
  if (msg != plat::Msg::Timer) return plat::DefWindowProc(h, msg, w, l);
  if (w == 9) {
    for (int id : {dialogs::kClearTableDialogId, g_steps.templateId})
      if (plat::Hwnd d = plat::FindOpenDialog(id); d != plat::kNoWindow) plat::EndDialog(d, plat::IdCancel);
    return 0;
  }
  if (g_steps.next >= g_steps.count) return 0;
  plat::Hwnd dialog = plat::FindOpenDialog(g_steps.templateId);
  if (g_steps.next == 0 && g_steps.boxes)
    for (int i = 0; i < 4; ++i) g_steps.checked[i] = plat::IsDlgButtonChecked(dialog, g_steps.boxes[i]);
  plat::Hwnd question = plat::FindOpenDialog(dialogs::kClearTableDialogId);
  plat::Hwnd target = question != plat::kNoWindow ? question : dialog;
  plat::ClickWindow(plat::GetDlgItem(target, g_steps.press[g_steps.next++]));
  return 0;
}

constexpr int kSampleBoxes[4] = {dialogs::kSampleBox1, dialogs::kSampleBox5, dialogs::kSampleBox10,
                                 dialogs::kSampleBox15};
constexpr int kScaleBoxes[4] = {dialogs::kGraphSetupBox1, dialogs::kGraphSetupBox2, dialogs::kGraphSetupBox4,
                                dialogs::kGraphSetupBox8};

class LogSettings : public records_test::PanelRoot {
 protected:
  void SetUp() override {
    PanelRoot::SetUp();
    records_test::WriteShippedEnglishStrings();
    i18n::ResetLanguageState();
    records::CurrentPreferences() = records::Preferences{};
    ASSERT_EQ(plat::OpenDisplay({.headless = true}), plat::DisplayKind::Headless);
    ASSERT_TRUE(plat::RegisterClass({.name = "SETTINGS_TEST_PARENT", .proc = ParentProc}));
    parent_ = plat::CreateWindow({.className = "SETTINGS_TEST_PARENT", .rect = plat::Rect{0, 0, 640, 480},
                                  .flags = plat::WindowFlag::Visible});
  }
  void TearDown() override {
    plat::CloseDisplay();
    records::CurrentPreferences() = records::Preferences{};
    i18n::ResetLanguageState();
    PanelRoot::TearDown();
  }
  void Run(int templateId, const int* boxes, std::initializer_list<int> presses) {
    g_steps = Steps{.templateId = templateId, .boxes = boxes};
    for (int p : presses) g_steps.press[g_steps.count++] = p;
    ASSERT_TRUE(plat::SetTimer(parent_, 1, 200));
    ASSERT_TRUE(plat::SetTimer(parent_, 9, 60000));
    if (templateId == dialogs::kSampleTimeDialogId)
      dialogs::OpenSampleTimeDialog(parent_);
    else
      dialogs::OpenGraphSetupDialog(parent_);
    plat::KillTimer(parent_, 1);
    plat::KillTimer(parent_, 9);
  }
  plat::Hwnd parent_ = plat::kNoWindow;
};

TEST_F(LogSettings, OneMinuteAcceptedAndShownAgain) {
  Run(dialogs::kSampleTimeDialogId, kSampleBoxes, {dialogs::kSampleButton1, dialogs::kSampleAccept});
  EXPECT_TRUE(g_steps.checked[2]);  // the default 10 minutes
  EXPECT_EQ(records::CurrentPreferences().sampleMinutes, 1);
  Run(dialogs::kSampleTimeDialogId, kSampleBoxes, {dialogs::kSampleAccept});
  EXPECT_TRUE(g_steps.checked[0]);
  EXPECT_FALSE(g_steps.checked[2]);
  records::LoadPreferences();
  EXPECT_EQ(records::CurrentPreferences().sampleMinutes, 1);
}

TEST_F(LogSettings, OddPeriodChecksTheFiveMinuteBox) {
  records::CurrentPreferences().sampleMinutes = 3;
  Run(dialogs::kSampleTimeDialogId, kSampleBoxes, {dialogs::kSampleAccept});
  EXPECT_FALSE(g_steps.checked[0]);
  EXPECT_TRUE(g_steps.checked[1]);
  records::LoadPreferences();
  EXPECT_EQ(records::CurrentPreferences().sampleMinutes, 5);
}

TEST_F(LogSettings, ClearTableAskedAndDone) {
  ASSERT_EQ(records::AppendSample(records::SampleRecord{}), records::LogResult::Ok);
  Run(dialogs::kSampleTimeDialogId, kSampleBoxes, {dialogs::kSampleClearTable, plat::IdNo});
  EXPECT_EQ(records::CountSamples(), 1);
  Run(dialogs::kSampleTimeDialogId, kSampleBoxes, {dialogs::kSampleClearTable, plat::IdYes});
  EXPECT_EQ(records::CountSamples(), 0);
}

TEST_F(LogSettings, GraphSetupTakesTheCheckedScale) {
  Run(dialogs::kGraphSetupDialogId, kScaleBoxes, {dialogs::kGraphSetup4Hours, dialogs::kGraphSetupAccept});
  EXPECT_TRUE(g_steps.checked[0]);
  EXPECT_EQ(records::CurrentPreferences().graphScale, 2);
  records::LoadPreferences();
  EXPECT_EQ(records::CurrentPreferences().graphScale, 2);
  Run(dialogs::kGraphSetupDialogId, kScaleBoxes, {dialogs::kGraphSetupAccept});
  EXPECT_TRUE(g_steps.checked[2]);
}

}  // namespace
