#include "dialogs/MoistureKeypadDialog.h"

#include "dialogs/KeypadLook.h"
#include "i18n/StringIds.h"
#include "platform/Dialog.h"

namespace dialogs {

namespace {

constexpr int kKeyWidth = 70;
constexpr int kKeyHeight = 50;
constexpr int kKeyGap = 6;
constexpr plat::Point kPad = {10, 10};

constexpr plat::DialogControl Digit(int digit) {
  return plat::DialogControl{.kind = plat::ControlKind::PushButton,
                             .id = kMoistureDigits[digit],
                             .rect = DigitKeyRect(kPad, digit, kKeyWidth, kKeyHeight, kKeyGap),
                             .text = kDigitTexts[digit],
                             .style = plat::ControlStyle::Center};
}

constexpr plat::DialogControl kControls[] = {
    Digit(0), Digit(1), Digit(2), Digit(3), Digit(4), Digit(5), Digit(6), Digit(7), Digit(8), Digit(9),
    {.kind = plat::ControlKind::PushButton,
     .id = kMoistureDelete,
     .rect = plat::RectXywh(kPad.x + kKeyWidth + kKeyGap, kPad.y + 3 * (kKeyHeight + kKeyGap),
                            2 * kKeyWidth + kKeyGap, kKeyHeight),
     .text = "DELETE",
     .style = plat::ControlStyle::Center},
    {.kind = plat::ControlKind::PushButton,
     .id = kMoistureAccept,
     .rect = plat::RectXywh(kPad.x, kPad.y + 4 * (kKeyHeight + kKeyGap), 3 * kKeyWidth + 2 * kKeyGap,
                            kKeyHeight),
     .text = "ACCEPT",
     .style = plat::ControlStyle::Center},
};

constexpr plat::DialogTemplate kTemplate{
    .id = kMoistureKeypadDialogId,
    .caption = "MODIFY SETPOINT",
    .rect = plat::RectXywh(0, 0, 246, 320),
    .controls = kControls,
    .count = static_cast<int>(sizeof kControls / sizeof kControls[0]),
};

constexpr KeypadLabel kLabels[] = {
    {0, i18n::kStringModifySetpoint}, {kMoistureDelete, i18n::kStringDelete}, {kMoistureAccept, i18n::kStringAccept}};
constexpr int kLabelCount = static_cast<int>(sizeof kLabels / sizeof kLabels[0]);

// One opening of the keypad, given to the dialog as its parameter.
struct KeypadSession {
  MoistureKeypad keypad{};
  plat::Hwnd host = plat::kNoWindow;
  bool stored = false;
};

KeypadSession& SessionOf(plat::Hwnd dialog) { return *static_cast<KeypadSession*>(plat::GetWindowData(dialog)); }

// Beside the host window rather than over it, on the side with room (the host stands right of
// the centre, so normally the left), level with the field, so the value being typed stays in
// sight.
void PlaceBesideField(plat::Hwnd dialog, plat::Hwnd hostWindow) {
  const plat::Rect me = plat::GetWindowRect(dialog);
  const plat::Rect host = plat::GetWindowRect(hostWindow);
  const plat::Rect field = plat::GetWindowRect(plat::GetDlgItem(hostWindow, kMoistureValueField));
  const int roomLeft = host.left;
  const int roomRight = plat::kScreenWidth - host.right;
  const int x = roomLeft >= me.Width() || roomLeft >= roomRight ? host.left - me.Width() : host.right;
  const int y = field.top + field.Height() / 2 - me.Height() / 2;
  plat::PlaceOnScreen(dialog, plat::RectXywh(x, y, me.Width(), me.Height()));
}

void ShowInHost(const KeypadSession& session) {
  char text[16];
  FormatMoistureKeypadValue(text, sizeof text, session.keypad.value);
  plat::SetDlgItemText(session.host, kMoistureValueField, text);
}

bool OnCommand(plat::Hwnd dialog, int id) {
  KeypadSession& session = SessionOf(dialog);
  int digit = DigitOfControl(kMoistureDigits, id);
  if (digit >= 0) {
    MoistureKey(session.keypad, digit);
  } else if (id == kMoistureDelete) {
    MoistureKey(session.keypad, kKeyDelete);
  } else if (id == kMoistureAccept) {
    session.stored = AcceptMoistureKeypad(session.keypad);
    plat::EndDialog(dialog, plat::IdOk);
    return true;
  } else {
    return false;
  }
  ShowInHost(session);
  return true;
}

bool MoistureKeypadProc(plat::Hwnd dialog, plat::Msg msg, plat::WParam w, plat::LParam l) {
  switch (msg) {
    case plat::Msg::InitDialog:
      plat::SetWindowData(dialog, reinterpret_cast<void*>(l));
      PlaceBesideField(dialog, SessionOf(dialog).host);
      ApplyKeypadLabels(dialog, kLabels, kLabelCount);
      return true;
    case plat::Msg::Command:
      return OnCommand(dialog, plat::CommandId(w));
    default:
      return false;
  }
}

}  // namespace

bool OpenMoistureKeypadDialog(plat::Hwnd host, MoistureSetpoint target) {
  KeypadSession session{.host = host};
  OpenMoistureKeypad(session.keypad, target);
  plat::DialogBox(host, kTemplate, MoistureKeypadProc, reinterpret_cast<plat::LParam>(&session));
  return session.stored;
}

}  // namespace dialogs
