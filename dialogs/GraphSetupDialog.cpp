#include "dialogs/GraphSetupDialog.h"
#include "dialogs/DialogText.h"

#include "i18n/Language.h"
#include "i18n/StringIds.h"
#include "platform/Dialog.h"
#include "records/GraphLog.h"
#include "records/Preferences.h"

namespace dialogs {

namespace {

using plat::ControlKind;
using plat::DialogControl;
using plat::RectXywh;
namespace Style = plat::ControlStyle;

constexpr int kStringCaption = 453;

struct ScaleRow {
  int button;
  int box;
  int stringId;
};
// Row n is scale n: 1, 2, 4 and 8 hours.
constexpr ScaleRow kScales[records::kGraphScaleCount] = {
    {.button = kGraphSetup1Hour, .box = kGraphSetupBox1, .stringId = 454},
    {.button = kGraphSetup2Hours, .box = kGraphSetupBox2, .stringId = 455},
    {.button = kGraphSetup4Hours, .box = kGraphSetupBox4, .stringId = 456},
    {.button = kGraphSetup8Hours, .box = kGraphSetupBox8, .stringId = 457},
};

constexpr DialogControl Box(int row, int id) {
  return {.kind = ControlKind::CheckBox, .id = id, .rect = RectXywh(16, 16 + row * 46, 24, 24), .text = "",
          .style = Style::NoAuto};
}
constexpr DialogControl Button(int row, int id, const char* text) {
  return {.kind = ControlKind::PushButton, .id = id, .rect = RectXywh(48, 8 + row * 46, 150, 40), .text = text,
          .style = Style::Center};
}

constexpr DialogControl kControls[] = {
    Box(0, kGraphSetupBox1),
    Button(0, kGraphSetup1Hour, "1 HOUR"),
    Box(1, kGraphSetupBox2),
    Button(1, kGraphSetup2Hours, "2 HOURS"),
    Box(2, kGraphSetupBox4),
    Button(2, kGraphSetup4Hours, "4 HOURS"),
    Box(3, kGraphSetupBox8),
    Button(3, kGraphSetup8Hours, "8 HOUR"),
    {.kind = ControlKind::PushButton, .id = kGraphSetupAccept, .rect = RectXywh(216, 146, 120, 40),
     .text = "ACCEPT/EXIT", .style = Style::Center},
};

constexpr plat::DialogTemplate kTemplate{
    .id = kGraphSetupDialogId,
    .caption = "GRAPH SETUP - 25",
    .rect = RectXywh(0, 0, 352, 228),
    .controls = kControls,
    .count = static_cast<int>(sizeof kControls / sizeof kControls[0]),
};

void CheckScale(plat::Hwnd dialog, int scale) {
  for (int i = 0; i < records::kGraphScaleCount; ++i) plat::CheckDlgButton(dialog, kScales[i].box, i == scale);
}

void SetTexts(plat::Hwnd dialog) {
  SetString(dialog, 0, kStringCaption);
  for (const ScaleRow& row : kScales) SetString(dialog, row.button, row.stringId);
  SetString(dialog, kGraphSetupAccept, i18n::kStringAccept);
}

bool OnCommand(plat::Hwnd dialog, int id) {
  for (int i = 0; i < records::kGraphScaleCount; ++i) {
    if (id != kScales[i].button) continue;
    CheckScale(dialog, i);
    return true;
  }
  if (id != kGraphSetupAccept) return false;
  int scale = records::CurrentPreferences().graphScale;
  for (int i = 0; i < records::kGraphScaleCount; ++i)
    if (plat::IsDlgButtonChecked(dialog, kScales[i].box)) scale = i;
  records::CurrentPreferences().graphScale = static_cast<uint8_t>(scale);
  records::SavePreference(records::kPrefGraphScale, static_cast<uint8_t>(scale));
  plat::EndDialog(dialog, id);
  return true;
}

bool GraphSetupProc(plat::Hwnd dialog, plat::Msg msg, plat::WParam wParam, plat::LParam) {
  switch (msg) {
    case plat::Msg::InitDialog:
      plat::CenterOverParent(dialog);
      SetTexts(dialog);
      CheckScale(dialog, records::CurrentPreferences().graphScale);
      return true;
    case plat::Msg::Command:
      return OnCommand(dialog, plat::CommandId(wParam));
    default:
      return false;
  }
}

}  // namespace

int OpenGraphSetupDialog(plat::Hwnd parent) {
  plat::DialogBox(parent, kTemplate, GraphSetupProc, 0);
  return records::CurrentPreferences().graphScale;
}

}  // namespace dialogs
