#include "platform/Database.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include <sqlite3.h>

#include "platform/Files.h"

namespace plat {

namespace {

constexpr int kBusyWaitMs = 2000;
constexpr char kHeaderMagic[] = "SQLite format 3";  // the terminator is part of it: 16 bytes
constexpr const char* kJournalSuffixes[] = {"-wal", "-shm", "-journal"};

constexpr const char* kDbResultTexts[] = {
    "ok", "row", "done", "busy", "not a database", "corrupt", "input/output error",
    "constraint", "misuse", "error",
};
static_assert(sizeof(kDbResultTexts) / sizeof(kDbResultTexts[0]) ==
              static_cast<size_t>(DbResult::Error) + 1);

DbResult FromSqlite(int rc) {
  switch (rc & 0xFF) {
    case SQLITE_OK: return DbResult::Ok;
    case SQLITE_ROW: return DbResult::Row;
    case SQLITE_DONE: return DbResult::Done;
    case SQLITE_BUSY:
    case SQLITE_LOCKED: return DbResult::Busy;
    case SQLITE_NOTADB: return DbResult::NotADatabase;
    case SQLITE_CORRUPT: return DbResult::Corrupt;
    case SQLITE_IOERR:
    case SQLITE_FULL:
    case SQLITE_CANTOPEN:
    case SQLITE_READONLY:
    case SQLITE_PERM: return DbResult::IoError;
    case SQLITE_CONSTRAINT: return DbResult::Constraint;
    case SQLITE_MISUSE:
    case SQLITE_RANGE: return DbResult::Misuse;
    default: return DbResult::Error;
  }
}

DbResult FromFile(FileResult r) {
  return r == FileResult::Ok ? DbResult::Ok : DbResult::IoError;
}

// A file that is not empty and does not start as a database is refused before the engine
// opens it: the engine, failing on it, would remove its write-ahead log, and with it rows that
// live only there.
bool HeaderIsForeign(const char* panelPath) {
  FileHandle f;
  if (OpenFile(panelPath, OpenMode::Read, f) != FileResult::Ok) return false;
  char header[sizeof kHeaderMagic] = {};
  size_t got = 0;
  FileResult r = ReadFile(f, header, sizeof header, got);
  CloseFile(f);
  return r == FileResult::Ok && got > 0 && (got < sizeof header || std::memcmp(header, kHeaderMagic, sizeof header) != 0);
}

// Runs a statement that yields at most one text row, copying its first column into `out`.
DbResult QueryText(sqlite3* db, const char* sql, char* out, size_t size) {
  if (size) out[0] = 0;
  sqlite3_stmt* stmt = nullptr;
  int rc = sqlite3_prepare_v2(db, sql, -1, &stmt, nullptr);
  if (rc != SQLITE_OK) return FromSqlite(rc);
  rc = sqlite3_step(stmt);
  if (rc == SQLITE_ROW && size) {
    const unsigned char* text = sqlite3_column_text(stmt, 0);
    std::snprintf(out, size, "%s", text ? reinterpret_cast<const char*>(text) : "");
  }
  sqlite3_finalize(stmt);
  return rc == SQLITE_ROW || rc == SQLITE_DONE ? DbResult::Ok : FromSqlite(rc);
}

}  // namespace

const char* DbResultText(DbResult r) {
  auto i = static_cast<size_t>(r);
  return i < sizeof(kDbResultTexts) / sizeof(kDbResultTexts[0]) ? kDbResultTexts[i] : "unknown";
}

Database::~Database() { Close(); }

DbResult Database::Open(const char* panelPath) {
  Close();
  if (FileResult fault = TakeInjectedFault(FileOp::Open); fault != FileResult::Ok)
    return FromFile(fault);
  char host[4096];
  if (!ResolvePath(panelPath, host, sizeof(host))) return DbResult::IoError;
  if (HeaderIsForeign(panelPath)) return DbResult::NotADatabase;
  sqlite3* db = nullptr;
  int rc = sqlite3_open_v2(host, &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_FULLMUTEX,
                           nullptr);
  if (rc != SQLITE_OK) {
    sqlite3_close(db);
    return FromSqlite(rc);
  }
  sqlite3_busy_timeout(db, kBusyWaitMs);
  // The journal mode is the first read of the file, so a foreign file shows up here.
  char mode[16];
  DbResult r = QueryText(db, "PRAGMA journal_mode=WAL", mode, sizeof(mode));
  if (r == DbResult::Ok) r = FromSqlite(sqlite3_exec(db, "PRAGMA synchronous=FULL", nullptr, nullptr, nullptr));
  if (r != DbResult::Ok) {
    sqlite3_close(db);
    return r;
  }
  db_ = db;
  return DbResult::Ok;
}

void Database::Close() {
  if (!db_) return;
  // Statements still prepared are the caller's fault; closing anyway releases the file.
  sqlite3_close_v2(db_);
  db_ = nullptr;
}

DbResult Database::Exec(const char* sql) {
  if (!db_) return DbResult::Misuse;
  return FromSqlite(sqlite3_exec(db_, sql, nullptr, nullptr, nullptr));
}

DbResult Database::Begin() { return Exec("BEGIN IMMEDIATE"); }
DbResult Database::Commit() { return Exec("COMMIT"); }
DbResult Database::Rollback() {
  if (!db_) return DbResult::Misuse;
  if (sqlite3_get_autocommit(db_)) return DbResult::Ok;  // nothing open, or already undone
  return Exec("ROLLBACK");
}

DbResult Database::Check(const char* requiredTable) {
  if (!db_) return DbResult::Misuse;
  char verdict[64];
  DbResult r = QueryText(db_, "PRAGMA quick_check", verdict, sizeof(verdict));
  if (r != DbResult::Ok) return r;
  if (std::strcmp(verdict, "ok") != 0) return DbResult::Corrupt;
  if (!requiredTable) return DbResult::Ok;
  Statement s;
  r = s.Prepare(*this, "SELECT count(*) FROM sqlite_master WHERE type='table' AND name=?1");
  if (r == DbResult::Ok) r = s.BindText(1, requiredTable);
  if (r == DbResult::Ok) r = s.Step();
  if (r != DbResult::Row) return r;
  return s.ColumnInt(0) > 0 ? DbResult::Ok : DbResult::NotADatabase;
}

DbResult Database::JournalMode(char* out, size_t size) {
  if (!db_) return DbResult::Misuse;
  return QueryText(db_, "PRAGMA journal_mode", out, size);
}

DbResult Database::UserVersion(int& version) {
  version = 0;
  if (!db_) return DbResult::Misuse;
  char text[24];
  DbResult r = QueryText(db_, "PRAGMA user_version", text, sizeof(text));
  if (r == DbResult::Ok) version = std::atoi(text);
  return r;
}

DbResult Database::SetUserVersion(int version) {
  char sql[48];
  std::snprintf(sql, sizeof(sql), "PRAGMA user_version=%d", version);
  return Exec(sql);
}

int64_t Database::LastInsertRowId() const { return db_ ? sqlite3_last_insert_rowid(db_) : 0; }
int Database::Changes() const { return db_ ? sqlite3_changes(db_) : 0; }
const char* Database::LastErrorText() const { return db_ ? sqlite3_errmsg(db_) : "not open"; }

Statement::~Statement() { Finalize(); }

DbResult Statement::Prepare(Database& db, const char* sql) {
  Finalize();
  if (!db.db_) return DbResult::Misuse;
  return FromSqlite(sqlite3_prepare_v2(db.db_, sql, -1, &stmt_, nullptr));
}

void Statement::Finalize() {
  if (stmt_) sqlite3_finalize(stmt_);
  stmt_ = nullptr;
}

DbResult Statement::BindInt(int index, int value) {
  if (!stmt_) return DbResult::Misuse;
  return FromSqlite(sqlite3_bind_int(stmt_, index, value));
}

DbResult Statement::BindInt64(int index, int64_t value) {
  if (!stmt_) return DbResult::Misuse;
  return FromSqlite(sqlite3_bind_int64(stmt_, index, value));
}

DbResult Statement::BindText(int index, const char* utf8) {
  if (!stmt_) return DbResult::Misuse;
  return FromSqlite(sqlite3_bind_text(stmt_, index, utf8 ? utf8 : "", -1, SQLITE_TRANSIENT));
}

DbResult Statement::BindText16(int index, const char16_t* text) {
  if (!stmt_) return DbResult::Misuse;
  static constexpr char16_t kEmpty[1] = {0};
  return FromSqlite(sqlite3_bind_text16(stmt_, index, text ? text : kEmpty, -1, SQLITE_TRANSIENT));
}

DbResult Statement::BindNull(int index) {
  if (!stmt_) return DbResult::Misuse;
  return FromSqlite(sqlite3_bind_null(stmt_, index));
}

DbResult Statement::Step() {
  if (!stmt_) return DbResult::Misuse;
  return FromSqlite(sqlite3_step(stmt_));
}

DbResult Statement::Reset() {
  if (!stmt_) return DbResult::Misuse;
  return FromSqlite(sqlite3_reset(stmt_));
}

int Statement::ColumnInt(int column) const { return stmt_ ? sqlite3_column_int(stmt_, column) : 0; }

int64_t Statement::ColumnInt64(int column) const {
  return stmt_ ? sqlite3_column_int64(stmt_, column) : 0;
}

const char* Statement::ColumnText(int column) const {
  const unsigned char* text = stmt_ ? sqlite3_column_text(stmt_, column) : nullptr;
  return text ? reinterpret_cast<const char*>(text) : "";
}

const char16_t* Statement::ColumnText16(int column) const {
  static constexpr char16_t kEmpty[1] = {0};
  const void* text = stmt_ ? sqlite3_column_text16(stmt_, column) : nullptr;
  return text ? static_cast<const char16_t*>(text) : kEmpty;
}

bool Statement::ColumnIsNull(int column) const {
  return !stmt_ || sqlite3_column_type(stmt_, column) == SQLITE_NULL;
}

DbResult MoveDatabaseAside(const char* panelPath, const char* toPanelPath) {
  // Whatever stands at the path goes, a folder included, or the store could never be made.
  if (!FileExists(panelPath) && !FolderExists(panelPath)) return DbResult::Ok;
  DbResult r = FromFile(MoveFile(panelPath, toPanelPath));
  if (r != DbResult::Ok) return r;
  // The journals go with the file: a write-ahead log can hold committed rows the file has not
  // taken in yet. One that cannot follow must not stay to meet the file's successor.
  char journal[600];
  char target[600];
  for (const char* suffix : kJournalSuffixes) {
    std::snprintf(journal, sizeof(journal), "%s%s", panelPath, suffix);
    std::snprintf(target, sizeof(target), "%s%s", toPanelPath, suffix);
    if (!FileExists(journal) || MoveFile(journal, target) == FileResult::Ok) continue;
    if (DeleteFile(journal) != FileResult::Ok) return DbResult::IoError;
  }
  return DbResult::Ok;
}

DbResult DeleteDatabaseFiles(const char* panelPath) {
  char journal[600];
  for (const char* suffix : kJournalSuffixes) {
    std::snprintf(journal, sizeof(journal), "%s%s", panelPath, suffix);
    if (FileExists(journal) && DeleteFile(journal) != FileResult::Ok) return DbResult::IoError;
  }
  if (FileExists(panelPath) && DeleteFile(panelPath) != FileResult::Ok) return DbResult::IoError;
  return DbResult::Ok;
}

}  // namespace plat
