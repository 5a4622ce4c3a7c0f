#include "screens/PlenumViewLogic.h"

#include <cstdio>

#include "link/Temperature.h"
#include "i18n/StringIds.h"
#include "screens/StatusReading.h"

namespace {

// Plenums are named by unit number, not by place: the dryer picture draws unit 1 at the top of
// the tower, while this view puts its slot (6) at the bottom, below unit 2.

constexpr plat::Color kUnitStateColour = plat::Rgb(200, 100, 0);

constexpr int kBigLabelFont = 14;
constexpr int kBigSetpointFont = 30;
constexpr int kBigTemperatureFont = 80;

constexpr PlenumLayout kOnePlenum = {
    .count = 1,
    .plenums = {{.slot = 6,
                 .labelId = kPlenumTextPlenumSlot6,
                 .label = {0, 20, 150, 40},
                 .setpoint = {0, 50, 150, 90},
                 .state = {0, 100, 150, 120},
                 .temperature = {150, 0, 400, 145},
                 .labelFont = kBigLabelFont,
                 .setpointFont = kBigSetpointFont,
                 .temperatureFont = kBigTemperatureFont}},
};

constexpr PlenumLayout kTwoPlenums = {
    .count = 2,
    .plenums = {{.slot = 5,
                 .labelId = kPlenumTextPlenumSlot5,
                 .label = {0, 0, 150, 20},
                 .setpoint = {0, 15, 150, 55},
                 .state = {0, 53, 150, 70},
                 .temperature = {150, 0, 400, 70},
                 .labelFont = kBigLabelFont,
                 .setpointFont = kBigSetpointFont,
                 .temperatureFont = kBigTemperatureFont},
                {.slot = 6,
                 .labelId = kPlenumTextPlenumSlot6,
                 .label = {0, 75, 150, 95},
                 .setpoint = {0, 90, 150, 130},
                 .state = {0, 125, 150, 140},
                 .temperature = {150, 70, 400, 145},
                 .labelFont = kBigLabelFont,
                 .setpointFont = kBigSetpointFont,
                 .temperatureFont = kBigTemperatureFont}},
};

// Three or more plenums share the 400 x 145 area as a grid of cells, each with its label on
// top, the temperature below it, then the setpoint and the state line.
constexpr PlenumPlace Cell(int plenum, int column, int row, int width, int height) {
  int x = column * width;
  int y = row * height;
  bool tall = height > 100;
  // A short cell leaves 16 pixels for the state line.
  int labelH = tall ? 20 : 14;
  int tempH = tall ? 70 : 26;
  int setH = tall ? 30 : 16;
  return PlenumPlace{
      .slot = kMaxPlenums + 1 - plenum,
      .labelId = static_cast<uint16_t>(i18n::kStringPlenum1 + 1 - plenum),
      .label = {x, y, x + width, y + labelH},
      .setpoint = {x, y + labelH + tempH, x + width, y + labelH + tempH + setH},
      .state = {x, y + labelH + tempH + setH, x + width, y + height},
      .temperature = {x, y + labelH, x + width, y + labelH + tempH},
      .labelFont = kBigLabelFont,
      // Sized so that a three-digit figure with its unit ("250°F") fits a 133-pixel cell.
      .setpointFont = tall ? 20 : 14,
      .temperatureFont = tall ? 40 : 26,
  };
}

constexpr PlenumLayout kThreePlenums = {
    .count = 3,
    .plenums = {Cell(1, 0, 0, 133, 145), Cell(2, 1, 0, 133, 145), Cell(3, 2, 0, 133, 145)},
};
constexpr PlenumLayout kFourPlenums = {
    .count = 4,
    .plenums = {Cell(1, 0, 1, 200, 72), Cell(2, 1, 1, 200, 72), Cell(3, 0, 0, 200, 72),
                Cell(4, 1, 0, 200, 72)},
};
constexpr PlenumLayout kSixPlenums = {
    .count = 6,
    .plenums = {Cell(1, 0, 1, 133, 72), Cell(2, 1, 1, 133, 72), Cell(3, 2, 1, 133, 72),
                Cell(4, 0, 0, 133, 72), Cell(5, 1, 0, 133, 72), Cell(6, 2, 0, 133, 72)},
};

constexpr const PlenumLayout* kLayouts[] = {&kOnePlenum, &kTwoPlenums, &kThreePlenums,
                                            &kFourPlenums, &kSixPlenums};
constexpr int kLayoutCount = sizeof kLayouts / sizeof kLayouts[0];
static_assert([] {
  for (int code = 0; code < 256; ++code) {
    const int slots = lnk::PlenumSlotsInUse(static_cast<uint8_t>(code));
    if ((code < kLayoutCount ? kLayouts[code]->count : 0) != slots) return false;
  }
  return true;
}(), "one plenum layout for each fan/heater code, with as many plenums as it has units");

constexpr uint8_t kBurnerOn = 0x01;
constexpr uint8_t kBurnerFault = 0x02;
constexpr uint8_t kUnitBit5 = 0x20;
constexpr uint8_t kUnitBit4 = 0x10;
constexpr uint8_t kRunBit1 = 0x02;
constexpr uint8_t kRunBit2 = 0x04;

bool ValidSlot(int slot) { return slot >= 1 && slot <= kMaxPlenums; }

}  // namespace

