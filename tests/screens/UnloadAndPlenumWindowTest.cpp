// UNLOAD_STATUS_WINDOW and CUSTOM_VIEW_WINDOW through the headless backend: the figures as
// drawn, the highlighted speed line, the speed button's command, and the plenum layouts.
#include "ScreenHarness.h"
#include "i18n/Language.h"
#include "platform/Font.h"
#include "screens/PlenumViewLogic.h"
#include "screens/UnloadLogic.h"

using namespace testing_support;

namespace {

class UnloadWindow : public ScreenFixture {
 protected:
  void SetUp() override {
    ScreenFixture::SetUp();
    window_ = Create(screens::kUnloadStatusClass, screens::UnloadStatusWindowProc, plat::RectXywh(0, 245, 240, 175),
                     " UNLOAD STATUS");
    ASSERT_NE(window_, plat::kNoWindow);
  }
  const plat::CapturedText* Drawn(const char* text) {
    const plat::CapturedText* t = plat::FindCapturedText(text, window_);
    EXPECT_NE(t, nullptr) << text << " in\n" << AllTexts();
    return t;
  }
  void Counter(uint32_t bushelSeconds) {
    for (int i = 0; i < 4; ++i) Set(lnk::kStatusBushelCounter + i, static_cast<uint8_t>(bushelSeconds >> (8 * i)));
  }
  plat::Hwnd window_ = plat::kNoWindow;
};

}  // namespace

TEST_F(UnloadWindow, UnloadFigureInTenthsWithItsLeadingBlank) {
  Set16HighFirst(lnk::kStatusUnloadStatusValue, 5);
  Repaint(window_);
  ASSERT_NE(Drawn(" 0.5"), nullptr);
  EXPECT_EQ(Narrow(Drawn(" 0.5")->text), " 0.5");
  Set16HighFirst(lnk::kStatusUnloadStatusValue, 123);
  Repaint(window_);
  ASSERT_NE(Drawn("12.3"), nullptr);
  EXPECT_EQ(Drawn("12.3")->color, kUnloadTextColour);
}

TEST_F(UnloadWindow, TotalBushelsCountWholeBushelsOfBushelSeconds) {
  Set16HighFirst(lnk::kStatusUnloadPanel173, 850);
  Counter(7199);
  Repaint(window_);
  ASSERT_NE(Drawn("Total Bushels:"), nullptr);
  EXPECT_NE(Drawn("850"), nullptr);
  const plat::CapturedText* total = plat::FindCapturedText("1", window_);
  ASSERT_NE(total, nullptr);
  EXPECT_EQ(Narrow(total->text), "1");
  Counter(7200);
  Repaint(window_);
  EXPECT_NE(plat::FindCapturedText("2", window_), nullptr) << AllTexts();
  EXPECT_EQ(Narrow(plat::FindCapturedText("2", window_)->text), "2");
}

TEST_F(UnloadWindow, TheSpeedInUseIsHighlightedAndAnUnknownSpeedHighlightsNone) {
  Set(lnk::kStatusMeterRoll1, 45);
  Set(lnk::kStatusMeterRoll2, 30);
  Set(lnk::kStatusMeterRoll3, 12);
  Set(lnk::kStatusMeterRoll0, 1);
  Repaint(window_);
  ASSERT_NE(Drawn(" HIGH: 0450 "), nullptr);
  EXPECT_EQ(Drawn(" HIGH: 0450 ")->color, kUnloadTextColour);
  ASSERT_NE(Drawn(" MED:  0300 "), nullptr);
  EXPECT_EQ(Drawn(" MED:  0300 ")->color, plat::Rgb(0, 0, 0));
  const plat::Rect med = Drawn(" MED:  0300 ")->rect;
  EXPECT_EQ(plat::ColorOf(plat::ScreenPixels().At(med.left + 1, med.top + 1)), kUnloadHighlightBack);

  Set(lnk::kStatusMeterRoll0, 3);
  Repaint(window_);
  for (const char* line : {" HIGH: 0450 ", " MED:  0300 ", " LOW:  0120 "}) {
    ASSERT_NE(Drawn(line), nullptr);
    EXPECT_EQ(Drawn(line)->color, kUnloadTextColour) << line;
  }
  EXPECT_EQ(plat::ColorOf(plat::ScreenPixels().At(med.left + 1, med.top + 1)), plat::Rgb(0, 0, 0));
}

