// The panel after start-up: the link cadence, the preset, the views on the right half, the
// button row, the view pop-up and its refusals, the fifth button and the loop's requests.
#include <atomic>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>

#include "dialogs/DipSwitchDialog.h"
#include "link/LinkEvents.h"
#include "link/StatusDecoder.h"
#include "platform/Controls.h"
#include "platform/Dialog.h"
#include "platform/MessageBox.h"
#include "platform/Script.h"
#include "screens/BatchTimerLogic.h"
#include "screens/Screens.h"
#include "screens/ViewSelectionWindow.h"
#include "tests/shell/PanelTestSupport.h"

namespace {

using paneltest::PanelTest;
using shell::Screen;

// A script that waits, then presses one control as a finger would.
plat::ScriptResult PressAfter(int waitMs, int controlId) {
  const std::string text = "wait " + std::to_string(waitMs) + "\npress " + std::to_string(controlId) + "\n";
  return plat::StartScriptText(text.c_str());
}

TEST_F(PanelTest, FirstLinkWakeComes350MsAfterTheTimersStartThenEvery350Ms) {
  plat::RunFor(349);
  EXPECT_EQ(lnk::LinkWakeCount(), 0u);
  plat::RunFor(1);
  EXPECT_EQ(lnk::LinkWakeCount(), 1u);
  plat::RunFor(350 * 9);
  EXPECT_EQ(lnk::LinkWakeCount(), 10u);
  EXPECT_EQ(lnk::ReadStatusByte(lnk::kStatusRunFlags), lnk::kRunFlagsPreset);
  // A minute from the start: every second tick of the 175 ms timer, never a burst or a gap.
  plat::RunFor(60000 - 350 * 10);
  EXPECT_EQ(lnk::LinkWakeCount(), 60000u / 350u);
  EXPECT_EQ(lnk::LinkTickCount(), 60000u / 175u);
}

TEST_F(PanelTest, ChartViewAtStartShowsChartAndPlenumAndNoSecondWindowOrBatch) {
  EXPECT_TRUE(Visible(Screen::AverageValues));
  EXPECT_TRUE(Visible(Screen::CustomView));
  EXPECT_TRUE(Visible(Screen::DryerPic));
  EXPECT_TRUE(Visible(Screen::RightStatusBar));
  EXPECT_FALSE(Visible(Screen::Graph));
  EXPECT_FALSE(Visible(Screen::BatchDrying));
  EXPECT_FALSE(Visible(Screen::Warning));
  EXPECT_FALSE(Visible(Screen::ViewSelection));
  EXPECT_FALSE(Visible(Screen::UnloadStatus));
  EXPECT_FALSE(Visible(Screen::LeftStatusBar));
  // The full-screen selection screens lie above everything, caption included.
  EXPECT_EQ(plat::GetWindowRect(Window(Screen::TimerSelect)), plat::RectXywh(0, 0, 640, 475));
}

TEST_F(PanelTest, ApplyViewForContinuousGraphAndForTwoHeatBatch) {
  lnk::WriteStatusByte(lnk::kStatusDryerType, 0);
  lnk::WriteStatusByte(lnk::kStatusDisplayOptions, lnk::kDisplayOptionsGraphView);
  shell::ApplyView();
  EXPECT_TRUE(Visible(Screen::Graph));
  EXPECT_EQ(plat::GetWindowRect(Window(Screen::Graph)), (plat::Rect{240, 40, 640, 420}));
  EXPECT_FALSE(Visible(Screen::CustomView));
  EXPECT_FALSE(Visible(Screen::AverageValues));
  EXPECT_FALSE(Visible(Screen::BatchDrying));
  EXPECT_EQ(screens::UiState().selectedView, 1);

  lnk::WriteStatusByte(lnk::kStatusDisplayOptions, 0);
  shell::ApplyView();
  EXPECT_FALSE(Visible(Screen::Graph));
  EXPECT_TRUE(Visible(Screen::AverageValues));
  EXPECT_TRUE(Visible(Screen::CustomView));
  EXPECT_EQ(screens::UiState().selectedView, 0);

  lnk::WriteStatusByte(lnk::kStatusDryerType, 3);
  lnk::WriteStatusByte(lnk::kStatusDisplayOptions, lnk::kDisplayOptionsGraphView);
  shell::ApplyView();
  EXPECT_TRUE(Visible(Screen::BatchDrying));
  EXPECT_TRUE(Visible(Screen::CustomView));
  EXPECT_FALSE(Visible(Screen::Graph));
  EXPECT_FALSE(Visible(Screen::AverageValues));
  const plat::Hwnd batch = Window(Screen::BatchDrying);
  if (plat::GetDlgItem(batch, kBatchCommandHiHeat) != plat::kNoWindow) {
    EXPECT_TRUE(plat::IsWindowVisible(plat::GetDlgItem(batch, kBatchCommandHiHeat)));  // HI HEAT
    EXPECT_FALSE(plat::IsWindowVisible(plat::GetDlgItem(batch, kBatchCommandDry)));  // DRY
  }
}

TEST_F(PanelTest, DryerTypeChangeFromTheLinkReplacesTheChartByTheBatchTimers) {
  lnk::WriteStatusByte(lnk::kStatusDryerType, 3);
  lnk::PostReshowMainViews(lnk::ReshowReason::DryerTypeChanged);
  EXPECT_FALSE(Visible(Screen::BatchDrying));  // nothing happens on the link thread's side
  plat::PumpUntilIdle();
  EXPECT_TRUE(Visible(Screen::BatchDrying));
  EXPECT_FALSE(Visible(Screen::AverageValues));
}

std::atomic<int> gBarPaints{0};
plat::LResult CountingBarProc(plat::Hwnd h, plat::Msg msg, plat::WParam w, plat::LParam l) {
  if (msg == plat::Msg::Paint) ++gBarPaints;
  return plat::DefWindowProc(h, msg, w, l);
}

TEST_F(PanelTest, RedrawAskedOnAnotherThreadIsPaintedOnTheUiThread) {
  plat::RegisterClass(plat::WindowClass{.name = screens::kButtonBarClass, .proc = CountingBarProc});
  plat::PumpUntilIdle();
  gBarPaints = 0;
  std::thread link([] { lnk::PostRedraw(lnk::PanelWindow::ButtonBar, true); });
  link.join();
  EXPECT_EQ(gBarPaints.load(), 0);  // nothing is painted where the request was made
  plat::PumpUntilIdle();
  EXPECT_GE(gBarPaints.load(), 1);
}

// The presets live in the timer screen's panels, child windows of the screen: the decoder's
// redraws must reach them, or an accepted value shows only after the screen is reopened.
TEST_F(PanelTest, TimerScreenShowsEachPresetOnceTheControllerReportsIt) {
  screens::SendMainCommand(screens::kCmdTimers);
  plat::PumpUntilIdle();
  ASSERT_TRUE(Visible(Screen::TimerSelect));
  lnk::DryerStatus s;
  lnk::TakeStatusSnapshot(s);
  struct Case {
    int minutesByte;
    uint8_t minutes;
    const char* drawn;
  };
  constexpr Case kCases[] = {{lnk::kStatusOutOfGrainTime, 12, "012 "},
                             {lnk::kStatusLoadStartupDelay, 7, "007 "},
                             {lnk::kStatusUnloadCleanoutDelay, 9, "009 "},
                             {lnk::kStatusFanDelay, 23, "023 "}};
  plat::StartTextCapture();
  for (const Case& c : kCases) {
    plat::ClearCapturedText();
    s.b[c.minutesByte] = c.minutes;
    lnk::DecodeStatusFrame(s.b);
    plat::PumpUntilIdle();
    EXPECT_NE(plat::FindCapturedText(c.drawn, Window(Screen::TimerSelect)), nullptr) << "byte " << c.minutesByte;
  }
  plat::StopTextCapture();
}

TEST_F(PanelTest, QuickStartBitPutsSixButtonsInTheRowAt115PixelSpacing) {
  auto x = [](int i) { return plat::GetChildRect(shell::MainButton(i)).left; };
  EXPECT_FALSE(plat::IsWindowVisible(shell::MainButton(5)));
  EXPECT_EQ(x(0), 20);
  EXPECT_EQ(x(4), 516);

  lnk::WriteStatusByte(lnk::kStatusOptionBits2, lnk::kOptionBits2QuickStart);
  shell::PlaceMainButtons();
  EXPECT_TRUE(plat::IsWindowVisible(shell::MainButton(5)));
  for (int i = 0; i < 5; ++i) {
    EXPECT_EQ(x(i), 10 + 115 * i) << "button " << i;
    const plat::Rect r = plat::GetChildRect(shell::MainButton(i));
    EXPECT_EQ(r.top, 427);
    EXPECT_EQ(r.Width(), 105);
    EXPECT_EQ(r.Height(), 40);
  }
  EXPECT_EQ(plat::GetChildRect(shell::MainButton(5)), plat::RectXywh(585, 427, 44, 40));
  // The buttons of the row are not hidden by the bar behind them.
  EXPECT_EQ(plat::WindowFromPoint(600, 440), shell::MainButton(5));

  lnk::WriteStatusByte(lnk::kStatusOptionBits2, 0);
  shell::PlaceMainButtons();
  EXPECT_FALSE(plat::IsWindowVisible(shell::MainButton(5)));
  EXPECT_EQ(x(1), 144);
}

TEST_F(PanelTest, GraphRefusedInBatchDryingIsStillSentAndShownOnceDryingIsContinuous) {
  lnk::WriteStatusByte(lnk::kStatusDryerType, 3);
  lnk::WriteStatusByte(lnk::kStatusDisplayOptions, lnk::kDisplayOptionsCelsius);
  shell::ApplyView();
  screens::SendMainCommand(screens::kCmdView);
  ASSERT_TRUE(Visible(Screen::ViewSelection));

  // The refusal is a message box; the script answers it as a finger would.
  ASSERT_EQ(PressAfter(50, plat::IdOk), plat::ScriptResult::Ok);
  plat::SendCommand(Window(Screen::ViewSelection), screens::kViewGraphButton);
  EXPECT_FALSE(plat::ScriptRunning());
  EXPECT_TRUE(lnk::IsPending(lnk::CommandRow::DisplayOptions));
  // Loaded from the status byte first: the Celsius bit is kept.
  EXPECT_EQ(lnk::ReadRequestByte(lnk::kStatusDisplayOptions), lnk::kDisplayOptionsCelsius | lnk::kDisplayOptionsGraphView);
  EXPECT_TRUE(Visible(Screen::ViewSelection));  // the pop-up stays open
  EXPECT_TRUE(Visible(Screen::BatchDrying));
  EXPECT_FALSE(Visible(Screen::Graph));

  // The controller stores the view and later reports continuous drying.
  lnk::WriteStatusByte(lnk::kStatusDisplayOptions, lnk::kDisplayOptionsCelsius | lnk::kDisplayOptionsGraphView);
  lnk::WriteStatusByte(lnk::kStatusDryerType, 0);
  lnk::PostReshowMainViews(lnk::ReshowReason::DryerTypeChanged);
  plat::PumpUntilIdle();
  EXPECT_TRUE(Visible(Screen::Graph));
  EXPECT_FALSE(Visible(Screen::AverageValues));
  EXPECT_FALSE(Visible(Screen::BatchDrying));
}

TEST_F(PanelTest, ChartChoiceInContinuousDryingSwitchesAndStoresThePreference) {
  lnk::WriteStatusByte(lnk::kStatusDryerType, 0);
  screens::SendMainCommand(screens::kCmdView);
  plat::SendCommand(Window(Screen::ViewSelection), screens::kViewGraphButton);
  EXPECT_TRUE(Visible(Screen::Graph));
  EXPECT_FALSE(Visible(Screen::ViewSelection));
  EXPECT_EQ(screens::UiState().selectedView, 1);
  records::LoadPreferences();
  EXPECT_EQ(records::CurrentPreferences().viewSelection, records::kViewGraph);

  screens::SendMainCommand(screens::kCmdView);
  plat::SendCommand(Window(Screen::ViewSelection), screens::kViewChartButton);
  EXPECT_FALSE(Visible(Screen::Graph));
  EXPECT_TRUE(Visible(Screen::AverageValues));
  EXPECT_EQ(lnk::ReadRequestByte(lnk::kStatusDisplayOptions) & lnk::kDisplayOptionsGraphView, 0);
}

TEST_F(PanelTest, ManualsWithoutTheirFolderHidesThePopUpAndSaysSo) {
  std::filesystem::remove_all(root_ + "/Hard Disk/Manuals");
  screens::SendMainCommand(screens::kCmdView);
  // The script's OK can only land inside the message box: the main screen has no control 1.
  ASSERT_EQ(PressAfter(20, plat::IdOk), plat::ScriptResult::Ok);
  plat::SendCommand(Window(Screen::ViewSelection), screens::kViewManualsButton);
  EXPECT_FALSE(plat::ScriptRunning());
  EXPECT_EQ(plat::ScriptErrorLine(), 0);
  EXPECT_FALSE(Visible(Screen::ViewSelection));
}

TEST_F(PanelTest, ManualsOpensTheOperatorsManualOfTheLanguageWithTheViewer) {
  // A viewer of the test's own stands for the desktop's opener: it notes what it was given.
  const std::string bin = root_ + "/bin", noted = root_ + "/opened.txt";
  std::filesystem::create_directories(bin);
  std::ofstream(bin + "/xdg-open") << "#!/bin/sh\nprintf '%s' \"$1\" > '" << noted << ".tmp'\nmv '" << noted
                                   << ".tmp' '" << noted << "'\n";
  std::filesystem::permissions(bin + "/xdg-open", std::filesystem::perms::owner_all);
  const std::string manual = root_ + "/Hard Disk/Manuals/OperatorManual_EN.pdf";
  std::ofstream(manual) << "%PDF-1.4\n";
  const std::string path = std::getenv("PATH") ? std::getenv("PATH") : "";
  ::setenv("PATH", (bin + ":" + path).c_str(), 1);
  screens::SendMainCommand(screens::kCmdView);
  plat::SendCommand(Window(Screen::ViewSelection), screens::kViewManualsButton);
  ::setenv("PATH", path.c_str(), 1);
  EXPECT_FALSE(Visible(Screen::ViewSelection));
  for (int i = 0; i < 200 && !std::filesystem::exists(noted); ++i)
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  std::ifstream in(noted);
  std::string opened((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  EXPECT_EQ(opened, manual);
}

class PanelWithGraphPreference : public PanelTest {
  void BeforeStart() override { records::SavePreference(records::kPrefViewSelection, records::kViewGraph); }
};

TEST_F(PanelWithGraphPreference, StoredGraphChoiceIsOverruledByTheStatusUntilAFrameSaysGraph) {
  // The windows are made for the stored choice; ApplyView then reads the status, which says
  // chart until the first frame arrives.
  EXPECT_TRUE(Visible(Screen::AverageValues));
  EXPECT_FALSE(Visible(Screen::Graph));
}

shell::PanelDialog gOpened[8];
int gOpenedCount = 0;
void RecordDialog(shell::PanelDialog d) {
  if (gOpenedCount < 8) gOpened[gOpenedCount] = d;
  ++gOpenedCount;
}

struct QuickCase {
  int mode = 0;
  int dryerType = 0;
  uint8_t optionBits = 0;
  bool miscDisabled = false;
  shell::QuickAction expected = shell::QuickAction::Nothing;
};

TEST(QuickSetpoint, EveryBranchOfTheFifthButton) {
  constexpr QuickCase kCases[] = {
      {.mode = 2, .dryerType = 0, .expected = shell::QuickAction::Nothing},
      {.mode = 0, .dryerType = 0, .expected = shell::QuickAction::Nothing},
      {.mode = 1, .dryerType = 0, .expected = shell::QuickAction::GrainSetpoint1},
      {.mode = 1, .dryerType = 3, .expected = shell::QuickAction::GrainSetpoints3Then2},
      {.mode = 3, .dryerType = 0, .expected = shell::QuickAction::MoistureAfterLearning},
      {.mode = 4, .dryerType = 2, .expected = shell::QuickAction::MoistureSetpoint},
      {.mode = 5, .dryerType = 0, .expected = shell::QuickAction::GrainSetpoint1},
      {.mode = 6, .dryerType = 0, .expected = shell::QuickAction::Nothing},
      {.mode = 6, .dryerType = 1, .expected = shell::QuickAction::GrainSetpoint1},
      {.mode = 6, .dryerType = 1, .optionBits = 0x02, .expected = shell::QuickAction::Temps},
      {.mode = 2, .dryerType = 1, .optionBits = 0x10, .expected = shell::QuickAction::GrainSetpoint1},
      {.mode = 4, .dryerType = 1, .optionBits = 0x22, .expected = shell::QuickAction::Temps},
      {.mode = 5, .dryerType = 1, .optionBits = 0x10, .miscDisabled = true, .expected = shell::QuickAction::Nothing},
  };
  for (const QuickCase& c : kCases) {
    lnk::DryerStatus s{};
    s.b[lnk::kStatusMoistureControlMode] = static_cast<uint8_t>(c.mode);
    s.b[lnk::kStatusDryerType] = static_cast<uint8_t>(c.dryerType);
    s.b[lnk::kStatusOptionBits] = c.optionBits;
    EXPECT_EQ(shell::ChooseQuickAction(s, c.miscDisabled), c.expected)
        << "mode " << c.mode << " type " << c.dryerType << " options " << int(c.optionBits);
  }
  // Moisture setpoint when bit 6 of 257 and bit 7 of 187 are both set, on a type 1 dryer.
  lnk::DryerStatus s{};
  s.b[lnk::kStatusMoistureControlMode] = 7 | lnk::kMoistureModeBit7;
  s.b[lnk::kStatusDryerType] = 1;
  s.b[lnk::kStatusOptionBits] = 0x40;
  EXPECT_EQ(shell::ChooseQuickAction(s, false), shell::QuickAction::MoistureSetpoint);
}

TEST_F(PanelTest, FifthButtonInMode2OnAContinuousDryerDoesNothing) {
  gOpenedCount = 0;
  shell::SetPanelDialogHook(RecordDialog);
  lnk::WriteStatusByte(lnk::kStatusMoistureControlMode, 2);
  lnk::WriteStatusByte(lnk::kStatusDryerType, 0);
  ASSERT_TRUE(plat::ClickWindow(shell::MainButton(4)));
  plat::PumpUntilIdle();
  EXPECT_EQ(gOpenedCount, 0);
  EXPECT_EQ(plat::FindOpenDialog(plat::kMessageBoxTemplateId), plat::kNoWindow);
  EXPECT_TRUE(Visible(Screen::DryerPic));

  // Mode 1 on a two-heat dryer asks for setpoint 3, then 2.
  lnk::WriteStatusByte(lnk::kStatusMoistureControlMode, 1);
  lnk::WriteStatusByte(lnk::kStatusDryerType, 3);
  screens::SendMainCommand(screens::kCmdMisc);
  ASSERT_EQ(gOpenedCount, 2);
  EXPECT_EQ(gOpened[0], shell::PanelDialog::GrainSetpoint3);
  EXPECT_EQ(gOpened[1], shell::PanelDialog::GrainSetpoint2);
}

TEST_F(PanelTest, MeterRollReminderOffersTheSpeedDialogBeforeTheQuickSetpoint) {
  gOpenedCount = 0;
  shell::SetPanelDialogHook(RecordDialog);
  screens::UiState().meterRollReminder = 1;
  lnk::WriteStatusByte(lnk::kStatusMoistureControlMode, 4);
  ASSERT_EQ(PressAfter(10, plat::IdYes), plat::ScriptResult::Ok);  // Yes
  screens::SendMainCommand(screens::kCmdMisc);
  ASSERT_EQ(gOpenedCount, 2);
  EXPECT_EQ(gOpened[0], shell::PanelDialog::MeterRoll);
  EXPECT_EQ(gOpened[1], shell::PanelDialog::MoistureSetpoint);
  // No to the question: only the quick setpoint.
  ASSERT_EQ(PressAfter(10, plat::IdNo), plat::ScriptResult::Ok);
  screens::SendMainCommand(screens::kCmdMisc);
  ASSERT_EQ(gOpenedCount, 3);
  EXPECT_EQ(gOpened[2], shell::PanelDialog::MoistureSetpoint);
}

TEST_F(PanelTest, LearningPeriodQuestionStopsTheMoistureEntryUnlessYes) {
  gOpenedCount = 0;
  shell::SetPanelDialogHook(RecordDialog);
  lnk::WriteStatusByte(lnk::kStatusMoistureControlMode, 3);
  lnk::WriteStatusByte(lnk::kStatusLearningCounter, 4);
  lnk::WriteStatusByte(lnk::kStatusLoadFlags, lnk::kLoadFlagsBit2);
  ASSERT_EQ(PressAfter(10, plat::IdCancel), plat::ScriptResult::Ok);  // Cancel
  screens::SendMainCommand(screens::kCmdMisc);
  EXPECT_EQ(gOpenedCount, 0);
  ASSERT_EQ(PressAfter(10, plat::IdYes), plat::ScriptResult::Ok);  // Yes
  screens::SendMainCommand(screens::kCmdMisc);
  ASSERT_EQ(gOpenedCount, 1);
  EXPECT_EQ(gOpened[0], shell::PanelDialog::MoistureSetpoint);
  // With the learning period over there is no question.
  lnk::WriteStatusByte(lnk::kStatusLearningCounter, 0);
  screens::SendMainCommand(screens::kCmdMisc);
  EXPECT_EQ(gOpenedCount, 2);
}

TEST_F(PanelTest, SelectionScreensHideTheMainScreenAndSetupKeepsTheViewsFromReturning) {
  screens::SendMainCommand(screens::kCmdSetup);
  EXPECT_TRUE(Visible(Screen::SetupSelection));
  EXPECT_FALSE(Visible(Screen::DryerPic));
  EXPECT_FALSE(plat::IsWindowVisible(shell::MainButton(0)));
  EXPECT_EQ(screens::UiState().mainScreenShowing, 0);
  // A dryer type change while setup is open does not bring the views back.
  lnk::WriteStatusByte(lnk::kStatusDryerType, 3);
  lnk::PostReshowMainViews(lnk::ReshowReason::DryerTypeChanged);
  plat::PumpUntilIdle();
  EXPECT_FALSE(Visible(Screen::BatchDrying));
  // Nor does a warning show the warning window over the setup screens.
  lnk::WriteStatusByte(lnk::kStatusWarningNode, 2);
  plat::RunFor(100);
  EXPECT_FALSE(Visible(Screen::Warning));

  screens::SendMainCommand(screens::kCmdShowMainScreen);
  EXPECT_TRUE(Visible(Screen::DryerPic));
  EXPECT_TRUE(Visible(Screen::BatchDrying));
  EXPECT_TRUE(plat::IsWindowVisible(shell::MainButton(4)));
}

TEST_F(PanelTest, KnobRequestIsServedOnlyAtOneAndTheDipSwitchReminderOnlyUntilExit) {
  gOpenedCount = 0;
  shell::SetPanelDialogHook(RecordDialog);
  lnk::Derived().knobRequest = 2;
  shell::ServeLoopRequests();
  EXPECT_EQ(gOpenedCount, 0);
  EXPECT_EQ(lnk::Derived().knobRequest.load(), 2);
  lnk::Derived().knobRequest = 1;
  shell::ServeLoopRequests();
  EXPECT_EQ(lnk::Derived().knobRequest.load(), 0);
  ASSERT_EQ(gOpenedCount, 1);
  EXPECT_EQ(gOpened[0], shell::PanelDialog::MeterRoll);
  EXPECT_EQ(screens::UiState().meterRollByKnob, 1);

  lnk::Derived().defaultsSwitchRequest = 1;
  ASSERT_EQ(PressAfter(10, dialogs::kDipSwitchExit), plat::ScriptResult::Ok);
  shell::ServeLoopRequests();
  EXPECT_EQ(lnk::Derived().defaultsAcknowledged.load(), 1);
  EXPECT_EQ(lnk::Derived().defaultsSwitchRequest.load(), 0);
  lnk::Derived().defaultsSwitchRequest = 1;
  shell::ServeLoopRequests();  // not shown again: no dialog is waiting for an answer
  EXPECT_EQ(plat::FindOpenDialog(dialogs::kDipSwitchDialogId), plat::kNoWindow);
  EXPECT_EQ(lnk::Derived().defaultsSwitchRequest.load(), 1);
}

TEST_F(PanelTest, DestroyingTheMainWindowEndsTheLoopWithZero) {
  plat::DestroyWindow(screens::MainWindow());
  plat::Message m;
  int guard = 0;
  while (plat::GetMessage(m) && ++guard < 1000) plat::DispatchMessage(m);
  EXPECT_LT(guard, 1000);
  EXPECT_EQ(plat::ExitCode(), 0);
}

}  // namespace
