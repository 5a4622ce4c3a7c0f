#include "dialogs/MeterRollVoltageDialog.h"

#include <cstdio>

#include "dialogs/DiagnosticsShared.h"
#include "dialogs/DialogText.h"
#include "i18n/Language.h"
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

constexpr const char* kHelpFile = "MeterRollVoltageHelp.txt";
constexpr int kSpeedCount = 3;

struct SpeedRow {
  int radio;
  int value;
  int label;      // string id
  int statusByte;  // the controller's setting
  lnk::CommandRow row;
};
constexpr SpeedRow kSpeeds[kSpeedCount] = {
    {kVoltageHighRadio, kVoltageHighValue, i18n::kStringVoltageHigh, lnk::kStatusMeterRoll1, lnk::CommandRow::MeterRollValue1},
    {kVoltageMediumRadio, kVoltageMediumValue, i18n::kStringVoltageMedium, lnk::kStatusMeterRoll2, lnk::CommandRow::MeterRollValue2},
    {kVoltageLowRadio, kVoltageLowValue, i18n::kStringVoltageLow, lnk::kStatusMeterRoll3, lnk::CommandRow::MeterRollValue3},
};
// Byte 155 names the speed in use: 2 HIGH, 1 MEDIUM, 0 LOW.
constexpr int SpeedIndexInUse(uint8_t inUse) {
  return inUse == lnk::kMeterRollInUseHigh ? 0 : inUse == lnk::kMeterRollInUseMedium ? 1 : inUse == lnk::kMeterRollInUseLow ? 2 : -1;
}

constexpr DialogControl Radio(int i, int y) {
  return {.kind = ControlKind::RadioButton, .id = kSpeeds[i].radio, .rect = RectXywh(20, y, 200, 40), .text = "",
          .style = i == 0 ? Style::Group : 0u};
}
constexpr DialogControl Value(int i, int y) {
  return {.kind = ControlKind::Static, .id = kSpeeds[i].value, .rect = RectXywh(226, y + 6, 96, 28), .text = "",
          .style = Style::Border | Style::Center};
}
constexpr DialogControl Button(int id, int x, int y, int w, int h) {
  return {.kind = ControlKind::PushButton, .id = id, .rect = RectXywh(x, y, w, h), .text = "", .style = Style::Center};
}
constexpr DialogControl kControls[] = {
    // The radios stand together in the table, so that checking one clears the others.
    Radio(0, 16),  Radio(1, 66),  Radio(2, 116), Value(0, 16),  Value(1, 66),  Value(2, 116),
    Button(kVoltageIncrease, 338, 16, 104, 64),
    Button(kVoltageDecrease, 338, 96, 104, 64),
    {.kind = ControlKind::Static, .id = kVoltageOutputNow, .rect = RectXywh(20, 176, 420, 28), .text = ""},
    Button(kVoltageHelp, 20, 222, 120, 48),
    Button(kVoltageAccept, 170, 222, 120, 48),
    Button(kVoltageCancel, 320, 222, 120, 48),
};
constexpr plat::DialogTemplate kTemplate{
    .id = kMeterRollVoltageDialogId,
    .caption = "METERING ROLL OUTPUT VOLTAGE - 28",
    .rect = RectXywh(0, 0, 460, 306),
    .controls = kControls,
    .count = static_cast<int>(sizeof kControls / sizeof kControls[0]),
};

// The working settings while the dialog is open: its parameter.
struct VoltageWork {
  uint8_t tenths[kSpeedCount];
  int selected;
};

VoltageWork& WorkOf(plat::Hwnd dialog) { return *static_cast<VoltageWork*>(plat::GetWindowData(dialog)); }

// "%d.%d V" after `prefix`, as UTF-16.
void FormatVoltage(char16_t* out, size_t size, const char16_t* prefix, int tenths) {
  size_t n = 0;
  for (const char16_t* p = prefix; *p != 0 && n + 1 < size; ++p) out[n++] = *p;
  char digits[16];
  const int length = std::snprintf(digits, sizeof digits, "%d.%d V", tenths / 10, tenths % 10);
  for (int i = 0; i < length && n + 1 < size; ++i) out[n++] = static_cast<char16_t>(digits[i]);
  out[n] = 0;
}

