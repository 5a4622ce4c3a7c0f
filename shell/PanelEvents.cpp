#include "shell/PanelEvents.h"

#include "dialogs/MeterRollDialog.h"
#include "link/LinkEvents.h"
#include "platform/Dialog.h"
#include "records/ShutdownHistory.h"
#include "screens/Screens.h"
#include "shell/MainWindow.h"

namespace shell {
namespace {

using plat::Hwnd;

void Post(PanelMessage m, plat::WParam w = 0, plat::LParam l = 0) {
  plat::PostMessage(screens::MainWindow(), plat::UserMessage(m), w, l);
}

void OnRedraw(void*, lnk::PanelWindow window, bool erase) {
  Post(kMsgRedraw, static_cast<plat::WParam>(window), erase ? 1 : 0);
}
void OnReshow(void*, lnk::ReshowReason reason) { Post(kMsgReshowViews, static_cast<plat::WParam>(reason)); }
void OnUpdateButtons(void*) { Post(kMsgUpdateButtons); }
void OnRelayout(void*) { Post(kMsgRelayoutButtons); }
void OnShutdown(void*, uint8_t node, uint8_t warning) { records::AddShutdownRecord(node, warning); }
bool OnMeterRollVisible(void*) { return dialogs::MeterRollDialogVisible(); }
bool OnMeterRollQuestion(void*) { return dialogs::MeterRollQuestionPending(); }

constexpr Screen kMainScreens[] = {Screen::DryerPic, Screen::RightStatusBar, Screen::BatchDrying,
                                   Screen::UnloadStatus, Screen::CustomView, Screen::AverageValues,
                                   Screen::Graph};

void Invalidate(Hwnd h, bool erase) {
  if (h != plat::kNoWindow) plat::InvalidateRect(h, nullptr, erase);
}

void Redraw(lnk::PanelWindow window, bool erase) {
  switch (window) {
    case lnk::PanelWindow::DryerPicture: Invalidate(ScreenWindow(Screen::DryerPic), erase); return;
    case lnk::PanelWindow::StatusBar: Invalidate(ScreenWindow(Screen::RightStatusBar), erase); return;
    case lnk::PanelWindow::OutOfGrainTimer:
      Invalidate(ScreenWindow(Screen::RightStatusBar), erase);
      screens::InvalidateTimerPanels(ScreenWindow(Screen::TimerSelect), screens::TimerPanelSet::OutOfGrain, erase);
      return;
    case lnk::PanelWindow::BatchTimers: Invalidate(ScreenWindow(Screen::BatchDrying), erase); return;
    case lnk::PanelWindow::SetupSelection: Invalidate(ScreenWindow(Screen::SetupSelection), erase); return;
    case lnk::PanelWindow::WarningWindow: Invalidate(ScreenWindow(Screen::Warning), erase); return;
    case lnk::PanelWindow::UnloadStatus: Invalidate(ScreenWindow(Screen::UnloadStatus), erase); return;
    case lnk::PanelWindow::PlenumView: Invalidate(ScreenWindow(Screen::CustomView), erase); return;
    case lnk::PanelWindow::LineGraph: Invalidate(ScreenWindow(Screen::LineGraph), erase); return;
    case lnk::PanelWindow::StatusChart: Invalidate(ScreenWindow(Screen::AverageValues), erase); return;
    case lnk::PanelWindow::MiscButton: Invalidate(MainButton(4), erase); return;
    case lnk::PanelWindow::ButtonBar: Invalidate(ScreenWindow(Screen::ButtonBar), erase); return;
    case lnk::PanelWindow::MainScreens:
      for (Screen s : kMainScreens) Invalidate(ScreenWindow(s), erase);
      // The load, fan and cleanout presets come this way too.
      screens::InvalidateTimerPanels(ScreenWindow(Screen::TimerSelect), screens::TimerPanelSet::All, erase);
      return;
    case lnk::PanelWindow::Diagnostics:
    case lnk::PanelWindow::UnitStatistics: {
      // Both live in the dialog in front, when one is open.
      const Hwnd top = plat::ActiveTopLevel();
      if (plat::DialogTemplateId(top) != 0) Invalidate(top, erase);
      return;
    }
    case lnk::PanelWindow::Count: return;
  }
}

}  // namespace

void InstallPanelLinkEvents() {
  lnk::SetLinkEvents(lnk::LinkEvents{
      .context = nullptr,
      .redraw = OnRedraw,
      .reshowMainViews = OnReshow,
      .updateMainButtons = OnUpdateButtons,
      .relayoutButtonBar = OnRelayout,
      .recordShutdown = OnShutdown,
      .meterRollWindowVisible = OnMeterRollVisible,
      .meterRollQuestionPending = OnMeterRollQuestion,
  });
}

plat::LResult HandlePanelEvent(plat::Msg msg, plat::WParam w, plat::LParam l) {
  switch (static_cast<int>(msg) - static_cast<int>(plat::Msg::User)) {
    case kMsgRedraw:
      if (w < static_cast<plat::WParam>(lnk::kPanelWindowCount)) Redraw(static_cast<lnk::PanelWindow>(w), l != 0);
      return 0;
    case kMsgReshowViews:
      // The views are re-applied only while the main screen is up; the setup screens bring
      // them back through ShowMainScreen when they close.
      if (screens::UiState().mainScreenShowing) ApplyView();
      return 0;
    case kMsgUpdateButtons:
      Invalidate(MainButton(4), true);
      return 0;
    case kMsgRelayoutButtons:
      if (plat::IsWindowVisible(ScreenWindow(Screen::ButtonBar))) PlaceMainButtons();
      return 0;
    default:
      return 0;
  }
}

}  // namespace shell
