#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "i18n/Language.h"
#include "platform/Text.h"
#include "records/GraphLog.h"
#include "tests/records/RecordsTestSupport.h"

namespace records_test {
namespace {

using records::GraphTrace;
using records::GraphWindow;
using records::SampleRecord;

constexpr const char* kFolder = "\\Hard Disk\\GraphDataLog\\";
constexpr const char* kPattern = "\\Hard Disk\\GraphDataLog\\GRAPH_DATA_LOG_24HR*.DAT";

void Put16(SampleRecord& r, int offset, int value) {
  r.b[offset] = static_cast<uint8_t>((value >> 8) & 0xFF);
  r.b[offset + 1] = static_cast<uint8_t>(value & 0xFF);
}

// `count` records whose incoming moisture counts up from `first`; the other fields are fixed.
std::string Records(int first, int count, int tempInTenths = 615, int grain = 120) {
  std::string s;
  for (int i = 0; i < count; ++i) {
    SampleRecord r{};
    Put16(r, records::kSampleMoistIn, first + i);
    Put16(r, records::kSampleTempIn, tempInTenths);
    Put16(r, records::kSampleGrainTemp, grain);
    Put16(r, records::kSampleMoistOut, 150);
    Put16(r, records::kSampleTempOut, 800);
    r.b[records::kSampleRollSpeed + 1] = 40;
    r.b[records::kSampleHour] = 19;
    s.append(reinterpret_cast<const char*>(r.b), sizeof r.b);
  }
  return s;
}

std::string Constant(int count, int moistIn) {
  std::string s;
  for (int i = 0; i < count; ++i) s += Records(moistIn, 1);
  return s;
}

std::string FileName(const char* stamp) {
  return std::string(kFolder) + "GRAPH_DATA_LOG_24HR" + stamp + ".DAT";
}

class GraphLog : public PanelRoot {
 protected:
  void SetUp() override {
    PanelRoot::SetUp();
    ASSERT_EQ(plat::CreateFolder("\\Hard Disk\\GraphDataLog"), plat::FileResult::Ok);
  }
  void Write(const char* stamp, const std::string& bytes) { WriteAll(FileName(stamp).c_str(), bytes); }
  const int32_t* Trace(const GraphWindow& w, GraphTrace t) { return w.traces[static_cast<int>(t)].values; }
  const records::GraphAxis& Axis(const GraphWindow& w, GraphTrace t) {
    return w.traces[static_cast<int>(t)].axis;
  }
  GraphWindow window_{};
};

TEST_F(GraphLog, FirstRecordStartsAFileNamedNow) {
  SampleRecord r{};
  ASSERT_EQ(records::AppendGraphSample(r), records::LogResult::Ok);
  EXPECT_EQ(List(kPattern), (std::vector<std::string>{"GRAPH_DATA_LOG_24HR16_10_04_19_05_09.DAT"}));
  EXPECT_EQ(SizeOf(FileName("16_10_04_19_05_09").c_str()), 18u);
}

TEST_F(GraphLog, FullFileStartsASecondAndTwoFullDeleteTheOlder) {
  Write("16_10_02_19_05_09", Records(1, 8640));
  SampleRecord r{};
  ASSERT_EQ(records::AppendGraphSample(r), records::LogResult::Ok);
  EXPECT_EQ(List(kPattern).size(), 2u);
  Write("16_10_04_19_05_09", Records(1, 8640));
  SetClock(MakeTime(2016, 10, 5, 19, 5, 19));
  ASSERT_EQ(records::AppendGraphSample(r), records::LogResult::Ok);
  EXPECT_EQ(List(kPattern), (std::vector<std::string>{"GRAPH_DATA_LOG_24HR16_10_04_19_05_09.DAT",
                                                      "GRAPH_DATA_LOG_24HR16_10_05_19_05_19.DAT"}));
}

TEST_F(GraphLog, GraphFileRotatesOnceItHolds155520Bytes) {
  struct Case {
    int olderRecords;
    std::string newerExtra;
  };
  // An older file one record short after a lost write, and a newer one that a torn write
  // pushed past the limit: both must rotate, not grow the newer file without end.
  const Case cases[] = {{8639, ""}, {8640, std::string(9, '\0')}, {8639, std::string(18, '\0')}};
  for (const Case& c : cases) {
    for (const std::string& f : List(kPattern)) plat::DeleteFile((std::string(kFolder) + f).c_str());
    Write("16_10_02_19_05_09", Records(1, c.olderRecords));
    Write("16_10_03_19_05_09", Records(1, 8640) + c.newerExtra);
    EXPECT_EQ(records::AppendGraphSample(SampleRecord{}), records::LogResult::Ok);
    EXPECT_EQ(List(kPattern), (std::vector<std::string>{"GRAPH_DATA_LOG_24HR16_10_03_19_05_09.DAT",
                                                        "GRAPH_DATA_LOG_24HR16_10_04_19_05_09.DAT"}));
  }
}

TEST_F(GraphLog, ThreeFilesBehaveAsTwo) {
  Write("16_10_01_19_05_09", Records(1, 8640));
  Write("16_10_02_19_05_09", Records(1, 8640));
  Write("16_10_03_19_05_09", Records(1, 100));
  SampleRecord r{};
  for (int i = 0; i < 5; ++i) ASSERT_EQ(records::AppendGraphSample(r), records::LogResult::Ok);
  EXPECT_EQ(List(kPattern).size(), 3u);  // appended to the newest, no new file every time
  EXPECT_EQ(SizeOf(FileName("16_10_03_19_05_09").c_str()), 105u * 18);
  Write("16_10_03_19_05_09", Records(1, 8640));
  ASSERT_EQ(records::AppendGraphSample(r), records::LogResult::Ok);
  EXPECT_EQ(List(kPattern), (std::vector<std::string>{"GRAPH_DATA_LOG_24HR16_10_03_19_05_09.DAT",
                                                      "GRAPH_DATA_LOG_24HR16_10_04_19_05_09.DAT"}));
}

// A panel clock behind the newest file's name: the samples go on in the file they started, and
// once both are full the file written longest ago goes, not the one whose name reads oldest.
TEST_F(GraphLog, RotationNeverDeletesTheFileJustWrittenWhenTheClockIsBehind) {
  const std::string ahead = Records(1, 8640);
  Write("16_10_05_08_00_00", ahead);
  SetWrittenAgo(FileName("16_10_05_08_00_00"), 3600);
  SetClock(MakeTime(2016, 10, 4, 19, 5, 0));
  for (int i = 0; i < 4; ++i) {
    ASSERT_EQ(records::AppendGraphSample(SampleRecord{}), records::LogResult::Ok);
    plat::AdvanceVirtualClock(10000);
  }
  EXPECT_EQ(List(kPattern), (std::vector<std::string>{"GRAPH_DATA_LOG_24HR16_10_04_19_05_00.DAT",
                                                      "GRAPH_DATA_LOG_24HR16_10_05_08_00_00.DAT"}));
  EXPECT_EQ(SizeOf(FileName("16_10_04_19_05_00").c_str()), 4u * 18);
  EXPECT_EQ(ReadAll(FileName("16_10_05_08_00_00").c_str()), ahead);

  // The file started behind fills up: the one from ahead goes.
  Write("16_10_04_19_05_00", Records(1, 8639));
  ASSERT_EQ(records::AppendGraphSample(SampleRecord{}), records::LogResult::Ok);
  ASSERT_EQ(records::AppendGraphSample(SampleRecord{}), records::LogResult::Ok);
  EXPECT_EQ(List(kPattern), (std::vector<std::string>{"GRAPH_DATA_LOG_24HR16_10_04_19_05_00.DAT",
                                                      "GRAPH_DATA_LOG_24HR16_10_04_19_05_40.DAT"}));
  EXPECT_EQ(SizeOf(FileName("16_10_04_19_05_00").c_str()), 8640u * 18);

  // After a restart only the files tell which was written last.
  for (const std::string& f : List(kPattern)) plat::DeleteFile((std::string(kFolder) + f).c_str());
  Write("16_10_05_09_00_00", Records(1, 8640));
  Write("16_10_04_20_00_00", Records(1, 8640));
  SetWrittenAgo(FileName("16_10_05_09_00_00"), 7200);
  SetWrittenAgo(FileName("16_10_04_20_00_00"), 3600);
  ASSERT_EQ(records::AppendGraphSample(SampleRecord{}), records::LogResult::Ok);
  EXPECT_EQ(List(kPattern), (std::vector<std::string>{"GRAPH_DATA_LOG_24HR16_10_04_19_05_40.DAT",
                                                      "GRAPH_DATA_LOG_24HR16_10_04_20_00_00.DAT"}));
}

TEST_F(GraphLog, HalfHourOfDataInAOneHourWindowIsZeroFilled) {
  Write("16_10_04_19_05_09", Constant(180, 150));
  ASSERT_EQ(records::LoadGraphWindow(0, 0, window_), records::LogResult::Ok);
  const int32_t* v = Trace(window_, GraphTrace::MoistIn);
  for (int p = 0; p < 180; ++p) ASSERT_EQ(v[p], 0) << p;
  for (int p = 180; p < 360; ++p) ASSERT_EQ(v[p], 150) << p;
  EXPECT_EQ(window_.recordsRead, 180);
  EXPECT_EQ(Trace(window_, GraphTrace::TempIn)[359], 61);  // 61.5 shown in whole degrees
  EXPECT_EQ(Trace(window_, GraphTrace::RollSpeed)[359], 40);
  const records::GraphAxis& a = Axis(window_, GraphTrace::MoistIn);
  EXPECT_EQ(a.step, 40);  // span 153
  EXPECT_EQ(a.ticks[0], 0);
  EXPECT_EQ(a.ticks[4], 160);
  EXPECT_EQ(window_.traces[0].heights[0], 0);
  EXPECT_EQ(window_.traces[0].heights[359], 168);  // 150 x 180 / 160
}

TEST_F(GraphLog, ConstantTraceOf100) {
  Write("16_10_04_19_05_09", Constant(360, 100));
  ASSERT_EQ(records::LoadGraphWindow(0, 0, window_), records::LogResult::Ok);
  const records::GraphAxis& a = Axis(window_, GraphTrace::MoistIn);
  EXPECT_EQ(a.step, 1);
  EXPECT_EQ(std::vector<int>(a.ticks, a.ticks + 5), (std::vector<int>{100, 101, 102, 103, 104}));
}

TEST(GraphAxis, StepTableAndWidening) {
  EXPECT_EQ(records::ComputeGraphAxis(0, 5).step, 2);     // span 8
  EXPECT_EQ(records::ComputeGraphAxis(0, 9).step, 3);     // span 12
  EXPECT_EQ(records::ComputeGraphAxis(10, 27).step, 5);   // span 20
  EXPECT_EQ(records::ComputeGraphAxis(0, 97).step, 25);   // span 100
  EXPECT_EQ(records::ComputeGraphAxis(0, 198).step, 100); // span 201
  // 730..1000 needs more than 4 steps of 100 above 700: the step grows by (1000-700-400)/4.
  records::GraphAxis wide = records::ComputeGraphAxis(730, 1300);
  EXPECT_EQ(wide.ticks[0], 700);
  EXPECT_EQ(wide.step, 150);
  EXPECT_EQ(wide.ticks[4], 1300);
}

TEST(RecordsFaults, NegativeMinimumTakesABottomTickAtOrBelowIt) {
  for (int min : {-1, -3, -5, -7, -49, -120}) {
    records::GraphAxis a = records::ComputeGraphAxis(min, 10);
    EXPECT_LE(a.ticks[0], min) << min;
    EXPECT_EQ(a.ticks[0] % a.step, 0) << min;
    EXPECT_GT(a.ticks[0], min - a.step) << min;
    EXPECT_EQ(records::GraphPointHeight(min, a) >= 0, true);
  }
  records::GraphAxis a = records::ComputeGraphAxis(-3, 10);  // span 16: step 5
  EXPECT_EQ(std::vector<int>(a.ticks, a.ticks + 5), (std::vector<int>{-5, 0, 5, 10, 15}));
}

TEST_F(GraphLog, NegativeTemperaturesAreReadSigned) {
  Write("16_10_04_19_05_09", Records(1, 360, -25, -3));
  ASSERT_EQ(records::LoadGraphWindow(0, 0, window_), records::LogResult::Ok);
  EXPECT_EQ(Trace(window_, GraphTrace::GrainTemp)[0], -3);
  EXPECT_EQ(Trace(window_, GraphTrace::TempIn)[0], -2);  // -2.5 degrees, truncated
  EXPECT_LE(Axis(window_, GraphTrace::GrainTemp).ticks[0], -3);
}

TEST_F(GraphLog, TwoHourWindowAveragesPairs) {
  std::string bytes;
  for (int i = 0; i < 720; ++i) bytes += Records(i % 2 == 0 ? 10 : 21, 1, i % 2 == 0 ? 615 : 625);
  Write("16_10_04_19_05_09", bytes);
  ASSERT_EQ(records::LoadGraphWindow(1, 0, window_), records::LogResult::Ok);
  EXPECT_EQ(window_.hours, 2);
  EXPECT_EQ(Trace(window_, GraphTrace::MoistIn)[0], 15);  // 31 / 2
  EXPECT_EQ(Trace(window_, GraphTrace::TempIn)[0], 62);   // 1240 / 20
}

TEST_F(GraphLog, ScrollingBackAcrossTwoFiles) {
  Write("16_10_03_19_05_09", Records(1, 8640));
  Write("16_10_04_19_05_09", Records(8641, 5));
  ASSERT_EQ(records::LoadGraphWindow(0, 0, window_), records::LogResult::Ok);
  const int32_t* v = Trace(window_, GraphTrace::MoistIn);
  EXPECT_EQ(v[0], 8286);    // the window straddles: the older file's last 355 records
  EXPECT_EQ(v[359], 8645);  // then the newer file's 5
  EXPECT_EQ(window_.maxScrollOffset, 23);
  ASSERT_EQ(records::LoadGraphWindow(0, 1, window_), records::LogResult::Ok);
  EXPECT_EQ(Trace(window_, GraphTrace::MoistIn)[359], 8285);
  EXPECT_EQ(records::GraphHoursAvailable(), 24);
}

TEST_F(GraphLog, ThreeHoursOfDataAllowOneStepBackInATwoHourWindow) {
  Write("16_10_04_19_05_09", Records(1, 3 * 360));
  EXPECT_EQ(records::GraphHoursAvailable(), 3);
  ASSERT_EQ(records::LoadGraphWindow(1, 9, window_), records::LogResult::Ok);
  EXPECT_EQ(window_.maxScrollOffset, 1);
  EXPECT_EQ(window_.scrollOffset, 1);
  EXPECT_EQ(Trace(window_, GraphTrace::MoistIn)[0], 1);  // (1 + 2) / 2
}

TEST_F(GraphLog, FailedReadLeavesTheTracesAsTheyWere) {
  Write("16_10_04_19_05_09", Constant(360, 77));
  ASSERT_EQ(records::LoadGraphWindow(0, 0, window_), records::LogResult::Ok);
  Write("16_10_04_19_05_09", Constant(360, 99));
  plat::InjectFileFault(plat::FileOp::Read, 1, plat::FileResult::IoError, false);
  EXPECT_EQ(records::LoadGraphWindow(0, 0, window_), records::LogResult::ReadFailed);
  EXPECT_EQ(Trace(window_, GraphTrace::MoistIn)[100], 77);
}

TEST_F(GraphLog, OddSizedFileReadsWholeRecords) {
  Write("16_10_04_19_05_09", std::string(5, 'z') + Records(1, 360));
  ASSERT_EQ(records::LoadGraphWindow(0, 0, window_), records::LogResult::Ok);
  EXPECT_EQ(Trace(window_, GraphTrace::MoistIn)[0], 1);
  EXPECT_EQ(Trace(window_, GraphTrace::MoistIn)[359], 360);
}

TEST_F(GraphLog, ScreenTexts) {
  char s[32];
  records::GraphSampleTime t{.present = true, .hour = 0, .minute = 7, .month = 10, .day = 4};
  records::FormatGraphTime(t, true, s, sizeof s);
  EXPECT_STREQ(s, "12:07AM 10/04");
  t.hour = 19;
  records::FormatGraphTime(t, false, s, sizeof s);
  EXPECT_STREQ(s, "7:07PM");
  records::FormatAxisLabel(GraphTrace::MoistOut, 152, false, s, sizeof s);
  EXPECT_STREQ(s, "15.2%");
  records::FormatAxisLabel(GraphTrace::RollSpeed, 40, false, s, sizeof s);
  EXPECT_STREQ(s, "40%");
  records::FormatAxisLabel(GraphTrace::GrainTemp, -4, true, s, sizeof s);
  EXPECT_STREQ(s, "-20");
  WriteEnglishStrings({{460, u"HOURS"}});
  i18n::ResetLanguageState();
  char16_t wide[32];
  records::FormatGraphScrollPosition(wide, 32, 3, 24);
  plat::Utf16ToLatin1(s, sizeof s, wide);
  EXPECT_STREQ(s, "[-3 HOURS]");
  records::FormatGraphScrollPosition(wide, 32, 24, 24);
  plat::Utf16ToLatin1(s, sizeof s, wide);
  EXPECT_STREQ(s, "[END]");
  i18n::ResetLanguageState();
}

TEST_F(GraphLog, FaultLoopDuringRotationKeepsTheNewerFile) {
  const std::string newer = Records(1, 8640);
  for (plat::FileOp op : {plat::FileOp::Delete, plat::FileOp::Open, plat::FileOp::Write}) {
    int failed = RunFaultLoop(
        op, plat::FileResult::NoSpace,
        [&] {
          for (const std::string& f : List(kPattern)) plat::DeleteFile((std::string(kFolder) + f).c_str());
          Write("16_10_02_19_05_09", Records(1, 8640));
          Write("16_10_03_19_05_09", newer);
        },
        [&] { records::AppendGraphSample(SampleRecord{}); },
        [&] { return SizeOf(FileName("16_10_04_19_05_09").c_str()) == 18; },
        [&] { EXPECT_EQ(ReadAll(FileName("16_10_03_19_05_09").c_str()), newer); });
    EXPECT_EQ(failed, 1) << static_cast<int>(op);
    EXPECT_EQ(List(kPattern).size(), 2u);
  }
}

}  // namespace
}  // namespace records_test
