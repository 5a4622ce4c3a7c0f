#include "link/DryerStatus.h"

#include <cstring>

#include "link/LinkInternal.h"

namespace {
std::mutex gStatusMutex;
DryerStatus gStatus{};
DryerDerived gDerived;
link_internal::DecoderState gDecoder;
std::atomic<bool> gAwaitingFirstFrame{false};
}  // namespace

namespace link_internal {
std::mutex& StatusMutex() { return gStatusMutex; }
DryerStatus& LiveStatus() { return gStatus; }
DecoderState& Decoder() { return gDecoder; }
void EndFirstFrameWait() { gAwaitingFirstFrame.store(false); }
}  // namespace link_internal

void TakeStatusSnapshot(DryerStatus& out) {
  std::lock_guard<std::mutex> lock(gStatusMutex);
  link_internal::CopyBytes(out.b, gStatus.b, kStatusBytes);
}

uint8_t ReadStatusByte(int k) {
  if (k < 0 || k >= kStatusBytes) return 0;
  std::lock_guard<std::mutex> lock(gStatusMutex);
  return gStatus.b[k];
}

void WriteStatusByte(int k, uint8_t value) {
  if (k < 0 || k >= kStatusBytes) return;
  std::lock_guard<std::mutex> lock(gStatusMutex);
  gStatus.b[k] = value;
}

void PresetDryerStatus() {
  WriteStatusByte(kStatusRunFlags, kRunFlagsPreset);
  gAwaitingFirstFrame.store(true);
}

bool AwaitingFirstStatusFrame() { return gAwaitingFirstFrame.load(); }

DryerDerived& Derived() { return gDerived; }

void DecrementWarningRecordHold() {
  uint32_t v = gDerived.warningRecordHold.load();
  while (v > 0 && !gDerived.warningRecordHold.compare_exchange_weak(v, v - 1)) {
  }
}

void ResetDryerStatus() {
  std::lock_guard<std::mutex> lock(gStatusMutex);
  std::memset(gStatus.b, 0, sizeof gStatus.b);
  gDerived.celsius = 0;
  gDerived.previousLoadSeconds = 0;
  gDerived.loadLowWater = 0;
  gDerived.miscDisabled = 0;
  gDerived.knobRequest = 0;
  gDerived.defaultsSwitchRequest = 0;
  gDerived.optionChangeRequest = 0;
  gDerived.meterRollModeChanged = 0;
  gDerived.lastWarningNode = 0;
  gDerived.lastWarningId = 0;
  gDerived.warningRecordHold = 0;
  gDerived.moistureSubstituteCount = kMoistureSubstituteStart;
  gDerived.defaultsAcknowledged = 0;
  gDecoder = link_internal::DecoderState{};
  gAwaitingFirstFrame = false;
}
