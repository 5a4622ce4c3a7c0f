#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "link/DryerStatus.h"
#include "link/RegisterMap.h"
#include "screens/DryerPictureLogic.h"
#include "screens/StatusReading.h"

namespace {

constexpr PictureLayout kLayouts[] = {PictureLayout::A, PictureLayout::B, PictureLayout::C,
                                      PictureLayout::D};

// Unit n of the picture has its status byte at 136 - (n - 1) and its run byte at 130 - (n - 1).
int StatusByteOfUnit(int n) { return lnk::kStatusUnitStatusB1 + 6 - n; }
int RunByteOfUnit(int n) { return lnk::kStatusUnitStatusA1 + 6 - n; }

TEST(DryerPicture, LayoutAWhateverByte225Holds) {
  lnk::DryerStatus s{};
  s.b[lnk::kStatusModuleCount] = 1;
  for (int v : {0x00, 0x20, 0x80, 0xA0, 0xFF}) {
    s.b[lnk::kStatusConfigBits] = static_cast<uint8_t>(v);
    EXPECT_EQ(ChoosePictureLayout(s), PictureLayout::A) << v;
  }
  s.b[lnk::kStatusModuleCount] = 2;
  EXPECT_EQ(ChoosePictureLayout(s), PictureLayout::B);
  s.b[lnk::kStatusModuleCount] = 0;
  s.b[lnk::kStatusConfigBits] = 0x20;
  EXPECT_EQ(ChoosePictureLayout(s), PictureLayout::D);
  s.b[lnk::kStatusConfigBits] = 0xA0;
  EXPECT_EQ(ChoosePictureLayout(s), PictureLayout::C);
  s.b[lnk::kStatusConfigBits] = 0x00;
  EXPECT_EQ(ChoosePictureLayout(s), PictureLayout::C);
  s.b[lnk::kStatusModuleCount] = 7;  // an unknown module code draws the one-module picture
  EXPECT_EQ(ChoosePictureLayout(s), PictureLayout::C);
}

TEST(DryerPicture, AlarmTurningAndStaticUnitFrames) {
  lnk::DryerStatus s{};
  AnimationPhases p{};
  p.fan[0] = 2;
  s.b[StatusByteOfUnit(1)] = 0x02;
  s.b[RunByteOfUnit(1)] = 0x04;
  UnitPicture u = ChooseUnitPicture(s, p, PictureLayout::C, 1);
  EXPECT_EQ(u.set, UnitSet::S);  // the alarm frames
  EXPECT_EQ(u.resource, 303);
  s.b[RunByteOfUnit(1)] = 0;
  u = ChooseUnitPicture(s, p, PictureLayout::C, 1);
  EXPECT_EQ(u.set, UnitSet::R);
  EXPECT_EQ(u.resource, 306);
  s.b[StatusByteOfUnit(1)] = 0x01;
  u = ChooseUnitPicture(s, p, PictureLayout::C, 1);
  EXPECT_EQ(u.set, UnitSet::Q);  // the turning fan
  EXPECT_EQ(u.resource, 297);
  s.b[StatusByteOfUnit(1)] = 0;
  for (int phase = 0; phase < kFrameCount; ++phase) {
    p.fan[0] = phase;
    u = ChooseUnitPicture(s, p, PictureLayout::C, 1);
    EXPECT_EQ(u.set, UnitSet::P);
    EXPECT_EQ(u.resource, 292);  // the static picture does not move
  }
  EXPECT_EQ(u.place, plat::RectXywh(48, 100, 111, 113));
}

TEST(DryerPicture, AUnitTurnsOnlyWhileItsRunBitIsSet) {
  lnk::DryerStatus s{};
  AnimationPhases p{};
  s.b[StatusByteOfUnit(2)] = 0x01;
  s.b[RunByteOfUnit(2)] = 0x01;
  int seen[3];
  for (int& r : seen) {
    AdvanceAnimationPhases(p, s);
    r = ChooseUnitPicture(s, p, PictureLayout::C, 2).resource;
  }
  EXPECT_EQ(seen[0], 296);
  EXPECT_EQ(seen[1], 297);
  EXPECT_EQ(seen[2], 295);
  EXPECT_EQ(p.fan[0], 0);  // unit 1 did not move
  s.b[RunByteOfUnit(2)] = 0;
  AdvanceAnimationPhases(p, s);
  EXPECT_EQ(ChooseUnitPicture(s, p, PictureLayout::C, 2).resource, 295);
}

TEST(DryerPicture, RunningElementsStandStillWhenTheDryerStops) {
  lnk::DryerStatus s{};
  s.b[lnk::kStatusRunFlags] = 0x80 | lnk::kRunFlagsRunning;  // running, no reverse
  AnimationPhases p{};
  for (int tick = 0; tick < 7; ++tick) AdvanceAnimationPhases(p, s);
  EXPECT_EQ(p.running, 7 % 3);
  EXPECT_EQ(p.slowRunning, 1);  // every fifth tick
  EXPECT_EQ(p.reverse, 0);
  int running = ChooseElementPicture(p, PictureLayout::C, MovingElement::Running).resource;
  int slow = ChooseElementPicture(p, PictureLayout::C, MovingElement::SlowRunning).resource;

  s.b[lnk::kStatusRunFlags] = 0x80;  // stopped
  for (int tick = 0; tick < 10; ++tick) AdvanceAnimationPhases(p, s);
  EXPECT_EQ(ChooseElementPicture(p, PictureLayout::C, MovingElement::Running).resource, running);
  EXPECT_EQ(ChooseElementPicture(p, PictureLayout::C, MovingElement::SlowRunning).resource, slow);

  s.b[lnk::kStatusRunFlags2] = lnk::kRunFlags2Running;  // the other run bit moves them again
  AdvanceAnimationPhases(p, s);
  EXPECT_NE(ChooseElementPicture(p, PictureLayout::C, MovingElement::Running).resource, running);
}

TEST(DryerPicture, ReverseAndPairedElements) {
  lnk::DryerStatus s{};
  s.b[lnk::kStatusRunFlags] = 0x80;
  AnimationPhases p{};
  AdvanceAnimationPhases(p, s);
  EXPECT_EQ(p.reverse, 0);
  s.b[lnk::kStatusRunFlags] = 0;
  AdvanceAnimationPhases(p, s);
  EXPECT_EQ(p.reverse, 2);  // backward
  AdvanceAnimationPhases(p, s);
  EXPECT_EQ(p.reverse, 1);

  s.b[lnk::kStatusLoadState] = 0x0C;  // moving, A forward
  p = AnimationPhases{};
  for (int tick = 0; tick < 2; ++tick) AdvanceAnimationPhases(p, s);
  EXPECT_EQ(p.pairA, 0);
  AdvanceAnimationPhases(p, s);  // every third tick
  EXPECT_EQ(p.pairA, 1);
  EXPECT_EQ(p.pairB, 2);
  s.b[lnk::kStatusLoadState] = 0x08;  // directions swapped
  for (int tick = 0; tick < 3; ++tick) AdvanceAnimationPhases(p, s);
  EXPECT_EQ(p.pairA, 0);
  EXPECT_EQ(p.pairB, 0);
}

TEST(DryerPicture, MarkerBlinksOnlyWhileItsConditionHolds) {
  lnk::DryerStatus s{};
  bool flag = false;
  EXPECT_FALSE(StepBlinkMarker(flag, s));
  s.b[lnk::kStatusLoadFlags] = lnk::kLoadFlagsBit1;
  s.b[lnk::kStatusDryerType] = 1;
  s.b[lnk::kStatusSwitches] = 0x40;
  EXPECT_TRUE(StepBlinkMarker(flag, s));
  EXPECT_FALSE(StepBlinkMarker(flag, s));
  EXPECT_TRUE(StepBlinkMarker(flag, s));
  s.b[lnk::kStatusDryerType] = 0;
  EXPECT_FALSE(StepBlinkMarker(flag, s));
  EXPECT_FALSE(flag);
}

TEST(ScreenFaults, UnitCountOutOfRangeDrawsNoUnit) {
  lnk::DryerStatus s{};
  const int expected[] = {1, 2, 3, 4, 6};
  for (int code = 0; code < 5; ++code) {
    s.b[lnk::kStatusFanHeaterCount] = static_cast<uint8_t>(code);
    EXPECT_EQ(ShownUnitCount(s), expected[code]);
  }
  for (int code : {5, 6, 255}) {
    s.b[lnk::kStatusFanHeaterCount] = static_cast<uint8_t>(code);
    EXPECT_EQ(ShownUnitCount(s), 0) << code;
  }
  // Phases that went astray and units outside 1..6 still name a picture of the set.
  AnimationPhases p{};
  p.fan[0] = 9;
  s.b[StatusByteOfUnit(1)] = 0x01;
  EXPECT_EQ(ChooseUnitPicture(s, p, PictureLayout::C, 1).resource, 295);
  EXPECT_EQ(ChooseUnitPicture(s, p, PictureLayout::C, 40).resource, 295);
  p.running = -4;
  EXPECT_EQ(ChooseElementPicture(p, PictureLayout::C, MovingElement::Running).resource,
            picture::kRunning);
}

TEST(DryerPicture, UnitsFitTheWindowForEveryCount) {
  lnk::DryerStatus s{};
  AnimationPhases p{};
  for (PictureLayout layout : kLayouts) {
    for (int code = 0; code < 5; ++code) {
      s.b[lnk::kStatusFanHeaterCount] = static_cast<uint8_t>(code);
      int previousTop = -1;
      for (int unit = 1; unit <= ShownUnitCount(s); ++unit) {
        plat::Rect r = ChooseUnitPicture(s, p, layout, unit).place;
        EXPECT_GE(r.top, 0);
        EXPECT_LE(r.bottom, 420);
        EXPECT_LE(r.right, 240);
        EXPECT_GT(r.top, previousTop);
        previousTop = r.top;
      }
    }
  }
}

const OverlayLine* Find(const OverlayLine* lines, int n, int top) {
  for (int i = 0; i < n; ++i)
    if (lines[i].place.top == top) return &lines[i];
  return nullptr;
}

TEST(DryerPicture, EveryTemperatureLineConvertedWithTheCelsiusFlag) {
  lnk::DryerStatus s{};
  s.b[lnk::kStatusGrainTemp3] = 180;               // dryer grain temperature
  s.b[lnk::kStatusMoisture3] = 1805 >> 8;          // outgoing grain, tenths, high byte first
  s.b[lnk::kStatusMoisture3 + 1] = 1805 & 0xFF;
  s.b[lnk::kStatusGrainTempSetpoint1] = 105;
  OverlayLine lines[kMaxOverlayLines];
  for (bool celsius : {false, true}) {
    s.b[lnk::kStatusDisplayOptions] = celsius ? lnk::kDisplayOptionsCelsius : 0;
    int n = MakeOverlayLines(s, PictureLayout::C, lines);
    int temperatures = 0;
    for (int i = 0; i < n; ++i) {
      const char* degree = std::strchr(lines[i].text, '\xB0');
      if (degree == nullptr) continue;
      ++temperatures;
      EXPECT_EQ(degree[1], celsius ? 'C' : 'F') << lines[i].place.top;
    }
    EXPECT_EQ(temperatures, 3);
    EXPECT_STREQ(Find(lines, n, 200)->text, celsius ? "82\xB0" "C" : "180\xB0" "F");
    EXPECT_STREQ(Find(lines, n, 340)->text, celsius ? "82\xB0" "C" : "180\xB0" "F");
    EXPECT_STREQ(Find(lines, n, 390)->text, celsius ? "40\xB0" "C" : "105\xB0" "F");
    EXPECT_EQ(Find(lines, n, 390)->textId, kDryerPicTextGrainSetpoint);
  }
  s.b[lnk::kStatusConfigBits] = 0x04;  // no grain temperature: its text instead
  int n = MakeOverlayLines(s, PictureLayout::C, lines);
  EXPECT_EQ(Find(lines, n, 200)->textId, kDryerPicTextNoGrainTemp);
  EXPECT_STREQ(Find(lines, n, 200)->text, "");
}

TEST(DryerPicture, OverlayMoistureAndCounterLines) {
  lnk::DryerStatus s{};
  s.b[lnk::kStatusMoisture2] = 0x00;  // incoming 17.5 %
  s.b[lnk::kStatusMoisture2 + 1] = 0xAF;
  s.b[lnk::kStatusUnloadStatusValue] = 0x04;  // 1234
  s.b[lnk::kStatusUnloadStatusValue + 1] = 0xD2;
  s.b[lnk::kStatusMoistureSetpoint + 1] = 155;
  s.b[lnk::kStatusMoistureControlMode] = 4;
  OverlayLine lines[kMaxOverlayLines];
  int n = MakeOverlayLines(s, PictureLayout::C, lines);
  EXPECT_STREQ(Find(lines, n, 40)->text, "17.5%");
  EXPECT_STREQ(Find(lines, n, 310)->text, "123.4");
  EXPECT_STREQ(Find(lines, n, 370)->text, "SP 15.5%");
  EXPECT_EQ(Find(lines, n, 350), nullptr);
  char16_t out[64];
  FormatOverlayLine(*Find(lines, n, 310), u"UNLOAD", out, 64);
  EXPECT_EQ(std::u16string(out), u"UNLOAD 123.4");

  s.b[lnk::kStatusConfigBits] = 0x20;  // hundredths
  n = MakeOverlayLines(s, PictureLayout::C, lines);
  EXPECT_STREQ(Find(lines, n, 310)->text, "12.34");

  s.b[lnk::kStatusMoistureControlMode] = 5;  // outgoing moisture in the status column instead
  n = MakeOverlayLines(s, PictureLayout::C, lines);
  EXPECT_NE(Find(lines, n, 350), nullptr);
  EXPECT_EQ(Find(lines, n, 370), nullptr);
  EXPECT_EQ(ChooseGuideLines(s, PictureLayout::C).ladderBottom, 355);

  s.b[lnk::kStatusSetup49] = 0x20;  // no bushel sensor
  n = MakeOverlayLines(s, PictureLayout::C, lines);
  EXPECT_EQ(Find(lines, n, 320)->textId, kDryerPicTextNoSensor);
  EXPECT_EQ(Find(lines, n, 330)->textId, kDryerPicTextNoSensor);

  s.b[lnk::kStatusOptionWithdraw] = 0x02;  // auto-start
  s.b[lnk::kStatusLogged245] = 7;
  n = MakeOverlayLines(s, PictureLayout::C, lines);
  EXPECT_EQ(Find(lines, n, 300)->textId, 0);
  EXPECT_STREQ(Find(lines, n, 300)->text, "AS 7");
}

}  // namespace
