#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "i18n/Language.h"
#include "platform/Text.h"
#include "records/Preferences.h"
#include "records/ShortTermLog.h"
#include "records/StatusChartData.h"
#include "tests/records/RecordsTestSupport.h"

namespace records_test {
namespace {

using records::SampleRecord;

constexpr const char* kPattern = "\\Hard Disk\\ShortTermDataLog\\DATA_LOG_24HR*.DAT";

// A record whose moisture fields carry `n`, so a page read shows which records it holds.
SampleRecord Numbered(int n) {
  SampleRecord r{};
  r.b[records::kSampleMoistIn] = static_cast<uint8_t>(n >> 8);
  r.b[records::kSampleMoistIn + 1] = static_cast<uint8_t>(n & 0xFF);
  return r;
}
int NumberOf(const SampleRecord& r) { return records::SampleU16(r, records::kSampleMoistIn); }

std::string Bytes(int first, int count) {
  std::string s;
  for (int i = 0; i < count; ++i) {
    SampleRecord r = Numbered(first + i);
    s.append(reinterpret_cast<const char*>(r.b), sizeof r.b);
  }
  return s;
}

std::vector<int> Page(int rows, int offset) {
  SampleRecord buf[16];
  int n = records::ReadSamplePage(rows, buf, offset);
  std::vector<int> out;
  if (n < 0) return {-1};
  for (int i = 0; i < n; ++i) out.push_back(NumberOf(buf[i]));
  return out;
}

std::vector<int> Range(int from, int to) {
  std::vector<int> v;
  for (int i = from; i <= to; ++i) v.push_back(i);
  return v;
}

class ShortTermLog : public PanelRoot {
 protected:
  void SetUp() override {
    PanelRoot::SetUp();
    ASSERT_EQ(plat::CreateFolder("\\Hard Disk\\ShortTermDataLog"), plat::FileResult::Ok);
  }
  void Append(int n) { ASSERT_EQ(records::AppendSample(Numbered(n)), records::LogResult::Ok); }
  // Two files as the log leaves them: an older full one and a newer one of `newer` records.
  void TwoFiles(int newer) {
    WriteAll("\\Hard Disk\\ShortTermDataLog\\DATA_LOG_24HR16_10_03_19_00_00.DAT", Bytes(1, 144));
    WriteAll("\\Hard Disk\\ShortTermDataLog\\DATA_LOG_24HR16_10_04_19_00_00.DAT", Bytes(145, newer));
  }
};

TEST(SampleRecordLayout, BytesFromTheStatusHighFirst) {
  lnk::DryerStatus s = RunningStatus();
  SampleRecord r{};
  records::FillSampleRecord(r, s, MakeTime(2016, 10, 4, 19, 5, 9));
  const uint8_t expect[18] = {0, 112, 610 >> 8, 610 & 0xFF, 0, 237, 845 >> 8, 845 & 0xFF, 0, 152,
                              0, 40,  0,        19,         5, 9,  10,       4};
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(r.b), 18),
            std::string(reinterpret_cast<const char*>(expect), 18));
  // Source 1 takes the grain temperature at 91..92; an unknown source keeps it.
  s.b[lnk::kStatusGrainTempSelect] = 1;
  s.b[lnk::kStatusGrainTemp2] = 0x2C;
  s.b[lnk::kStatusGrainTemp2 + 1] = 0x01;
  records::FillSampleRecord(r, s, MakeTime(2016, 10, 4, 19, 5, 9));
  EXPECT_EQ(records::SampleS16(r, records::kSampleGrainTemp), 300);
  s.b[lnk::kStatusGrainTempSelect] = 3;
  s.b[lnk::kStatusGrainTemp2] = 0;
  records::FillSampleRecord(r, s, MakeTime(2016, 10, 4, 19, 5, 9));
  EXPECT_EQ(records::SampleS16(r, records::kSampleGrainTemp), 300);
}

TEST_F(ShortTermLog, FileNamedAfterItsStart) {
  Append(1);
  EXPECT_EQ(List(kPattern), (std::vector<std::string>{"DATA_LOG_24HR16_10_04_19_05_09.DAT"}));
}

