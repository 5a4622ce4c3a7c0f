// DRYER_PIC_WINDOW through the headless backend: the layout chosen, the unit pictures and their
// frames, the moving elements, and the status column in the display unit.
#include "i18n/Language.h"
#include "ScreenHarness.h"
#include "link/Temperature.h"
#include "platform/Bitmap.h"
#include "screens/DryerPictureLogic.h"
#include "screens/DryerPictures.h"

using namespace testing_support;

namespace {

constexpr int kCelsiusBit = 0x80;

class DryerPicWindow : public ScreenFixture {
 protected:
  void SetUp() override {
    ScreenFixture::SetUp();
    // The panel loads its language before the first paint; a paint never reads the card.
    i18n::EnsureLanguageLoaded();
    gAnimationPhases = AnimationPhases{};
    window_ = Create(screens::kDryerPicClass, screens::DryerPicWindowProc, plat::Rect{0, 0, 240, 420});
    ASSERT_NE(window_, plat::kNoWindow);
  }
  uint32_t ScreenAt(int x, int y) { return plat::ScreenPixels().At(x, y); }
  // Share of the picture's drawn (non-black) pixels that the screen shows at `place`.
  double Shows(int resource, plat::Rect place) {
    const plat::Bitmap* b = plat::GetPicture(resource);
    if (b == nullptr || b->Width() != place.Width()) return 0;
    int drawn = 0, equal = 0;
    for (int y = 0; y < b->Height(); ++y)
      for (int x = 0; x < b->Width(); ++x) {
        if (b->At(x, y) == 0) continue;
        ++drawn;
        if (ScreenAt(place.left + x, place.top + y) == b->At(x, y)) ++equal;
      }
    return drawn == 0 ? 0 : static_cast<double>(equal) / drawn;
  }
  std::vector<uint32_t> Pixels(plat::Rect r) {
    std::vector<uint32_t> out;
    for (int y = r.top; y < r.bottom; ++y)
      for (int x = r.left; x < r.right; ++x) out.push_back(ScreenAt(x, y));
    return out;
  }
  void Tick() {
    lnk::DryerStatus s;
    lnk::TakeStatusSnapshot(s);
    AdvanceAnimationPhases(gAnimationPhases, s);
    Repaint(window_);
  }
  UnitPicture Unit(int n) {
    lnk::DryerStatus s;
    lnk::TakeStatusSnapshot(s);
    return ChooseUnitPicture(s, gAnimationPhases, ChoosePictureLayout(s), n);
  }
  plat::Hwnd window_ = plat::kNoWindow;
};

}  // namespace

TEST_F(DryerPicWindow, TwoModulesShowLayoutAWhateverByte225Holds) {
  Set(lnk::kStatusModuleCount, 1);
  Set(lnk::kStatusConfigBits, 0xFF);
  Repaint(window_);
  const PicturePlace tower = TowerPicture(PictureLayout::A);
  // The module divider only the two-module tower has, at its left wall.
  const int y = 191;
  EXPECT_EQ(ScreenAt(12, tower.place.top + y), plat::GetPicture(picture::kTowerA)->At(12, y));
  EXPECT_NE(plat::GetPicture(picture::kTowerA)->At(12, y), plat::GetPicture(picture::kTowerD)->At(12, y));
  EXPECT_GT(Shows(picture::kTowerA, tower.place), 0.5);

  Set(lnk::kStatusModuleCount, 0);  // one module with the series switch: layout D
  Repaint(window_);
  EXPECT_EQ(ScreenAt(12, tower.place.top + 150), plat::GetPicture(picture::kTowerD)->At(12, 150));
  EXPECT_NE(ScreenAt(12, tower.place.top + y), plat::GetPicture(picture::kTowerA)->At(12, y));
}

TEST_F(DryerPicWindow, UnitsShowAlarmTurningAndStaticPictures) {
  Set(lnk::kStatusFanHeaterCount, 2);  // three units
  Set(136, 0x02);                 // unit 1: status bit 1 ...
  Set(130, 0x04 | 0x01);          // ... with run bit 2: alarm frames, turning
  Set(135, 0x01);                 // unit 2: turning fan
  Set(129, 0x01);
  Set(134, 0x00);                 // unit 3: off
  Tick();
  const UnitPicture alarm = Unit(1), turning = Unit(2), off = Unit(3);
  EXPECT_EQ(alarm.set, UnitSet::S);
  EXPECT_EQ(turning.set, UnitSet::Q);
  EXPECT_EQ(off.set, UnitSet::P);
  auto shown = [&](const UnitPicture& u) { return Pixels(u.place); };
  const auto alarmBefore = shown(alarm), turningBefore = shown(turning), offBefore = shown(off);
  Tick();
  EXPECT_NE(shown(Unit(1)), alarmBefore) << "the alarm frames follow the fan phase";
  EXPECT_NE(shown(Unit(2)), turningBefore) << "a running fan turns";
  EXPECT_EQ(shown(Unit(3)), offBefore) << "an off unit stands still";
  EXPECT_NE(alarmBefore, turningBefore);
}

TEST_F(DryerPicWindow, ASingleUnitIsDrawnAtFullSizeWithItsFrame) {
  Set(lnk::kStatusFanHeaterCount, 0);
  Set(136, 0x01);
  Set(130, 0x01);
  Tick();
  const UnitPicture u = Unit(1);
  EXPECT_EQ(u.resource, picture::kUnitCQ + 1);
  EXPECT_GT(Shows(u.resource, u.place), 0.95);
  EXPECT_LT(Shows(picture::kUnitCQ + 0, u.place), 0.95);
}

