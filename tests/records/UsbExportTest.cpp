#include <gtest/gtest.h>

#include <string>

#include "platform/Text.h"
#include "records/LongTermLog.h"
#include "records/UsbExport.h"
#include "tests/records/RecordsTestSupport.h"

namespace records_test {
namespace {

using records::CopyResult;
using records::LongTermCopy;

const std::string kLines = "2016-10-04,07:05:09PM,112,23.7,61.0,15.2,84.5,40\r\n"
                           "2016-10-04,07:05:21PM,112,23.7,61.0,15.2,84.5,40\r\n";
const std::string kLater = "2016-10-04,07:05:33PM,113,23.6,61.0,15.2,84.5,40\r\n";

class UsbCopy : public PanelRoot {
 protected:
  void SetUp() override {
    PanelRoot::SetUp();
    ASSERT_EQ(plat::CreateFolder(records::kLongTermFolder), plat::FileResult::Ok);
    WriteAll(records::kLongTermPath, kLines);
  }
  const plat::LocalTime now_ = MakeTime(2016, 10, 4, 19, 5, 9);
  const char* kTarget = "\\Hard Disk2\\LongTermDataLog16_10_04_19_05_09.TXT";
};

TEST_F(UsbCopy, NamedByDateAndTime) {
  LongTermCopy copy;
  ASSERT_EQ(records::CopyLongTermLogToStick(now_, copy), CopyResult::Copied);
  EXPECT_STREQ(copy.displayName, "LongTermDataLog16_10_04_19_05_09.TXT");
  EXPECT_STREQ(copy.destination, kTarget);
  EXPECT_EQ(ReadAll(kTarget), kLines);
  EXPECT_EQ(copy.copiedBytes, kLines.size());
  // Never over an existing file.
  WriteAll(records::kLongTermPath, kLines + kLater);
  EXPECT_EQ(records::CopyLongTermLogToStick(now_, copy), CopyResult::TargetExists);
  EXPECT_EQ(ReadAll(kTarget), kLines);
}

TEST_F(UsbCopy, NoStickOrNoLog) {
  LongTermCopy copy;
  ASSERT_EQ(::nftw(Host("\\Hard Disk2").c_str(), RemoveEntry, 16, FTW_DEPTH | FTW_PHYS), 0);
  EXPECT_FALSE(records::UsbStickPresent());
  EXPECT_EQ(records::CopyLongTermLogToStick(now_, copy), CopyResult::NoStick);
  ASSERT_EQ(plat::CreateFolder("\\Hard Disk2"), plat::FileResult::Ok);
  EXPECT_TRUE(records::UsbStickPresent());
  ASSERT_TRUE(records::DeleteLongTermLog());
  EXPECT_EQ(records::CopyLongTermLogToStick(now_, copy), CopyResult::NoSource);
  EXPECT_FALSE(plat::FileExists(kTarget));
}

TEST_F(UsbCopy, YesAfterTheCopyDeletesTheLog) {
  LongTermCopy copy;
  ASSERT_EQ(records::CopyLongTermLogToStick(now_, copy), CopyResult::Copied);
  EXPECT_EQ(records::RemoveCopiedLongTermLines(copy), records::TrimResult::Deleted);
  EXPECT_FALSE(plat::FileExists(records::kLongTermPath));
  EXPECT_EQ(ReadAll(kTarget), kLines);
}

TEST_F(UsbCopy, LinesLoggedAfterTheCopyStay) {
  LongTermCopy copy;
  ASSERT_EQ(records::CopyLongTermLogToStick(now_, copy), CopyResult::Copied);
  // The 1-second tick goes on while the question is open and logs another line.
  records::LongTermRecord r{};
  lnk::DryerStatus s = RunningStatus();
  s.b[lnk::kStatusGrainTemp3] = 113;
  s.b[lnk::kStatusMoisture2 + 1] = 236;
  records::FillLongTermRecord(r, s, MakeTime(2016, 10, 4, 19, 5, 33));
  records::SetLongTermEnabled(true);
  int percent = 0;
  ASSERT_EQ(records::AppendLongTermLine(r, percent), records::LongTermResult::Written);
  EXPECT_EQ(records::RemoveCopiedLongTermLines(copy), records::TrimResult::KeptNewerLines);
  EXPECT_EQ(ReadAll(records::kLongTermPath), kLater);
  EXPECT_FALSE(plat::FileExists("\\Hard Disk\\DataLog\\LongTermDataLog.tmp"));
  records::SetLongTermEnabled(false);
}

TEST_F(UsbCopy, TrimThatFailsKeepsTheWholeLog) {
  LongTermCopy copy;
  ASSERT_EQ(records::CopyLongTermLogToStick(now_, copy), CopyResult::Copied);
  WriteAll(records::kLongTermPath, kLines + kLater);
  for (plat::FileOp op : {plat::FileOp::Open, plat::FileOp::Write, plat::FileOp::Sync, plat::FileOp::Rename}) {
    int failed = RunFaultLoop(
        op, plat::FileResult::IoError, [&] { WriteAll(records::kLongTermPath, kLines + kLater); },
        [&] { records::RemoveCopiedLongTermLines(copy); },
        [&] { return ReadAll(records::kLongTermPath) == kLater; },
        [&] {
          EXPECT_EQ(ReadAll(records::kLongTermPath), kLines + kLater);
          EXPECT_FALSE(plat::FileExists("\\Hard Disk\\DataLog\\LongTermDataLog.tmp"));
        });
    EXPECT_GE(failed, 1) << static_cast<int>(op);
  }
  // A log deleted and started again since the copy holds nothing that was copied.
  WriteAll(records::kLongTermPath, kLater);
  EXPECT_EQ(records::RemoveCopiedLongTermLines(copy), records::TrimResult::NothingToRemove);
  EXPECT_EQ(ReadAll(records::kLongTermPath), kLater);
}

// Every operation of the copy fails in turn, as a stick pulled half-way would make it: the
// log stays whole, no partial file stays on the stick, and the next try copies it all.
TEST_F(UsbCopy, FaultLoopRemovesThePartialFile) {
  std::string big;
  for (int i = 0; i < 400; ++i) big += kLines;  // several chunks
  for (plat::FileOp op : {plat::FileOp::Open, plat::FileOp::Read, plat::FileOp::Write, plat::FileOp::Sync}) {
    LongTermCopy copy;
    CopyResult result = CopyResult::Failed;
    int failed = RunFaultLoop(
        op, plat::FileResult::IoError,
        [&] {
          WriteAll(records::kLongTermPath, big);
          plat::DeleteFile(kTarget);
        },
        [&] { result = records::CopyLongTermLogToStick(now_, copy); },
        [&] { return result == CopyResult::Copied; },
        [&] {
          EXPECT_NE(result, CopyResult::Copied);
          EXPECT_FALSE(plat::FileExists(kTarget));
          EXPECT_EQ(ReadAll(records::kLongTermPath), big);
        });
    EXPECT_GE(failed, 1) << static_cast<int>(op);
    EXPECT_EQ(ReadAll(kTarget), big);
  }
}

TEST(RecordsFaults, ByteCountsUseSixtyFourBits) {
  char16_t label[] = u"Total Memory";
  char16_t out[64];
  records::FormatBytesLine(out, 64, label, 5000000000ull);
  char narrow[64];
  plat::Utf16ToLatin1(narrow, sizeof narrow, out);
  EXPECT_STREQ(narrow, "Total Memory: 5000000000 Bytes");
  records::FormatBytesLine(out, 64, label, 2147483648ull);
  plat::Utf16ToLatin1(narrow, sizeof narrow, out);
  EXPECT_STREQ(narrow, "Total Memory: 2147483648 Bytes");
}

TEST_F(UsbCopy, LogSizeAboveFourGigabytes) {
  // A sparse file stands for a log that outgrew 32 bits.
  plat::FileHandle f;
  ASSERT_EQ(plat::OpenFile(records::kLongTermPath, plat::OpenMode::ReadWrite, f), plat::FileResult::Ok);
  ASSERT_EQ(plat::TruncateFile(f, 5000000000ull), plat::FileResult::Ok);
  plat::CloseFile(f);
  EXPECT_EQ(records::LongTermLogSize(), 5000000000ull);
  EXPECT_EQ(records::LongTermUsedPercent(), 100);
}

}  // namespace
}  // namespace records_test