TEST_F(ShortTermLog, RotatesAfter144And288Samples) {
  // Samples ten minutes apart, as with the default period.
  int64_t t0 = plat::ToEpochSeconds(MakeTime(2016, 10, 4, 0, 0, 0));
  for (int i = 1; i <= 289; ++i) {
    SetClock(plat::FromEpochSeconds(t0 + (i - 1) * 600));
    Append(i);
    std::vector<std::string> files = List(kPattern);
    if (i == 144) {
      ASSERT_EQ(files.size(), 1u);
    }
    if (i == 145 || i == 288) {
      ASSERT_EQ(files.size(), 2u);
    }
  }
  // The 289th sample removed the older file and started a third.
  std::vector<std::string> files = List(kPattern);
  ASSERT_EQ(files.size(), 2u);
  EXPECT_EQ(files[0], "DATA_LOG_24HR16_10_05_00_00_00.DAT");  // sample 145
  EXPECT_EQ(files[1], "DATA_LOG_24HR16_10_06_00_00_00.DAT");  // sample 289
  EXPECT_EQ(records::CountSamples(), 144);
  EXPECT_EQ(Page(8, 0), Range(282, 289));
}

// A panel clock behind the older file's name: the file started behind fills up and then the
// file written longest ago goes, so the newest samples stay and read as the newest.
TEST_F(ShortTermLog, RotationNeverDeletesTheFileJustWrittenWhenTheClockIsBehind) {
  WriteAll("\\Hard Disk\\ShortTermDataLog\\DATA_LOG_24HR16_10_05_08_00_00.DAT", Bytes(1, 144));
  SetClock(MakeTime(2016, 10, 4, 19, 5, 0));
  for (int i = 145; i <= 289; ++i) {
    Append(i);
    plat::AdvanceVirtualClock(600000);
  }
  EXPECT_EQ(List(kPattern), (std::vector<std::string>{"DATA_LOG_24HR16_10_04_19_05_00.DAT",
                                                      "DATA_LOG_24HR16_10_05_19_05_00.DAT"}));
  EXPECT_EQ(Page(8, 0), Range(282, 289));
}

TEST_F(ShortTermLog, NineRecordsNewestPageIsTwoToNine) {
  for (int i = 1; i <= 9; ++i) Append(i);
  EXPECT_EQ(records::CountSamples(), 9);
  EXPECT_EQ(Page(8, 0), Range(2, 9));
  EXPECT_EQ(Page(8, 1), Range(1, 8));
  EXPECT_EQ(Page(8, 5), Range(1, 8));  // past the oldest: the oldest page
}

TEST_F(ShortTermLog, OneFileAlwaysReadsEightRows) {
  for (int i = 1; i <= 20; ++i) Append(i);
  EXPECT_EQ(Page(12, 0), Range(13, 20));
  EXPECT_EQ(Page(4, 0), Range(17, 20));
}

TEST_F(ShortTermLog, PageStraddlingBothFiles) {
  TwoFiles(5);  // records 1..144 and 145..149
  EXPECT_EQ(records::CountSamples(), 144);
  EXPECT_EQ(Page(8, 0), Range(142, 149));   // three from the older, five from the newer
  EXPECT_EQ(Page(8, 4), Range(138, 145));
  EXPECT_EQ(Page(8, 5), Range(137, 144));   // wholly in the older file
  EXPECT_EQ(Page(8, 200), Range(1, 8));
  TwoFiles(8);
  EXPECT_EQ(Page(8, 0), Range(145, 152));   // wholly in the newer file
}

TEST_F(ShortTermLog, OddSizedFilesReadWholeRecords) {
  // Two stray bytes before the records, as a hand-copied file might have.
  WriteAll("\\Hard Disk\\ShortTermDataLog\\DATA_LOG_24HR16_10_04_19_00_00.DAT", "xy" + Bytes(1, 10));
  EXPECT_EQ(records::CountSamples(), 10);
  EXPECT_EQ(Page(8, 0), Range(3, 10));
}

TEST_F(ShortTermLog, TornRecordIsReplacedByTheNextSample) {
  const char* path = "\\Hard Disk\\ShortTermDataLog\\DATA_LOG_24HR16_10_04_19_00_00.DAT";
  WriteAll(path, Bytes(1, 10) + std::string(7, '\0'));  // a write cut short by a power loss
  Append(11);
  EXPECT_EQ(ReadAll(path), Bytes(1, 11));
  EXPECT_EQ(Page(8, 0), Range(4, 11));
}

