#include "platform/Database.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "platform/Files.h"
#include "tests/platform/SysTempDir.h"

using namespace plat;

namespace {

constexpr const char* kDbPath = "\\Hard Disk\\ShutdownHistoryDB";
constexpr const char* kSchema =
    "CREATE TABLE IF NOT EXISTS History(description TEXT, node TEXT, time INTEGER);"
    "CREATE INDEX IF NOT EXISTS ByTime ON History(time, description, node);";

class SysDatabase : public ::testing::Test {
 protected:
  void SetUp() override {
    SetFileRoot(dir_.c_str());
    ASSERT_EQ(CreateFolder("\\Hard Disk"), FileResult::Ok);
  }
  void TearDown() override { ClearFileFaults(); }

  void OverwriteFile(const char* rel, long offset, const std::string& bytes) {
    FILE* f = std::fopen(dir_.Sub(rel).c_str(), offset < 0 ? "wb" : "r+b");
    ASSERT_NE(f, nullptr);
    if (offset > 0) std::fseek(f, offset, SEEK_SET);
    std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);
  }
  int CountRows(Database& db) {
    Statement s;
    if (s.Prepare(db, "SELECT count(*) FROM History") != DbResult::Ok) return -1;
    return s.Step() == DbResult::Row ? s.ColumnInt(0) : -1;
  }

  SysTempDir dir_;
};

DbResult Insert(Statement& insert, const char16_t* description, const char* node, int64_t time) {
  DbResult r = insert.Reset();
  if (r == DbResult::Ok) r = insert.BindText16(1, description);
  if (r == DbResult::Ok) r = insert.BindText(2, node);
  if (r == DbResult::Ok) r = insert.BindInt64(3, time);
  return r == DbResult::Ok ? insert.Step() : r;
}

}  // namespace

TEST_F(SysDatabase, CommittedRowsSurviveReopeningInWalMode) {
  {
    Database db;
    ASSERT_EQ(db.Open(kDbPath), DbResult::Ok);
    char mode[16];
    ASSERT_EQ(db.JournalMode(mode, sizeof(mode)), DbResult::Ok);
    EXPECT_STREQ(mode, "wal");
    ASSERT_EQ(db.Exec(kSchema), DbResult::Ok);
    ASSERT_EQ(db.SetUserVersion(3), DbResult::Ok);

    Statement insert;
    ASSERT_EQ(insert.Prepare(db, "INSERT INTO History VALUES(?1, ?2, ?3)"), DbResult::Ok);
    ASSERT_EQ(db.Begin(), DbResult::Ok);
    EXPECT_EQ(Insert(insert, u"020C Low plenum \u00b0F", "FAN/HEATER #1", 130000000000LL), DbResult::Done);
    EXPECT_EQ(Insert(insert, u"0E05 Out of grain", "MAIN I/O", 120000000000LL), DbResult::Done);
    ASSERT_EQ(db.Commit(), DbResult::Ok);
    EXPECT_EQ(db.LastInsertRowId(), 2);
    EXPECT_EQ(db.Changes(), 1);

    // A transaction that is rolled back leaves nothing behind.
    ASSERT_EQ(db.Begin(), DbResult::Ok);
    EXPECT_EQ(Insert(insert, u"never", "", 1), DbResult::Done);
    ASSERT_EQ(db.Rollback(), DbResult::Ok);
    EXPECT_EQ(db.Rollback(), DbResult::Ok);  // nothing open: harmless
    // Not closing the statement first must not keep the file from closing.
  }
  EXPECT_TRUE(FileExists(kDbPath));

  Database db;
  ASSERT_EQ(db.Open("\\hard disk\\shutdownhistorydb"), DbResult::Ok);
  EXPECT_EQ(db.Check("History"), DbResult::Ok);
  int version = 0;
  EXPECT_EQ(db.UserVersion(version), DbResult::Ok);
  EXPECT_EQ(version, 3);
  EXPECT_EQ(CountRows(db), 2);
  Statement s;
  ASSERT_EQ(s.Prepare(db, "SELECT description, node, time, NULL FROM History ORDER BY time"), DbResult::Ok);
  ASSERT_EQ(s.Step(), DbResult::Row);
  EXPECT_EQ(std::u16string(s.ColumnText16(0)), u"0E05 Out of grain");
  EXPECT_STREQ(s.ColumnText(1), "MAIN I/O");
  EXPECT_EQ(s.ColumnInt64(2), 120000000000LL);
  EXPECT_TRUE(s.ColumnIsNull(3));
  EXPECT_STREQ(s.ColumnText(3), "");
  ASSERT_EQ(s.Step(), DbResult::Row);
  EXPECT_EQ(std::u16string(s.ColumnText16(0)), u"020C Low plenum \u00b0F");
  EXPECT_EQ(s.Step(), DbResult::Done);
  EXPECT_EQ(s.Reset(), DbResult::Ok);
  EXPECT_EQ(s.Step(), DbResult::Row);  // runs again after a reset
}

