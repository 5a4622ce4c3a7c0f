// The screen windows alone on the headless display, without the panel around them: the
// tenth-second repaint of the dryer picture (animation phases advanced, drawn off screen,
// composed and shown) and a paint of the six windows of the chart view. The main buttons are
// made by the main window and the chart's rows come from the sample log, so neither is drawn
// here: bench_panel measures the whole main screen. Each reports per-paint percentiles and its
// heap allocations per paint (the target is zero).
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "bench/PaintTimes.h"
#include "i18n/Language.h"
#include "link/DryerStatus.h"
#include "platform/Backend.h"
#include "platform/Clock.h"
#include "platform/Files.h"
#include "screens/DryerPictureLogic.h"
#include "screens/Screens.h"

namespace fs = std::filesystem;

namespace {

struct ScreenWindow {
  const char* className;
  plat::WindowProc proc;
  plat::Rect rect;
  bool caption;
};
constexpr ScreenWindow kMainScreen[] = {
    {screens::kAverageValuesClass, screens::StatusChartWindowProc, plat::RectXywh(240, 40, 400, 205), true},
    {screens::kCustomViewClass, screens::PlenumViewWindowProc, plat::RectXywh(240, 245, 400, 175), true},
    {screens::kUnloadStatusClass, screens::UnloadStatusWindowProc, plat::RectXywh(0, 245, 240, 175), true},
    {screens::kRightStatusBarClass, screens::RightStatusBarWindowProc, plat::RectXywh(240, 0, 400, 40), false},
    {screens::kButtonBarClass, screens::ButtonBarWindowProc, plat::RectXywh(0, 420, 640, 55), false},
    {screens::kDryerPicClass, screens::DryerPicWindowProc, plat::RectXywh(0, 0, 240, 420), false},
};
constexpr int kWindowCount = sizeof kMainScreen / sizeof kMainScreen[0];
constexpr int kPictureIndex = kWindowCount - 1;

plat::LResult MainProc(plat::Hwnd h, plat::Msg m, plat::WParam w, plat::LParam l) { return plat::DefWindowProc(h, m, w, l); }

plat::Hwnd g_windows[kWindowCount];
std::string g_root;

// The English pack lies beside the program's folder in the build tree; without it the labels
// would be empty, so the benchmarks refuse to run.
bool UsePack() {
  std::error_code ec;
  const fs::path pack = fs::read_symlink("/proc/self/exe", ec).parent_path().parent_path() / "assets" / "Languages";
  if (!fs::is_directory(pack / "EN")) return false;
  const char* tmp = std::getenv("TMPDIR");
  g_root = std::string(tmp && *tmp ? tmp : "/tmp") + "/bench-screens-XXXXXX";
  if (mkdtemp(g_root.data()) == nullptr) return false;
  fs::create_directories(fs::path(g_root) / "Hard Disk", ec);
  fs::create_directory_symlink(pack, fs::path(g_root) / "Hard Disk" / "Languages", ec);
  plat::SetFileRoot(g_root.c_str());
  i18n::EnsureLanguageLoaded();
  return true;
}

// A running two-unit dryer, so every moving element and both units animate.
void RunningDryer() {
  // No start-up preset: it would make the screens wait for a first frame; these bytes stand
  // for frames already read.
  lnk::ResetDryerStatus();
  lnk::WriteStatusByte(lnk::kStatusFanHeaterCount, 1);
  lnk::WriteStatusByte(lnk::kStatusRunFlags, 0x60);
  lnk::WriteStatusByte(lnk::kStatusRunFlags2, 0x01);
  lnk::WriteStatusByte(lnk::kStatusLoadState, 0x0C);
  lnk::WriteStatusByte(lnk::kStatusMoistureControlMode, 3);
  for (int unit = 1; unit <= 2; ++unit) {
    lnk::WriteStatusByte(lnk::kStatusUnitStatusB1 + 6 - unit, unit == 1 ? 0x02 : 0x01);
    lnk::WriteStatusByte(lnk::kStatusUnitStatusA1 + 6 - unit, 0x03);
  }
  lnk::WriteStatusByte(lnk::kStatusPlenumTemp6, 178);
  lnk::WriteStatusByte(lnk::kStatusPlenumSetpoint6, 180);
  lnk::WriteStatusByte(lnk::kStatusMoisture2 + 1, 231);
}

bool Start() {
  if (!UsePack()) return false;
  plat::UseVirtualClock(plat::LocalTime{});
  plat::OpenDisplay(plat::DisplayOptions{.headless = true});
  plat::RegisterClass(plat::WindowClass{.name = "BENCH_MAIN", .proc = MainProc});
  const plat::Hwnd main = plat::CreateWindow(plat::WindowDesc{.className = "BENCH_MAIN", .rect = {0, 0, 640, 480},
                                                              .flags = plat::WindowFlag::Visible});
  for (int i = 0; i < kWindowCount; ++i) {
    const ScreenWindow& w = kMainScreen[i];
    plat::RegisterClass(plat::WindowClass{.name = w.className, .proc = w.proc, .eraseBackground = false});
    g_windows[i] = plat::CreateWindow(plat::WindowDesc{
        .className = w.className, .title = w.className, .parent = main, .rect = w.rect,
        .flags = plat::WindowFlag::Visible | (w.caption ? plat::WindowFlag::Caption : 0u)});
  }
  RunningDryer();
  return true;
}

void Stop() {
  plat::CloseDisplay();
  std::error_code ec;
  fs::remove_all(g_root, ec);
}

template <typename Paint>
void Measure(benchmark::State& state, Paint paint) {
  for (int i = 0; i < 30; ++i) paint();  // every picture, glyph and frame drawn once
  bench::PaintTimes times;
  times.Run(state, paint);
}

constexpr char kNoPack[] = "no English language pack in the build: the screens would have no texts";

void BM_DryerPictureOnlyAnimationStep(benchmark::State& state) {
  if (!Start()) {
    state.SkipWithError(kNoPack);
    return;
  }
  const plat::Hwnd picture = g_windows[kPictureIndex];
  Measure(state, [picture] {
    lnk::DryerStatus s;
    lnk::TakeStatusSnapshot(s);
    AdvanceAnimationPhases(gAnimationPhases, s);
    plat::InvalidateRect(picture, nullptr, true);
    plat::UpdateWindow(picture);
  });
  Stop();
}
BENCHMARK(BM_DryerPictureOnlyAnimationStep)->Unit(benchmark::kMicrosecond);

void BM_SixScreenWindowsNoMainButtonsNoChartRows(benchmark::State& state) {
  if (!Start()) {
    state.SkipWithError(kNoPack);
    return;
  }
  Measure(state, [] {
    for (plat::Hwnd h : g_windows) plat::InvalidateRect(h, nullptr, true);
    plat::PumpUntilIdle();
  });
  Stop();
}
BENCHMARK(BM_SixScreenWindowsNoMainButtonsNoChartRows)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
