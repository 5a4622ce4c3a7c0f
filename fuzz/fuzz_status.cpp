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

constexpr size_t kFlagBytes = (lnk::kCommandRowCount + 7) / 8;
// Request registers the decoder compares or rewrites; the header fills them.
constexpr int kSeededRequests[] = {
    lnk::kRequestMeterRollMode, lnk::kRequestMeterRollHigh, lnk::kRequestMeterRollMedium, lnk::kRequestMeterRollLow,
    lnk::kRequestSensorCommand, lnk::kRequestOptionBits2, lnk::kStatusMeterRoll1, lnk::kStatusMeterRoll2, lnk::kStatusMeterRoll3,
    lnk::kStatusHiHeatCountdown, lnk::kStatusHiHeatCountdown + 1, lnk::kStatusPlenumSetpoint1, lnk::kStatusPlenumSetpoint1 + 1,
};
constexpr size_t kSeededCount = sizeof(kSeededRequests) / sizeof(kSeededRequests[0]);
constexpr size_t kHeaderBytes = 1 + kFlagBytes + kSeededCount;

constexpr uint8_t kModeFixCrc = 0x01;
constexpr uint8_t kModeMeterRollQuestion = 0x02;
constexpr uint8_t kModeMeterRollWindow = 0x04;

uint8_t gMode = 0;

void CheckInvariants() {
  lnk::DryerStatus s;
  lnk::TakeStatusSnapshot(s);
  for (int k = 0; k < lnk::kStatusBytes; ++k)
    if (!lnk::StatusByteStored(k) && s.b[k] != 0) __builtin_trap();
  if (lnk::Derived().previousLoadSeconds.load() > lnk::kPreviousLoadSecondsMax) __builtin_trap();

  uint8_t tx[lnk::kTransmitBufferLength] = {};
  if (!lnk::BuildCommandFrame(tx)) return;
  const int length = tx[0];
  if (length > lnk::kMaxCommandFrameLength || length < 4 + 4) __builtin_trap();
  // The items fill the frame exactly and stay inside their page.
  int pos = 2;
  for (int i = 0; i < tx[1]; ++i) {
    if (pos + 3 > length - 2 || tx[pos] > 1 || tx[pos + 2] == 0) __builtin_trap();
    pos += 3 + tx[pos + 2];
  }
  if (pos != length - 2) __builtin_trap();
  lnk::AppendChecksum(tx, static_cast<size_t>(length - 2));
  if (!lnk::VerifyChecksum(tx, static_cast<size_t>(length - 2))) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < kHeaderBytes) return 0;
  lnk::ResetDryerStatus();
  lnk::ResetSettingRequest();
  gMode = data[0];
  lnk::LinkEvents events;
  events.meterRollQuestionPending = [](void*) { return (gMode & kModeMeterRollQuestion) != 0; };
  events.meterRollWindowVisible = [](void*) { return (gMode & kModeMeterRollWindow) != 0; };
  lnk::SetLinkEvents(events);

  for (size_t i = 0; i < kSeededCount; ++i) lnk::WriteRequestByte(kSeededRequests[i], data[1 + kFlagBytes + i]);
  for (int row = 0; row < lnk::kCommandRowCount; ++row)
    if (data[1 + row / 8] & (1u << (row % 8))) lnk::RaisePending(lnk::RowFromIndex(row));

  // The rest is a series of reads: a length byte pair, then that many bytes (cut to what is left).
  size_t pos = kHeaderBytes;
  uint8_t frame[2 * lnk::kStatusFrameLength];
  while (pos + 2 <= size) {
    size_t want = static_cast<size_t>(data[pos] | (data[pos + 1] << 8)) % sizeof(frame);
    pos += 2;
    // Lengths near a whole frame are the interesting ones.
    if (want > lnk::kStatusFrameLength + 8) want = lnk::kStatusFrameLength;
    const size_t got = size - pos < want ? size - pos : want;
    std::memset(frame, 0, sizeof(frame));
    std::memcpy(frame, data + pos, got);
    pos += got;
    int length = static_cast<int>(want);
    if ((gMode & kModeFixCrc) && want == lnk::kStatusFrameLength) lnk::AppendChecksum(frame, lnk::kStatusPayloadLength);
    if (lnk::AcceptStatusFrame(frame, length)) {
      lnk::DecodeStatusFrame(frame);
      CheckInvariants();
    }
  }
  lnk::SetLinkEvents(lnk::LinkEvents{});
  return 0;
}
