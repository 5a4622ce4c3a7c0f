// Frame acceptance, decoding and retirement on arbitrary input. The input is a header of
// flags and request bytes followed by received reads: most reads are taken as they are (so
// acceptance is what stops them), and when the header asks, the CRC is put right first, so the
// decoder and the retirement rules see arbitrary payloads. After every accepted frame the
// builder runs and the record's invariants are checked.
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "link/DryerStatus.h"
#include "link/Framing.h"
#include "link/LinkEvents.h"
#include "link/RegisterMap.h"
#include "link/SettingRequest.h"
#include "link/StatusDecoder.h"

namespace {

constexpr size_t kFlagBytes = (kCommandRowCount + 7) / 8;
// Request registers the decoder compares or rewrites; the header fills them.
constexpr int kSeededRequests[] = {
    kRequestMeterRollMode, kRequestMeterRollHigh, kRequestMeterRollMedium, kRequestMeterRollLow,
    kRequestSensorCommand, kRequestOptionBits2, kStatusMeterRoll1, kStatusMeterRoll2, kStatusMeterRoll3,
    kStatusHiHeatCountdown, kStatusHiHeatCountdown + 1, kStatusPlenumSetpoint1, kStatusPlenumSetpoint1 + 1,
};
constexpr size_t kSeededCount = sizeof(kSeededRequests) / sizeof(kSeededRequests[0]);
constexpr size_t kHeaderBytes = 1 + kFlagBytes + kSeededCount;

constexpr uint8_t kModeFixCrc = 0x01;
constexpr uint8_t kModeMeterRollQuestion = 0x02;
constexpr uint8_t kModeMeterRollWindow = 0x04;

uint8_t gMode = 0;

void CheckInvariants() {
  DryerStatus s;
  TakeStatusSnapshot(s);
  for (int k = 0; k < kStatusBytes; ++k)
    if (!StatusByteStored(k) && s.b[k] != 0) __builtin_trap();
  if (Derived().previousLoadSeconds.load() > kPreviousLoadSecondsMax) __builtin_trap();

  uint8_t tx[kTransmitBufferLength] = {};
  if (!BuildCommandFrame(tx)) return;
  const int length = tx[0];
  if (length > kMaxCommandFrameLength || length < 4 + 4) __builtin_trap();
  // The items fill the frame exactly and stay inside their page.
  int pos = 2;
  for (int i = 0; i < tx[1]; ++i) {
    if (pos + 3 > length - 2 || tx[pos] > 1 || tx[pos + 2] == 0) __builtin_trap();
    pos += 3 + tx[pos + 2];
  }
  if (pos != length - 2) __builtin_trap();
  AppendChecksum(tx, static_cast<size_t>(length - 2));
  if (!VerifyChecksum(tx, static_cast<size_t>(length - 2))) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < kHeaderBytes) return 0;
  ResetDryerStatus();
  ResetSettingRequest();
  gMode = data[0];
  LinkEvents events;
  events.meterRollQuestionPending = [](void*) { return (gMode & kModeMeterRollQuestion) != 0; };
  events.meterRollWindowVisible = [](void*) { return (gMode & kModeMeterRollWindow) != 0; };
  SetLinkEvents(events);

  for (size_t i = 0; i < kSeededCount; ++i) WriteRequestByte(kSeededRequests[i], data[1 + kFlagBytes + i]);
  for (int row = 0; row < kCommandRowCount; ++row)
    if (data[1 + row / 8] & (1u << (row % 8))) RaisePending(RowFromIndex(row));

  // The rest is a series of reads: a length byte pair, then that many bytes (cut to what is left).
  size_t pos = kHeaderBytes;
  uint8_t frame[2 * kStatusFrameLength];
  while (pos + 2 <= size) {
    size_t want = static_cast<size_t>(data[pos] | (data[pos + 1] << 8)) % sizeof(frame);
    pos += 2;
    // Lengths near a whole frame are the interesting ones.
    if (want > kStatusFrameLength + 8) want = kStatusFrameLength;
    const size_t got = size - pos < want ? size - pos : want;
    std::memset(frame, 0, sizeof(frame));
    std::memcpy(frame, data + pos, got);
    pos += got;
    int length = static_cast<int>(want);
    if ((gMode & kModeFixCrc) && want == kStatusFrameLength) AppendChecksum(frame, kStatusPayloadLength);
    if (AcceptStatusFrame(frame, length)) {
      DecodeStatusFrame(frame);
      CheckInvariants();
    }
  }
  SetLinkEvents(LinkEvents{});
  return 0;
}
