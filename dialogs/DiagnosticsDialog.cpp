#include "dialogs/DiagnosticsDialog.h"
#include "dialogs/MoistureCalibrationDialog.h"

#include <atomic>

#include "dialogs/DiagnosticsLogic.h"
#include "dialogs/DiagnosticsShared.h"
#include "dialogs/DialogText.h"
#include "dialogs/LightOutputsDialog.h"
#include "dialogs/MeterRollDialog.h"
#include "dialogs/MeterRollVoltageDialog.h"
#include "dialogs/SwitchTestDialog.h"
#include "i18n/StringIds.h"
#include "link/DryerStatus.h"
#include "link/SettingRequest.h"
#include "platform/Dialog.h"

namespace dialogs {
namespace {

using plat::ControlKind;
using plat::DialogControl;
using plat::RectXywh;
namespace Style = plat::ControlStyle;

constexpr int kStringCaption = 202;
constexpr int kStringGroupIo = 203;
constexpr int kStringGroupAirSwitch = 206;
constexpr int kStringTestingDisabled = 209;
constexpr int kStringGroupMeterRolls = 210;
constexpr int kStringMeterRollVoltage = 211;
constexpr int kStringMrSpeedViaScreen = 212;
constexpr int kStringMrSensorShutdown = 213;
constexpr int kStringCalibrate = 214;
constexpr const char* kHelpFile = "DiagnosticScreenHelp.txt";
constexpr int kUnitRegisters = 6;

constexpr int kWidth = 620;
constexpr int kHeight = 400;
constexpr int kButtonHeight = 44;

constexpr DialogControl Group(int id, int x, int y, int w, int h) {
  return {.kind = ControlKind::GroupBox, .id = id, .rect = RectXywh(x, y, w, h), .text = ""};
}
constexpr DialogControl Button(int id, int x, int y, int w, int h = kButtonHeight,
                               ControlKind kind = ControlKind::PushButton) {
  return {.kind = kind, .id = id, .rect = RectXywh(x, y, w, h), .text = "",
          .style = Style::Center | Style::Multiline | (kind == ControlKind::CheckButton ? Style::NoAuto : 0u)};
}

constexpr DialogControl kControls[] = {
    Group(kDiagGroupIo, 10, 8, 290, 128),
    Button(kDiagLightOutputs, 25, 34, 260),
    Button(kDiagSwitchWiring, 25, 84, 260),
    Group(kDiagGroupAirSwitch, 10, 148, 290, 152),
    Button(kDiagAirSwitchTesting, 25, 174, 260),
    {.kind = ControlKind::RadioButton, .id = kDiagAirSwitchDisabledRadio, .rect = RectXywh(25, 232, 260, 40),
     .text = "", .style = Style::Group | Style::NoAuto | Style::Multiline},
    Group(kDiagGroupMeterRolls, 312, 8, 298, 292),
    Button(kDiagMeterRollVoltage, 327, 34, 268),
    Button(kDiagMrSpeedViaScreen, 327, 86, 268, kButtonHeight, ControlKind::CheckButton),
    Button(kDiagMrSensorShutdown, 327, 138, 268, 56, ControlKind::CheckButton),
    Button(kDiagCalibrateMoisture, 327, 236, 268),
    Button(kDiagHelp, 10, 318, 150, 48),
    Button(kDiagExit, 460, 318, 150, 48),
};

constexpr plat::DialogTemplate kTemplate{
    .id = kDiagnosticsDialogId,
    .caption = "SYSTEM DIAGNOSTICS - 26",
    .rect = RectXywh(0, 0, kWidth, kHeight),
    .controls = kControls,
    .count = static_cast<int>(sizeof kControls / sizeof kControls[0]),
};

// ---- The confirmations 606, 607 and 608 ----

constexpr int kConfirmWidth = 460;
constexpr int kConfirmHeight = 250;
constexpr DialogControl kConfirmControls[] = {
    {.kind = ControlKind::Static, .id = kConfirmQuestion, .rect = RectXywh(16, 14, kConfirmWidth - 32, 70),
     .text = "", .style = Style::Multiline | Style::Center},
    {.kind = ControlKind::Static, .id = kConfirmNote, .rect = RectXywh(16, 88, kConfirmWidth - 32, 50),
     .text = "", .style = Style::Multiline | Style::Center | Style::Hidden},
    Button(plat::IdYes, 16, 160, 130),
    Button(plat::IdNo, 165, 160, 130),
    Button(plat::IdCancel, 314, 160, 130),
};
constexpr plat::DialogTemplate ConfirmTemplate(int id) {
  return plat::DialogTemplate{.id = id, .caption = "", .rect = RectXywh(0, 0, kConfirmWidth, kConfirmHeight),
                              .controls = kConfirmControls,
                              .count = static_cast<int>(sizeof kConfirmControls / sizeof kConfirmControls[0])};
}
constexpr plat::DialogTemplate kMrScreenTemplate = ConfirmTemplate(kConfirmMrScreenDialogId);
constexpr plat::DialogTemplate kMrSensorTemplate = ConfirmTemplate(kConfirmMrSensorDialogId);
constexpr plat::DialogTemplate kAirSwitchTemplate = ConfirmTemplate(kConfirmAirSwitchDialogId);

struct ConfirmText {
  int caption;
  int question;
  int note;  // 0: none
};

bool ConfirmProc(plat::Hwnd dialog, plat::Msg msg, plat::WParam w, plat::LParam l) {
  switch (msg) {
    case plat::Msg::InitDialog: {
      const ConfirmText& t = *reinterpret_cast<const ConfirmText*>(l);
      SetString(dialog, 0, t.caption);
      SetString(dialog, kConfirmQuestion, t.question);
      if (t.note != 0) {
        SetString(dialog, kConfirmNote, t.note);
        plat::ShowDlgItem(dialog, kConfirmNote, true);
      }
      SetString(dialog, plat::IdYes, i18n::kStringYes);
      SetString(dialog, plat::IdNo, i18n::kStringNo);
      SetString(dialog, plat::IdCancel, i18n::kStringCancel);
      plat::CenterOverParent(dialog);
      return true;
    }
    case plat::Msg::Command: {
      const int id = plat::CommandId(w);
      if (id != plat::IdYes && id != plat::IdNo && id != plat::IdCancel) return false;
      plat::EndDialog(dialog, id);
      return true;
    }
    default:
      return false;
  }
}

// True when the operator answered Yes.
bool Confirm(plat::Hwnd parent, const plat::DialogTemplate& tmpl, const ConfirmText& text) {
  return plat::DialogBox(parent, tmpl, ConfirmProc, reinterpret_cast<plat::LParam>(&text)) ==
         plat::IdYes;
}

// ---- Dialog 168 ----

struct DiagnosticsState {
  std::atomic<bool> open{false};
};
DiagnosticsState gDiagnostics;

lnk::DryerStatus Snapshot() {
  lnk::DryerStatus s;
  lnk::TakeStatusSnapshot(s);
  return s;
}

lnk::CommandRow UnitRow(int n) { return static_cast<lnk::CommandRow>(lnk::RowNumber(lnk::CommandRow::BurnerMode1) + n); }

// Sets or clears bit 2 of the unit registers in `slots`, each from its status copy.
void RequestAirSwitchBits(uint8_t slots, bool disable) {
  for (int n = 0; n < kUnitRegisters; ++n) {
    if ((slots & (1u << n)) == 0) continue;
    lnk::RequestBits(lnk::kStatusBurnerMode1 + n, disable ? lnk::kBurnerModeNoAirSwitchTest : 0,
                     disable ? 0 : lnk::kBurnerModeNoAirSwitchTest, UnitRow(n));
  }
}

// Run on opening and at the follow period: the marks and texts that follow the controller, and
// the panel's own re-enabling of air switch testing.
void Refresh(plat::Hwnd dialog) {
  const lnk::DryerStatus s = Snapshot();
  const AirSwitchState air = EvaluateAirSwitch(s);
  if (air.reenableSlots != 0) RequestAirSwitchBits(air.reenableSlots, false);
  plat::CheckDlgButton(dialog, kDiagAirSwitchDisabledRadio, air.testingDisabled);
  SetString(dialog, kDiagAirSwitchTesting, air.buttonString);
  plat::CheckDlgButton(dialog, kDiagMrSpeedViaScreen, MeterRollByScreen());
  plat::CheckDlgButton(dialog, kDiagMrSensorShutdown, (s.b[lnk::kStatusSetup49] & lnk::kSetupShutdownOnMrSensorOff) != 0);
}

void Open(plat::Hwnd dialog) {
  gDiagnostics.open = true;
  // These registers are changed bit by bit here, so they start from the controller's values.
  for (int n = 0; n < kUnitRegisters; ++n) lnk::LoadRequestFromStatus(UnitRow(n));
  lnk::LoadRequestFromStatus(lnk::CommandRow::SetupByte49);
  plat::CenterOverParent(dialog);
  SetString(dialog, 0, kStringCaption);
  constexpr ControlString kTexts[] = {
      {kDiagGroupIo, kStringGroupIo},           {kDiagLightOutputs, i18n::kStringCheckLightOutputs},
      {kDiagSwitchWiring, i18n::kStringCheckSwitchWiring}, {kDiagGroupAirSwitch, kStringGroupAirSwitch},
      {kDiagAirSwitchDisabledRadio, kStringTestingDisabled}, {kDiagGroupMeterRolls, kStringGroupMeterRolls},
      {kDiagMeterRollVoltage, kStringMeterRollVoltage}, {kDiagMrSpeedViaScreen, kStringMrSpeedViaScreen},
      {kDiagMrSensorShutdown, kStringMrSensorShutdown}, {kDiagCalibrateMoisture, kStringCalibrate},
      {kDiagHelp, i18n::kStringHelp},           {kDiagExit, i18n::kStringExit},
  };
  SetStrings(dialog, kTexts);
  Refresh(dialog);
  plat::SetTimer(dialog, kFollowStatusTimer, kFollowStatusMs);
}

void AskAirSwitch(plat::Hwnd dialog) {
  const lnk::DryerStatus s = Snapshot();
  const bool disable = !EvaluateAirSwitch(s).testingDisabled;
  const ConfirmText text = disable ? ConfirmText{i18n::kConfirmAirSwitchCaption, i18n::kConfirmAirSwitchDisable,
                                                 i18n::kConfirmAirSwitchNote}
                                   : ConfirmText{i18n::kConfirmAirSwitchCaption, i18n::kConfirmAirSwitchEnable, 0};
  if (Confirm(dialog, kAirSwitchTemplate, text)) RequestAirSwitchBits(UnitSlotsPresent(s.b[lnk::kStatusFanHeaterCount]), disable);
}

void AskMrSensorShutdown(plat::Hwnd dialog) {
  lnk::LoadRequestFromStatus(lnk::CommandRow::SetupByte49);
  const uint8_t setup = lnk::ReadRequestByte(lnk::kStatusSetup49);
  const bool off = (setup & lnk::kSetupShutdownOnMrSensorOff) != 0;
  const ConfirmText text{i18n::kConfirmMrSensorCaption, off ? i18n::kConfirmMrSensorEnable : i18n::kConfirmMrSensorDisable, 0};
  if (!Confirm(dialog, kMrSensorTemplate, text)) return;
  // Read again: a frame may have changed the copy while the question was open.
  lnk::LoadRequestFromStatus(lnk::CommandRow::SetupByte49);
  lnk::RequestByte(lnk::kStatusSetup49, lnk::ReadRequestByte(lnk::kStatusSetup49) ^ lnk::kSetupShutdownOnMrSensorOff, lnk::CommandRow::SetupByte49);
}

void AskMrSpeedViaScreen(plat::Hwnd dialog) {
  const bool on = MeterRollByScreen();
  const ConfirmText text{i18n::kConfirmMrScreenCaption, on ? i18n::kConfirmMrScreenOff : i18n::kConfirmMrScreenOn, 0};
  if (Confirm(dialog, kMrScreenTemplate, text)) SetMeterRollByScreen(!on);
}

bool OnCommand(plat::Hwnd dialog, int id) {
  switch (id) {
    case kDiagLightOutputs: OpenLightOutputsDialog(dialog); break;
    case kDiagSwitchWiring: OpenSwitchTestDialog(dialog); break;
    case kDiagAirSwitchTesting: AskAirSwitch(dialog); break;
    case kDiagMeterRollVoltage: OpenMeterRollVoltageDialog(dialog); break;
    case kDiagMrSpeedViaScreen: AskMrSpeedViaScreen(dialog); break;
    case kDiagMrSensorShutdown: AskMrSensorShutdown(dialog); break;
    case kDiagCalibrateMoisture: OpenMoistureCalibrationDialog(dialog); break;
    case kDiagHelp: ShowHelpFile(dialog, kHelpFile, i18n::kDiagnosticsHelpCaption); break;
    case kDiagExit:
      gDiagnostics.open = false;
      plat::EndDialog(dialog, kDiagExit);
      return true;
    case kDiagAirSwitchDisabledRadio: return true;  // shows the state; a touch changes nothing
    default: return false;
  }
  Refresh(dialog);
  return true;
}

bool DiagnosticsProc(plat::Hwnd dialog, plat::Msg msg, plat::WParam w, plat::LParam) {
  switch (msg) {
    case plat::Msg::InitDialog:
      Open(dialog);
      return true;
    case plat::Msg::Timer:
      if (w != kFollowStatusTimer) return false;
      Refresh(dialog);
      return true;
    case plat::Msg::Command:
      return OnCommand(dialog, plat::CommandId(w));
    default:
      return false;
  }
}

}  // namespace

void OpenDiagnosticsDialog(plat::Hwnd parent) {
  plat::DialogBox(parent, kTemplate, DiagnosticsProc, 0);
  gDiagnostics.open = false;
}

bool DiagnosticsOpen() { return gDiagnostics.open.load(); }

}  // namespace dialogs
