// Repaint of the gallery window (every control, owner drawing, text in each font size) in the
// steady state, drawn off screen and composed, with the heap allocations each repaint makes.
#include <benchmark/benchmark.h>

#include "bench/PaintTimes.h"
#include "platform/Backend.h"
#include "platform/Clock.h"
#include "platform/Gallery.h"
#include "platform/Window.h"

namespace {

void BM_GalleryEveryControlRepaint(benchmark::State& state) {
  plat::UseVirtualClock(plat::LocalTime{});
  plat::OpenDisplay(plat::DisplayOptions{.headless = true});
  plat::Hwnd gallery = plat::CreateGalleryWindow();
  // Warm up: fonts opened and glyphs cached.
  for (int i = 0; i < 3; ++i) {
    plat::InvalidateRect(gallery, nullptr, true);
    plat::UpdateWindow(gallery);
  }
  bench::PaintTimes times;
  times.Run(state, [gallery] {
    plat::InvalidateRect(gallery, nullptr, true);
    plat::UpdateWindow(gallery);
  });
  plat::CloseDisplay();
  plat::UseRealClock();
}
BENCHMARK(BM_GalleryEveryControlRepaint)->Unit(benchmark::kMicrosecond);

// One control changing (a scroll bar), as a screen's tick would cause.
void BM_GalleryOneScrollBarRepaint(benchmark::State& state) {
  plat::UseVirtualClock(plat::LocalTime{});
  plat::OpenDisplay(plat::DisplayOptions{.headless = true});
  plat::Hwnd gallery = plat::CreateGalleryWindow();
  plat::UpdateWindow(gallery);
  plat::Hwnd bar = plat::FindWindow("SCROLLBAR");
  bench::PaintTimes times;
  times.Run(state, [gallery, bar] {
    plat::InvalidateRect(bar, nullptr, false);
    plat::UpdateWindow(gallery);
  });
  plat::CloseDisplay();
  plat::UseRealClock();
}
BENCHMARK(BM_GalleryOneScrollBarRepaint)->Unit(benchmark::kMicrosecond);

// The message loop itself: a post from the link thread's side, a 100 ms timer tick and a
// small invalidation, each taken and dispatched, as one tenth of a second of the panel does.
plat::LResult CountingProc(plat::Hwnd h, plat::Msg msg, plat::WParam w, plat::LParam l) {
  return plat::DefWindowProc(h, msg, w, l);
}

void BM_LoopTenthSecond(benchmark::State& state) {
  plat::UseVirtualClock(plat::LocalTime{});
  plat::OpenDisplay(plat::DisplayOptions{.headless = true});
  plat::Hwnd gallery = plat::CreateGalleryWindow();
  plat::RegisterClass(plat::WindowClass{.name = "COUNTING", .proc = CountingProc,
                                        .background = plat::Rgb(0, 0, 0)});
  plat::Hwnd w = plat::CreateWindow(plat::WindowDesc{.className = "COUNTING", .parent = gallery,
                                                     .rect = plat::RectXywh(0, 0, 10, 10),
                                                     .flags = plat::WindowFlag::Visible});
  plat::SetTimer(w, 1, 100);
  plat::RunFor(200);
  const plat::Rect strip{0, 0, 10, 2};
  uint64_t allocations = 0;
  for (auto _ : state) {
    uint64_t before = AllocationCount();
    plat::PostMessage(w, plat::UserMessage(1));
    plat::InvalidateRect(w, &strip, false);
    plat::RunFor(100);
    allocations += AllocationCount() - before;
  }
  state.counters["allocs_per_cycle"] =
      benchmark::Counter(static_cast<double>(allocations) / state.iterations());
  plat::CloseDisplay();
  plat::UseRealClock();
}
BENCHMARK(BM_LoopTenthSecond)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
