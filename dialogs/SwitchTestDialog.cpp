#include "dialogs/SwitchTestDialog.h"

#include <array>

#include "dialogs/DiagnosticsLogic.h"
#include "dialogs/DiagnosticsShared.h"
#include "dialogs/DialogText.h"
#include "i18n/Language.h"
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

constexpr int kStringCaption = 205;
constexpr int kStringConnector = 383;
constexpr int kStringEncoder = 384;
constexpr int kStringDipswitch = 385;
constexpr int kStringDryerType = 386;

constexpr int kConnectorCount = 4;
constexpr const char* kConnectorNames[kConnectorCount] = {"J3", "J4", "J5", "J6"};
constexpr int kGroupCount = kConnectorCount + 3;
constexpr int kEncoderGroup = kConnectorCount;
constexpr int kDipswitchGroup = kConnectorCount + 1;
constexpr int kDryerTypeGroup = kConnectorCount + 2;

// Byte 183: the encoder, the dipswitch, and START, which sits with the last connector.
constexpr int kEncoderBits[3] = {6, 5, 4};
constexpr int kDipswitchBits[3] = {1, 2, 3};  // MANUAL, AUX, DEFAULTS
constexpr int kStartBit = 0;
constexpr int kLastInputByte = lnk::kSwitchInputBytes - 1;

// The boxes use a smaller face than the buttons, so the longest input names fit on one line.
constexpr int kBoxFontHeight = 13;
constexpr int kGroupWidth = 153;
constexpr int kGroupPitch = 158;
constexpr int kBoxPitch = 23;
constexpr int kBoxHeight = 22;
constexpr int kGroupTitle = 22;
constexpr int kTopRowY = 4;
constexpr int kBottomRowY = 248;

constexpr plat::Rect GroupRect(int g, int rows) {
  const int x = 6 + (g < kConnectorCount ? g : g - kConnectorCount) * kGroupPitch;
  const int y = g < kConnectorCount ? kTopRowY : kBottomRowY;
  const int w = g == kDryerTypeGroup ? 2 * kGroupWidth + 5 : kGroupWidth;
  return RectXywh(x, y, w, kGroupTitle + rows * kBoxPitch + 6);
}
constexpr DialogControl Box(int id, const plat::Rect& group, int row, int column, const char* text) {
  return {.kind = ControlKind::CheckBox, .id = id,
          .rect = RectXywh(group.left + 8 + column * kGroupWidth, group.top + kGroupTitle + row * kBoxPitch, 142, kBoxHeight),
          .text = text, .style = Style::NoAuto};
}

constexpr int kInputCount = lnk::kSwitchInputBytes * 8 - 1;  // bit 7 of byte 183 carries nothing
constexpr int kControlCount = kGroupCount + kInputCount + 8 + 1;

constexpr std::array<DialogControl, kControlCount> BuildControls() {
  std::array<DialogControl, kControlCount> c{};
  int n = 0;
  auto group = [&](int g, int rows) {
    const plat::Rect r = GroupRect(g, rows);
    c[n++] = DialogControl{.kind = ControlKind::GroupBox, .id = kSwitchGroupFirst + g, .rect = r, .text = ""};
    return r;
  };
  auto input = [&](const plat::Rect& r, int row, int column, int byteIndex, int bit) {
    c[n++] = Box(SwitchInputControl(lnk::kStatusSwitchInputs + byteIndex, bit), r, row, column,
                 kSwitchInputNames[byteIndex][7 - bit]);
  };
  for (int k = 0; k < kConnectorCount; ++k) {
    const bool last = k == kConnectorCount - 1;
    const plat::Rect r = group(k, last ? 9 : 8);
    for (int bit = 7; bit >= 0; --bit) input(r, 7 - bit, 0, k, bit);
    if (last) input(r, 8, 0, kLastInputByte, kStartBit);
  }
  const plat::Rect encoder = group(kEncoderGroup, 3);
  for (int i = 0; i < 3; ++i) input(encoder, i, 0, kLastInputByte, kEncoderBits[i]);
  const plat::Rect dipswitch = group(kDipswitchGroup, 3);
  for (int i = 0; i < 3; ++i) input(dipswitch, i, 0, kLastInputByte, kDipswitchBits[i]);
  const plat::Rect type = group(kDryerTypeGroup, 4);
  for (int bit = 7; bit >= 0; --bit)
    c[n++] = Box(kDryerTypeFirst + bit, type, (7 - bit) % 4, (7 - bit) / 4, kDryerTypeSwitchNames[7 - bit]);
  c[n++] = DialogControl{.kind = ControlKind::PushButton, .id = kSwitchTestExit,
                         .rect = RectXywh(6, 356, 150, 44), .text = "", .style = Style::Center};
  return c;
}
constexpr std::array<DialogControl, kControlCount> kControls = BuildControls();

