#pragma once
// A small embedded database by panel path, for the shutdown history. The file is opened with a
// write-ahead journal and full syncs, so a committed row survives a power cut. One connection
// may be shared by the UI and link threads: every call on it is serialised inside. No
// exceptions: every call returns a DbResult.
#include <cstddef>
#include <cstdint>

struct sqlite3;
struct sqlite3_stmt;

namespace plat {

enum class DbResult : uint8_t {
  Ok,
  Row,           // Step: a row is ready to be read
  Done,          // Step: the statement has run to its end
  Busy,          // another connection holds the lock longer than the wait allows
  NotADatabase,  // the file is not a database (foreign or overwritten)
  Corrupt,       // a database whose contents are damaged
  IoError,       // the file cannot be opened, read or written (full, read-only, missing folder)
  Constraint,    // a uniqueness or other constraint refused the change
  Misuse,        // wrong order of calls, bad index, closed handle
  Error,         // anything else, such as an SQL error
};
const char* DbResultText(DbResult r);

class Database {
 public:
  Database() = default;
  ~Database();
  Database(const Database&) = delete;
  Database& operator=(const Database&) = delete;

  // Opens the file, creating it when missing. NotADatabase when the file is something else.
  DbResult Open(const char* panelPath);
  void Close();
  bool IsOpen() const { return db_ != nullptr; }

  DbResult Exec(const char* sql);  // one or more statements without results
  DbResult Begin();                // BEGIN IMMEDIATE: the write lock is taken at once
  DbResult Commit();
  DbResult Rollback();

  // Ok when the file is an intact database that holds `requiredTable` (when given);
  // NotADatabase for a foreign file or one without that table, Corrupt when damaged.
  DbResult Check(const char* requiredTable);
  // The journal mode in use ("wal" expected), for diagnostics and tests.
  DbResult JournalMode(char* out, size_t size);
  DbResult UserVersion(int& version);
  DbResult SetUserVersion(int version);
  int64_t LastInsertRowId() const;
  int Changes() const;
  const char* LastErrorText() const;

 private:
  friend class Statement;
  sqlite3* db_ = nullptr;
};

class Statement {
 public:
  Statement() = default;
  ~Statement();
  Statement(const Statement&) = delete;
  Statement& operator=(const Statement&) = delete;

  DbResult Prepare(Database& db, const char* sql);
  void Finalize();
  bool IsPrepared() const { return stmt_ != nullptr; }

  // Parameters count from 1, as in the SQL text (?1, ?2 ...). Texts are copied.
  DbResult BindInt(int index, int value);
  DbResult BindInt64(int index, int64_t value);
  DbResult BindText(int index, const char* utf8);
  DbResult BindText16(int index, const char16_t* text);
  DbResult BindNull(int index);

  DbResult Step();   // Row, Done or the failure
  DbResult Reset();  // ready to run again; bindings are kept

  // Columns count from 0. Texts stay valid until the next Step, Reset or Finalize; a NULL
  // column reads as 0 or an empty text.
  int ColumnInt(int column) const;
  int64_t ColumnInt64(int column) const;
  const char* ColumnText(int column) const;
  const char16_t* ColumnText16(int column) const;
  bool ColumnIsNull(int column) const;

 private:
  sqlite3_stmt* stmt_ = nullptr;
};

// Moves a closed database file, or a folder standing at its path, out of the way together
// with its journal files (`toPanelPath` + "-wal" and so on), so a damaged or foreign file is
// kept whole for inspection. Replaces `toPanelPath`.
DbResult MoveDatabaseAside(const char* panelPath, const char* toPanelPath);
// Removes a closed database file and its journal files; Ok when none was there.
DbResult DeleteDatabaseFiles(const char* panelPath);

}  // namespace plat