TEST_F(ShortTermLog, ThreeFilesWriteNothingAndThePageReadDeletesThem) {
  TwoFiles(10);
  WriteAll("\\Hard Disk\\ShortTermDataLog\\DATA_LOG_24HR16_10_05_19_00_00.DAT", Bytes(500, 3));
  EXPECT_EQ(records::AppendSample(Numbered(1000)), records::LogResult::TooManyFiles);
  EXPECT_EQ(Page(8, 0), std::vector<int>{});
  EXPECT_TRUE(List(kPattern).empty());
  Append(1);
  EXPECT_EQ(List(kPattern).size(), 1u);
}

TEST_F(ShortTermLog, ClearRemovesTwoFiles) {
  TwoFiles(3);
  records::ClearSamples();
  EXPECT_TRUE(List(kPattern).empty());
  EXPECT_EQ(records::CountSamples(), 0);
  EXPECT_EQ(Page(8, 0), std::vector<int>{});
}

TEST_F(ShortTermLog, StorageMissingWritesNothing) {
  // No "\Hard Disk" and no root folder either: nowhere to create the log.
  plat::SetFileRoot((root_ + "/card-removed").c_str());
  EXPECT_EQ(records::AppendSample(Numbered(1)), records::LogResult::NoStorage);
  EXPECT_EQ(records::CountSamples(), 0);
  EXPECT_EQ(Page(8, 0), std::vector<int>{});
  plat::SetFileRoot(root_.c_str());
}

// A rotation whose file operations fail one after the other: the newer full file is never
// damaged, and the log works again once the fault is gone.
TEST_F(ShortTermLog, FaultLoopDuringRotation) {
  const char* older = "\\Hard Disk\\ShortTermDataLog\\DATA_LOG_24HR16_10_03_19_00_00.DAT";
  const char* newer = "\\Hard Disk\\ShortTermDataLog\\DATA_LOG_24HR16_10_04_19_00_00.DAT";
  for (plat::FileOp op : {plat::FileOp::Delete, plat::FileOp::Open, plat::FileOp::Write}) {
    int failed = RunFaultLoop(
        op, plat::FileResult::IoError,
        [&] {
          for (const std::string& f : List(kPattern))
            plat::DeleteFile(("\\Hard Disk\\ShortTermDataLog\\" + f).c_str());
          WriteAll(older, Bytes(1, 144));
          WriteAll(newer, Bytes(145, 144));
        },
        [&] { records::AppendSample(Numbered(289)); },
        [&] { return Page(8, 0) == Range(282, 289); },
        [&] {
          EXPECT_EQ(ReadAll(newer), Bytes(145, 144));
          EXPECT_LE(List(kPattern).size(), 2u);
        });
    EXPECT_EQ(failed, 1) << static_cast<int>(op);
    EXPECT_EQ(Page(8, 0), Range(282, 289));
  }
}

TEST(StatusChartRows, TimeAndValues) {
  SampleRecord r{};
  lnk::DryerStatus s = RunningStatus();
  records::FillSampleRecord(r, s, MakeTime(2016, 10, 4, 0, 7, 0));
  records::ChartRowTexts row;
  records::FormatChartRow(r, false, row);
  EXPECT_STREQ(row.time, "12:07AM 10/4");
  EXPECT_STREQ(row.grainTemp, "112\xB0""F");
  EXPECT_STREQ(row.moistIn, "23.7%");
  EXPECT_STREQ(row.moistOut, "15.2%");
  EXPECT_STREQ(row.tempOut, "84\xB0""F");
  EXPECT_STREQ(row.rollSpeed, "40 %");
  records::FillSampleRecord(r, s, MakeTime(2016, 10, 4, 13, 7, 0));
  records::FormatChartRow(r, false, row);
  EXPECT_STREQ(row.time, " 1:07PM 10/4");
  records::FillSampleRecord(r, s, MakeTime(2016, 10, 4, 12, 0, 0));
  records::FormatChartRow(r, true, row);
  EXPECT_STREQ(row.time, "12:00PM 10/4");
  EXPECT_STREQ(row.grainTemp, "44\xB0""C");  // 5 x (112 - 32) / 9 = 44.4
  EXPECT_STREQ(row.tempOut, "28\xB0""C");    // 84 F
}

