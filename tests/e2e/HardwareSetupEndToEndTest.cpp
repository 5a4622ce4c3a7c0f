// The hardware setup and burner mode dialogs on the wire: the whole panel in this process
// (ticks, windows, link thread, serial code) against the controller simulator on a
// pseudo-terminal. What the operator accepts reaches the simulator's registers, and the screens
// lay themselves out again from the echoed fan/heater count while the panel runs on.
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "dialogs/BurnerModeDialog.h"
#include "dialogs/HardwareSetupDialog.h"
#include "link/DryerStatus.h"
#include "link/Link.h"
#include "link/SettingRequest.h"
#include "platform/Backend.h"
#include "platform/Bitmap.h"
#include "records/LogTick.h"
#include "screens/DryerPictureLogic.h"
#include "screens/Screens.h"
#include "screens/TempSelectLogic.h"
#include "shell/MainWindow.h"
#include "shell/Panel.h"
#include "shell/Ticks.h"
#include "sim/SimServer.h"
#include "tests/dialogs/DialogDriver.h"
#include "tests/e2e/ProgramSupport.h"

using lnk::AwaitingFirstStatusFrame;
using lnk::CommandRow;
using lnk::DryerStatus;
using lnk::IsPending;
using lnk::LinkConnected;
using lnk::LinkWakeCount;
using lnk::ReadStatusByte;
using lnk::ResetDryerStatus;
using lnk::ResetLinkState;
using lnk::ResetSettingRequest;
using lnk::TakeStatusSnapshot;
using lnk::kBurnerModeFanOnly;
using lnk::kBurnerModeNoAirSwitchTest;
using lnk::kFanHeaterFour;
using lnk::kFanHeaterTwo;
using lnk::kModulesOne;
using lnk::kModulesTwo;
using lnk::kStatusDryerLengthIndex;
using lnk::kStatusFanHeaterCount;
using lnk::kStatusFuelType;
using lnk::kStatusModuleCount;

namespace {

using RealClock = std::chrono::steady_clock;
using testing_support::Step;

constexpr uint64_t kStepMs = 5;
constexpr auto kServeLimit = std::chrono::seconds(10);

int AnswerNo(shell::TickQuestion, const char16_t*, const char16_t*) { return plat::IdNo; }

class HardwareOnTheWire : public ::testing::Test {
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
    shell::SetTickAsker(AnswerNo);
    options_.root = root_.path.c_str();
    options_.headless = true;
    options_.port = server_.SlavePath();
    ASSERT_EQ(shell::StartPanel(options_), shell::StartResult::Ok);
    started_ = true;
    // The dialogs are driven by a timer of a window of the test's own.
    testing_support::g_steps.clear();
    testing_support::g_next = 0;
    testing_support::g_idleTicks = 0;
    ASSERT_TRUE(plat::RegisterClass(plat::WindowClass{.name = "TEST_DRIVER", .proc = testing_support::DriverProc}));
    driver_ = plat::CreateWindow(plat::WindowDesc{.className = "TEST_DRIVER", .rect = plat::Rect{0, 0, 1, 1}});
    ASSERT_NE(driver_, plat::kNoWindow);
    ASSERT_TRUE(plat::SetTimer(driver_, testing_support::kDriverTimer, 50));
  }

  void TearDown() override {
    shell::SetTickAsker(nullptr);
    if (started_) shell::StopPanel();
    server_.Stop();
    screens::UiState() = screens::MainScreenState{};
    ResetLinkState();
    ResetDryerStatus();
    ResetSettingRequest();
    records::ResetLoggingState();
    i18n::ResetLanguageState();
    plat::UseRealClock();
  }

  // Steps the panel's clock until `done`; a link cycle started in a step is served before the next.
  template <typename Done>
  bool StepUntil(uint64_t limitMs, Done done) {
    for (uint64_t t = 0; t < limitMs; t += kStepMs) {
      const uint32_t wakes = LinkWakeCount(), served = server_.Served();
      plat::RunFor(kStepMs);
      const RealClock::time_point limit = RealClock::now() + kServeLimit;
      while (LinkWakeCount() != wakes && server_.Served() == served) {
        if (RealClock::now() > limit) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
      }
      if (done()) return true;
    }
    return false;
  }
  uint8_t SimRegister(int index) const {
    Simulator s;
    server_.Snapshot(s);
    return s.reg[index];
  }
  void RunDialog(std::vector<Step> steps, void (*open)(plat::Hwnd)) {
    testing_support::g_steps = std::move(steps);
    testing_support::g_next = 0;
    open(screens::MainWindow());
    EXPECT_EQ(testing_support::g_next, testing_support::g_steps.size()) << "every press was made";
  }

