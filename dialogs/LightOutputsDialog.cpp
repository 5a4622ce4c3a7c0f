#include "dialogs/LightOutputsDialog.h"

#include "dialogs/DiagnosticsLogic.h"
#include "dialogs/DiagnosticsShared.h"
#include "dialogs/DialogText.h"
#include "i18n/StringIds.h"
#include "link/DryerStatus.h"
#include "platform/Controls.h"
#include "platform/Dialog.h"
#include "platform/Font.h"

namespace dialogs {
namespace {

using plat::ControlKind;
using plat::DialogControl;
using plat::RectXywh;
namespace Style = plat::ControlStyle;

constexpr int kStringCaption = 380;
constexpr int kStringActivated = 381;
constexpr int kStringShorted = 382;
constexpr int kStringHelpCaption = 387;
constexpr const char* kHelpFile = "CheckLightOutputsHelp.txt";

constexpr int kColumnX[2] = {4, 322};
// The marks and labels use a smaller face than the buttons, so sixteen rows of three fit.
constexpr int kMarkFontHeight = 13;
constexpr int kRowTop = 10;
constexpr int kRowPitch = 34;
constexpr int kRowHeight = 28;
constexpr int kMark = Style::Group | Style::NoAuto;

constexpr int RowY(int index) { return kRowTop + (index % lnk::kLightOutputsPerConnector) * kRowPitch; }
constexpr int ColumnX(int index) { return kColumnX[index / lnk::kLightOutputsPerConnector]; }

constexpr DialogControl Label(int i) {
  return {.kind = ControlKind::Static, .id = kLightLabelFirst + i, .rect = RectXywh(ColumnX(i), RowY(i) + 8, 108, kRowHeight - 8),
          .text = kLightOutputs[i].label};
}
constexpr DialogControl Activated(int i) {
  return {.kind = ControlKind::RadioButton, .id = kLightActivatedFirst + i,
          .rect = RectXywh(ColumnX(i) + 108, RowY(i), 114, kRowHeight), .text = "", .style = kMark};
}
constexpr DialogControl Shorted(int i) {
  return {.kind = ControlKind::RadioButton, .id = kLightShortedFirst + i,
          .rect = RectXywh(ColumnX(i) + 222, RowY(i), 92, kRowHeight), .text = "", .style = kMark};
}
#define DRYER_LIGHT_ROW(i) Label(i), Activated(i), Shorted(i)
constexpr DialogControl kControls[] = {
    DRYER_LIGHT_ROW(0),  DRYER_LIGHT_ROW(1),  DRYER_LIGHT_ROW(2),  DRYER_LIGHT_ROW(3),
    DRYER_LIGHT_ROW(4),  DRYER_LIGHT_ROW(5),  DRYER_LIGHT_ROW(6),  DRYER_LIGHT_ROW(7),
    DRYER_LIGHT_ROW(8),  DRYER_LIGHT_ROW(9),  DRYER_LIGHT_ROW(10), DRYER_LIGHT_ROW(11),
    DRYER_LIGHT_ROW(12), DRYER_LIGHT_ROW(13), DRYER_LIGHT_ROW(14), DRYER_LIGHT_ROW(15),
    {.kind = ControlKind::PushButton, .id = kLightsHelp, .rect = RectXywh(10, 296, 150, 44), .text = "",
     .style = Style::Center},
    {.kind = ControlKind::PushButton, .id = kLightsExit, .rect = RectXywh(470, 296, 150, 44), .text = "",
     .style = Style::Center},
};
#undef DRYER_LIGHT_ROW

constexpr plat::DialogTemplate kTemplate{
    .id = kLightOutputsDialogId,
    .caption = "CHECK LIGHT OUTPUTS - 27",
    .rect = RectXywh(0, 0, 640, 376),
    .controls = kControls,
    .count = static_cast<int>(sizeof kControls / sizeof kControls[0]),
};

// Run on opening and at the follow period; a mark repaints only when it changed.
void Refresh(plat::Hwnd dialog) {
  lnk::DryerStatus s;
  lnk::TakeStatusSnapshot(s);
  for (int i = 0; i < kLightOutputCount; ++i) {
    const LightOutputState o = ReadLightOutput(s, i);
    plat::CheckDlgButton(dialog, kLightActivatedFirst + i, o.activated);
    plat::CheckDlgButton(dialog, kLightShortedFirst + i, o.shorted);
  }
}

void Open(plat::Hwnd dialog) {
  plat::CenterOverParent(dialog);
  SetString(dialog, 0, kStringCaption);
  const plat::FontHandle small = plat::CreateFont(plat::kFaceTahoma, kMarkFontHeight, plat::FontWeight::Bold);
  for (int i = 0; i < kLightOutputCount; ++i) {
    for (int id : {kLightLabelFirst + i, kLightActivatedFirst + i, kLightShortedFirst + i})
      plat::SetControlFont(plat::GetDlgItem(dialog, id), small);
    SetString(dialog, kLightActivatedFirst + i, kStringActivated);
    SetString(dialog, kLightShortedFirst + i, kStringShorted);
  }
  SetString(dialog, kLightsHelp, i18n::kStringHelp);
  SetString(dialog, kLightsExit, i18n::kStringExit);
  Refresh(dialog);
  plat::SetTimer(dialog, kFollowStatusTimer, kFollowStatusMs);
}

bool LightOutputsProc(plat::Hwnd dialog, plat::Msg msg, plat::WParam w, plat::LParam) {
  switch (msg) {
    case plat::Msg::InitDialog:
      Open(dialog);
      return true;
    case plat::Msg::Timer:
      if (w != kFollowStatusTimer) return false;
      Refresh(dialog);
      return true;
    case plat::Msg::Command:
      switch (plat::CommandId(w)) {
        case kLightsHelp: ShowHelpFile(dialog, kHelpFile, kStringHelpCaption); return true;
        case kLightsExit: plat::EndDialog(dialog, kLightsExit); return true;
        default: return true;  // the marks only show the controller's state
      }
    default:
      return false;
  }
}

}  // namespace

void OpenLightOutputsDialog(plat::Hwnd parent) { plat::DialogBox(parent, kTemplate, LightOutputsProc, 0); }

}  // namespace dialogs
