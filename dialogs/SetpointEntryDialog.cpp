#include "dialogs/SetpointEntryDialog.h"

#include "dialogs/KeypadLook.h"
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

constexpr KeypadLabel kLabels[] = {
    {0, 142},
    {kSetpointDelete, 141},
    {kSetpointClear, 99},
    {kSetpointDefault, 55},
    {kSetpointAccept, 4},
    {kSetpointCancel, 10},
};
constexpr int kLabelCount = static_cast<int>(sizeof kLabels / sizeof kLabels[0]);

SetpointEntryRequest* g_request = nullptr;

void Accept(plat::Hwnd dialog) {
  if (AcceptSetpointEntry(*g_request) == EntryResult::Accepted) {
    plat::EndDialog(dialog, kEntryAccepted);
    return;
  }
  plat::MessageBox(dialog, kOutOfRangeText, kOutOfRangeCaption, plat::MbButtons::Ok,
                   plat::MbIcon::Exclamation);
  plat::EndDialog(dialog, kEntryRefused);
}

bool OnCommand(plat::Hwnd dialog, int id) {
  SetpointEntryRequest& r = *g_request;
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
      plat::CenterOverParent(dialog);
      ApplyKeypadLabels(dialog, kLabels, kLabelCount);
      return true;
    case plat::Msg::Paint: {
      ApplyKeypadLabels(dialog, kLabels, kLabelCount);
      char value[24];
      FormatSetpointEntryValue(value, sizeof value, *g_request);
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
  g_request = &req;
  int result = plat::DialogBox(parent, kTemplate, SetpointEntryProc, 0);
  return result < 0 ? kEntryCancelled : result;
}

}  // namespace dialogs
