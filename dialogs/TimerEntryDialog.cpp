#include "dialogs/TimerEntryDialog.h"

#include "dialogs/KeypadLook.h"
#include "platform/Dialog.h"
#include "platform/Font.h"
#include "platform/MessageBox.h"
#include "i18n/Language.h"
#include "i18n/StringIds.h"

namespace dialogs {

namespace {

constexpr int kKeyWidth = 84;
constexpr int kKeyHeight = 52;
constexpr int kKeyGap = 6;
constexpr plat::Point kMinutesPad = {20, 125};
constexpr plat::Point kSecondsPad = {330, 125};
constexpr int kInfoX = 410;
constexpr int kInfoTop[3] = {50, 65, 80};
constexpr int kInfoFontHeight = 15;

constexpr plat::DialogControl Digit(plat::Point pad, int digit, int id) {
  return plat::DialogControl{.kind = plat::ControlKind::PushButton,
                             .id = id,
                             .rect = DigitKeyRect(pad, digit, kKeyWidth, kKeyHeight, kKeyGap),
                             .text = kDigitTexts[digit],
                             .style = plat::ControlStyle::Center};
}
constexpr plat::DialogControl Button(int id, plat::Rect r, const char* text) {
  return plat::DialogControl{.kind = plat::ControlKind::PushButton, .id = id, .rect = r, .text = text,
                             .style = plat::ControlStyle::Center};
}
// DELETE sits beside the 0 key, two keys wide.
constexpr plat::Rect DeleteRect(plat::Point pad) {
  return plat::RectXywh(pad.x + kKeyWidth + kKeyGap, pad.y + 3 * (kKeyHeight + kKeyGap),
                        2 * kKeyWidth + kKeyGap, kKeyHeight);
}

constexpr plat::DialogControl kControls[] = {
    Digit(kMinutesPad, 0, kTimerMinutesDigits[0]), Digit(kMinutesPad, 1, kTimerMinutesDigits[1]),
    Digit(kMinutesPad, 2, kTimerMinutesDigits[2]), Digit(kMinutesPad, 3, kTimerMinutesDigits[3]),
    Digit(kMinutesPad, 4, kTimerMinutesDigits[4]), Digit(kMinutesPad, 5, kTimerMinutesDigits[5]),
    Digit(kMinutesPad, 6, kTimerMinutesDigits[6]), Digit(kMinutesPad, 7, kTimerMinutesDigits[7]),
    Digit(kMinutesPad, 8, kTimerMinutesDigits[8]), Digit(kMinutesPad, 9, kTimerMinutesDigits[9]),
    Button(kTimerMinutesDelete, DeleteRect(kMinutesPad), "DELETE"),
    Digit(kSecondsPad, 0, kTimerSecondsDigits[0]), Digit(kSecondsPad, 1, kTimerSecondsDigits[1]),
    Digit(kSecondsPad, 2, kTimerSecondsDigits[2]), Digit(kSecondsPad, 3, kTimerSecondsDigits[3]),
    Digit(kSecondsPad, 4, kTimerSecondsDigits[4]), Digit(kSecondsPad, 5, kTimerSecondsDigits[5]),
    Digit(kSecondsPad, 6, kTimerSecondsDigits[6]), Digit(kSecondsPad, 7, kTimerSecondsDigits[7]),
    Digit(kSecondsPad, 8, kTimerSecondsDigits[8]), Digit(kSecondsPad, 9, kTimerSecondsDigits[9]),
    Button(kTimerSecondsDelete, DeleteRect(kSecondsPad), "DELETE"),
    Button(kTimerDefault, plat::RectXywh(20, 370, 180, 55), "DEFAULT"),
    Button(kTimerAccept, plat::RectXywh(220, 370, 180, 55), "ACCEPT"),
    Button(kTimerCancel, plat::RectXywh(420, 370, 180, 55), "CANCEL"),
};

constexpr plat::DialogTemplate kTemplate{
    .id = kTimerEntryDialogId,
    .caption = "MODIFYING TIMER SETPOINT - 21",
    .rect = plat::RectXywh(0, 0, 620, 460),
    .controls = kControls,
    .count = static_cast<int>(sizeof kControls / sizeof kControls[0]),
};

constexpr uint16_t kStringCaption = 355;

constexpr KeypadLabel kLabels[] = {
    {0, kStringCaption},
    {kTimerMinutesDelete, i18n::kStringDelete},
    {kTimerSecondsDelete, i18n::kStringDelete},
    {kTimerDefault, i18n::kStringDefault},
    {kTimerAccept, i18n::kStringAccept},
    {kTimerCancel, i18n::kStringCancel},
};

TimerEntryRequest& RequestOf(plat::Hwnd dialog) {
  return *static_cast<TimerEntryRequest*>(plat::GetWindowData(dialog));
}

void Paint(const TimerEntryRequest& r, plat::Canvas& c) {
  c.SetFont(plat::CreateFont(plat::kFaceTahoma, kInfoFontHeight, plat::FontWeight::Normal));
  c.SetTextColor(plat::Rgb(0, 0, 0));
  for (int i = 0; i < 3; ++i) {
    char16_t label[i18n::kStringDestUnits] = {};
    i18n::GetString(kTimerInfoLabelIds[i], label);
    char16_t line[i18n::kStringDestUnits + 24];
    size_t n = FormatTimerInfoLine(r, static_cast<TimerInfoLine>(i), label, line,
                                   sizeof line / sizeof line[0]);
    const plat::Rect place{kInfoX, kInfoTop[i], kInfoX + 205, kInfoTop[i] + kInfoFontHeight};
    c.FillRect(place, plat::kDialogBackground);
    c.DrawText(place, line, n, plat::TextFlag::SingleLine);
  }
  char value[24];
  FormatTimerEntryValue(value, sizeof value, r);
  DrawKeypadValue(c, kKeypadValuePlace, value);
}

void Accept(plat::Hwnd dialog) {
  if (AcceptTimerEntry(RequestOf(dialog)) == EntryResult::Accepted) {
    plat::EndDialog(dialog, kEntryAccepted);
    return;
  }
  plat::MessageBox(dialog, kOutOfRangeText, kOutOfRangeCaption, plat::MbButtons::Ok,
                   plat::MbIcon::Exclamation);
  plat::EndDialog(dialog, kEntryRefused);
}

bool OnCommand(plat::Hwnd dialog, int id) {
  TimerEntryRequest& r = RequestOf(dialog);
  int digit = DigitOfControl(kTimerMinutesDigits, id);
  if (digit >= 0) {
    TimerMinutesKey(r, digit);
  } else if ((digit = DigitOfControl(kTimerSecondsDigits, id)) >= 0) {
    TimerSecondsKey(r, digit);
  } else {
    switch (id) {
      case kTimerMinutesDelete: TimerMinutesKey(r, kKeyDelete); break;
      case kTimerSecondsDelete: TimerSecondsKey(r, kKeyDelete); break;
      case kTimerDefault: TimerDefault(r); break;
      case kTimerAccept: Accept(dialog); return true;
      case kTimerCancel: plat::EndDialog(dialog, kEntryCancelled); return true;
      default: return false;
    }
  }
  plat::InvalidateRect(dialog, &kKeypadValuePlace, false);
  return true;
}

bool TimerEntryProc(plat::Hwnd dialog, plat::Msg msg, plat::WParam w, plat::LParam l) {
  switch (msg) {
    case plat::Msg::InitDialog:
      plat::SetWindowData(dialog, reinterpret_cast<void*>(l));
      plat::CenterOverParent(dialog);
      ApplyKeypadLabels(dialog, kLabels, static_cast<int>(sizeof kLabels / sizeof kLabels[0]));
      return true;
    case plat::Msg::Paint:
      Paint(RequestOf(dialog), *plat::PaintFrom(l).canvas);
      return false;
    case plat::Msg::Command:
      return OnCommand(dialog, plat::CommandId(w));
    default:
      return false;
  }
}

}  // namespace

int OpenTimerEntryDialog(plat::Hwnd parent, TimerEntryRequest& req) {
  int result = plat::DialogBox(parent, kTemplate, TimerEntryProc, reinterpret_cast<plat::LParam>(&req));
  return result < 0 ? kEntryCancelled : result;
}

}  // namespace dialogs
