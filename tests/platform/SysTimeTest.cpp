#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "platform/Clock.h"
#include "platform/Files.h"
#include "platform/TimeFormat.h"
#include "tests/platform/SysTempDir.h"

using namespace plat;

namespace {

LocalTime At(int year, int month, int day, int hour, int minute, int second) {
  LocalTime t{.year = year, .month = month, .day = day, .hour = hour, .minute = minute,
              .second = second};
  return FromEpochSeconds(ToEpochSeconds(t));  // fills in the weekday
}

std::string Format(const LocalTime& t, const char* picture) {
  char out[80];
  FormatTime(t, picture, out, sizeof(out));
  return out;
}

int64_t SecondsBetween(const LocalTime& a, const LocalTime& b) {
  return ToEpochSeconds(b) - ToEpochSeconds(a);
}

class SysTime : public ::testing::Test {
 protected:
  void TearDown() override { UseRealClock(); }
};

}  // namespace

TEST_F(SysTime, PicturesThePanelUses) {
  LocalTime evening = At(2016, 10, 4, 19, 5, 9);
  EXPECT_EQ(evening.dayOfWeek, 2);  // a Tuesday
  EXPECT_EQ(Format(evening, "MMM dd',' yyy"), "Oct 04, 2016");
  EXPECT_EQ(Format(evening, "h':'mm tt"), "7:05 PM");
  EXPECT_EQ(Format(evening, "yy'_'MM'_'dd'_'"), "16_10_04_");
  EXPECT_EQ(Format(evening, "HH'_'mm'_'ss"), "19_05_09");
  EXPECT_EQ(Format(evening, "dddd  MMM dd',' yyy"), "Tuesday  Oct 04, 2016");
  EXPECT_EQ(Format(evening, "h':'mm':'ss tt"), "7:05:09 PM");
  // Together they make the log file names.
  EXPECT_EQ("DATA_LOG_24HR" + Format(evening, "yy'_'MM'_'dd'_'") + Format(evening, "HH'_'mm'_'ss") + ".DAT",
            "DATA_LOG_24HR16_10_04_19_05_09.DAT");
}

TEST_F(SysTime, EveryPictureElement) {
  LocalTime morning = At(2009, 3, 7, 0, 4, 5);  // a Saturday, just after midnight
  struct Case {
    const char* picture;
    const char* text;
  };
  constexpr Case kCases[] = {
      {"d/dd/ddd/dddd", "7/07/Sat/Saturday"},
      {"M/MM/MMM/MMMM", "3/03/Mar/March"},
      {"y/yy/yyy/yyyy/yyyyy", "9/09/2009/2009/2009"},
      {"h hh H HH", "12 12 0 00"},
      {"m mm s ss", "4 04 5 05"},
      {"t tt", "A AM"},
      {"'h''s' hh", "h's 12"},
      {"'unterminated", "unterminated"},
      {"[HH:mm]", "[00:04]"},
      {"", ""},
  };
  for (const Case& c : kCases) EXPECT_EQ(Format(morning, c.picture), c.text) << c.picture;
  LocalTime noon = At(2016, 12, 31, 12, 0, 0);
  EXPECT_EQ(Format(noon, "h:mm tt"), "12:00 PM");
  EXPECT_EQ(Format(noon, "hh tt"), "12 PM");
  LocalTime late = At(2016, 12, 31, 23, 59, 59);
  EXPECT_EQ(Format(late, "hh':'mm t"), "11:59 P");
}

TEST_F(SysTime, FormattingIsBoundedAndWide) {
  LocalTime t = At(2016, 10, 4, 19, 5, 0);
  char small[6];
  EXPECT_EQ(FormatTime(t, "MMM dd',' yyy", small, sizeof(small)), 5u);
  EXPECT_STREQ(small, "Oct 0");
  char one[1] = {'x'};
  EXPECT_EQ(FormatTime(t, "yyyy", one, 1), 0u);
  EXPECT_EQ(one[0], 0);
  char16_t wide[32];
  EXPECT_EQ(FormatTime(t, "h':'mm tt", wide, 32), 7u);
  EXPECT_EQ(std::u16string(wide), u"7:05 PM");
}

TEST_F(SysTime, EpochConversionsRoundTripAcrossLeapDaysAndCenturies) {
  EXPECT_EQ(ToEpochSeconds(At(1970, 1, 1, 0, 0, 0)), 0);
  EXPECT_EQ(At(1970, 1, 1, 0, 0, 0).dayOfWeek, 4);
  EXPECT_EQ(ToEpochSeconds(At(2000, 3, 1, 0, 0, 0)) - ToEpochSeconds(At(2000, 2, 28, 0, 0, 0)), 2 * 86400);
  EXPECT_EQ(ToEpochSeconds(At(1900, 3, 1, 0, 0, 0)) - ToEpochSeconds(At(1900, 2, 28, 0, 0, 0)), 86400);
  for (int64_t s = -86400LL * 800; s < 86400LL * 365 * 120; s += 86400LL * 37 + 3671) {
    LocalTime t = FromEpochSeconds(s);
    ASSERT_EQ(ToEpochSeconds(t), s);
    ASSERT_GE(t.month, 1);
    ASSERT_LE(t.month, 12);
  }
  LocalTime leap = FromEpochSeconds(ToEpochSeconds(At(2016, 2, 28, 23, 59, 59)) + 1);
  EXPECT_EQ(leap.month, 2);
  EXPECT_EQ(leap.day, 29);
}

