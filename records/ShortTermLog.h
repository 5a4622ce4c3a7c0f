#pragma once
// The short-term data log: 18-byte samples in at most two files of 144 records each, in the
// folder "ShortTermDataLog" under the storage root, read back a page at a time by the status
// chart.
#include <cstddef>
#include <cstdint>

#include "records/SampleRecord.h"

namespace records {

inline constexpr int kShortTermRecordsPerFile = 144;
inline constexpr uint64_t kShortTermFileBytes = kShortTermRecordsPerFile * kSampleBytes;  // 2592
inline constexpr int kShortTermMaxCount = 144;  // CountSamples never reports more
inline constexpr int kChartRows = 8;            // a page of the status chart
inline constexpr int kSampleReadFailed = -1;    // ReadSamplePage: nothing usable was read

enum class LogResult : uint8_t {
  Ok,
  NotRunning,     // the dryer is not running: nothing to log
  NoStorage,      // the file or its folder could not be created or opened
  WriteFailed,    // opened, but the record was not written; the file is as it was
  TooManyFiles,   // more log files than the log makes: the table must be cleared first
  DeleteFailed,   // the full older file could not be removed, so no new file was started
  ReadFailed,
  Count,
};
const char* LogResultText(LogResult r);

// Appends one sample, starting a new file (named after the current local time) when the
// current one is full and removing the older file when both are full. A sample the card
// refuses is kept in memory until WriteKeptSample writes it or a newer sample replaces it.
LogResult AppendSample(const SampleRecord& record);
// Writes the kept sample, if any. True when none is kept afterwards.
bool WriteKeptSample();
// Tests: lets the kept sample go.
void ForgetKeptSample();

// Whole records in the first two listed files together, at most 144.
int CountSamples();

// Up to `rows` consecutive records (oldest first) that end `startOffset` records before the
// newest; a page that would run past the oldest record shows the oldest page instead. With
// one file the page is kChartRows records whatever `rows` asks (never more than `rows`).
// Returns the number of records read, or kSampleReadFailed when a read failed. Three files
// (more than the log ever makes) are all deleted and 0 is returned.
int ReadSamplePage(int rows, SampleRecord* buffer, int startOffset);

// Deletes the first two listed files; a third, if any, stays.
void ClearSamples();

// Changes whenever this program changes the log's files, so a window can keep what it read
// until the log changes.
uint32_t ShortTermLogGeneration();

// Panel paths of the folder and of the search pattern, through the storage root rule.
bool ShortTermFolderPath(char* out, size_t size);

}  // namespace records