const PlenumLayout* ChoosePlenumLayout(const lnk::DryerStatus& s) {
  if (StatusHas(s, lnk::kStatusConfigBits, lnk::kConfigBitsHardwareChoice)) return kLayouts[0];
  int code = s.b[lnk::kStatusFanHeaterCount];
  return code < kLayoutCount ? kLayouts[code] : nullptr;
}

PlenumState ChoosePlenumState(const lnk::DryerStatus& s, int slot) {
  if (!ValidSlot(slot)) return {kPlenumTextOtherwise, colour::kRed};
  int burner = s.b[lnk::kStatusUnitStatusD1 + slot - 1];
  int unit = s.b[lnk::kStatusUnitStatusB1 + slot - 1];
  int run = s.b[lnk::kStatusUnitStatusA1 + slot - 1];
  if (burner & kBurnerOn) return {kPlenumTextBurnerOn, colour::kGreen};
  if (burner & kBurnerFault) return {kPlenumTextBurnerFault, colour::kRed};
  if (unit & kUnitBit5) return {kPlenumTextUnitBit5, kUnitStateColour};
  if (unit & kUnitBit4) return {kPlenumTextUnitBit4, kUnitStateColour};
  if ((run & kRunBit1) == 0) return {kPlenumTextRunBit1Clear, colour::kGreen};
  if ((run & kRunBit2) == 0) return {kPlenumTextRunBit2Clear, colour::kBlue};
  return {kPlenumTextOtherwise, colour::kRed};
}

int PlenumSetpointF(const lnk::DryerStatus& s, int slot) {
  return ValidSlot(slot) ? lnk::StatusS16LowFirst(s, lnk::kStatusPlenumSetpoint1 + 2 * (slot - 1)) : 0;
}

int PlenumTemperatureF(const lnk::DryerStatus& s, int slot) {
  return ValidSlot(slot) ? lnk::StatusS16LowFirst(s, lnk::kStatusPlenumTemp1 + 2 * (slot - 1)) : 0;
}

void FormatPlenumSetpoint(char* out, size_t size, int fahrenheit, bool celsius) {
  std::snprintf(out, size, "SP:  %d %c%c ", lnk::DisplayTemperature(fahrenheit, celsius), lnk::kDegreeSign,
                celsius ? 'C' : 'F');
}

void FormatPlenumTemperature(char* out, size_t size, int fahrenheit, bool celsius) {
  std::snprintf(out, size, "%d%c%c", lnk::DisplayTemperature(fahrenheit, celsius), lnk::kDegreeSign,
                celsius ? 'C' : 'F');
}
