#pragma once
// The 18-byte sample shared by the short-term log and the graph log. Sixteen-bit values are
// stored high byte first, copied byte by byte from the status record, so a file written by the
// original panel reads the same here.
#include <cstdint>

#include "link/RegisterMap.h"

namespace lnk {
struct DryerStatus;
}
namespace plat {
struct LocalTime;
}

namespace records {

inline constexpr int kSampleBytes = 18;

struct SampleRecord {
  uint8_t b[kSampleBytes];
};
static_assert(sizeof(SampleRecord) == kSampleBytes, "SampleRecord must have no padding");

// Byte offsets inside a SampleRecord.
inline constexpr int kSampleGrainTemp = 0;   // whole degrees F, signed
inline constexpr int kSampleTempIn = 2;      // tenths of a degree F, signed
inline constexpr int kSampleMoistIn = 4;     // tenths of a percent
inline constexpr int kSampleTempOut = 6;     // tenths of a degree F, signed
inline constexpr int kSampleMoistOut = 8;    // tenths of a percent
inline constexpr int kSampleRollSpeed = 10;  // 16 bits: high byte always 0, low byte percent
inline constexpr int kSampleReserved = 12;
inline constexpr int kSampleHour = 13;
inline constexpr int kSampleMinute = 14;
inline constexpr int kSampleSecond = 15;
inline constexpr int kSampleMonth = 16;
inline constexpr int kSampleDay = 17;

// The logs' names for the status fields they copy; the controller reports the sensor pair's
// moisture and temperature in the four high-first words at 189..196.
inline constexpr int kMoistOutByte = lnk::kStatusMoisture1;
inline constexpr int kMoistInByte = lnk::kStatusMoisture2;
inline constexpr int kTempOutByte = lnk::kStatusMoisture3;
inline constexpr int kTempInByte = lnk::kStatusMoisture4;
inline constexpr int kRollSpeedByte = lnk::kStatusLogged245;

// Status byte of the low half of the dryer grain temperature chosen by the source byte
// (status byte 184), or -1 for a source value that names no sensor.
int GrainTempLowByte(const lnk::DryerStatus& s);

// Fills `record` from the status and the time. For an unknown grain-temperature source the
// grain temperature already in `record` is kept, which is why callers keep one record alive.
void FillSampleRecord(SampleRecord& record, const lnk::DryerStatus& s, const plat::LocalTime& now);

inline uint16_t SampleU16(const SampleRecord& r, int offset) {
  return static_cast<uint16_t>((r.b[offset] << 8) | r.b[offset + 1]);
}
inline int16_t SampleS16(const SampleRecord& r, int offset) {
  return static_cast<int16_t>(SampleU16(r, offset));
}

}  // namespace records
