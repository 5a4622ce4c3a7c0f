// The whole panel in this process against the controller simulator on a pseudo-terminal: the
// drying mode selection takes a continuous flow dryer to a staged batch and back. Each change
// sends exactly the registers that changed, and the main screen follows the dryer type only
// once the controller echoes it: the batch window, then the chart again.
#include <gtest/gtest.h>

#include <set>
#include <utility>

#include "dialogs/DryingModeDialogs.h"
#include "link/Link.h"
#include "link/RegisterMap.h"
#include "platform/Window.h"
#include "screens/Screens.h"
#include "shell/MainWindow.h"
#include "tests/e2e/PanelOnTheWire.h"

namespace {

using testing_support::Step;
using Register = std::pair<int, int>;  // page, register

class DryingModeOnTheWire : public e2e::PanelOnTheWire {
 protected:
  e2e::WireSetup Setup() const override { return {.linkPhaseMs = kLinkPhaseMs}; }

  // Runs the selection with these presses, then steps until the controller has echoed every
  // request; returns the registers its command frames carried, the panel clock left out.
  std::set<Register> ChangeMode(std::vector<Step> presses) {
    const Simulator before = Sim();
    Drive(std::move(presses));
    dialogs::OpenDryingModeDialog(screens::MainWindow());
    EXPECT_EQ(testing_support::g_next, testing_support::g_steps.size()) << "every press was taken";
    const bool echoed = StepUntil(10000, [] {
      for (lnk::CommandRow row : {lnk::CommandRow::DryerType, lnk::CommandRow::OptionBits, lnk::CommandRow::MoistureControlMode,
                             lnk::CommandRow::DryingCriteria, lnk::CommandRow::DisplayOptions})
        if (lnk::IsPending(row)) return false;
      return true;
    });
    EXPECT_TRUE(echoed);
    const Simulator after = Sim();
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
