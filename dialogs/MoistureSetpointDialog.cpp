#include "dialogs/MoistureSetpointDialog.h"

#include "dialogs/KeypadLook.h"
#include "dialogs/MoistureKeypadDialog.h"
#include "i18n/StringIds.h"
#include "link/DryerStatus.h"
#include "platform/Dialog.h"
#include "platform/Font.h"

namespace dialogs {

namespace {

constexpr int kRightOfCentre = 200;

constexpr plat::DialogControl kControls[] = {
    {.kind = plat::ControlKind::Edit,
     .id = kMoistureValueField,
     .rect = plat::RectXywh(10, 10, 200, 60),
     .text = "",
     .style = plat::ControlStyle::Center},
    {.kind = plat::ControlKind::PushButton,
     .id = kMoistureModify,
     .rect = plat::RectXywh(10, 80, 200, 50),
     .text = "MODIFY SETPOINT",
     .style = plat::ControlStyle::Center},
    {.kind = plat::ControlKind::PushButton,
     .id = kMoistureExit,
     .rect = plat::RectXywh(10, 140, 200, 50),
     .text = "EXIT",
     .style = plat::ControlStyle::Center},
};

constexpr plat::DialogTemplate kTemplate{
    .id = kMoistureSetpointDialogId,
    .caption = "MOISTURE SETPOINT",
    .rect = plat::RectXywh(0, 0, 220, 224),
    .controls = kControls,
    .count = static_cast<int>(sizeof kControls / sizeof kControls[0]),
};

constexpr uint16_t kStringCaption = 143;
constexpr KeypadLabel kLabels[] = {
    {0, kStringCaption}, {kMoistureModify, i18n::kStringModifySetpoint}, {kMoistureExit, i18n::kStringExit}};
constexpr int kLabelCount = static_cast<int>(sizeof kLabels / sizeof kLabels[0]);

// One opening of the window, given to the dialog as its parameter.
struct SetpointSession {
  MoistureSetpoint target = MoistureSetpoint::Drying;
  bool stored = false;
};

SetpointSession& SessionOf(plat::Hwnd dialog) { return *static_cast<SetpointSession*>(plat::GetWindowData(dialog)); }

void PlaceRightOfCentre(plat::Hwnd dialog) {
  plat::CenterOverParent(dialog);
  plat::Rect r = plat::GetChildRect(dialog);
  plat::MoveWindow(dialog, r.Offset(kRightOfCentre, 0));
}

void ShowSetpoint(plat::Hwnd dialog) {
  lnk::DryerStatus s;
  lnk::TakeStatusSnapshot(s);
  char text[16];
  FormatMoistureSetpoint(text, sizeof text, MoistureSetpointFromStatus(s, SessionOf(dialog).target));
  plat::SetDlgItemText(dialog, kMoistureValueField, text);
}

bool MoistureSetpointProc(plat::Hwnd dialog, plat::Msg msg, plat::WParam w, plat::LParam l) {
  switch (msg) {
    case plat::Msg::InitDialog:
      plat::SetWindowData(dialog, reinterpret_cast<void*>(l));
      PlaceRightOfCentre(dialog);
      ApplyKeypadLabels(dialog, kLabels, kLabelCount);
      plat::SetControlFont(plat::GetDlgItem(dialog, kMoistureValueField),
                           plat::CreateFont(plat::kFaceTahoma, 40, plat::FontWeight::Bold));
      ShowSetpoint(dialog);
      return true;
    case plat::Msg::Command:
      switch (plat::CommandId(w)) {
        case kMoistureModify:
          // The keypad raises the setpoint's row itself, and only when it stored a value.
          if (OpenMoistureKeypadDialog(dialog, SessionOf(dialog).target)) SessionOf(dialog).stored = true;
          return true;
        case kMoistureExit:
          plat::EndDialog(dialog, plat::IdOk);
          return true;
        default:
          return false;
      }
    default:
      return false;
  }
}

}  // namespace

bool OpenMoistureSetpointDialog(plat::Hwnd parent, MoistureSetpoint target) {
  SetpointSession session{.target = target};
  plat::DialogBox(parent, kTemplate, MoistureSetpointProc, reinterpret_cast<plat::LParam>(&session));
  return session.stored;
}

}  // namespace dialogs
