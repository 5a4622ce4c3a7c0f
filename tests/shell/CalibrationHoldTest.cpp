// The arrows of the calibration and unload bushels dialogs repeat through the tenth-second
// tick while a finger holds them: one step from the click, then one every 100 ms after half a
// second.
#include "PanelTestSupport.h"
#include "dialogs/MoistureCalibrationDialog.h"
#include "dialogs/UnloadBushelsDialog.h"
#include "platform/Controls.h"
#include "platform/Dialog.h"

using lnk::ReadRequestByte;
using lnk::WriteStatusByte;
using lnk::kRequestBushelCalibration;
using lnk::kStatusBushelCalibration;
using lnk::kStatusMoistureCalibration2;

namespace {

using paneltest::PanelTest;

constexpr uint32_t kPressTimer = 1;
constexpr uint32_t kReleaseTimer = 2;
constexpr uint32_t kAcceptTimer = 3;

struct Hold {
  int dialogId;
  int arrow;
  int accept;
  uint32_t holdMs;
};
Hold gHold;

plat::Point CentreOf(int dialogId, int id) {
  const plat::Rect r = plat::GetWindowRect(plat::GetDlgItem(plat::FindOpenDialog(dialogId), id));
  return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

// A finger: presses the arrow 300 ms after it starts, lets go after the hold, then ACCEPTs.
plat::LResult FingerProc(plat::Hwnd h, plat::Msg msg, plat::WParam w, plat::LParam l) {
  if (msg != plat::Msg::Timer) return plat::DefWindowProc(h, msg, w, l);
  plat::KillTimer(h, static_cast<uint32_t>(w));
  const plat::Point p = CentreOf(gHold.dialogId, gHold.arrow);
  if (w == kPressTimer) {
    plat::HeadlessInjectTouch(p.x, p.y, true);
    plat::SetTimer(h, kReleaseTimer, gHold.holdMs);
  } else if (w == kReleaseTimer) {
    plat::HeadlessInjectTouch(p.x, p.y, false);
    plat::SetTimer(h, kAcceptTimer, 50);
  } else {
    plat::ClickWindow(plat::GetDlgItem(plat::FindOpenDialog(gHold.dialogId), gHold.accept));
  }
  return 0;
}

class CalibrationHold : public PanelTest {
 protected:
  void Run(const Hold& hold, void (*open)(plat::Hwnd)) {
    gHold = hold;
    plat::RegisterClass(plat::WindowClass{.name = "TEST_HOLD_FINGER", .proc = FingerProc});
    const plat::Hwnd finger = plat::CreateWindow(plat::WindowDesc{.className = "TEST_HOLD_FINGER", .rect = {0, 0, 1, 1}});
    ASSERT_NE(finger, plat::kNoWindow);
    plat::RunFor(50);  // the press lands between two tenth ticks
    plat::SetTimer(finger, kPressTimer, 300);
    open(screens::MainWindow());
    plat::DestroyWindow(finger);
  }
  static int WetMoistureOffset() {
    return static_cast<int16_t>((ReadRequestByte(kStatusMoistureCalibration2) << 8) |
                                ReadRequestByte(kStatusMoistureCalibration2 + 1));
  }
};

TEST_F(CalibrationHold, HeldArrowsStepOnceForAShortHoldAndRepeatForALongOne) {
  Run({dialogs::kMoistureCalibrationDialogId, dialogs::kCalibrationWetMoistureUp, dialogs::kCalibrationAccept, 400},
      dialogs::OpenMoistureCalibrationDialog);
  EXPECT_EQ(WetMoistureOffset(), 1) << "the click alone";

  WriteStatusByte(kStatusMoistureCalibration2 + 1, 1);  // the controller took it
  Run({dialogs::kMoistureCalibrationDialogId, dialogs::kCalibrationWetMoistureUp, dialogs::kCalibrationAccept, 1000},
      dialogs::OpenMoistureCalibrationDialog);
  EXPECT_GE(WetMoistureOffset(), 1 + 5);
  EXPECT_LE(WetMoistureOffset(), 1 + 7);

  WriteStatusByte(kStatusBushelCalibration, 100);
  Run({dialogs::kUnloadBushelsDialogId, dialogs::kBushelsDecrease, dialogs::kBushelsAccept, 1000},
      dialogs::OpenUnloadBushelsDialog);
  EXPECT_GE(ReadRequestByte(kRequestBushelCalibration), 100 - 7);
  EXPECT_LE(ReadRequestByte(kRequestBushelCalibration), 100 - 5);
}

}  // namespace
