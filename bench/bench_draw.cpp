// Drawing primitives, and a made-up screen-sized paint of the kind the panel's screens make
// (labels in three fonts, frames, ellipses, lines and keyed picture copies onto a 640 x 480
// memory canvas, then copied in one step to a window backbuffer). The made-up screen uses no
// window or screen code of the panel; bench_panel measures the real main screen.
#include <benchmark/benchmark.h>

#include <cstdio>

#include "bench/PaintTimes.h"
#include "platform/Bitmap.h"
#include "platform/Canvas.h"
#include "platform/Font.h"

namespace {

using namespace plat;

constexpr int kScreenWidth = 640;
constexpr int kScreenHeight = 480;

void BM_FillScreen(benchmark::State& state) {
  Canvas c(kScreenWidth, kScreenHeight);
  for (auto _ : state) {
    c.FillRect(Rect{0, 0, kScreenWidth, kScreenHeight}, Rgb(0, 0, 128));
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_FillScreen);

void BM_CopyScreen(benchmark::State& state) {
  Canvas off(kScreenWidth, kScreenHeight), window(kScreenWidth, kScreenHeight);
  for (auto _ : state) {
    window.Blit(0, 0, off.View());
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_CopyScreen);

void BM_TextLine(benchmark::State& state) {
  Canvas c(kScreenWidth, 40);
  c.SetFont(CreateFont(kFaceTahoma, 16, FontWeight::Bold));
  c.SetTextColor(Rgb(255, 255, 0));
  for (auto _ : state) {
    c.DrawText(Rect{0, 0, kScreenWidth, 40}, "PLENUM TEMPERATURE 185\xB0" "F  SP 190\xB0" "F",
               TextFlag::Center | TextFlag::VCenter | TextFlag::SingleLine);
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_TextLine);

void DrawTower(Canvas& c) {
  c.Clear(Rgb(255, 0, 255));
  c.FillRect(Rect{10, 0, 50, 60}, Rgb(160, 160, 160));
  c.FrameRect(Rect{10, 0, 50, 60}, Rgb(40, 40, 40), 2);
  c.FillEllipse(Rect{20, 20, 40, 40}, Rgb(0, 200, 0));
}

void BM_SyntheticScreenOfPrimitives(benchmark::State& state) {
  Canvas off(kScreenWidth, kScreenHeight), window(kScreenWidth, kScreenHeight);
  Bitmap picture;
  picture.Allocate(60, 60);
  Canvas pc(picture);
  DrawTower(pc);
  FontHandle fonts[] = {CreateFont(kFaceTahoma, 13, FontWeight::Normal),
                        CreateFont(kFaceTahoma, 16, FontWeight::Bold), SystemFont()};
  char label[48];
  auto Paint = [&] {
    off.Clear(Rgb(0, 0, 0));
    off.FillRect(Rect{0, 420, kScreenWidth, kScreenHeight}, Rgb(64, 64, 64));
    for (int i = 0; i < 8; ++i) {
      off.BlitKeyed(10 + 28 * i, 40 + 40 * (i % 3), picture.View(), Rect{0, 0, 60, 60},
                    Rgb(255, 0, 255));
    }
    for (int i = 0; i < 6; ++i) {
      off.FillEllipse(Rect{250 + 30 * i, 60, 274 + 30 * i, 84}, Rgb(255, 0, 0));
      off.FrameEllipse(Rect{250 + 30 * i, 60, 274 + 30 * i, 84}, Rgb(255, 255, 255), 2);
    }
    for (int i = 0; i < 10; ++i) {
      off.FrameRect(Rect{5 + 63 * i, 425, 63 + 63 * i, 475}, Rgb(200, 200, 200), 2);
      off.DrawLine(170, 285 + 7 * i, 178, 285 + 7 * i, Rgb(175, 175, 175));
    }
    off.DrawLine(135, 48, 190, 48, Rgb(175, 175, 175));
    off.SetBackgroundMode(BackgroundMode::Transparent);
    for (int i = 0; i < 40; ++i) {
      off.SetFont(fonts[i % 3]);
      off.SetTextColor(i % 2 ? Rgb(255, 255, 255) : Rgb(0, 255, 0));
      std::snprintf(label, sizeof label, "PLENUM %d  %d%cF", i, 150 + i, 176);
      int x = 250 + (i / 20) * 190, y = 100 + (i % 20) * 15;
      off.DrawText(Rect{x, y, x + 190, y + 15}, label, TextFlag::Left | TextFlag::VCenter |
                                                            TextFlag::SingleLine);
    }
    for (int i = 0; i < 10; ++i) {
      off.SetFont(fonts[1]);
      off.DrawText(Rect{5 + 63 * i, 425, 63 + 63 * i, 475}, "MAIN TIMERS",
                   TextFlag::Center | TextFlag::VCenter | TextFlag::WordBreak);
    }
    window.Blit(0, 0, off.View());
  };
  Paint();
  const GlyphCacheStats before = GetGlyphCacheStats();
  bench::PaintTimes times;
  times.Run(state, Paint);
  const GlyphCacheStats after = GetGlyphCacheStats();
  state.counters["glyphs_rendered"] = static_cast<double>(after.rendered - before.rendered);
  state.counters["freetype_allocs"] =
      static_cast<double>(after.freeTypeAllocations - before.freeTypeAllocations);
}
BENCHMARK(BM_SyntheticScreenOfPrimitives)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
