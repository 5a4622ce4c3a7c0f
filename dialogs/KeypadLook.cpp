#include "dialogs/KeypadLook.h"

#include "dialogs/DialogText.h"
#include "i18n/Language.h"
#include "platform/Font.h"

namespace dialogs {

namespace {
constexpr int kValueFontHeight = 60;
}

void ApplyKeypadLabels(plat::Hwnd dialog, const KeypadLabel* labels, int count) {
  // A missing text keeps the English resource text.
  for (int i = 0; i < count; ++i) SetStringIfPresent(dialog, labels[i].control, labels[i].textId);
}

void DrawKeypadValue(plat::Canvas& canvas, const plat::Rect& place, const char* text) {
  canvas.SetFont(plat::CreateFont(plat::kFaceTahoma, kValueFontHeight, plat::FontWeight::Bold));
  canvas.SetTextColor(kKeypadValueColour);
  canvas.SetBackgroundColor(plat::Rgb(0, 0, 0));
  canvas.SetBackgroundMode(plat::BackgroundMode::Opaque);
  canvas.FillRect(place, plat::Rgb(0, 0, 0));
  canvas.DrawText(place, text, plat::TextFlag::Right | plat::TextFlag::VCenter | plat::TextFlag::SingleLine);
  canvas.SetBackgroundMode(plat::BackgroundMode::Transparent);
}

int DigitOfControl(const int (&digitIds)[10], int control) {
  for (int d = 0; d < 10; ++d)
    if (digitIds[d] == control) return d;
  return -1;
}

}  // namespace dialogs
