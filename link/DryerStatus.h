#pragma once
// The panel's mirror of the controller's register image: byte k is status-frame byte k;
// page-0 register r is byte r, page-1 register r is byte 256 + r. Written only by the
// decoder on the link thread, under the status lock; UI code reads a snapshot copy.
#include <atomic>
#include <cstdint>

#include "link/RegisterMap.h"

namespace lnk {

inline constexpr int kStatusBytes = 329;
inline constexpr uint32_t kMoistureSubstituteStart = 2700;
inline constexpr uint32_t kWarningRecordHoldSeconds = 100;
inline constexpr uint32_t kPreviousLoadSecondsMax = 86400;

struct DryerStatus {
  uint8_t b[kStatusBytes];
};

// Field readers by status byte number, in the byte orders the controller uses.
inline int16_t StatusS16LowFirst(const DryerStatus& s, int k) {
  return static_cast<int16_t>(s.b[k] | (s.b[k + 1] << 8));
}
inline uint16_t StatusU16LowFirst(const DryerStatus& s, int k) {
  return static_cast<uint16_t>(s.b[k] | (s.b[k + 1] << 8));
}
inline uint16_t StatusU16HighFirst(const DryerStatus& s, int k) {
  return static_cast<uint16_t>((s.b[k] << 8) | s.b[k + 1]);
}
inline uint32_t StatusU32LowFirst(const DryerStatus& s, int k) {
  return static_cast<uint32_t>(s.b[k]) | (static_cast<uint32_t>(s.b[k + 1]) << 8) |
         (static_cast<uint32_t>(s.b[k + 2]) << 16) | (static_cast<uint32_t>(s.b[k + 3]) << 24);
}
// Timers travel as minutes then seconds.
inline uint32_t StatusMinSecSeconds(const DryerStatus& s, int k) {
  return static_cast<uint32_t>(s.b[k]) * 60u + s.b[k + 1];
}

// Bytes the decoder never stores: they read 0 whatever the frame carries.
constexpr bool StatusByteStored(int k) {
  struct Range { int first, last; };
  constexpr Range kNever[] = {{0, 2},     {33, 38},   {48, 48},   {53, 57},   {107, 112},
                              {119, 124}, {160, 162}, {170, 170}, {204, 205}, {210, 215},
                              {231, 231}, {256, 256}, {276, 276}, {286, 286}};
  if (k < 0 || k >= kStatusBytes) return false;
  for (const Range& r : kNever)
    if (k >= r.first && k <= r.last) return false;
  return true;
}

// ---- The live record, its lock and the values derived from it ----

// Copies the record under the status lock, so no 16-bit field is seen half-updated.
void TakeStatusSnapshot(DryerStatus& out);
// One byte of the record, read under the lock.
uint8_t ReadStatusByte(int k);
// A write into the record from the panel side (start-up preset, the meter-roll dialog's ACCEPT).
void WriteStatusByte(int k, uint8_t value);
// The start-up preset: status byte 171 = 0xA0 (the controller's run flags before a first frame).
// It also begins the wait for the first frame.
void PresetDryerStatus();
// True from the start-up preset until the first status frame is decoded: the record then holds
// no reading of the dryer, and the screens say they are waiting for it instead of showing the
// preset's zeros as readings.
bool AwaitingFirstStatusFrame();

// Values the decoder derives while it stores a frame. Flags and counters that the UI reads,
// lowers or counts down are atomics; the link thread writes the rest.
struct DryerDerived {
  std::atomic<uint8_t> celsius{0};
  std::atomic<uint32_t> previousLoadSeconds{0};
  std::atomic<uint32_t> loadLowWater{0};
  std::atomic<uint8_t> miscDisabled{0};
  std::atomic<uint8_t> knobRequest{0};
  std::atomic<uint8_t> defaultsSwitchRequest{0};
  std::atomic<uint8_t> optionChangeRequest{0};
  std::atomic<uint8_t> meterRollModeChanged{0};
  std::atomic<uint8_t> lastWarningNode{0};
  std::atomic<uint8_t> lastWarningId{0};
  std::atomic<uint32_t> warningRecordHold{0};
  std::atomic<uint32_t> moistureSubstituteCount{kMoistureSubstituteStart};
  // Set by the main loop once the operator answered the DEFAULTS switch question.
  std::atomic<uint8_t> defaultsAcknowledged{0};

  // Atomics cannot be assigned, so this stores the starting values of a fresh instance; a
  // member added above must be added here too.
  void Reset() {
    const DryerDerived fresh;
    celsius.store(fresh.celsius.load());
    previousLoadSeconds.store(fresh.previousLoadSeconds.load());
    loadLowWater.store(fresh.loadLowWater.load());
    miscDisabled.store(fresh.miscDisabled.load());
    knobRequest.store(fresh.knobRequest.load());
    defaultsSwitchRequest.store(fresh.defaultsSwitchRequest.load());
    optionChangeRequest.store(fresh.optionChangeRequest.load());
    meterRollModeChanged.store(fresh.meterRollModeChanged.load());
    lastWarningNode.store(fresh.lastWarningNode.load());
    lastWarningId.store(fresh.lastWarningId.load());
    warningRecordHold.store(fresh.warningRecordHold.load());
    moistureSubstituteCount.store(fresh.moistureSubstituteCount.load());
    defaultsAcknowledged.store(fresh.defaultsAcknowledged.load());
  }
};
DryerDerived& Derived();

// The 1 s tick: one second off the warning record hold, never below 0, even while the decoder
// sets it to 100 at the same moment.
void DecrementWarningRecordHold();

// Back to the start state (all 0, derived values at their initial values). Tests only.
void ResetDryerStatus();

// ---- Status values used as indexes, range-checked ----

// Number of fan/heater slots in use for the code in byte 3 (code 4 is six units); an unknown
// code gives 0, so the result can size a loop over the six slots.
constexpr int PlenumSlotsInUse(uint8_t code) {
  return code < kFanHeaterCodeCount ? kFanHeaterUnitsForCode[code] : 0;
}
// True when the dryer runs (bit 6 of byte 171 or bit 0 of byte 172).
inline bool DryerRunning(const DryerStatus& s) {
  return (s.b[kStatusRunFlags] & kRunFlagsRunning) != 0 || (s.b[kStatusRunFlags2] & kRunFlags2Running) != 0;
}
// A warning is active while status byte 185 or 186 is non-zero.
inline bool WarningActive(const DryerStatus& s) {
  return s.b[kStatusWarningId] != 0 || s.b[kStatusWarningNode] != 0;
}

}  // namespace lnk
