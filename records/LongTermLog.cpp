#include "records/LongTermLog.h"

#include <cstdio>
#include <cstring>

#include "link/DryerStatus.h"
#include "link/RegisterMap.h"
#include "platform/Clock.h"
#include "platform/Files.h"
#include "records/SampleRecord.h"

namespace records {

namespace {

constexpr int kSpareByte = kStatusMoistureControl202;

bool gLongTermEnabled = false;

// Reach of the search for the last line end: several lines, far more than one.
constexpr size_t kTailBytes = 4 * kLongTermLineChars;

// A power cut can leave the last line without its end, and a line appended to it would join
// two records into one broken row. The cut line is taken back to the last line end (a lone CR
// only lacks its LF); a tail with no line end in reach is not a line of ours and is ended
// instead, so nothing of it is lost. False when the file could not be put right.
bool EndLastLine(plat::FileHandle f, uint64_t& size) {
  if (size == 0) return true;
  char tail[kTailBytes];
  size_t want = size < kTailBytes ? static_cast<size_t>(size) : kTailBytes;
  size_t got = 0;
  if (plat::SeekFile(f, static_cast<int64_t>(size - want), plat::SeekFrom::Begin) != plat::FileResult::Ok ||
      plat::ReadFile(f, tail, want, got) != plat::FileResult::Ok || got != want)
    return false;
  if (tail[want - 1] == '\n') return true;
  const char* ending = nullptr;
  if (tail[want - 1] == '\r') {
    ending = "\n";
  } else {
    size_t keep = want;
    while (keep > 0 && tail[keep - 1] != '\n') --keep;
    if (keep > 0 || want == size) {
      uint64_t cut = size - want + keep;
      if (plat::TruncateFile(f, cut) != plat::FileResult::Ok) return false;
      size = cut;
      return true;
    }
    ending = "\r\n";
  }
  size_t n = std::strlen(ending);
  if (plat::SeekFile(f, static_cast<int64_t>(size), plat::SeekFrom::Begin) != plat::FileResult::Ok ||
      plat::WriteFile(f, ending, n) != plat::FileResult::Ok) {
    plat::TruncateFile(f, size);
    return false;
  }
  size += n;
  return true;
}

int Word(int32_t high, int32_t low) { return static_cast<int>((high & 0xFF) * 256 + (low & 0xFF)); }
int SignedWord(int32_t high, int32_t low) { return static_cast<int16_t>(Word(high, low)); }

}  // namespace

const char* LongTermResultText(LongTermResult r) {
  switch (r) {
    case LongTermResult::Written: return "written";
    case LongTermResult::NotEnabled: return "logging not enabled";
    case LongTermResult::OpenFailed: return "file cannot be opened";
    case LongTermResult::Full: return "file full";
  }
  return "";
}

void SetLongTermEnabled(bool on) { gLongTermEnabled = on; }
bool LongTermEnabled() { return gLongTermEnabled; }

void FillLongTermRecord(LongTermRecord& r, const DryerStatus& s, const plat::LocalTime& now) {
  int low = GrainTempLowByte(s);
  if (low >= 0) {
    r.grainTempHigh = s.b[low + 1];
    r.grainTempLow = s.b[low];
  }
  r.moistInHigh = s.b[kMoistInByte];
  r.moistInLow = s.b[kMoistInByte + 1];
  r.tempInHigh = s.b[kTempInByte];
  r.tempInLow = s.b[kTempInByte + 1];
  r.moistOutHigh = s.b[kMoistOutByte];
  r.moistOutLow = s.b[kMoistOutByte + 1];
  r.tempOutHigh = s.b[kTempOutByte];
  r.tempOutLow = s.b[kTempOutByte + 1];
  r.rollSpeedHigh = 0;
  r.rollSpeedLow = s.b[kRollSpeedByte];
  r.spare = s.b[kSpareByte];
  r.year = now.year;
  r.month = now.month;
  r.day = now.day;
  r.hour12 = now.hour == 0 ? 12 : (now.hour > 12 ? now.hour - 12 : now.hour);
  r.amPm = now.hour < 12 ? 'A' : 'P';
  r.minute = now.minute;
  r.second = now.second;
}

int FormatTenths(char* out, size_t size, int tenths) {
  const char* sign = tenths < 0 ? "-" : "";
  int magnitude = tenths < 0 ? -tenths : tenths;
  return std::snprintf(out, size, "%s%d.%01d", sign, magnitude / 10, magnitude % 10);
}

int FormatLongTermLine(const LongTermRecord& r, char* out, size_t size) {
  char tempIn[16], tempOut[16];
  FormatTenths(tempIn, sizeof tempIn, SignedWord(r.tempInHigh, r.tempInLow));
  FormatTenths(tempOut, sizeof tempOut, SignedWord(r.tempOutHigh, r.tempOutLow));
  int moistIn = Word(r.moistInHigh, r.moistInLow);
  int moistOut = Word(r.moistOutHigh, r.moistOutLow);
  int n = std::snprintf(out, size, "%04d-%02d-%02d,%02d:%02d:%02d%s,%d,%d.%d,%s,%d.%01d,%s,%d\r\n",
                        r.year, r.month, r.day, r.hour12, r.minute, r.second,
                        r.amPm == 'P' ? "PM" : "AM", SignedWord(r.grainTempHigh, r.grainTempLow),
                        moistIn / 10, moistIn % 10, tempIn, moistOut / 10, moistOut % 10, tempOut,
                        Word(r.rollSpeedHigh, r.rollSpeedLow));
  if (n < 0) return 0;
  return static_cast<size_t>(n) < size ? n : static_cast<int>(size) - 1;
}

int UsedPercentForSize(uint64_t size) {
  double left = static_cast<double>(kLongTermCapacity) - static_cast<double>(size);
  if (left <= 0) return 100;
  double used = 100.0 - left * (1.0 / static_cast<double>(kLongTermCapacity)) * 100.0;
  return static_cast<int>(used);
}

int LongTermUsedPercent() {
  uint64_t size = 0;
  if (plat::FileSizeByPath(kLongTermPath, size) != plat::FileResult::Ok) return 0;
  return UsedPercentForSize(size);
}

LongTermResult AppendLongTermLine(const LongTermRecord& record, int& usedPercent) {
  plat::CreateFolder(kLongTermFolder);
  plat::FileHandle f;
  if (plat::OpenFile(kLongTermPath, plat::OpenMode::OpenAlways, f) != plat::FileResult::Ok)
    return LongTermResult::OpenFailed;
  uint64_t size = 0;
  if (plat::GetFileSize(f, size) != plat::FileResult::Ok) {
    plat::CloseFile(f);
    return LongTermResult::OpenFailed;
  }
  usedPercent = UsedPercentForSize(size);
  if (usedPercent >= 100) {
    plat::CloseFile(f);
    return LongTermResult::Full;
  }
  if (!gLongTermEnabled) {
    plat::CloseFile(f);
    return LongTermResult::NotEnabled;
  }
  char line[kLongTermLineChars];
  int length = FormatLongTermLine(record, line, sizeof line);
  // The outcome of the write is not reported, but a torn line must not stay behind.
  if (!EndLastLine(f, size) ||
      plat::SeekFile(f, static_cast<int64_t>(size), plat::SeekFrom::Begin) != plat::FileResult::Ok ||
      plat::WriteFile(f, line, static_cast<size_t>(length)) != plat::FileResult::Ok)
    plat::TruncateFile(f, size);
  plat::CloseFile(f);
  return LongTermResult::Written;
}

}  // namespace records
