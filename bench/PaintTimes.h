#pragma once
// Per-paint timings for the paint benchmarks: each iteration's wall time and the calling
// thread's CPU time are kept in buffers sized before the measured loop, so recording them
// allocates nothing, and the percentiles are reported as counters once the loop is over.
// On a shared machine the wall time also counts the moments the thread was not running at
// all; the CPU time does not, so the two together tell a slow paint from a busy machine.
#include <benchmark/benchmark.h>
#include <time.h>

#include <algorithm>
#include <cstdint>
#include <memory>

#include "bench/AllocHook.h"

namespace bench {

inline int64_t NowNs(clockid_t clock) {
  timespec t{};
  clock_gettime(clock, &t);
  return static_cast<int64_t>(t.tv_sec) * 1000000000 + t.tv_nsec;
}

class PaintTimes {
 public:
  // Paints beyond `capacity` are still run and timed by the benchmark, but not recorded.
  explicit PaintTimes(int64_t capacity = int64_t{1} << 20)
      : capacity_(capacity), wall_(new int64_t[capacity]), cpu_(new int64_t[capacity]) {}

  // Runs the benchmark loop around `paint`, recording each paint and the heap allocations
  // made by all of them.
  template <typename Paint>
  void Run(benchmark::State& state, Paint paint) {
    const uint64_t allocationsBefore = AllocationCount();
    for (auto _ : state) {
      const int64_t c0 = NowNs(CLOCK_THREAD_CPUTIME_ID);
      const int64_t t0 = NowNs(CLOCK_MONOTONIC);
      paint();
      benchmark::ClobberMemory();
      const int64_t t1 = NowNs(CLOCK_MONOTONIC);
      const int64_t c1 = NowNs(CLOCK_THREAD_CPUTIME_ID);
      if (count_ < capacity_) {
        wall_[count_] = t1 - t0;
        cpu_[count_] = c1 - c0;
        ++count_;
      }
    }
    allocations_ = AllocationCount() - allocationsBefore;
    Report(state);
  }

 private:
  static double PercentileUs(int64_t* v, int64_t n, int percent) {
    const int64_t i = std::min(n - 1, n * percent / 100);
    std::nth_element(v, v + i, v + n);
    return static_cast<double>(v[i]) / 1000.0;
  }

  void Report(benchmark::State& state) {
    if (count_ == 0) return;
    state.counters["p50_us"] = PercentileUs(wall_.get(), count_, 50);
    state.counters["p90_us"] = PercentileUs(wall_.get(), count_, 90);
    state.counters["p99_us"] = PercentileUs(wall_.get(), count_, 99);
    state.counters["cpu_p50_us"] = PercentileUs(cpu_.get(), count_, 50);
    state.counters["cpu_p99_us"] = PercentileUs(cpu_.get(), count_, 99);
    state.counters["allocs_per_paint"] =
        static_cast<double>(allocations_) / static_cast<double>(state.iterations());
  }

  int64_t capacity_;
  std::unique_ptr<int64_t[]> wall_;
  std::unique_ptr<int64_t[]> cpu_;
  int64_t count_ = 0;
  uint64_t allocations_ = 0;
};

}  // namespace bench
