#pragma once
// Frame shapes and the CRC-16 (polynomial 0xA001 reflected, start 0xFFFF) that closes every
// frame, low byte first.
#include <cstddef>
#include <cstdint>

namespace lnk {

inline constexpr int kStatusFrameLength = 331;
inline constexpr int kStatusPayloadLength = 329;
inline constexpr int kPollFrameLength = 7;
inline constexpr int kResyncFrameLength = 4;
inline constexpr int kMaxCommandFrameLength = 112;
inline constexpr int kTransmitBufferLength = 256;

inline constexpr uint8_t kPollFrame[kPollFrameLength] = {0x07, 0x00, 0x00, 0x00, 0x00, 0x91, 0xC0};
// The first byte is 6 although the frame is 4 bytes long: the controller expects it so.
inline constexpr uint8_t kResyncFrame[kResyncFrameLength] = {0x06, 0x00, 0x02, 0x10};

uint16_t Crc16(const uint8_t* data, size_t n);
// Stores the CRC over bytes 0..n-1 at n (low) and n+1 (high); the caller leaves room.
void AppendChecksum(uint8_t* buffer, size_t n);
// True when bytes n and n+1 hold the CRC over bytes 0..n-1.
bool VerifyChecksum(const uint8_t* buffer, size_t n);
// A received status frame is used only when exactly 331 bytes came and the CRC verifies.
bool AcceptStatusFrame(const uint8_t* data, int length);
// Where the status frame in a read starts, or -1 when there is none. A read longer than a frame
// is the late tail of an earlier answer followed by a whole one: its last 331 bytes are taken
// when they verify. Shorter reads never hold a frame.
int StatusFrameOffset(const uint8_t* data, int length);

}  // namespace lnk
