// The whole panel in this process against the controller simulator on a pseudo-terminal: a
// moisture offset accepted in the calibration dialog reaches the controller and moves the
// moisture the main screen shows by that offset; CLEAR in the unload bushels dialog has the
// controller zero its counter, and the unload panel shows 0.
//
// The panel runs on the virtual clock in 5 ms steps, and waits after each link wake until the
// simulator has served that cycle's request. While a dialog is open its own loop moves the clock
// on; a finger (a timer of a hidden window) presses its buttons.
#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <thread>

#include "dialogs/MoistureCalibrationDialog.h"
#include "dialogs/UnloadBushelsDialog.h"
#include "link/DryerStatus.h"
#include "link/Link.h"
#include "link/RegisterMap.h"
#include "link/SettingRequest.h"
#include "platform/Backend.h"
#include "platform/Clock.h"
#include "platform/MessageBox.h"
#include "records/LogTick.h"
#include "screens/Screens.h"
#include "shell/MainWindow.h"
#include "shell/Panel.h"
#include "shell/Ticks.h"
#include "sim/SimServer.h"
#include "tests/dialogs/DialogDriver.h"
#include "tests/e2e/ProgramSupport.h"

using lnk::CommandRow;
using lnk::IsPending;
using lnk::LinkWakeCount;
using lnk::ResetDryerStatus;
using lnk::ResetLinkState;
using lnk::ResetSettingRequest;
using lnk::kBushelCounterUnitsPerBushel;
using lnk::kSensorCommandZeroBushels;
using lnk::kStatusBushelCounter;
using lnk::kStatusIncomingMoisture;
using lnk::kStatusMoistureCalibration2;
using lnk::kStatusSensorCommand;

namespace {

using RealClock = std::chrono::steady_clock;
using testing_support::Step;

constexpr uint64_t kStepMs = 5;
constexpr uint64_t kLinkPhaseMs = 10;  // keeps the link's ticks off the tenths and seconds
constexpr auto kServeLimit = std::chrono::seconds(10);

int AnswerNo(shell::TickQuestion, const char16_t*, const char16_t*) { return plat::IdNo; }

class CalibrationOnTheWire : public ::testing::Test {
 protected:
  virtual const char* ScenarioName() const = 0;
  void SetUp() override {
    ASSERT_FALSE(root_.path.empty());
    ASSERT_TRUE(shell::PrepareRoot(root_.path.c_str(), DRYER_BINARY_DIR "/assets/Languages"));
    SimServerOptions so;
    so.realPace = false;
    so.scenario = SimFindScenario(ScenarioName());
    ASSERT_NE(so.scenario, nullptr);
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

    testing_support::g_steps.clear();
    testing_support::g_next = 0;
    testing_support::g_idleTicks = 0;
    ASSERT_TRUE(plat::RegisterClass(plat::WindowClass{.name = "TEST_FINGER", .proc = testing_support::DriverProc}));
    finger_ = plat::CreateWindow(plat::WindowDesc{.className = "TEST_FINGER", .rect = plat::Rect{0, 0, 1, 1}});
    ASSERT_NE(finger_, plat::kNoWindow);
    ASSERT_TRUE(plat::SetTimer(finger_, testing_support::kDriverTimer, 50));
    plat::StartTextCapture();
  }

  void TearDown() override {
    plat::StopTextCapture();
    shell::SetTickAsker(nullptr);
    if (started_) shell::StopPanel();
    server_.Stop();
    testing_support::g_steps.clear();
    screens::UiState() = screens::MainScreenState{};
    ResetLinkState();
    ResetDryerStatus();
    ResetSettingRequest();
    records::ResetLoggingState();
    i18n::ResetLanguageState();
    plat::UseRealClock();
  }

