#include "records/SampleRecord.h"

#include "link/DryerStatus.h"
#include "link/RegisterMap.h"
#include "platform/Clock.h"

namespace records {

namespace {

void CopyHighFirst(SampleRecord& r, int offset, const lnk::DryerStatus& s, int firstByte) {
  r.b[offset] = s.b[firstByte];
  r.b[offset + 1] = s.b[firstByte + 1];
}

}  // namespace

int GrainTempLowByte(const lnk::DryerStatus& s) {
  switch (s.b[lnk::kStatusGrainTempSelect]) {
    case 0: return lnk::kStatusGrainTemp3;
    case 1: return lnk::kStatusGrainTemp2;
    case 2: return lnk::kStatusGrainTemp1;
    default: return -1;
  }
}

void FillSampleRecord(SampleRecord& r, const lnk::DryerStatus& s, const plat::LocalTime& now) {
  int low = GrainTempLowByte(s);
  if (low >= 0) {
    // The status word is low byte first; the sample keeps it high byte first.
    r.b[kSampleGrainTemp] = s.b[low + 1];
    r.b[kSampleGrainTemp + 1] = s.b[low];
  }
  CopyHighFirst(r, kSampleTempIn, s, kTempInByte);
  CopyHighFirst(r, kSampleMoistIn, s, kMoistInByte);
  CopyHighFirst(r, kSampleTempOut, s, kTempOutByte);
  CopyHighFirst(r, kSampleMoistOut, s, kMoistOutByte);
  r.b[kSampleRollSpeed] = 0;
  r.b[kSampleRollSpeed + 1] = s.b[kRollSpeedByte];
  r.b[kSampleReserved] = 0;
  r.b[kSampleHour] = static_cast<uint8_t>(now.hour);
  r.b[kSampleMinute] = static_cast<uint8_t>(now.minute);
  r.b[kSampleSecond] = static_cast<uint8_t>(now.second);
  r.b[kSampleMonth] = static_cast<uint8_t>(now.month);
  r.b[kSampleDay] = static_cast<uint8_t>(now.day);
}

}  // namespace records
