// Every screen window's paint only draws: a paint leaves captions and visible controls as they
// were, and the refresh step the tick runs is what brings them up to date.
#include <functional>
#include <string>
#include <vector>

#include "ScreenHarness.h"
#include "records/Preferences.h"
#include "screens/BatchTimerLogic.h"
#include "screens/StatusChartWindow.h"
#include "screens/TempSelectLogic.h"
#include "screens/TimerSelectLogic.h"
#include "screens/TimerSelectWindow.h"

using namespace testing_support;

namespace {

struct WindowCase {
  const char* name;
  const char* className;
  plat::WindowProc proc;
  plat::Rect rect;
  // The windows whose caption and visibility the refresh owns, besides the screen itself.
  std::function<std::vector<plat::Hwnd>(plat::Hwnd)> parts;
  // Sets a status or preference the screen has not yet shown.
  std::function<void()> change;
};

std::vector<plat::Hwnd> Controls(plat::Hwnd parent, std::initializer_list<int> ids) {
  std::vector<plat::Hwnd> out;
  for (int id : ids) out.push_back(plat::GetDlgItem(parent, id));
  return out;
}

std::vector<plat::Hwnd> TempParts(plat::Hwnd screen) {
  const plat::Hwnd plenum = plat::FindWindow(kPlenumSetpointChildClass);
  const plat::Hwnd grain = plat::FindWindow(kGrainSetpointChildClass);
  std::vector<plat::Hwnd> out{plat::GetDlgItem(screen, kTempSelectExit), plenum, grain};
  for (const PlenumButtonPlace& p : kPlenumButtons) out.push_back(plat::GetDlgItem(plenum, p.controlId));
  for (const GrainButtonPlace& g : kGrainButtons) out.push_back(plat::GetDlgItem(grain, g.controlId));
  return out;
}

std::vector<plat::Hwnd> TimerParts(plat::Hwnd screen) {
  std::vector<plat::Hwnd> out;
  for (int p = 0; p < kTimerPanelCount; ++p) out.push_back(plat::GetDlgItem(screen, screens::kTimerFirstPanelId + p));
  return out;
}

std::vector<plat::Hwnd> BatchParts(plat::Hwnd screen) {
  std::vector<plat::Hwnd> out;
  for (const BatchButton& b : kBatchButtons) out.push_back(plat::GetDlgItem(screen, b.command));
  return out;
}

class PaintOnlyDraws : public ScreenFixture {
 protected:
  // Caption and visibility of the screen and of its parts, one line each.
  std::vector<std::string> State(plat::Hwnd screen, const WindowCase& c) {
    std::vector<plat::Hwnd> windows{screen};
    for (plat::Hwnd h : c.parts(screen)) windows.push_back(h);
    std::vector<std::string> out;
    for (plat::Hwnd h : windows)
      out.push_back(Narrow(plat::GetWindowText(h)) + (plat::IsWindowVisible(h) ? " shown" : " hidden"));
    return out;
  }
  void PaintNow(plat::Hwnd screen, const WindowCase& c) {
    plat::InvalidateRect(screen, nullptr, true);
    for (plat::Hwnd h : c.parts(screen)) plat::InvalidateRect(h, nullptr, true);
    plat::PumpUntilIdle();
  }
};

TEST_F(PaintOnlyDraws, APaintChangesNoCaptionOrVisibilityAndTheRefreshDoes) {
  LoadEnglish();
  const WindowCase cases[] = {
      {"temperatures", screens::kTempSelectClass, screens::TempSelectWindowProc, plat::RectXywh(0, 0, 640, 475),
       TempParts,
       [this] {
         Set(lnk::kStatusDryerType, 1);
         Set(lnk::kStatusFanHeaterCount, 1);
         Set(lnk::kStatusOptionBits, lnk::kOptionBitsTwoHeat);
       }},
      {"timers", screens::kTimerSelectClass, screens::TimerSelectWindowProc, plat::RectXywh(0, 0, 640, 475),
       TimerParts, [] {}},
      {"batch", screens::kBatchDryingClass, screens::BatchDryingWindowProc, plat::RectXywh(240, 40, 400, 205),
       BatchParts, [this] { Set(lnk::kStatusDryerType, lnk::kDryerTypeHighLimit); }},
      {"plenums", screens::kCustomViewClass, screens::PlenumViewWindowProc, plat::RectXywh(240, 245, 400, 175),
       [](plat::Hwnd) { return std::vector<plat::Hwnd>{}; }, [] {}},
      {"warning", screens::kWarningClass, screens::WarningWindowProc, plat::RectXywh(10, 20, 600, 325),
       [](plat::Hwnd) { return std::vector<plat::Hwnd>{}; }, [] {}},
      {"chart", screens::kAverageValuesClass, screens::StatusChartWindowProc, plat::RectXywh(240, 40, 400, 205),
       [](plat::Hwnd h) { return Controls(h, {screens::kChartSampleTimeButtonId, screens::kChartScrollBarId}); },
       [] { records::CurrentPreferences().sampleMinutes = 30; }},
  };
  for (const WindowCase& c : cases) {
    SCOPED_TRACE(c.name);
    records::CurrentPreferences() = records::Preferences{};
    const plat::Hwnd screen = Create(c.className, c.proc, c.rect, "before any refresh");
    ASSERT_NE(screen, plat::kNoWindow);
    c.change();
    const std::vector<std::string> before = State(screen, c);
    PaintNow(screen, c);
    EXPECT_EQ(State(screen, c), before) << "a paint changed what the window shows besides its drawing";
    screens::RefreshScreen(screen);
    EXPECT_NE(State(screen, c), before) << "the refresh brings the window up to date";
    plat::DestroyWindow(screen);
    lnk::ResetDryerStatus();
  }
}

}  // namespace
