#include "sim/Simulator.h"

#include <cmath>
#include <cstring>

#include "link/RegisterMap.h"
#include "sim/AutoStartSequence.h"
#include "sim/Plant.h"
#include "sim/Watchdog.h"

namespace {

constexpr double kMaxSubStepS = 1.0;
constexpr int kPage1StatusRegisters = lnk::kStatusPayloadLength - lnk::kPage1Base;  // 73

void SetU32LowFirst(Simulator& sim, int index, uint32_t v) {
  for (int i = 0; i < 4; ++i) sim.reg[index + i] = static_cast<uint8_t>(v >> (8 * i));
}

void SetU16LowFirst(Simulator& sim, int index, uint16_t v) {
  sim.reg[index] = static_cast<uint8_t>(v & 0xFF);
  sim.reg[index + 1] = static_cast<uint8_t>(v >> 8);
}

void ApplyStartValue(Simulator& sim, const SimStartValue& v) {
  switch (v.form) {
    case SimForm::U8:
      sim.reg[v.index] = static_cast<uint8_t>(v.value);
      return;
    case SimForm::S16LowFirst:
      SimSetS16LowFirst(sim, v.index, static_cast<int16_t>(v.value));
      return;
    case SimForm::U16LowFirst:
      SetU16LowFirst(sim, v.index, static_cast<uint16_t>(v.value));
      return;
    case SimForm::U16HighFirst:
      SimSetU16HighFirst(sim, v.index, static_cast<uint16_t>(v.value));
      return;
    case SimForm::MinSec:
      SimSetMinSec(sim, v.index, static_cast<uint32_t>(v.value));
      return;
  }
}

// Writes one command byte into the image, the way the controller takes it.
void WriteRegister(Simulator& sim, int index, uint8_t value) {
  switch (index) {
    case lnk::kStatusMeterRollMode:
      // Bit 7 is the knob's toggle: the controller's own input, not writable.
      sim.reg[index] = static_cast<uint8_t>((sim.reg[index] & lnk::kMeterRollModeKnobBit) | (value & ~lnk::kMeterRollModeKnobBit));
      return;
    case lnk::kStatusOptionBits2:
      // Bit 0 rising is an auto-start request; the sequence takes it on the next step.
      sim.reg[index] = static_cast<uint8_t>(value & ~lnk::kOptionBits2EchoIgnored);
      return;
    case lnk::kStatusDisplayOptions:
      // Bits 0-1 are commands carried out at once, not settings.
      sim.reg[index] = static_cast<uint8_t>(value & ~lnk::kDisplayOptionsOneShotBits);
      return;
    case lnk::kStatusSensorCommand:
      sim.reg[index] = value;
      if (value & lnk::kSensorCommandZeroBushels) SetU32LowFirst(sim, lnk::kStatusBushelCounter, 0);
      return;
    default:
      sim.reg[index] = value;
      return;
  }
}

struct Item {
  int page;
  int reg;
  int count;
  const uint8_t* data;
};

// Checks a command frame's shape: items that fill it exactly and stay inside a page.
bool ParseItems(const uint8_t* frame, int n, Item* items, int& count) {
  const int end = n - 2;
  int pos = 2;
  count = frame[1];
  for (int i = 0; i < count; ++i) {
    if (pos + 3 > end) return false;
    Item it{frame[pos], frame[pos + 1], frame[pos + 2], frame + pos + 3};
    if (it.page > 1 || it.count == 0 || it.reg + it.count > lnk::kPage1Base) return false;
    pos += 3 + it.count;
    if (pos > end) return false;
    items[i] = it;
  }
  return pos == end;
}

void LogRequest(Simulator& sim, SimRequestKind kind, const uint8_t* frame, int n, bool unheard) {
  ++sim.logged;
  SimLoggedRequest& e = sim.log[(sim.logged - 1) % kSimRequestLogSize];
  e.kind = kind;
  e.number = sim.logged;
  e.timeS = sim.timeS;
  e.length = n;
  e.unheard = unheard;
  std::memcpy(e.bytes, frame, static_cast<size_t>(n));
}

SimAnswer Answer(Simulator& sim, SimReply& reply) {
  SimCounters& c = sim.counters;
  const uint32_t number = ++c.answered;
  const SimFaults& f = sim.faults;
  reply.length = 0;
  reply.splitAt = 0;
  reply.pauseMs = 0;
  if (f.dropEvery > 0 && number % f.dropEvery == 0) {
    ++c.dropped;
    return SimAnswer::Dropped;
  }
  SimBuildStatusFrame(sim, reply.bytes);
  reply.length = lnk::kStatusFrameLength;
  if (f.corruptEvery > 0 && number % f.corruptEvery == 0) {
    // A different bit each time, anywhere in the frame, the CRC bytes included.
    const uint32_t bit = (number * 2654435761u) % (lnk::kStatusFrameLength * 8);
    reply.bytes[bit / 8] ^= static_cast<uint8_t>(1u << (bit % 8));
    ++c.corrupted;
  }
  if (f.splitEvery > 0 && number % f.splitEvery == 0) {
    reply.splitAt = 1 + static_cast<int>(number % (lnk::kStatusFrameLength - 1));
    reply.pauseMs = f.splitPauseMs;
    ++c.split;
  }
  return SimAnswer::Sent;
}

}  // namespace

