#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include <csignal>
#include <sys/wait.h>

#include "i18n/Language.h"
#include "platform/Database.h"
#include "platform/Text.h"
#include "records/HistoryWriter.h"
#include "records/ShutdownHistory.h"
#include "records/StorageNotice.h"
#include "tests/records/RecordsTestSupport.h"

namespace records_test {
namespace {

using records::HistoryOpen;
using records::HistoryResult;
using records::HistoryRow;
using records::HistorySort;

std::string Narrow(const char16_t* s) {
  char out[512];
  plat::Utf16ToLatin1(out, sizeof out, s);
  return out;
}

class History : public PanelRoot {
 protected:
  void SetUp() override {
    PanelRoot::SetUp();
    records::CloseHistoryStore();
    records::ResetStorageNotice();
    i18n::ResetLanguageState();
  }
  void TearDown() override {
    records::StopHistoryWriter();
    records::CloseHistoryStore();
    i18n::ResetLanguageState();
    PanelRoot::TearDown();
  }
  void Add(const char16_t* description, const char16_t* node, int day, int hour, int minute) {
    ASSERT_EQ(records::AddHistoryRecord(description, node, MakeTime(2016, 10, day, hour, minute, 0)),
              HistoryResult::Ok);
  }
  std::vector<std::string> List(HistorySort order) {
    HistoryRow rows[32];
    int n = records::FillHistoryList(order, rows, 32);
    std::vector<std::string> out;
    for (int i = 0; i < n; ++i)
      out.push_back(Narrow(rows[i].description) + "|" + Narrow(rows[i].node) + "|" + Narrow(rows[i].date) +
                    "|" + Narrow(rows[i].time));
    return out;
  }
  // A warnings file of the English pack: line k holds the text of warning k.
  void WriteWarnings(const char* file, const std::vector<std::u16string>& lines) {
    ASSERT_EQ(plat::CreateFolder("\\Hard Disk\\Languages"), plat::FileResult::Ok);
    ASSERT_EQ(plat::CreateFolder("\\Hard Disk\\Languages\\EN"), plat::FileResult::Ok);
    std::string bytes = "\xFF\xFE";
    for (const std::u16string& line : lines) {
      for (char16_t c : line + u"\r\n") {
        bytes.push_back(static_cast<char>(c & 0xFF));
        bytes.push_back(static_cast<char>(c >> 8));
      }
    }
    WriteAll((std::string("\\Hard Disk\\Languages\\EN\\") + file).c_str(), bytes);
  }
};

TEST_F(History, ExportOfThreeRecordsOldestFirst) {
  ASSERT_EQ(records::OpenHistoryStore(), HistoryOpen::Created);
  Add(u"0205 HIGH LIMIT", u"FAN/HEATER #1", 4, 19, 5);
  Add(u"0E01 OUT OF GRAIN", u"MAIN I/O", 3, 8, 30);
  Add(u"0F0C MOISTURE SENSOR", u"MOISTURE CONT", 4, 0, 15);
  EXPECT_EQ(records::ReadHistoryCount(), 3u);
  records::ExportOutcome o = records::ExportHistory();
  EXPECT_EQ(o.result, records::ExportResult::Exported);
  EXPECT_EQ(o.rows, 3u);
  EXPECT_EQ(ReadAll(records::kHistoryExportPath),
            "0E01 OUT OF GRAIN;MAIN I/O;Oct 03, 2016;8:30 AM;\n"
            "0F0C MOISTURE SENSOR;MOISTURE CONT;Oct 04, 2016;12:15 AM;\n"
            "0205 HIGH LIMIT;FAN/HEATER #1;Oct 04, 2016;7:05 PM;\n");
  // An existing export is replaced.
  Add(u"0E01 OUT OF GRAIN", u"MAIN I/O", 5, 8, 30);
  records::ReadHistoryCount();
  EXPECT_EQ(records::ExportHistory().rows, 4u);
}

// The export is in the 8-bit code page of the display language: Western texts as before,
// Central European and Cyrillic letters as their own bytes instead of '?'.
TEST_F(History, ExportIsInTheCodePageOfTheDisplayLanguage) {
  struct Case {
    const char* language;
    std::u16string description;
    std::string bytes;
  };
  const Case cases[] = {
      {"German", u"0205 \u00dcBERHITZUNG 90\u00b0F \u00df", "0205 \xdc" "BERHITZUNG 90\xb0" "F \xdf"},
      {"English", u"0205 HIGH LIMIT \u20ac\u0416", "0205 HIGH LIMIT \x80?"},
      {"Czech", u"0205 P\u0159EH\u0158\u00c1T\u00cd", "0205 P\xf8" "EH\xd8\xc1T\xcd"},
      {"Polish", u"0205 PRZEGRZANIE \u0141\u015a", "0205 PRZEGRZANIE \xa3\x8c"},
      {"Russian", u"0205 \u041f\u0415\u0420\u0415\u0413\u0420\u0415\u0412 \u0451",
       "0205 \xcf\xc5\xd0\xc5\xc3\xd0\xc5\xc2 \xb8"},
      {"Bulgarian", u"0205 \u0429\u0141", "0205 \xd9?"},
  };
  ASSERT_EQ(records::OpenHistoryStore(), HistoryOpen::Created);
  for (const Case& c : cases) {
    ASSERT_EQ(records::ClearHistory(), HistoryResult::Ok);
    Add(c.description.c_str(), u"FAN/HEATER #1", 4, 19, 5);
    records::ReadHistoryCount();
    i18n::LanguageId id = i18n::kEnglish;
    for (int l = 0; l < i18n::kLanguageCount; ++l)
      if (std::string(i18n::kLanguages[l].name) == c.language) id = static_cast<i18n::LanguageId>(l);
    i18n::SetLanguage(id);
    ASSERT_EQ(records::ExportHistory().result, records::ExportResult::Exported);
    EXPECT_EQ(ReadAll(records::kHistoryExportPath), c.bytes + ";FAN/HEATER #1;Oct 04, 2016;7:05 PM;\n")
        << c.language;
  }
}

TEST_F(History, SortOrdersAsTheListShowsThem) {
  records::OpenHistoryStore();
  Add(u"0E05 LOW AIR", u"DISPLAY I/O", 4, 10, 0);
  Add(u"0205 HIGH LIMIT", u"FAN/HEATER #2", 4, 9, 0);
  Add(u"0205 HIGH LIMIT", u"FAN/HEATER #1", 4, 11, 0);
  Add(u"0205 HIGH LIMIT", u"FAN/HEATER #1", 4, 8, 0);
  records::ReadHistoryCount();
  // By date/time the newest is at the top.
  EXPECT_EQ(List(HistorySort::ByDateTime),
            (std::vector<std::string>{"0205 HIGH LIMIT|FAN/HEATER #1|Oct 04, 2016|11:00 AM",
                                      "0E05 LOW AIR|DISPLAY I/O|Oct 04, 2016|10:00 AM",
                                      "0205 HIGH LIMIT|FAN/HEATER #2|Oct 04, 2016|9:00 AM",
                                      "0205 HIGH LIMIT|FAN/HEATER #1|Oct 04, 2016|8:00 AM"}));
  // Equal descriptions sort by node, then by time; the list shows the order reversed.
  EXPECT_EQ(List(HistorySort::ByWarning),
            (std::vector<std::string>{"0E05 LOW AIR|DISPLAY I/O|Oct 04, 2016|10:00 AM",
                                      "0205 HIGH LIMIT|FAN/HEATER #2|Oct 04, 2016|9:00 AM",
                                      "0205 HIGH LIMIT|FAN/HEATER #1|Oct 04, 2016|11:00 AM",
                                      "0205 HIGH LIMIT|FAN/HEATER #1|Oct 04, 2016|8:00 AM"}));
  EXPECT_EQ(List(HistorySort::ByNode),
            (std::vector<std::string>{"0205 HIGH LIMIT|FAN/HEATER #2|Oct 04, 2016|9:00 AM",
                                      "0205 HIGH LIMIT|FAN/HEATER #1|Oct 04, 2016|11:00 AM",
                                      "0205 HIGH LIMIT|FAN/HEATER #1|Oct 04, 2016|8:00 AM",
                                      "0E05 LOW AIR|DISPLAY I/O|Oct 04, 2016|10:00 AM"}));
}

TEST_F(History, RowsAddedAfterTheCountWaitForTheNextOpening) {
  records::OpenHistoryStore();
  Add(u"0E01 OUT OF GRAIN", u"MAIN I/O", 4, 8, 0);
  records::ReadHistoryCount();
  Add(u"0E02 LOW AIR", u"MAIN I/O", 4, 9, 0);
  EXPECT_EQ(List(HistorySort::ByDateTime).size(), 1u);
  EXPECT_EQ(records::ExportHistory().rows, 1u);
  EXPECT_EQ(records::ReadHistoryCount(), 2u);
  EXPECT_EQ(List(HistorySort::ByDateTime).size(), 2u);
}

// A list too long to hold is read a page at a time: the pages meet the whole list without a
// gap or a repeat in each order, and a row added after the count stays out even where it
// sorts between counted ones.
TEST_F(History, PagesOfTheListMeetWithoutGapOrOverlapInEachOrder) {
  records::OpenHistoryStore();
  char16_t description[32], node[16];
  for (int i = 0; i < 30; ++i) {
    plat::Latin1ToUtf16(description, 32, ("0E" + std::to_string(10 + i * 13 % 30) + " ROW").c_str());
    plat::Latin1ToUtf16(node, 16, ("NODE " + std::to_string(i * 7 % 5)).c_str());
    Add(description, node, 4, 0, i);
  }
  ASSERT_EQ(records::ReadHistoryCount(), 30u);
  Add(u"0E25 ADDED LATER", u"NODE 2", 3, 1, 0);
  for (HistorySort order : {HistorySort::ByWarning, HistorySort::ByNode, HistorySort::ByDateTime}) {
    std::vector<std::string> paged;
    HistoryRow rows[7];
    for (uint32_t first = 0, n = 7; n == 7; first += 7) {
      n = static_cast<uint32_t>(records::ReadHistoryRows(order, first, rows, 7));
      for (uint32_t i = 0; i < n; ++i)
        paged.push_back(Narrow(rows[i].description) + "|" + Narrow(rows[i].node) + "|" + Narrow(rows[i].date) + "|" +
                        Narrow(rows[i].time));
    }
    EXPECT_EQ(paged, List(order));  // one read of the whole list
  }
}

TEST_F(History, ShutdownRecordTakesTheWarningTextAndNodeName) {
  WriteWarnings("WarningsMIO.txt", {u"header", u"0E01 OUT OF GRAIN", u"0E02 x", u"0E03 x", u"0E04 x",
                                    u"0E05 LOW AIR PRESSURE"});
  records::OpenHistoryStore();
  SetClock(MakeTime(2016, 10, 4, 19, 5, 0));
  EXPECT_EQ(records::AddShutdownRecord(lnk::kNodeMainIo, 5), HistoryResult::Ok);
  // A node without a warning table gives an empty description but keeps its name.
  EXPECT_EQ(records::AddShutdownRecord(9, 3), HistoryResult::Ok);
  EXPECT_EQ(records::AddAutoStartAcceptedRecord(), HistoryResult::Ok);
  records::ReadHistoryCount();
  EXPECT_EQ(List(HistorySort::ByWarning),
            (std::vector<std::string>{"User Accepted Auto-Start MC Setup|Global|Oct 04, 2016|7:05 PM",
                                      "0E05 LOW AIR PRESSURE|MAIN I/O|Oct 04, 2016|7:05 PM",
                                      "|FAN/HEATER INT #2|Oct 04, 2016|7:05 PM"}));
}

TEST(HistoryHelp, DescriptionDigitsNameNodeAndWarning) {
  records::HelpIds a = records::DecodeHelpIds(u"0F0C MOISTURE SENSOR FAILED");
  EXPECT_EQ(a.node, 15);
  EXPECT_EQ(a.warning, 12);
  records::HelpIds b = records::DecodeHelpIds(u"0G0C");
  EXPECT_EQ(b.node, 0);
  EXPECT_EQ(b.warning, 12);
  records::HelpIds c = records::DecodeHelpIds(u"0e05");  // lower case is not a digit here
  EXPECT_EQ(c.node, 0);
  EXPECT_EQ(c.warning, 5);
}

TEST(RecordsFaults, HelpDigitsAreReadOnlyWithinTheText) {
  records::HelpIds empty = records::DecodeHelpIds(u"");
  EXPECT_EQ(empty.node, 0);
  EXPECT_EQ(empty.warning, 0);
  // What lies past the end of a short text is not read.
  char16_t buffer[8] = {u'0', u'F', 0, u'0', u'C', 0, 0, 0};
  records::HelpIds shortText = records::DecodeHelpIds(buffer);
  EXPECT_EQ(shortText.node, 15);
  EXPECT_EQ(shortText.warning, 0);
}

TEST(HistoryNames, NodeTable) {
  char16_t name[records::kNodeNameUnits];
  records::NodeName(2, name, records::kNodeNameUnits);
  EXPECT_EQ(Narrow(name), "FAN/HEATER #1");
  records::NodeName(13, name, records::kNodeNameUnits);
  EXPECT_EQ(Narrow(name), "FAN/HEATER INT #6");
  records::NodeName(16, name, records::kNodeNameUnits);
  EXPECT_EQ(Narrow(name), "");
  records::NodeName(0, name, records::kNodeNameUnits);
  EXPECT_EQ(Narrow(name), "");
}

TEST_F(History, CorruptFileIsMovedAsideAndANewStoreCreated) {
  const std::string junk(5000, '\x5A');
  WriteAll(records::kHistoryPath, "not a database at all" + junk);
  EXPECT_EQ(records::OpenHistoryStore(), HistoryOpen::ReplacedDamaged);
  std::vector<std::string> aside = PanelRoot::List("\\Hard Disk\\ShutdownHistoryDB.damaged-*");
  ASSERT_EQ(aside.size(), 1u);
  EXPECT_EQ(ReadAll(("\\Hard Disk\\" + aside[0]).c_str()), "not a database at all" + junk);
  Add(u"0E01 OUT OF GRAIN", u"MAIN I/O", 4, 8, 0);
  EXPECT_EQ(records::ReadHistoryCount(), 1u);
}

TEST_F(History, ForeignDatabaseIsMovedAside) {
  {
    plat::Database other;
    ASSERT_EQ(other.Open(records::kHistoryPath), plat::DbResult::Ok);
    ASSERT_EQ(other.Exec("CREATE TABLE recipes(name TEXT); INSERT INTO recipes VALUES('bread');"),
              plat::DbResult::Ok);
  }
  EXPECT_EQ(records::OpenHistoryStore(), HistoryOpen::ReplacedDamaged);
  EXPECT_EQ(records::ReadHistoryCount(), 0u);
  EXPECT_EQ(PanelRoot::List("\\Hard Disk\\ShutdownHistoryDB.damaged-*").size(), 1u);
  Add(u"0E01 OUT OF GRAIN", u"MAIN I/O", 4, 8, 0);
  // The new store is ours on the next start.
  records::CloseHistoryStore();
  EXPECT_EQ(records::OpenHistoryStore(), HistoryOpen::Opened);
  EXPECT_EQ(records::ReadHistoryCount(), 1u);
}

// A child process writes 32 rows into a store and dies without closing it, as at a power
// cut: the rows live only in the write-ahead log. `setUp` makes the store.
void WriteRowsAndDie(const char* setUp) {
  pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    plat::Database db;
    bool ok = db.Open(records::kHistoryPath) == plat::DbResult::Ok &&
              db.Exec("PRAGMA wal_autocheckpoint=0;") == plat::DbResult::Ok &&
              db.Exec(setUp) == plat::DbResult::Ok;
    for (int i = 0; ok && i < 32; ++i)
      ok = db.Exec("INSERT INTO ShutdownHistoryDB(description, node, recorded)"
                   " VALUES('0E01 OUT OF GRAIN', 'MAIN I/O', 1)") == plat::DbResult::Ok;
    ::_exit(ok ? 0 : 1);
  }
  int status = 0;
  ::waitpid(child, &status, 0);
  ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  ASSERT_TRUE(plat::FileExists((std::string(records::kHistoryPath) + "-wal").c_str()));
}

int RowsIn(const std::string& panelPath) {
  plat::Database look;
  if (look.Open(panelPath.c_str()) != plat::DbResult::Ok) return -1;
  plat::Statement s;
  if (s.Prepare(look, "SELECT count(*) FROM ShutdownHistoryDB") != plat::DbResult::Ok ||
      s.Step() != plat::DbResult::Row)
    return -1;
  return s.ColumnInt(0);
}

// The right table name and version but other columns: every insert would fail. The store goes
// aside with its rows, a new one takes its place and the operator is told once.
TEST_F(History, StoreWithOtherColumnsIsMovedAsideAndToldOnce) {
  WriteRowsAndDie("CREATE TABLE ShutdownHistoryDB(description TEXT, node TEXT, recorded INTEGER);"
                  "PRAGMA user_version=1;");
  EXPECT_EQ(records::OpenHistoryStore(), HistoryOpen::ReplacedDamaged);
  std::vector<std::string> aside = PanelRoot::List("\\Hard Disk\\ShutdownHistoryDB.damaged-*");
  ASSERT_FALSE(aside.empty());
  EXPECT_EQ(RowsIn("\\Hard Disk\\" + aside[0]), 32);
  EXPECT_EQ(records::TakeStorageNotice(), records::StorageCondition::HistoryStartedAfresh);
  EXPECT_EQ(records::TakeStorageNotice(), records::StorageCondition::Ok);
  EXPECT_EQ(records::AddShutdownRecord(lnk::kNodeMainIo, 5), HistoryResult::Ok);
  EXPECT_EQ(records::ReadHistoryCount(), 1u);
  EXPECT_EQ(records::TakeStorageNotice(), records::StorageCondition::Ok);
}

// A damaged store whose rows live only in its write-ahead log: the log goes aside with it,
// whole, so the rows can still be recovered from there.
TEST_F(History, DamagedStoreTakesItsJournalAside) {
  WriteRowsAndDie("CREATE TABLE ShutdownHistoryDB(description TEXT, node TEXT, recorded INTEGER);"
                  "PRAGMA wal_checkpoint(TRUNCATE);");
  const std::string wal = ReadAll((std::string(records::kHistoryPath) + "-wal").c_str());
  std::string file = ReadAll(records::kHistoryPath);
  file.replace(0, 15, "damaged header!");
  WriteAll(records::kHistoryPath, file);
  EXPECT_EQ(records::OpenHistoryStore(), HistoryOpen::ReplacedDamaged);
  std::vector<std::string> aside = PanelRoot::List("\\Hard Disk\\ShutdownHistoryDB.damaged-*");
  ASSERT_EQ(aside.size(), 3u);  // the file, its log and its shared-memory index
  EXPECT_EQ(aside[2], aside[0] + "-wal");
  EXPECT_EQ(ReadAll(("\\Hard Disk\\" + aside[2]).c_str()), wal);
  EXPECT_EQ(records::ReadHistoryCount(), 0u);
}

// A folder where the store belongs is moved aside like any other stranger.
TEST_F(History, FolderWhereTheStoreBelongsIsMovedAside) {
  ASSERT_EQ(plat::CreateFolder(records::kHistoryPath), plat::FileResult::Ok);
  EXPECT_EQ(records::OpenHistoryStore(), HistoryOpen::ReplacedDamaged);
  EXPECT_EQ(records::AddShutdownRecord(lnk::kNodeMainIo, 5), HistoryResult::Ok);
  EXPECT_EQ(records::ReadHistoryCount(), 1u);
  EXPECT_TRUE(plat::FileExists(records::kHistoryPath));
  EXPECT_EQ(records::TakeStorageNotice(), records::StorageCondition::HistoryStartedAfresh);
}

// A store that cannot be written is told once while it lasts, its end is told once, and it is
// told again when it comes back after the store had worked in between.
TEST_F(History, StoreThatCannotBeWrittenIsToldOncePerChange) {
  auto removeCard = [&] {
    records::CloseHistoryStore();
    ASSERT_EQ(::nftw(Host("\\Hard Disk").c_str(), RemoveEntry, 16, FTW_DEPTH | FTW_PHYS), 0);
  };
  removeCard();
  EXPECT_EQ(records::OpenHistoryStore(), HistoryOpen::Unavailable);
  EXPECT_EQ(records::TakeStorageNotice(), records::StorageCondition::HistoryNotWritable);
  EXPECT_EQ(records::AddShutdownRecord(lnk::kNodeMainIo, 5), HistoryResult::Unavailable);
  EXPECT_EQ(records::TakeStorageNotice(), records::StorageCondition::Ok);
  ASSERT_EQ(plat::CreateFolder("\\Hard Disk"), plat::FileResult::Ok);
  EXPECT_EQ(records::AddShutdownRecord(lnk::kNodeMainIo, 5), HistoryResult::Ok);
  EXPECT_EQ(records::TakeStorageNotice(), records::StorageCondition::WritableAgain);
  EXPECT_EQ(records::TakeStorageNotice(), records::StorageCondition::Ok);
  removeCard();
  EXPECT_EQ(records::AddShutdownRecord(lnk::kNodeMainIo, 5), HistoryResult::Unavailable);
  EXPECT_EQ(records::TakeStorageNotice(), records::StorageCondition::HistoryNotWritable);
}

// While another connection holds the store's write lock (a card that takes seconds to
// answer), shutdowns reported on the link thread return at once; the writer thread writes them
// when the card answers and the rest when it stops. A queue overrun is told, not hidden.
TEST_F(History, SlowCardNeverHoldsTheLinkThread) {
  ASSERT_EQ(records::OpenHistoryStore(), HistoryOpen::Created);
  records::StartHistoryWriter();
  plat::Database other;
  ASSERT_EQ(other.Open(records::kHistoryPath), plat::DbResult::Ok);
  ASSERT_EQ(other.Begin(), plat::DbResult::Ok);
  int queued = 0, dropped = 0;
  int64_t slowestMs = 0;
  std::thread link([&] {
    for (int i = 0; i < records::kHistoryQueueSize + 4; ++i) {
      auto start = std::chrono::steady_clock::now();
      HistoryResult r = records::AddShutdownRecord(lnk::kNodeMainIo, 5);
      auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start);
      slowestMs = std::max<int64_t>(slowestMs, ms.count());
      if (r == HistoryResult::Queued) ++queued;
      if (r == HistoryResult::Failed) ++dropped;
    }
  });
  link.join();
  EXPECT_LT(slowestMs, 100);
  EXPECT_GE(queued, records::kHistoryQueueSize);
  EXPECT_EQ(queued + dropped, records::kHistoryQueueSize + 4);
  EXPECT_EQ(records::TakeStorageNotice(), records::StorageCondition::HistoryNotWritable);
  ASSERT_EQ(other.Commit(), plat::DbResult::Ok);
  other.Close();
  records::StopHistoryWriter();
  EXPECT_EQ(records::ReadHistoryCount(), static_cast<uint32_t>(queued));
}

