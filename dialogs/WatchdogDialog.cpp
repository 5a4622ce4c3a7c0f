#include "dialogs/WatchdogDialog.h"

#include <cstdio>

#include "dialogs/DialogText.h"
#include "dialogs/SetupQuestion.h"
#include "i18n/Language.h"
#include "i18n/LineText.h"
#include "i18n/StringIds.h"
#include "link/SettingRequest.h"
#include "platform/Dialog.h"

namespace dialogs {
namespace {

using plat::ControlKind;
using plat::DialogControl;
using plat::RectXywh;
namespace Style = plat::ControlStyle;

constexpr char kHelpFile[] = "WatchdogHelp.txt";
constexpr int kWidth = 560;
constexpr int kButtonY = 170;
constexpr int kButtonHeight = 48;

constexpr DialogControl kControls[] = {
    {.kind = ControlKind::GroupBox, .id = kWatchdogGroup, .rect = RectXywh(10, 8, 200, 150), .text = "WATCHDOG"},
    {.kind = ControlKind::RadioButton, .id = kWatchdogOnRadio, .rect = RectXywh(24, 40, 80, 30), .text = "ON",
     .style = Style::NoAuto | Style::Group},
    {.kind = ControlKind::RadioButton, .id = kWatchdogOffRadio, .rect = RectXywh(110, 40, 90, 30), .text = "OFF",
     .style = Style::NoAuto},
    {.kind = ControlKind::GroupBox, .id = kWatchdogTimeGroup, .rect = RectXywh(220, 8, 330, 150),
     .text = "TIME WITHOUT THE PANEL"},
    {.kind = ControlKind::Edit, .id = kWatchdogTimeField, .rect = RectXywh(234, 36, 302, 32), .text = "",
     .style = Style::Center | Style::Border},
    {.kind = ControlKind::PushButton, .id = kWatchdogIncrease, .rect = RectXywh(234, 82, 147, 60),
     .text = "INCREASE", .style = Style::Center},
    {.kind = ControlKind::PushButton, .id = kWatchdogDecrease, .rect = RectXywh(389, 82, 147, 60),
     .text = "DECREASE", .style = Style::Center},
    {.kind = ControlKind::PushButton, .id = kWatchdogHelp, .rect = RectXywh(10, kButtonY, 160, kButtonHeight),
     .text = "HELP", .style = Style::Center},
    {.kind = ControlKind::PushButton, .id = kWatchdogAccept, .rect = RectXywh(230, kButtonY, 150, kButtonHeight),
     .text = "ACCEPT", .style = Style::Center},
    {.kind = ControlKind::PushButton, .id = kWatchdogCancel, .rect = RectXywh(400, kButtonY, 150, kButtonHeight),
     .text = "CANCEL", .style = Style::Center},
};

constexpr plat::DialogTemplate kTemplate{
    .id = kWatchdogDialogId,
    .caption = "WATCHDOG SETUP - 42",
    .rect = RectXywh(0, 0, kWidth, plat::kCaptionHeight + kButtonY + kButtonHeight + 12),
    .controls = kControls,
    .count = static_cast<int>(sizeof kControls / sizeof kControls[0]),
};

// A register holding no time of the steps (a controller that never had one) shows the default.
int WatchdogSeconds(uint8_t v) {
  const int s = v & lnk::kWatchdogSecondsMask;
  if (s < lnk::kWatchdogSecondsMinimum || s > lnk::kWatchdogSecondsMaximum || s % lnk::kWatchdogSecondsStep != 0)
    return lnk::kWatchdogSecondsDefault;
  return s;
}

uint8_t WithSeconds(uint8_t v, int seconds) {
  if (seconds < lnk::kWatchdogSecondsMinimum) seconds = lnk::kWatchdogSecondsMinimum;
  if (seconds > lnk::kWatchdogSecondsMaximum) seconds = lnk::kWatchdogSecondsMaximum;
  return static_cast<uint8_t>((v & lnk::kWatchdogOnBit) | seconds);
}

uint8_t& WorkingOf(plat::Hwnd dialog) { return *static_cast<uint8_t*>(plat::GetWindowData(dialog)); }

constexpr ControlString kTexts[] = {
    {0, i18n::kStringWatchdogCaption},
    {kWatchdogGroup, i18n::kStringWatchdog},
    {kWatchdogOnRadio, i18n::kStringOn},
    {kWatchdogOffRadio, i18n::kStringOff},
    {kWatchdogTimeGroup, i18n::kStringWatchdogTime},
    {kWatchdogIncrease, i18n::kStringIncrease},
    {kWatchdogDecrease, i18n::kStringDecrease},
    {kWatchdogHelp, i18n::kStringHelp},
    {kWatchdogAccept, i18n::kStringAccept},
    {kWatchdogCancel, i18n::kStringCancel},
};

void SetTexts(plat::Hwnd dialog) { SetStrings(dialog, kTexts); }

// Run on opening and after every change of the working byte.
void ShowWorking(plat::Hwnd dialog) {
  const uint8_t v = WorkingOf(dialog);
  plat::CheckDlgButton(dialog, kWatchdogOnRadio, (v & lnk::kWatchdogOnBit) != 0);
  plat::CheckDlgButton(dialog, kWatchdogOffRadio, (v & lnk::kWatchdogOnBit) == 0);
  char number[8];
  std::snprintf(number, sizeof number, "%d ", WatchdogSeconds(v));
  char16_t unit[i18n::kStringDestUnits] = {};
  i18n::GetString(i18n::kStringSeconds, unit);
  char16_t text[i18n::kStringDestUnits + 8];
  i18n::LineText(text, sizeof text / sizeof text[0]).AddLatin1(number).Add(unit);
  plat::SetDlgItemText(dialog, kWatchdogTimeField, text);
}

bool OnCommand(plat::Hwnd dialog, int id) {
  uint8_t& v = WorkingOf(dialog);
  const int seconds = WatchdogSeconds(v);
  switch (id) {
    case kWatchdogOnRadio: v = WithSeconds(v | lnk::kWatchdogOnBit, seconds); break;
    case kWatchdogOffRadio: v = WithSeconds(v & ~lnk::kWatchdogOnBit, seconds); break;
    case kWatchdogIncrease: v = WithSeconds(v, seconds + lnk::kWatchdogSecondsStep); break;
    case kWatchdogDecrease: v = WithSeconds(v, seconds - lnk::kWatchdogSecondsStep); break;
    case kWatchdogHelp: ShowHelpFile(dialog, kHelpFile, i18n::kStringWatchdogHelpCaption); return true;
    case kWatchdogAccept:
      lnk::RequestSettingIfChanged(lnk::CommandRow::Watchdog, &v);
      plat::EndDialog(dialog, id);
      return true;
    case kWatchdogCancel: plat::EndDialog(dialog, id); return true;
    default: return false;
  }
  ShowWorking(dialog);
  return true;
}

bool WatchdogProc(plat::Hwnd dialog, plat::Msg msg, plat::WParam w, plat::LParam l) {
  switch (msg) {
    case plat::Msg::InitDialog:
      plat::SetWindowData(dialog, reinterpret_cast<void*>(l));
      // The controller's setting, unless a change of it is still on its way.
      lnk::LoadRequestFromStatus(lnk::CommandRow::Watchdog);
      WorkingOf(dialog) = lnk::ReadRequestByte(lnk::kStatusWatchdog);
      plat::CenterOverParent(dialog);
      SetTexts(dialog);
      ShowWorking(dialog);
      return true;
    case plat::Msg::Command:
      return OnCommand(dialog, plat::CommandId(w));
    default:
      return false;
  }
}

}  // namespace

void OpenWatchdogDialog(plat::Hwnd parent) {
  uint8_t working = 0;
  plat::DialogBox(parent, kTemplate, WatchdogProc, reinterpret_cast<plat::LParam>(&working));
}

}  // namespace dialogs
