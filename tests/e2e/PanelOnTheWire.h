#pragma once
// The whole panel in this process (ticks, windows, link thread, serial code) headless in a
// temporary root, its link talking to the controller simulator on a pseudo-terminal.
//
// The panel runs on the virtual clock in 5 ms steps, and whenever a step wakes the link the
// test waits (bounded) until the simulator has handled that cycle's request, so every cycle is
// over before the clock moves on. While a dialog is open its own loop moves the clock, and the
// presses come from the timer of a 1x1 window of the test's own (tests/dialogs/DialogDriver.h).
#include <gtest/gtest.h>

#include <chrono>
#include <thread>
#include <utility>
#include <vector>

#include "i18n/Language.h"
#include "link/DryerStatus.h"
#include "link/Link.h"
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

namespace e2e {

// How a fixture wants the simulator, the panel's clock and the test's windows.
struct WireSetup {
  const char* scenario = nullptr;  // a simulator scenario by name; null: the default dryer
  bool physicsFrozen = true;       // the registers change only through commands and edits
  bool realPace = false;
  // 2016-03-07 10:20:30, a Monday.
  plat::LocalTime start{.year = 2016, .month = 3, .day = 7, .hour = 10, .minute = 20, .second = 30, .dayOfWeek = 1};
  // Starts the link timer again this long after the others, so that no link tick falls on a
  // tenth or a whole second and a paint those cause comes between two link cycles; 0 leaves it.
  uint64_t linkPhaseMs = 0;
  bool driver = true;       // the window whose timer plays testing_support::g_steps
  bool captureText = false;  // drawn text is kept, cleared before each step
};

inline int AnswerNo(shell::TickQuestion, const char16_t*, const char16_t*) { return plat::IdNo; }

class PanelOnTheWire : public ::testing::Test {
 protected:
  static constexpr uint64_t kStepMs = 5;
  static constexpr uint64_t kLinkPhaseMs = 10;
  static constexpr auto kServeLimit = std::chrono::seconds(10);

  virtual WireSetup Setup() const { return {}; }

  void SetUp() override {
    const WireSetup setup = Setup();
    captureText_ = setup.captureText;
    ASSERT_FALSE(root_.path.empty());
    ASSERT_TRUE(shell::PrepareRoot(root_.path.c_str(), DRYER_BINARY_DIR "/assets/Languages"));
    SimServerOptions so;
    so.realPace = setup.realPace;
    so.physicsFrozen = setup.physicsFrozen;
    if (setup.scenario != nullptr) {
      so.scenario = SimFindScenario(setup.scenario);
      ASSERT_NE(so.scenario, nullptr) << setup.scenario;
    }
    ASSERT_EQ(server_.StartOnPty(so), SimServerResult::Ok);
    plat::UseVirtualClock(setup.start);
    plat::SetFileRoot(root_.path.c_str());
    shell::SetTickAsker(AnswerNo);
    options_.root = root_.path.c_str();
    options_.headless = true;
    options_.port = server_.SlavePath();
    ASSERT_EQ(shell::StartPanel(options_), shell::StartResult::Ok);
    started_ = true;
    if (setup.linkPhaseMs != 0) {
      plat::RunFor(setup.linkPhaseMs);
      ASSERT_TRUE(plat::SetTimer(screens::MainWindow(), shell::kLinkTimerId, shell::kLinkTimerMs));
    }
    testing_support::g_steps.clear();
    testing_support::g_next = 0;
    testing_support::g_idleTicks = 0;
    if (setup.driver) {
      ASSERT_TRUE(plat::RegisterClass(plat::WindowClass{.name = "WIRE_DRIVER", .proc = testing_support::DriverProc}));
      driver_ = plat::CreateWindow(plat::WindowDesc{.className = "WIRE_DRIVER", .rect = plat::Rect{0, 0, 1, 1}});
      ASSERT_NE(driver_, plat::kNoWindow);
      ASSERT_TRUE(plat::SetTimer(driver_, testing_support::kDriverTimer, 50));
    }
    if (captureText_) plat::StartTextCapture();
  }

  void TearDown() override {
    if (captureText_) plat::StopTextCapture();
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

  // One step of the panel's clock; false when a cycle's request never reached the simulator.
  bool StepOnce() {
    if (captureText_) plat::ClearCapturedText();
    const uint32_t wakes = lnk::LinkWakeCount();
    const uint32_t served = server_.Served();
    plat::RunFor(kStepMs);
    if (lnk::LinkWakeCount() == wakes) return true;
    const std::chrono::steady_clock::time_point limit = std::chrono::steady_clock::now() + kServeLimit;
    while (server_.Served() == served) {
      if (std::chrono::steady_clock::now() > limit) {
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

  // The presses the driver window makes in the next dialog opened.
  void Drive(std::vector<testing_support::Step> steps) {
    testing_support::g_steps = std::move(steps);
    testing_support::g_next = 0;
  }

  Simulator Sim() const {
    Simulator s;
    server_.Snapshot(s);
    return s;
  }

  TempDir root_;
  SimServer server_;
  shell::PanelOptions options_;
  bool started_ = false;
  bool captureText_ = false;
  plat::Hwnd driver_ = plat::kNoWindow;
};

}  // namespace e2e