void SimInit(Simulator& sim, const SimFaults& faults) { SimInitScenario(sim, SimDefaultScenario(), faults); }

void SimInitScenario(Simulator& sim, const SimScenario& scenario, const SimFaults& faults) {
  sim = Simulator{};
  sim.faults = faults;
  sim.scenario = &scenario;
  sim.running = scenario.plant.running;
  sim.plant.noise = 12345;
  for (int i = 0; i < SimBaseValueCount(); ++i) ApplyStartValue(sim, SimBaseValues()[i]);
  for (int i = 0; i < scenario.valueCount; ++i) ApplyStartValue(sim, scenario.values[i]);
  // The batch countdowns start full, and the out-of-grain timer waits at its preset.
  constexpr int kCountdowns[][2] = {{lnk::kStatusHiHeatCountdown, lnk::kStatusHiHeatTime},
                                    {lnk::kStatusLoHeatCountdown, lnk::kStatusLoHeatTime},
                                    {lnk::kStatusCoolCountdown, lnk::kStatusCoolTime},
                                    {lnk::kStatusUnloadCountdown, lnk::kStatusUnloadTime},
                                    {lnk::kStatusOutOfGrainCountdown, lnk::kStatusOutOfGrainTime}};
  for (const auto& c : kCountdowns) SimSetMinSec(sim, c[0], SimMinSec(sim, c[1]));
  if (sim.reg[lnk::kStatusDryerType] != 0) sim.reg[lnk::kStatusBatchState] = lnk::kBatchStateHiHeat;
  sim.drying.appliedType = sim.reg[lnk::kStatusDryerType];
  PlantStart(sim);
  PlantWarnings(sim);
}

bool SimIsSilent(const Simulator& sim) {
  if (sim.forcedSilent) return true;
  const SimFaults& f = sim.faults;
  return f.silentForS > 0 && sim.timeS >= f.silentAfterS && sim.timeS < f.silentAfterS + f.silentForS;
}

SimAnswer SimHandleRequest(Simulator& sim, const uint8_t* request, int n, SimReply& reply) {
  reply.length = 0;
  reply.splitAt = 0;
  SimRequestKind kind = SimRequestKind::Command;
  Item items[lnk::kMaxCommandFrameLength / 4];
  int count = 0;
  bool valid = n >= lnk::kResyncFrameLength && n <= lnk::kMaxCommandFrameLength && lnk::VerifyChecksum(request, static_cast<size_t>(n - 2));
  if (valid && request[0] == lnk::kResyncFrame[0]) {
    kind = SimRequestKind::Resync;
    valid = n == lnk::kResyncFrameLength;
  } else if (valid && n == lnk::kPollFrameLength && std::memcmp(request, lnk::kPollFrame, lnk::kPollFrameLength - 2) == 0) {
    kind = SimRequestKind::Poll;
  } else if (valid) {
    valid = request[0] == n && ParseItems(request, n, items, count);
  }
  if (SimIsSilent(sim)) {
    // Kept in the log as a line capture would show it, but neither applied nor answered.
    if (valid) LogRequest(sim, kind, request, n, true);
    ++sim.counters.unheard;
    return SimAnswer::Silent;
  }
  if (!valid) {
    ++sim.counters.rejected;
    return SimAnswer::Ignored;
  }
  LogRequest(sim, kind, request, n, false);
  switch (kind) {
    case SimRequestKind::Poll:
      ++sim.counters.polls;
      break;
    case SimRequestKind::Resync:
      ++sim.counters.resyncs;
      break;
    case SimRequestKind::Command:
      for (int i = 0; i < count; ++i) {
        const Item& it = items[i];
        const int base = lnk::RegisterIndex(it.page, it.reg);
        for (int k = 0; k < it.count; ++k) WriteRegister(sim, base + k, it.data[k]);
        if (base == lnk::kStatusClock && it.count == 5) {
          std::memcpy(sim.lastClock, it.data, 5);
          ++sim.clockItems;
        }
        ++sim.counters.itemsApplied;
      }
      ++sim.counters.commands;
      break;
  }
  return Answer(sim, reply);
}

void SimStep(Simulator& sim, double seconds) {
  while (seconds > 0) {
    const double dt = seconds < kMaxSubStepS ? seconds : kMaxSubStepS;
    seconds -= dt;
    sim.timeS += dt;
    PlantWarnings(sim);
    if (sim.physicsFrozen) continue;
    // The whole-second work first, so a phase that ends in this step already sets the burners.
    sim.plant.secondCarry += dt;
    while (sim.plant.secondCarry >= 1.0) {
      sim.plant.secondCarry -= 1.0;
      SimApplyDryingMode(sim);
      PlantSecond(sim);
      SimWatchdogSecond(sim);
    }
    PlantAdvance(sim, dt);
    SimAutoStartStep(sim, dt);
    PanelIoStep(sim);
  }
}

