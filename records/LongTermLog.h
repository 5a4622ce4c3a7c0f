#pragma once
// The long-term data log: one comma-separated line every 12 seconds while the controller's
// data logger is on and the dryer runs, in "\Hard Disk\DataLog\LongTermDataLog.dat", up to a
// fixed capacity of 5 MB. The file is opened and closed for every line, so the data-logger
// dialog can copy or delete it at any time.
#include <cstddef>
#include <cstdint>

namespace lnk {
struct DryerStatus;
}
namespace plat {
struct LocalTime;
}

namespace records {

inline constexpr uint64_t kLongTermCapacity = 5242880;  // 5 x 1,048,576 bytes
inline constexpr int kLongTermWarnPercent = 70;         // warned once per run above this
inline constexpr const char* kLongTermFolder = "\\Hard Disk\\DataLog";
inline constexpr const char* kLongTermPath = "\\Hard Disk\\DataLog\\LongTermDataLog.dat";
inline constexpr int kLongTermLineChars = 128;
// Lines the card refused wait in memory, oldest first: an hour of lines at one every 12 s.
inline constexpr int kLongTermKeptLines = 300;

// Every field holds one byte value (a 16-bit reading is high x 256 + low), as the log's
// original record did.
struct LongTermRecord {
  int32_t grainTempHigh, grainTempLow;
  int32_t moistInHigh, moistInLow;
  int32_t tempInHigh, tempInLow;
  int32_t moistOutHigh, moistOutLow;
  int32_t tempOutHigh, tempOutLow;
  int32_t rollSpeedHigh, rollSpeedLow;
  int32_t spare;
  int32_t year, month, day;
  int32_t hour12, minute, second;
  char amPm;  // 'A' or 'P'
};

enum class LongTermResult : uint8_t {
  Written = 0,
  NotEnabled = 1,  // the dryer is not running
  OpenFailed = 2,  // storage missing or the file locked: the line waits in memory
  Kept = 3,        // opened, but the card refused the line: it waits in memory
  Full = 4,
};
const char* LongTermResultText(LongTermResult r);

// Fills the record from the status and the time. For an unknown grain-temperature source the
// grain temperature already in `record` is kept.
void FillLongTermRecord(LongTermRecord& record, const lnk::DryerStatus& s, const plat::LocalTime& now);

// The line as written, CR LF included; returns its length.
int FormatLongTermLine(const LongTermRecord& record, char* out, size_t size);

// Appends one line after the lines kept from earlier appends. `usedPercent` is delivered for
// Written, Kept, NotEnabled and Full. A write that fails leaves the file as it was before it,
// and the lines not written are kept in memory (the oldest let go when the memory is full) for
// the next append or WriteKeptLongTermLines.
LongTermResult AppendLongTermLine(const LongTermRecord& record, int& usedPercent);

// Writes the lines kept in memory, if any; the log's enable flag does not matter, they were
// taken while it was on. Returns the number still kept.
int WriteKeptLongTermLines();
int KeptLongTermLines();
// Tests: lets the kept lines go.
void ForgetKeptLongTermLines();

// Used share of the capacity of the log file in whole percent, 0..100 (0 when there is no
// file or it cannot be opened).
int LongTermUsedPercent();
int UsedPercentForSize(uint64_t size);

void SetLongTermEnabled(bool on);
bool LongTermEnabled();

// Signed tenths as "%d.%01d" with the sign written once: -5 gives "-0.5".
int FormatTenths(char* out, size_t size, int tenths);

}  // namespace records
