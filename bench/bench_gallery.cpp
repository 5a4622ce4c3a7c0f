// Repaint of the gallery window (every control, owner drawing, text in each font size) in the
// steady state, drawn off screen and composed, with the heap allocations each repaint makes.
#include <benchmark/benchmark.h>

#include "AllocHook.h"
#include "platform/Backend.h"
#include "platform/Clock.h"
#include "platform/Gallery.h"
#include "platform/Window.h"

namespace {

void BM_GalleryRepaint(benchmark::State& state) {
  plat::UseVirtualClock(plat::LocalTime{});
  plat::OpenDisplay(plat::DisplayOptions{.headless = true});
  plat::Hwnd gallery = plat::CreateGalleryWindow();
  // Warm up: fonts opened and glyphs cached.
  for (int i = 0; i < 3; ++i) {
    plat::InvalidateRect(gallery, nullptr, true);
    plat::UpdateWindow(gallery);
  }
  uint64_t allocations = 0;
  for (auto _ : state) {
    uint64_t before = AllocationCount();
    plat::InvalidateRect(gallery, nullptr, true);
    plat::UpdateWindow(gallery);
    allocations += AllocationCount() - before;
  }
  state.counters["allocs_per_repaint"] =
      benchmark::Counter(static_cast<double>(allocations) / state.iterations());
  plat::CloseDisplay();
  plat::UseRealClock();
}
BENCHMARK(BM_GalleryRepaint)->Unit(benchmark::kMicrosecond);

// One control changing (a list view row), as a screen's tick would cause.
void BM_GalleryOneControl(benchmark::State& state) {
  plat::UseVirtualClock(plat::LocalTime{});
  plat::OpenDisplay(plat::DisplayOptions{.headless = true});
  plat::Hwnd gallery = plat::CreateGalleryWindow();
  plat::UpdateWindow(gallery);
  plat::Hwnd bar = plat::FindWindow("SCROLLBAR");
  uint64_t allocations = 0;
  int pos = 0;
  for (auto _ : state) {
    uint64_t before = AllocationCount();
    plat::InvalidateRect(bar, nullptr, false);
    plat::UpdateWindow(gallery);
    allocations += AllocationCount() - before;
    ++pos;
  }
  state.counters["allocs_per_repaint"] =
      benchmark::Counter(static_cast<double>(allocations) / state.iterations());
  plat::CloseDisplay();
  plat::UseRealClock();
}
BENCHMARK(BM_GalleryOneControl)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
