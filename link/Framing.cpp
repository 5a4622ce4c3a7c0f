#include "link/Framing.h"

#include <array>

namespace lnk {

namespace {

// The two byte tables of the table-driven method: high and low halves of each 16-bit step.
struct CrcTables {
  std::array<uint8_t, 256> hi{};
  std::array<uint8_t, 256> lo{};
};

constexpr CrcTables MakeTables() {
  CrcTables t;
  for (int i = 0; i < 256; ++i) {
    uint16_t crc = static_cast<uint16_t>(i);
    for (int bit = 0; bit < 8; ++bit) crc = (crc & 1) ? static_cast<uint16_t>((crc >> 1) ^ 0xA001) : static_cast<uint16_t>(crc >> 1);
    t.hi[i] = static_cast<uint8_t>(crc >> 8);
    t.lo[i] = static_cast<uint8_t>(crc & 0xFF);
  }
  return t;
}

constexpr CrcTables kTables = MakeTables();

}  // namespace

uint16_t Crc16(const uint8_t* data, size_t n) {
  uint8_t lo = 0xFF;
  uint8_t hi = 0xFF;
  for (size_t i = 0; i < n; ++i) {
    const uint8_t index = lo ^ data[i];
    lo = static_cast<uint8_t>(hi ^ kTables.lo[index]);
    hi = kTables.hi[index];
  }
  return static_cast<uint16_t>((hi << 8) | lo);
}

void AppendChecksum(uint8_t* buffer, size_t n) {
  const uint16_t crc = Crc16(buffer, n);
  buffer[n] = static_cast<uint8_t>(crc & 0xFF);
  buffer[n + 1] = static_cast<uint8_t>(crc >> 8);
}

bool VerifyChecksum(const uint8_t* buffer, size_t n) {
  const uint16_t crc = Crc16(buffer, n);
  return buffer[n] == static_cast<uint8_t>(crc & 0xFF) && buffer[n + 1] == static_cast<uint8_t>(crc >> 8);
}

bool AcceptStatusFrame(const uint8_t* data, int length) {
  return length == kStatusFrameLength && VerifyChecksum(data, kStatusPayloadLength);
}

int StatusFrameOffset(const uint8_t* data, int length) {
  if (length < kStatusFrameLength) return -1;
  const int at = length - kStatusFrameLength;
  return AcceptStatusFrame(data + at, kStatusFrameLength) ? at : -1;
}

}  // namespace lnk
