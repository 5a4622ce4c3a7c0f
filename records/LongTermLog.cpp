#include "records/LongTermLog.h"

#include <cstdio>
#include <cstring>

#include "link/DryerStatus.h"
#include "link/RegisterMap.h"
#include "platform/Clock.h"
#include "platform/Files.h"
#include "records/SampleRecord.h"
#include "records/StorageNotice.h"

namespace records {

namespace {

constexpr int kSpareByte = lnk::kStatusMoistureControl202;

// Reach of the search for the last line end: several lines, far more than one.
constexpr size_t kTailBytes = 4 * kLongTermLineChars;

// A power cut can leave the last line without its end, and a line appended to it would join
// two records into one broken row. The cut line is taken back to the last line end (a lone CR
// only lacks its LF); a tail with no line end in reach is not a line of ours and is ended
// instead, so nothing of it is lost. Returns the first failing operation's result.
plat::FileResult EndLastLine(plat::FileHandle f, uint64_t& size) {
  if (size == 0) return plat::FileResult::Ok;
  char tail[kTailBytes];
  size_t want = size < kTailBytes ? static_cast<size_t>(size) : kTailBytes;
  size_t got = 0;
  plat::FileResult r = plat::SeekFile(f, static_cast<int64_t>(size - want), plat::SeekFrom::Begin);
  if (r == plat::FileResult::Ok) r = plat::ReadFile(f, tail, want, got);
  if (r == plat::FileResult::Ok && got != want) r = plat::FileResult::EndOfFile;
  if (r != plat::FileResult::Ok) return r;
  if (tail[want - 1] == '\n') return plat::FileResult::Ok;
  const char* ending = nullptr;
  if (tail[want - 1] == '\r') {
    ending = "\n";
  } else {
    size_t keep = want;
    while (keep > 0 && tail[keep - 1] != '\n') --keep;
    if (keep > 0 || want == size) {
      uint64_t cut = size - want + keep;
      r = plat::TruncateFile(f, cut);
      if (r == plat::FileResult::Ok) size = cut;
      return r;
    }
    ending = "\r\n";
  }
  size_t n = std::strlen(ending);
  r = plat::SeekFile(f, static_cast<int64_t>(size), plat::SeekFrom::Begin);
  if (r == plat::FileResult::Ok) r = plat::WriteFile(f, ending, n);
  if (r != plat::FileResult::Ok) {
    plat::TruncateFile(f, size);
    return r;
  }
  size += n;
  return plat::FileResult::Ok;
}

// Lines the card refused, oldest first, in a fixed ring: when it is full the oldest goes.
struct KeptLine {
  char text[kLongTermLineChars];
  int length;
};
struct KeptLines {
  KeptLine lines[kLongTermKeptLines];
  int head = 0;
  int count = 0;
};
struct LongTermState {
  bool enabled = false;
  KeptLines kept;
};
LongTermState gLongTerm;

void Keep(const char* line, int length) {
  if (gLongTerm.kept.count == kLongTermKeptLines) {
    gLongTerm.kept.head = (gLongTerm.kept.head + 1) % kLongTermKeptLines;
    --gLongTerm.kept.count;
    NoteStorageMemoryFull();
  }
  KeptLine& k = gLongTerm.kept.lines[(gLongTerm.kept.head + gLongTerm.kept.count) % kLongTermKeptLines];
  std::memcpy(k.text, line, static_cast<size_t>(length));
  k.length = length;
  ++gLongTerm.kept.count;
}

// Writes kept lines at `size` while the file has room, each whole or not at all.
plat::FileResult WriteKept(plat::FileHandle f, uint64_t& size) {
  while (gLongTerm.kept.count > 0 && size < kLongTermCapacity) {
    const KeptLine& k = gLongTerm.kept.lines[gLongTerm.kept.head];
    plat::FileResult r = plat::WriteFile(f, k.text, static_cast<size_t>(k.length));
    if (r != plat::FileResult::Ok) {
      plat::TruncateFile(f, size);
      return r;
    }
    size += static_cast<uint64_t>(k.length);
    gLongTerm.kept.head = (gLongTerm.kept.head + 1) % kLongTermKeptLines;
    --gLongTerm.kept.count;
  }
  return plat::FileResult::Ok;
}

// Opens the log, creating its folder and the file when missing, and gives its size.
plat::FileResult OpenForAppend(plat::FileHandle& f, uint64_t& size) {
  plat::CreateFolder(kLongTermFolder);
  plat::FileResult r = plat::OpenFile(kLongTermPath, plat::OpenMode::OpenAlways, f);
  if (r != plat::FileResult::Ok) return r;
  size = 0;
  r = plat::GetFileSize(f, size);
  if (r != plat::FileResult::Ok) plat::CloseFile(f);
  return r;
}

// Makes the last line whole and puts the position at the end.
plat::FileResult PrepareEnd(plat::FileHandle f, uint64_t& size) {
  plat::FileResult r = EndLastLine(f, size);
  if (r == plat::FileResult::Ok) r = plat::SeekFile(f, static_cast<int64_t>(size), plat::SeekFrom::Begin);
  return r;
}

int Word(int32_t high, int32_t low) { return static_cast<int>((high & 0xFF) * 256 + (low & 0xFF)); }
int SignedWord(int32_t high, int32_t low) { return static_cast<int16_t>(Word(high, low)); }

}  // namespace

const char* LongTermResultText(LongTermResult r) {
  switch (r) {
    case LongTermResult::Written: return "written";
    case LongTermResult::NotEnabled: return "logging not enabled";
    case LongTermResult::OpenFailed: return "file cannot be opened";
    case LongTermResult::Kept: return "line kept in memory";
    case LongTermResult::Full: return "file full";
  }
  return "";
}

void SetLongTermEnabled(bool on) { gLongTerm.enabled = on; }
bool LongTermEnabled() { return gLongTerm.enabled; }

void FillLongTermRecord(LongTermRecord& r, const lnk::DryerStatus& s, const plat::LocalTime& now) {
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
  char line[kLongTermLineChars];
  int length = FormatLongTermLine(record, line, sizeof line);
  plat::FileHandle f;
  uint64_t size = 0;
  plat::FileResult r = OpenForAppend(f, size);
  if (r != plat::FileResult::Ok) {
    NoteStorageWrite(StorageSource::LongTermLog, r);
    if (gLongTerm.enabled) Keep(line, length);
    return LongTermResult::OpenFailed;
  }
  usedPercent = UsedPercentForSize(size);
  if (usedPercent >= 100) {
    plat::CloseFile(f);
    return LongTermResult::Full;
  }
  // With nothing to write the file is left exactly as it is.
  if (gLongTerm.enabled || gLongTerm.kept.count > 0) r = PrepareEnd(f, size);
  if (r == plat::FileResult::Ok) r = WriteKept(f, size);
  bool kept = false;
  if (gLongTerm.enabled) {
    // Behind lines still kept, the new one waits its turn so the file stays in time order.
    if (r == plat::FileResult::Ok && gLongTerm.kept.count == 0) {
      r = plat::WriteFile(f, line, static_cast<size_t>(length));
      if (r != plat::FileResult::Ok) plat::TruncateFile(f, size);
    }
    kept = r != plat::FileResult::Ok || gLongTerm.kept.count > 0;
    if (kept) Keep(line, length);
  }
  plat::CloseFile(f);
  NoteStorageWrite(StorageSource::LongTermLog, r);
  if (!gLongTerm.enabled) return LongTermResult::NotEnabled;
  return kept ? LongTermResult::Kept : LongTermResult::Written;
}

int WriteKeptLongTermLines() {
  if (gLongTerm.kept.count == 0) return 0;
  plat::FileHandle f;
  uint64_t size = 0;
  plat::FileResult r = OpenForAppend(f, size);
  if (r == plat::FileResult::Ok) {
    r = PrepareEnd(f, size);
    if (r == plat::FileResult::Ok) r = WriteKept(f, size);
    plat::CloseFile(f);
  }
  NoteStorageWrite(StorageSource::LongTermLog, r);
  return gLongTerm.kept.count;
}

int KeptLongTermLines() { return gLongTerm.kept.count; }

void ForgetKeptLongTermLines() { gLongTerm.kept.head = gLongTerm.kept.count = 0; }

}  // namespace records
