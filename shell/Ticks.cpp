#include "shell/Ticks.h"

#include "dialogs/DataLoggerDialog.h"
#include "dialogs/MeterRollDialog.h"
#include "dialogs/MeterRollVoltageDialog.h"
#include "dialogs/MoistureCalibrationDialog.h"
#include "dialogs/ShutdownHistoryDialog.h"
#include "dialogs/SystemInfoDialog.h"
#include "dialogs/UnloadBushelsDialog.h"
#include "dialogs/WarningHelpDialog.h"
#include "i18n/Language.h"
#include "i18n/Resources.h"
#include "link/DryerStatus.h"
#include "link/Link.h"
#include "link/SettingRequest.h"
#include "platform/Clock.h"
#include "platform/Controls.h"
#include "platform/Dialog.h"
#include "platform/MessageBox.h"
#include "platform/ServiceNotify.h"
#include "records/HistoryWriter.h"
#include "records/LogTick.h"
#include "records/Preferences.h"
#include "records/ShutdownHistory.h"
#include "records/StorageNotice.h"
#include "screens/BatchTimerLogic.h"
#include "screens/DryerPictureLogic.h"
#include "screens/Screens.h"
#include "screens/SetupScreens.h"
#include "screens/StatusChartWindow.h"
#include "screens/WarningLogic.h"
#include "screens/WarningWindow.h"
#include "shell/FormatText.h"
#include "shell/MainWindow.h"