TEST_F(SysTime, VirtualClockMovesOnlyWhenAdvanced) {
  UseVirtualClock(At(2016, 12, 31, 23, 59, 58));
  EXPECT_TRUE(VirtualClockActive());
  uint64_t start = NowMs();
  LocalTime t;
  GetLocalTime(t);
  EXPECT_EQ(Format(t, "yyyy-MM-dd HH:mm:ss"), "2016-12-31 23:59:58");
  GetLocalTime(t);
  EXPECT_EQ(NowMs(), start);
  AdvanceVirtualClock(2500);
  EXPECT_EQ(NowMs(), start + 2500);
  GetLocalTime(t);
  EXPECT_EQ(Format(t, "yyyy-MM-dd HH:mm:ss"), "2017-01-01 00:00:00");
  EXPECT_EQ(t.millisecond, 500);
  EXPECT_EQ(t.dayOfWeek, 0);

  // Setting the panel clock moves the wall clock, never the monotonic one.
  ASSERT_TRUE(SetLocalTime(At(2018, 6, 15, 8, 30, 0)));
  EXPECT_EQ(NowMs(), start + 2500);
  AdvanceVirtualClock(60000);
  GetLocalTime(t);
  EXPECT_EQ(Format(t, "yyyy-MM-dd HH:mm:ss"), "2018-06-15 08:31:00");
  UseRealClock();
  EXPECT_FALSE(VirtualClockActive());
}

TEST_F(SysTime, InvalidDatesAreRefused) {
  UseVirtualClock(At(2016, 1, 1, 0, 0, 0));
  EXPECT_FALSE(SetLocalTime(LocalTime{.year = 2015, .month = 2, .day = 29}));
  EXPECT_FALSE(SetLocalTime(LocalTime{.year = 2016, .month = 13, .day = 1}));
  EXPECT_FALSE(SetLocalTime(LocalTime{.year = 2016, .month = 4, .day = 31}));
  EXPECT_FALSE(SetLocalTime(LocalTime{.year = 2016, .month = 1, .day = 1, .hour = 24}));
  EXPECT_FALSE(SetLocalTime(LocalTime{.year = 2016, .month = 1, .day = 1, .minute = 60}));
  EXPECT_TRUE(SetLocalTime(LocalTime{.year = 2016, .month = 2, .day = 29}));
  LocalTime t;
  GetLocalTime(t);
  EXPECT_EQ(Format(t, "yyyy-MM-dd"), "2016-02-29");
}

// The host clock is never changed: the panel keeps an offset in a file below its root, read
// again by the next run on the same root.
TEST_F(SysTime, PanelClockOffsetIsKeptPerRootAcrossRuns) {
  SysTempDir first;
  SysTempDir second;
  SetFileRoot(first.c_str());
  LocalTime host;
  GetLocalTime(host);
  LocalTime wanted = FromEpochSeconds(ToEpochSeconds(host) - 3 * 86400 - 3600);
  ASSERT_TRUE(SetLocalTime(wanted));
  LocalTime now;
  GetLocalTime(now);
  EXPECT_LE(std::llabs(SecondsBetween(wanted, now)), 2);
  EXPECT_TRUE(FileExists("panel-clock-offset"));

  SetFileRoot(second.c_str());  // another panel, no offset
  GetLocalTime(now);
  EXPECT_GE(SecondsBetween(wanted, now), 3 * 86400 + 3600 - 2);

  // As a restart on the first root reads it; the clock's own file access leaves the counts
  // of injected file faults alone.
  InjectFileFault(FileOp::Open, 1, FileResult::IoError, false);
  SetFileRoot(first.c_str());
  GetLocalTime(now);
  EXPECT_LE(std::llabs(SecondsBetween(wanted, now)), 2);
  FileHandle probe;
  EXPECT_EQ(OpenFile("panel-clock-offset", OpenMode::Read, probe), FileResult::IoError);

  // A damaged offset file means no offset rather than a wild clock.
  FileHandle f;
  ASSERT_EQ(OpenFile("panel-clock-offset", OpenMode::CreateAlways, f), FileResult::Ok);
  ASSERT_EQ(WriteFile(f, "12x9", 4), FileResult::Ok);
  CloseFile(f);
  SetFileRoot(second.c_str());
  GetLocalTime(now);
  SetFileRoot(first.c_str());
  GetLocalTime(now);
  EXPECT_GE(SecondsBetween(wanted, now), 3 * 86400 + 3600 - 2);
  SetFileRoot(".");
}