// Each figure starts after its label, and the largest counter still fits in the button.
TEST_F(UnloadWindow, BushelFiguresNeverRunIntoTheirLabels) {
  const plat::FontHandle font = plat::CreateFont(plat::kFaceTahoma, 20, plat::FontWeight::Normal);
  const plat::Rect button = plat::GetWindowRect(plat::GetDlgItem(window_, kUnloadCommandBushels));
  Set16HighFirst(lnk::kStatusUnloadPanel173, 65535);
  Counter(0xFFFFFFFFu);
  Repaint(window_);
  struct Case {
    const char* label;
    const char* figure;
  };
  for (const Case& c : {Case{"Bushel/Hour:", "65535"}, Case{"Total Bushels:", "1193046"}}) {
    const plat::CapturedText* label = Drawn(c.label);
    const plat::CapturedText* figure = Drawn(c.figure);
    ASSERT_TRUE(label != nullptr && figure != nullptr);
    EXPECT_GT(figure->rect.left, label->rect.left + plat::TextWidth(font, c.label)) << c.figure;
    EXPECT_LE(figure->rect.left + plat::TextWidth(font, c.figure), button.right) << c.figure;
  }
}

TEST_F(UnloadWindow, TouchingTheSpeedsAsksTheMainWindowForTheMeterRollDialog) {
  ASSERT_TRUE(plat::RegisterClass(plat::WindowClass{.name = "MAIN_RECORDER", .proc = MainRecorder}));
  const plat::Hwnd main = plat::CreateWindow(plat::WindowDesc{.className = "MAIN_RECORDER", .rect = {0, 0, 1, 1}});
  screens::SetMainWindow(main);
  g_mainCommands.clear();
  plat::ClickWindow(plat::GetDlgItem(window_, kUnloadCommandBushels));
  EXPECT_TRUE(g_mainCommands.empty()) << "the bushel lines do nothing";
  plat::ClickWindow(plat::GetDlgItem(window_, kUnloadCommandSpeed));
  EXPECT_EQ(g_mainCommands, (std::vector<int>{screens::kCmdOpenMeterRoll}));
  screens::SetMainWindow(plat::kNoWindow);
}

namespace {

class PlenumWindow : public ScreenFixture {
 protected:
  void SetUp() override {
    ScreenFixture::SetUp();
    LoadEnglish();
    window_ = Create(screens::kCustomViewClass, screens::PlenumViewWindowProc, plat::RectXywh(240, 245, 400, 175),
                     " PLENUM(S)");
    ASSERT_NE(window_, plat::kNoWindow);
    client_ = plat::ClientToScreen(window_, plat::Point{0, 0});
  }
  std::string Text(int id) {
    char16_t t[i18n::kStringDestUnits] = {};
    i18n::GetString(id, t);
    return Narrow(t);
  }
  int Count(const std::string& text) {
    int n = 0;
    for (int i = 0; i < plat::CapturedTextCount(); ++i)
      if (Narrow(plat::CapturedTextAt(i)->text) == text) ++n;
    return n;
  }
  // Texts drawn in the client area (the caption bar draws its title too).
  int ClientTexts() {
    int n = 0;
    for (int i = 0; i < plat::CapturedTextCount(); ++i)
      if (plat::CapturedTextAt(i)->rect.top >= client_.y) ++n;
    return n;
  }
  plat::Hwnd window_ = plat::kNoWindow;
  plat::Point client_;
};

const std::string kDeg(1, static_cast<char>(176));

}  // namespace