TEST_F(DryerPicWindow, RunningElementsStandStillWhileTheDryerIsStopped) {
  const PicturePlace conveyor = ChooseElementPicture(gAnimationPhases, PictureLayout::C, MovingElement::Running);
  Set(lnk::kStatusRunFlags, 0x80);  // reverse element still as well
  Repaint(window_);
  const auto stopped = Pixels(conveyor.place);
  for (int i = 0; i < 4; ++i) Tick();
  EXPECT_EQ(Pixels(conveyor.place), stopped);
  EXPECT_EQ(gAnimationPhases.running, 0);

  Set(lnk::kStatusRunFlags2, 0x01);
  Tick();
  EXPECT_NE(Pixels(conveyor.place), stopped);
  Set(lnk::kStatusRunFlags2, 0x00);
  const auto held = Pixels(conveyor.place);
  Tick();
  EXPECT_EQ(Pixels(conveyor.place), held) << "stops at its last frame";
}

TEST_F(DryerPicWindow, EveryTemperatureLineIsConvertedWithTheCelsiusFlag) {
  LoadEnglish();
  Set(lnk::kStatusGrainTempSelect, 0);
  Set16LowFirst(lnk::kStatusGrainTemp3, 180);
  Set16HighFirst(lnk::kStatusMoisture3, 1800);  // outgoing grain, tenths of a degree
  Set16LowFirst(lnk::kStatusGrainTempSetpoint1, 180);
  Repaint(window_);
  const std::string f = std::string("180") + lnk::kDegreeSign + "F";
  EXPECT_NE(DrawnText(f.c_str(), window_), u"") << AllTexts();

  Set(lnk::kStatusDisplayOptions, kCelsiusBit);
  Repaint(window_);
  int converted = 0;
  const std::string c = std::string("82") + lnk::kDegreeSign + "C";
  for (int i = 0; i < plat::CapturedTextCount(); ++i) {
    const std::string t = Narrow(plat::CapturedTextAt(i)->text);
    EXPECT_EQ(t.find(std::string(1, lnk::kDegreeSign) + "F"), std::string::npos) << t;
    if (t.find(c) != std::string::npos) ++converted;
  }
  EXPECT_EQ(converted, 3) << AllTexts();
}

TEST_F(DryerPicWindow, IncomingMoistureInGreenAndLabelsFromTheLanguage) {
  LoadEnglish();
  Set16HighFirst(lnk::kStatusMoisture2, 155);
  Repaint(window_);
  const plat::CapturedText* t = plat::FindCapturedText("15.5%", window_);
  ASSERT_NE(t, nullptr) << AllTexts();
  EXPECT_EQ(t->color, plat::Rgb(0, 200, 0));
  EXPECT_EQ(t->rect.left, 192);
  Screenshot("dryer_pic.png");
}

// The metering label names the speed in use as the unload panel highlights it: byte 155 is 0
// for low, 1 for medium and 2 for high; other values name no speed.
TEST_F(DryerPicWindow, MeteringLabelNamesTheSpeedTheUnloadPanelHighlights) {
  LoadEnglish();
  Set(lnk::kStatusLogged245, 4);
  Set(lnk::kStatusChart223, 5);
  struct Case {
    uint8_t speed;
    const char* line;
  };
  for (const Case& c : {Case{0, "MR LO 4"}, Case{1, "MR MED 4.5"}, Case{2, "MR HI 4"}, Case{3, "MR 4.5"}}) {
    Set(lnk::kStatusMeterRoll0, c.speed);
    Repaint(window_);
    const plat::CapturedText* t = plat::FindCapturedText(c.line, window_);
    ASSERT_NE(t, nullptr) << "speed " << int(c.speed) << "\n" << AllTexts();
    EXPECT_EQ(Narrow(t->text), c.line);
  }
}

// However many units the tower holds, the paired wheels and the guide lines stay clear of them,
// in every layout.
TEST_F(DryerPicWindow, WheelsAndGuideLinesNeverCrossAUnit) {
  struct Layout {
    uint8_t modules;
    uint8_t config;
  };
  for (const Layout l : {Layout{1, 0}, Layout{2, 0}, Layout{0, 0}, Layout{0, 0x20}}) {
    for (int code = 0; code < 5; ++code) {
      Set(lnk::kStatusModuleCount, l.modules);
      Set(lnk::kStatusConfigBits, l.config);
      Set(lnk::kStatusFanHeaterCount, static_cast<uint8_t>(code));
      lnk::DryerStatus s;
      lnk::TakeStatusSnapshot(s);
      const PictureLayout layout = ChoosePictureLayout(s);
      SCOPED_TRACE("layout " + std::to_string(static_cast<int>(layout)) + ", byte 3 = " + std::to_string(code));
      const GuideLines g = ChooseGuideLines(s, layout);
      for (int unit = 1; unit <= ShownUnitCount(s); ++unit) {
        const plat::Rect u = Unit(unit).place;
        for (MovingElement wheel : {MovingElement::PairA, MovingElement::PairB}) {
          const plat::Rect w = ChooseElementPicture(gAnimationPhases, layout, wheel).place;
          EXPECT_TRUE(plat::Intersect(u, w).Empty()) << "unit " << unit;
        }
        for (int i = 0; i < 2; ++i) {
          const plat::Rect line{g.from[i].x, g.from[i].y, g.to[i].x + 1, g.from[i].y + 1};
          EXPECT_TRUE(plat::Intersect(u, line).Empty()) << "unit " << unit << ", guide line " << i;
        }
      }
    }
  }
}
