// The setup dialogs that reach the controller, in the whole panel (ticks, link thread, serial
// code) against the simulator on a pseudo-terminal: a time set in the time and date dialog, a
// watchdog setting and a cleared batch counter each land in the simulator's registers.
#include <gtest/gtest.h>

#include <cstring>

#include "dialogs/BatchCounterDialog.h"
#include "dialogs/TimeDateDialog.h"
#include "dialogs/WatchdogDialog.h"
#include "link/Link.h"
#include "link/RegisterMap.h"
#include "platform/Clock.h"
#include "screens/Screens.h"
#include "tests/e2e/PanelOnTheWire.h"

namespace {

using testing_support::Step;

class SetupDialogsOnTheWire : public e2e::PanelOnTheWire {
 protected:
  void SetUp() override {
    PanelOnTheWire::SetUp();
    if (HasFatalFailure()) return;
    ASSERT_TRUE(StepUntil(3000, [] { return lnk::LinkConnected(); }));
  }
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
