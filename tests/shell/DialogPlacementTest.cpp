// Every dialog and message box the operator can open, opened by pressing the control a finger
// would press on the window that opens it, lies wholly on the 640 x 480 screen.
#include <string>
#include <vector>

#include "PanelTestSupport.h"
#include "dialogs/ShutdownHistoryDialog.h"
#include "dialogs/SampleTimeDialog.h"
#include "dialogs/SetpointEntryDialog.h"
#include "dialogs/SystemInfoDialog.h"
#include "dialogs/TimerEntryDialog.h"
#include "platform/Dialog.h"
#include "platform/MessageBox.h"
#include "platform/Script.h"
#include "screens/StatusChartWindow.h"
#include "screens/TempSelectLogic.h"
#include "screens/TimerSelectLogic.h"

namespace {

using paneltest::PanelTest;

constexpr int kTimerScreenExit = 1003;
constexpr uint32_t kWatchTimer = 1;

struct Seen {
  int templateId;
  plat::Rect rect;
};
std::vector<Seen> g_seen;

// Notes each dialog on top while the script drives the panel, from a window of its own that
// takes no touches.
plat::LResult WatchProc(plat::Hwnd h, plat::Msg msg, plat::WParam w, plat::LParam l) {
  if (msg != plat::Msg::Timer) return plat::DefWindowProc(h, msg, w, l);
  const plat::Hwnd top = plat::ActiveTopLevel();
  const int id = plat::DialogTemplateId(top);
  if (id != 0) g_seen.push_back(Seen{id, plat::GetWindowRect(top)});
  return 0;
}

std::string Press(int id) { return "press " + std::to_string(id) + "\nwait 100\n"; }

class DialogPlacement : public PanelTest {
 protected:
  void SetUp() override {
    PanelTest::SetUp();
    g_seen.clear();
    ASSERT_TRUE(plat::RegisterClass(plat::WindowClass{.name = "PLACEMENT_WATCH", .proc = WatchProc}));
    watch_ = plat::CreateWindow(plat::WindowDesc{.className = "PLACEMENT_WATCH",
                                                 .rect = plat::RectXywh(0, 0, 1, 1)});
    ASSERT_TRUE(plat::SetTimer(watch_, kWatchTimer, 20));
  }

  // Runs the script to its end; every line must have reached its control.
  void Run(const std::string& script) {
    ASSERT_EQ(plat::StartScriptText(script.c_str()), plat::ScriptResult::Ok);
    for (int guard = 0; plat::ScriptRunning() && guard < 600; ++guard) plat::RunFor(100);
    EXPECT_FALSE(plat::ScriptRunning());
    EXPECT_EQ(plat::ScriptErrorLine(), 0) << plat::ScriptErrorText() << "\n" << script;
  }

  bool WasSeen(int templateId) const {
    for (const Seen& s : g_seen) {
      if (s.templateId == templateId) return true;
    }
    return false;
  }

  plat::Hwnd watch_ = plat::kNoWindow;
};

TEST_F(DialogPlacement, EveryDialogOpenedByAFingerLiesWhollyOnTheScreen) {
  std::string script;
  // The timer keypad from every SETUP button of the four timer panels; one of them refuses a
  // value above its limit in the out-of-range box.
  for (int p = 0; p < kTimerPanelCount; ++p) {
    const TimerPanelInfo& panel = TimerPanelFor(static_cast<TimerPanel>(p));
    for (int b = 0; b < panel.buttonCount; ++b) {
      script += Press(screens::kCmdTimers) + Press(panel.buttons[b].command);
      script += Press(dialogs::kTimerCancel) + Press(kTimerScreenExit);
    }
  }
  const TimerPanelInfo& fan = TimerPanelFor(TimerPanel::Fan);
  script += Press(screens::kCmdTimers) + Press(fan.buttons[0].command);
  for (int digit : {1077, 1077}) script += Press(digit);  // 99 minutes, above the limit
  script += Press(dialogs::kTimerAccept) + Press(plat::IdOk) + Press(kTimerScreenExit);
  // The plenum setpoint keypad from the temperature screen.
  script += Press(screens::kCmdTemps) + Press(kPlenumButtons[0].controlId);
  script += Press(dialogs::kSetpointCancel) + Press(kTempSelectExit);
  // The sample time dialog from the status chart, and its CLEAR TABLE question answered NO.
  script += Press(screens::kChartSampleTimeButtonId) + Press(dialogs::kSampleAccept);
  script += Press(screens::kChartSampleTimeButtonId) + Press(dialogs::kSampleClearTable) + Press(plat::IdNo);
  // The shutdown history and the system information from the view pop-up.
  script += Press(screens::kCmdView) + Press(screens::kCmdOpenHistory) + Press(dialogs::kHistoryExit);
  script += Press(screens::kCmdView) + Press(screens::kCmdOpenSystemInfo) + Press(dialogs::kInfoExit);
  Run(script);

  for (int id : {dialogs::kTimerEntryDialogId, plat::kMessageBoxTemplateId, dialogs::kSetpointEntryDialogId,
                 dialogs::kSampleTimeDialogId, dialogs::kClearTableDialogId, dialogs::kHistoryDialogId, dialogs::kSystemInfoDialogId}) {
    EXPECT_TRUE(WasSeen(id)) << "dialog " << id << " was never opened";
  }
  const plat::Rect screen{0, 0, plat::kScreenWidth, plat::kScreenHeight};
  for (const Seen& s : g_seen) {
    EXPECT_EQ(plat::Intersect(s.rect, screen), s.rect)
        << "dialog " << s.templateId << " at " << s.rect.left << "," << s.rect.top << " " << s.rect.Width()
        << " x " << s.rect.Height();
  }
}

}  // namespace
