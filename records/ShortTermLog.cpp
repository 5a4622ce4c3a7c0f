#include "records/ShortTermLog.h"

#include <cstdio>

#include "i18n/Language.h"
#include "platform/Clock.h"
#include "platform/Files.h"
#include "records/LogFiles.h"
#include "records/StorageNotice.h"

namespace records {

namespace {

constexpr const char* kFolderName = "ShortTermDataLog";
constexpr const char* kPatternName = "ShortTermDataLog\\DATA_LOG_24HR??_??_??_??_??_??.DAT";
constexpr const char* kFilePrefix = "ShortTermDataLog\\DATA_LOG_24HR";
constexpr const char* kFileSuffix = ".DAT";
constexpr uint64_t kLastNotFullSize = kShortTermFileBytes - 1;  // 2591

constexpr const char* kLogResultTexts[] = {
    "written",
    "dryer not running",
    "log file cannot be opened",
    "log write failed",
    "too many log files",
    "old log file cannot be deleted",
    "log read failed",
};
static_assert(sizeof kLogResultTexts / sizeof kLogResultTexts[0] ==
              static_cast<size_t>(LogResult::Count));

struct ShortTermState {
  uint32_t generation = 1;
  LastLogWrite lastWrite{};
  // The newest sample the card refused; an older one is replaced, not queued.
  bool keeping = false;
  SampleRecord keptSample{};
};
ShortTermState gShortTerm;

void ListShortTermFiles(LogFileList& list) {
  char folder[kLogPathChars];
  char pattern[kLogPathChars];
  if (!ShortTermFolderPath(folder, sizeof folder) ||
      !i18n::StoragePath(kPatternName, pattern, sizeof pattern)) {
    list.count = 0;
    return;
  }
  BuildLogFileList(folder, pattern, gShortTerm.lastWrite, list);
}

LogResult AppendTo(const char* path, const SampleRecord& record) {
  plat::FileResult r = AppendRecordToFile(path, record, gShortTerm.lastWrite);
  NoteStorageWrite(StorageSource::ShortTermLog, r);
  if (r == plat::FileResult::Ok) return LogResult::Ok;
  return plat::FileExists(path) ? LogResult::WriteFailed : LogResult::NoStorage;
}

LogResult StartNewFile(const SampleRecord& record) {
  char folder[kLogPathChars];
  char name[kLogPathChars];
  char path[kLogPathChars];
  plat::LocalTime now;
  plat::GetLocalTime(now);
  if (!ShortTermFolderPath(folder, sizeof folder) ||
      !MakeStampedName(name, sizeof name, kFilePrefix, now, kFileSuffix) ||
      !i18n::StoragePath(name, path, sizeof path))
    return LogResult::NoStorage;
  plat::FileResult made = plat::CreateFolder(folder);
  if (made != plat::FileResult::Ok) {
    NoteStorageWrite(StorageSource::ShortTermLog, made);
    return LogResult::NoStorage;
  }
  return AppendTo(path, record);
}

// Reads records [first, first + count) of the two files taken as one sequence, older first.
bool ReadAcross(const LogFileList& list, int files, int64_t first, int count, SampleRecord* out) {
  for (int i = 0; i < files && count > 0; ++i) {
    int64_t inFile = WholeRecords(list.files[i].size);
    if (first >= inFile) {
      first -= inFile;
      continue;
    }
    int take = static_cast<int>(inFile - first < count ? inFile - first : count);
    if (ReadRecordsFromFile(list.files[i].path, list.files[i].size, first, take, out) !=
        plat::FileResult::Ok)
      return false;
    out += take;
    count -= take;
    first = 0;
  }
  return count == 0;
}

}  // namespace

const char* LogResultText(LogResult r) {
  size_t i = static_cast<size_t>(r);
  return i < static_cast<size_t>(LogResult::Count) ? kLogResultTexts[i] : "";
}

bool ShortTermFolderPath(char* out, size_t size) { return i18n::StoragePath(kFolderName, out, size); }

uint32_t ShortTermLogGeneration() { return gShortTerm.generation; }

namespace {

LogResult WriteSample(const SampleRecord& record) {
  ++gShortTerm.generation;
  LogFileList list;
  ListShortTermFiles(list);
  switch (list.count) {
    case 0:
      return StartNewFile(record);
    case 1:
      if (list.files[0].size < kShortTermFileBytes) return AppendTo(list.files[0].path, record);
      return StartNewFile(record);
    case 2:
      if (list.files[0].size <= kLastNotFullSize) return AppendTo(list.files[0].path, record);
      if (list.files[1].size > kLastNotFullSize) {
        // Both full: the one written longest ago goes. The list is in the order of writing.
        if (plat::FileResult r = plat::DeleteFile(list.files[0].path); r != plat::FileResult::Ok) {
          NoteStorageWrite(StorageSource::ShortTermLog, r);
          return LogResult::DeleteFailed;
        }
        return StartNewFile(record);
      }
      return AppendTo(list.files[1].path, record);
    default:
      return LogResult::TooManyFiles;
  }
}

}  // namespace

LogResult AppendSample(const SampleRecord& record) {
  LogResult r = WriteSample(record);
  // Too many files wait for the operator to clear the table, not for the card.
  gShortTerm.keeping = r != LogResult::Ok && r != LogResult::TooManyFiles;
  if (gShortTerm.keeping) gShortTerm.keptSample = record;
  return r;
}

bool WriteKeptSample() {
  if (gShortTerm.keeping) AppendSample(gShortTerm.keptSample);
  return !gShortTerm.keeping;
}

void ForgetKeptSample() { gShortTerm.keeping = false; }

int CountSamples() {
  LogFileList list;
  ListShortTermFiles(list);
  int64_t total = 0;
  for (int i = 0; i < list.count && i < 2; ++i) total += WholeRecords(list.files[i].size);
  return static_cast<int>(total < kShortTermMaxCount ? total : kShortTermMaxCount);
}

int ReadSamplePage(int rows, SampleRecord* buffer, int startOffset) {
  if (rows <= 0 || startOffset < 0) return 0;
  LogFileList list;
  ListShortTermFiles(list);
  if (list.count == 0) return 0;
  if (list.count >= kLogListMax) {
    ++gShortTerm.generation;
    for (int i = 0; i < list.count; ++i) plat::DeleteFile(list.files[i].path);
    return 0;
  }
  int n = rows;
  if (list.count == 1 && n > kChartRows) n = kChartRows;
  int64_t total = 0;
  for (int i = 0; i < list.count; ++i) total += WholeRecords(list.files[i].size);
  int64_t end = total - startOffset;
  int64_t first = end - n;
  if (first < 0) {
    first = 0;
    end = total < n ? total : n;
  }
  int count = static_cast<int>(end - first);
  if (!ReadAcross(list, list.count, first, count, buffer)) return kSampleReadFailed;
  return count;
}

void ClearSamples() {
  ++gShortTerm.generation;
  LogFileList list;
  ListShortTermFiles(list);
  for (int i = 0; i < list.count && i < 2; ++i) plat::DeleteFile(list.files[i].path);
}

}  // namespace records
