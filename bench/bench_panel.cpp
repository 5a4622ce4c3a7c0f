// The whole panel, headless, with the built-in simulator answering on a pseudo-terminal: the
// full main-screen paint and the dryer-picture repaint (time and allocations per paint), start
// to first painted frame, and the steady state of the running panel (CPU share and heap
// allocations over a few seconds of real time, link and simulator threads included).
#include <benchmark/benchmark.h>
#include <sys/resource.h>
#include <time.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "bench/AllocHook.h"
#include "i18n/Language.h"
#include "link/DryerStatus.h"
#include "link/Link.h"
#include "link/SettingRequest.h"
#include "platform/Backend.h"
#include "platform/Window.h"
#include "records/LogTick.h"
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
  ResetLinkState();
  ResetDryerStatus();
  ResetSettingRequest();
  records::ResetLoggingState();
  i18n::ResetLanguageState();
}

double ThreadCpuMs() {
  timespec t{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
  return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

double CpuSeconds() {
  rusage u{};
  getrusage(RUSAGE_SELF, &u);
  return u.ru_utime.tv_sec + u.ru_stime.tv_sec + (u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}

double Percentile(std::vector<double>& v, int percent) {
  std::sort(v.begin(), v.end());
  return v[std::min(v.size() - 1, v.size() * percent / 100)];
}

// Wall time per paint, and the UI thread's own CPU time per paint: on a shared machine the
// wall p99 also counts the times the thread was not running at all.
void ReportTimes(benchmark::State& state, std::vector<double>& ms, std::vector<double>& cpuMs,
                 uint64_t allocations) {
  if (ms.empty()) return;
  state.counters["median_ms"] = Percentile(ms, 50);
  state.counters["p99_ms"] = Percentile(ms, 99);
  state.counters["cpu_p99_ms"] = Percentile(cpuMs, 99);
  state.counters["allocs_per_paint"] = static_cast<double>(allocations) / static_cast<double>(ms.size());
}

// Paints `window` (null: the whole main screen) again and again, off screen and copied in one
// step, with the simulator's values on it.
void PaintLoop(benchmark::State& state, shell::Screen only, bool wholeScreen) {
  BenchRoot root;
  if (!StartBenchPanel(root)) {
    state.SkipWithError("the panel did not start");
    StopBenchPanel();
    return;
  }
  plat::RunFor(2000);  // frames from the simulator are on the screens
  const plat::Hwnd main = screens::MainWindow();
  const plat::Hwnd target = wholeScreen ? main : shell::ScreenWindow(only);
  std::vector<double> ms, cpuMs;
  ms.reserve(1 << 20);
  cpuMs.reserve(1 << 20);
  const uint64_t before = AllocationCount();
  for (auto _ : state) {
    const double c0 = ThreadCpuMs();
    const auto t0 = Clock::now();
    plat::InvalidateRect(target, nullptr, true);
    plat::UpdateWindow(main);
    ms.push_back(std::chrono::duration<double, std::milli>(Clock::now() - t0).count());
    cpuMs.push_back(ThreadCpuMs() - c0);
  }
  const uint64_t allocations = AllocationCount() - before;
  ReportTimes(state, ms, cpuMs, allocations);
  StopBenchPanel();
}

void BM_MainScreenPaint(benchmark::State& state) { PaintLoop(state, shell::Screen::DryerPic, true); }
BENCHMARK(BM_MainScreenPaint)->Unit(benchmark::kMicrosecond)->MinTime(2.0);

void BM_DryerPictureRepaint(benchmark::State& state) { PaintLoop(state, shell::Screen::DryerPic, false); }
BENCHMARK(BM_DryerPictureRepaint)->Unit(benchmark::kMicrosecond)->MinTime(2.0);

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

}  // namespace

BENCHMARK_MAIN();
