// Writes the documentation screenshots of the main screen: the screen windows laid out as the
// panel lays them out, fed with status records for a one-, two- and six-unit dryer, continuous
// flow in the chart and graph views, batch drying, a warning, and the lost connection.
// Usage: screenshot-screens OUTPUT_DIR LANGUAGE_PACK_DIR
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "i18n/Language.h"
#include "link/DryerStatus.h"
#include "link/Link.h"
#include "platform/Backend.h"
#include "platform/Clock.h"
#include "platform/Controls.h"
#include "platform/Files.h"
#include "screens/DryerPictureLogic.h"
#include "screens/Screens.h"

namespace fs = std::filesystem;

namespace {

struct ScreenWindow {
  const char* className;
  plat::WindowProc proc;
  const char* title;
  plat::Rect rect;
  bool caption;
};

enum Window : int { kWarning, kChart, kPlenum, kUnload, kStatusBar, kButtonBar, kGraph, kPicture, kBatch, kCount };

constexpr ScreenWindow kWindows[kCount] = {
    {screens::kWarningClass, screens::WarningWindowProc, " WARNING - DRYER SHUTTING DOWN! - 05", plat::RectXywh(10, 20, 600, 325), true},
    {screens::kAverageValuesClass, screens::StatusChartWindowProc, " DRYER STATUS CHART", plat::RectXywh(240, 40, 400, 205), true},
    {screens::kCustomViewClass, screens::PlenumViewWindowProc, " PLENUM(S)", plat::RectXywh(240, 245, 400, 175), true},
    {screens::kUnloadStatusClass, screens::UnloadStatusWindowProc, " UNLOAD STATUS", plat::RectXywh(0, 245, 240, 175), true},
    {screens::kRightStatusBarClass, screens::RightStatusBarWindowProc, " DRYER BAR STATUS", plat::RectXywh(240, 0, 400, 40), false},
    {screens::kButtonBarClass, screens::ButtonBarWindowProc, " DRYER BAR STATUS", plat::RectXywh(0, 420, 640, 55), false},
    {screens::kGraphClass, screens::GraphWindowProc, " GRAPH OF SELECTED DRYER VARIABLES", plat::RectXywh(240, 40, 400, 380), false},
    {screens::kDryerPicClass, screens::DryerPicWindowProc, " SYSTEM STATUS", plat::RectXywh(0, 0, 240, 420), false},
    {screens::kBatchDryingClass, screens::BatchDryingWindowProc, " BATCH DRYING TIMERS", plat::RectXywh(240, 40, 400, 205), true},
};
constexpr const char* kButtons[] = {"TIMERS", "TEMPS", "SETUP", "VIEW", "MISC"};

plat::Hwnd g_windows[kCount];

plat::LResult MainProc(plat::Hwnd h, plat::Msg m, plat::WParam w, plat::LParam l) { return plat::DefWindowProc(h, m, w, l); }

void Set16LowFirst(int k, int v) {
  lnk::WriteStatusByte(k, static_cast<uint8_t>(v & 0xFF));
  lnk::WriteStatusByte(k + 1, static_cast<uint8_t>((v >> 8) & 0xFF));
}
void Set16HighFirst(int k, int v) {
  lnk::WriteStatusByte(k, static_cast<uint8_t>((v >> 8) & 0xFF));
  lnk::WriteStatusByte(k + 1, static_cast<uint8_t>(v & 0xFF));
}

// A continuous-flow dryer drying corn: every unit's fan turning, the top one firing.
void RunningDryer(int fanHeaterCode, int units) {
  // No start-up preset: it would make the screens wait for a first frame; these bytes stand
  // for frames already read.
  lnk::ResetDryerStatus();
  lnk::WriteStatusByte(lnk::kStatusFanHeaterCount, static_cast<uint8_t>(fanHeaterCode));
  lnk::WriteStatusByte(lnk::kStatusRunFlags, 0xE0);
  lnk::WriteStatusByte(lnk::kStatusRunFlags2, 0x01);
  lnk::WriteStatusByte(lnk::kStatusMoistureControlMode, 3);
  lnk::WriteStatusByte(lnk::kStatusSwitches, 0x40);
  for (int unit = 1; unit <= units; ++unit) {
    lnk::WriteStatusByte(lnk::kStatusUnitStatusB1 + 6 - unit, unit == 1 ? 0x02 : 0x01);
    lnk::WriteStatusByte(lnk::kStatusUnitStatusA1 + 6 - unit, 0x03);
    const int slot = 7 - unit;
    Set16LowFirst(lnk::kStatusPlenumSetpoint1 + 2 * (slot - 1), 180 - 10 * (unit - 1));
    Set16LowFirst(lnk::kStatusPlenumTemp1 + 2 * (slot - 1), 178 - 9 * (unit - 1));
    lnk::WriteStatusByte(lnk::kStatusUnitStatusD1 + slot - 1, unit == 1 ? 0x01 : 0x00);
  }
  Set16HighFirst(lnk::kStatusMoisture2, 231);
  Set16HighFirst(lnk::kStatusMoisture1, 152);
  Set16HighFirst(lnk::kStatusMoisture3, 1034);
  Set16HighFirst(lnk::kStatusMoistureSetpoint, 155);
  Set16LowFirst(lnk::kStatusGrainTemp3, 104);
  Set16LowFirst(lnk::kStatusGrainTempSetpoint1, 110);
  Set16HighFirst(lnk::kStatusUnloadStatusValue, 57);
  Set16HighFirst(lnk::kStatusUnloadPanel173, 850);
  const uint32_t bushelSeconds = 1234u * 3600u;
  for (int i = 0; i < 4; ++i) lnk::WriteStatusByte(lnk::kStatusBushelCounter + i, static_cast<uint8_t>(bushelSeconds >> (8 * i)));
  lnk::WriteStatusByte(lnk::kStatusMeterRoll0, 1);
  lnk::WriteStatusByte(lnk::kStatusMeterRoll1, 45);
  lnk::WriteStatusByte(lnk::kStatusMeterRoll2, 30);
  lnk::WriteStatusByte(lnk::kStatusMeterRoll3, 15);
  lnk::WriteStatusByte(lnk::kStatusLogged245, 30);
}

void Show(std::initializer_list<Window> shown) {
  for (int i = 0; i < kCount; ++i) {
    bool visible = false;
    for (Window w : shown) visible = visible || w == i;
    plat::ShowWindow(g_windows[i], visible);
  }
}

bool Shot(const fs::path& dir, const char* name) {
  // Ten tenths of the animation, as the tick would run them, then one frame.
  for (int i = 0; i < 10; ++i) {
    lnk::DryerStatus s;
    lnk::TakeStatusSnapshot(s);
    AdvanceAnimationPhases(gAnimationPhases, s);
  }
  for (plat::Hwnd h : g_windows) plat::InvalidateRect(h, nullptr, true);
  plat::RunFor(50);
  const bool ok = plat::ScreenshotPng((dir / name).c_str());
  std::printf("%s %s\n", ok ? "wrote" : "FAILED", (dir / name).c_str());
  return ok;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: %s OUTPUT_DIR LANGUAGE_PACK_DIR\n", argv[0]);
    return 2;
  }
  const fs::path out = argv[1];
  std::error_code ec;
  fs::create_directories(out, ec);
  const char* tmp = std::getenv("TMPDIR");
  std::string root = std::string(tmp && *tmp ? tmp : "/tmp") + "/screenshot-screens-XXXXXX";
  if (mkdtemp(root.data()) == nullptr) return 1;
  fs::create_directories(fs::path(root) / "Hard Disk", ec);
  fs::create_directory_symlink(fs::absolute(argv[2]), fs::path(root) / "Hard Disk" / "Languages", ec);
  plat::SetFileRoot(root.c_str());
  plat::UseVirtualClock(plat::LocalTime{.year = 2026, .month = 10, .day = 14, .hour = 9, .minute = 30});
  plat::OpenDisplay(plat::DisplayOptions{.headless = true});
  i18n::EnsureLanguageLoaded();

