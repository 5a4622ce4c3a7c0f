#include "shell/PanelDialogs.h"

#include "dialogs/AutoStartDialogs.h"
#include "dialogs/DataLoggerDialog.h"
#include "dialogs/KeypadLogic.h"
#include "dialogs/MeterRollDialog.h"
#include "dialogs/MoistureSetpointDialog.h"
#include "dialogs/SetpointEntryDialog.h"
#include "dialogs/ShutdownHistoryDialog.h"
#include "dialogs/SystemInfoDialog.h"
#include "dialogs/WarningHelpDialog.h"
#include "link/DryerStatus.h"
#include "screens/Screens.h"

namespace shell {
namespace {

// Grain temperature setpoints from the quick setpoint, in degrees F.
constexpr int kGrainSetpointMinimum = 50;
constexpr int kGrainSetpointMaximum = 160;
constexpr int kGrainSetpointDefault = 105;

void OpenGrainSetpoint(lnk::CommandRow row) {
  lnk::DryerStatus s;
  lnk::TakeStatusSnapshot(s);
  SetpointEntryRequest& r = gSetpointEntryRequest;
  OpenSetpointEntryFromStatus(r, s, row, kGrainSetpointMinimum, kGrainSetpointMaximum,
                              kGrainSetpointDefault, lnk::Derived().celsius.load() != 0);
  dialogs::OpenSetpointEntryDialog(ScreenWindow(Screen::LineGraph), r);
}

}  // namespace

void OpenPanelDialogNow(PanelDialog which) {
  const plat::Hwnd main = screens::MainWindow();
  switch (which) {
    case PanelDialog::MoistureSetpoint:
      dialogs::OpenMoistureSetpointDialog(ScreenWindow(Screen::LineGraph), MoistureSetpoint::Drying);
      return;
    case PanelDialog::GrainSetpoint1: OpenGrainSetpoint(lnk::CommandRow::GrainTempSetpoint1); return;
    case PanelDialog::GrainSetpoint2: OpenGrainSetpoint(lnk::CommandRow::GrainTempSetpoint2); return;
    case PanelDialog::GrainSetpoint3: OpenGrainSetpoint(lnk::CommandRow::GrainTempSetpoint3); return;
    case PanelDialog::ShutdownHistory: dialogs::OpenShutdownHistoryDialog(main); return;
    case PanelDialog::SystemInformation: dialogs::OpenSystemInfoDialog(main); return;
    case PanelDialog::DataLoggerSetup: dialogs::OpenDataLoggerDialog(main); return;
    case PanelDialog::MeterRoll: {
      screens::MainScreenState& ui = screens::UiState();
      dialogs::OpenMeterRollDialog(main, dialogs::MeterRollOpening{.question = ui.meterRollByKnob != 0,
                                                                   .reminder = &ui.meterRollReminder});
      ui.meterRollByKnob = 0;
      return;
    }
    case PanelDialog::AutoStartStatus:
      dialogs::OpenAutoStartStatusDialog(main, [] { screens::SendMainCommand(screens::kCmdShowMainScreen); });
      return;
    case PanelDialog::Count:
      return;
  }
}

void OpenHistoryHelp(plat::Hwnd historyDialog) {
  const dialogs::HistoryHelp help = dialogs::HistoryHelpRequest();
  screens::UiState().helpDialogBySelf = 1;
  dialogs::OpenWarningHelpDialog(historyDialog, help.node, help.warning);
  screens::UiState().helpDialogBySelf = 0;
}

}  // namespace shell