TEST_F(SysDatabase, ForeignOrDamagedFilesAreRecognised) {
  OverwriteFile("Hard Disk/ShutdownHistoryDB", -1, "VOLUME\x01\x02 not a database at all, just bytes " + std::string(5000, 'z'));
  Database db;
  EXPECT_EQ(db.Open(kDbPath), DbResult::NotADatabase);
  EXPECT_FALSE(db.IsOpen());
  ASSERT_EQ(MoveDatabaseAside(kDbPath, "\\Hard Disk\\ShutdownHistoryDB.bad"), DbResult::Ok);
  EXPECT_TRUE(FileExists("\\Hard Disk\\ShutdownHistoryDB.bad"));
  ASSERT_EQ(db.Open(kDbPath), DbResult::Ok);

  // A database, but not ours.
  EXPECT_EQ(db.Check("History"), DbResult::NotADatabase);
  ASSERT_EQ(db.Exec(kSchema), DbResult::Ok);
  EXPECT_EQ(db.Check("History"), DbResult::Ok);

  // Damage the index pages of a closed database: the check reports it.
  Statement insert;
  ASSERT_EQ(insert.Prepare(db, "INSERT INTO History VALUES(?1, ?2, ?3)"), DbResult::Ok);
  ASSERT_EQ(db.Begin(), DbResult::Ok);
  for (int i = 0; i < 400; ++i)
    ASSERT_EQ(Insert(insert, u"0203 A fairly long warning description for padding", "FAN/HEATER #2", i), DbResult::Done);
  ASSERT_EQ(db.Commit(), DbResult::Ok);
  ASSERT_EQ(db.Exec("PRAGMA wal_checkpoint(TRUNCATE)"), DbResult::Ok);
  insert.Finalize();
  db.Close();
  uint64_t size = 0;
  ASSERT_EQ(FileSizeByPath(kDbPath, size), FileResult::Ok);
  ASSERT_GT(size, 8 * 4096u);
  OverwriteFile("Hard Disk/ShutdownHistoryDB", 4096 * 3, std::string(4096 * 3, '\x5a'));
  DbResult opened = db.Open(kDbPath);
  ASSERT_EQ(opened, DbResult::Ok);
  DbResult verdict = db.Check("History");
  EXPECT_TRUE(verdict == DbResult::Corrupt || verdict == DbResult::NotADatabase) << DbResultText(verdict);
  db.Close();
  EXPECT_EQ(DeleteDatabaseFiles(kDbPath), DbResult::Ok);
  EXPECT_FALSE(FileExists(kDbPath));
  EXPECT_FALSE(FileExists("\\Hard Disk\\ShutdownHistoryDB-wal"));
}

TEST_F(SysDatabase, FailuresComeBackAsResults) {
  Database db;
  EXPECT_EQ(db.Open("\\No Card\\ShutdownHistoryDB"), DbResult::IoError);
  InjectFileFault(FileOp::Open, 1, FileResult::IoError, false);
  EXPECT_EQ(db.Open(kDbPath), DbResult::IoError);
  EXPECT_EQ(db.Exec("SELECT 1"), DbResult::Misuse);
  Statement s;
  EXPECT_EQ(s.Step(), DbResult::Misuse);
  EXPECT_EQ(s.Prepare(db, "SELECT 1"), DbResult::Misuse);

  ASSERT_EQ(db.Open(kDbPath), DbResult::Ok);
  EXPECT_EQ(db.Exec("SELEKT nonsense"), DbResult::Error);
  EXPECT_EQ(s.Prepare(db, "SELECT * FROM NoSuchTable"), DbResult::Error);
  EXPECT_FALSE(s.IsPrepared());
  ASSERT_EQ(db.Exec("CREATE TABLE U(k INTEGER PRIMARY KEY, v TEXT NOT NULL)"), DbResult::Ok);
  ASSERT_EQ(s.Prepare(db, "INSERT INTO U VALUES(?1, ?2)"), DbResult::Ok);
  EXPECT_EQ(s.BindInt(3, 1), DbResult::Misuse);  // no third parameter
  ASSERT_EQ(s.BindInt(1, 7), DbResult::Ok);
  ASSERT_EQ(s.BindNull(2), DbResult::Ok);
  EXPECT_EQ(s.Step(), DbResult::Constraint);
  EXPECT_STRNE(db.LastErrorText(), "");
  EXPECT_STREQ(DbResultText(DbResult::NotADatabase), "not a database");
}
