#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "records/GraphLog.h"
#include "records/LogTick.h"
#include "records/Preferences.h"
#include "records/ShortTermLog.h"
#include "tests/records/RecordsTestSupport.h"

namespace records_test {
namespace {

constexpr const char* kGraphPattern = "\\Hard Disk\\GraphDataLog\\GRAPH_DATA_LOG_24HR*.DAT";
constexpr const char* kShortPattern = "\\Hard Disk\\ShortTermDataLog\\DATA_LOG_24HR*.DAT";

// Seconds of the day of a record's time stamp.
int RecordSecondOfDay(const std::string& bytes, size_t index) {
  const uint8_t* r = reinterpret_cast<const uint8_t*>(bytes.data()) + index * records::kSampleBytes;
  return r[records::kSampleHour] * 3600 + r[records::kSampleMinute] * 60 + r[records::kSampleSecond];
}

// Checks that the records of `bytes` lie `step` seconds apart (across midnight too), starting at
// `firstSecondOfDay`; returns the second of day of the last.
int ExpectSpacing(const std::string& bytes, int firstSecondOfDay, int step, const char* what) {
  EXPECT_EQ(bytes.size() % records::kSampleBytes, 0u) << what;
  size_t n = bytes.size() / records::kSampleBytes;
  EXPECT_GT(n, 0u) << what;
  if (n == 0) return firstSecondOfDay;
  EXPECT_EQ(RecordSecondOfDay(bytes, 0), firstSecondOfDay) << what;
  int bad = 0;
  for (size_t i = 1; i < n; ++i) {
    int gap = (RecordSecondOfDay(bytes, i) - RecordSecondOfDay(bytes, i - 1) + 86400) % 86400;
    if (gap != step && bad++ < 3) ADD_FAILURE() << what << " record " << i << " gap " << gap;
  }
  return RecordSecondOfDay(bytes, n - 1);
}

std::string Stamp(const plat::LocalTime& t) {
  char s[32];
  std::snprintf(s, sizeof s, "%02d_%02d_%02d_%02d_%02d_%02d", t.year % 100, t.month, t.day, t.hour,
                t.minute, t.second);
  return s;
}

// Seconds since 1970 of a long-term line's date and 12-hour time.
int64_t LineTime(const std::string& line) {
  int y, mo, d, h, mi, s;
  char ap;
  if (std::sscanf(line.c_str(), "%d-%d-%d,%d:%d:%d%cM", &y, &mo, &d, &h, &mi, &s, &ap) != 7) return -1;
  int hour = h % 12 + (ap == 'P' ? 12 : 0);
  return plat::ToEpochSeconds(MakeTime(y, mo, d, hour, mi, s));
}

class LoggingDays : public PanelRoot {
 protected:
  void SetUp() override {
    PanelRoot::SetUp();
    records::ResetLoggingState();
    records::CurrentPreferences() = records::Preferences{};
    SetClock(start_);
  }
  void TearDown() override {
    records::ResetLoggingState();
    PanelRoot::TearDown();
  }
  plat::LocalTime At(int64_t tick) { return plat::FromEpochSeconds(t0_ + tick); }

