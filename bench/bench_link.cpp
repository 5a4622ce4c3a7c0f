// The link's per-frame and per-cycle costs: checksum + decode + retirement of one status frame,
// command build + checksum of one cycle, and heap allocations per link cycle.
#include <benchmark/benchmark.h>

#include <cstring>

#include "bench/AllocHook.h"
#include "link/DryerStatus.h"
#include "link/Framing.h"
#include "link/Link.h"
#include "link/LinkEvents.h"
#include "link/SettingRequest.h"
#include "link/StatusDecoder.h"

namespace {

// Two frames of a running dryer a cycle apart: temperatures, moisture, countdowns and the
// bushel counter move; the rest stays.
struct FramePair {
  uint8_t f[2][kStatusFrameLength] = {};
};

FramePair MakeFrames() {
  FramePair p;
  for (int n = 0; n < 2; ++n) {
    uint8_t* b = p.f[n];
    for (int k = 3; k < kStatusPayloadLength; ++k) b[k] = static_cast<uint8_t>(k * 13 + 1);
    b[kStatusDryerType] = 1;
    b[kStatusWarningId] = 0;
    b[kStatusWarningNode] = 0;
    b[kStatusPlenumTemp1] = static_cast<uint8_t>(0x2C + n);
    b[kStatusPlenumTemp6] = static_cast<uint8_t>(0x20 + n);
    b[kStatusGrainTemp1] = static_cast<uint8_t>(90 + n);
    b[kStatusMoisture1 + 1] = static_cast<uint8_t>(0xAF - n);
    b[kStatusOutOfGrainCountdown + 1] = static_cast<uint8_t>(30 - n);
    b[kStatusHiHeatCountdown + 1] = static_cast<uint8_t>(40 - n);
    b[kStatusBushelCounter] = static_cast<uint8_t>(n * 5);
    AppendChecksum(b, kStatusPayloadLength);
  }
  return p;
}

void RedrawSink(void* context, PanelWindow, bool) { ++*static_cast<uint64_t*>(context); }

void BM_DecodeFrame(benchmark::State& state) {
  static FramePair frames = MakeFrames();
  static uint64_t redraws = 0;
  LinkEvents e;
  e.context = &redraws;
  e.redraw = RedrawSink;
  SetLinkEvents(e);
  ResetDryerStatus();
  ResetSettingRequest();
  const uint8_t setpoint[2] = {0xB4, 0x00};
  RequestSetting(CommandRow::PlenumSetpoint1, setpoint);  // never echoed: checked every frame
  int n = 0;
  const uint64_t before = AllocationCount();
  for (auto _ : state) {
    const uint8_t* f = frames.f[n ^= 1];
    if (AcceptStatusFrame(f, kStatusFrameLength)) DecodeStatusFrame(f);
    benchmark::ClobberMemory();
  }
  state.counters["allocs_per_frame"] =
      benchmark::Counter(static_cast<double>(AllocationCount() - before) / static_cast<double>(state.iterations()));
  SetLinkEvents(LinkEvents{});
}
BENCHMARK(BM_DecodeFrame);

// The byte-table checksum alone, for comparison with the full decode.
void BM_ChecksumOnly(benchmark::State& state) {
  static FramePair frames = MakeFrames();
  for (auto _ : state) benchmark::DoNotOptimize(VerifyChecksum(frames.f[0], kStatusPayloadLength));
}
BENCHMARK(BM_ChecksumOnly);

void BM_BuildCommand(benchmark::State& state) {
  ResetDryerStatus();
  ResetSettingRequest();
  const uint8_t setpoint[2] = {0xB4, 0x00};
  RequestSetting(CommandRow::PlenumSetpoint1, setpoint);
  const uint8_t moisture[2] = {0x00, 0xAF};
  RequestSetting(CommandRow::MoistureSetpoint, moisture);
  uint8_t tx[kTransmitBufferLength];
  const uint64_t before = AllocationCount();
  for (auto _ : state) {
    RequestClock(5, 6, 7, 8, 2026);  // the 1 s tick's one-shot item
    if (BuildCommandFrame(tx)) AppendChecksum(tx, tx[0] - 2);
    benchmark::DoNotOptimize(tx);
  }
  state.counters["allocs_per_cycle"] =
      benchmark::Counter(static_cast<double>(AllocationCount() - before) / static_cast<double>(state.iterations()));
}
BENCHMARK(BM_BuildCommand);

// A port that answers every request with the next of the two frames, from fixed buffers.
struct BenchPort {
  FramePair frames = MakeFrames();
  int next = 0;
  bool answered = false;
};

void BM_LinkCycle(benchmark::State& state) {
  static BenchPort port;
  LinkPort p;
  p.context = &port;
  p.maintain = [](void* c) { static_cast<BenchPort*>(c)->answered = false; };
  p.read = [](void* c, uint8_t* buffer, int capacity) {
    auto* bp = static_cast<BenchPort*>(c);
    if (bp->answered || capacity < kStatusFrameLength) return 0;
    bp->answered = true;
    std::memcpy(buffer, bp->frames.f[bp->next ^= 1], kStatusFrameLength);
    return kStatusFrameLength;
  };
  p.write = [](void*, const uint8_t*, int) {};
  p.purge = [](void*) {};
  ResetDryerStatus();
  ResetSettingRequest();
  ResetLinkState();
  SetLinkPort(p);
  const uint8_t setpoint[2] = {0xB4, 0x00};
  RequestSetting(CommandRow::PlenumSetpoint1, setpoint);
  for (int i = 0; i < 20; ++i) RunLinkCycle();  // past the start
  const uint64_t before = AllocationCount();
  for (auto _ : state) RunLinkCycle();
  state.counters["allocs_per_cycle"] =
      benchmark::Counter(static_cast<double>(AllocationCount() - before) / static_cast<double>(state.iterations()));
  SetLinkPort(LinkPort{});
}
BENCHMARK(BM_LinkCycle);

}  // namespace

BENCHMARK_MAIN();
