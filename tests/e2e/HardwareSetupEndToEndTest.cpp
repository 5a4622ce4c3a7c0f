// The hardware setup and burner mode dialogs on the wire: the whole panel in this process
// (ticks, windows, link thread, serial code) against the controller simulator on a
// pseudo-terminal. What the operator accepts reaches the simulator's registers, and the screens
// lay themselves out again from the echoed fan/heater count while the panel runs on.
#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "dialogs/BurnerModeDialog.h"
#include "dialogs/HardwareSetupDialog.h"
#include "link/DryerStatus.h"
#include "link/Link.h"
#include "platform/Backend.h"
#include "platform/Bitmap.h"
#include "screens/DryerPictureLogic.h"
#include "screens/Screens.h"
#include "screens/TempSelectLogic.h"
#include "shell/MainWindow.h"
#include "tests/e2e/PanelOnTheWire.h"

using lnk::AwaitingFirstStatusFrame;
using lnk::CommandRow;
using lnk::DryerStatus;
using lnk::IsPending;
using lnk::LinkConnected;
using lnk::ReadStatusByte;
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

using testing_support::Step;

class HardwareOnTheWire : public e2e::PanelOnTheWire {
 protected:
  e2e::WireSetup Setup() const override {
    return {.start = plat::LocalTime{.year = 2016, .month = 3, .day = 7, .hour = 10, .minute = 20}};
  }

  void RunDialog(std::vector<Step> steps, void (*open)(plat::Hwnd)) {
    Drive(std::move(steps));
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
    return Sim().reg[kStatusFanHeaterCount] == kFanHeaterFour && Sim().reg[kStatusModuleCount] == kModulesTwo &&
           Sim().reg[kStatusDryerLengthIndex] == 7;
  }));
  EXPECT_EQ(Sim().reg[kStatusFuelType], 0) << "an unchanged register is not sent";
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
  ASSERT_EQ(Sim().reg[106], 0);
  ASSERT_EQ(Sim().reg[105], 0);
  // Unit 1 to fan only, unit 2 without the air switch test.
  RunDialog({Step{kBurnerFireButtons[0], {}}, Step{kBurnerAirSwitchButtons[1], {}}, Step{kBurnerModeAccept, {}}},
            OpenBurnerModeDialog);
  ASSERT_TRUE(StepUntil(5000, [&] {
    return Sim().reg[106] == kBurnerModeFanOnly && Sim().reg[105] == kBurnerModeNoAirSwitchTest;
  }));
  ASSERT_TRUE(StepUntil(3000, [] { return !IsPending(CommandRow::BurnerMode6) && !IsPending(CommandRow::BurnerMode5); }));
  for (int reg = 101; reg <= 104; ++reg) EXPECT_EQ(Sim().reg[reg], 0) << "register " << reg;
}
