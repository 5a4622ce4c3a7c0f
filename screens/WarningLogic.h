#pragma once
// WARNING_WINDOW and its help dialog without the windows: what the window shows, the style and
// blink of the title, the split of a long warning text, the connection-lost marker, and which
// help picture and text belong to a warning.
#include <cstddef>
#include <cstdint>

#include "dialogs/WarningHelpLogic.h"
#include "platform/Canvas.h"

namespace lnk {
struct DryerStatus;
}

// String ids of the warning window.
enum WarningText : uint16_t {
  kWarningTextTitle = 330,
  kWarningTextCallService = 331,
  kWarningTextFanNote1 = 332,
  kWarningTextFanNote2 = 333,
  kWarningTextFanNote3 = 334,
  kWarningTextFanTemperatureNote1 = 335,
  kWarningTextFanTemperatureNote2 = 336,
  kWarningTextCountdownNote = 337,
  kWarningTextTemperatureTitle = 339,
  kWarningTextCountdownTitle = 462,
  kWarningTextCaption = 329,
  kWarningTextConnectionLost = 338,
};

enum class WarningContent : uint8_t {
  ConnectionLost,  // the link is lost: only the connection-lost picture, whatever the codes
  Details,         // a node or a code is reported
  Empty,           // the grey background only
};
WarningContent ChooseWarningContent(const lnk::DryerStatus& s, uint32_t linkAliveCountdown);


inline constexpr const char* kConnectionLostCaption = " CONNECTION TO DRYER LOST!";

enum class WarningStyle : uint8_t { Temperature, Countdown, Plain };
WarningStyle ChooseWarningStyle(const lnk::DryerStatus& s);

// The title; `visible` follows bit 0 of the display-state word, so the title blinks with the
// link trigger.
struct WarningTitle {
  bool visible;
  uint16_t textId;
  bool withCountdown;  // "%s: %d:%02d" with `minutes` and `seconds`
  int minutes;
  int seconds;
  plat::Rect place;
  int fontHeight;  // weight 900
  plat::Color colour;
};
WarningTitle ChooseWarningTitle(const lnk::DryerStatus& s, bool titlePhase);
size_t FormatWarningTitle(const WarningTitle& title, const char16_t* text, char16_t* out,
                          size_t size);

// The grain temperature line of the temperature style, always in °F; 0 for an unknown source.
int WarningGrainTemperature(const lnk::DryerStatus& s);
void FormatWarningGrainTemperature(char* out, size_t size, int fahrenheit);
inline constexpr plat::Rect kWarningGrainPlace = {50, 28, 575, 50};

// The fixed lines below the warning text, in drawing order.
struct WarningNote {
  uint16_t textId;
  plat::Rect place;
  int fontHeight;
  int fontWeight;
  plat::Color colour;
};
inline constexpr int kMaxWarningNotes = 4;
int ChooseWarningNotes(const lnk::DryerStatus& s, WarningNote (&notes)[kMaxWarningNotes]);

// The warning text on one line when it is shorter than 61 characters; otherwise cut to 99 and
// split in two at the last space before its middle. `first` and `second` hold
// kWarningLineUnits units each. Returns the number of lines (1 or 2).
inline constexpr int kWarningOneLineLimit = 61;
inline constexpr int kWarningCutLength = 99;
inline constexpr size_t kWarningLineUnits = kWarningCutLength + 1;
inline constexpr plat::Rect kWarningOneLinePlace = {0, 65, 600, 80};
inline constexpr plat::Rect kWarningFirstLinePlace = {0, 60, 600, 80};
inline constexpr plat::Rect kWarningSecondLinePlace = {0, 80, 600, 105};
int SplitWarningText(const char16_t* text, char16_t* first, char16_t* second);

// ---- Connection-lost marker ----

inline constexpr int kMarkerLastPosition = 13;

struct MarkerSweep {
  int position = 0;
  bool upward = true;
};
// One step along the bar: at each end the step turns the direction and the marker stays, so
// it pauses there for one step.
void StepMarkerSweep(MarkerSweep& m);
// The marker's 6-pixel line at y 70.
plat::Point MarkerStart(const MarkerSweep& m);
plat::Point MarkerEnd(const MarkerSweep& m);

// The help dialog's picture and text rules live with the dialog.