TEST_F(History, StoreUsesAWriteAheadJournal) {
  records::OpenHistoryStore();
  Add(u"0E01 OUT OF GRAIN", u"MAIN I/O", 4, 8, 0);
  plat::Database look;
  ASSERT_EQ(look.Open(records::kHistoryPath), plat::DbResult::Ok);
  char mode[16];
  ASSERT_EQ(look.JournalMode(mode, sizeof mode), plat::DbResult::Ok);
  EXPECT_STREQ(mode, "wal");
  plat::Statement s;
  ASSERT_EQ(s.Prepare(look, "SELECT count(*) FROM sqlite_master WHERE type = 'index'"), plat::DbResult::Ok);
  ASSERT_EQ(s.Step(), plat::DbResult::Row);
  EXPECT_EQ(s.ColumnInt(0), 3);  // one index per sort order
}

TEST_F(History, StorageMissingMakesRecordingSilentAndExportSays) {
  ASSERT_EQ(::nftw(Host("\\Hard Disk").c_str(), RemoveEntry, 16, FTW_DEPTH | FTW_PHYS), 0);
  EXPECT_EQ(records::OpenHistoryStore(), HistoryOpen::Unavailable);
  EXPECT_EQ(records::AddShutdownRecord(lnk::kNodeMainIo, 5), HistoryResult::Unavailable);
  EXPECT_EQ(records::ReadHistoryCount(), 0u);
  records::ExportOutcome o = records::ExportHistory();
  EXPECT_EQ(o.result, records::ExportResult::StoreUnavailable);
  char text[96];
  ASSERT_TRUE(records::ExportMessage(o, text, sizeof text));
  EXPECT_STREQ(text, "ERROR: CeMountDBVol failed (2)");
  EXPECT_FALSE(plat::FileExists(records::kHistoryExportPath));
  // The card comes back: the next record opens the store.
  ASSERT_EQ(plat::CreateFolder("\\Hard Disk"), plat::FileResult::Ok);
  EXPECT_EQ(records::AddShutdownRecord(lnk::kNodeMainIo, 5), HistoryResult::Ok);
  EXPECT_EQ(records::ReadHistoryCount(), 1u);
}