void SimBuildStatusFrame(const Simulator& sim, uint8_t* frame) {
  std::memcpy(frame, sim.reg, lnk::kPage1Base);
  std::memcpy(frame + lnk::kPage1Base, sim.reg + lnk::kPage1Base, kPage1StatusRegisters);
  lnk::AppendChecksum(frame, lnk::kStatusPayloadLength);
}

void SimTurnKnob(Simulator& sim) { sim.reg[lnk::kStatusMeterRollMode] ^= lnk::kMeterRollModeKnobBit; }

void SimSetRunning(Simulator& sim, bool running) {
  if (running) {
    SimPressStart(sim);
  } else {
    SimPressStop(sim);
  }
}

int SimRecentRequests(const Simulator& sim, SimLoggedRequest* out, int max) {
  const uint32_t kept = sim.logged < kSimRequestLogSize ? sim.logged : kSimRequestLogSize;
  const int n = static_cast<int>(kept) < max ? static_cast<int>(kept) : max;
  // The newest n, oldest first.
  for (int i = 0; i < n; ++i) {
    const uint32_t number = sim.logged - static_cast<uint32_t>(n) + static_cast<uint32_t>(i) + 1;
    out[i] = sim.log[(number - 1) % kSimRequestLogSize];
  }
  return n;
}

int16_t SimS16LowFirst(const Simulator& sim, int index) {
  return static_cast<int16_t>(sim.reg[index] | (sim.reg[index + 1] << 8));
}
void SimSetS16LowFirst(Simulator& sim, int index, int16_t value) {
  SetU16LowFirst(sim, index, static_cast<uint16_t>(value));
}
uint16_t SimU16HighFirst(const Simulator& sim, int index) {
  return static_cast<uint16_t>((sim.reg[index] << 8) | sim.reg[index + 1]);
}
void SimSetU16HighFirst(Simulator& sim, int index, uint16_t value) {
  sim.reg[index] = static_cast<uint8_t>(value >> 8);
  sim.reg[index + 1] = static_cast<uint8_t>(value & 0xFF);
}
uint32_t SimU32LowFirst(const Simulator& sim, int index) {
  return static_cast<uint32_t>(sim.reg[index]) | (static_cast<uint32_t>(sim.reg[index + 1]) << 8) |
         (static_cast<uint32_t>(sim.reg[index + 2]) << 16) | (static_cast<uint32_t>(sim.reg[index + 3]) << 24);
}
uint32_t SimMinSec(const Simulator& sim, int index) { return sim.reg[index] * 60u + sim.reg[index + 1]; }
void SimSetMinSec(Simulator& sim, int index, uint32_t seconds) {
  const uint32_t minutes = seconds / 60;
  sim.reg[index] = static_cast<uint8_t>(minutes > 255 ? 255 : minutes);
  sim.reg[index + 1] = static_cast<uint8_t>(seconds % 60);
}

// ---- Receiver ----

namespace {

// The length a frame starting with `first` must have, or 0 when no request starts so.
int ExpectedLength(uint8_t first) {
  if (first == lnk::kResyncFrame[0]) return lnk::kResyncFrameLength;
  if (first >= lnk::kResyncFrameLength && first <= lnk::kMaxCommandFrameLength) return first;
  return 0;
}

void Discard(SimReceiver& rx, int n) {
  std::memmove(rx.buffer, rx.buffer + n, static_cast<size_t>(rx.have - n));
  rx.have -= n;
  rx.skipped += static_cast<uint32_t>(n);
}

}  // namespace

void SimReceiverPush(SimReceiver& rx, const uint8_t* data, int n, uint64_t nowMs) {
  if (n <= 0) return;
  constexpr int kCapacity = static_cast<int>(sizeof(rx.buffer));
  if (n > kCapacity) {
    rx.skipped += static_cast<uint32_t>(n - kCapacity);
    data += n - kCapacity;
    n = kCapacity;
  }
  if (rx.have + n > kCapacity) Discard(rx, rx.have + n - kCapacity);
  std::memcpy(rx.buffer + rx.have, data, static_cast<size_t>(n));
  rx.have += n;
  rx.lastByteMs = nowMs;
}

int SimReceiverTake(SimReceiver& rx, uint8_t* out, uint64_t nowMs) {
  while (rx.have > 0) {
    const int length = ExpectedLength(rx.buffer[0]);
    if (length == 0) {
      Discard(rx, 1);
      continue;
    }
    if (rx.have < length) {
      if (nowMs - rx.lastByteMs < kSimReceiveGapMs) return 0;
      Discard(rx, 1);
      continue;
    }
    if (!lnk::VerifyChecksum(rx.buffer, static_cast<size_t>(length - 2))) {
      Discard(rx, 1);
      continue;
    }
    std::memcpy(out, rx.buffer, static_cast<size_t>(length));
    std::memmove(rx.buffer, rx.buffer + length, static_cast<size_t>(rx.have - length));
    rx.have -= length;
    return length;
  }
  return 0;
}
