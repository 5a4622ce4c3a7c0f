#include <gtest/gtest.h>

#include "link/DryerStatus.h"
#include "link/RegisterMap.h"
#include "screens/UnloadLogic.h"

namespace {

void SetCounter(lnk::DryerStatus& s, uint32_t v) {
  for (int i = 0; i < 4; ++i) s.b[lnk::kStatusBushelCounter + i] = static_cast<uint8_t>(v >> (8 * i));
}

TEST(UnloadPanel, UnloadFigureInTenths) {
  char text[16];
  FormatUnloadFigure(text, sizeof text, 5);
  EXPECT_STREQ(text, " 0.5");
  FormatUnloadFigure(text, sizeof text, 123);
  EXPECT_STREQ(text, "12.3");
  lnk::DryerStatus s{};
  s.b[lnk::kStatusUnloadStatusValue] = 0x01;  // high byte first
  s.b[lnk::kStatusUnloadStatusValue + 1] = 0x02;
  EXPECT_EQ(UnloadFigureTenths(s), 258);
}

TEST(UnloadPanel, TotalBushelsAreWholeBushels) {
  lnk::DryerStatus s{};
  SetCounter(s, 7199);
  EXPECT_EQ(TotalBushels(s), 1u);
  SetCounter(s, 7200);
  EXPECT_EQ(TotalBushels(s), 2u);
  SetCounter(s, 0xFFFFFFFFu);  // the lowest byte comes first
  EXPECT_EQ(TotalBushels(s), 0xFFFFFFFFu / 3600);
  s.b[lnk::kStatusUnloadPanel173] = 0x05;
  s.b[lnk::kStatusUnloadPanel173 + 1] = 0xDC;
  EXPECT_EQ(BushelsPerHour(s), 1500);
}

TEST(UnloadPanel, SpeedLinesHighlightTheSpeedInUse) {
  lnk::DryerStatus s{};
  s.b[lnk::kStatusMeterRoll1] = 45;
  s.b[lnk::kStatusMeterRoll2] = 30;
  s.b[lnk::kStatusMeterRoll3] = 5;
  SpeedLine lines[3];
  s.b[lnk::kStatusMeterRoll0] = 2;
  MakeSpeedLines(s, lines);
  EXPECT_STREQ(lines[0].text, " HIGH: 0450 ");
  EXPECT_STREQ(lines[1].text, " MED:  0300 ");
  EXPECT_STREQ(lines[2].text, " LOW:  0050 ");
  EXPECT_TRUE(lines[0].highlighted);
  EXPECT_FALSE(lines[1].highlighted);
  EXPECT_EQ(lines[2].place, (plat::Rect{5, 50, 100, 70}));

  s.b[lnk::kStatusMeterRoll0] = 0;
  MakeSpeedLines(s, lines);
  EXPECT_TRUE(lines[2].highlighted);
  EXPECT_FALSE(lines[0].highlighted);

  for (int speed : {3, 255}) {
    s.b[lnk::kStatusMeterRoll0] = static_cast<uint8_t>(speed);
    MakeSpeedLines(s, lines);
    for (const SpeedLine& line : lines) EXPECT_FALSE(line.highlighted) << speed;
  }
}

}  // namespace
