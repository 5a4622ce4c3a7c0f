// The auto-start wizard in the whole panel: the way in from the setup screen for each state of
// the controller, the configuration window's pages, and what each way out sends.
#include <string>
#include <vector>

#include "../dialogs/DialogDriver.h"
#include "PanelTestSupport.h"
#include "dialogs/AutoStartDialogs.h"
#include "dialogs/MoistureKeypadDialog.h"
#include "dialogs/MoistureSetpointDialog.h"
#include "link/RegisterMap.h"
#include "platform/Controls.h"
#include "platform/MessageBox.h"
#include "screens/AutoStartConfig.h"

using namespace lnk;

namespace {

using paneltest::PanelTest;
using shell::Screen;
using testing_support::Step;

const int kRequest123 = RowRegister(RowInfo(CommandRow::OptionBits2));
const int kRequestGrain = RowRegister(RowInfo(CommandRow::AutoStart));

std::string WindowText(plat::Hwnd h) { return testing_support::Narrow(plat::GetWindowText(h)); }

class AutoStartWizard : public PanelTest {
 protected:
  void SetUp() override {
    PanelTest::SetUp();
    testing_support::g_steps.clear();
    testing_support::g_next = 0;
    testing_support::g_idleTicks = 0;
    ASSERT_TRUE(plat::RegisterClass(plat::WindowClass{.name = "WIZARD_DRIVER", .proc = testing_support::DriverProc}));
    driver_ = plat::CreateWindow(plat::WindowDesc{.className = "WIZARD_DRIVER", .rect = plat::Rect{0, 0, 1, 1}});
    ASSERT_TRUE(plat::SetTimer(driver_, testing_support::kDriverTimer, 50));
    config_ = Window(Screen::AutoStartConfig);
    plat::StartTextCapture();
  }
  void TearDown() override {
    plat::StopTextCapture();
    PanelTest::TearDown();
  }

  // The setup screen's auto-start button, answering the dialogs it opens with `steps`; returns
  // the dialogs seen in order.
  std::vector<int> EnterFromSetup(std::vector<Step> steps) {
    plat::SendCommand(screens::MainWindow(), screens::kCmdSetup);
    plat::RunFor(10);
    EXPECT_TRUE(Visible(Screen::SetupSelection));
    opened_.clear();
    for (Step& s : steps) {
      auto check = s.check;
      s.check = [this, check](plat::Hwnd d) {
        opened_.push_back(plat::DialogTemplateId(d));
        if (check) check(d);
      };
    }
    testing_support::g_steps = std::move(steps);
    testing_support::g_next = 0;
    screens::OpenAutoStart(Window(Screen::SetupSelection));
    plat::RunFor(10);
    EXPECT_EQ(testing_support::g_next, testing_support::g_steps.size()) << "steps left untaken";
    return opened_;
  }

  // A finger on a control of the configuration window: only a visible one can be pressed.
  void Press(int id, std::vector<Step> steps = {}) {
    const plat::Hwnd control = plat::GetDlgItem(config_, id);
    ASSERT_TRUE(plat::IsWindowVisible(control)) << "control " << id << " is not on screen";
    testing_support::g_steps = std::move(steps);
    testing_support::g_next = 0;
    plat::ClickWindow(control);
    plat::RunFor(10);
    EXPECT_EQ(testing_support::g_next, testing_support::g_steps.size()) << "steps left untaken after " << id;
  }
  bool Shown(int id) const { return plat::IsWindowVisible(plat::GetDlgItem(config_, id)); }
  // The wizard on its empty page, with the controller waiting and grain 5 reported.
  void EnterWizard() {
    WriteStatusByte(kStatusOptionBits2, 0x20);
    WriteStatusByte(kStatusAutoStart, 5);
    EnterFromSetup({Step{.control = dialogs::kSwitchRequirementsOk, .waitFor = dialogs::kSwitchRequirementsDialogId}});
    ASSERT_TRUE(Visible(Screen::AutoStartConfig));
  }

