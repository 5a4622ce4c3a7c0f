#pragma once
// UNLOAD_STATUS_WINDOW without the window: the unload figure, the bushel lines and the three
// meter-roll speed lines with the one in use highlighted.
#include <cstddef>
#include <cstdint>

#include "platform/Canvas.h"

namespace lnk {
struct DryerStatus;
}

namespace screens {

enum UnloadCommand : int {
  kUnloadCommandBushels = 36871,
  kUnloadCommandSpeed = 36883,
};

// The two owner-drawn buttons of the panel; touching the bushel button does nothing.
struct UnloadButton {
  const char* text;
  int command;
  plat::Rect place;
};
inline constexpr UnloadButton kUnloadButtons[2] = {
    {"UNLOAD_STATUS_SELECT_BUTTON", kUnloadCommandBushels, plat::RectXywh(2, 72, 236, 76)},
    {"UNLOAD_MR_SPEED_SELECT_BUTTON", kUnloadCommandSpeed, plat::RectXywh(132, 0, 108, 70)},
};

inline constexpr plat::Color kUnloadTextColour = plat::Rgb(115, 185, 185);
inline constexpr plat::Color kUnloadHighlightBack = plat::Rgb(215, 185, 185);

// Tenths of the unload figure as "%2d.%d": 5 is " 0.5", 123 is "12.3".
void FormatUnloadFigure(char* out, size_t size, int tenths);
int UnloadFigureTenths(const lnk::DryerStatus& s);
int BushelsPerHour(const lnk::DryerStatus& s);
// The bushel counter counts bushel-seconds; only whole bushels are shown.
uint32_t TotalBushels(const lnk::DryerStatus& s);

enum class MeterRollSpeed : uint8_t { Low = 0, Medium = 1, High = 2 };

struct SpeedLine {
  char text[16];     // " HIGH: %04d " of the setting times 10
  bool highlighted;  // the speed in use: black on kUnloadHighlightBack
  plat::Rect place;  // within the speed button
};
// Lines in drawing order: HIGH, MED, LOW. A speed byte other than 0, 1, 2 highlights none.
void MakeSpeedLines(const lnk::DryerStatus& s, SpeedLine (&lines)[3]);

}  // namespace screens
