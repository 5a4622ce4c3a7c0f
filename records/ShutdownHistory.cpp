#include "records/ShutdownHistory.h"

#include <cstdio>
#include <cstring>
#include <mutex>

#include "i18n/Language.h"
#include "link/RegisterMap.h"
#include "platform/Clock.h"
#include "platform/Database.h"
#include "platform/Files.h"
#include "platform/Text.h"
#include "platform/TimeFormat.h"
#include "records/CodePage.h"
#include "records/HistoryWriter.h"
#include "records/LogFiles.h"
#include "records/StorageNotice.h"
#include "records/UsbExport.h"

namespace records {

namespace {

constexpr int kSchemaVersion = 1;

// Everything the store holds besides its rows. A file is taken as ours only when its schema is
// exactly this: a table of the right name with other columns would refuse every insert.
struct SchemaEntry {
  const char* type;
  const char* name;
  const char* sql;  // as the database keeps it
};
constexpr SchemaEntry kSchema[] = {
    {"table", "ShutdownHistoryDB",
     "CREATE TABLE ShutdownHistoryDB ( id INTEGER PRIMARY KEY, description TEXT NOT NULL,"
     " node TEXT NOT NULL, recorded INTEGER NOT NULL)"},
    {"index", "ByWarning", "CREATE INDEX ByWarning ON ShutdownHistoryDB(description, node, recorded)"},
    {"index", "ByNode", "CREATE INDEX ByNode ON ShutdownHistoryDB(node, description, recorded)"},
    {"index", "ByDateTime", "CREATE INDEX ByDateTime ON ShutdownHistoryDB(recorded, description, node)"},
};
constexpr int kSchemaEntries = static_cast<int>(sizeof kSchema / sizeof kSchema[0]);
constexpr const char* kSchemaRows = "SELECT type, name, sql FROM sqlite_master";
constexpr const char* kInsert =
    "INSERT INTO ShutdownHistoryDB(description, node, recorded) VALUES(?1, ?2, ?3)";
constexpr const char* kCount = "SELECT count(*), coalesce(max(id), 0) FROM ShutdownHistoryDB";
constexpr const char* kClear = "DELETE FROM ShutdownHistoryDB";

// A page of the counted rows (ids up to the last counted one) in ascending sort order. Each
// index holds every column read and the id, so a page is read from the index alone and the
// rows skipped by OFFSET cost a step each, never a sort of the whole store.
constexpr const char* kPageSql[] = {
    "SELECT description, node, recorded FROM ShutdownHistoryDB INDEXED BY ByWarning"
    " WHERE id <= ?1 ORDER BY description, node, recorded, id LIMIT ?2 OFFSET ?3",
    "SELECT description, node, recorded FROM ShutdownHistoryDB INDEXED BY ByNode"
    " WHERE id <= ?1 ORDER BY node, description, recorded, id LIMIT ?2 OFFSET ?3",
    "SELECT description, node, recorded FROM ShutdownHistoryDB INDEXED BY ByDateTime"
    " WHERE id <= ?1 ORDER BY recorded, description, node, id LIMIT ?2 OFFSET ?3",
};
constexpr const char* kExportSql =
    "SELECT description, node, recorded FROM ShutdownHistoryDB"
    " ORDER BY recorded, description, node, id LIMIT ?1";

constexpr const char* kDatePicture = "MMM dd',' yyy";
constexpr const char* kTimePicture = "h':'mm tt";

constexpr int64_t kFileTimeEpochSeconds = 11644473600;  // 1601-01-01 to 1970-01-01
constexpr int64_t kFileTimeTicksPerSecond = 10000000;

// Error codes the export messages name, as the original store reported them.
constexpr int kCodeNotFound = 2;
constexpr int kCodeNoMemory = 8;
constexpr int kCodeInvalidParameter = 87;

constexpr const char* kHistoryResultTexts[] = {"ok", "queued", "history store unavailable",
                                               "history store failed"};
static_assert(sizeof kHistoryResultTexts / sizeof kHistoryResultTexts[0] ==
              static_cast<size_t>(HistoryResult::Count));

struct Store {
  std::mutex lock;
  plat::Database db;
  uint32_t cachedCount = 0;
  int64_t cachedLastId = 0;  // the rows counted are those with ids up to this one
  plat::DbResult lastFailure = plat::DbResult::Ok;
};
Store gStore;

enum class FileState : uint8_t { Ours, Empty, Foreign, Damaged, Unreadable };

const SchemaEntry* FindSchemaEntry(const char* type, const char* name) {
  for (const SchemaEntry& e : kSchema)
    if (std::strcmp(e.type, type) == 0 && std::strcmp(e.name, name) == 0) return &e;
  return nullptr;
}

FileState Classify(plat::Database& db) {
  plat::DbResult r = db.Check(nullptr);
  if (r == plat::DbResult::Corrupt || r == plat::DbResult::NotADatabase) return FileState::Damaged;
  if (r != plat::DbResult::Ok) return FileState::Unreadable;
  plat::Statement s;
  if (s.Prepare(db, kSchemaRows) != plat::DbResult::Ok) return FileState::Unreadable;
  int rows = 0;
  bool ours = true;
  for (;;) {
    r = s.Step();
    if (r == plat::DbResult::Done) break;
    if (r != plat::DbResult::Row) return FileState::Unreadable;
    ++rows;
    const SchemaEntry* e = FindSchemaEntry(s.ColumnText(0), s.ColumnText(1));
    if (e == nullptr || std::strcmp(e->sql, s.ColumnText(2)) != 0) ours = false;
  }
  s.Finalize();
  if (rows == 0) return FileState::Empty;
  int version = 0;
  if (!ours || rows != kSchemaEntries || db.UserVersion(version) != plat::DbResult::Ok ||
      version != kSchemaVersion)
    return FileState::Foreign;
  return FileState::Ours;
}

bool CreateSchema(plat::Database& db) {
  if (db.Begin() != plat::DbResult::Ok) return false;
  bool ok = true;
  for (const SchemaEntry& e : kSchema) ok = ok && db.Exec(e.sql) == plat::DbResult::Ok;
  if (!ok || db.SetUserVersion(kSchemaVersion) != plat::DbResult::Ok || db.Commit() != plat::DbResult::Ok) {
    db.Rollback();
    return false;
  }
  return true;
}

// The damaged file is kept beside the new one for whoever looks into it later.
bool MoveAside() {
  char aside[kLogPathChars];
  plat::LocalTime now;
  plat::GetLocalTime(now);
  if (!MakeStampedName(aside, sizeof aside, kHistoryAsidePrefix, now, "")) return false;
  return plat::MoveDatabaseAside(kHistoryPath, aside) == plat::DbResult::Ok;
}

HistoryOpen OpenOrReplaceLocked() {
  plat::Database& db = gStore.db;
  bool replaced = false;
  for (int attempt = 0; attempt < 2; ++attempt) {
    // A folder where the file belongs cannot be opened, but it can be moved out of the way.
    plat::DbResult r = plat::FolderExists(kHistoryPath) ? plat::DbResult::NotADatabase : db.Open(kHistoryPath);
    FileState state = FileState::Unreadable;
    if (r == plat::DbResult::Ok)
      state = Classify(db);
    else if (r == plat::DbResult::NotADatabase || r == plat::DbResult::Corrupt)
      state = FileState::Damaged;
    switch (state) {
      case FileState::Ours:
        return replaced ? HistoryOpen::ReplacedDamaged : HistoryOpen::Opened;
      case FileState::Empty:
        if (CreateSchema(db)) return replaced ? HistoryOpen::ReplacedDamaged : HistoryOpen::Created;
        gStore.lastFailure = plat::DbResult::IoError;
        db.Close();
        return HistoryOpen::Unavailable;
      case FileState::Foreign:
      case FileState::Damaged:
        db.Close();
        if (replaced || !MoveAside()) return HistoryOpen::Unavailable;
        replaced = true;
        break;
      case FileState::Unreadable:
        gStore.lastFailure = r == plat::DbResult::Ok ? plat::DbResult::IoError : r;
        db.Close();
        return HistoryOpen::Unavailable;
    }
  }
  return HistoryOpen::Unavailable;
}

HistoryOpen OpenLocked() {
  HistoryOpen how = OpenOrReplaceLocked();
  if (how == HistoryOpen::ReplacedDamaged) ReportStorageCondition(StorageCondition::HistoryStartedAfresh);
  if (how == HistoryOpen::Unavailable) ReportStorageCondition(StorageCondition::HistoryNotWritable);
  return how;
}

// Every operation opens the store on first use, so a card inserted after start-up is used.
bool EnsureOpenLocked() {
  if (gStore.db.IsOpen()) return true;
  return OpenLocked() != HistoryOpen::Unavailable;
}

void CopyUnits(char16_t* out, size_t units, const char16_t* in) { plat::Utf16Copy(out, units, in ? in : u""); }

int CodeFor(plat::DbResult r) {
  switch (r) {
    case plat::DbResult::IoError:
    case plat::DbResult::NotADatabase: return kCodeNotFound;
    case plat::DbResult::Misuse: return kCodeInvalidParameter;
    default: return static_cast<int>(r);
  }
}

// One piece of an export line: the text in the 8-bit code page and the separator.
bool WritePiece(plat::FileHandle f, CodePage page, const char16_t* text, const char* end) {
  char piece[kExportPieceBytes + 1];
  size_t n = Utf16ToCodePage(page, piece, sizeof piece, text ? text : u"");
  if (plat::WriteFile(f, piece, n) != plat::FileResult::Ok) return false;
  return plat::WriteFile(f, end, std::strlen(end)) == plat::FileResult::Ok;
}

int HexDigit(char16_t c) {
  if (c >= u'0' && c <= u'9') return c - u'0';
  if (c >= u'A' && c <= u'F') return c - u'A' + 10;
  return 0;
}

}  // namespace

const char* HistoryResultText(HistoryResult r) {
  size_t i = static_cast<size_t>(r);
  return i < static_cast<size_t>(HistoryResult::Count) ? kHistoryResultTexts[i] : "";
}

int64_t FileTimeFromLocal(const plat::LocalTime& t) {
  return (plat::ToEpochSeconds(t) + kFileTimeEpochSeconds) * kFileTimeTicksPerSecond +
         static_cast<int64_t>(t.millisecond) * (kFileTimeTicksPerSecond / 1000);
}

plat::LocalTime LocalFromFileTime(int64_t fileTime) {
  int64_t ticks = fileTime < 0 ? 0 : fileTime;
  plat::LocalTime t = plat::FromEpochSeconds(ticks / kFileTimeTicksPerSecond - kFileTimeEpochSeconds);
  t.millisecond = static_cast<int>(ticks % kFileTimeTicksPerSecond / (kFileTimeTicksPerSecond / 1000));
  return t;
}

HistoryOpen OpenHistoryStore() {
  std::lock_guard<std::mutex> guard(gStore.lock);
  gStore.db.Close();
  return OpenLocked();
}

void CloseHistoryStore() {
  std::lock_guard<std::mutex> guard(gStore.lock);
  gStore.db.Close();
  gStore.cachedCount = 0;
  gStore.cachedLastId = 0;
}

HistoryResult AddHistoryRecord(const char16_t* description, const char16_t* node,
                               const plat::LocalTime& when) {
  std::lock_guard<std::mutex> guard(gStore.lock);
  if (!EnsureOpenLocked()) return HistoryResult::Unavailable;
  plat::Statement s;
  plat::DbResult r = s.Prepare(gStore.db, kInsert);
  if (r == plat::DbResult::Ok) r = s.BindText16(1, description);
  if (r == plat::DbResult::Ok) r = s.BindText16(2, node);
  if (r == plat::DbResult::Ok) r = s.BindInt64(3, FileTimeFromLocal(when));
  if (r == plat::DbResult::Ok) r = s.Step();
  if (r != plat::DbResult::Done) {
    // A card that is full or read-only is the card's condition; anything else the store's.
    if (r == plat::DbResult::IoError)
      NoteStorageRefused(StorageSource::History);
    else
      ReportStorageCondition(StorageCondition::HistoryNotWritable);
    return HistoryResult::Failed;
  }
  NoteStorageWrite(StorageSource::History, plat::FileResult::Ok);
  ClearStorageCondition(StorageCondition::HistoryNotWritable);
  return HistoryResult::Ok;
}

namespace {

HistoryResult Record(const char16_t* description, const char16_t* node, const plat::LocalTime& when) {
  switch (QueueHistoryRecord(description, node, when)) {
    case QueueResult::Queued: return HistoryResult::Queued;
    case QueueResult::Full:
      NoteStorageMemoryFull();
      ReportStorageCondition(StorageCondition::HistoryNotWritable);
      return HistoryResult::Failed;
    case QueueResult::NotRunning: break;
  }
  return AddHistoryRecord(description, node, when);
}

}  // namespace

HistoryResult AddShutdownRecord(int nodeId, int warningId) {
  plat::LocalTime now;
  plat::GetLocalTime(now);
  char16_t node[kNodeNameUnits] = {};
  char16_t description[kDescriptionUnits] = {};
  NodeName(nodeId, node, kNodeNameUnits);
  i18n::GetWarningText(nodeId, warningId, description);
  return Record(description, node, now);
}

HistoryResult AddAutoStartAcceptedRecord() {
  plat::LocalTime now;
  plat::GetLocalTime(now);
  return Record(kAutoStartDescription, kAutoStartNode, now);
}

uint32_t ReadHistoryCount() {
  std::lock_guard<std::mutex> guard(gStore.lock);
  gStore.cachedCount = 0;
  gStore.cachedLastId = 0;
  if (!EnsureOpenLocked()) return 0;
  plat::Statement s;
  if (s.Prepare(gStore.db, kCount) == plat::DbResult::Ok && s.Step() == plat::DbResult::Row) {
    int64_t n = s.ColumnInt64(0);
    gStore.cachedCount = n < 0 ? 0 : (n > UINT32_MAX ? UINT32_MAX : static_cast<uint32_t>(n));
    gStore.cachedLastId = s.ColumnInt64(1);
  }
  return gStore.cachedCount;
}

uint32_t CachedHistoryCount() {
  std::lock_guard<std::mutex> guard(gStore.lock);
  return gStore.cachedCount;
}

int ReadHistoryRows(HistorySort order, uint32_t first, HistoryRow* rows, int capacity) {
  size_t o = static_cast<size_t>(order);
  if (o >= sizeof kPageSql / sizeof kPageSql[0] || capacity <= 0) return 0;
  std::lock_guard<std::mutex> guard(gStore.lock);
  const uint32_t counted = gStore.cachedCount;
  if (first >= counted || !EnsureOpenLocked()) return 0;
  // The list runs the order backwards: its rows first .. first + wanted - 1 are the order's
  // rows counted - first - wanted .. counted - first - 1, read forwards and stored from the end.
  const int wanted = counted - first < static_cast<uint32_t>(capacity) ? static_cast<int>(counted - first) : capacity;
  const int64_t offset = static_cast<int64_t>(counted) - first - wanted;
  plat::Statement s;
  if (s.Prepare(gStore.db, kPageSql[o]) != plat::DbResult::Ok ||
      s.BindInt64(1, gStore.cachedLastId) != plat::DbResult::Ok || s.BindInt(2, wanted) != plat::DbResult::Ok ||
      s.BindInt64(3, offset) != plat::DbResult::Ok)
    return 0;
  int n = 0;
  while (n < wanted && s.Step() == plat::DbResult::Row) {
    HistoryRow& row = rows[wanted - 1 - n++];
    CopyUnits(row.description, kListDescriptionUnits, s.ColumnText16(0));
    CopyUnits(row.node, kListNodeUnits, s.ColumnText16(1));
    plat::LocalTime when = LocalFromFileTime(s.ColumnInt64(2));
    plat::FormatTime(when, kDatePicture, row.date, sizeof row.date / sizeof row.date[0]);
    plat::FormatTime(when, kTimePicture, row.time, sizeof row.time / sizeof row.time[0]);
  }
  // Fewer rows than counted (a failed read, or rows removed since): the rows read come first.
  if (n < wanted) std::memmove(rows, rows + (wanted - n), static_cast<size_t>(n) * sizeof rows[0]);
  return n;
}

int FillHistoryList(HistorySort order, HistoryRow* rows, int capacity) {
  return ReadHistoryRows(order, 0, rows, capacity);
}

ExportOutcome ExportHistory() {
  ExportOutcome out{.result = ExportResult::Exported, .rows = 0, .code = 0};
  const CodePage page = CodePageOf(i18n::CurrentLanguage());
  plat::FileHandle f;
  if (plat::OpenFile(kHistoryExportTempPath, plat::OpenMode::CreateAlways, f) != plat::FileResult::Ok) {
    out.result = ExportResult::CannotCreate;
    return out;
  }
  {
    std::lock_guard<std::mutex> guard(gStore.lock);
    plat::Statement s;
    if (!EnsureOpenLocked()) {
      out.result = ExportResult::StoreUnavailable;
      out.code = CodeFor(gStore.lastFailure);
    } else if (plat::DbResult r = s.Prepare(gStore.db, kExportSql);
               r != plat::DbResult::Ok || s.BindInt64(1, gStore.cachedCount) != plat::DbResult::Ok) {
      out.result = ExportResult::QueryFailed;
      out.code = CodeFor(r == plat::DbResult::Ok ? plat::DbResult::Misuse : r);
    } else {
      for (;;) {
        plat::DbResult step = s.Step();
        if (step == plat::DbResult::Done) break;
        if (step != plat::DbResult::Row) {
          out.result = ExportResult::QueryFailed;
          out.code = CodeFor(step);
          break;
        }
        plat::LocalTime when = LocalFromFileTime(s.ColumnInt64(2));
        char16_t date[16], time[12];
        plat::FormatTime(when, kDatePicture, date, sizeof date / sizeof date[0]);
        plat::FormatTime(when, kTimePicture, time, sizeof time / sizeof time[0]);
        if (!WritePiece(f, page, s.ColumnText16(0), ";") || !WritePiece(f, page, s.ColumnText16(1), ";") ||
            !WritePiece(f, page, date, ";") || !WritePiece(f, page, time, ";\n")) {
          out.result = ExportResult::WriteFailed;
          break;
        }
        ++out.rows;
      }
    }
  }
  if (out.result == ExportResult::Exported && plat::SyncFile(f) != plat::FileResult::Ok)
    out.result = ExportResult::WriteFailed;
  plat::CloseFile(f);
  if (out.result == ExportResult::Exported &&
      plat::MoveFile(kHistoryExportTempPath, kHistoryExportPath) != plat::FileResult::Ok)
    out.result = ExportResult::WriteFailed;
  // Half a history on the stick would pass for the whole of it.
  if (out.result != ExportResult::Exported) {
    plat::DeleteFile(kHistoryExportTempPath);
    return out;
  }
  plat::SyncFolder(kUsbRoot);
  return out;
}

bool ExportMessage(const ExportOutcome& o, char* out, size_t size) {
  switch (o.result) {
    case ExportResult::Exported:
    case ExportResult::CannotCreate:
    case ExportResult::Count:
      return false;
    case ExportResult::StoreUnavailable:
      std::snprintf(out, size, "ERROR: CeMountDBVol failed (%ld)", static_cast<long>(o.code));
      return true;
    case ExportResult::QueryFailed:
      if (o.code == kCodeNoMemory)
        std::snprintf(out, size, "NOT ENOUGHT MEMORY!");
      else if (o.code == kCodeInvalidParameter)
        std::snprintf(out, size, "INVALID PARAMETER!");
      else if (o.code == kCodeNotFound)
        std::snprintf(out, size, "FILE NOT FOUND!");
      else
        std::snprintf(out, size, "ERROR: Handler (%ld)", static_cast<long>(o.code));
      return true;
    case ExportResult::WriteFailed:
      std::snprintf(out, size, "%s", kCopyFailedText);
      return true;
  }
  return false;
}

HistoryResult ClearHistory() {
  std::lock_guard<std::mutex> guard(gStore.lock);
  if (!EnsureOpenLocked()) return HistoryResult::Unavailable;
  plat::Database& db = gStore.db;
  if (db.Begin() != plat::DbResult::Ok) return HistoryResult::Failed;
  if (db.Exec(kClear) != plat::DbResult::Ok || db.Commit() != plat::DbResult::Ok) {
    db.Rollback();
    return HistoryResult::Failed;
  }
  gStore.cachedCount = 0;
  gStore.cachedLastId = 0;
  return HistoryResult::Ok;
}

void NodeName(int nodeId, char16_t* dest, size_t units) {
  if (units == 0) return;
  const char* name = lnk::WarningNodeName(nodeId);
  plat::Latin1ToUtf16(dest, units, name ? name : "");
}

HelpIds DecodeHelpIds(const char16_t* description) {
  int digits[4] = {};
  for (int i = 0; i < 4 && description && description[i] != 0; ++i) digits[i] = HexDigit(description[i]);
  return {.node = digits[0] * 16 + digits[1], .warning = digits[2] * 16 + digits[3]};
}

}  // namespace records