TEST_F(PlenumWindow, TwoPlenumsShowSlotsFiveAndSixInTheirRows) {
  Set(lnk::kStatusFanHeaterCount, 1);
  Set16LowFirst(lnk::kStatusPlenumSetpoint5, 180);
  Set16LowFirst(lnk::kStatusPlenumTemp5, 175);
  Set16LowFirst(lnk::kStatusPlenumSetpoint6, 150);
  Set16LowFirst(lnk::kStatusPlenumTemp6, 149);
  Repaint(window_);
  const plat::CapturedText* upper = plat::FindCapturedText(("SP:  180 " + kDeg + "F ").c_str(), window_);
  const plat::CapturedText* lower = plat::FindCapturedText(("SP:  150 " + kDeg + "F ").c_str(), window_);
  ASSERT_NE(upper, nullptr) << AllTexts();
  ASSERT_NE(lower, nullptr) << AllTexts();
  EXPECT_EQ(upper->rect.top - client_.y, 15);
  EXPECT_EQ(lower->rect.top - client_.y, 90);
  EXPECT_EQ(upper->color, plat::Rgb(200, 200, 0));
  const plat::CapturedText* temp = plat::FindCapturedText(("175" + kDeg + "F").c_str(), window_);
  ASSERT_NE(temp, nullptr);
  EXPECT_EQ(temp->color, plat::Rgb(255, 0, 0));
  EXPECT_EQ(temp->rect.left - client_.x, 150);
  EXPECT_EQ(Count(Text(kPlenumTextPlenumSlot5)), 1);
  EXPECT_EQ(Count(Text(kPlenumTextPlenumSlot6)), 1);
  EXPECT_EQ(plat::GetWindowText(window_), std::u16string(u"") + [&] {
    char16_t t[i18n::kStringDestUnits] = {};
    i18n::GetString(kPlenumViewCaptionId, t);
    return std::u16string(t);
  }());
  Screenshot("plenum_view.png");
}

TEST_F(PlenumWindow, SeriesSwitchDrawsTheSinglePlenumLayoutForATwoPlenumDryer) {
  Set(lnk::kStatusFanHeaterCount, 1);
  Set(lnk::kStatusConfigBits, 0x20);
  Set16LowFirst(lnk::kStatusPlenumSetpoint6, 180);
  Repaint(window_);
  EXPECT_EQ(Count(Text(kPlenumTextPlenumSlot5)), 0) << AllTexts();
  const plat::CapturedText* sp = plat::FindCapturedText(("SP:  180 " + kDeg + "F ").c_str(), window_);
  ASSERT_NE(sp, nullptr);
  EXPECT_EQ(sp->rect.top - client_.y, 50);
  EXPECT_EQ(ClientTexts(), 4) << AllTexts();
}

TEST_F(PlenumWindow, CelsiusShowsEightyTwoForOneHundredEighty) {
  Set(lnk::kStatusFanHeaterCount, 0);
  Set(lnk::kStatusDisplayOptions, 0x80);
  Set16LowFirst(lnk::kStatusPlenumSetpoint6, 180);
  Set16LowFirst(lnk::kStatusPlenumTemp6, 180);
  Repaint(window_);
  EXPECT_NE(plat::FindCapturedText(("SP:  82 " + kDeg + "C ").c_str(), window_), nullptr) << AllTexts();
  EXPECT_NE(plat::FindCapturedText(("82" + kDeg + "C").c_str(), window_), nullptr) << AllTexts();
  EXPECT_EQ(plat::FindCapturedText((kDeg + "F").c_str(), window_), nullptr);
}

TEST_F(PlenumWindow, BothBurnerBitsGiveTheGreenText) {
  Set(lnk::kStatusFanHeaterCount, 0);
  Set(lnk::kStatusUnitStatusD1 + 5, 0x03);  // burner state of slot 6
  Repaint(window_);
  const plat::CapturedText* t = plat::FindCapturedText(Text(kPlenumTextBurnerOn).c_str(), window_);
  ASSERT_NE(t, nullptr) << AllTexts();
  EXPECT_EQ(Narrow(t->text), Text(kPlenumTextBurnerOn));
  EXPECT_EQ(t->color, plat::Rgb(0, 255, 0));
  Set(lnk::kStatusUnitStatusD1 + 5, 0x02);
  Repaint(window_);
  ASSERT_NE(plat::FindCapturedText(Text(kPlenumTextBurnerFault).c_str(), window_), nullptr);
  EXPECT_EQ(plat::FindCapturedText(Text(kPlenumTextBurnerFault).c_str(), window_)->color, plat::Rgb(255, 0, 0));
}

TEST_F(PlenumWindow, AFanHeaterCodeOutsideTheLayoutsDrawsNoPlenum) {
  Set(lnk::kStatusFanHeaterCount, 9);
  Repaint(window_);
  EXPECT_EQ(ClientTexts(), 0) << AllTexts();
}