namespace shell {
namespace {

using plat::Hwnd;

TickState gTicks;
TickAsker gAsker = nullptr;

int Ask(TickQuestion which, plat::TextRef text, plat::TextRef caption, plat::MbButtons buttons,
        plat::MbIcon icon) {
  if (gAsker != nullptr) {
    char16_t t[2 * i18n::kStringDestUnits];
    char16_t c[i18n::kStringDestUnits];
    plat::CopyText(t, sizeof t / sizeof t[0], text);
    plat::CopyText(c, sizeof c / sizeof c[0], caption);
    return gAsker(which, t, c);
  }
  return plat::MessageBox(screens::MainWindow(), text, caption, buttons, icon);
}

inline constexpr plat::Rect kWarningBlinkStrip{105, 65, 260, 75};

inline constexpr const char* kAutoStartCaption = "Auto-Start Finished...";
inline constexpr const char* kAutoStartTextC = "AutoStartFinishedMessageC.txt";
inline constexpr const char* kAutoStartTextF = "AutoStartFinishedMessageF.txt";
inline constexpr size_t kAutoStartTextUnits = 2000;

struct BatchGroupButtons {
  screens::BatchHoldGroup group;
  int first;
  int second;  // 0: none
};
constexpr BatchGroupButtons kBatchGroups[kBatchLatchCount] = {
    {.group = screens::BatchHoldGroup::Heat, .first = screens::kBatchCommandDry, .second = screens::kBatchCommandHiHeat},
    {.group = screens::BatchHoldGroup::LowHeat, .first = screens::kBatchCommandLoHeat, .second = 0},
    {.group = screens::BatchHoldGroup::Cool, .first = screens::kBatchCommandCool, .second = 0},
    {.group = screens::BatchHoldGroup::Unload, .first = screens::kBatchCommandUnload, .second = 0},
};

struct RepeatDialog {
  int dialogId;
  int buttons[8];
  int count;
};
constexpr RepeatDialog kRepeatDialogs[kRepeatDialogCount] = {
    {.dialogId = dialogs::kMoistureCalibrationDialogId,
     .buttons = {dialogs::kMoistureCalibrationRepeatButtons[0], dialogs::kMoistureCalibrationRepeatButtons[1],
                 dialogs::kMoistureCalibrationRepeatButtons[2], dialogs::kMoistureCalibrationRepeatButtons[3],
                 dialogs::kMoistureCalibrationRepeatButtons[4], dialogs::kMoistureCalibrationRepeatButtons[5],
                 dialogs::kMoistureCalibrationRepeatButtons[6], dialogs::kMoistureCalibrationRepeatButtons[7]},
     .count = 8},
    {.dialogId = dialogs::kMeterRollDialogId,
     .buttons = {dialogs::kMeterRollRepeatButtons[0], dialogs::kMeterRollRepeatButtons[1]},
     .count = 2},
    {.dialogId = dialogs::kUnloadBushelsDialogId,
     .buttons = {dialogs::kUnloadBushelsRepeatButtons[0], dialogs::kUnloadBushelsRepeatButtons[1]},
     .count = 2},
    // The metering roll output voltage setup steps its voltages like the meter-roll dialog.
    {.dialogId = dialogs::kMeterRollVoltageDialogId,
     .buttons = {dialogs::kMeterRollVoltageRepeatButtons[0], dialogs::kMeterRollVoltageRepeatButtons[1]},
     .count = 2},
};

// Kept here rather than on the stack: the auto-start text is 4 kB.
char16_t gAutoStartText[kAutoStartTextUnits];

bool Held(Hwnd window, int id) { return id != 0 && plat::IsButtonHeld(plat::GetDlgItem(window, id)); }

void AskBatchRestart(const lnk::DryerStatus& s, const BatchGroupButtons& g, bool dryHeld) {
  char16_t format[i18n::kStringDestUnits];
  char16_t caption[i18n::kStringDestUnits];
  i18n::GetString(screens::BatchHoldQuestionId(g.group, dryHeld), format);
  i18n::GetString(screens::kBatchHoldCaptionId, caption);
  int numbers[2];
  screens::BatchHoldQuestionNumbers(s, g.group, numbers);
  char16_t text[2 * i18n::kStringDestUnits];
  FormatText(text, sizeof text / sizeof text[0], format, numbers, 2);
  if (Ask(TickQuestion::BatchRestart, text, caption, plat::MbButtons::YesNo, plat::MbIcon::Question) ==
      plat::IdYes)
    screens::RestartBatchTimer(s, g.group);
}

void StepBatchLatches(const lnk::DryerStatus& s) {
  const Hwnd batch = ScreenWindow(Screen::BatchDrying);
  if (!plat::IsWindowVisible(batch)) return;
  for (int i = 0; i < kBatchLatchCount; ++i) {
    const BatchGroupButtons& g = kBatchGroups[i];
    const bool firstHeld = Held(batch, g.first);
    const bool held = firstHeld || Held(batch, g.second);
    const bool dryHeld = g.group == screens::BatchHoldGroup::Heat && firstHeld;
    if (screens::StepBatchHoldLatch(gTicks.batchLatch[i], held)) AskBatchRestart(s, g, dryHeld);
  }
}

void ShowAutoStartFinished(const lnk::DryerStatus& s) {
  if ((s.b[lnk::kStatusOptionWithdraw] & lnk::kOptionWithdrawBit) == 0 || gTicks.autoStartShown) return;
  gTicks.autoStartShown = 1;
  const bool celsius = (s.b[lnk::kStatusDisplayOptions] & lnk::kDisplayOptionsCelsius) != 0;
  i18n::ReadHelpFile(celsius ? kAutoStartTextC : kAutoStartTextF, gAutoStartText, kAutoStartTextUnits);
  if (Ask(TickQuestion::AutoStartFinished, gAutoStartText, kAutoStartCaption, plat::MbButtons::Ok,
          plat::MbIcon::None) == plat::IdOk)
    records::AddAutoStartAcceptedRecord();
}

void RunLogging(const lnk::DryerStatus& s) {
  records::LoggingSecond out;
  records::RunLoggingSecond(s, out);
  gTicks.dryerRunning = out.dryerRunning ? 1 : 0;
  const Hwnd chart = ScreenWindow(Screen::AverageValues);
  plat::InvalidateRect(chart, nullptr, true);
  if (out.graphSampled) plat::InvalidateRect(DrawGraphWindow(), nullptr, false);
  if (out.longTermStep) dialogs::RefreshDataLoggerDialog();
  if (out.askSizeWarning &&
      Ask(TickQuestion::LogSize, records::kSizeWarningText, records::kSizeWarningCaption,
          plat::MbButtons::YesNo, plat::MbIcon::Exclamation) == plat::IdYes)
    OpenPanelDialog(PanelDialog::DataLoggerSetup);
}

// A store reports its condition from whichever thread met it; it is told here, on the
// user-interface thread, once per change.
// What the card refused is tried again first, so a card that takes writes again is told in
// the same second.
void TellStorageNotice() {
  records::SaveWaitingPreferences();
  records::RetryHistoryWrites();
  const records::StorageCondition c = records::TakeStorageNotice();
  if (c == records::StorageCondition::Ok) return;
  const records::StorageNoticeText t = records::StorageNoticeTextOf(c);
  const plat::MbIcon icon = c == records::StorageCondition::WritableAgain ? plat::MbIcon::Information
                                                                           : plat::MbIcon::Exclamation;
  Ask(TickQuestion::StorageNotice, t.text, t.caption, plat::MbButtons::Ok, icon);
}

void StepWarningWindow(const lnk::DryerStatus& s) {
  const Hwnd warning = ScreenWindow(Screen::Warning);
  const int node = s.b[lnk::kStatusWarningNode];
  const int code = s.b[lnk::kStatusWarningId];
  if (node == 0 && code == 0 && lnk::LinkAliveCountdown() > 0 && !lnk::AwaitingFirstStatusFrame()) {
    plat::ShowWindow(warning, false);
    if (!screens::UiState().helpDialogBySelf) dialogs::CloseWarningHelpDialog();
    return;
  }
  // The setup screens keep the warning window down while they are open.
  if (screens::UiState().mainScreenShowing && !plat::IsWindowVisible(warning)) {
    plat::ShowWindow(warning, true);
    plat::BringWindowToTop(warning);
  }
  if (node == lnk::kNodeMainIo && code == lnk::kWarningCodeRearDischarge) dialogs::StepHelpAnimation();
}

void StepWarningBlink() {
  const uint32_t taken = gTicks.blinkCounter++;
  if (taken < 2) return;
  gTicks.blinkCounter = 0;
  screens::StepWarningMarker(ScreenWindow(Screen::Warning));
  plat::InvalidateRect(ScreenWindow(Screen::Warning), &kWarningBlinkStrip, false);
}

void StepHeldButtons() {
  for (int i = 0; i < kRepeatDialogCount; ++i) {
    const RepeatDialog& d = kRepeatDialogs[i];
    const Hwnd dialog = plat::FindOpenDialog(d.dialogId);
    if (dialog == plat::kNoWindow || !plat::IsWindowVisible(dialog)) continue;
    int heldId = 0;
    for (int b = 0; b < d.count && heldId == 0; ++b)
      if (plat::IsDlgButtonHeld(dialog, d.buttons[b])) heldId = d.buttons[b];
    if (heldId == 0) {
      gTicks.repeatDelay[i] = dialogs::kRepeatDelayTicks;
    } else if (gTicks.repeatDelay[i] == 0) {
      plat::SendCommand(dialog, heldId);
    } else {
      --gTicks.repeatDelay[i];
    }
  }
}

}  // namespace

TickState& Ticks() { return gTicks; }

void SetTickAsker(TickAsker asker) { gAsker = asker; }

void ResetTickState() {
  gTicks = TickState{};
}

void OneSecondTick() {
  ++gTicks.secondTicks;
  // Sent from the tick, not from a thread of its own, so a loop that stops turning stops it.
  plat::NotifyServiceManager("WATCHDOG=1");
  plat::LocalTime now;
  plat::GetLocalTime(now);
  // The values go in before the flag, in one step, so no cycle sends a half-written clock.
  lnk::RequestClock(now.minute, now.hour, now.day, now.month, now.year);
  lnk::DecrementWarningRecordHold();
  lnk::DecrementLinkAliveCountdown();

  lnk::DryerStatus s;
  lnk::TakeStatusSnapshot(s);
  RunLogging(s);
  screens::StatusChartSecond();
  screens::ShowSetupOptionButtons(s);

  dialogs::RefreshSystemInfoDialog();
  dialogs::HistoryDialogSecond();
  StepBatchLatches(s);
  ShowAutoStartFinished(s);
  TellStorageNotice();
}

void TenthSecondTick() {
  ++gTicks.tenthTicks;
  lnk::DryerStatus s;
  lnk::TakeStatusSnapshot(s);
  StepWarningWindow(s);
  RefreshScreenWindows();
  StepWarningBlink();
  AdvanceAnimationPhases(gAnimationPhases, s);
  plat::InvalidateRect(ScreenWindow(Screen::DryerPic), nullptr, true);
  StepHeldButtons();
}

}  // namespace shell
