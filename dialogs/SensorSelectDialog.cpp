#include "dialogs/SensorSelectDialog.h"

#include <cstdint>

#include "dialogs/DialogText.h"
#include "dialogs/HardwareSetupLogic.h"
#include "i18n/StringIds.h"
#include "link/DryerStatus.h"
#include "platform/Dialog.h"

using lnk::DryerStatus;
using lnk::TakeStatusSnapshot;
using lnk::kSensorSelectionDryNetwork;
using lnk::kSensorSelectionWetNetwork;

namespace dialogs {
namespace {

using plat::ControlKind;
using plat::DialogControl;
using plat::RectXywh;
namespace Style = plat::ControlStyle;

constexpr int kStringWetSensor = 36;
constexpr int kStringDrySensor = 37;

constexpr DialogControl kControls[] = {
    {.kind = ControlKind::GroupBox, .id = kSensorWetGroup, .rect = RectXywh(10, 8, 230, 110),
     .text = "WET SENSOR (INCOMING)"},
    {.kind = ControlKind::RadioButton, .id = kSensorWetAnalog, .rect = RectXywh(22, 34, 210, 32),
     .text = "Analog (VOR Style)", .style = Style::NoAuto | Style::Group},
    {.kind = ControlKind::RadioButton, .id = kSensorWetNetwork, .rect = RectXywh(22, 74, 210, 32), .text = "Network",
     .style = Style::NoAuto},
    {.kind = ControlKind::GroupBox, .id = kSensorDryGroup, .rect = RectXywh(250, 8, 230, 110),
     .text = "DRY SENSOR (EXITING)"},
    {.kind = ControlKind::RadioButton, .id = kSensorDryAnalog, .rect = RectXywh(262, 34, 210, 32),
     .text = "Analog (VOR Style)", .style = Style::NoAuto | Style::Group},
    {.kind = ControlKind::RadioButton, .id = kSensorDryNetwork, .rect = RectXywh(262, 74, 210, 32), .text = "Network",
     .style = Style::NoAuto},
    {.kind = ControlKind::PushButton, .id = kSensorAccept, .rect = RectXywh(10, 130, 230, 50), .text = "ACCEPT",
     .style = Style::Center},
    {.kind = ControlKind::PushButton, .id = kSensorCancel, .rect = RectXywh(250, 130, 230, 50), .text = "CANCEL",
     .style = Style::Center},
};

constexpr plat::DialogTemplate kTemplate{
    .id = kSensorSelectDialogId,
    .caption = "MOISTURE SENSOR SELECTION",
    .rect = RectXywh(0, 0, 490, 218),
    .controls = kControls,
    .count = static_cast<int>(sizeof kControls / sizeof kControls[0]),
};

uint8_t& SelectionOf(plat::Hwnd dialog) { return *static_cast<uint8_t*>(plat::GetWindowData(dialog)); }

void ShowSelection(plat::Hwnd dialog) {
  const uint8_t v = SelectionOf(dialog);
  const bool wetNetwork = (v & kSensorSelectionWetNetwork) != 0;
  const bool dryNetwork = (v & kSensorSelectionDryNetwork) != 0;
  plat::CheckDlgButton(dialog, kSensorWetAnalog, !wetNetwork);
  plat::CheckDlgButton(dialog, kSensorWetNetwork, wetNetwork);
  plat::CheckDlgButton(dialog, kSensorDryAnalog, !dryNetwork);
  plat::CheckDlgButton(dialog, kSensorDryNetwork, dryNetwork);
}

void Labels(plat::Hwnd dialog) {
  SetString(dialog, 0, i18n::kStringSensorSelectCaption);
  SetString(dialog, kSensorWetGroup, kStringWetSensor);
  SetString(dialog, kSensorDryGroup, kStringDrySensor);
  for (int id : {kSensorWetAnalog, kSensorDryAnalog}) SetString(dialog, id, i18n::kStringSensorAnalog);
  for (int id : {kSensorWetNetwork, kSensorDryNetwork}) SetString(dialog, id, i18n::kStringSensorNetwork);
  SetString(dialog, kSensorAccept, i18n::kStringAccept);
  SetString(dialog, kSensorCancel, i18n::kStringCancel);
}

uint8_t WithBit(uint8_t v, uint8_t mask, bool set) {
  return static_cast<uint8_t>(set ? (v | mask) : (v & ~mask));
}

bool OnCommand(plat::Hwnd dialog, int id) {
  uint8_t& v = SelectionOf(dialog);
  switch (id) {
    case kSensorWetAnalog: v = WithBit(v, kSensorSelectionWetNetwork, false); break;
    case kSensorWetNetwork: v = WithBit(v, kSensorSelectionWetNetwork, true); break;
    case kSensorDryAnalog: v = WithBit(v, kSensorSelectionDryNetwork, false); break;
    case kSensorDryNetwork: v = WithBit(v, kSensorSelectionDryNetwork, true); break;
    case kSensorAccept:
      AcceptSensorSelection(v);
      plat::EndDialog(dialog, id);
      return true;
    case kSensorCancel:
      plat::EndDialog(dialog, id);
      return true;
    default:
      return false;
  }
  ShowSelection(dialog);
  return true;
}

bool Proc(plat::Hwnd dialog, plat::Msg msg, plat::WParam w, plat::LParam l) {
  switch (msg) {
    case plat::Msg::InitDialog: {
      plat::SetWindowData(dialog, reinterpret_cast<void*>(l));
      DryerStatus s;
      TakeStatusSnapshot(s);
      SelectionOf(dialog) = OpenSensorSelection(s);
      plat::CenterOverParent(dialog);
      Labels(dialog);
      ShowSelection(dialog);
      return true;
    }
    case plat::Msg::Command:
      return OnCommand(dialog, plat::CommandId(w));
    default:
      return false;
  }
}

}  // namespace

int OpenSensorSelectDialog(plat::Hwnd parent) {
  uint8_t selection = 0;
  return plat::DialogBox(parent, kTemplate, Proc, reinterpret_cast<plat::LParam>(&selection));
}

}  // namespace dialogs
