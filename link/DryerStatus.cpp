#include "link/DryerStatus.h"


#include "link/LinkInternal.h"

namespace lnk {

namespace {
std::mutex gStatusMutex;
// The record and the decoder's own memory of it; only touched with gStatusMutex held.
struct StatusState {
  DryerStatus live{};
  detail::DecoderState decoder;
};
StatusState gState;
// Read and written by both threads without the lock; reset through DryerDerived::Reset().
DryerDerived gDerived;
std::atomic<bool> gAwaitingFirstFrame{false};
}  // namespace

namespace detail {
std::mutex& StatusMutex() { return gStatusMutex; }
DryerStatus& LiveStatus() { return gState.live; }
DecoderState& Decoder() { return gState.decoder; }
void EndFirstFrameWait() { gAwaitingFirstFrame.store(false); }
}  // namespace detail

void TakeStatusSnapshot(DryerStatus& out) {
  std::lock_guard<std::mutex> lock(gStatusMutex);
  detail::CopyBytes(out.b, gState.live.b, kStatusBytes);
}

uint8_t ReadStatusByte(int k) {
  if (k < 0 || k >= kStatusBytes) return 0;
  std::lock_guard<std::mutex> lock(gStatusMutex);
  return gState.live.b[k];
}

void WriteStatusByte(int k, uint8_t value) {
  if (k < 0 || k >= kStatusBytes) return;
  std::lock_guard<std::mutex> lock(gStatusMutex);
  gState.live.b[k] = value;
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
  gState = {};
  gDerived.Reset();
  gAwaitingFirstFrame = false;
}

}  // namespace lnk
