// Ten simulated minutes of the default scenario through the panel's own sampling path: every
// second the plant's status frame is decoded into the status record and handed to the logging
// second of the one-second tick on the same virtual clock, and the status chart's pages must then
// hold one row per sample period with the plant's readings of that second.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "link/DryerStatus.h"
#include "link/Framing.h"
#include "link/Link.h"
#include "link/RegisterMap.h"
#include "link/StatusDecoder.h"
#include "platform/Clock.h"
#include "platform/Files.h"
#include "records/LogTick.h"
#include "records/Preferences.h"
#include "records/SampleRecord.h"
#include "records/ShortTermLog.h"
#include "records/StatusChartData.h"
#include "sim/Simulator.h"
#include "tests/e2e/ProgramSupport.h"

namespace {

constexpr int kSimulatedSeconds = 10 * 60;
constexpr uint64_t kMsPerSecond = 1000;

// The shortest period the sample-time dialog offers.
int ShortestOfferedSampleMinutes() {
  int minutes = 1;
  while (minutes < records::kMaxSampleMinutes && !records::IsOfferedSamplePeriod(minutes)) ++minutes;
  return minutes;
}

// What the plant reported in a second the log sampled.
struct PlantReading {
  uint16_t moistureOut, moistureIn;
  int16_t grainOutTenthsF;
  uint8_t rollPercent;
};

PlantReading ReadPlant(const Simulator& sim) {
  return {SimU16HighFirst(sim, lnk::kStatusOutgoingMoisture), SimU16HighFirst(sim, lnk::kStatusIncomingMoisture),
          static_cast<int16_t>(SimU16HighFirst(sim, lnk::kStatusOutgoingGrainTenthsF)),
          sim.reg[lnk::kStatusMeterRollSpeedPercent]};
}

TEST(DefaultScenarioChart, TenSimulatedMinutesAddARowEverySamplePeriodWithThePlantsReadings) {
  e2e::TempDir root;
  plat::SetFileRoot(root.path.c_str());
  ASSERT_EQ(plat::CreateFolder("\\Hard Disk"), plat::FileResult::Ok);
  plat::UseVirtualClock(plat::LocalTime{.year = 2016, .month = 10, .day = 4, .hour = 6, .dayOfWeek = 2});
  records::ResetLoggingState();
  records::CurrentPreferences() = records::Preferences{};
  const int periodMinutes = ShortestOfferedSampleMinutes();
  records::CurrentPreferences().sampleMinutes = static_cast<uint8_t>(periodMinutes);
  const int periodSeconds = periodMinutes * 60;

  Simulator sim;
  SimInit(sim);
  ASSERT_STREQ(sim.scenario->name, SimDefaultScenario().name);
  lnk::PresetDryerStatus();

  std::vector<PlantReading> sampled;
  uint8_t frame[lnk::kStatusFrameLength];
  lnk::DryerStatus status;
  for (int second = 0; second < kSimulatedSeconds; ++second) {
    SimStep(sim, 1);
    plat::AdvanceVirtualClock(kMsPerSecond);
    SimBuildStatusFrame(sim, frame);
    ASSERT_TRUE(lnk::AcceptStatusFrame(frame, lnk::kStatusFrameLength));
    lnk::DecodeStatusFrame(frame);
    lnk::TakeStatusSnapshot(status);
    records::LoggingSecond logged;
    records::RunLoggingSecond(status, logged);
    ASSERT_TRUE(logged.dryerRunning) << "second " << second;
    if (logged.shortTermSampled) {
      ASSERT_EQ(logged.shortTerm, records::LogResult::Ok) << records::LogResultText(logged.shortTerm);
      sampled.push_back(ReadPlant(sim));
    }
  }

  // One row at the first running second and one each period after.
  const int expectedRows = (kSimulatedSeconds + periodSeconds - 1) / periodSeconds;
  ASSERT_EQ(static_cast<int>(sampled.size()), expectedRows);
  const int count = records::CountSamples();
  ASSERT_EQ(count, expectedRows);
  ASSERT_GT(count, records::kChartPageRows);  // the chart scrolls

  // Every scroll position the chart offers, read as its page load does; each row is placed by
  // the offset from the newest record.
  std::vector<bool> seen(count, false);
  const int lastPosition = records::ClampChartScrollPosition(count, count);
  for (int position = 0; position <= lastPosition; ++position) {
    SCOPED_TRACE(position);
    const int startOffset = records::ChartStartOffset(position, count);
    records::SampleRecord page[records::kChartPageRows];
    const int rows = records::ReadSamplePage(records::kChartPageRows, page, startOffset);
    ASSERT_EQ(rows, records::kChartPageRows);
    // A page that would run past the oldest record is the oldest page.
    const int first = std::max(count - startOffset - rows, 0);
    for (int row = 0; row < rows; ++row) {
      const int index = first + row;
      const PlantReading& want = sampled[index];
      EXPECT_EQ(records::SampleU16(page[row], records::kSampleMoistOut), want.moistureOut) << "row " << index;
      EXPECT_EQ(records::SampleU16(page[row], records::kSampleMoistIn), want.moistureIn) << "row " << index;
      EXPECT_EQ(records::SampleS16(page[row], records::kSampleTempOut), want.grainOutTenthsF) << "row " << index;
      EXPECT_EQ(records::SampleU16(page[row], records::kSampleRollSpeed), want.rollPercent) << "row " << index;
      EXPECT_EQ(page[row].b[records::kSampleMinute] - page[0].b[records::kSampleMinute], row * periodMinutes)
          << "row " << index;
      seen[index] = true;
    }
  }
  for (int i = 0; i < count; ++i) EXPECT_TRUE(seen[i]) << "row " << i << " is on no page";

  // The corn dries: the outgoing moisture falls from row to row on the whole.
  int falls = 0, rises = 0;
  for (int i = 1; i < count; ++i) {
    falls += sampled[i].moistureOut < sampled[i - 1].moistureOut;
    rises += sampled[i].moistureOut > sampled[i - 1].moistureOut;
  }
  EXPECT_GT(falls, rises);
  EXPECT_LT(sampled.back().moistureOut, sampled.front().moistureOut);

  records::ResetLoggingState();
  records::CurrentPreferences() = records::Preferences{};
  lnk::ResetLinkState();
  lnk::ResetDryerStatus();
  plat::UseRealClock();
}

}  // namespace