TEST(StatusChartRows, LoggerState) {
  records::ChartLoggerState on = records::ChartLoggerStateFor(true, 42);
  EXPECT_EQ(on.topStringId, records::kStringLoggerOn);
  EXPECT_STREQ(on.percent, "42%");
  EXPECT_EQ(on.bottomStringId, 0);
  records::ChartLoggerState full = records::ChartLoggerStateFor(true, 100);
  EXPECT_EQ(full.bottomStringId, records::kStringLoggerFull);
  EXPECT_STREQ(full.percent, "");
  EXPECT_EQ(records::ChartLoggerStateFor(false, 42).topStringId, records::kStringLoggerOff);
}

TEST_F(ShortTermLog, SampleTimeCaptionFromTheStringTable) {
  WriteEnglishStrings({{286, u"SAMPLE TIME"}, {342, u"MIN"}});
  i18n::ResetLanguageState();
  char16_t out[64];
  char narrow[64];
  records::FormatSampleTimeCaption(out, 64, 10);
  plat::Utf16ToLatin1(narrow, sizeof narrow, out);
  EXPECT_STREQ(narrow, "SAMPLE TIME 10 MIN");
  records::FormatPeriodLabel(out, 64, 15);
  plat::Utf16ToLatin1(narrow, sizeof narrow, out);
  EXPECT_STREQ(narrow, "15 MIN");
  records::FormatSampleTimeCaption(out, 8, 10);  // cut to the room given, still terminated
  EXPECT_EQ(plat::Utf16Length(out), 7u);
  i18n::ResetLanguageState();
}

TEST(RecordsFaults, SampleTimeDialogFallsBackToFiveMinutes) {
  EXPECT_EQ(records::DialogSamplePeriod(3), 5);
  EXPECT_EQ(records::DialogSamplePeriod(0), 5);
  EXPECT_EQ(records::DialogSamplePeriod(15), 15);
  EXPECT_EQ(records::DialogSamplePeriod(1), 1);
}

TEST(RecordsFaults, ChartScrollClampsToTheNewestPage) {
  // The scroll bar starts at the newest page: position `count`, clamped to count - 7.
  EXPECT_EQ(records::ClampChartScrollPosition(144, 144), 137);
  EXPECT_EQ(records::ChartStartOffset(records::ClampChartScrollPosition(144, 144), 144), 0);
  EXPECT_EQ(records::ChartStartOffset(0, 144), 137);
  // Line down at the newest page stays there; S never goes negative.
  int pos = records::ChartScroll(137, records::ChartScrollAction::LineDown, 0, 144);
  EXPECT_EQ(pos, 137);
  EXPECT_EQ(records::ChartStartOffset(pos, 144), 0);
  pos = records::ChartScroll(137, records::ChartScrollAction::PageDown, 0, 144);
  EXPECT_EQ(records::ChartStartOffset(pos, 144), 0);
  pos = records::ChartScroll(137, records::ChartScrollAction::Thumb, 500, 144);
  EXPECT_EQ(records::ChartStartOffset(pos, 144), 0);
  // Up moves back in time.
  pos = records::ChartScroll(137, records::ChartScrollAction::PageUp, 0, 144);
  EXPECT_EQ(records::ChartStartOffset(pos, 144), 8);
  pos = records::ChartScroll(pos, records::ChartScrollAction::LineUp, 0, 144);
  EXPECT_EQ(records::ChartStartOffset(pos, 144), 9);
  EXPECT_EQ(records::ChartScroll(3, records::ChartScrollAction::PageUp, 0, 144), 0);
  // With 9 records there are exactly two pages.
  EXPECT_EQ(records::ChartStartOffset(records::ClampChartScrollPosition(9, 9), 9), 0);
  EXPECT_EQ(records::ChartStartOffset(0, 9), 2);  // the range 0..count holds one spare step
  EXPECT_EQ(records::ChartStartOffset(0, 5), 0);  // the bar is hidden: one page
}

}  // namespace
}  // namespace records_test
