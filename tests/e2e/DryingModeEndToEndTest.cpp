// The whole panel in this process against the controller simulator on a pseudo-terminal: the
// drying mode selection takes a continuous flow dryer to a staged batch and back. Each change
// sends exactly the registers that changed, and the main screen follows the dryer type only
// once the controller echoes it: the batch window, then the chart again.
//
// The panel runs on the virtual clock in 5 ms steps; whenever a step wakes the link, the test
// waits (bounded) for the simulator to have handled that cycle's request. While a dialog is
// open its own loop moves the clock, driven by the presses of a test window's timer.
#include <gtest/gtest.h>

#include <chrono>
#include <set>
#include <thread>
#include <utility>

#include "dialogs/DryingModeDialogs.h"
#include "i18n/Language.h"
#include "link/DryerStatus.h"
#include "link/Link.h"
#include "link/RegisterMap.h"
#include "link/SettingRequest.h"
#include "platform/Backend.h"
#include "platform/Clock.h"
#include "platform/Window.h"
#include "records/LogTick.h"
#include "screens/Screens.h"
#include "shell/MainWindow.h"
#include "shell/Panel.h"
#include "shell/Ticks.h"
#include "sim/SimServer.h"
#include "tests/dialogs/DialogDriver.h"
#include "tests/e2e/ProgramSupport.h"

