#pragma once
// The four display and logging preferences kept in the registry key
// "Software\Drelm\OrvaneDryer", one byte each. They are read once at start-up; the values in
// memory rule for the rest of the run even when a write fails.
#include <cstdint>

namespace records {

inline constexpr const char* kPreferencesKey = "Software\\Drelm\\OrvaneDryer";
inline constexpr const char* kPrefGraphScale = "GRAPH_HORIZONTAL_SCALE";
inline constexpr const char* kPrefGraphTraces = "GRAPH_TRACES_ON_OFF";
inline constexpr const char* kPrefSampleTime = "TEMP_DATA_LOG_SAMPLE_TIME";
inline constexpr const char* kPrefViewSelection = "SCREEN_VIEW_SELECTION";

inline constexpr uint8_t kDefaultGraphScale = 0;
inline constexpr uint8_t kDefaultGraphTraces = 0;
inline constexpr uint8_t kDefaultSampleMinutes = 10;
inline constexpr uint8_t kFallbackSampleMinutes = 5;
inline constexpr uint8_t kMaxSampleMinutes = 15;
inline constexpr uint8_t kViewStatusChart = 0;
inline constexpr uint8_t kViewGraph = 1;

struct Preferences {
  uint8_t graphScale = kDefaultGraphScale;        // 0..3: 1, 2, 4, 8 hours
  uint8_t graphTraces = kDefaultGraphTraces;      // TraceBit() of each trace shown
  uint8_t sampleMinutes = kDefaultSampleMinutes;  // short-term sample period
  uint8_t viewSelection = kViewStatusChart;
};

// The values in use. Writers change them here and then call SavePreference.
Preferences& CurrentPreferences();

// Reads the key into CurrentPreferences(), starting from the defaults; a missing key or value
// keeps its default.
void LoadPreferences();

// Stores one 1-byte value under the key, creating it when missing, together with any value
// of the four still waiting. False when the value did not reach the store: callers carry on
// with the value in memory, which waits for the next save or SaveWaitingPreferences.
bool SavePreference(const char* name, uint8_t value);
// Stores the values that earlier saves could not. True when none is waiting afterwards.
bool SaveWaitingPreferences();

// The read rules, applied to a stored byte.
uint8_t GraphScaleFromStored(uint8_t stored);
uint8_t GraphTracesFromStored(uint8_t current, uint8_t stored);
// A period above 15 or of 0 minutes reads as 5: 0 would sample every second.
uint8_t SampleMinutesFromStored(uint8_t stored);
uint8_t ViewSelectionFromStored(uint8_t stored);

// The four periods the sample-time dialog offers.
bool IsOfferedSamplePeriod(int minutes);
// The period the sample-time dialog shows checked: an offered one as it is, anything else as
// 5 minutes, its box checked and the period saved.
uint8_t DialogSamplePeriod(int minutes);

}  // namespace records
