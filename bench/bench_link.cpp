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
  uint8_t f[2][lnk::kStatusFrameLength] = {};
};

FramePair MakeFrames() {
  FramePair p;
  for (int n = 0; n < 2; ++n) {
    uint8_t* b = p.f[n];
    for (int k = 3; k < lnk::kStatusPayloadLength; ++k) b[k] = static_cast<uint8_t>(k * 13 + 1);
    b[lnk::kStatusDryerType] = 1;
    b[lnk::kStatusWarningId] = 0;
    b[lnk::kStatusWarningNode] = 0;
    b[lnk::kStatusPlenumTemp1] = static_cast<uint8_t>(0x2C + n);
    b[lnk::kStatusPlenumTemp6] = static_cast<uint8_t>(0x20 + n);
    b[lnk::kStatusGrainTemp1] = static_cast<uint8_t>(90 + n);
    b[lnk::kStatusMoisture1 + 1] = static_cast<uint8_t>(0xAF - n);
    b[lnk::kStatusOutOfGrainCountdown + 1] = static_cast<uint8_t>(30 - n);
    b[lnk::kStatusHiHeatCountdown + 1] = static_cast<uint8_t>(40 - n);
    b[lnk::kStatusBushelCounter] = static_cast<uint8_t>(n * 5);
    lnk::AppendChecksum(b, lnk::kStatusPayloadLength);
  }
  return p;
}

void RedrawSink(void* context, lnk::PanelWindow, bool) { ++*static_cast<uint64_t*>(context); }

void BM_DecodeFrame(benchmark::State& state) {
  static FramePair frames = MakeFrames();
  static uint64_t redraws = 0;
  lnk::LinkEvents e;
  e.context = &redraws;
  e.redraw = RedrawSink;
  lnk::SetLinkEvents(e);
  lnk::ResetDryerStatus();
  lnk::ResetSettingRequest();
  const uint8_t setpoint[2] = {0xB4, 0x00};
  lnk::RequestSetting(lnk::CommandRow::PlenumSetpoint1, setpoint);  // never echoed: checked every frame
  int n = 0;
  const uint64_t before = AllocationCount();
  for (auto _ : state) {
    const uint8_t* f = frames.f[n ^= 1];
    if (lnk::AcceptStatusFrame(f, lnk::kStatusFrameLength)) lnk::DecodeStatusFrame(f);
    benchmark::ClobberMemory();
  }
  state.counters["allocs_per_frame"] =
      benchmark::Counter(static_cast<double>(AllocationCount() - before) / static_cast<double>(state.iterations()));
  lnk::SetLinkEvents(lnk::LinkEvents{});
}
BENCHMARK(BM_DecodeFrame);

// The byte-table checksum alone, for comparison with the full decode.
void BM_ChecksumOnly(benchmark::State& state) {
  static FramePair frames = MakeFrames();
  for (auto _ : state) benchmark::DoNotOptimize(lnk::VerifyChecksum(frames.f[0], lnk::kStatusPayloadLength));
}
BENCHMARK(BM_ChecksumOnly);

void BM_BuildCommand(benchmark::State& state) {
  lnk::ResetDryerStatus();
  lnk::ResetSettingRequest();
  const uint8_t setpoint[2] = {0xB4, 0x00};
  lnk::RequestSetting(lnk::CommandRow::PlenumSetpoint1, setpoint);
  const uint8_t moisture[2] = {0x00, 0xAF};
  lnk::RequestSetting(lnk::CommandRow::MoistureSetpoint, moisture);
  uint8_t tx[lnk::kTransmitBufferLength];
  const uint64_t before = AllocationCount();
  for (auto _ : state) {
    lnk::RequestClock(5, 6, 7, 8, 2026);  // the 1 s tick's one-shot item
    if (lnk::BuildCommandFrame(tx)) lnk::AppendChecksum(tx, tx[0] - 2);
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
  lnk::LinkPort p;
  p.context = &port;
  p.maintain = [](void* c) { static_cast<BenchPort*>(c)->answered = false; };
  p.read = [](void* c, uint8_t* buffer, int capacity) {
    auto* bp = static_cast<BenchPort*>(c);
    if (bp->answered || capacity < lnk::kStatusFrameLength) return 0;
    bp->answered = true;
    std::memcpy(buffer, bp->frames.f[bp->next ^= 1], lnk::kStatusFrameLength);
    return lnk::kStatusFrameLength;
  };
  p.write = [](void*, const uint8_t*, int) {};
  p.purge = [](void*) {};
  lnk::ResetDryerStatus();
  lnk::ResetSettingRequest();
  lnk::ResetLinkState();
  lnk::SetLinkPort(p);
  const uint8_t setpoint[2] = {0xB4, 0x00};
  lnk::RequestSetting(lnk::CommandRow::PlenumSetpoint1, setpoint);
  for (int i = 0; i < 20; ++i) lnk::RunLinkCycle();  // past the start
  const uint64_t before = AllocationCount();
  for (auto _ : state) lnk::RunLinkCycle();
  state.counters["allocs_per_cycle"] =
      benchmark::Counter(static_cast<double>(AllocationCount() - before) / static_cast<double>(state.iterations()));
  lnk::SetLinkPort(lnk::LinkPort{});
}
BENCHMARK(BM_LinkCycle);

}  // namespace

BENCHMARK_MAIN();
