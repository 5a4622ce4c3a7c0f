// The units switch on the wire: the whole panel in this process against the controller
// simulator on a pseudo-terminal. The operator switches to SI units on the setup screen; the
// command reaches the simulator's register, the panel shows what the controller reports, and a
// panel started afresh on the same controller shows SI units again, as the controller kept them.
#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <thread>

#include "i18n/Language.h"
#include "link/DryerStatus.h"
#include "link/Link.h"
#include "link/RegisterMap.h"
#include "link/SettingRequest.h"
#include "platform/Backend.h"
#include "platform/Clock.h"
#include "platform/Files.h"
#include "platform/MessageBox.h"
#include "platform/Script.h"
#include "records/LogTick.h"
#include "screens/Screens.h"
#include "screens/SetupDoors.h"
#include "shell/Panel.h"
#include "shell/Ticks.h"
#include "sim/SimServer.h"
#include "tests/e2e/ProgramSupport.h"

namespace {

constexpr uint64_t kStepMs = 5;
constexpr auto kServeLimit = std::chrono::seconds(10);

uint8_t SimRegister(const SimServer& server, int index) {
  Simulator s;
  server.Snapshot(s);
  return s.reg[index];
}

class SetupUnitsOnTheWire : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_FALSE(root_.path.empty());
    ASSERT_TRUE(shell::PrepareRoot(root_.path.c_str(), DRYER_BINARY_DIR "/assets/Languages"));
    SimServerOptions so;
    so.realPace = false;
    so.physicsFrozen = true;
    ASSERT_EQ(server_.StartOnPty(so), SimServerResult::Ok);
    plat::UseVirtualClock(plat::LocalTime{.year = 2016, .month = 3, .day = 7, .hour = 10, .minute = 20});
    plat::SetFileRoot(root_.path.c_str());
    options_.root = root_.path.c_str();
    options_.headless = true;
    options_.port = server_.SlavePath();
  }

  void TearDown() override {
    Stop();
    server_.Stop();
    plat::UseRealClock();
  }

  void Start() {
    ASSERT_EQ(shell::StartPanel(options_), shell::StartResult::Ok);
    started_ = true;
  }
  // The panel goes as a power cut takes it: nothing of its state survives but the root.
  void Stop() {
    if (!started_) return;
    plat::StopScript();
    shell::StopPanel();
    started_ = false;
    screens::UiState() = screens::MainScreenState{};
    lnk::ResetLinkState();
    lnk::ResetDryerStatus();
    lnk::ResetSettingRequest();
    records::ResetLoggingState();
    i18n::ResetLanguageState();
  }

  // One step of the panel's clock; a cycle's request is served before the clock moves on.
  bool Step() {
    const uint32_t wakes = lnk::LinkWakeCount();
    const uint32_t served = server_.Served();
    plat::RunFor(kStepMs);
    if (lnk::LinkWakeCount() == wakes) return true;
    const auto limit = std::chrono::steady_clock::now() + kServeLimit;
    while (server_.Served() == served) {
      if (std::chrono::steady_clock::now() > limit) return false;
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
  }
  template <typename Done>
  bool StepUntil(uint64_t limitMs, Done done) {
    for (uint64_t t = 0; t < limitMs; t += kStepMs) {
      if (!Step()) return false;
      if (done()) return true;
    }
    return false;
  }

  e2e::TempDir root_;
  SimServer server_;
  shell::PanelOptions options_;
  bool started_ = false;
};

bool PanelShowsSi() { return (lnk::ReadStatusByte(lnk::kStatusDisplayOptions) & lnk::kDisplayOptionsCelsius) != 0; }

TEST_F(SetupUnitsOnTheWire, SiUnitsChosenOnTheSetupScreenReachTheControllerAndSurviveARestart) {
  const int units = lnk::kStatusDisplayOptions;
  ASSERT_EQ(SimRegister(server_, units) & lnk::kDisplayOptionsCelsius, 0) << "the default dryer shows degrees F";
  Start();
  ASSERT_TRUE(StepUntil(3000, [] { return lnk::LinkConnected(); }));
  const uint8_t before = SimRegister(server_, units);

  const std::string walk = "press " + std::to_string(screens::kCmdSetup) + "\nwait 50\npress " +
                           std::to_string(screens::kSetupUnits) + "\nwait 50\npress " +
                           std::to_string(plat::IdYes) + "\n";
  ASSERT_EQ(plat::StartScriptText(walk.c_str()), plat::ScriptResult::Ok);
  ASSERT_TRUE(StepUntil(2000, [] { return !plat::ScriptRunning(); }));
  ASSERT_EQ(plat::ScriptErrorLine(), 0) << plat::ScriptErrorText();

  // The controller takes the bit and keeps its other display options; the panel follows its echo.
  ASSERT_TRUE(StepUntil(3000, [&] { return PanelShowsSi() && !lnk::IsPending(lnk::CommandRow::DisplayOptions); }));
  EXPECT_EQ(SimRegister(server_, units), before | lnk::kDisplayOptionsCelsius);
  EXPECT_EQ(lnk::Derived().celsius.load(), 1);

  Stop();
  ASSERT_FALSE(PanelShowsSi());
  Start();
  ASSERT_TRUE(StepUntil(3000, [] { return lnk::LinkConnected() && PanelShowsSi(); }));
  EXPECT_EQ(lnk::Derived().celsius.load(), 1);
}

}  // namespace
