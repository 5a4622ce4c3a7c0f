#pragma once
// The shutdown history: one row per shutdown or warning the controller reported, with its
// description, the node's name and the panel's local time, in the database file
// "\Hard Disk\ShutdownHistoryDB". The link thread adds rows while the UI lists, exports or
// clears them; one connection serves both, each operation holding the store's lock.
#include <cstddef>
#include <cstdint>

namespace plat {
struct LocalTime;
}

namespace records {

inline constexpr const char* kHistoryPath = "\\Hard Disk\\ShutdownHistoryDB";
inline constexpr const char* kHistoryAsidePrefix = "\\Hard Disk\\ShutdownHistoryDB.damaged-";
inline constexpr const char* kHistoryExportPath = "\\Hard Disk2\\DryerShutdownHistory.txt";
// The export is written here and renamed over kHistoryExportPath once it is whole.
inline constexpr const char* kHistoryExportTempPath = "\\Hard Disk2\\DryerShutdownHistory.tmp";
inline constexpr const char16_t* kAutoStartDescription = u"User Accepted Auto-Start MC Setup";
inline constexpr const char16_t* kAutoStartNode = u"Global";

inline constexpr int kDescriptionUnits = 150;  // 149 characters and the terminator
inline constexpr int kNodeNameUnits = 32;
inline constexpr int kListDescriptionUnits = 101;  // the list shows up to 100 characters
inline constexpr int kListNodeUnits = 26;          // and up to 25 of the node's name
inline constexpr int kExportPieceBytes = 500;

// Key orders of the three list sorts (all ascending).
enum class HistorySort : uint8_t {
  ByWarning = 0,   // description, node, time
  ByNode = 1,      // node, description, time
  ByDateTime = 2,  // time, description, node
};

enum class HistoryResult : uint8_t {
  Ok,
  Queued,       // handed to the writer thread, written shortly
  Unavailable,  // the store could not be opened or created (storage missing)
  Failed,       // the store refused the operation; nothing was changed
  Count,
};
const char* HistoryResultText(HistoryResult r);

// How OpenHistoryStore found the file.
enum class HistoryOpen : uint8_t { Opened, Created, ReplacedDamaged, Unavailable };

struct HistoryRow {
  char16_t description[kListDescriptionUnits];
  char16_t node[kListNodeUnits];
  char16_t date[16];  // "Oct 04, 2016"
  char16_t time[12];  // "7:05 PM"
};

// Opens the store, creating it when missing. A damaged file, or anything else standing at the
// path (another database, one whose schema is not exactly ours, a folder), is moved aside with
// its journals under kHistoryAsidePrefix + the time and a new, empty store takes its place.
// A store started afresh, or one that cannot be written, is reported as a StorageCondition.
HistoryOpen OpenHistoryStore();
void CloseHistoryStore();

// Appends a row for (node, warning) with the warning's description in the display language;
// a node without a name or without a warning table gives empty texts. Safe on the link thread:
// while the writer thread runs (HistoryWriter.h) the row is queued for it (Queued) and the
// caller never waits on the card; otherwise it is written at once.
HistoryResult AddShutdownRecord(int nodeId, int warningId);
HistoryResult AddAutoStartAcceptedRecord();
// Writes one row at once, on the calling thread.
HistoryResult AddHistoryRecord(const char16_t* description, const char16_t* node,
                               const plat::LocalTime& when);

// Counts the rows and keeps the count for the list and the export: rows added after this
// call are left out until it is called again (by the list wherever they sort, so its pages
// never shift under it).
uint32_t ReadHistoryCount();
uint32_t CachedHistoryCount();

// The list shows the rows counted by the last ReadHistoryCount in `order` reversed: the last
// in the order at the top (so by date/time the newest comes first). A row's place in the
// list is its index from 0 at the top.
//
// Reads the list's rows first .. first + capacity - 1 into `rows`, for a list too long to
// hold: each call is one read along the order's index, never a sort. Returns the rows filled,
// fewer past the end of the counted rows, 0 when the store cannot be read.
int ReadHistoryRows(HistorySort order, uint32_t first, HistoryRow* rows, int capacity);
// The list's first `capacity` rows.
int FillHistoryList(HistorySort order, HistoryRow* rows, int capacity);

enum class ExportResult : uint8_t {
  Exported,
  CannotCreate,  // the file on the stick could not be created: nothing is shown
  StoreUnavailable,
  QueryFailed,
  WriteFailed,  // stopped part-way; the partial file was removed, an earlier export kept
  Count,
};
struct ExportOutcome {
  ExportResult result;
  uint32_t rows;  // rows written
  int code;       // the store's error code for the messages
};
// Writes the cached number of rows, oldest first, to kHistoryExportPath as
// "description;node;Oct 04, 2016;7:05 PM;" and LF, in the panel's 8-bit code page. The file
// is written under kHistoryExportTempPath and replaces an earlier export only when whole.
ExportOutcome ExportHistory();
// The message box text for an outcome, or false when nothing is shown.
bool ExportMessage(const ExportOutcome& outcome, char* out, size_t size);

// Removes every row in one transaction; the count becomes 0.
HistoryResult ClearHistory();

// The node's name ("FAN/HEATER #1"), empty for a node without one.
void NodeName(int nodeId, char16_t* dest, size_t units);

// The node and warning named by the description's first four characters, two hexadecimal
// digits each; a character outside 0-9 and A-F, or past the end of the text, counts as 0.
struct HelpIds {
  int node;
  int warning;
};
HelpIds DecodeHelpIds(const char16_t* description);

// 64-bit file time (100 ns steps since 1601) of a local time, and back.
int64_t FileTimeFromLocal(const plat::LocalTime& t);
plat::LocalTime LocalFromFileTime(int64_t fileTime);

}  // namespace records
