#include "dialogs/SetpointEntryDialog.h"

#include "dialogs/KeypadLook.h"
#include "i18n/StringIds.h"
#include "platform/Dialog.h"
#include "platform/MessageBox.h"

namespace dialogs {

namespace {

constexpr int kKeyWidth = 84;
constexpr int kKeyHeight = 52;
constexpr int kKeyGap = 6;
constexpr plat::Point kPad = {150, 125};
constexpr int kSideX = 440;
constexpr int kSideWidth = 160;

constexpr plat::DialogControl Digit(int digit) {
  return plat::DialogControl{.kind = plat::ControlKind::PushButton,
                             .id = kSetpointDigits[digit],
                             .rect = DigitKeyRect(kPad, digit, kKeyWidth, kKeyHeight, kKeyGap),
                             .text = kDigitTexts[digit],
                             .style = plat::ControlStyle::Center};
}
constexpr plat::DialogControl Button(int id, plat::Rect r, const char* text) {
  return plat::DialogControl{.kind = plat::ControlKind::PushButton, .id = id, .rect = r, .text = text,
                             .style = plat::ControlStyle::Center};
}
constexpr plat::Rect SideRect(int row) {
  return plat::RectXywh(kSideX, kPad.y + row * (kKeyHeight + kKeyGap), kSideWidth, kKeyHeight);
}

constexpr plat::DialogControl kControls[] = {
    Digit(0), Digit(1), Digit(2), Digit(3), Digit(4), Digit(5), Digit(6), Digit(7), Digit(8), Digit(9),
    Button(kSetpointDelete,
           plat::RectXywh(kPad.x + kKeyWidth + kKeyGap, kPad.y + 3 * (kKeyHeight + kKeyGap),
                          2 * kKeyWidth + kKeyGap, kKeyHeight),
           "DELETE"),
    Button(kSetpointClear, SideRect(0), "CLEAR"),
    Button(kSetpointDefault, SideRect(1), "DEFAULT"),
    Button(kSetpointAccept, SideRect(2), "ACCEPT"),
    Button(kSetpointCancel, SideRect(3), "CANCEL"),
};

constexpr plat::DialogTemplate kTemplate{
    .id = kSetpointEntryDialogId,
    .caption = "Modifying Temperature Setpoint - 22",
    .rect = plat::RectXywh(0, 0, 620, 400),
    .controls = kControls,
    .count = static_cast<int>(sizeof kControls / sizeof kControls[0]),
};

constexpr uint16_t kStringCaption = 142;

constexpr KeypadLabel kLabels[] = {
    {0, kStringCaption},
    {kSetpointDelete, i18n::kStringDelete},
    {kSetpointClear, i18n::kStringClear},
    {kSetpointDefault, i18n::kStringDefault},
    {kSetpointAccept, i18n::kStringAccept},
    {kSetpointCancel, i18n::kStringCancel},
};
constexpr int kLabelCount = static_cast<int>(sizeof kLabels / sizeof kLabels[0]);

SetpointEntryRequest& RequestOf(plat::Hwnd dialog) {
  return *static_cast<SetpointEntryRequest*>(plat::GetWindowData(dialog));
}

void Accept(plat::Hwnd dialog) {
  if (AcceptSetpointEntry(RequestOf(dialog)) == EntryResult::Accepted) {
    plat::EndDialog(dialog, kEntryAccepted);
    return;
  }
  plat::MessageBox(dialog, kOutOfRangeText, kOutOfRangeCaption, plat::MbButtons::Ok,
                   plat::MbIcon::Exclamation);
  plat::EndDialog(dialog, kEntryRefused);
}

bool OnCommand(plat::Hwnd dialog, int id) {
  SetpointEntryRequest& r = RequestOf(dialog);
  int digit = DigitOfControl(kSetpointDigits, id);
  if (digit >= 0) {
    SetpointKey(r, digit);
  } else {
    switch (id) {
      case kSetpointDelete: SetpointKey(r, kKeyDelete); break;
      case kSetpointClear: SetpointClear(r); break;
      case kSetpointDefault: SetpointDefault(r); break;
      case kSetpointAccept: Accept(dialog); return true;
      case kSetpointCancel: plat::EndDialog(dialog, kEntryCancelled); return true;
      default: return false;
    }
  }
  plat::InvalidateRect(dialog, &kKeypadValuePlace, false);
  return true;
}

bool SetpointEntryProc(plat::Hwnd dialog, plat::Msg msg, plat::WParam w, plat::LParam l) {
  switch (msg) {
    case plat::Msg::InitDialog:
      plat::SetWindowData(dialog, reinterpret_cast<void*>(l));
      plat::CenterOverParent(dialog);
      ApplyKeypadLabels(dialog, kLabels, kLabelCount);
      return true;
    case plat::Msg::Paint: {
      char value[24];
      FormatSetpointEntryValue(value, sizeof value, RequestOf(dialog));
      DrawKeypadValue(*plat::PaintFrom(l).canvas, kKeypadValuePlace, value);
      return false;
    }
    case plat::Msg::Command:
      return OnCommand(dialog, plat::CommandId(w));
    default:
      return false;
  }
}

}  // namespace

int OpenSetpointEntryDialog(plat::Hwnd parent, SetpointEntryRequest& req) {
  int result = plat::DialogBox(parent, kTemplate, SetpointEntryProc, reinterpret_cast<plat::LParam>(&req));
  return result < 0 ? kEntryCancelled : result;
}

}  // namespace dialogs
