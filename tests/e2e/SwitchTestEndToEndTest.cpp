// The switch test dialog in the whole panel (ticks, link thread, serial code) against the
// controller simulator on a pseudo-terminal: a switch moved in the simulator is on screen within
// one refresh period of the panel's record taking it.
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "dialogs/DiagnosticsShared.h"
#include "dialogs/SwitchTestDialog.h"
#include "link/DryerStatus.h"
#include "link/Link.h"
#include "platform/Backend.h"
#include "platform/Clock.h"
#include "platform/Dialog.h"
#include "screens/Screens.h"
#include "sim/SimServer.h"
#include "tests/e2e/PanelOnTheWire.h"

namespace {

constexpr uint32_t kDriverTimer = 91;
constexpr uint32_t kDriverMs = 5;
constexpr uint64_t kGiveUpMs = 15000;
constexpr int kSwitchByte = lnk::kStatusConnector180;  // FAN 2 ON
constexpr uint8_t kSwitchMask = 0x08;
constexpr int kSwitchBit = 3;

// The walk, run at each driver tick while the dialog is open; the panel's clock is kept with
// real time so the link thread's cycles come at their pace.
struct Walk {
  SimServer* server = nullptr;
  uint64_t startMs = 0;
  bool moved = false;
  bool checkedBefore = true;
  uint64_t recordMs = 0;  // the panel's record took the switch
  uint64_t shownMs = 0;   // the box showed it
};
Walk g_walk;

void MoveSwitch(Simulator& sim, void*) {
  SimFaults& f = sim.faults;
  f.forced[f.forcedCount++] = SimForcedBit{.byte = kSwitchByte, .mask = kSwitchMask, .value = true, .fromS = sim.timeS};
}

plat::LResult DriverProc(plat::Hwnd h, plat::Msg msg, plat::WParam w, plat::LParam l) {
  if (msg != plat::Msg::Timer || w != kDriverTimer) return plat::DefWindowProc(h, msg, w, l);
  std::this_thread::sleep_for(std::chrono::milliseconds(kDriverMs));
  const plat::Hwnd dialog = plat::FindOpenDialog(dialogs::kSwitchTestDialogId);
  if (dialog == plat::kNoWindow) return 0;
  const uint64_t now = plat::NowMs();
  if (now - g_walk.startMs > kGiveUpMs) {
    plat::EndDialog(dialog, -2);
    return 0;
  }
  const int box = dialogs::SwitchInputControl(kSwitchByte, kSwitchBit);
  if (!g_walk.moved) {
    if (!lnk::LinkConnected()) return 0;
    g_walk.checkedBefore = plat::IsDlgButtonChecked(dialog, box);
    g_walk.server->Edit(MoveSwitch, nullptr);
    g_walk.moved = true;
    return 0;
  }
  lnk::DryerStatus s;
  lnk::TakeStatusSnapshot(s);
  if (g_walk.recordMs == 0 && (s.b[kSwitchByte] & kSwitchMask) != 0) g_walk.recordMs = now;
  if (g_walk.recordMs != 0 && plat::IsDlgButtonChecked(dialog, box)) {
    g_walk.shownMs = now;
    plat::EndDialog(dialog, dialogs::kSwitchTestExit);
  }
  return 0;
}

// The walk brings its own driver window.
class SwitchTestWithSimulator : public e2e::PanelOnTheWire {
 protected:
  e2e::WireSetup Setup() const override {
    return {.physicsFrozen = false,
            .start = plat::LocalTime{.year = 2016, .month = 3, .day = 7, .hour = 10, .minute = 20},
            .driver = false};
  }
};

}  // namespace

TEST_F(SwitchTestWithSimulator, SwitchMovedInTheSimulatorShowsWithinOneRefreshPeriod) {
  ASSERT_TRUE(plat::RegisterClass(plat::WindowClass{.name = "SWITCH_TEST_DRIVER", .proc = DriverProc}));
  const plat::Hwnd driver = plat::CreateWindow(plat::WindowDesc{.className = "SWITCH_TEST_DRIVER",
                                                                 .rect = plat::Rect{0, 0, 1, 1}});
  ASSERT_NE(driver, plat::kNoWindow);
  g_walk = Walk{.server = &server_, .startMs = plat::NowMs()};
  ASSERT_TRUE(plat::SetTimer(driver, kDriverTimer, kDriverMs));
  dialogs::OpenSwitchTestDialog(screens::MainWindow());
  plat::KillTimer(driver, kDriverTimer);
  ASSERT_TRUE(g_walk.moved) << "the link never came up";
  EXPECT_FALSE(g_walk.checkedBefore);
  ASSERT_NE(g_walk.recordMs, 0u) << "the panel's record never took the switch";
  ASSERT_NE(g_walk.shownMs, 0u) << "the box never showed the switch";
  EXPECT_LE(g_walk.shownMs - g_walk.recordMs, dialogs::kFollowStatusMs + kDriverMs);
}
