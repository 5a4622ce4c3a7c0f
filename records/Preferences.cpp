#include "records/Preferences.h"

#include <cstring>

#include "platform/Registry.h"
#include "records/StorageNotice.h"

namespace records {

namespace {

constexpr uint8_t kGraphScaleMax = 3;
constexpr uint8_t kOfferedPeriods[] = {1, 5, 10, 15};

// A value the registry refused, by name, until a later write takes it.
struct WaitingValue {
  const char* name;
  uint8_t value;
  bool waiting;
};

struct PreferencesState {
  Preferences current;
  WaitingValue waiting[4] = {
      {.name = kPrefGraphScale, .value = 0, .waiting = false},
      {.name = kPrefGraphTraces, .value = 0, .waiting = false},
      {.name = kPrefSampleTime, .value = 0, .waiting = false},
      {.name = kPrefViewSelection, .value = 0, .waiting = false},
  };
};
PreferencesState gPreferences;

WaitingValue* FindWaiting(const char* name) {
  for (WaitingValue& w : gPreferences.waiting)
    if (std::strcmp(w.name, name) == 0) return &w;
  return nullptr;
}

// Writes every waiting value in one opening of the key; those that fail go on waiting.
bool WriteWaiting() {
  plat::RegKey key;
  bool all = plat::RegOpenKey(kPreferencesKey, key) == plat::RegResult::Ok;
  if (all) {
    for (WaitingValue& w : gPreferences.waiting) {
      if (!w.waiting) continue;
      w.waiting = plat::RegWriteBinary(key, w.name, &w.value, sizeof w.value) != plat::RegResult::Ok;
      all = all && !w.waiting;
    }
    plat::RegCloseKey(key);
  }
  // The registry does not tell a full card from a read-only one.
  if (all)
    NoteStorageWrite(StorageSource::Preferences, plat::FileResult::Ok);
  else
    NoteStorageRefused(StorageSource::Preferences);
  return all;
}

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

Preferences& CurrentPreferences() { return gPreferences.current; }

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
  gPreferences.current = p;
  for (WaitingValue& w : gPreferences.waiting) w.waiting = false;
}

bool SavePreference(const char* name, uint8_t value) {
  WaitingValue* w = FindWaiting(name);
  if (w == nullptr) {
    plat::RegKey key;
    if (plat::RegOpenKey(kPreferencesKey, key) != plat::RegResult::Ok) return false;
    bool ok = plat::RegWriteBinary(key, name, &value, sizeof value) == plat::RegResult::Ok;
    plat::RegCloseKey(key);
    return ok;
  }
  w->value = value;
  w->waiting = true;
  WriteWaiting();
  return !w->waiting;
}

bool SaveWaitingPreferences() {
  for (const WaitingValue& w : gPreferences.waiting)
    if (w.waiting) return WriteWaiting();
  return true;
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
