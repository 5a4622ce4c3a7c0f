#include "records/Preferences.h"

namespace records {

namespace {

constexpr uint8_t kGraphScaleMax = 3;
constexpr uint8_t kOfferedPeriods[] = {1, 5, 10, 15};

Preferences g_preferences;

}  // namespace

Preferences& CurrentPreferences() { return g_preferences; }

uint8_t GraphScaleFromStored(uint8_t stored) {
  return stored <= kGraphScaleMax ? stored : kDefaultGraphScale;
}

uint8_t GraphTracesFromStored(uint8_t current, uint8_t stored) {
  return static_cast<uint8_t>(current | stored);
}

uint8_t SampleMinutesFromStored(uint8_t stored) {
  return (stored == 0 || stored > kMaxSampleMinutes) ? kFallbackSampleMinutes : stored;
}

uint8_t ViewSelectionFromStored(uint8_t stored) {
  return stored == kViewGraph ? kViewGraph : kViewStatusChart;
}

bool IsOfferedSamplePeriod(int minutes) {
  for (uint8_t p : kOfferedPeriods)
    if (p == minutes) return true;
  return false;
}

}  // namespace records