  const plat::LocalTime start_ = MakeTime(2016, 10, 4, 6, 0, 0);
  const int64_t t0_ = plat::ToEpochSeconds(MakeTime(2016, 10, 4, 6, 0, 0));
};

// Two days and a few minutes of a running dryer with the logger on, one call per second of the
// virtual clock: long-term lines every 12 s, graph records every 10 s with two rotations, short-
// term samples every 601 s with the 289th deleting the older file.
TEST_F(LoggingDays, FortyEightHoursSecondBySecond) {
  constexpr int64_t kTicks = 48 * 3600 + 600;
  lnk::DryerStatus s = RunningStatus();
  records::LoggingSecond sec;
  int64_t lines = 0, graphs = 0, samples = 0;
  for (int64_t tick = 1; tick <= kTicks; ++tick) {
    plat::AdvanceVirtualClock(1000);
    s.b[lnk::kStatusMoisture2 + 1] = static_cast<uint8_t>(tick / 600);  // a slowly changing reading
    records::RunLoggingSecond(s, sec);
    if (sec.longTermStep) {
      ASSERT_EQ(sec.longTerm, records::LongTermResult::Written) << tick;
      ++lines;
    }
    if (sec.graphSampled) {
      ASSERT_EQ(sec.graph, records::LogResult::Ok) << tick;
      ++graphs;
    }
    if (sec.shortTermSampled) {
      ASSERT_EQ(sec.shortTerm, records::LogResult::Ok) << tick;
      ++samples;
    }
    ASSERT_FALSE(sec.askSizeWarning);
  }
  EXPECT_EQ(lines, kTicks / 12);
  EXPECT_EQ(graphs, (kTicks - 11) / 10 + 1);
  EXPECT_EQ(samples, (kTicks - 1) / 601 + 1);

  // Long-term: every line 12 s after the one before, the first at the first tick.
  std::string log = ReadAll(records::kLongTermPath);
  std::vector<int64_t> times;
  for (size_t pos = 0; pos < log.size();) {
    size_t end = log.find("\r\n", pos);
    ASSERT_NE(end, std::string::npos);
    times.push_back(LineTime(log.substr(pos, end - pos)));
    pos = end + 2;
  }
  ASSERT_EQ(static_cast<int64_t>(times.size()), lines);
  EXPECT_EQ(times.front(), t0_ + 1);
  for (size_t i = 1; i < times.size(); ++i) ASSERT_EQ(times[i] - times[i - 1], 12) << i;

  // Graph: the first file (ticks 11..86401) is gone; the second holds a full day from tick
  // 86411, the third the rest from tick 172811.
  std::vector<std::string> graphFiles = List(kGraphPattern);
  ASSERT_EQ(graphFiles.size(), 2u);
  EXPECT_EQ(graphFiles[0], "GRAPH_DATA_LOG_24HR" + Stamp(At(86411)) + ".DAT");
  EXPECT_EQ(graphFiles[1], "GRAPH_DATA_LOG_24HR" + Stamp(At(172811)) + ".DAT");
  std::string day2 = ReadAll(("\\Hard Disk\\GraphDataLog\\" + graphFiles[0]).c_str());
  std::string day3 = ReadAll(("\\Hard Disk\\GraphDataLog\\" + graphFiles[1]).c_str());
  EXPECT_EQ(day2.size(), records::kGraphFileBytes);
  EXPECT_EQ(day3.size(), static_cast<size_t>(graphs - 2 * 8640) * records::kSampleBytes);
  plat::LocalTime first2 = At(86411);
  int last = ExpectSpacing(day2, first2.hour * 3600 + first2.minute * 60 + first2.second, 10, "graph day 2");
  ExpectSpacing(day3, (last + 10) % 86400, 10, "graph day 3");

  // Short-term: samples 145..288 in one file, the 289th started the next.
  std::vector<std::string> shortFiles = List(kShortPattern);
  ASSERT_EQ(shortFiles.size(), 2u);
  EXPECT_EQ(shortFiles[0], "DATA_LOG_24HR" + Stamp(At(1 + 144 * 601)) + ".DAT");
  EXPECT_EQ(shortFiles[1], "DATA_LOG_24HR" + Stamp(At(1 + 288 * 601)) + ".DAT");
  std::string older = ReadAll(("\\Hard Disk\\ShortTermDataLog\\" + shortFiles[0]).c_str());
  EXPECT_EQ(older.size(), records::kShortTermFileBytes);
  plat::LocalTime s145 = At(1 + 144 * 601);
  ExpectSpacing(older, s145.hour * 3600 + s145.minute * 60 + s145.second, 601, "short-term");
  EXPECT_EQ(records::CountSamples(), 144);
  // The graph window of the last hour comes from the newest records.
  records::GraphWindow w{};
  ASSERT_EQ(records::LoadGraphWindow(0, 0, w), records::LogResult::Ok);
  EXPECT_EQ(w.traces[0].values[359], (11 + (graphs - 1) * 10) / 600 % 256);
}

TEST_F(LoggingDays, StoppedDryerHoldsTheCountdowns) {
  lnk::DryerStatus running = RunningStatus();
  lnk::DryerStatus stopped = running;
  stopped.b[lnk::kStatusRunFlags2] = 0;
  records::CurrentPreferences().sampleMinutes = 1;
  records::LoggingSecond sec;
  std::vector<int> graphTicks, sampleTicks;
  for (int tick = 1; tick <= 200; ++tick) {
    plat::AdvanceVirtualClock(1000);
    // Running for 5 s, stopped for 100 s, then running again.
    records::RunLoggingSecond(tick <= 5 || tick > 105 ? running : stopped, sec);
    if (sec.graphSampled) graphTicks.push_back(tick);
    if (sec.shortTermSampled) sampleTicks.push_back(tick);
  }
  // Ticks 1..5 and 106.. run, so running second n is tick n + 100 from the sixth on: the
  // graph's eleventh running second is tick 111, and the sample 61 running seconds after the
  // first (running second 62) is tick 162.
  ASSERT_GE(graphTicks.size(), 2u);
  EXPECT_EQ(graphTicks[0], 111);
  EXPECT_EQ(graphTicks[1], 121);
  EXPECT_EQ(sampleTicks, (std::vector<int>{1, 162}));
}

}  // namespace
}  // namespace records_test
