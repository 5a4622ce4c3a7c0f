// The whole panel, headless, with the built-in simulator answering on a pseudo-terminal: the
// full main-screen paint (every visible window, the main buttons and a page of chart rows) and
// the repaint of the dryer picture alone, each with per-paint percentiles and allocations per
// paint; start to first painted frame; and the steady state of the running panel (CPU share
// and heap allocations over a few seconds of real time, link and simulator threads included).
//
// `bench_panel --paints full|picture N` paints N times with no timing at all, inside
// CountedPaints, so that an instruction counter can be pointed at that one function
// (scripts/bench does so with callgrind).
#include <benchmark/benchmark.h>
#include <sys/resource.h>
#include <time.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "bench/AllocHook.h"
#include "bench/PaintTimes.h"
#include "i18n/Language.h"
#include "link/DryerStatus.h"
#include "link/Link.h"
#include "link/SettingRequest.h"
#include "platform/Backend.h"
#include "platform/Clock.h"
#include "platform/Window.h"
#include "records/LogTick.h"
#include "records/SampleRecord.h"
#include "records/ShortTermLog.h"
#include "screens/Screens.h"
#include "shell/MainWindow.h"
#include "shell/Panel.h"

namespace {

using Clock = std::chrono::steady_clock;

struct BenchRoot {
  std::string path;
  BenchRoot() {
    const char* base = std::getenv("TMPDIR");
    std::string pattern = std::string(base != nullptr && base[0] ? base : "/tmp") + "/panel-bench-XXXXXX";
    if (::mkdtemp(pattern.data()) != nullptr) path = pattern;
    shell::PrepareRoot(path.c_str(), shell::DefaultPackDir());
  }
  ~BenchRoot() {
    std::error_code ec;
    std::filesystem::remove_all(path, ec);
  }
};

bool StartBenchPanel(const BenchRoot& root) {
  shell::PanelOptions o;
  o.root = root.path.c_str();
  o.headless = true;
  return shell::StartPanel(o) == shell::StartResult::Ok;
}

void StopBenchPanel() {
  shell::StopPanel();
  lnk::ResetLinkState();
  lnk::ResetDryerStatus();
  lnk::ResetSettingRequest();
  records::ResetLoggingState();
  i18n::ResetLanguageState();
}

double CpuSeconds() {
  rusage u{};
  getrusage(RUSAGE_SELF, &u);
  return u.ru_utime.tv_sec + u.ru_stime.tv_sec + (u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}

// A dryer that has run a while has a full page of samples in the status chart; the panel has
// logged at most one in its first seconds, so the rest are added here.
bool FillChartPage() {
  lnk::DryerStatus s;
  lnk::TakeStatusSnapshot(s);
  plat::LocalTime t;
  plat::GetLocalTime(t);
  records::SampleRecord r{};
  for (int i = 0; i < records::kChartRows; ++i) {
    t.minute = (t.minute + 1) % 60;
    records::FillSampleRecord(r, s, t);
    if (records::AppendSample(r) != records::LogResult::Ok) return false;
  }
  return true;
}

enum class PaintTarget : uint8_t { FullMainScreen, DryerPictureOnly };

// The started panel with the simulator's values on its screens, ready to paint `target`.
struct PaintSetup {
  plat::Hwnd main = plat::kNoWindow;
  plat::Hwnd target = plat::kNoWindow;
};

// Null when ready, otherwise why not.
const char* PreparePaints(const BenchRoot& root, PaintTarget target, PaintSetup& out) {
  const char* packs = shell::DefaultPackDir();
  if (packs == nullptr || !std::filesystem::is_directory(std::filesystem::path(packs) / "EN"))
    return "no English language pack in the build: the screens would have no texts";
  if (!StartBenchPanel(root)) return "the panel did not start";
  plat::RunFor(2000);
  if (!FillChartPage()) return "the chart's samples could not be logged";
  out.main = screens::MainWindow();
  out.target = target == PaintTarget::FullMainScreen ? out.main : shell::ScreenWindow(shell::Screen::DryerPic);
  for (int i = 0; i < 30; ++i) {  // every picture, glyph and chart page drawn once
    plat::InvalidateRect(out.target, nullptr, true);
    plat::UpdateWindow(out.main);
  }
  return nullptr;
}

// Paints off screen and copies to the screen in one step, as the panel's loop does.
void PaintOnce(const PaintSetup& p) {
  plat::InvalidateRect(p.target, nullptr, true);
  plat::UpdateWindow(p.main);
}

void PaintLoop(benchmark::State& state, PaintTarget target) {
  BenchRoot root;
  PaintSetup setup;
  if (const char* error = PreparePaints(root, target, setup)) {
    state.SkipWithError(error);
    StopBenchPanel();
    return;
  }
  bench::PaintTimes times;
  times.Run(state, [&setup] { PaintOnce(setup); });
  StopBenchPanel();
}

void BM_FullMainScreenEveryWindowAndButton(benchmark::State& state) {
  PaintLoop(state, PaintTarget::FullMainScreen);
}
BENCHMARK(BM_FullMainScreenEveryWindowAndButton)->Unit(benchmark::kMicrosecond)->MinTime(2.0);

void BM_DryerPictureOnlyRepaintInPanel(benchmark::State& state) {
  PaintLoop(state, PaintTarget::DryerPictureOnly);
}
BENCHMARK(BM_DryerPictureOnlyRepaintInPanel)->Unit(benchmark::kMicrosecond)->MinTime(2.0);

void BM_StartToFirstFrame(benchmark::State& state) {
  BenchRoot root;
  std::vector<double> ms;
  for (auto _ : state) {
    const auto t0 = Clock::now();
    const bool started = StartBenchPanel(root);
    plat::PumpUntilIdle();
    ms.push_back(std::chrono::duration<double, std::milli>(Clock::now() - t0).count());
    state.PauseTiming();
    StopBenchPanel();
    state.ResumeTiming();
    if (!started) {
      state.SkipWithError("the panel did not start");
      break;
    }
  }
  if (ms.empty()) return;
  state.counters["cold_ms"] = ms.front();  // fonts, pictures and packs not yet cached
  std::sort(ms.begin(), ms.end());
  state.counters["median_ms"] = ms[ms.size() / 2];
}
BENCHMARK(BM_StartToFirstFrame)->Unit(benchmark::kMillisecond)->Iterations(5);

// The panel running on its main screen: the loop dispatching its three timers, the link thread
// polling every 350 ms and the simulator answering, measured after a settling second.
void BM_SteadyState(benchmark::State& state) {
  BenchRoot root;
  if (!StartBenchPanel(root)) {
    state.SkipWithError("the panel did not start");
    StopBenchPanel();
    return;
  }
  plat::RunFor(1500);
  constexpr uint64_t kWindowMs = 5000;
  double cpu = 0;
  double wall = 0;
  uint64_t allocations = 0;
  for (auto _ : state) {
    const uint64_t a0 = AllocationCount();
    const double c0 = CpuSeconds();
    const auto t0 = Clock::now();
    plat::RunFor(kWindowMs);
    wall += std::chrono::duration<double>(Clock::now() - t0).count();
    cpu += CpuSeconds() - c0;
    allocations += AllocationCount() - a0;
  }
  state.counters["cpu_percent"] = wall > 0 ? 100.0 * cpu / wall : 0;
  state.counters["allocs_per_s"] = wall > 0 ? static_cast<double>(allocations) / wall : 0;
  state.counters["allocs"] = static_cast<double>(allocations);
  StopBenchPanel();
}
BENCHMARK(BM_SteadyState)->Unit(benchmark::kMillisecond)->Iterations(2)->UseRealTime();

// Kept out of line so an instruction counter can collect exactly these paints by name.
[[gnu::noinline]] void CountedPaints(const PaintSetup& p, int n) {
  for (int i = 0; i < n; ++i) PaintOnce(p);
}

int PaintsOnly(const char* what, const char* count) {
  PaintTarget target;
  if (std::strcmp(what, "full") == 0) {
    target = PaintTarget::FullMainScreen;
  } else if (std::strcmp(what, "picture") == 0) {
    target = PaintTarget::DryerPictureOnly;
  } else {
    std::fprintf(stderr, "bench_panel: --paints takes full or picture\n");
    return 2;
  }
  const int n = std::atoi(count);
  if (n <= 0) {
    std::fprintf(stderr, "bench_panel: --paints needs a count above 0\n");
    return 2;
  }
  int result = 0;
  {
    BenchRoot root;
    PaintSetup setup;
    if (const char* error = PreparePaints(root, target, setup)) {
      std::fprintf(stderr, "bench_panel: %s\n", error);
      result = 1;
    } else {
      CountedPaints(setup, n);
    }
    StopBenchPanel();
  }
  return result;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 4 && std::strcmp(argv[1], "--paints") == 0) return PaintsOnly(argv[2], argv[3]);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
