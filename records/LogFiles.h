#pragma once
// The file list and record access shared by the short-term and graph logs: a log is a folder
// of files of whole 18-byte records, each file named after the moment it was started.
#include <cstddef>
#include <cstdint>

#include "platform/Files.h"
#include "records/SampleRecord.h"

namespace plat {
struct LocalTime;
}

namespace records {

inline constexpr int kLogListMax = 3;
inline constexpr int kLogPathChars = 512;

struct LogFileEntry {
  char path[kLogPathChars];  // panel path
  uint64_t size;
  uint64_t started;  // yyMMddHHmmss read from the name; 0 when the name does not carry one
  int64_t written;   // last modification, seconds of the system clock
};

// Written longest ago first. The name carries the panel clock when the file was started, and
// that clock can be set back below the names already on the card, so the order is that of
// the writes: the file this program appended to last is the newest, then the modification
// times decide, then the names, then the platform's search order.
struct LogFileList {
  int count;
  LogFileEntry files[kLogListMax];
};

// The file a log appended to last and the size it left, kept by each log for this run. A
// file changed since by anyone else no longer matches.
struct LastLogWrite {
  char path[kLogPathChars];
  uint64_t size;
};

// Lists at most three files matching `pattern` (panel path with '?' and '*'); folders are
// skipped. `folder` is the panel path the names are found in. An unreadable or missing folder
// gives an empty list.
void BuildLogFileList(const char* folder, const char* pattern, const LastLogWrite& last, LogFileList& out);

// `prefix` + "yy_MM_dd_HH_mm_ss" + `suffix`; false when it does not fit.
bool MakeStampedName(char* out, size_t size, const char* prefix, const plat::LocalTime& t,
                     const char* suffix);

// The yyMMddHHmmss number of the first "dd_dd_dd_dd_dd_dd" run in `name`, or 0.
uint64_t StampFromName(const char* name);

inline int64_t WholeRecords(uint64_t size) { return static_cast<int64_t>(size / kSampleBytes); }

// Appends one record. A torn record left at the end by an interrupted write is cut off
// first, and a failed write is cut back, so the file stays a sequence of whole records and
// every earlier record is kept. Returns the first failing operation's result; on Ok `last`
// names the file.
plat::FileResult AppendRecordToFile(const char* path, const SampleRecord& record, LastLogWrite& last);

// Reads `count` records starting at whole record `first` (0 = oldest) of a file of `size`
// bytes. Records are counted back from the end of the file, so a file with stray bytes at
// its start still reads its newest records whole. Ok only when all were read.
plat::FileResult ReadRecordsFromFile(const char* path, uint64_t size, int64_t first, int count,
                                     SampleRecord* out);

}  // namespace records
