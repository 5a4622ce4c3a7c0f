#include <gtest/gtest.h>

#include <string>

#include "link/DryerStatus.h"
#include "link/RegisterMap.h"
#include "screens/StatusReading.h"
#include "screens/WarningLogic.h"

namespace {

TEST(WarningWindow, ConnectionLostHidesTheWarningDetails) {
  lnk::DryerStatus s{};
  EXPECT_EQ(ChooseWarningContent(s, 10), WarningContent::Empty);
  s.b[lnk::kStatusWarningNode] = lnk::kNodeMainIo;
  s.b[lnk::kStatusWarningId] = 5;
  EXPECT_EQ(ChooseWarningContent(s, 1), WarningContent::Details);
  EXPECT_EQ(ChooseWarningContent(s, 0), WarningContent::ConnectionLost);
  s.b[lnk::kStatusWarningNode] = 0;  // either byte alone is a warning
  EXPECT_EQ(ChooseWarningContent(s, 3), WarningContent::Details);
}

TEST(WarningWindow, TitleStyleAndBlink) {
  lnk::DryerStatus s{};
  WarningTitle t = ChooseWarningTitle(s, true);
  EXPECT_TRUE(t.visible);
  EXPECT_EQ(t.textId, kWarningTextTitle);
  EXPECT_EQ(t.colour, colour::kRed);
  EXPECT_EQ(t.fontHeight, 40);
  EXPECT_FALSE(ChooseWarningTitle(s, false).visible);

  s.b[lnk::kStatusSwitches] = 0x02;  // countdown style
  s.b[lnk::kStatusChart267] = 4;
  s.b[lnk::kStatusChart267 + 1] = 7;
  t = ChooseWarningTitle(s, true);
  EXPECT_EQ(t.textId, kWarningTextCountdownTitle);
  EXPECT_EQ(t.colour, plat::Rgb(0, 0, 255));
  char16_t out[64];
  FormatWarningTitle(t, u"SHUTDOWN IN", out, 64);
  EXPECT_EQ(std::u16string(out), u"SHUTDOWN IN: 4:07");

  s.b[lnk::kStatusSwitches] = 0x12;  // temperature style wins
  t = ChooseWarningTitle(s, true);
  EXPECT_EQ(t.textId, kWarningTextTemperatureTitle);
  EXPECT_EQ(t.fontHeight, 30);
  EXPECT_EQ(t.place, (plat::Rect{50, 0, 575, 25}));
  FormatWarningTitle(t, u"HIGH GRAIN TEMP", out, 64);
  EXPECT_EQ(std::u16string(out), u"HIGH GRAIN TEMP");
}

TEST(WarningWindow, GrainTemperatureAlwaysInFahrenheit) {
  lnk::DryerStatus s{};
  s.b[lnk::kStatusDisplayOptions] = lnk::kDisplayOptionsCelsius;
  s.b[lnk::kStatusGrainTemp2] = 150;
  s.b[lnk::kStatusGrainTempSelect] = 1;
  char text[48];
  FormatWarningGrainTemperature(text, sizeof text, WarningGrainTemperature(s));
  EXPECT_STREQ(text, "GRAIN TEMPERATURE: 150 \xB0 F");
  s.b[lnk::kStatusGrainTempSelect] = 3;  // unknown source
  EXPECT_EQ(WarningGrainTemperature(s), 0);
}

TEST(WarningWindow, NotesForFanHeaterCodeFive) {
  lnk::DryerStatus s{};
  WarningNote notes[kMaxWarningNotes];
  s.b[lnk::kStatusWarningNode] = 4;
  s.b[lnk::kStatusWarningId] = 5;
  ASSERT_EQ(ChooseWarningNotes(s, notes), 4);
  EXPECT_EQ(notes[0].textId, kWarningTextCallService);
  EXPECT_EQ(notes[1].textId, kWarningTextFanNote1);
  EXPECT_EQ(notes[3].textId, kWarningTextFanNote3);
  s.b[lnk::kStatusSwitches] = 0x10;
  ASSERT_EQ(ChooseWarningNotes(s, notes), 3);
  EXPECT_EQ(notes[1].textId, kWarningTextFanTemperatureNote1);
  EXPECT_EQ(notes[2].textId, kWarningTextFanTemperatureNote2);
  s.b[lnk::kStatusWarningNode] = 8;  // an interlock node is not a fan/heater node
  EXPECT_EQ(ChooseWarningNotes(s, notes), 1);
  s.b[lnk::kStatusSwitches] = 0x02;
  ASSERT_EQ(ChooseWarningNotes(s, notes), 2);
  EXPECT_EQ(notes[1].textId, kWarningTextCountdownNote);
}

std::u16string Repeat(int n) {
  std::u16string t;
  for (int i = 0; i < n; ++i) t += (i % 10 == 9) ? u' ' : static_cast<char16_t>(u'a' + i % 9);
  return t;
}

TEST(WarningWindow, SixtyCharactersOnOneLineSixtyOneOnTwo) {
  char16_t first[kWarningLineUnits];
  char16_t second[kWarningLineUnits];
  std::u16string sixty = Repeat(60);
  EXPECT_EQ(SplitWarningText(sixty.c_str(), first, second), 1);
  EXPECT_EQ(std::u16string(first), sixty);
  EXPECT_EQ(second[0], 0);

  std::u16string sixtyOne = Repeat(61);
  ASSERT_EQ(SplitWarningText(sixtyOne.c_str(), first, second), 2);
  // Broken at the last space before the middle (position 29), nothing lost.
  EXPECT_EQ(std::u16string(first), sixtyOne.substr(0, 29));
  EXPECT_EQ(std::u16string(second), sixtyOne.substr(30));
}

TEST(WarningWindow, LongTextIsCutToNinetyNine) {
  char16_t first[kWarningLineUnits];
  char16_t second[kWarningLineUnits];
  std::u16string text = Repeat(149);
  ASSERT_EQ(SplitWarningText(text.c_str(), first, second), 2);
  std::u16string joined = std::u16string(first) + u" " + second;
  EXPECT_EQ(joined, text.substr(0, 99));
}

TEST(WarningWindow, MarkerPausesOneStepAtEachEnd) {
  MarkerSweep m;
  int positions[32];
  for (int& p : positions) {
    StepMarkerSweep(m);
    p = m.position;
  }
  for (int i = 0; i < 13; ++i) EXPECT_EQ(positions[i], i + 1);
  EXPECT_EQ(positions[12], 13);
  EXPECT_EQ(positions[13], 13);  // the pause at the top
  EXPECT_EQ(positions[14], 12);
  EXPECT_EQ(positions[26], 0);
  EXPECT_EQ(positions[27], 0);   // and at the bottom
  EXPECT_EQ(positions[28], 1);
  m.position = 13;
  EXPECT_EQ(MarkerStart(m), (plat::Point{235, 70}));
  EXPECT_EQ(MarkerEnd(m), (plat::Point{250, 70}));
}

TEST(WarningHelp, FanHeaterNodesShareNodeTwo) {
  HelpSubject h = HelpSubjectFor(5, 4);
  EXPECT_EQ(h.node, 2);
  EXPECT_EQ(h.code, 4);
  h = HelpSubjectFor(7, 2);
  EXPECT_EQ(h.node, 2);
  EXPECT_EQ(HelpSubjectFor(8, 4).node, 8);
  EXPECT_EQ(HelpSubjectFor(1, 3).node, 1);
}

TEST(WarningHelp, RearDischargeAnimation) {
  EXPECT_TRUE(IsRearDischarge(14, 5));
  EXPECT_FALSE(IsRearDischarge(14, 4));
  EXPECT_FALSE(IsRearDischarge(2, 5));
  EXPECT_STREQ(RearDischargePicture(0), "GRAPHIC_074_REAR_DISCHARGE_IMAGE_1.BMP");
  EXPECT_STREQ(RearDischargePicture(2), "GRAPHIC_076_REAR_DISCHARGE_IMAGE_3.BMP");
  for (int frame = 3; frame < kHelpAnimationFrames; ++frame)
    EXPECT_STREQ(RearDischargePicture(frame), "GRAPHIC_077_REAR_DISCHARGE_IMAGE_4.BMP");
  EXPECT_STREQ(RearDischargePicture(99), "GRAPHIC_077_REAR_DISCHARGE_IMAGE_4.BMP");
  int frame = 0;
  for (int tick = 0; tick < kHelpAnimationFrames; ++tick) frame = NextHelpFrame(frame);
  EXPECT_EQ(frame, 0);  // seven frames, one per tenth
  EXPECT_EQ(NextHelpFrame(5), 6);
  char path[128];
  FormatRearDischargePath(path, sizeof path, 1);
  EXPECT_STREQ(path, "\\Hard Disk\\Languages\\EN\\Bitmaps\\GRAPHIC_075_REAR_DISCHARGE_IMAGE_2.BMP");
}

}  // namespace