constexpr plat::DialogTemplate kTemplate{
    .id = kSwitchTestDialogId,
    .caption = "Check Switch Wiring",
    .rect = RectXywh(0, 0, 640, 432),
    .controls = kControls.data(),
    .count = kControlCount,
};

// Run on opening and at the follow period; a box repaints only when it changed.
void Refresh(plat::Hwnd dialog) {
  lnk::DryerStatus s;
  lnk::TakeStatusSnapshot(s);
  for (int i = 0; i < lnk::kSwitchInputBytes; ++i)
    for (int bit = 0; bit < 8; ++bit)
      if (kSwitchInputNames[i][7 - bit] != nullptr)
        plat::CheckDlgButton(dialog, SwitchInputControl(lnk::kStatusSwitchInputs + i, bit),
                             (s.b[lnk::kStatusSwitchInputs + i] & (1u << bit)) != 0);
  for (int bit = 0; bit < 8; ++bit)
    plat::CheckDlgButton(dialog, kDryerTypeFirst + bit, (s.b[lnk::kStatusDryerTypeSwitch] & (1u << bit)) != 0);
}

// "J3 %s" .. "J6 %s" with the connector word of the display language.
void SetConnectorTitles(plat::Hwnd dialog) {
  char16_t word[i18n::kStringDestUnits] = {};
  i18n::GetString(kStringConnector, word);
  for (int k = 0; k < kConnectorCount; ++k) {
    char16_t title[i18n::kStringDestUnits + 4] = {};
    int n = 0;
    for (const char* p = kConnectorNames[k]; *p != 0; ++p) title[n++] = static_cast<char16_t>(*p);
    title[n++] = u' ';
    for (const char16_t* p = word; *p != 0; ++p) title[n++] = *p;
    plat::SetDlgItemText(dialog, kSwitchGroupFirst + k, title);
  }
}

void Open(plat::Hwnd dialog) {
  plat::CenterOverParent(dialog);
  SetString(dialog, 0, kStringCaption);
  const plat::FontHandle small = plat::CreateFont(plat::kFaceTahoma, kBoxFontHeight, plat::FontWeight::Bold);
  for (const DialogControl& c : kControls)
    if (c.kind == ControlKind::CheckBox) plat::SetControlFont(plat::GetDlgItem(dialog, c.id), small);
  SetConnectorTitles(dialog);
  SetString(dialog, kSwitchGroupFirst + kEncoderGroup, kStringEncoder);
  SetString(dialog, kSwitchGroupFirst + kDipswitchGroup, kStringDipswitch);
  SetString(dialog, kSwitchGroupFirst + kDryerTypeGroup, kStringDryerType);
  SetString(dialog, kSwitchTestExit, i18n::kStringExit);
  Refresh(dialog);
  plat::SetTimer(dialog, kFollowStatusTimer, kFollowStatusMs);
}

bool SwitchTestProc(plat::Hwnd dialog, plat::Msg msg, plat::WParam w, plat::LParam) {
  switch (msg) {
    case plat::Msg::InitDialog:
      Open(dialog);
      return true;
    case plat::Msg::Timer:
      if (w != kFollowStatusTimer) return false;
      Refresh(dialog);
      return true;
    case plat::Msg::Command:
      if (plat::CommandId(w) == kSwitchTestExit) plat::EndDialog(dialog, kSwitchTestExit);
      return true;  // the boxes only show the controller's state
    default:
      return false;
  }
}

}  // namespace

void OpenSwitchTestDialog(plat::Hwnd parent) { plat::DialogBox(parent, kTemplate, SwitchTestProc, 0); }

}  // namespace dialogs
