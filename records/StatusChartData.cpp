#include "records/StatusChartData.h"

#include <cstdio>

#include "i18n/Language.h"
#include "platform/Text.h"

namespace records {

namespace {

int MaxPosition(int count) {
  int max = count - kChartPageRows + 1;
  return max < 0 ? 0 : max;
}

// Appends Latin-1 `text` after the `used` units already in `out`.
size_t AppendLatin1(char16_t* out, size_t units, size_t used, const char* text) {
  return used + plat::Latin1ToUtf16(out + used, units - used, text);
}

size_t AppendString(char16_t* out, size_t units, size_t used, int id) {
  char16_t text[i18n::kStringDestUnits] = {};
  i18n::GetString(id, text);
  return used + plat::Utf16Copy(out + used, units - used, text);
}

}  // namespace

size_t FormatSampleTimeCaption(char16_t* out, size_t units, int minutes) {
  if (units == 0) return 0;
  char number[16];
  std::snprintf(number, sizeof number, " %d ", minutes);
  size_t n = AppendString(out, units, 0, i18n::kStringSample);
  n = AppendLatin1(out, units, n, number);
  return AppendString(out, units, n, kStringMinutes);
}

size_t FormatPeriodLabel(char16_t* out, size_t units, int minutes) {
  if (units == 0) return 0;
  char number[16];
  std::snprintf(number, sizeof number, "%d ", minutes);
  size_t n = AppendLatin1(out, units, 0, number);
  return AppendString(out, units, n, kStringMinutes);
}

int FormatTemperature(char* out, size_t size, int fahrenheit, bool celsius) {
  if (celsius) return std::snprintf(out, size, "%d%cC", lnk::FahrenheitToCelsius(fahrenheit), lnk::kDegreeSign);
  return std::snprintf(out, size, "%d%cF", fahrenheit, lnk::kDegreeSign);
}

void FormatChartRow(const SampleRecord& r, bool celsius, ChartRowTexts& out) {
  int hour = r.b[kSampleHour];
  int hour12 = hour % 12 == 0 ? 12 : hour % 12;
  std::snprintf(out.time, sizeof out.time, "%2d:%.2d%s %d/%d", hour12, r.b[kSampleMinute],
                hour < 12 ? "AM" : "PM", r.b[kSampleMonth], r.b[kSampleDay]);
  FormatTemperature(out.grainTemp, sizeof out.grainTemp, SampleS16(r, kSampleGrainTemp), celsius);
  int moistIn = SampleU16(r, kSampleMoistIn);
  int moistOut = SampleU16(r, kSampleMoistOut);
  std::snprintf(out.moistIn, sizeof out.moistIn, "%d.%d%%", moistIn / 10, moistIn % 10);
  std::snprintf(out.moistOut, sizeof out.moistOut, "%d.%d%%", moistOut / 10, moistOut % 10);
  FormatTemperature(out.tempOut, sizeof out.tempOut, SampleS16(r, kSampleTempOut) / 10, celsius);
  std::snprintf(out.rollSpeed, sizeof out.rollSpeed, "%d %%", SampleU16(r, kSampleRollSpeed));
}

ChartLoggerState ChartLoggerStateFor(bool loggerOn, int usedPercent) {
  ChartLoggerState s{};
  if (!loggerOn) {
    s.topStringId = kStringLoggerOff;
    return s;
  }
  s.topStringId = kStringLoggerOn;
  if (usedPercent > 99)
    s.bottomStringId = kStringLoggerFull;
  else
    std::snprintf(s.percent, sizeof s.percent, "%d%%", usedPercent);
  return s;
}

int ClampChartScrollPosition(int position, int count) {
  if (position < 0) return 0;
  int max = MaxPosition(count);
  return position > max ? max : position;
}

int ChartScroll(int position, ChartScrollAction action, int thumbPosition, int count) {
  switch (action) {
    case ChartScrollAction::LineUp: position -= 1; break;
    case ChartScrollAction::LineDown: position += 1; break;
    case ChartScrollAction::PageUp: position -= kChartPageRows; break;
    case ChartScrollAction::PageDown: position += kChartPageRows; break;
    case ChartScrollAction::Thumb: position = thumbPosition; break;
  }
  return ClampChartScrollPosition(position, count);
}

int ChartStartOffset(int position, int count) {
  int s = count - kChartPageRows - ClampChartScrollPosition(position, count) + 1;
  return s < 0 ? 0 : s;
}

}  // namespace records
