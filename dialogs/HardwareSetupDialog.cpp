#include "dialogs/HardwareSetupDialog.h"

#include "dialogs/DialogText.h"
#include "dialogs/HardwareSetupLogic.h"
#include "dialogs/SensorSelectDialog.h"
#include "i18n/Language.h"
#include "i18n/StringIds.h"
#include "link/DryerStatus.h"
#include "platform/Dialog.h"
#include "platform/MessageBox.h"

using lnk::DryerStatus;
using lnk::TakeStatusSnapshot;
using lnk::kDryerLengthCount;
using lnk::kFuelCodeCount;
using lnk::kLoadSystemCodeCount;

namespace dialogs {
namespace {

using plat::ControlKind;
using plat::DialogControl;
using plat::RectXywh;
namespace Style = plat::ControlStyle;

constexpr int kRadioHeight = 24;
constexpr int kRadioStep = 26;
constexpr int kFirstRadioY = 26;  // below the group's title
constexpr int kButtonHeight = 56;

// Three columns of groups above one row of buttons.
constexpr int kColumnX[3] = {6, 212, 418};
constexpr int kColumnWidth[3] = {200, 200, 216};
constexpr int kUpperY = 4;
constexpr int kMiddleY = 166;
constexpr int kLowerY = 278;
constexpr int kButtonRowY = 384;

constexpr DialogControl Group(int id, int column, int y, int height, const char* text) {
  return {.kind = ControlKind::GroupBox, .id = id, .rect = RectXywh(kColumnX[column], y, kColumnWidth[column], height),
          .text = text};
}
// Radio i of a group at (column, y); the length group has two columns of eight.
constexpr DialogControl Radio(int id, int column, int groupY, int i, const char* text, uint32_t extra = 0) {
  const int x = kColumnX[column] + 10 + (i / 8) * 82;
  const int y = groupY + kFirstRadioY + (i % 8) * kRadioStep;
  return {.kind = ControlKind::RadioButton, .id = id, .rect = RectXywh(x, y, column == 2 ? 80 : 104, kRadioHeight),
          .text = text, .style = Style::NoAuto | (i == 0 ? Style::Group : 0u) | extra};
}
constexpr DialogControl Select(int id, int column, int groupY, int rows) {
  return {.kind = ControlKind::PushButton, .id = id,
          .rect = RectXywh(kColumnX[column] + 112, groupY + kFirstRadioY + (rows - 1) * kRadioStep / 2 - 16, 82, 48),
          .text = "SELECT", .style = Style::Center};
}
constexpr DialogControl Button(int id, int i, const char* text) {
  return {.kind = ControlKind::PushButton, .id = id, .rect = RectXywh(6 + i * 158, kButtonRowY, 152, kButtonHeight),
          .text = text, .style = Style::Center};
}

constexpr DialogControl kControls[] = {
    Group(kHwFanGroup, 0, kUpperY, 158, "Number of Fan/Heater Units"),
    Radio(kHwFanRadios[0], 0, kUpperY, 0, "1"),
    Radio(kHwFanRadios[1], 0, kUpperY, 1, "2"),
    Radio(kHwFanRadios[2], 0, kUpperY, 2, "3"),
    Radio(kHwFanRadios[3], 0, kUpperY, 3, "4"),
    Radio(kHwFanRadios[4], 0, kUpperY, 4, "6"),
    Select(kHwFanSelect, 0, kUpperY, 5),
    Group(kHwModuleGroup, 0, kMiddleY, 106, "Number of Modules"),
    Radio(kHwModuleRadios[0], 0, kMiddleY, 0, "1"),
    Radio(kHwModuleRadios[1], 0, kMiddleY, 1, "2"),
    Radio(kHwModuleRadios[2], 0, kMiddleY, 2, "3"),
    Select(kHwModuleSelect, 0, kMiddleY, 3),
    Group(kHwRollGroup, 0, kLowerY, 82, "Meter Roll Size"),
    Radio(kHwRollFourInch, 0, kLowerY, 0, "4 inch", Style::Disabled),
    Radio(kHwRollSevenInch, 0, kLowerY, 1, "7 inch", Style::Disabled),
    Group(kHwFuelGroup, 1, kUpperY, 158, "Fuel"),
    Radio(kHwFuelRadios[0], 1, kUpperY, 0, "LP"),
    Radio(kHwFuelRadios[1], 1, kUpperY, 1, "Natural Gas"),
    Radio(kHwFuelRadios[2], 1, kUpperY, 2, "Vapor"),
    Radio(kHwFuelRadios[3], 1, kUpperY, 3, "Diesel"),
    Select(kHwFuelSelect, 1, kUpperY, 4),
    Group(kHwLoadGroup, 1, kMiddleY, 106, "Load System"),
    Radio(kHwLoadRadios[0], 1, kMiddleY, 0, "End Fill"),
    Radio(kHwLoadRadios[1], 1, kMiddleY, 1, "Center Fill"),
    Radio(kHwLoadRadios[2], 1, kMiddleY, 2, "Dual Fill"),
    Select(kHwLoadSelect, 1, kMiddleY, 3),
    Group(kHwLengthGroup, 2, kUpperY, 350, "Dryer Length (ft)"),
    Radio(kHwLengthRadios[0], 2, kUpperY, 0, "8 ft"),
    Radio(kHwLengthRadios[1], 2, kUpperY, 1, "10 ft"),
    Radio(kHwLengthRadios[2], 2, kUpperY, 2, "12 ft"),
    Radio(kHwLengthRadios[3], 2, kUpperY, 3, "14 ft"),
    Radio(kHwLengthRadios[4], 2, kUpperY, 4, "16 ft"),
    Radio(kHwLengthRadios[5], 2, kUpperY, 5, "18 ft"),
    Radio(kHwLengthRadios[6], 2, kUpperY, 6, "20 ft"),
    Radio(kHwLengthRadios[7], 2, kUpperY, 7, "22 ft"),
    Radio(kHwLengthRadios[8], 2, kUpperY, 8, "24 ft"),
    Radio(kHwLengthRadios[9], 2, kUpperY, 9, "26 ft"),
    Radio(kHwLengthRadios[10], 2, kUpperY, 10, "28 ft"),
    Radio(kHwLengthRadios[11], 2, kUpperY, 11, "34 ft"),
    Radio(kHwLengthRadios[12], 2, kUpperY, 12, "36 ft"),
    Radio(kHwLengthRadios[13], 2, kUpperY, 13, "38 ft"),
    Radio(kHwLengthRadios[14], 2, kUpperY, 14, "40 ft"),
    {.kind = ControlKind::PushButton, .id = kHwLengthSelect, .rect = RectXywh(kColumnX[2] + 10, 260, 196, 56),
     .text = "SELECT", .style = Style::Center},
    Button(kHwGrainPresent, 0, "GRAIN PRESENT: OFF"),
    Button(kHwCycledSampler, 1, "CYCLED SAMPLER: OFF"),
    Button(kHwSensorSetup, 2, "SENSOR SETUP"),
    {.kind = ControlKind::PushButton, .id = kHwAccept, .rect = RectXywh(480, kButtonRowY, 154, kButtonHeight),
     .text = "ACCEPT / EXIT", .style = Style::Center},
};

constexpr plat::DialogTemplate kTemplate{
    .id = kHardwareSetupDialogId,
    .caption = "DRYER HARDWARE SETUP - 05 ",
    .rect = RectXywh(0, 0, 640, 480),
    .controls = kControls,
    .count = static_cast<int>(sizeof kControls / sizeof kControls[0]),
};

// Controls hidden on a single-series dryer.
constexpr int kNotOnSeries[] = {kHwModuleGroup, kHwModuleRadios[0], kHwModuleRadios[1], kHwModuleRadios[2],
                                kHwModuleSelect, kHwLoadGroup,      kHwLoadRadios[0],   kHwLoadRadios[1],
                                kHwLoadRadios[2], kHwLoadSelect,    kHwRollGroup,       kHwRollFourInch,
                                kHwRollSevenInch};

HardwareSetup& SetupOf(plat::Hwnd dialog) { return *static_cast<HardwareSetup*>(plat::GetWindowData(dialog)); }

bool AskCycledSampler(plat::Hwnd owner) {
  char16_t text[i18n::kStringDestUnits] = {};
  char16_t caption[i18n::kStringDestUnits] = {};
  i18n::GetString(i18n::kStringCycledConfirmText, text);
  i18n::GetString(i18n::kStringCycledConfirmCaption, caption);
  return plat::MessageBox(owner, text, caption, plat::MbButtons::YesNo, plat::MbIcon::Question) == plat::IdYes;
}

template <int N>
void CheckOne(plat::Hwnd dialog, const int (&radios)[N], int value) {
  for (int i = 0; i < N; ++i) plat::CheckDlgButton(dialog, radios[i], i == value);
}

// The texts and groups of the layout, set once on opening and after a language change.
void Layout(plat::Hwnd dialog, const HardwareSetup& h) {
  SetString(dialog, 0, i18n::kStringHardwareCaption);
  SetString(dialog, kHwFanGroup, h.series ? i18n::kStringSeriesFanGroup : i18n::kStringHwFanGroup);
  SetString(dialog, kHwModuleGroup, i18n::kStringHwModuleGroup);
  SetString(dialog, kHwFuelGroup, i18n::kStringHwFuelGroup);
  SetString(dialog, kHwLoadGroup, i18n::kStringHwLoadGroup);
  SetString(dialog, kHwLengthGroup, h.series ? i18n::kStringSeriesModelGroup : i18n::kStringHwLengthGroup);
  SetString(dialog, kHwRollGroup, i18n::kStringHwRollGroup);
  SetString(dialog, kHwRollFourInch, i18n::kStringRollFourInch);
  SetString(dialog, kHwRollSevenInch, i18n::kStringRollSevenInch);
  for (int id : {kHwFanSelect, kHwModuleSelect, kHwFuelSelect, kHwLoadSelect, kHwLengthSelect})
    SetString(dialog, id, i18n::kStringSelect);
  for (int c = 0; c < kFuelCodeCount; ++c) SetString(dialog, kHwFuelRadios[c], i18n::kStringFuel1 + c);
  for (int c = 0; c < kLoadSystemCodeCount; ++c) SetString(dialog, kHwLoadRadios[c], i18n::kStringLoadSystem1 + c);
  SetString(dialog, kHwSensorSetup, i18n::kStringSensorSetup);
  SetString(dialog, kHwAccept, i18n::kStringAcceptExit);
  if (h.series) {
    for (int i = 0; i < kDryerLengthCount; ++i) {
      if (i < kSeriesModelCount)
        plat::SetDlgItemText(dialog, kHwLengthRadios[i], kSeriesModelNames[i]);
      else
        SetString(dialog, kHwLengthRadios[i], i18n::kStringNotAvailable);
    }
    for (int id : kNotOnSeries) plat::ShowDlgItem(dialog, id, false);
  }
}

// Run after every change of the working description.
void ShowSetup(plat::Hwnd dialog) {
  const HardwareSetup& h = SetupOf(dialog);
  CheckOne(dialog, kHwFanRadios, h.fanHeaters);
  CheckOne(dialog, kHwModuleRadios, h.modules);
  CheckOne(dialog, kHwFuelRadios, h.fuel);
  CheckOne(dialog, kHwLoadRadios, h.loadSystem);
  CheckOne(dialog, kHwLengthRadios, h.length);
  plat::CheckDlgButton(dialog, kHwRollFourInch, h.fourInchRolls);
  plat::CheckDlgButton(dialog, kHwRollSevenInch, !h.fourInchRolls);
  plat::ShowDlgItem(dialog, kHwGrainPresent, GrainPresentOffered(h));
  SetString(dialog, kHwGrainPresent, h.grainPresent ? i18n::kStringGrainPresentOn : i18n::kStringGrainPresentOff);
  SetString(dialog, kHwCycledSampler, h.cycledSampler ? i18n::kStringCycledSamplerOn : i18n::kStringCycledSamplerOff);
}

bool OnCommand(plat::Hwnd dialog, int id) {
  HardwareSetup& h = SetupOf(dialog);
  switch (id) {
    case kHwFanSelect: SelectNext(h, HardwareGroup::FanHeaters); break;
    case kHwModuleSelect: SelectNext(h, HardwareGroup::Modules); break;
    case kHwFuelSelect: SelectNext(h, HardwareGroup::Fuel); break;
    case kHwLoadSelect: SelectNext(h, HardwareGroup::LoadSystem); break;
    case kHwLengthSelect: SelectNext(h, HardwareGroup::Length); break;
    case kHwGrainPresent: h.grainPresent = !h.grainPresent; break;
    case kHwCycledSampler:
      if (h.cycledSampler)
        h.cycledSampler = false;
      else
        h.cycledSampler = AskCycledSampler(dialog);
      break;
    case kHwSensorSetup:
      OpenSensorSelectDialog(dialog);
      return true;
    case kHwAccept:
      AcceptHardwareSetup(h);
      plat::EndDialog(dialog, id);
      return true;
    default:
      return false;
  }
  ShowSetup(dialog);
  return true;
}

bool Proc(plat::Hwnd dialog, plat::Msg msg, plat::WParam w, plat::LParam l) {
  switch (msg) {
    case plat::Msg::InitDialog: {
      plat::SetWindowData(dialog, reinterpret_cast<void*>(l));
      DryerStatus s;
      TakeStatusSnapshot(s);
      SetupOf(dialog) = OpenHardwareSetup(s);
      plat::CenterOverParent(dialog);
      Layout(dialog, SetupOf(dialog));
      ShowSetup(dialog);
      return true;
    }
    case plat::Msg::Command:
      return OnCommand(dialog, plat::CommandId(w));
    case plat::Msg::Close:
      // ACCEPT / EXIT is the only way out, so closing sends what was changed.
      return OnCommand(dialog, kHwAccept);
    default:
      return false;
  }
}

}  // namespace


void OpenHardwareSetupDialog(plat::Hwnd parent) {
  HardwareSetup setup{};
  plat::DialogBox(parent, kTemplate, Proc, reinterpret_cast<plat::LParam>(&setup));
}

}  // namespace dialogs
