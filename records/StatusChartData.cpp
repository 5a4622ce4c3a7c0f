#include "records/StatusChartData.h"

#include <cstdio>

namespace records {

namespace {

constexpr char kDegreeSign = static_cast<char>(176);

int MaxPosition(int count) {
  int max = count - kChartPageRows + 1;
  return max < 0 ? 0 : max;
}

}  // namespace

int FormatTemperature(char* out, size_t size, int fahrenheit, bool celsius) {
  if (celsius) return std::snprintf(out, size, "%d%cC", FahrenheitToCelsius(fahrenheit), kDegreeSign);
  return std::snprintf(out, size, "%d%cF", fahrenheit, kDegreeSign);
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
