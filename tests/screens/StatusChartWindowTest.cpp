// The status chart on the headless backend: eight rows of the short-term log, newest page
// first, scrolling back a line, and the logger state beside the rows.
#include <gtest/gtest.h>

#include <string>

#include <sys/stat.h>

#include "i18n/Language.h"
#include "link/DryerStatus.h"
#include "link/RegisterMap.h"
#include "platform/Backend.h"
#include "platform/Controls.h"
#include "records/LogTick.h"
#include "records/Preferences.h"
#include "records/ShortTermLog.h"
#include "screens/Screens.h"
#include "screens/StatusChartWindow.h"
#include "tests/records/RecordsTestSupport.h"

namespace {

using records_test::MakeTime;

class StatusChart : public records_test::PanelRoot {
 protected:
  void SetUp() override {
    PanelRoot::SetUp();
    records_test::WriteShippedEnglishStrings();
    i18n::ResetLanguageState();
    records::CurrentPreferences() = records::Preferences{};
    records::ResetLoggingState();
    ::mkdir((std::string(DRYER_BINARY_DIR) + "/screenshots").c_str(), 0755);
    ASSERT_EQ(plat::OpenDisplay({.headless = true}), plat::DisplayKind::Headless);
    ASSERT_TRUE(plat::RegisterClass({.name = screens::kAverageValuesClass, .proc = screens::StatusChartWindowProc}));
  }
  void TearDown() override {
    plat::StopTextCapture();
    plat::CloseDisplay();
    lnk::WriteStatusByte(lnk::kStatusDataLogger, 0);
    i18n::ResetLanguageState();
    PanelRoot::TearDown();
  }
  // Samples at 00:07, 01:07, ... on 4 October, with the outgoing moisture counting up.
  void Samples(int count) {
    lnk::DryerStatus s = records_test::RunningStatus();
    for (int i = 0; i < count; ++i) {
      records::SampleRecord r{};
      s.b[lnk::kStatusMoisture1 + 1] = static_cast<uint8_t>(150 + i);
      records::FillSampleRecord(r, s, MakeTime(2016, 10, 4, i, 7, 0));
      ASSERT_EQ(records::AppendSample(r), records::LogResult::Ok);
    }
  }
  plat::Hwnd Create() {
    return plat::CreateWindow({.className = screens::kAverageValuesClass,
                               .rect = plat::RectXywh(0, 0, 400, 210),
                               .flags = plat::WindowFlag::Visible});
  }
  void Repaint(plat::Hwnd h) {
    screens::RefreshScreen(h);
    plat::ClearCapturedText();
    plat::InvalidateRect(h, nullptr, true);
    plat::PumpUntilIdle();
  }
  bool Drawn(const char* text) { return plat::FindCapturedText(text) != nullptr; }
};

TEST_F(StatusChart, EightNewestRowsOldestAtTheTop) {
  Samples(12);
  lnk::WriteStatusByte(lnk::kStatusDataLogger, 1);
  plat::StartTextCapture();
  plat::Hwnd h = Create();
  ASSERT_NE(h, plat::kNoWindow);
  Repaint(h);
  EXPECT_FALSE(Drawn(" 3:07AM 10/4"));
  for (const char* row : {" 4:07AM 10/4", " 5:07AM 10/4", "11:07AM 10/4"}) EXPECT_TRUE(Drawn(row)) << row;
  EXPECT_TRUE(Drawn("16.1%"));  // the newest row's outgoing moisture
  EXPECT_TRUE(Drawn("112\xB0""F"));
  EXPECT_TRUE(Drawn("40 %"));
  EXPECT_TRUE(Drawn("ON"));
  EXPECT_TRUE(Drawn("0%"));
  const plat::CapturedText* top = plat::FindCapturedText(" 4:07AM 10/4");
  const plat::CapturedText* bottom = plat::FindCapturedText("11:07AM 10/4");
  ASSERT_TRUE(top && bottom);
  EXPECT_EQ(bottom->rect.top - top->rect.top, 7 * 16);
  std::string shot = std::string(DRYER_BINARY_DIR) + "/screenshots/status_chart_eight_rows.png";
  EXPECT_TRUE(plat::ScreenshotPng(shot.c_str()));

  // One line up shows one older sample; the position is kept on the next paint.
  plat::Hwnd bar = plat::GetDlgItem(h, screens::kChartScrollBarId);
  ASSERT_TRUE(plat::IsWindowVisible(bar));
  plat::SendMessage(h, plat::Msg::VScroll, plat::ScrollParam(plat::ScrollCode::LineUp, 0), 0);
  Repaint(h);
  EXPECT_TRUE(Drawn(" 3:07AM 10/4"));
  EXPECT_FALSE(Drawn("11:07AM 10/4"));
  Repaint(h);
  EXPECT_TRUE(Drawn(" 3:07AM 10/4"));
  // A line down at the newest page stays there.
  plat::SendMessage(h, plat::Msg::VScroll, plat::ScrollParam(plat::ScrollCode::LineDown, 0), 0);
  plat::SendMessage(h, plat::Msg::VScroll, plat::ScrollParam(plat::ScrollCode::LineDown, 0), 0);
  Repaint(h);
  EXPECT_TRUE(Drawn("11:07AM 10/4"));
  EXPECT_FALSE(Drawn(" 3:07AM 10/4"));
}

// The chart repaints every second: it reads the log again only when the log changed, and a
// read that fails then draws no rows.
TEST_F(StatusChart, RepaintsWithoutTouchingAnUnchangedLog) {
  Samples(4);
  plat::StartTextCapture();
  plat::Hwnd h = Create();
  Repaint(h);
  ASSERT_TRUE(Drawn(" 3:07AM 10/4"));
  plat::InjectFileFault(plat::FileOp::Read, 1, plat::FileResult::IoError, true);
  Repaint(h);
  EXPECT_TRUE(Drawn(" 3:07AM 10/4"));
  plat::ClearFileFaults();
  Samples(1);  // the log changes; its next read fails
  plat::InjectFileFault(plat::FileOp::Read, 1, plat::FileResult::IoError, true);
  Repaint(h);
  EXPECT_FALSE(Drawn("AM 10/4"));
  plat::ClearFileFaults();
}

TEST_F(StatusChart, FewSamplesHideTheScrollBarAndLoggerOff) {
  Samples(3);
  plat::StartTextCapture();
  plat::Hwnd h = Create();
  Repaint(h);
  EXPECT_FALSE(plat::IsWindowVisible(plat::GetDlgItem(h, screens::kChartScrollBarId)));
  EXPECT_TRUE(Drawn("12:07AM 10/4"));
  EXPECT_TRUE(Drawn(" 2:07AM 10/4"));
  EXPECT_TRUE(Drawn("OFF"));
  EXPECT_EQ(std::u16string(plat::GetWindowText(plat::GetDlgItem(h, screens::kChartSampleTimeButtonId))),
            u"SAMPLE 10 MIN");
}

}  // namespace