TEST_F(History, ExportThatStopsEarlyRemovesItsFile) {
  records::OpenHistoryStore();
  for (int i = 0; i < 5; ++i) Add(u"0E01 OUT OF GRAIN", u"MAIN I/O", 4, 8, i);
  records::ReadHistoryCount();
  for (plat::FileOp op : {plat::FileOp::Write, plat::FileOp::Sync}) {
    records::ExportOutcome o{};
    int failed = RunFaultLoop(
        op, plat::FileResult::NoSpace, [] { plat::DeleteFile(records::kHistoryExportPath); },
        [&] { o = records::ExportHistory(); },
        [&] { return o.result == records::ExportResult::Exported; },
        [&] {
          EXPECT_EQ(o.result, records::ExportResult::WriteFailed);
          EXPECT_FALSE(plat::FileExists(records::kHistoryExportPath));
        });
    EXPECT_GE(failed, 1) << static_cast<int>(op);
    EXPECT_EQ(o.rows, 5u);
  }
  char text[96];
  ASSERT_TRUE(records::ExportMessage({.result = records::ExportResult::WriteFailed, .rows = 2, .code = 0},
                                     text, sizeof text));
  EXPECT_STREQ(text, "Could not copy file to flashdrive.");
}

// An export that fails at any step leaves the previous export on the stick as it was.
TEST_F(History, FailedExportKeepsThePreviousExport) {
  records::OpenHistoryStore();
  for (int i = 0; i < 5; ++i) Add(u"0E01 OUT OF GRAIN", u"MAIN I/O", 4, 8, i);
  records::ReadHistoryCount();
  const std::string previous = "0E01 OUT OF GRAIN;MAIN I/O;Oct 03, 2016;8:30 AM;\n";
  for (plat::FileOp op : {plat::FileOp::Open, plat::FileOp::Write, plat::FileOp::Sync, plat::FileOp::Rename}) {
    records::ExportOutcome o{};
    int failed = RunFaultLoop(
        op, plat::FileResult::NoSpace, [&] { WriteAll(records::kHistoryExportPath, previous); },
        [&] { o = records::ExportHistory(); },
        [&] { return o.result == records::ExportResult::Exported; },
        [&] {
          EXPECT_EQ(ReadAll(records::kHistoryExportPath), previous);
        });
    EXPECT_GE(failed, 1) << static_cast<int>(op);
    EXPECT_EQ(o.rows, 5u);
    EXPECT_EQ(PanelRoot::List("\\Hard Disk2\\*").size(), 1u);
  }
}

