#pragma once
// The panel's mirror of the controller's register image: byte k is status-frame byte k;
// page-0 register r is byte r, page-1 register r is byte 256 + r. Written only by the
// decoder on the link thread, under the status lock; UI code reads a snapshot copy.
#include <cstdint>

inline constexpr int kStatusBytes = 329;

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