  plat::RegisterClass(plat::WindowClass{.name = "SCREENSHOT_MAIN", .proc = MainProc});
  const plat::Hwnd main = plat::CreateWindow(plat::WindowDesc{.className = "SCREENSHOT_MAIN", .rect = {0, 0, 640, 480},
                                                              .flags = plat::WindowFlag::Visible});
  screens::SetMainWindow(main);
  for (int i = 0; i < kCount; ++i) {
    const ScreenWindow& w = kWindows[i];
    plat::RegisterClass(plat::WindowClass{.name = w.className, .proc = w.proc, .eraseBackground = false});
    g_windows[i] = plat::CreateWindow(plat::WindowDesc{
        .className = w.className, .title = w.title, .parent = main, .rect = w.rect,
        .flags = (w.caption ? plat::WindowFlag::Caption : 0u) | (i == kWarning ? plat::WindowFlag::Topmost : 0u)});
  }
  for (int i = 0; i < 5; ++i)
    plat::CreateControl(main, plat::ControlKind::PushButton, 34817 + i, plat::RectXywh(20 + 124 * i, 427, 105, 40),
                        kButtons[i], plat::ControlStyle::Center);

  bool ok = true;
  const auto mainScreen = {kChart, kPlenum, kUnload, kStatusBar, kButtonBar, kPicture};
  RunningDryer(0, 1);
  Show(mainScreen);
  ok &= Shot(out, "main_one_unit_chart.png");

  RunningDryer(1, 2);
  lnk::WriteStatusByte(lnk::kStatusDisplayOptions, 0x40);
  Show({kGraph, kUnload, kStatusBar, kButtonBar, kPicture});
  ok &= Shot(out, "main_two_units_graph.png");

  RunningDryer(4, 6);
  Show(mainScreen);
  ok &= Shot(out, "main_six_units_chart.png");

  RunningDryer(1, 2);
  lnk::WriteStatusByte(lnk::kStatusDryerType, 2);
  lnk::WriteStatusByte(lnk::kStatusHiHeatTime, 45);
  lnk::WriteStatusByte(lnk::kStatusHiHeatCountdown, 31);
  lnk::WriteStatusByte(lnk::kStatusHiHeatCountdown + 1, 12);
  lnk::WriteStatusByte(lnk::kStatusCoolTime, 20);
  lnk::WriteStatusByte(lnk::kStatusUnloadTime, 10);
  Show({kBatch, kPlenum, kUnload, kStatusBar, kButtonBar, kPicture});
  ok &= Shot(out, "main_batch_drying.png");

  RunningDryer(1, 2);
  lnk::WriteStatusByte(lnk::kStatusWarningNode, 14);
  lnk::WriteStatusByte(lnk::kStatusWarningId, 3);
  while (!lnk::BlinkOn()) lnk::LinkTick();
  Show({kChart, kPlenum, kUnload, kStatusBar, kButtonBar, kPicture, kWarning});
  ok &= Shot(out, "main_warning.png");

  while (lnk::LinkAliveCountdown() > 0) lnk::DecrementLinkAliveCountdown();
  ok &= Shot(out, "main_connection_lost.png");

  plat::CloseDisplay();
  fs::remove_all(root, ec);
  return ok ? 0 : 1;
}