TEST_F(History, CountIsThirtyTwoBits) {
  // 70,000 rows, written in one transaction by a second connection before the store opens.
  ASSERT_EQ(records::OpenHistoryStore(), HistoryOpen::Created);
  records::CloseHistoryStore();
  {
    plat::Database db;
    ASSERT_EQ(db.Open(records::kHistoryPath), plat::DbResult::Ok);
    ASSERT_EQ(db.Begin(), plat::DbResult::Ok);
    plat::Statement s;
    ASSERT_EQ(s.Prepare(db, "INSERT INTO ShutdownHistoryDB(description, node, recorded) VALUES('0E01', 'MAIN I/O', ?1)"),
              plat::DbResult::Ok);
    for (int i = 0; i < 70000; ++i) {
      s.BindInt64(1, records::FileTimeFromLocal(MakeTime(2016, 10, 4, 0, 0, 0)) + i * 10000000ll);
      ASSERT_EQ(s.Step(), plat::DbResult::Done);
      s.Reset();
    }
    s.Finalize();
    ASSERT_EQ(db.Commit(), plat::DbResult::Ok);
  }
  ASSERT_EQ(records::OpenHistoryStore(), HistoryOpen::Opened);
  EXPECT_EQ(records::ReadHistoryCount(), 70000u);
  HistoryRow rows[3];
  ASSERT_EQ(records::FillHistoryList(HistorySort::ByDateTime, rows, 3), 3);
  EXPECT_EQ(Narrow(rows[0].time), "7:26 PM");  // 69,999 s after midnight, the newest
  EXPECT_EQ(Narrow(rows[0].date), "Oct 04, 2016");
}

