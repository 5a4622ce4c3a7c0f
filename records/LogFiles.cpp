#include "records/LogFiles.h"

#include <cstdio>
#include <cstring>

#include <strings.h>

#include "platform/Clock.h"
#include "platform/TimeFormat.h"

namespace records {

namespace {

constexpr const char* kNameDatePicture = "yy'_'MM'_'dd'_'";
constexpr const char* kNameTimePicture = "HH'_'mm'_'ss";

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

bool IsLast(const LogFileEntry& e, const LastLogWrite& last) {
  return last.path[0] != 0 && e.size == last.size && ::strcasecmp(e.path, last.path) == 0;
}

bool EntryBefore(const LogFileEntry& a, const LogFileEntry& b, const LastLogWrite& last) {
  bool aLast = IsLast(a, last), bLast = IsLast(b, last);
  if (aLast != bLast) return bLast;
  if (a.written != b.written) return a.written < b.written;
  return a.started < b.started;
}

}  // namespace

uint64_t StampFromName(const char* name) {
  // Six two-digit groups separated by '_': 17 characters.
  size_t n = std::strlen(name);
  for (size_t i = 0; i + 17 <= n; ++i) {
    bool match = true;
    for (int g = 0; g < 6 && match; ++g) {
      const char* p = name + i + g * 3;
      match = IsDigit(p[0]) && IsDigit(p[1]) && (g == 5 || p[2] == '_');
    }
    if (!match) continue;
    uint64_t v = 0;
    for (int g = 0; g < 6; ++g) {
      const char* p = name + i + g * 3;
      v = v * 100 + static_cast<uint64_t>((p[0] - '0') * 10 + (p[1] - '0'));
    }
    return v;
  }
  return 0;
}

bool MakeStampedName(char* out, size_t size, const char* prefix, const plat::LocalTime& t,
                     const char* suffix) {
  char date[16], time[16];
  plat::FormatTime(t, kNameDatePicture, date, sizeof date);
  plat::FormatTime(t, kNameTimePicture, time, sizeof time);
  int n = std::snprintf(out, size, "%s%s%s%s", prefix, date, time, suffix);
  return n > 0 && static_cast<size_t>(n) < size;
}

void BuildLogFileList(const char* folder, const char* pattern, const LastLogWrite& last, LogFileList& out) {
  out.count = 0;
  plat::FindHandle h;
  plat::FindData fd;
  plat::FileResult r = plat::FindFirstFile(pattern, h, fd);
  while (r == plat::FileResult::Ok && out.count < kLogListMax) {
    if (!fd.isFolder) {
      LogFileEntry& e = out.files[out.count];
      int n = std::snprintf(e.path, sizeof e.path, "%s\\%s", folder, fd.name);
      if (n > 0 && static_cast<size_t>(n) < sizeof e.path) {
        plat::FileInfo info;
        e.size = fd.size;
        e.started = StampFromName(fd.name);
        e.written = plat::GetFileInfo(e.path, info) == plat::FileResult::Ok ? info.modifiedEpochSeconds : 0;
        ++out.count;
      }
    }
    r = plat::FindNextFile(h, fd);
  }
  plat::FindClose(h);
  // Insertion sort keeps the search order among equal keys.
  for (int i = 1; i < out.count; ++i) {
    LogFileEntry e = out.files[i];
    int j = i;
    while (j > 0 && EntryBefore(e, out.files[j - 1], last)) {
      out.files[j] = out.files[j - 1];
      --j;
    }
    out.files[j] = e;
  }
}

plat::FileResult AppendRecordToFile(const char* path, const SampleRecord& record, LastLogWrite& last) {
  plat::FileHandle f;
  plat::FileResult r = plat::OpenFile(path, plat::OpenMode::OpenAlways, f);
  if (r != plat::FileResult::Ok) return r;
  uint64_t size = 0;
  r = plat::GetFileSize(f, size);
  uint64_t whole = size - size % kSampleBytes;
  if (r == plat::FileResult::Ok && whole != size) r = plat::TruncateFile(f, whole);
  if (r == plat::FileResult::Ok) r = plat::SeekFile(f, static_cast<int64_t>(whole), plat::SeekFrom::Begin);
  if (r == plat::FileResult::Ok) {
    r = plat::WriteFile(f, record.b, kSampleBytes);
    if (r != plat::FileResult::Ok) plat::TruncateFile(f, whole);
  }
  plat::CloseFile(f);
  if (r == plat::FileResult::Ok) {
    std::snprintf(last.path, sizeof last.path, "%s", path);
    last.size = whole + kSampleBytes;
  }
  return r;
}

plat::FileResult ReadRecordsFromFile(const char* path, uint64_t size, int64_t first, int count,
                                     SampleRecord* out) {
  int64_t records = WholeRecords(size);
  if (count <= 0) return plat::FileResult::Ok;
  if (first < 0 || first + count > records) return plat::FileResult::EndOfFile;
  plat::FileHandle f;
  plat::FileResult r = plat::OpenFile(path, plat::OpenMode::Read, f);
  if (r != plat::FileResult::Ok) return r;
  int64_t fromEnd = (records - first) * kSampleBytes;
  r = plat::SeekFile(f, static_cast<int64_t>(size) - fromEnd, plat::SeekFrom::Begin);
  size_t want = static_cast<size_t>(count) * kSampleBytes;
  size_t got = 0;
  if (r == plat::FileResult::Ok) r = plat::ReadFile(f, out, want, got);
  if (r == plat::FileResult::Ok && got != want) r = plat::FileResult::EndOfFile;
  plat::CloseFile(f);
  return r;
}

}  // namespace records
