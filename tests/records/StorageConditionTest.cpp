// A card that refuses writes (full, read-only) is told once per change and once when it takes
// writes again, and what it refused meanwhile waits in memory and reaches it then.
#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <string>
#include <thread>

#include <sys/mount.h>

#include "platform/Registry.h"
#include "records/HistoryWriter.h"
#include "records/Preferences.h"
#include "records/ShutdownHistory.h"
#include "tests/records/RecordsTestSupport.h"

namespace records_test {
namespace {

using records::kSampleBytes;
using records::SampleRecord;
using records::StorageCondition;

records::LongTermRecord LineRecord(int second) {
  records::LongTermRecord r{};
  records::FillLongTermRecord(r, RunningStatus(), MakeTime(2016, 10, 4, 19, 5, second));
  return r;
}

std::string LineText(int second) {
  char line[records::kLongTermLineChars];
  int n = records::FormatLongTermLine(LineRecord(second), line, sizeof line);
  return std::string(line, static_cast<size_t>(n));
}

void AppendLine(int second) {
  records::SetLongTermEnabled(true);
  int percent = 0;
  records::AppendLongTermLine(LineRecord(second), percent);
}

// The sample period as the registry holds it, "" when it holds none.
std::string StoredSampleTime() {
  plat::RegKey key;
  uint8_t value = 0;
  size_t size = 0;
  if (plat::RegOpenExistingKey(records::kPreferencesKey, key) != plat::RegResult::Ok ||
      plat::RegReadBinary(key, records::kPrefSampleTime, &value, sizeof value, size) != plat::RegResult::Ok)
    return "";
  return std::to_string(value);
}

SampleRecord Sample(int n) {
  SampleRecord r{};
  r.b[0] = static_cast<uint8_t>(n);
  return r;
}

class StorageConditions : public PanelRoot {
 protected:
  // The concatenated bytes of the files matching `pattern` in `folder`.
  std::string FilesIn(const std::string& folder, const char* pattern) {
    std::string all;
    for (const std::string& name : List((folder + pattern).c_str())) all += ReadAll((folder + name).c_str());
    return all;
  }
};

// Each store under a card that has no room (every write refused) or is read-only (every open
// refused): two records, told once; the card back, the kept records written and that told once.
TEST_F(StorageConditions, RefusedRecordsWaitAndTheCardIsToldOnceEachWay) {
  const std::string shortFolder = "\\Hard Disk\\ShortTermDataLog\\";
  const std::string graphFolder = "\\Hard Disk\\GraphDataLog\\";
  struct Store {
    const char* name;
    std::function<void(int)> write;
    std::function<void()> writeKept;
    std::function<std::string()> stored;
    std::string expected;  // what the card holds once it takes writes again
    StorageCondition whenFull;
  };
  const Store stores[] = {
      {"long-term log", [&](int n) { AppendLine(n); }, [] { records::WriteKeptLongTermLines(); },
       [&] { return ReadAll(records::kLongTermPath); }, LineText(1) + LineText(2), StorageCondition::CardFull},
      {"short-term log", [](int n) { records::AppendSample(Sample(n)); }, [] { records::WriteKeptSample(); },
       [&] { return FilesIn(shortFolder, "DATA_LOG_24HR*.DAT"); },
       std::string(reinterpret_cast<const char*>(Sample(2).b), kSampleBytes), StorageCondition::CardFull},
      {"graph log", [](int n) { records::AppendGraphSample(Sample(n)); }, [] { records::WriteKeptGraphSample(); },
       [&] { return FilesIn(graphFolder, "GRAPH_DATA_LOG_24HR*.DAT"); },
       std::string(reinterpret_cast<const char*>(Sample(2).b), kSampleBytes), StorageCondition::CardFull},
      // The registry cannot tell a full card from a read-only one.
      {"preferences", [](int n) { records::SavePreference(records::kPrefSampleTime, static_cast<uint8_t>(n)); },
       [] { records::SaveWaitingPreferences(); },
       [] { return StoredSampleTime(); }, "2", StorageCondition::CardNotWritable},
  };
  struct Fault {
    plat::FileOp op;
    plat::FileResult result;
  };
  const Fault faults[] = {{plat::FileOp::Write, plat::FileResult::NoSpace},
                          {plat::FileOp::Open, plat::FileResult::ReadOnly}};
  int run = 0;
  for (const Store& store : stores) {
    for (const Fault& fault : faults) {
      SCOPED_TRACE(std::string(store.name) + (fault.op == plat::FileOp::Write ? ", full" : ", read-only"));
      const std::string caseRoot = root_ + "/case" + std::to_string(++run);
      ASSERT_EQ(::mkdir(caseRoot.c_str(), 0755), 0);
      plat::SetFileRoot(caseRoot.c_str());
      ASSERT_EQ(plat::CreateFolder("\\Hard Disk"), plat::FileResult::Ok);
      records::ResetStorageNotice();
      records::LoadPreferences();

      plat::InjectFileFault(fault.op, 1, fault.result, true);
      store.write(1);
      const StorageCondition told =
          fault.result == plat::FileResult::NoSpace ? store.whenFull : StorageCondition::CardNotWritable;
      EXPECT_EQ(records::TakeStorageNotice(), told);
      store.write(2);
      store.writeKept();
      EXPECT_EQ(records::TakeStorageNotice(), StorageCondition::Ok) << "told once";
      plat::ClearFileFaults();
      EXPECT_EQ(store.stored(), "");

      store.writeKept();
      EXPECT_EQ(store.stored(), store.expected);
      EXPECT_EQ(records::TakeStorageNotice(), StorageCondition::WritableAgain);
      EXPECT_EQ(records::TakeStorageNotice(), StorageCondition::Ok);
    }
  }
  plat::SetFileRoot(root_.c_str());
}

// The memory for long-term lines is a fixed ring: past it the oldest lines go, and the
// operator is told that lines are being lost rather than that they are kept.
TEST_F(StorageConditions, LongTermLinesPastTheMemoryAreToldAsLost) {
  const int lines = records::kLongTermKeptLines + 5;
  plat::InjectFileFault(plat::FileOp::Write, 1, plat::FileResult::NoSpace, true);
  AppendLine(0);
  EXPECT_EQ(records::TakeStorageNotice(), StorageCondition::CardFull);
  for (int i = 1; i < lines; ++i) {
    records::SetLongTermEnabled(true);
    int percent = 0;
    records::LongTermRecord r{};
    records::FillLongTermRecord(r, RunningStatus(), MakeTime(2016, 10, 4 + i / 3600, i / 60 % 24, i % 60, 0));
    EXPECT_EQ(records::AppendLongTermLine(r, percent), records::LongTermResult::Kept);
  }
  EXPECT_EQ(records::KeptLongTermLines(), records::kLongTermKeptLines);
  EXPECT_EQ(records::TakeStorageNotice(), StorageCondition::CardFullMemoryFull);
  plat::ClearFileFaults();
  EXPECT_EQ(records::WriteKeptLongTermLines(), 0);
  const std::string file = ReadAll(records::kLongTermPath);
  EXPECT_EQ(static_cast<int>(std::count(file.begin(), file.end(), '\n')), records::kLongTermKeptLines);
  // The five oldest went; the first line kept is the sixth, and the newest is last.
  EXPECT_EQ(file.substr(0, 21), "2016-10-04,12:05:00AM");
  EXPECT_EQ(records::TakeStorageNotice(), StorageCondition::WritableAgain);
}

// A real volume with no room left: logs, the shutdown history (through its writer thread) and
// the preferences all refused, told once; room made, everything kept reaches the card.
class FullVolume : public PanelRoot {
 protected:
  void SetUp() override {
    PanelRoot::SetUp();
    if (::mount("tmpfs", root_.c_str(), "tmpfs", 0, "size=256k") != 0)
      GTEST_SKIP() << "mounting a small volume needs privileges this run does not have";
    mounted_ = true;
    ASSERT_EQ(plat::CreateFolder("\\Hard Disk"), plat::FileResult::Ok);
    records::LoadPreferences();
  }
  void TearDown() override {
    records::StopHistoryWriter();
    records::CloseHistoryStore();
    if (mounted_) ::umount2(root_.c_str(), MNT_DETACH);
    PanelRoot::TearDown();
  }
  // Fills the volume; the filler is removed to make room again.
  void Fill() {
    plat::FileHandle f;
    ASSERT_EQ(plat::OpenFile(kFiller, plat::OpenMode::CreateAlways, f), plat::FileResult::Ok);
    char page[4096] = {};
    plat::FileResult r = plat::FileResult::Ok;
    for (int i = 0; i < 1024 && r == plat::FileResult::Ok; ++i) r = plat::WriteFile(f, page, sizeof page);
    plat::CloseFile(f);
    ASSERT_EQ(r, plat::FileResult::NoSpace);
  }
  static constexpr const char* kFiller = "\\Hard Disk\\filler";
  bool mounted_ = false;
};

TEST_F(FullVolume, EverythingRefusedIsToldOnceAndWrittenWhenThereIsRoom) {
  ASSERT_NE(records::OpenHistoryStore(), records::HistoryOpen::Unavailable);
  records::StartHistoryWriter();
  Fill();

  EXPECT_EQ(records::AddAutoStartAcceptedRecord(), records::HistoryResult::Queued);
  auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  while (records::CurrentStorageCondition() == StorageCondition::Ok && std::chrono::steady_clock::now() < deadline)
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  EXPECT_EQ(records::CurrentStorageCondition(), StorageCondition::CardNotWritable);
  EXPECT_EQ(records::QueuedHistoryRecords(), 1) << "the refused record stays queued";

  AppendLine(1);
  AppendLine(2);
  EXPECT_FALSE(records::SavePreference(records::kPrefSampleTime, 1));
  EXPECT_EQ(records::TakeStorageNotice(), StorageCondition::CardFull);
  records::RetryHistoryWrites();
  AppendLine(3);
  EXPECT_EQ(records::TakeStorageNotice(), StorageCondition::Ok);
  EXPECT_EQ(SizeOf(records::kLongTermPath), 0u);

  ASSERT_EQ(plat::DeleteFile(kFiller), plat::FileResult::Ok);
  EXPECT_EQ(records::WriteKeptLongTermLines(), 0);
  EXPECT_TRUE(records::SaveWaitingPreferences());
  records::RetryHistoryWrites();
  records::StopHistoryWriter();
  EXPECT_EQ(ReadAll(records::kLongTermPath), LineText(1) + LineText(2) + LineText(3));
  EXPECT_EQ(records::ReadHistoryCount(), 1u);
  EXPECT_EQ(StoredSampleTime(), "1");
  EXPECT_EQ(records::TakeStorageNotice(), StorageCondition::WritableAgain);
}

}  // namespace
}  // namespace records_test
