// The setup dialogs that reach the controller, in the whole panel (ticks, link thread, serial
// code) against the simulator on a pseudo-terminal: a time set in the time and date dialog, a
// watchdog setting and a cleared batch counter each land in the simulator's registers.
//
// The panel runs on the virtual clock in 5 ms steps, and whenever a step wakes the link the
// test waits until the simulator has handled that cycle's request. While a dialog is open its
// own loop runs the panel's clock; the clicks come from a helper window's timer.
#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <thread>

#include "dialogs/BatchCounterDialog.h"
#include "dialogs/TimeDateDialog.h"
#include "dialogs/WatchdogDialog.h"
#include "link/DryerStatus.h"
#include "link/Link.h"
#include "link/RegisterMap.h"
#include "link/SettingRequest.h"
#include "platform/Clock.h"
#include "records/LogTick.h"
#include "screens/Screens.h"
#include "shell/Panel.h"
#include "shell/Ticks.h"
#include "sim/SimServer.h"
#include "tests/dialogs/DialogDriver.h"
#include "tests/e2e/ProgramSupport.h"

namespace {

using RealClock = std::chrono::steady_clock;
using testing_support::Step;

constexpr uint64_t kStepMs = 5;
constexpr auto kServeLimit = std::chrono::seconds(10);

int AnswerNo(shell::TickQuestion, const char16_t*, const char16_t*) { return plat::IdNo; }

class SetupDialogsOnTheWire : public ::testing::Test {
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
    testing_support::g_steps.clear();
    testing_support::g_next = 0;
    ASSERT_TRUE(plat::RegisterClass(plat::WindowClass{.name = "WIRE_DRIVER", .proc = testing_support::DriverProc}));
    driver_ = plat::CreateWindow(plat::WindowDesc{.className = "WIRE_DRIVER", .rect = plat::Rect{0, 0, 1, 1}});
    ASSERT_NE(driver_, plat::kNoWindow);
    ASSERT_TRUE(plat::SetTimer(driver_, testing_support::kDriverTimer, 50));
    ASSERT_TRUE(StepUntil(3000, [] { return lnk::LinkConnected(); }));
  }

  void TearDown() override {
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

  // One step of the panel's clock; false when a cycle's request never reached the simulator.
  bool StepOnce() {
    const uint32_t wakes = lnk::LinkWakeCount();
    const uint32_t served = server_.Served();
    plat::RunFor(kStepMs);
    if (lnk::LinkWakeCount() == wakes) return true;
    const RealClock::time_point limit = RealClock::now() + kServeLimit;
    while (server_.Served() == served) {
      if (RealClock::now() > limit) return false;
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
  void Drive(std::vector<Step> steps) {
    testing_support::g_steps = std::move(steps);
    testing_support::g_next = 0;
  }
  Simulator Sim() {
    Simulator s;
    server_.Snapshot(s);
    return s;
  }

  e2e::TempDir root_;
  SimServer server_;
  shell::PanelOptions options_;
  bool started_ = false;
  plat::Hwnd driver_ = plat::kNoWindow;
};

TEST_F(SetupDialogsOnTheWire, TimeSetInTheDialogReachesTheControllersClockWithinTwoSeconds) {
  using dialogs::TimeDateField;
  auto field = [](TimeDateField f) { return static_cast<int>(f); };
  // 7 March 2016 10:20 becomes 8 March 2017 11:19.
  Drive({Step{dialogs::kTimeDateIncrease[field(TimeDateField::Day)], {}, dialogs::kTimeDateDialogId},
         Step{dialogs::kTimeDateIncrease[field(TimeDateField::Year)], {}, dialogs::kTimeDateDialogId},
         Step{dialogs::kTimeDateIncrease[field(TimeDateField::Hour)], {}, dialogs::kTimeDateDialogId},
         Step{dialogs::kTimeDateDecrease[field(TimeDateField::Minute)], {}, dialogs::kTimeDateDialogId},
         Step{dialogs::kTimeDateAccept, {}, dialogs::kTimeDateDialogId}});
  dialogs::OpenTimeDateDialog(screens::MainWindow());
  ASSERT_TRUE(testing_support::g_next == testing_support::g_steps.size());

  const uint8_t expected[5] = {19, 11, 8, 3, 17};  // minute, hour, day, month, year % 100
  const uint64_t setAt = plat::NowMs();
  ASSERT_TRUE(StepUntil(2000, [&] { return std::memcmp(Sim().reg + lnk::kRequestClockMinute, expected, 5) == 0; }))
      << "the simulator's clock reads " << int(Sim().reg[lnk::kRequestClockHour]) << ":"
      << int(Sim().reg[lnk::kRequestClockMinute]);
  EXPECT_LE(plat::NowMs() - setAt, 2000u);
  plat::LocalTime now;
  plat::GetLocalTime(now);
  EXPECT_EQ(now.year, 2017);
}

TEST_F(SetupDialogsOnTheWire, WatchdogSettingReachesTheControllerAndIsEchoed) {
  ASSERT_EQ(Sim().reg[lnk::kStatusWatchdog], 0);
  Drive({Step{dialogs::kWatchdogOnRadio, {}, dialogs::kWatchdogDialogId},
         Step{dialogs::kWatchdogIncrease, {}, dialogs::kWatchdogDialogId},
         Step{dialogs::kWatchdogAccept, {}, dialogs::kWatchdogDialogId}});
  dialogs::OpenWatchdogDialog(screens::MainWindow());
  ASSERT_TRUE(testing_support::g_next == testing_support::g_steps.size());
  const uint8_t wanted = lnk::kWatchdogOnBit | (lnk::kWatchdogSecondsDefault + lnk::kWatchdogSecondsStep);
  ASSERT_TRUE(StepUntil(3000, [&] { return !lnk::IsPending(lnk::CommandRow::Watchdog); }));
  EXPECT_EQ(Sim().reg[lnk::kStatusWatchdog], wanted);
  EXPECT_EQ(lnk::ReadStatusByte(lnk::kStatusWatchdog), wanted);
}

TEST_F(SetupDialogsOnTheWire, BatchCounterClearedOnYesReachesTheController) {
  server_.Edit([](Simulator& s, void*) { SimSetU16HighFirst(s, lnk::kStatusBatchCounter, 0x0123); }, nullptr);
  ASSERT_TRUE(StepUntil(2000, [] { return lnk::ReadStatusByte(lnk::kStatusBatchCounter) == 0x01; }));
  Drive({Step{plat::IdYes, {}, dialogs::kBatchCounterDialogId}});
  dialogs::OpenBatchCounterDialog(screens::MainWindow());
  ASSERT_TRUE(StepUntil(3000, [&] { return !lnk::IsPending(lnk::CommandRow::BatchCounter); }));
  EXPECT_EQ(SimU16HighFirst(Sim(), lnk::kStatusBatchCounter), 0);
  EXPECT_EQ(lnk::ReadStatusByte(lnk::kStatusBatchCounter), 0);
  EXPECT_EQ(lnk::ReadStatusByte(lnk::kStatusBatchCounter + 1), 0);
}

}  // namespace