// Run on opening, after every press and at the follow period: the three settings and the
// output the controller runs now.
void Refresh(plat::Hwnd dialog) {
  const VoltageWork& work = WorkOf(dialog);
  char16_t text[plat::kMaxWindowText];
  for (int i = 0; i < kSpeedCount; ++i) {
    FormatVoltage(text, plat::kMaxWindowText, u"", work.tenths[i]);
    plat::SetDlgItemText(dialog, kSpeeds[i].value, text);
  }
  lnk::DryerStatus s;
  lnk::TakeStatusSnapshot(s);
  char16_t line[i18n::kStringDestUnits + 4] = {};
  i18n::GetString(i18n::kStringVoltageOutputNow, line);
  char16_t speed[i18n::kStringDestUnits] = {};
  const int inUse = SpeedIndexInUse(s.b[lnk::kStatusMeterRoll0]);
  if (inUse >= 0) i18n::GetString(kSpeeds[inUse].label, speed);
  char16_t prefix[2 * i18n::kStringDestUnits + 4] = {};
  size_t n = 0;
  for (const char16_t* p = line; *p != 0; ++p) prefix[n++] = *p;
  prefix[n++] = u' ';
  for (const char16_t* p = speed; *p != 0; ++p) prefix[n++] = *p;
  if (inUse >= 0) prefix[n++] = u' ';
  FormatVoltage(text, plat::kMaxWindowText, prefix, s.b[lnk::kStatusMeterRollSpeedPercent]);
  plat::SetDlgItemText(dialog, kVoltageOutputNow, text);
}

void Open(plat::Hwnd dialog, VoltageWork& work) {
  plat::SetWindowData(dialog, &work);
  lnk::DryerStatus s;
  lnk::TakeStatusSnapshot(s);
  for (int i = 0; i < kSpeedCount; ++i) {
    const uint8_t v = s.b[kSpeeds[i].statusByte];
    work.tenths[i] = v > kVoltageMaximumTenths ? kVoltageMaximumTenths : v;
  }
  const int inUse = SpeedIndexInUse(s.b[lnk::kStatusMeterRoll0]);
  work.selected = inUse >= 0 ? inUse : 1;
  plat::CenterOverParent(dialog);
  SetString(dialog, 0, i18n::kStringVoltageCaption);
  for (const SpeedRow& r : kSpeeds) SetString(dialog, r.radio, r.label);
  plat::CheckDlgButton(dialog, kSpeeds[work.selected].radio, true);
  SetString(dialog, kVoltageIncrease, i18n::kStringIncrease);
  SetString(dialog, kVoltageDecrease, i18n::kStringDecrease);
  SetString(dialog, kVoltageHelp, i18n::kStringHelp);
  SetString(dialog, kVoltageAccept, i18n::kStringAccept);
  SetString(dialog, kVoltageCancel, i18n::kStringCancel);
  Refresh(dialog);
  plat::SetTimer(dialog, kFollowStatusTimer, kFollowStatusMs);
}

void Step(VoltageWork& work, int delta) {
  uint8_t& v = work.tenths[work.selected];
  if (delta > 0 && v < kVoltageMaximumTenths) ++v;
  if (delta < 0 && v > 0) --v;
}

// Sends the settings that differ from the controller's.
void Accept(const VoltageWork& work) {
  lnk::DryerStatus s;
  lnk::TakeStatusSnapshot(s);
  for (int i = 0; i < kSpeedCount; ++i)
    if (work.tenths[i] != s.b[kSpeeds[i].statusByte]) lnk::RequestByte(kSpeeds[i].statusByte, work.tenths[i], kSpeeds[i].row);
}

bool OnCommand(plat::Hwnd dialog, int id) {
  VoltageWork& work = WorkOf(dialog);
  switch (id) {
    case kVoltageIncrease: Step(work, +1); break;
    case kVoltageDecrease: Step(work, -1); break;
    case kVoltageHighRadio: work.selected = 0; break;
    case kVoltageMediumRadio: work.selected = 1; break;
    case kVoltageLowRadio: work.selected = 2; break;
    case kVoltageHelp: ShowHelpFile(dialog, kHelpFile, i18n::kStringVoltageHelpCaption); break;
    case kVoltageAccept:
      Accept(work);
      plat::EndDialog(dialog, kVoltageAccept);
      return true;
    case kVoltageCancel:
      plat::EndDialog(dialog, kVoltageCancel);
      return true;
    default: return false;
  }
  Refresh(dialog);
  return true;
}

bool MeterRollVoltageProc(plat::Hwnd dialog, plat::Msg msg, plat::WParam w, plat::LParam l) {
  switch (msg) {
    case plat::Msg::InitDialog:
      Open(dialog, *reinterpret_cast<VoltageWork*>(l));
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

int OpenMeterRollVoltageDialog(plat::Hwnd parent) {
  VoltageWork work{};
  return plat::DialogBox(parent, kTemplate, MeterRollVoltageProc, reinterpret_cast<plat::LParam>(&work));
}

}  // namespace dialogs