TEST_F(History, ClearIsOneTransactionWhileTheLinkThreadWrites) {
  records::OpenHistoryStore();
  std::atomic<bool> stop{false};
  std::atomic<int> added{0}, refused{0};
  std::thread link([&] {
    while (!stop.load()) {
      if (records::AddShutdownRecord(lnk::kNodeMainIo, 5) == HistoryResult::Ok)
        ++added;
      else
        ++refused;
      if (added.load() >= 60) break;
    }
  });
  int clears = 0;
  while (added.load() < 60 && clears < 100000) {
    if (records::ClearHistory() == HistoryResult::Ok) ++clears;
    records::ReadHistoryCount();
    HistoryRow rows[8];
    records::FillHistoryList(HistorySort::ByDateTime, rows, 8);
  }
  stop = true;
  link.join();
  EXPECT_EQ(refused.load(), 0);
  EXPECT_GT(clears, 0);
  EXPECT_TRUE(plat::FileExists(records::kHistoryPath));
  // After the last clear the store still takes and counts records.
  ASSERT_EQ(records::ClearHistory(), HistoryResult::Ok);
  EXPECT_EQ(records::ReadHistoryCount(), 0u);
  EXPECT_EQ(records::AddShutdownRecord(lnk::kNodeMainIo, 5), HistoryResult::Ok);
  EXPECT_EQ(records::ReadHistoryCount(), 1u);
}