  plat::Hwnd driver_ = plat::kNoWindow;
  plat::Hwnd config_ = plat::kNoWindow;
  std::vector<int> opened_;
};

TEST_F(AutoStartWizard, WayInFollowsTheControllersState) {
  // Dryer running: the switch requirements, then the refusal, and no wizard.
  WriteStatusByte(kStatusSwitches, kSwitchesDryerRunning);
  WriteStatusByte(kStatusAutoStart, 7);
  std::string caption, text;
  std::vector<int> seen = EnterFromSetup(
      {Step{.control = dialogs::kSwitchRequirementsOk, .waitFor = dialogs::kSwitchRequirementsDialogId},
       Step{.control = plat::IdOk, .check = [&](plat::Hwnd d) {
              caption = WindowText(d);
              text = testing_support::Narrow(testing_support::DrawnText("Cannot", d));
            }}});
  EXPECT_EQ(seen, (std::vector<int>{dialogs::kSwitchRequirementsDialogId, plat::kMessageBoxTemplateId}));
  EXPECT_EQ(caption, "ATTENTION");
  EXPECT_EQ(text, "Cannot initiate auto-start with dryer running.");
  EXPECT_FALSE(Visible(Screen::AutoStartConfig));
  EXPECT_EQ(ReadRequestByte(kRequestGrain), 0) << "nothing loaded for a wizard that did not open";

  // Auto-start active: straight to the status dialog, whatever the dryer does.
  WriteStatusByte(kStatusOptionBits2, kOptionBits2QuickStart);
  seen = EnterFromSetup({Step{.control = dialogs::kAutoStartMinimize, .waitFor = dialogs::kAutoStartStatusDialogId}});
  EXPECT_EQ(seen, (std::vector<int>{dialogs::kAutoStartStatusDialogId}));
  EXPECT_FALSE(Visible(Screen::AutoStartConfig));

  // Waiting: the switch requirements, then the wizard in place of the setup screen, on its
  // empty page, with 1:23 and the grain as the controller has them.
  WriteStatusByte(kStatusSwitches, 0);
  WriteStatusByte(kStatusOptionBits2, 0x20);
  std::vector<std::string> lines;
  seen = EnterFromSetup({Step{.control = dialogs::kSwitchRequirementsOk,
                              .check = [&](plat::Hwnd d) {
                                for (int i = 0; i < dialogs::kSwitchRequirementsLineCount; ++i)
                                  lines.push_back(WindowText(plat::GetDlgItem(d, dialogs::kSwitchRequirementsFirstLine + i)));
                              },
                              .waitFor = dialogs::kSwitchRequirementsDialogId}});
  EXPECT_EQ(seen, (std::vector<int>{dialogs::kSwitchRequirementsDialogId}));
  ASSERT_EQ(lines.size(), 11u);
  EXPECT_EQ(lines[0], "Panel Switch Requirements:");
  EXPECT_EQ(lines[7], "switch in either the ON or AUTO position.)");
  EXPECT_TRUE(Visible(Screen::AutoStartConfig));
  EXPECT_FALSE(Visible(Screen::SetupSelection));
  EXPECT_FALSE(Visible(Screen::DryerPic));
  EXPECT_EQ(screens::CurrentAutoStartPage(), screens::AutoStartPage::None);
  EXPECT_EQ(ReadRequestByte(kRequest123), 0x20);
  EXPECT_EQ(ReadRequestByte(kRequestGrain), 7);
  EXPECT_FALSE(IsPending(CommandRow::AutoStart));
  EXPECT_FALSE(IsPending(CommandRow::OptionBits2));
}

TEST_F(AutoStartWizard, GrainPageMarksTheChoiceAndMoisturePageShowsBothSetpointsInTenths) {
  // Auto-start setpoint 15.0 % low byte first; drying setpoint 25.8 % high byte first (read
  // low first it would be 51.3 %).
  WriteStatusByte(kStatusSubstituteMoisture, 150);
  WriteStatusByte(kStatusSubstituteMoisture + 1, 0);
  WriteStatusByte(kStatusMoistureSetpoint, 0x01);
  WriteStatusByte(kStatusMoistureSetpoint + 1, 0x02);
  EnterWizard();
  EXPECT_FALSE(Shown(screens::kAsFirstGrain));
  EXPECT_TRUE(Shown(screens::kAsContinue));
  EXPECT_FALSE(Shown(screens::kAsInitiate));

  Press(screens::kAsGrainSelect);
  for (int g = 0; g < screens::kGrainCount; ++g) EXPECT_TRUE(Shown(screens::kAsFirstGrain + g)) << g;
  EXPECT_TRUE(Shown(screens::kAsContinue));
  EXPECT_FALSE(Shown(screens::kAsInitiate));
  Press(screens::kAsFirstGrain + screens::kGrainWheat);
  EXPECT_EQ(ReadRequestByte(kRequestGrain), screens::kGrainWheat);
  EXPECT_FALSE(IsPending(CommandRow::AutoStart));
  // The red dot lies right of Wheat (left column, third row), none beside Corn.
  const plat::Rect wheat = plat::GetWindowRect(plat::GetDlgItem(config_, screens::kAsFirstGrain + screens::kGrainWheat));
  const plat::Rect corn = plat::GetWindowRect(plat::GetDlgItem(config_, screens::kAsFirstGrain));
  const plat::PixelView screen = plat::ScreenPixels();
  auto pixel = [&](int x, int y) { return screen.At(x, y); };
  EXPECT_EQ(pixel(wheat.right + 13, (wheat.top + wheat.bottom) / 2), plat::PixelOf(plat::Rgb(255, 0, 0)));
  EXPECT_NE(pixel(corn.right + 13, (corn.top + corn.bottom) / 2), plat::PixelOf(plat::Rgb(255, 0, 0)));

  Press(screens::kAsMoistureSettings);
  EXPECT_FALSE(Shown(screens::kAsFirstGrain));
  EXPECT_TRUE(Shown(screens::kAsInitiate));
  EXPECT_FALSE(Shown(screens::kAsContinue));
  const plat::CapturedText* upper = plat::FindCapturedText("15.0%", config_);
  const plat::CapturedText* lower = plat::FindCapturedText("25.8%", config_);
  ASSERT_NE(upper, nullptr);
  ASSERT_NE(lower, nullptr);
  EXPECT_EQ(plat::PixelOf(upper->color), plat::PixelOf(plat::Rgb(255, 255, 0)));
  EXPECT_EQ(plat::PixelOf(lower->color), plat::PixelOf(plat::Rgb(0, 0, 255)));
  EXPECT_LT(upper->rect.top, lower->rect.top);

  // Each CONTINUE beside a setpoint opens the moisture setpoint window on its own setpoint.
  std::string field;
  auto readField = [&](plat::Hwnd d) { field = WindowText(plat::GetDlgItem(d, dialogs::kMoistureValueField)); };
  Press(screens::kAsAutoStartMoisture, {Step{.control = dialogs::kMoistureExit, .check = readField,
                                             .waitFor = dialogs::kMoistureSetpointDialogId}});
  EXPECT_EQ(field, "15.0 %");
  Press(screens::kAsDryingMoisture, {Step{.control = dialogs::kMoistureExit, .check = readField,
                                          .waitFor = dialogs::kMoistureSetpointDialogId}});
  EXPECT_EQ(field, "25.8 %");
  EXPECT_TRUE(Visible(Screen::AutoStartConfig));
}

TEST_F(AutoStartWizard, ContinueSendsNothingWhileExitAndYesSendTheGrain) {
  struct Way {
    const char* name;
    screens::AutoStartPage page;  // where the way out is pressed
    std::vector<int> presses;
    std::vector<Step> steps;
    bool grainSent;
    bool startSent;
  };
  const std::vector<Way> ways = {
      {"CONTINUE", screens::AutoStartPage::GrainSelect, {screens::kAsContinue}, {}, false, false},
      {"EXIT", screens::AutoStartPage::GrainSelect, {screens::kAsExit}, {}, true, false},
      {"INITIATE then Yes", screens::AutoStartPage::MoistureSettings, {screens::kAsInitiate},
       {Step{.control = dialogs::kAutoStartYes, .waitFor = dialogs::kAutoStartConfirmDialogId}}, true, true},
      {"INITIATE then No", screens::AutoStartPage::MoistureSettings, {screens::kAsInitiate},
       {Step{.control = dialogs::kAutoStartNo, .waitFor = dialogs::kAutoStartConfirmDialogId}}, false, false},
  };
  for (const Way& way : ways) {
    SCOPED_TRACE(way.name);
    ResetSettingRequest();
    EnterWizard();
    Press(screens::kAsGrainSelect);
    Press(screens::kAsFirstGrain + screens::kGrainWheat);
    if (way.page == screens::AutoStartPage::MoistureSettings) Press(screens::kAsMoistureSettings);
    for (int id : way.presses) Press(id, way.steps);
    EXPECT_FALSE(Visible(Screen::AutoStartConfig));
    EXPECT_TRUE(Visible(Screen::DryerPic)) << "the main screens are back";
    EXPECT_EQ(IsPending(CommandRow::AutoStart), way.grainSent);
    EXPECT_EQ(ReadRequestByte(kRequestGrain), screens::kGrainWheat);
    EXPECT_EQ((ReadRequestByte(kRequest123) & kOptionBits2QuickStart) != 0, way.startSent);
  }
}

}  // namespace
