#pragma once
// CUSTOM_VIEW_WINDOW without the window: the layout for the number of plenums, the place and
// texts of each plenum, and its one-line state.
#include <cstddef>
#include <cstdint>

#include "platform/Canvas.h"

namespace lnk {
struct DryerStatus;
}

// String ids of the plenum view.
enum PlenumViewText : uint16_t {
  kPlenumTextPlenumSlot5 = 326,  // unit 2
  kPlenumTextPlenumSlot6 = 327,  // unit 1
  kPlenumTextBurnerOn = 314,
  kPlenumTextBurnerFault = 315,
  kPlenumTextUnitBit5 = 316,
  kPlenumTextUnitBit4 = 317,
  kPlenumTextRunBit1Clear = 319,
  kPlenumTextRunBit2Clear = 320,
  kPlenumTextOtherwise = 321,
};

inline constexpr uint16_t kPlenumViewCaptionId = 328;
inline constexpr int kMaxPlenums = 6;

// One plenum of a layout. Slots count as the controller does: a dryer uses the highest slots,
// so slot 6 is the first plenum.
struct PlenumPlace {
  int slot;  // 1..6
  uint16_t labelId;
  plat::Rect label;
  plat::Rect setpoint;
  plat::Rect state;
  plat::Rect temperature;
  int labelFont;  // text heights
  int setpointFont;
  int temperatureFont;
};

struct PlenumLayout {
  int count;
  PlenumPlace plenums[kMaxPlenums];
};

// The single-plenum layout when byte 225 bit 5 is set, otherwise the one numbered by byte 3;
// nullptr (nothing drawn) for a byte 3 outside 0..4.
const PlenumLayout* ChoosePlenumLayout(const lnk::DryerStatus& s);

struct PlenumState {
  uint16_t textId;
  plat::Color colour;
};
PlenumState ChoosePlenumState(const lnk::DryerStatus& s, int slot);

int PlenumSetpointF(const lnk::DryerStatus& s, int slot);
int PlenumTemperatureF(const lnk::DryerStatus& s, int slot);
// "SP:  %d %cF " and "%d%cF", converted and with C when `celsius`.
void FormatPlenumSetpoint(char* out, size_t size, int fahrenheit, bool celsius);
void FormatPlenumTemperature(char* out, size_t size, int fahrenheit, bool celsius);
