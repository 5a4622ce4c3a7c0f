#pragma once
// What the status chart shows of the short-term log: its columns, the texts of one row, the
// logger state and the scroll position. The chart window draws these; nothing here paints.
#include <cstddef>
#include <cstdint>

#include "i18n/StringIds.h"
#include "link/Temperature.h"
#include "records/SampleRecord.h"

namespace records {

struct ChartRgb {
  uint8_t r, g, b;
};

struct ChartColumn {
  int left, right;
  ChartRgb colour;
  int headerStringId;  // first header line
  int unitStringId;    // second header line, 0 for none
};

inline constexpr ChartRgb kChartGreen{0, 255, 0};
inline constexpr ChartRgb kChartYellow{255, 255, 0};
inline constexpr ChartRgb kChartMagenta{255, 0, 255};
inline constexpr ChartRgb kChartCyan{0, 255, 255};
inline constexpr ChartRgb kChartRed{255, 0, 0};
inline constexpr ChartRgb kChartGrid{150, 150, 150};

inline constexpr int kStringMinutes = 342;
inline constexpr int kStringLoggerFull = 243;
// Column headers and their unit lines.
inline constexpr int kStringGrain = 341;
inline constexpr int kStringTemp = 265;
inline constexpr int kStringMoist = 267;
inline constexpr int kStringOut = 344;
inline constexpr int kStringIn = 345;
inline constexpr int kStringRollPercent = 346;

// The first column's second line is "%d %s" of the sample period and kStringMinutes.
inline constexpr ChartColumn kChartColumns[] = {
    {.left = 0, .right = 100, .colour = kChartGreen, .headerStringId = i18n::kStringSample, .unitStringId = 0},
    {.left = 100, .right = 150, .colour = kChartYellow, .headerStringId = kStringGrain, .unitStringId = kStringTemp},
    {.left = 150, .right = 200, .colour = kChartMagenta, .headerStringId = kStringMoist, .unitStringId = kStringIn},
    {.left = 200, .right = 250, .colour = kChartGreen, .headerStringId = kStringMoist, .unitStringId = kStringOut},
    {.left = 250, .right = 300, .colour = kChartCyan, .headerStringId = kStringTemp, .unitStringId = kStringOut},
    {.left = 300, .right = 350, .colour = kChartRed, .headerStringId = kStringRollPercent, .unitStringId = 0},
};
inline constexpr int kChartColumnCount = sizeof kChartColumns / sizeof kChartColumns[0];
inline constexpr int kChartRowTop = 40;
inline constexpr int kChartRowHeight = 16;
inline constexpr int kChartPageRows = 8;

// Latin-1 texts of one row; temperatures carry the degree sign (176).
struct ChartRowTexts {
  char time[24];       // "%2d:%02d%s %d/%d": " 1:07PM 10/4"
  char grainTemp[16];  // whole degrees
  char moistIn[16];    // "23.7%"
  char moistOut[16];
  char tempOut[16];    // whole degrees of the tenths
  char rollSpeed[16];  // "40 %"
};
void FormatChartRow(const SampleRecord& r, bool celsius, ChartRowTexts& out);

// "%s %d %s" of i18n::kStringSample, the period and kStringMinutes: the sample-time button's
// caption.
size_t FormatSampleTimeCaption(char16_t* out, size_t units, int minutes);
// "%d %s" of the period and kStringMinutes: the first column's second header line.
size_t FormatPeriodLabel(char16_t* out, size_t units, int minutes);

// "%d%cF" with the degree sign, or the Celsius value "%d%cC".
int FormatTemperature(char* out, size_t size, int fahrenheit, bool celsius);

// The logger column: i18n::kStringOn with the used percentage below it (kStringLoggerFull
// above 99 %) when the controller's logger is on, i18n::kStringOff when it is off.
struct ChartLoggerState {
  int topStringId;
  int bottomStringId;  // 0: show `percent` instead
  char percent[16];
};
ChartLoggerState ChartLoggerStateFor(bool loggerOn, int usedPercent);

// The scroll bar has the range 0..count and a page of 8; like a Win32 bar it keeps the
// position at or below count - 8 + 1, so the newest page is S = 0.
enum class ChartScrollAction : uint8_t { LineUp, LineDown, PageUp, PageDown, Thumb };
int ClampChartScrollPosition(int position, int count);
int ChartScroll(int position, ChartScrollAction action, int thumbPosition, int count);
// S for ReadSamplePage: records back from the newest, 0 on the newest page, never negative.
int ChartStartOffset(int position, int count);

}  // namespace records