  // Plenum setpoint buttons the temperature screen shows.
  static int PlenumButtonsShown() {
    const plat::Hwnd panel = plat::FindWindow(screens::kPlenumSetpointChildClass);
    int shown = 0;
    for (int i = 0; i < static_cast<int>(screens::PlenumButton::HiHeat1); ++i)
      shown += plat::IsWindowVisible(plat::GetDlgItem(panel, screens::kPlenumButtons[i].controlId)) ? 1 : 0;
    return shown;
  }
  // True when each of the first `units` unit places of the record's layout is drawn over: the
  // pictures are scaled into their places, so the share of lit pixels is what is compared.
  static bool UnitPicturesShown(int units) {
    const plat::Hwnd pic = shell::ScreenWindow(shell::Screen::DryerPic);
    if (!plat::IsWindowVisible(pic)) return false;
    const plat::Point origin = plat::ClientToScreen(pic, plat::Point{0, 0});
    DryerStatus s;
    TakeStatusSnapshot(s);
    const plat::PixelView screen = plat::ScreenPixels();
    for (int n = 1; n <= units; ++n) {
      const plat::Rect place = ChooseUnitPicture(s, gAnimationPhases, ChoosePictureLayout(s), n).place;
      int lit = 0;
      for (int y = place.top; y < place.bottom; ++y)
        for (int x = place.left; x < place.right; ++x) lit += (screen.At(origin.x + x, origin.y + y) & 0xFFFFFF) != 0;
      if (lit * 2 < place.Width() * place.Height()) return false;
    }
    return true;
  }

  e2e::TempDir root_;
  SimServer server_;
  shell::PanelOptions options_;
  bool started_ = false;
  plat::Hwnd driver_ = plat::kNoWindow;
};

}  // namespace

TEST_F(HardwareOnTheWire, AcceptedHardwareReachesTheControllerAndTheScreensFollowTheEchoedUnitCount) {
  using namespace dialogs;
  ASSERT_TRUE(StepUntil(3000, [] { return !AwaitingFirstStatusFrame() && LinkConnected(); }));
  ASSERT_EQ(ReadStatusByte(kStatusFanHeaterCount), kFanHeaterTwo) << "the default dryer has two units";
  ASSERT_EQ(ReadStatusByte(kStatusModuleCount), kModulesOne);
  ASSERT_TRUE(StepUntil(1000, [] { return UnitPicturesShown(2); }));
  screens::SendMainCommand(screens::kCmdTemps);
  ASSERT_TRUE(StepUntil(500, [] { return PlenumButtonsShown() == 2; }));

  // Two modules force Three units, SELECT makes them Four; the length steps from 20 to 22 ft.
  RunDialog({Step{kHwModuleSelect, {}}, Step{kHwFanSelect, {}}, Step{kHwLengthSelect, {}}, Step{kHwAccept, {}}},
            OpenHardwareSetupDialog);
  ASSERT_TRUE(StepUntil(5000, [&] {
    return SimRegister(kStatusFanHeaterCount) == kFanHeaterFour && SimRegister(kStatusModuleCount) == kModulesTwo &&
           SimRegister(kStatusDryerLengthIndex) == 7;
  }));
  EXPECT_EQ(SimRegister(kStatusFuelType), 0) << "an unchanged register is not sent";
  ASSERT_TRUE(StepUntil(3000, [] { return !IsPending(CommandRow::FanHeaterCount); })) << "the echo retires it";
  EXPECT_EQ(ReadStatusByte(kStatusFanHeaterCount), kFanHeaterFour);

  // The open temperature screen offers four plenums, and back on the main screen the dryer
  // picture draws four units: no restart.
  EXPECT_TRUE(StepUntil(2000, [] { return PlenumButtonsShown() == 4; }));
  screens::SendMainCommand(screens::kCmdShowMainScreen);
  EXPECT_TRUE(StepUntil(2000, [] { return UnitPicturesShown(4); }));
}

TEST_F(HardwareOnTheWire, BurnerModesChosenReachTheRegistersOfTheUnitsPresent) {
  using namespace dialogs;
  ASSERT_TRUE(StepUntil(3000, [] { return !AwaitingFirstStatusFrame() && LinkConnected(); }));
  ASSERT_EQ(SimRegister(106), 0);
  ASSERT_EQ(SimRegister(105), 0);
  // Unit 1 to fan only, unit 2 without the air switch test.
  RunDialog({Step{kBurnerFireButtons[0], {}}, Step{kBurnerAirSwitchButtons[1], {}}, Step{kBurnerModeAccept, {}}},
            OpenBurnerModeDialog);
  ASSERT_TRUE(StepUntil(5000, [&] {
    return SimRegister(106) == kBurnerModeFanOnly && SimRegister(105) == kBurnerModeNoAirSwitchTest;
  }));
  ASSERT_TRUE(StepUntil(3000, [] { return !IsPending(CommandRow::BurnerMode6) && !IsPending(CommandRow::BurnerMode5); }));
  for (int reg = 101; reg <= 104; ++reg) EXPECT_EQ(SimRegister(reg), 0) << "register " << reg;
}