  // One step of the panel's clock; false when a cycle's request never reached the simulator.
  bool Tick() {
    plat::ClearCapturedText();
    const uint32_t wakes = LinkWakeCount();
    const uint32_t served = server_.Served();
    plat::RunFor(kStepMs);
    if (LinkWakeCount() == wakes) return true;
    const RealClock::time_point limit = RealClock::now() + kServeLimit;
    while (server_.Served() == served) {
      if (RealClock::now() > limit) {
        ADD_FAILURE() << "the simulator did not see a request";
        return false;
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
  }
  template <typename Done>
  bool TickUntil(uint64_t limitMs, Done done) {
    for (uint64_t t = 0; t < limitMs; t += kStepMs) {
      if (!Tick()) return false;
      if (done()) return true;
    }
    return false;
  }

  // Presses `steps` in the dialog that `which` opens; returns when it has closed.
  void RunDialog(shell::PanelDialog which, std::vector<Step> steps) {
    testing_support::g_steps = std::move(steps);
    testing_support::g_next = 0;
    shell::OpenPanelDialog(which);
    EXPECT_EQ(testing_support::g_next, testing_support::g_steps.size()) << "every press was made";
  }

  Simulator Sim() const {
    Simulator s;
    server_.Snapshot(s);
    return s;
  }
  static bool DrawnBy(const char* text, shell::Screen screen) {
    return plat::FindCapturedText(text, shell::ScreenWindow(screen)) != nullptr;
  }
  // The figure drawn last after "Total Bushels:" on its line, "" when none was drawn.
  static std::string TotalBushelsShown() {
    const plat::CapturedText* label = plat::FindCapturedText("Total Bushels:");
    if (label == nullptr) return "";
    std::string figure;
    for (int i = 0; i < plat::CapturedTextCount(); ++i) {
      const plat::CapturedText* t = plat::CapturedTextAt(i);
      if (t->window == label->window && t->rect.top == label->rect.top && t->rect.left > label->rect.left)
        figure = testing_support::Narrow(t->text);
    }
    return figure;
  }

  // The total is seen on the unload panel and on the main picture (each repaints at its own
  // pace) within three seconds.
  bool ShownOnBoth(const std::string& total) {
    bool panel = false, picture = false;
    const std::string figure = "BU " + total;
    return TickUntil(3000, [&] {
      panel = panel || TotalBushelsShown() == total;
      picture = picture || DrawnBy(figure.c_str(), shell::Screen::DryerPic);
      return panel && picture;
    });
  }

  e2e::TempDir root_;
  SimServer server_;
  shell::PanelOptions options_;
  bool started_ = false;
  plat::Hwnd finger_ = plat::kNoWindow;
};

// A batch dryer loaded with grain of a steady moisture, so the incoming reading moves only by
// the offset.
class MoistureOffsetOnTheWire : public CalibrationOnTheWire {
  const char* ScenarioName() const override { return "staged-batch"; }
};

// A continuous-flow dryer unloading all the time, its counter growing.
class BushelClearOnTheWire : public CalibrationOnTheWire {
  const char* ScenarioName() const override { return "corn"; }
};

}  // namespace

TEST_F(MoistureOffsetOnTheWire, AnAcceptedMoistureOffsetMovesTheMoistureTheMainScreenShows) {
  ASSERT_TRUE(TickUntil(3000, [] { return DrawnBy("22.0%", shell::Screen::DryerPic); }))
      << "the incoming moisture of the loaded grain";

  std::vector<Step> presses(5, Step{dialogs::kCalibrationWetMoistureUp, {}});
  presses.push_back(Step{dialogs::kCalibrationAccept, {}});
  RunDialog(shell::PanelDialog::MoistureCalibration, presses);
  EXPECT_TRUE(IsPending(CommandRow::MoistureCalibration2));

  EXPECT_TRUE(TickUntil(3000, [] { return DrawnBy("22.5%", shell::Screen::DryerPic); }))
      << "the incoming moisture plus 0.5";
  const Simulator sim = Sim();
  EXPECT_EQ(sim.reg[kStatusMoistureCalibration2], 0x00);
  EXPECT_EQ(sim.reg[kStatusMoistureCalibration2 + 1], 0x05);
  EXPECT_EQ(SimU16HighFirst(sim, kStatusIncomingMoisture), 225);
  EXPECT_TRUE(TickUntil(1000, [] { return !IsPending(CommandRow::MoistureCalibration2); })) << "the echo retires it";
}

TEST_F(BushelClearOnTheWire, ClearZeroesTheControllersCounterAndTheUnloadPanelShowsZero) {
  server_.Edit([](Simulator& sim, void*) {
    const uint32_t counter = 42 * kBushelCounterUnitsPerBushel + 17;
    for (int i = 0; i < 4; ++i) sim.reg[kStatusBushelCounter + i] = static_cast<uint8_t>(counter >> (8 * i));
  }, nullptr);
  // The unload panel is up, as it is once the controller programming screen has closed.
  plat::ShowWindow(shell::ScreenWindow(shell::Screen::UnloadStatus), true);
  ASSERT_TRUE(ShownOnBoth("42"));

  RunDialog(shell::PanelDialog::UnloadBushels,
            {Step{dialogs::kBushelsClear, {}}, Step{plat::IdYes, {}, plat::kMessageBoxTemplateId},
             Step{dialogs::kBushelsAccept, {}}});

  EXPECT_TRUE(ShownOnBoth("0"));
  EXPECT_LT(SimU32LowFirst(Sim(), kStatusBushelCounter), kBushelCounterUnitsPerBushel);
  // The decoder clears the bit once the counter reads zero, and the controller counts again.
  EXPECT_TRUE(TickUntil(3000, [this] {
    return !IsPending(CommandRow::SensorCommand) && (Sim().reg[kStatusSensorCommand] & kSensorCommandZeroBushels) == 0;
  }));
}
