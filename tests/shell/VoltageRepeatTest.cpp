// The metering roll output voltage setup's held arrows repeat through the panel's tenth-second
// tick, as the other dialogs' arrows do.
#include "tests/shell/PanelTestSupport.h"

#include <string>

#include "dialogs/MeterRollVoltageDialog.h"
#include "platform/Backend.h"
#include "platform/Dialog.h"
#include "screens/Screens.h"

using paneltest::PanelTest;

namespace {

constexpr uint32_t kStepTimer = 5;
constexpr uint32_t kPressAtMs = 300;
constexpr uint32_t kHoldMs = 1000;

struct Hold {
  int phase = 0;
  uint64_t openedAt = 0;
  std::string medium;
};
Hold gHold;

void TouchIncrease(plat::Hwnd dialog, bool down) {
  const plat::Rect r = plat::GetWindowRect(plat::GetDlgItem(dialog, dialogs::kVoltageIncrease));
  plat::HeadlessInjectTouch((r.left + r.right) / 2, (r.top + r.bottom) / 2, down);
}

// Presses INCREASE 300 ms after the dialog opens, lets go a second later, then reads MEDIUM.
plat::LResult StepProc(plat::Hwnd h, plat::Msg msg, plat::WParam w, plat::LParam l) {
  if (msg != plat::Msg::Timer || w != kStepTimer) return plat::DefWindowProc(h, msg, w, l);
  const plat::Hwnd dialog = plat::FindOpenDialog(dialogs::kMeterRollVoltageDialogId);
  if (dialog == plat::kNoWindow) return 0;
  const uint64_t now = plat::NowMs();
  if (gHold.openedAt == 0) gHold.openedAt = now;
  if (gHold.phase == 0 && now - gHold.openedAt >= kPressAtMs) {
    TouchIncrease(dialog, true);
    gHold.phase = 1;
  } else if (gHold.phase == 1 && now - gHold.openedAt >= kPressAtMs + kHoldMs) {
    TouchIncrease(dialog, false);
    gHold.phase = 2;
  } else if (gHold.phase == 2) {
    for (const char16_t* p = plat::GetWindowText(plat::GetDlgItem(dialog, dialogs::kVoltageMediumValue)); *p; ++p)
      gHold.medium.push_back(static_cast<char>(*p));
    plat::EndDialog(dialog, dialogs::kVoltageCancel);
  }
  return 0;
}

}  // namespace

TEST_F(PanelTest, HeldVoltageArrowStepsAboutFiveTimesASecondAfterTheClick) {
  lnk::WriteStatusByte(lnk::kStatusMeterRoll0, lnk::kMeterRollInUseMedium);
  lnk::WriteStatusByte(lnk::kStatusMeterRoll2, 50);
  ASSERT_TRUE(plat::RegisterClass(plat::WindowClass{.name = "VOLTAGE_HOLD", .proc = StepProc}));
  const plat::Hwnd stepper = plat::CreateWindow(plat::WindowDesc{.className = "VOLTAGE_HOLD", .rect = plat::Rect{0, 0, 1, 1}});
  ASSERT_TRUE(plat::SetTimer(stepper, kStepTimer, 10));
  gHold = Hold{};
  plat::RunFor(50);  // the press lands between two tenth ticks
  EXPECT_EQ(dialogs::OpenMeterRollVoltageDialog(screens::MainWindow()), dialogs::kVoltageCancel);
  // The click, then one step every tenth from half a second on: 5.0 V + 0.6 V, give or take one.
  EXPECT_TRUE(gHold.medium == "5.5 V" || gHold.medium == "5.6 V" || gHold.medium == "5.7 V") << gHold.medium;
}