// A process killed while it writes records leaves every committed record readable and the
// file intact; the panel's next start opens it as it is.
TEST_F(History, ProcessKilledDuringWritesKeepsCommittedRecords) {
  int pipeFds[2];
  ASSERT_EQ(::pipe(pipeFds), 0);
  pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    ::close(pipeFds[0]);
    records::OpenHistoryStore();
    for (int i = 0;; ++i) {
      if (records::AddHistoryRecord(u"0E05 LOW AIR", u"MAIN I/O", MakeTime(2016, 10, 4, 8, 0, i % 60)) !=
          HistoryResult::Ok)
        ::_exit(3);
      char one = 1;
      if (::write(pipeFds[1], &one, 1) != 1) ::_exit(4);
    }
  }
  ::close(pipeFds[1]);
  int committed = 0;
  char buf[64];
  while (committed < 40) {
    ssize_t n = ::read(pipeFds[0], buf, sizeof buf);
    if (n <= 0) break;
    committed += static_cast<int>(n);
  }
  ::kill(child, SIGKILL);
  int status = 0;
  ::waitpid(child, &status, 0);
  ::close(pipeFds[0]);
  ASSERT_GE(committed, 40);
  EXPECT_TRUE(WIFSIGNALED(status));
  ASSERT_EQ(records::OpenHistoryStore(), HistoryOpen::Opened);
  EXPECT_GE(records::ReadHistoryCount(), static_cast<uint32_t>(committed));
  plat::Database look;
  ASSERT_EQ(look.Open(records::kHistoryPath), plat::DbResult::Ok);
  EXPECT_EQ(look.Check("ShutdownHistoryDB"), plat::DbResult::Ok);
}

}  // namespace
}  // namespace records_test
