// The whole panel in this process against the controller simulator on a pseudo-terminal: a
// moisture offset accepted in the calibration dialog reaches the controller and moves the
// moisture the main screen shows by that offset; CLEAR in the unload bushels dialog has the
// controller zero its counter, and the unload panel shows 0.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "dialogs/MoistureCalibrationDialog.h"
#include "dialogs/UnloadBushelsDialog.h"
#include "link/RegisterMap.h"
#include "platform/Backend.h"
#include "platform/MessageBox.h"
#include "screens/Screens.h"
#include "shell/MainWindow.h"
#include "tests/e2e/PanelOnTheWire.h"

using lnk::CommandRow;
using lnk::IsPending;
using lnk::kBushelCounterUnitsPerBushel;
using lnk::kSensorCommandZeroBushels;
using lnk::kStatusBushelCounter;
using lnk::kStatusIncomingMoisture;
using lnk::kStatusMoistureCalibration2;
using lnk::kStatusSensorCommand;

namespace {

using testing_support::Step;

class CalibrationOnTheWire : public e2e::PanelOnTheWire {
 protected:
  virtual const char* ScenarioName() const = 0;
  e2e::WireSetup Setup() const override {
    return {.scenario = ScenarioName(), .physicsFrozen = false, .linkPhaseMs = kLinkPhaseMs, .captureText = true};
  }

  // Presses `steps` in the dialog that `which` opens; returns when it has closed.
  void RunDialog(shell::PanelDialog which, std::vector<Step> steps) {
    Drive(std::move(steps));
    shell::OpenPanelDialog(which);
    EXPECT_EQ(testing_support::g_next, testing_support::g_steps.size()) << "every press was made";
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
    return StepUntil(3000, [&] {
      panel = panel || TotalBushelsShown() == total;
      picture = picture || DrawnBy(figure.c_str(), shell::Screen::DryerPic);
      return panel && picture;
    });
  }
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
  ASSERT_TRUE(StepUntil(3000, [] { return DrawnBy("22.0%", shell::Screen::DryerPic); }))
      << "the incoming moisture of the loaded grain";

  std::vector<Step> presses(5, Step{dialogs::kCalibrationWetMoistureUp, {}});
  presses.push_back(Step{dialogs::kCalibrationAccept, {}});
  RunDialog(shell::PanelDialog::MoistureCalibration, presses);
  EXPECT_TRUE(IsPending(CommandRow::MoistureCalibration2));

  EXPECT_TRUE(StepUntil(3000, [] { return DrawnBy("22.5%", shell::Screen::DryerPic); }))
      << "the incoming moisture plus 0.5";
  const Simulator sim = Sim();
  EXPECT_EQ(sim.reg[kStatusMoistureCalibration2], 0x00);
  EXPECT_EQ(sim.reg[kStatusMoistureCalibration2 + 1], 0x05);
  EXPECT_EQ(SimU16HighFirst(sim, kStatusIncomingMoisture), 225);
  EXPECT_TRUE(StepUntil(1000, [] { return !IsPending(CommandRow::MoistureCalibration2); })) << "the echo retires it";
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
  EXPECT_TRUE(StepUntil(3000, [this] {
    return !IsPending(CommandRow::SensorCommand) && (Sim().reg[kStatusSensorCommand] & kSensorCommandZeroBushels) == 0;
  }));
}
