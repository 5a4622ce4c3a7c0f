#pragma once
// Readings of the status record that several screens share.
#include <cstdint>

#include "link/DryerStatus.h"
#include "link/RegisterMap.h"
#include "platform/Canvas.h"

inline bool StatusBit(const lnk::DryerStatus& s, int byte, int bit) {
  return (s.b[byte] >> bit) & 1;
}
// Whether any bit of `mask` (a value from link/RegisterMap.h) is set in status byte `byte`.
inline bool StatusHas(const lnk::DryerStatus& s, int byte, uint8_t mask) { return (s.b[byte] & mask) != 0; }
inline bool IsCelsius(const lnk::DryerStatus& s) {
  return (s.b[lnk::kStatusDisplayOptions] & lnk::kDisplayOptionsCelsius) != 0;
}
inline bool IsDryerRunning(const lnk::DryerStatus& s) {
  return (s.b[lnk::kStatusRunFlags2] & lnk::kRunFlags2Running) != 0 ||
         (s.b[lnk::kStatusRunFlags] & lnk::kRunFlagsRunning) != 0;
}
inline int MoistureControlMode(const lnk::DryerStatus& s) {
  return s.b[lnk::kStatusMoistureControlMode] & lnk::kMoistureModeMask;
}
inline int DryerType(const lnk::DryerStatus& s) { return s.b[lnk::kStatusDryerType]; }

// Byte 184 chooses the grain temperature: 0 the third, 1 the second, 2 the first. Returns
// false for any other value, and leaves `f` alone.
inline bool ReadDryerGrainTemperature(const lnk::DryerStatus& s, int& f) {
  switch (s.b[lnk::kStatusGrainTempSelect]) {
    case 0: f = lnk::StatusS16LowFirst(s, lnk::kStatusGrainTemp3); return true;
    case 1: f = lnk::StatusS16LowFirst(s, lnk::kStatusGrainTemp2); return true;
    case 2: f = lnk::StatusS16LowFirst(s, lnk::kStatusGrainTemp1); return true;
    default: return false;
  }
}
// The same, falling back to the first choice for an unknown source.
inline int DryerGrainTemperature(const lnk::DryerStatus& s) {
  int f = lnk::StatusS16LowFirst(s, lnk::kStatusGrainTemp3);
  ReadDryerGrainTemperature(s, f);
  return f;
}

namespace colour {
inline constexpr plat::Color kBlack = plat::Rgb(0, 0, 0);
inline constexpr plat::Color kWhite = plat::Rgb(255, 255, 255);
inline constexpr plat::Color kRed = plat::Rgb(255, 0, 0);
inline constexpr plat::Color kGreen = plat::Rgb(0, 255, 0);
inline constexpr plat::Color kBlue = plat::Rgb(0, 0, 255);
inline constexpr plat::Color kYellow = plat::Rgb(255, 255, 0);
inline constexpr plat::Color kGrey = plat::Rgb(150, 150, 150);
}  // namespace colour
