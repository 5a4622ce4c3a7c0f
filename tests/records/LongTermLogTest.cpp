#include <gtest/gtest.h>

#include <string>

#include "records/LogTick.h"
#include "records/LongTermLog.h"
#include "tests/records/RecordsTestSupport.h"

namespace records_test {
namespace {

using records::LongTermRecord;
using records::LongTermResult;

std::string LineFor(const lnk::DryerStatus& s, const plat::LocalTime& t) {
  LongTermRecord r{};
  records::FillLongTermRecord(r, s, t);
  char line[records::kLongTermLineChars];
  int n = records::FormatLongTermLine(r, line, sizeof line);
  return std::string(line, n);
}

int CountLines(const std::string& text) {
  int n = 0;
  for (size_t i = 0; i + 1 < text.size(); ++i)
    if (text[i] == '\r' && text[i + 1] == '\n') ++n;
  return n;
}

TEST(LongTermFormat, WholeLineByteForByte) {
  EXPECT_EQ(LineFor(RunningStatus(), MakeTime(2016, 10, 4, 19, 5, 9)),
            "2016-10-04,07:05:09PM,112,23.7,61.0,15.2,84.5,40\r\n");
}

TEST(LongTermFormat, TwelveHourClock) {
  lnk::DryerStatus s = RunningStatus();
  EXPECT_EQ(LineFor(s, MakeTime(2016, 10, 4, 0, 30, 0)).substr(11, 10), "12:30:00AM");
  EXPECT_EQ(LineFor(s, MakeTime(2016, 10, 4, 12, 5, 0)).substr(11, 10), "12:05:00PM");
  EXPECT_EQ(LineFor(s, MakeTime(2016, 10, 4, 13, 0, 0)).substr(11, 10), "01:00:00PM");
  EXPECT_EQ(LineFor(s, MakeTime(2016, 10, 4, 11, 59, 59)).substr(11, 10), "11:59:59AM");
}

TEST(LongTermFormat, MoistureTenths) {
  lnk::DryerStatus s = RunningStatus();
  s.b[lnk::kStatusMoisture1 + 1] = 152;
  s.b[lnk::kStatusMoisture2 + 1] = 5;
  std::string line = LineFor(s, MakeTime(2016, 10, 4, 8, 0, 0));
  EXPECT_NE(line.find(",0.5,61.0,15.2,"), std::string::npos) << line;
  // Incoming moisture above 25.5 % needs the high byte: 300 tenths.
  s.b[lnk::kStatusMoisture2] = 1;
  s.b[lnk::kStatusMoisture2 + 1] = 44;
  EXPECT_NE(LineFor(s, MakeTime(2016, 10, 4, 8, 0, 0)).find(",30.0,"), std::string::npos);
}

TEST(LongTermFormat, GrainTemperatureSource) {
  lnk::DryerStatus s = RunningStatus();
  s.b[lnk::kStatusGrainTemp1] = 90;
  s.b[lnk::kStatusGrainTemp2] = 91;
  LongTermRecord r{};
  plat::LocalTime t = MakeTime(2016, 1, 2, 3, 4, 5);
  s.b[lnk::kStatusGrainTempSelect] = 2;
  records::FillLongTermRecord(r, s, t);
  EXPECT_EQ(r.grainTempLow, 90);
  s.b[lnk::kStatusGrainTempSelect] = 1;
  records::FillLongTermRecord(r, s, t);
  EXPECT_EQ(r.grainTempLow, 91);
  // An unknown source keeps the previous reading.
  s.b[lnk::kStatusGrainTempSelect] = 7;
  records::FillLongTermRecord(r, s, t);
  EXPECT_EQ(r.grainTempLow, 91);
  EXPECT_EQ(r.spare, s.b[lnk::kStatusMoistureControl202]);
}

TEST(RecordsFaults, NegativeTemperaturesKeepTheirSign) {
  lnk::DryerStatus s = RunningStatus();
  int16_t grain = -3;
  s.b[lnk::kStatusGrainTemp3] = static_cast<uint8_t>(grain & 0xFF);
  s.b[lnk::kStatusGrainTemp3 + 1] = static_cast<uint8_t>((grain >> 8) & 0xFF);
  int16_t tempIn = -5;  // -0.5 degrees
  s.b[lnk::kStatusMoisture4] = static_cast<uint8_t>((tempIn >> 8) & 0xFF);
  s.b[lnk::kStatusMoisture4 + 1] = static_cast<uint8_t>(tempIn & 0xFF);
  int16_t tempOut = -123;
  s.b[lnk::kStatusMoisture3] = static_cast<uint8_t>((tempOut >> 8) & 0xFF);
  s.b[lnk::kStatusMoisture3 + 1] = static_cast<uint8_t>(tempOut & 0xFF);
  EXPECT_EQ(LineFor(s, MakeTime(2016, 10, 4, 19, 5, 9)),
            "2016-10-04,07:05:09PM,-3,23.7,-0.5,15.2,-12.3,40\r\n");
}

TEST(LongTermPercent, BoundariesOfTheCapacity) {
  EXPECT_EQ(records::UsedPercentForSize(0), 0);
  EXPECT_EQ(records::UsedPercentForSize(records::kLongTermCapacity / 2), 50);
  EXPECT_EQ(records::UsedPercentForSize(records::kLongTermCapacity - 1), 99);
  EXPECT_EQ(records::UsedPercentForSize(records::kLongTermCapacity), 100);
  EXPECT_EQ(records::UsedPercentForSize(records::kLongTermCapacity * 3), 100);
  // 71 % is the first figure above the warning limit.
  EXPECT_EQ(records::UsedPercentForSize(records::kLongTermCapacity / 100 * 71 + 100), 71);
}

class LongTermFile : public PanelRoot {
 protected:
  void SetUp() override {
    PanelRoot::SetUp();
    records::ResetLoggingState();
    records::FillLongTermRecord(record_, RunningStatus(), MakeTime(2016, 10, 4, 19, 5, 9));
  }
  LongTermRecord record_{};
};

TEST_F(LongTermFile, ResultsAndUsedPercent) {
  int percent = -1;
  records::SetLongTermEnabled(false);
  EXPECT_EQ(records::AppendLongTermLine(record_, percent), LongTermResult::NotEnabled);
  EXPECT_EQ(percent, 0);
  EXPECT_EQ(SizeOf(records::kLongTermPath), 0u);  // the file is created, nothing written

  records::SetLongTermEnabled(true);
  EXPECT_EQ(records::AppendLongTermLine(record_, percent), LongTermResult::Written);
  EXPECT_EQ(ReadAll(records::kLongTermPath), "2016-10-04,07:05:09PM,112,23.7,61.0,15.2,84.5,40\r\n");
  EXPECT_EQ(records::LongTermUsedPercent(), 0);
}

TEST_F(LongTermFile, FullFileTakesNoMoreLines) {
  std::string full(records::kLongTermCapacity, 'x');
  ASSERT_EQ(plat::CreateFolder(records::kLongTermFolder), plat::FileResult::Ok);
  WriteAll(records::kLongTermPath, full);
  records::SetLongTermEnabled(true);
  int percent = -1;
  EXPECT_EQ(records::AppendLongTermLine(record_, percent), LongTermResult::Full);
  EXPECT_EQ(percent, 100);
  EXPECT_EQ(SizeOf(records::kLongTermPath), records::kLongTermCapacity);
  EXPECT_EQ(records::LongTermUsedPercent(), 100);
}

TEST_F(LongTermFile, StorageMissingGivesResult2) {
  ASSERT_EQ(::nftw(Host("\\Hard Disk").c_str(), RemoveEntry, 16, FTW_DEPTH | FTW_PHYS), 0);
  records::SetLongTermEnabled(true);
  int percent = 37;
  EXPECT_EQ(records::AppendLongTermLine(record_, percent), LongTermResult::OpenFailed);
  EXPECT_EQ(percent, 37);
  EXPECT_FALSE(plat::FolderExists("\\Hard Disk"));
}

TEST_F(LongTermFile, LoggerOnDryerStoppedUpdatesPercentOnly) {
  ASSERT_EQ(plat::CreateFolder(records::kLongTermFolder), plat::FileResult::Ok);
  WriteAll(records::kLongTermPath, std::string(records::kLongTermCapacity / 4, 'x'));
  lnk::DryerStatus s = RunningStatus();
  s.b[lnk::kStatusRunFlags2] = 0;
  records::LoggingSecond sec;
  records::RunLoggingSecond(s, sec);
  EXPECT_TRUE(sec.longTermStep);
  EXPECT_EQ(sec.longTerm, LongTermResult::NotEnabled);
  EXPECT_EQ(sec.usedPercent, 25);
  // The file grows behind the logger's back; the next step, 12 s later, sees it.
  WriteAll(records::kLongTermPath, std::string(records::kLongTermCapacity / 2, 'x'));
  for (int i = 1; i < records::kLongTermStepTicks; ++i) {
    records::RunLoggingSecond(s, sec);
    EXPECT_FALSE(sec.longTermStep);
    EXPECT_EQ(sec.usedPercent, 25);
  }
  records::RunLoggingSecond(s, sec);
  EXPECT_TRUE(sec.longTermStep);
  EXPECT_EQ(sec.usedPercent, 50);
  EXPECT_EQ(SizeOf(records::kLongTermPath), records::kLongTermCapacity / 2);
}

TEST_F(LongTermFile, LoggerOffTakesNoLines) {
  lnk::DryerStatus s = RunningStatus();
  s.b[lnk::kStatusDataLogger] = 0;
  records::LoggingSecond sec;
  for (int i = 0; i < 30; ++i) records::RunLoggingSecond(s, sec);
  EXPECT_FALSE(plat::FileExists(records::kLongTermPath));
}

TEST_F(LongTermFile, SizeWarningAskedOncePerRun) {
  ASSERT_EQ(plat::CreateFolder(records::kLongTermFolder), plat::FileResult::Ok);
  WriteAll(records::kLongTermPath, std::string(records::kLongTermCapacity * 70 / 100 + 1000, 'x'));
  lnk::DryerStatus s = RunningStatus();
  records::LoggingSecond sec;
  int asked = 0;
  // At 70 % nothing is asked; the file then passes 70 % and stays there for an hour.
  records::RunLoggingSecond(s, sec);
  EXPECT_EQ(sec.usedPercent, 70);
  EXPECT_FALSE(sec.askSizeWarning);
  WriteAll(records::kLongTermPath, std::string(records::kLongTermCapacity * 72 / 100, 'x'));
  for (int i = 1; i < 3600; ++i) {
    records::RunLoggingSecond(s, sec);
    if (sec.askSizeWarning) ++asked;
  }
  EXPECT_EQ(asked, 1);
  // Deleting the file does not arm it again.
  ASSERT_EQ(plat::DeleteFile(records::kLongTermPath), plat::FileResult::Ok);
  WriteAll(records::kLongTermPath, std::string(records::kLongTermCapacity * 90 / 100, 'x'));
  for (int i = 0; i < 120; ++i) {
    records::RunLoggingSecond(s, sec);
    EXPECT_FALSE(sec.askSizeWarning);
  }
}

TEST_F(LongTermFile, FirstStepAtFirstTickThenEveryTwelfth) {
  lnk::DryerStatus s = RunningStatus();
  records::LoggingSecond sec;
  std::vector<int> steps;
  for (int tick = 1; tick <= 40; ++tick) {
    records::RunLoggingSecond(s, sec);
    if (sec.longTermStep) steps.push_back(tick);
  }
  EXPECT_EQ(steps, (std::vector<int>{1, 13, 25, 37}));
  EXPECT_EQ(CountLines(ReadAll(records::kLongTermPath)), 4);
}

// A power cut left the last line without its end: the next line never joins it.
TEST_F(LongTermFile, LineAfterAPowerCutStartsARowOfItsOwn) {
  const std::string whole = "2016-10-04,07:05:09PM,112,23.7,61.0,15.2,84.5,40\r\n";
  const std::string next = LineFor(RunningStatus(), MakeTime(2016, 10, 4, 19, 5, 9));
  struct Case {
    std::string before;
    std::string after;  // what stands before the appended line
  };
  const Case cases[] = {
      {whole + "2016-10-04,07:05:21P", whole},
      {whole + whole.substr(0, whole.size() - 1), whole + whole},
      {"2016-10-04,07:05:21P", ""},
      {whole, whole},
  };
  records::SetLongTermEnabled(true);
  for (const Case& c : cases) {
    ASSERT_EQ(plat::CreateFolder(records::kLongTermFolder), plat::FileResult::Ok);
    WriteAll(records::kLongTermPath, c.before);
    int percent = 0;
    EXPECT_EQ(records::AppendLongTermLine(record_, percent), LongTermResult::Written);
    EXPECT_EQ(ReadAll(records::kLongTermPath), c.after + next) << c.before;
  }
}

// Every file operation of an append fails in turn: the lines already logged stay whole and
// no torn line is left behind; the first run without the fault adds the line.
TEST_F(LongTermFile, FaultLoopKeepsEarlierLines) {
  const std::string before = "2016-10-03,01:00:00AM,100,20.0,50.0,15.0,80.0,30\r\n"
                             "2016-10-03,01:00:12AM,100,20.0,50.0,15.0,80.0,30\r\n";
  const plat::FileOp ops[] = {plat::FileOp::Open, plat::FileOp::Write};
  const plat::FileResult results[] = {plat::FileResult::NoSpace, plat::FileResult::ReadOnly,
                                      plat::FileResult::IoError};
  for (plat::FileOp op : ops) {
    for (plat::FileResult result : results) {
      int failed = RunFaultLoop(
          op, result,
          [&] {
            ASSERT_EQ(plat::CreateFolder(records::kLongTermFolder), plat::FileResult::Ok);
            WriteAll(records::kLongTermPath, before);
            records::ForgetKeptLongTermLines();
            records::SetLongTermEnabled(true);
          },
          [&] {
            int percent = 0;
            records::AppendLongTermLine(record_, percent);
          },
          [&] { return ReadAll(records::kLongTermPath).size() > before.size(); },
          [&] { EXPECT_EQ(ReadAll(records::kLongTermPath), before); });
      EXPECT_EQ(failed, 1) << static_cast<int>(op);
      EXPECT_EQ(CountLines(ReadAll(records::kLongTermPath)), 3);
    }
  }
}

}  // namespace
}  // namespace records_test
