#include "dialogs/BurnerModeDialog.h"

#include "dialogs/DialogText.h"
#include "dialogs/HardwareSetupLogic.h"
#include "i18n/Language.h"
#include "i18n/LineText.h"
#include "i18n/Resources.h"
#include "i18n/StringIds.h"
#include "link/DryerStatus.h"
#include "link/SettingRequest.h"
#include "platform/Dialog.h"
#include "platform/MessageBox.h"

using lnk::CommandRow;
using lnk::DryerStatus;
using lnk::IsPending;
using lnk::PlenumSlotsInUse;
using lnk::ReadRequestByte;
using lnk::RequestSettingIfChanged;
using lnk::RowNumber;
using lnk::TakeStatusSnapshot;
using lnk::kBurnerModeFanOnly;
using lnk::kBurnerModeNoAirSwitchTest;
using lnk::kFanHeaterSlots;
using lnk::kStatusBurnerMode1;
using lnk::kStatusFanHeaterCount;

namespace dialogs {
namespace {

using plat::ControlKind;
using plat::DialogControl;
using plat::RectXywh;
namespace Style = plat::ControlStyle;

constexpr char kHelpFile[] = "BurnerModeHelp.txt";
constexpr int kRowY = 8;
constexpr int kRowStep = 50;
constexpr int kRowHeight = 44;
constexpr int kButtonY = kRowY + kFanHeaterSlots * kRowStep + 4;

int ClampUnit(int unit) { return unit < 1 || unit > kFanHeaterSlots ? 1 : unit; }

constexpr DialogControl Label(int unit) {
  return {.kind = ControlKind::Static, .id = kBurnerUnitLabels[unit - 1],
          .rect = RectXywh(10, kRowY + (unit - 1) * kRowStep + 12, 180, 20), .text = "FAN/HEATER UNIT"};
}
constexpr DialogControl Fire(int unit) {
  return {.kind = ControlKind::PushButton, .id = kBurnerFireButtons[unit - 1],
          .rect = RectXywh(196, kRowY + (unit - 1) * kRowStep, 206, kRowHeight), .text = "BURNER: ON",
          .style = Style::Center};
}
constexpr DialogControl AirSwitch(int unit) {
  return {.kind = ControlKind::PushButton, .id = kBurnerAirSwitchButtons[unit - 1],
          .rect = RectXywh(410, kRowY + (unit - 1) * kRowStep, 206, kRowHeight), .text = "AIR SWITCH TEST: ON",
          .style = Style::Center};
}

constexpr DialogControl kControls[] = {
    Label(1), Fire(1), AirSwitch(1), Label(2), Fire(2), AirSwitch(2), Label(3), Fire(3), AirSwitch(3),
    Label(4), Fire(4), AirSwitch(4), Label(5), Fire(5), AirSwitch(5), Label(6), Fire(6), AirSwitch(6),
    {.kind = ControlKind::PushButton, .id = kBurnerModeHelp, .rect = RectXywh(10, kButtonY, 180, 48), .text = "HELP",
     .style = Style::Center},
    {.kind = ControlKind::PushButton, .id = kBurnerModeAccept, .rect = RectXywh(240, kButtonY, 180, 48),
     .text = "ACCEPT", .style = Style::Center},
    {.kind = ControlKind::PushButton, .id = kBurnerModeCancel, .rect = RectXywh(436, kButtonY, 180, 48),
     .text = "CANCEL", .style = Style::Center},
};

constexpr plat::DialogTemplate kTemplate{
    .id = kBurnerModeDialogId,
    .caption = "BURNER MODE SELECTION - 07",
    .rect = RectXywh(0, 0, 626, plat::kCaptionHeight + kButtonY + 56),
    .controls = kControls,
    .count = static_cast<int>(sizeof kControls / sizeof kControls[0]),
};

BurnerModes& ModesOf(plat::Hwnd dialog) { return *static_cast<BurnerModes*>(plat::GetWindowData(dialog)); }

void ShowHelp(plat::Hwnd owner) { ShowHelpFile(owner, kHelpFile, i18n::kStringBurnerModeHelpCaption); }

void Labels(plat::Hwnd dialog) {
  SetString(dialog, 0, i18n::kStringBurnerModeCaption);
  char16_t unitText[i18n::kStringDestUnits] = {};
  i18n::GetString(i18n::kStringBurnerUnit, unitText);
  for (int n = 1; n <= kFanHeaterSlots; ++n) {
    char16_t line[i18n::kStringDestUnits + 4];
    const char number[3] = {' ', static_cast<char>('0' + n), 0};
    i18n::LineText(line, sizeof line / sizeof line[0]).Add(unitText).AddLatin1(number);
    plat::SetDlgItemText(dialog, kBurnerUnitLabels[n - 1], line);
  }
  SetString(dialog, kBurnerModeHelp, i18n::kStringHelp);
  SetString(dialog, kBurnerModeAccept, i18n::kStringAccept);
  SetString(dialog, kBurnerModeCancel, i18n::kStringCancel);
}

// Run on opening and after every change.
void ShowModes(plat::Hwnd dialog) {
  const BurnerModes& m = ModesOf(dialog);
  for (int n = 1; n <= kFanHeaterSlots; ++n) {
    const bool present = n <= m.units;
    for (int id : {kBurnerUnitLabels[n - 1], kBurnerFireButtons[n - 1], kBurnerAirSwitchButtons[n - 1]})
      plat::ShowDlgItem(dialog, id, present);
    const uint8_t v = m.value[n - 1];
    SetString(dialog, kBurnerFireButtons[n - 1],
              (v & kBurnerModeFanOnly) ? i18n::kStringBurnerFanOnly : i18n::kStringBurnerOn);
    SetString(dialog, kBurnerAirSwitchButtons[n - 1],
              (v & kBurnerModeNoAirSwitchTest) ? i18n::kStringAirSwitchTestOff : i18n::kStringAirSwitchTestOn);
  }
}

bool OnCommand(plat::Hwnd dialog, int id) {
  BurnerModes& m = ModesOf(dialog);
  for (int n = 1; n <= kFanHeaterSlots; ++n) {
    if (id == kBurnerFireButtons[n - 1]) {
      ToggleFanOnly(m, n);
      ShowModes(dialog);
      return true;
    }
    if (id == kBurnerAirSwitchButtons[n - 1]) {
      ToggleAirSwitchTest(m, n);
      ShowModes(dialog);
      return true;
    }
  }
  switch (id) {
    case kBurnerModeHelp:
      ShowHelp(dialog);
      return true;
    case kBurnerModeAccept:
      AcceptBurnerModes(m);
      plat::EndDialog(dialog, id);
      return true;
    case kBurnerModeCancel:
      plat::EndDialog(dialog, id);
      return true;
    default:
      return false;
  }
}

bool Proc(plat::Hwnd dialog, plat::Msg msg, plat::WParam w, plat::LParam l) {
  switch (msg) {
    case plat::Msg::InitDialog:
      plat::SetWindowData(dialog, reinterpret_cast<void*>(l));
      plat::CenterOverParent(dialog);
      Labels(dialog);
      ShowModes(dialog);
      return true;
    case plat::Msg::Command:
      return OnCommand(dialog, plat::CommandId(w));
    default:
      return false;
  }
}

}  // namespace

int BurnerModeRegister(int unit) { return kStatusBurnerMode1 + kFanHeaterSlots - ClampUnit(unit); }

CommandRow BurnerModeRow(int unit) {
  return static_cast<CommandRow>(RowNumber(CommandRow::BurnerMode6) + 1 - ClampUnit(unit));
}

BurnerModes OpenBurnerModes(const DryerStatus& s) {
  BurnerModes m{};
  m.units = PlenumSlotsInUse(s.b[kStatusFanHeaterCount]);
  if (m.units < 1) m.units = 1;
  for (int n = 1; n <= kFanHeaterSlots; ++n)
    m.value[n - 1] = IsPending(BurnerModeRow(n)) ? ReadRequestByte(BurnerModeRegister(n)) : s.b[BurnerModeRegister(n)];
  return m;
}

void ToggleFanOnly(BurnerModes& m, int unit) { m.value[ClampUnit(unit) - 1] ^= kBurnerModeFanOnly; }

void ToggleAirSwitchTest(BurnerModes& m, int unit) { m.value[ClampUnit(unit) - 1] ^= kBurnerModeNoAirSwitchTest; }

int AcceptBurnerModes(const BurnerModes& m) {
  int raised = 0;
  for (int n = 1; n <= m.units && n <= kFanHeaterSlots; ++n)
    raised += RequestSettingIfChanged(BurnerModeRow(n), &m.value[n - 1]) ? 1 : 0;
  return raised;
}

void OpenBurnerModeDialog(plat::Hwnd parent) {
  DryerStatus s;
  TakeStatusSnapshot(s);
  if (SeriesDryer(s)) return;
  BurnerModes modes = OpenBurnerModes(s);
  plat::DialogBox(parent, kTemplate, Proc, reinterpret_cast<plat::LParam>(&modes));
}

}  // namespace dialogs
