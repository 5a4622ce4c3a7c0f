#include "dialogs/UserSettingsDialog.h"

#include "dialogs/DialogText.h"
#include "dialogs/SetupQuestion.h"
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

constexpr char kHelpFile[] = "UserSettingsHelp.txt";
constexpr int kWidth = 530;
constexpr int kButtonY = 130;
constexpr int kButtonHeight = 48;

constexpr DialogControl kControls[] = {
    {.kind = ControlKind::GroupBox, .id = kUserUnitsGroup, .rect = RectXywh(10, 8, 250, 112),
     .text = "TEMPERATURE UNITS"},
    {.kind = ControlKind::RadioButton, .id = kUserFahrenheitRadio, .rect = RectXywh(24, 36, 222, 30),
     .text = "DEGREES F", .style = Style::NoAuto | Style::Group},
    {.kind = ControlKind::RadioButton, .id = kUserCelsiusRadio, .rect = RectXywh(24, 76, 222, 30),
     .text = "DEGREES C", .style = Style::NoAuto},
    {.kind = ControlKind::GroupBox, .id = kUserViewGroup, .rect = RectXywh(270, 8, 250, 112),
     .text = "MAIN SCREEN VIEW"},
    {.kind = ControlKind::RadioButton, .id = kUserChartRadio, .rect = RectXywh(284, 36, 222, 30),
     .text = "STATUS CHART", .style = Style::NoAuto | Style::Group},
    {.kind = ControlKind::RadioButton, .id = kUserGraphRadio, .rect = RectXywh(284, 76, 222, 30), .text = "GRAPHS",
     .style = Style::NoAuto},
    {.kind = ControlKind::PushButton, .id = kUserHelp, .rect = RectXywh(10, kButtonY, 160, kButtonHeight),
     .text = "HELP", .style = Style::Center},
    {.kind = ControlKind::PushButton, .id = kUserAccept, .rect = RectXywh(210, kButtonY, 150, kButtonHeight),
     .text = "ACCEPT", .style = Style::Center},
    {.kind = ControlKind::PushButton, .id = kUserCancel, .rect = RectXywh(370, kButtonY, 150, kButtonHeight),
     .text = "CANCEL", .style = Style::Center},
};

constexpr plat::DialogTemplate kTemplate{
    .id = kUserSettingsDialogId,
    .caption = "USER SETTINGS - 43",
    .rect = RectXywh(0, 0, kWidth, plat::kCaptionHeight + kButtonY + kButtonHeight + 12),
    .controls = kControls,
    .count = static_cast<int>(sizeof kControls / sizeof kControls[0]),
};

// The options as the dialog opened on them and as the operator has set them.
struct UserSettings {
  uint8_t opened = 0;
  uint8_t working = 0;
};

UserSettings& SettingsOf(plat::Hwnd dialog) { return *static_cast<UserSettings*>(plat::GetWindowData(dialog)); }

constexpr ControlString kTexts[] = {
    {0, i18n::kStringUserSettingsCaption},
    {kUserUnitsGroup, i18n::kStringTemperatureUnits},
    {kUserFahrenheitRadio, i18n::kStringDegreesF},
    {kUserCelsiusRadio, i18n::kStringDegreesC},
    {kUserViewGroup, i18n::kStringMainScreenView},
    {kUserChartRadio, i18n::kStringStatusChartView},
    {kUserGraphRadio, i18n::kStringGraphView},
    {kUserHelp, i18n::kStringHelp},
    {kUserAccept, i18n::kStringAccept},
    {kUserCancel, i18n::kStringCancel},
};

void SetTexts(plat::Hwnd dialog) { SetStrings(dialog, kTexts); }

void ShowWorking(plat::Hwnd dialog) {
  const uint8_t v = SettingsOf(dialog).working;
  const bool celsius = (v & lnk::kDisplayOptionsCelsius) != 0;
  const bool graph = (v & lnk::kDisplayOptionsGraphView) != 0;
  plat::CheckDlgButton(dialog, kUserFahrenheitRadio, !celsius);
  plat::CheckDlgButton(dialog, kUserCelsiusRadio, celsius);
  plat::CheckDlgButton(dialog, kUserChartRadio, !graph);
  plat::CheckDlgButton(dialog, kUserGraphRadio, graph);
}

// Sends the options when they differ from what the controller reports or from what the dialog
// opened on (a change still on its way that the operator has taken back). The one-shot command
// bits of the register are left to their own users.
void Accept(const UserSettings& u) {
  lnk::DryerStatus s;
  lnk::TakeStatusSnapshot(s);
  const uint8_t reported = s.b[lnk::kStatusDisplayOptions] & lnk::kDisplayOptionsUserSettings;
  if (u.working == reported && u.working == u.opened) return;
  lnk::RequestBits(lnk::kStatusDisplayOptions, u.working, static_cast<uint8_t>(lnk::kDisplayOptionsUserSettings & ~u.working),
              lnk::CommandRow::DisplayOptions);
}

bool OnCommand(plat::Hwnd dialog, int id) {
  UserSettings& u = SettingsOf(dialog);
  switch (id) {
    case kUserFahrenheitRadio: u.working &= static_cast<uint8_t>(~lnk::kDisplayOptionsCelsius); break;
    case kUserCelsiusRadio: u.working |= lnk::kDisplayOptionsCelsius; break;
    case kUserChartRadio: u.working &= static_cast<uint8_t>(~lnk::kDisplayOptionsGraphView); break;
    case kUserGraphRadio: u.working |= lnk::kDisplayOptionsGraphView; break;
    case kUserHelp: ShowHelpFile(dialog, kHelpFile, i18n::kStringUserSettingsHelpCaption); return true;
    case kUserAccept:
      Accept(u);
      plat::EndDialog(dialog, id);
      return true;
    case kUserCancel: plat::EndDialog(dialog, id); return true;
    default: return false;
  }
  ShowWorking(dialog);
  return true;
}

bool UserSettingsProc(plat::Hwnd dialog, plat::Msg msg, plat::WParam w, plat::LParam l) {
  switch (msg) {
    case plat::Msg::InitDialog: {
      plat::SetWindowData(dialog, reinterpret_cast<void*>(l));
      // The controller's options, unless a change of them is still on its way.
      lnk::LoadRequestByteFromStatus(lnk::kStatusDisplayOptions, lnk::CommandRow::DisplayOptions);
      UserSettings& u = SettingsOf(dialog);
      u.opened = lnk::ReadRequestByte(lnk::kStatusDisplayOptions) & lnk::kDisplayOptionsUserSettings;
      u.working = u.opened;
      plat::CenterOverParent(dialog);
      SetTexts(dialog);
      ShowWorking(dialog);
      return true;
    }
    case plat::Msg::Command:
      return OnCommand(dialog, plat::CommandId(w));
    default:
      return false;
  }
}

}  // namespace

void OpenUserSettingsDialog(plat::Hwnd parent) {
  UserSettings settings;
  plat::DialogBox(parent, kTemplate, UserSettingsProc, reinterpret_cast<plat::LParam>(&settings));
}

}  // namespace dialogs
