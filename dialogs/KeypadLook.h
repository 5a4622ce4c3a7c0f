#pragma once
// What the three keypad dialogs share: the large blue value on black, the labels taken from the
// string table when the dialog opens, and the digit keys laid out as a telephone-style block.
#include <cstdint>

#include "platform/Dialog.h"

namespace dialogs {

inline constexpr plat::Rect kKeypadValuePlace = {150, 40, 398, 110};
inline constexpr plat::Color kKeypadValueColour = plat::Rgb(50, 0, 250);

struct KeypadLabel {
  int control;  // 0: the dialog's caption
  uint16_t textId;
};

// Sets each label (and the caption) to its translated text.
void ApplyKeypadLabels(plat::Hwnd dialog, const KeypadLabel* labels, int count);
// The working value, right-aligned in the large font, blue on black.
void DrawKeypadValue(plat::Canvas& canvas, const plat::Rect& place, const char* text);
// The digit whose key has `control`, -1 when it is none of the ten.
int DigitOfControl(const int (&digitIds)[10], int control);

// A digit key of a 3 x 4 block at `origin`: 7 8 9 / 4 5 6 / 1 2 3 / 0 over one column.
constexpr plat::Rect DigitKeyRect(plat::Point origin, int digit, int width, int height, int gap) {
  int column = digit == 0 ? 0 : (digit - 1) % 3;
  int row = digit == 0 ? 3 : 2 - (digit - 1) / 3;
  return plat::RectXywh(origin.x + column * (width + gap), origin.y + row * (height + gap), width,
                        height);
}
inline constexpr const char* kDigitTexts[10] = {"0", "1", "2", "3", "4", "5", "6", "7", "8", "9"};

}  // namespace dialogs
