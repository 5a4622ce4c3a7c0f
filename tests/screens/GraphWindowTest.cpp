// The graph screen on the headless backend: all six traces over a two-hour window, the hour
// steps of the scroll bar, a trace button switching its trace and saving the choice.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include <sys/stat.h>

#include "i18n/Language.h"
#include "platform/Backend.h"
#include "platform/Controls.h"
#include "records/GraphLog.h"
#include "records/Preferences.h"
#include "screens/GraphWindow.h"
#include "screens/Screens.h"
#include "tests/records/RecordsTestSupport.h"

namespace {

using records_test::MakeTime;

void Put16(records::SampleRecord& r, int offset, int value) {
  r.b[offset] = static_cast<uint8_t>((value >> 8) & 0xFF);
  r.b[offset + 1] = static_cast<uint8_t>(value & 0xFF);
}

class GraphScreen : public records_test::PanelRoot {
 protected:
  void SetUp() override {
    PanelRoot::SetUp();
    records_test::WriteShippedEnglishStrings();
    i18n::ResetLanguageState();
    records::CurrentPreferences() = records::Preferences{};
    ::mkdir((std::string(DRYER_BINARY_DIR) + "/screenshots").c_str(), 0755);
    ASSERT_EQ(plat::OpenDisplay({.headless = true}), plat::DisplayKind::Headless);
    ASSERT_TRUE(plat::RegisterClass({.name = screens::kGraphClass, .proc = screens::GraphWindowProc}));
    ASSERT_TRUE(plat::RegisterClass({.name = screens::kDrawGraphClass, .proc = screens::DrawGraphWindowProc}));
  }
  void TearDown() override {
    plat::StopTextCapture();
    plat::CloseDisplay();
    records::CurrentPreferences() = records::Preferences{};
    i18n::ResetLanguageState();
    PanelRoot::TearDown();
  }
  // Three hours of records from 16:00, every reading following its own slow wave.
  void ThreeHours() {
    std::string bytes;
    for (int i = 0; i < 3 * 360; ++i) {
      records::SampleRecord r{};
      int phase = i % 120 < 60 ? i % 60 : 60 - i % 60;
      Put16(r, records::kSampleGrainTemp, 100 + phase / 3);
      Put16(r, records::kSampleTempIn, 600 + phase * 2);
      Put16(r, records::kSampleMoistIn, 220 + phase);
      Put16(r, records::kSampleTempOut, 800 - phase * 3);
      Put16(r, records::kSampleMoistOut, 150 + phase / 2);
      r.b[records::kSampleRollSpeed + 1] = static_cast<uint8_t>(30 + phase / 4);
      int second = 16 * 3600 + i * 10;
      r.b[records::kSampleHour] = static_cast<uint8_t>(second / 3600);
      r.b[records::kSampleMinute] = static_cast<uint8_t>(second / 60 % 60);
      r.b[records::kSampleSecond] = static_cast<uint8_t>(second % 60);
      r.b[records::kSampleMonth] = 10;
      r.b[records::kSampleDay] = 4;
      bytes.append(reinterpret_cast<const char*>(r.b), sizeof r.b);
    }
    ASSERT_EQ(plat::CreateFolder("\\Hard Disk\\GraphDataLog"), plat::FileResult::Ok);
    WriteAll("\\Hard Disk\\GraphDataLog\\GRAPH_DATA_LOG_24HR16_10_04_16_00_00.DAT", bytes);
  }
  plat::Hwnd Create() {
    return plat::CreateWindow({.className = screens::kGraphClass, .rect = plat::RectXywh(0, 0, 400, 380),
                               .flags = plat::WindowFlag::Visible});
  }
  // Refreshes the screen as the tick does, then repaints the drawing.
  void Repaint(plat::Hwnd h) {
    screens::RefreshScreen(h);
    PaintOnly(h);
  }
  void PaintOnly(plat::Hwnd h) {
    plat::ClearCapturedText();
    plat::InvalidateRect(plat::GetDlgItem(h, screens::kGraphDrawId), nullptr, true);
    plat::PumpUntilIdle();
  }
  // What the drawing of the graph screen `h` drew.
  std::vector<std::u16string> Texts(plat::Hwnd h) {
    const plat::Hwnd draw = plat::GetDlgItem(h, screens::kGraphDrawId);
    std::vector<std::u16string> out;
    for (int i = 0; i < plat::CapturedTextCount(); ++i)
      if (plat::CapturedTextAt(i)->window == draw) out.push_back(plat::CapturedTextAt(i)->text);
    return out;
  }
  bool Drawn(const char* text) { return plat::FindCapturedText(text) != nullptr; }
};

TEST_F(GraphScreen, SixTracesOverTwoHours) {
  ThreeHours();
  records::CurrentPreferences().graphTraces = 0x3F;
  records::CurrentPreferences().graphScale = 1;
  plat::StartTextCapture();
  plat::Hwnd h = Create();
  ASSERT_NE(h, plat::kNoWindow);
  Repaint(h);
  // The window holds the last two of the three hours: 17:00 to 18:59.
  EXPECT_TRUE(Drawn("5:00PM 10/04"));
  EXPECT_TRUE(Drawn("6:59PM 10/04"));
  EXPECT_TRUE(Drawn("[-0 HRS]"));
  EXPECT_TRUE(Drawn("22.0%"));  // the incoming moisture's bottom tick
  std::string shot = std::string(DRYER_BINARY_DIR) + "/screenshots/graph_six_traces_two_hours.png";
  EXPECT_TRUE(plat::ScreenshotPng(shot.c_str()));
  // Every trace is drawn in its colour inside the plot.
  plat::PixelView screen = plat::ScreenPixels();
  for (plat::Color pen : {plat::Rgb(0, 255, 0), plat::Rgb(255, 128, 64), plat::Rgb(0, 255, 255),
                          plat::Rgb(255, 0, 255), plat::Rgb(255, 255, 0), plat::Rgb(255, 0, 0)}) {
    int found = 0;
    for (int y = 20; y <= 200; ++y)
      for (int x = 36; x < 396; ++x) found += plat::ColorOf(screen.pixels[y * screen.stride + x]) == pen;
    EXPECT_GT(found, 100) << int(pen.r) << "," << int(pen.g) << "," << int(pen.b);
  }

  // One hour back is as far as three hours allow.
  plat::SendMessage(h, plat::Msg::HScroll, plat::ScrollParam(plat::ScrollCode::LineUp, 0), 0);
  plat::SendMessage(h, plat::Msg::HScroll, plat::ScrollParam(plat::ScrollCode::PageUp, 0), 0);
  Repaint(h);
  EXPECT_EQ(screens::GraphScrollOffset(), 1);
  EXPECT_TRUE(Drawn("4:00PM 10/04"));
  EXPECT_TRUE(Drawn("[-1 HRS]"));
  plat::SendMessage(h, plat::Msg::HScroll, plat::ScrollParam(plat::ScrollCode::LineDown, 0), 0);
  Repaint(h);
  EXPECT_EQ(screens::GraphScrollOffset(), 0);
}

// The paint draws what the refresh read: a longer window reaches the drawing through the refresh.
TEST_F(GraphScreen, PaintDrawsTheLastReadAndTheRefreshReadsAgain) {
  ThreeHours();
  records::CurrentPreferences().graphTraces = 0x01;
  records::CurrentPreferences().graphScale = 1;
  plat::StartTextCapture();
  plat::Hwnd h = Create();
  Repaint(h);
  const std::vector<std::u16string> twoHours = Texts(h);
  ASSERT_TRUE(Drawn("5:00PM 10/04"));
  records::CurrentPreferences().graphScale = 2;
  PaintOnly(h);
  EXPECT_EQ(Texts(h), twoHours);
  Repaint(h);
  EXPECT_NE(Texts(h), twoHours);
}

TEST_F(GraphScreen, TraceButtonSwitchesAndSaves) {
  ThreeHours();
  records::CurrentPreferences().graphTraces = 0x01;
  plat::Hwnd h = Create();
  plat::PumpUntilIdle();
  ASSERT_TRUE(plat::ClickWindow(plat::GetDlgItem(h, screens::kGraphFirstTraceButtonId + 5)));
  plat::PumpUntilIdle();
  EXPECT_EQ(records::CurrentPreferences().graphTraces, 0x21);
  ASSERT_TRUE(plat::ClickWindow(plat::GetDlgItem(h, screens::kGraphFirstTraceButtonId)));
  plat::PumpUntilIdle();
  records::LoadPreferences();
  EXPECT_EQ(records::CurrentPreferences().graphTraces, 0x20);
}

}  // namespace