namespace {

using RealClock = std::chrono::steady_clock;
using testing_support::Step;
using Register = std::pair<int, int>;  // page, register

constexpr uint64_t kStepMs = 5;
constexpr uint64_t kLinkPhaseMs = 10;
constexpr auto kServeLimit = std::chrono::seconds(10);

int AnswerNo(shell::TickQuestion, const char16_t*, const char16_t*) { return plat::IdNo; }

class DryingModeOnTheWire : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_FALSE(root_.path.empty());
    ASSERT_TRUE(shell::PrepareRoot(root_.path.c_str(), DRYER_BINARY_DIR "/assets/Languages"));
    SimServerOptions so;
    so.realPace = false;
    so.physicsFrozen = true;
    ASSERT_EQ(server_.StartOnPty(so), SimServerResult::Ok);
    plat::UseVirtualClock(plat::LocalTime{.year = 2016, .month = 3, .day = 7, .hour = 10, .minute = 20,
                                          .second = 30, .dayOfWeek = 1});
    plat::SetFileRoot(root_.path.c_str());
    shell::SetTickAsker(AnswerNo);
    options_.root = root_.path.c_str();
    options_.headless = true;
    options_.port = server_.SlavePath();
    ASSERT_EQ(shell::StartPanel(options_), shell::StartResult::Ok);
    started_ = true;
    plat::RunFor(kLinkPhaseMs);
    ASSERT_TRUE(plat::SetTimer(screens::MainWindow(), shell::kLinkTimerId, shell::kLinkTimerMs));
    ASSERT_TRUE(plat::RegisterClass(plat::WindowClass{.name = "DRYING_TEST_DRIVER", .proc = testing_support::DriverProc}));
    driver_ = plat::CreateWindow(plat::WindowDesc{.className = "DRYING_TEST_DRIVER", .rect = plat::Rect{0, 0, 1, 1}});
    ASSERT_NE(driver_, plat::kNoWindow);
    ASSERT_TRUE(plat::SetTimer(driver_, testing_support::kDriverTimer, 50));
  }

  void TearDown() override {
    testing_support::g_steps.clear();
    shell::SetTickAsker(nullptr);
    if (started_) shell::StopPanel();
    server_.Stop();
    screens::UiState() = screens::MainScreenState{};
    lnk::ResetLinkState();
    lnk::ResetDryerStatus();
    lnk::ResetSettingRequest();
    records::ResetLoggingState();
    i18n::ResetLanguageState();
    plat::UseRealClock();
  }

  bool StepOnce() {
    const uint32_t wakes = lnk::LinkWakeCount();
    const uint32_t served = server_.Served();
    plat::RunFor(kStepMs);
    if (lnk::LinkWakeCount() == wakes) return true;
    const RealClock::time_point limit = RealClock::now() + kServeLimit;
    while (server_.Served() == served) {
      if (RealClock::now() > limit) {
        ADD_FAILURE() << "the simulator did not see the request of a cycle";
        return false;
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
  }

  template <typename Done>
  bool StepUntil(uint64_t limitMs, Done done) {
    for (uint64_t t = 0; t < limitMs; t += kStepMs) {
      if (!StepOnce()) return false;
      if (done()) return true;
    }
    return false;
  }

  // Runs the selection with these presses, then steps until the controller has echoed every
  // request; returns the registers its command frames carried, the panel clock left out.
  std::set<Register> ChangeMode(std::vector<Step> presses) {
    Simulator before;
    server_.Snapshot(before);
    testing_support::g_steps = std::move(presses);
    testing_support::g_next = 0;
    dialogs::OpenDryingModeDialog(screens::MainWindow());
    EXPECT_EQ(testing_support::g_next, testing_support::g_steps.size()) << "every press was taken";
    const bool echoed = StepUntil(10000, [] {
      for (lnk::CommandRow row : {lnk::CommandRow::DryerType, lnk::CommandRow::OptionBits, lnk::CommandRow::MoistureControlMode,
                             lnk::CommandRow::DryingCriteria, lnk::CommandRow::DisplayOptions})
        if (lnk::IsPending(row)) return false;
      return true;
    });
    EXPECT_TRUE(echoed);
    Simulator after;
    server_.Snapshot(after);
    SimLoggedRequest log[kSimRequestLogSize];
    const int n = SimRecentRequests(after, log, kSimRequestLogSize);
    EXPECT_LT(after.logged - before.logged, static_cast<uint32_t>(kSimRequestLogSize)) << "the log kept them all";
    std::set<Register> sent;
    for (int i = 0; i < n; ++i) {
      const SimLoggedRequest& r = log[i];
      if (r.number <= before.logged || r.kind != SimRequestKind::Command) continue;
      for (int item = 0, pos = 2; item < r.bytes[1]; ++item) {
        const Register reg{r.bytes[pos], r.bytes[pos + 1]};
        if (reg != Register{0, lnk::kRequestClockMinute}) sent.insert(reg);
        pos += 3 + r.bytes[pos + 2];
      }
    }
    return sent;
  }

  bool Visible(shell::Screen s) const { return plat::IsWindowVisible(shell::ScreenWindow(s)); }

  e2e::TempDir root_;
  SimServer server_;
  shell::PanelOptions options_;
  bool started_ = false;
  plat::Hwnd driver_ = plat::kNoWindow;
};

TEST_F(DryingModeOnTheWire, StagedBatchAndBackSendOnlyTheChangedRegistersAndTheMainScreenFollowsTheEcho) {
  ASSERT_TRUE(StepUntil(3000, [] { return lnk::LinkConnected() && lnk::ReadStatusByte(lnk::kStatusMoistureControlMode) != 0; }));
  ASSERT_EQ(lnk::ReadStatusByte(lnk::kStatusDryerType), lnk::kDryerTypeContinuous);
  ASSERT_TRUE(screens::UiState().mainScreenShowing);
  EXPECT_FALSE(Visible(shell::Screen::BatchDrying));
  EXPECT_TRUE(Visible(shell::Screen::AverageValues));

  const std::set<Register> toBatch = ChangeMode({Step{dialogs::kDryingModeStagedBatch, {}},
                                                 Step{dialogs::kDryingModeSetup, {}},
                                                 Step{dialogs::kBatchTime, {}, dialogs::kStagedBatchDialogId},
                                                 Step{dialogs::kBatchAccept, {}}});
  EXPECT_EQ(toBatch, (std::set<Register>{{0, lnk::kStatusDryerType}, {0, lnk::kStatusMoistureControlMode}, {1, 1}}));
  EXPECT_EQ(lnk::ReadStatusByte(lnk::kStatusDryerType), lnk::kDryerTypeStagedBatch);
  EXPECT_EQ(lnk::ReadStatusByte(lnk::kStatusOptionBits) & lnk::kOptionBitsCriteria, lnk::kOptionBitsTimeCriterion);
  ASSERT_TRUE(StepUntil(1000, [&] { return Visible(shell::Screen::BatchDrying); }));
  EXPECT_FALSE(Visible(shell::Screen::AverageValues));

  const std::set<Register> back = ChangeMode({Step{dialogs::kDryingModeContinuous, {}},
                                              Step{dialogs::kDryingModeSetup, {}},
                                              Step{dialogs::kFlowAccept, {}, dialogs::kContinuousFlowDialogId}});
  // The time criterion stays in register 1:1, which continuous flow leaves alone but for bits 1 and 3.
  EXPECT_EQ(back, (std::set<Register>{{0, lnk::kStatusDryerType}, {0, lnk::kStatusMoistureControlMode}}));
  EXPECT_EQ(lnk::ReadStatusByte(lnk::kStatusDryerType), lnk::kDryerTypeContinuous);
  EXPECT_EQ(lnk::ReadStatusByte(lnk::kStatusMoistureControlMode), lnk::kModeTemperature2Speed);
  ASSERT_TRUE(StepUntil(1000, [&] { return !Visible(shell::Screen::BatchDrying); }));
  EXPECT_TRUE(Visible(shell::Screen::AverageValues));
}

}  // namespace