// Every layout with three-digit figures in both units: each temperature and setpoint is drawn
// whole in its own place, and no two plenums' temperatures share pixels.
TEST_F(PlenumWindow, ThreeDigitTemperaturesFitTheirPlacesInEveryLayout) {
  const plat::Rect client = plat::GetClientRect(window_);
  for (int code = 0; code <= 5; ++code) {
    for (bool celsius : {false, true}) {
      SCOPED_TRACE("byte 3 = " + std::to_string(code) + (celsius ? " C" : " F"));
      Set(lnk::kStatusFanHeaterCount, static_cast<uint8_t>(code < 5 ? code : 1));
      Set(lnk::kStatusConfigBits, code < 5 ? 0x00 : 0x20);
      Set(lnk::kStatusDisplayOptions, celsius ? 0x80 : 0x00);
      for (int slot = 1; slot <= 6; ++slot) {
        Set16LowFirst(lnk::kStatusPlenumSetpoint1 + 2 * (slot - 1), 250);  // 121 C
        Set16LowFirst(lnk::kStatusPlenumTemp1 + 2 * (slot - 1), 248 - 2 * slot);  // distinct in C too
      }
      Repaint(window_);
      lnk::DryerStatus s;
      lnk::TakeStatusSnapshot(s);
      const PlenumLayout* layout = ChoosePlenumLayout(s);
      ASSERT_NE(layout, nullptr);
      plat::Rect drawn[kMaxPlenums] = {};
      for (int i = 0; i < layout->count; ++i) {
        const PlenumPlace& p = layout->plenums[i];
        char temperature[32];
        char setpoint[32];
        FormatPlenumTemperature(temperature, sizeof temperature, PlenumTemperatureF(s, p.slot), celsius);
        FormatPlenumSetpoint(setpoint, sizeof setpoint, PlenumSetpointF(s, p.slot), celsius);
        const plat::CapturedText* t = plat::FindCapturedText(temperature, window_);
        ASSERT_NE(t, nullptr) << temperature << "\n" << AllTexts();
        const int width = plat::TextWidth(plat::BoldTahoma(p.temperatureFont), temperature);
        // Centred in its place, as DrawText puts it.
        const plat::Rect place = t->rect.Offset(-client_.x, -client_.y);
        drawn[i] = {place.left + (place.Width() - width) / 2, place.top, place.left + (place.Width() + width) / 2,
                    place.bottom};
        EXPECT_LE(width, place.Width()) << temperature;
        EXPECT_TRUE(drawn[i].left >= 0 && drawn[i].right <= client.right && place.bottom <= client.bottom)
            << temperature;
        EXPECT_LE(plat::TextWidth(plat::BoldTahoma(p.setpointFont), setpoint), p.setpoint.Width()) << setpoint;
        for (int j = 0; j < i; ++j)
          EXPECT_TRUE(plat::Intersect(drawn[i], drawn[j]).Empty()) << temperature << " meets plenum " << j;
      }
    }
  }
}

// The view names each plenum as the temperature screen does (slot 6 is plenum 1, unit 1 of the
// dryer picture), never by a place that another screen contradicts.
TEST_F(PlenumWindow, EveryPlenumIsNamedByItsUnitNumberInEveryLanguage) {
  for (i18n::LanguageId language : {i18n::kEnglish, i18n::kGerman}) {
    i18n::SetLanguage(language);
    for (int code = 0; code <= 5; ++code) {
      SCOPED_TRACE("language " + std::to_string(static_cast<int>(language)) + ", byte 3 = " + std::to_string(code));
      Set(lnk::kStatusFanHeaterCount, static_cast<uint8_t>(code < 5 ? code : 1));
      Set(lnk::kStatusConfigBits, code < 5 ? 0x00 : 0x20);
      Repaint(window_);
      lnk::DryerStatus s;
      lnk::TakeStatusSnapshot(s);
      const PlenumLayout* layout = ChoosePlenumLayout(s);
      ASSERT_NE(layout, nullptr);
      for (int i = 0; i < layout->count; ++i) {
        const PlenumPlace& p = layout->plenums[i];
        // The burner differential and setpoint screens call plenum n "PLENUM n": ids 91 down to 86.
        const std::string name = Text(91 - (kMaxPlenums - p.slot));
        const plat::Rect label = p.label.Offset(client_.x, client_.y);
        const plat::CapturedText* drawn = nullptr;
        for (int k = 0; k < plat::CapturedTextCount(); ++k)
          if (plat::CapturedTextAt(k)->rect == label) drawn = plat::CapturedTextAt(k);
        ASSERT_NE(drawn, nullptr) << AllTexts();
        EXPECT_EQ(Narrow(drawn->text), name) << "slot " << p.slot;
      }
    }
  }
}
