#include "dialogs/UnloadBushelsDialog.h"

#include <cstdio>

#include "dialogs/DialogText.h"
#include "i18n/Language.h"
#include "i18n/Resources.h"
#include "i18n/StringIds.h"
#include "link/DryerStatus.h"
#include "link/SettingRequest.h"
#include "platform/Dialog.h"
#include "platform/Font.h"
#include "platform/MessageBox.h"

using lnk::CommandRow;
using lnk::DryerStatus;
using lnk::LoadRequestFromStatus;
using lnk::ReadRequestByte;
using lnk::RequestBits;
using lnk::RequestSettingIfChanged;
using lnk::StatusU32LowFirst;
using lnk::TakeStatusSnapshot;
using lnk::WriteRequestByte;
using lnk::kBushelCounterUnitsPerBushel;
using lnk::kRequestBushelCalibration;
using lnk::kRequestSensorCommand;
using lnk::kSensorCommandZeroBushels;
using lnk::kStatusBushelCounter;

namespace dialogs {

namespace {

using plat::ControlKind;
using plat::DialogControl;
using plat::RectXywh;
namespace Style = plat::ControlStyle;

constexpr int kStringCaption = 97;
constexpr int kStringClearGroup = 98;
constexpr int kStringMultiplierGroup = 100;
constexpr int kStringHelpCaption = 363;
constexpr char kHelpFile[] = "BphCalibHelp.txt";

// The group boxes carry ids of the dialog's own, for their labels.
constexpr int kClearGroup = 1300;
constexpr int kMultiplierGroup = 1301;

// The total follows the counter while the dialog is open, so a CLEAR shows once the
// controller has zeroed it.
constexpr uint32_t kTotalTimer = 1;
constexpr uint32_t kTotalPeriodMs = 350;

constexpr DialogControl kControls[] = {
    {.kind = ControlKind::GroupBox, .id = kClearGroup, .rect = RectXywh(10, 8, 440, 100), .text = "Clear Total Bushels"},
    {.kind = ControlKind::Edit, .id = kBushelsTotalField, .rect = RectXywh(26, 40, 200, 50), .text = "0",
     .style = Style::Center | Style::Border},
    {.kind = ControlKind::PushButton, .id = kBushelsClear, .rect = RectXywh(250, 40, 180, 50), .text = "CLEAR",
     .style = Style::Center},
    {.kind = ControlKind::GroupBox, .id = kMultiplierGroup, .rect = RectXywh(10, 120, 440, 160),
     .text = "Bushel / Hour Multiplier (Calibration)"},
    {.kind = ControlKind::Edit, .id = kBushelsMultiplierField, .rect = RectXywh(26, 175, 200, 50), .text = "100 %",
     .style = Style::Center | Style::Border},
    {.kind = ControlKind::PushButton, .id = kBushelsIncrease, .rect = RectXywh(250, 150, 180, 50),
     .text = "INCREASE", .style = Style::Center},
    {.kind = ControlKind::PushButton, .id = kBushelsDecrease, .rect = RectXywh(250, 215, 180, 50),
     .text = "DECREASE", .style = Style::Center},
    {.kind = ControlKind::PushButton, .id = kBushelsHelp, .rect = RectXywh(10, 296, 180, 50), .text = "HELP",
     .style = Style::Center},
    {.kind = ControlKind::PushButton, .id = kBushelsAccept, .rect = RectXywh(270, 296, 180, 50), .text = "ACCEPT",
     .style = Style::Center},
};

constexpr plat::DialogTemplate kTemplate{
    .id = kUnloadBushelsDialogId,
    .caption = "UNLOAD BUSHELS SETUP - 37",
    .rect = RectXywh(0, 0, 462, 384),
    .controls = kControls,
    .count = static_cast<int>(sizeof kControls / sizeof kControls[0]),
};

void ShowHelp(plat::Hwnd owner) { ShowHelpFile(owner, kHelpFile, kStringHelpCaption); }

void ShowMultiplier(plat::Hwnd dialog) {
  char text[16];
  std::snprintf(text, sizeof text, "%d %%", ReadRequestByte(kRequestBushelCalibration));
  plat::SetDlgItemText(dialog, kBushelsMultiplierField, text);
}

void ShowTotal(plat::Hwnd dialog) {
  DryerStatus s;
  TakeStatusSnapshot(s);
  char text[16];
  std::snprintf(text, sizeof text, "%u", static_cast<unsigned>(WholeBushels(StatusU32LowFirst(s, kStatusBushelCounter))));
  plat::SetDlgItemText(dialog, kBushelsTotalField, text);
}

void Open(plat::Hwnd dialog) {
  LoadRequestFromStatus(CommandRow::BushelCalibration);
  SetString(dialog, 0, kStringCaption);
  SetString(dialog, kClearGroup, kStringClearGroup);
  SetString(dialog, kBushelsClear, i18n::kStringClear);
  SetString(dialog, kMultiplierGroup, kStringMultiplierGroup);
  SetString(dialog, kBushelsIncrease, i18n::kStringIncrease);
  SetString(dialog, kBushelsDecrease, i18n::kStringDecrease);
  SetString(dialog, kBushelsAccept, i18n::kStringAccept);
  SetString(dialog, kBushelsHelp, i18n::kStringHelp);
  ShowMultiplier(dialog);
  ShowTotal(dialog);
  plat::SetTimer(dialog, kTotalTimer, kTotalPeriodMs);
}

void Step(plat::Hwnd dialog, bool up) {
  const int next = StepBushelMultiplier(ReadRequestByte(kRequestBushelCalibration), up);
  WriteRequestByte(kRequestBushelCalibration, static_cast<uint8_t>(next));
  ShowMultiplier(dialog);
}

void AskClear(plat::Hwnd dialog) {
  const int answer = plat::MessageBox(dialog, kClearBushelsQuestion, kClearBushelsCaption,
                                      plat::MbButtons::YesNoCancel, plat::MbIcon::Question);
  // The controller zeroes the counter; the decoder clears the bit once it reads zero.
  if (answer == plat::IdYes) RequestBits(kRequestSensorCommand, kSensorCommandZeroBushels, 0, CommandRow::SensorCommand);
}

void Accept(plat::Hwnd dialog) {
  const uint8_t multiplier = ReadRequestByte(kRequestBushelCalibration);
  RequestSettingIfChanged(CommandRow::BushelCalibration, &multiplier);
  plat::KillTimer(dialog, kTotalTimer);
  plat::EndDialog(dialog, kBushelsAccept);
}

bool OnCommand(plat::Hwnd dialog, int id) {
  switch (id) {
    case kBushelsIncrease: Step(dialog, true); return true;
    case kBushelsDecrease: Step(dialog, false); return true;
    case kBushelsClear: AskClear(dialog); return true;
    case kBushelsHelp: ShowHelp(dialog); return true;
    case kBushelsAccept: Accept(dialog); return true;
    default: return false;
  }
}

bool UnloadBushelsProc(plat::Hwnd dialog, plat::Msg msg, plat::WParam w, plat::LParam) {
  switch (msg) {
    case plat::Msg::InitDialog:
      plat::CenterOverParent(dialog);
      Open(dialog);
      return true;
    case plat::Msg::Timer:
      if (w == kTotalTimer) ShowTotal(dialog);
      return true;
    case plat::Msg::Command:
      return OnCommand(dialog, plat::CommandId(w));
    case plat::Msg::Close:
      return true;  // no way out but ACCEPT
    default:
      return false;
  }
}

}  // namespace

int StepBushelMultiplier(int multiplier, bool up) {
  if (up) return multiplier < kBushelMultiplierMaximum ? multiplier + 1 : multiplier;
  return multiplier > kBushelMultiplierMinimum ? multiplier - 1 : multiplier;
}

uint32_t WholeBushels(uint32_t counter) { return counter / kBushelCounterUnitsPerBushel; }

void OpenUnloadBushelsDialog(plat::Hwnd parent) {
  plat::DialogBox(parent, kTemplate, UnloadBushelsProc, 0);
}

}  // namespace dialogs
