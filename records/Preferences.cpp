#include "records/Preferences.h"

#include "platform/Registry.h"

namespace records {

namespace {

constexpr uint8_t kGraphScaleMax = 3;
constexpr uint8_t kOfferedPeriods[] = {1, 5, 10, 15};

Preferences gPreferences;

// A value of any other size than one byte is not ours and keeps the default.
bool ReadByte(const plat::RegKey& key, const char* name, uint8_t& out) {
  uint8_t value = 0;
  size_t size = 0;
  if (plat::RegReadBinary(key, name, &value, sizeof value, size) != plat::RegResult::Ok || size != 1)
    return false;
  out = value;
  return true;
}

}  // namespace

Preferences& CurrentPreferences() { return gPreferences; }

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

void LoadPreferences() {
  Preferences p;
  plat::RegKey key;
  if (plat::RegOpenExistingKey(kPreferencesKey, key) == plat::RegResult::Ok) {
    uint8_t v = 0;
    if (ReadByte(key, kPrefGraphScale, v)) p.graphScale = GraphScaleFromStored(v);
    if (ReadByte(key, kPrefGraphTraces, v)) p.graphTraces = GraphTracesFromStored(p.graphTraces, v);
    if (ReadByte(key, kPrefSampleTime, v)) p.sampleMinutes = SampleMinutesFromStored(v);
    if (ReadByte(key, kPrefViewSelection, v)) p.viewSelection = ViewSelectionFromStored(v);
    plat::RegCloseKey(key);
  }
  gPreferences = p;
}

bool SavePreference(const char* name, uint8_t value) {
  plat::RegKey key;
  if (plat::RegOpenKey(kPreferencesKey, key) != plat::RegResult::Ok) return false;
  bool ok = plat::RegWriteBinary(key, name, &value, sizeof value) == plat::RegResult::Ok;
  plat::RegCloseKey(key);
  return ok;
}

bool IsOfferedSamplePeriod(int minutes) {
  for (uint8_t p : kOfferedPeriods)
    if (p == minutes) return true;
  return false;
}

uint8_t DialogSamplePeriod(int minutes) {
  return IsOfferedSamplePeriod(minutes) ? static_cast<uint8_t>(minutes) : kFallbackSampleMinutes;
}

}  // namespace records
