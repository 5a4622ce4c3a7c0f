#include "sim/Simulator.h"

#include <cmath>
#include <cstring>

#include "link/RegisterMap.h"

namespace {

// Plant constants: a dryer in cool weather, burners that overshoot their setpoint by the
// margin and a fan that warms the plenum a little above ambient when the burner is off.
constexpr double kAmbientF = 60.0;
constexpr double kBurnerMarginF = 30.0;
constexpr double kFanWarmthF = 10.0;
constexpr double kPlenumTauS = 45.0;
constexpr double kGrainTauS = 600.0;
constexpr double kMoistureTauS = 300.0;
constexpr double kGrainFraction[3] = {0.35, 0.45, 0.55};
constexpr double kIncomingMoistureBase = 220.0;  // 22.0 %
constexpr double kIncomingMoistureSwing = 15.0;
constexpr double kIncomingMoisturePeriodS = 1800.0;
constexpr double kTwoPi = 6.283185307179586;
constexpr double kMaxSubStepS = 1.0;

constexpr uint32_t kLoadPauseS = 90;
constexpr uint32_t kLoadMinS = 60;
constexpr uint32_t kLoadSpreadS = 60;
constexpr int kBushelsPerHourPerPercent = 10;

constexpr uint8_t kUnitFanRunning = 0x01;  // run byte (125 + slot) bit 0
constexpr uint8_t kUnitBurnerLit = 0x01;   // status byte (131 + slot) bit 0

enum BatchPhase : uint8_t { kBatchIdle = 0, kBatchHiHeat = 1, kBatchLoHeat = 2, kBatchCool = 3, kBatchUnload = 4 };

struct BatchTimer {
  int countdown;
  int preset;
};
// The batch runs its timers in this order; the phase byte 13 holds the running one.
constexpr BatchTimer kBatchTimers[] = {
    {kStatusHiHeatCountdown, kStatusHiHeatTime},
    {kStatusLoHeatCountdown, kStatusLoHeatTime},
    {kStatusCoolCountdown, kStatusCoolTime},
    {kStatusUnloadCountdown, kStatusUnloadTime},
};

constexpr int kPage1StatusRegisters = kStatusPayloadLength - kPage1Base;  // 73

uint32_t NextNoise(SimPlant& p) {
  p.noise = p.noise * 1664525u + 1013904223u;
  return p.noise >> 8;
}

// Number of fan/heater units for the hardware code in byte 3: 0 one, 1 two, 2 three, 3 four,
// 4 six.
int UnitCount(const Simulator& sim) {
  constexpr int kUnitsForCode[] = {1, 2, 3, 4, 6};
  int code = sim.reg[kStatusFanHeaterCount];
  return code < 5 ? kUnitsForCode[code] : 1;
}

// A dryer with fewer units uses the highest slots.
bool SlotPresent(const Simulator& sim, int slot) { return slot >= kSimUnitSlots - UnitCount(sim); }

void CountDown(Simulator& sim, int index) {
  uint8_t& minutes = sim.reg[index];
  uint8_t& seconds = sim.reg[index + 1];
  if (seconds > 59) seconds = 59;
  if (seconds > 0) {
    --seconds;
  } else if (minutes > 0) {
    --minutes;
    seconds = 59;
  }
}

void CopyPreset(Simulator& sim, const BatchTimer& t) {
  sim.reg[t.countdown] = sim.reg[t.preset];
  sim.reg[t.countdown + 1] = sim.reg[t.preset + 1];
}

void SetU32LowFirst(Simulator& sim, int index, uint32_t v) {
  for (int i = 0; i < 4; ++i) sim.reg[index + i] = static_cast<uint8_t>(v >> (8 * i));
}

void SetU16LowFirst(Simulator& sim, int index, uint16_t v) {
  sim.reg[index] = static_cast<uint8_t>(v & 0xFF);
  sim.reg[index + 1] = static_cast<uint8_t>(v >> 8);
}

bool BatchDryer(const Simulator& sim) { return sim.reg[kStatusDryerType] != 0; }

bool Unloading(const Simulator& sim) {
  return sim.running && (!BatchDryer(sim) || sim.reg[kStatusBatchState] == kBatchUnload);
}

bool BurnersAllowed(const Simulator& sim) {
  if (!sim.running) return false;
  if (!BatchDryer(sim)) return true;
  uint8_t phase = sim.reg[kStatusBatchState];
  return phase == kBatchHiHeat || phase == kBatchLoHeat;
}

void UpdateWarning(Simulator& sim) {
  const SimFaults& f = sim.faults;
  if (f.warningNode == 0 && f.warningId == 0) return;
  bool active = sim.timeS >= f.warningFromS && sim.timeS < f.warningToS;
  sim.reg[kStatusWarningNode] = active ? f.warningNode : 0;
  sim.reg[kStatusWarningId] = active ? f.warningId : 0;
}

void StepLoad(Simulator& sim) {
  SimPlant& p = sim.plant;
  uint8_t& load = sim.reg[kStatusLoadState];
  bool loading = load & kLoadStateLoadRunning;
  ++p.loadPhaseS;
  if (!loading) {
    sim.reg[kStatusOutOfGrainCountdown] = sim.reg[kStatusOutOfGrainTime];
    sim.reg[kStatusOutOfGrainCountdown + 1] = sim.reg[kStatusOutOfGrainTime + 1];
    if (p.loadPhaseS >= kLoadPauseS) {
      load |= kLoadStateLoadRunning;
      p.loadPhaseS = 0;
    }
    return;
  }
  CountDown(sim, kStatusOutOfGrainCountdown);
  uint32_t loadLength = kLoadMinS + (p.noise >> 4) % kLoadSpreadS;
  if (p.loadPhaseS >= loadLength || SimMinSec(sim, kStatusOutOfGrainCountdown) == 0) {
    load &= static_cast<uint8_t>(~kLoadStateLoadRunning);
    sim.reg[kStatusOutOfGrainCountdown] = sim.reg[kStatusOutOfGrainTime];
    sim.reg[kStatusOutOfGrainCountdown + 1] = sim.reg[kStatusOutOfGrainTime + 1];
    p.loadPhaseS = 0;
    NextNoise(p);
  }
}

void StepBatch(Simulator& sim) {
  uint8_t& phase = sim.reg[kStatusBatchState];
  if (!BatchDryer(sim)) {
    phase = kBatchIdle;
    return;
  }
  if (phase == kBatchIdle || phase > kBatchUnload) {
    for (const BatchTimer& t : kBatchTimers) CopyPreset(sim, t);
    phase = kBatchHiHeat;
  }
  const BatchTimer& t = kBatchTimers[phase - 1];
  CountDown(sim, t.countdown);
  if (SimMinSec(sim, t.countdown) > 0) return;
  if (phase < kBatchUnload) {
    ++phase;
    return;
  }
  // A batch is done: count it and start the next.
  SimSetU16HighFirst(sim, kStatusBatchCounter, static_cast<uint16_t>(SimU16HighFirst(sim, kStatusBatchCounter) + 1));
  for (const BatchTimer& b : kBatchTimers) CopyPreset(sim, b);
  phase = kBatchHiHeat;
}

void StepCounters(Simulator& sim) {
  SimPlant& p = sim.plant;
  uint16_t rate = 0;
  if (sim.reg[kStatusSensorCommand] & kSensorCommandZeroBushels) {
    SetU32LowFirst(sim, kStatusBushelCounter, 0);
  } else if (Unloading(sim)) {
    rate = static_cast<uint16_t>(kBushelsPerHourPerPercent * sim.reg[kStatusMeterRoll2]);
    // Bushel-seconds: a rate in bushels per hour adds that many each second.
    SetU32LowFirst(sim, kStatusBushelCounter, SimU32LowFirst(sim, kStatusBushelCounter) + rate);
  }
  SimSetU16HighFirst(sim, kStatusUnloadPanel173, rate);

  if (!sim.running) return;
  ++p.runSeconds;
  uint16_t runMinutes = static_cast<uint16_t>(p.runSeconds / 60);
  SetU16LowFirst(sim, kStatusRunTimeCounter1, runMinutes);
  for (int slot = 0; slot < kSimUnitSlots; ++slot) {
    if (!SlotPresent(sim, slot)) continue;
    // Counter A: burner seconds, counter B: fan seconds; the statistics screen shows A / B.
    int a = kStatusUnitCounterA1 + 2 * slot;
    int b = kStatusUnitCounterB1 + 2 * slot;
    uint16_t fan = static_cast<uint16_t>(sim.reg[b] | (sim.reg[b + 1] << 8));
    uint16_t burner = static_cast<uint16_t>(sim.reg[a] | (sim.reg[a + 1] << 8));
    if (fan == 0xFFFF) {  // keep the ratio when the fan counter would wrap
      fan /= 2;
      burner /= 2;
    }
    ++fan;
    if (p.burnerOn[slot]) ++burner;
    SetU16LowFirst(sim, a, burner);
    SetU16LowFirst(sim, b, fan);
  }
}

void WholeSecond(Simulator& sim) {
  if (sim.running) {
    StepLoad(sim);
    StepBatch(sim);
  }
  StepCounters(sim);
}

// Moves the continuous values over `dt` seconds (at most kMaxSubStepS, so a thermostat sees
// every crossing) and writes them into the registers.
void StepPlant(Simulator& sim, double dt) {
  SimPlant& p = sim.plant;
  const double plenumK = 1.0 - std::exp(-dt / kPlenumTauS);
  const bool burners = BurnersAllowed(sim);
  double plenumSum = 0;
  int present = 0;
  for (int slot = 0; slot < kSimUnitSlots; ++slot) {
    const int tempIndex = kStatusPlenumTemp1 + 2 * slot;
    uint8_t& runByte = sim.reg[kStatusUnitStatusA1 + slot];
    uint8_t& statusByte = sim.reg[kStatusUnitStatusB1 + slot];
    if (!SlotPresent(sim, slot)) {
      p.burnerOn[slot] = false;
      runByte = 0;
      statusByte = 0;
      SimSetS16LowFirst(sim, tempIndex, 0);
      continue;
    }
    const double setpoint = SimS16LowFirst(sim, kStatusPlenumSetpoint1 + 2 * slot);
    const double differential = sim.reg[kStatusPlenumDifferential1 + slot];
    double& temp = p.plenumTemp[slot];
    if (!burners) {
      p.burnerOn[slot] = false;
    } else if (temp >= setpoint) {
      p.burnerOn[slot] = false;
    } else if (temp <= setpoint - differential) {
      p.burnerOn[slot] = true;
    }
    double target = kAmbientF;
    if (sim.running) target = p.burnerOn[slot] ? setpoint + kBurnerMarginF : kAmbientF + kFanWarmthF;
    temp += (target - temp) * plenumK;
    runByte = sim.running ? static_cast<uint8_t>(runByte | kUnitFanRunning)
                          : static_cast<uint8_t>(runByte & ~kUnitFanRunning);
    statusByte = p.burnerOn[slot] ? static_cast<uint8_t>(statusByte | kUnitBurnerLit)
                                  : static_cast<uint8_t>(statusByte & ~kUnitBurnerLit);
    SimSetS16LowFirst(sim, tempIndex, static_cast<int16_t>(std::lround(temp)));
    plenumSum += temp;
    ++present;
  }
  const double plenumMean = present > 0 ? plenumSum / present : kAmbientF;

  const double grainK = 1.0 - std::exp(-dt / kGrainTauS);
  for (int i = 0; i < 3; ++i) {
    double target = kAmbientF + kGrainFraction[i] * (plenumMean - kAmbientF);
    p.grainTemp[i] += (target - p.grainTemp[i]) * grainK;
    SimSetS16LowFirst(sim, kStatusGrainTemp1 + 2 * i, static_cast<int16_t>(std::lround(p.grainTemp[i])));
  }

  p.incomingMoisture = kIncomingMoistureBase + kIncomingMoistureSwing * std::sin(kTwoPi * sim.timeS / kIncomingMoisturePeriodS);
  const double setpoint = SimU16HighFirst(sim, kStatusMoistureSetpoint);
  // Warmer grain dries closer to the setpoint; a stopped dryer passes the grain through.
  double dryness = (p.grainTemp[1] - kAmbientF) / 50.0;
  if (dryness < 0) dryness = 0;
  if (dryness > 0.95) dryness = 0.95;
  if (!sim.running) dryness = 0;
  const double outgoingTarget = p.incomingMoisture - (p.incomingMoisture - setpoint) * dryness;
  p.outgoingMoisture += (outgoingTarget - p.outgoingMoisture) * (1.0 - std::exp(-dt / kMoistureTauS));
  auto tenths = [](double v) { return static_cast<uint16_t>(v < 0 ? 0 : std::lround(v)); };
  SimSetU16HighFirst(sim, kStatusMoisture1, tenths(p.incomingMoisture));
  SimSetU16HighFirst(sim, kStatusMoisture2, tenths(p.outgoingMoisture));
  SimSetU16HighFirst(sim, kStatusMoisture3, tenths(p.incomingMoisture));
  SimSetU16HighFirst(sim, kStatusMoisture4, tenths(p.outgoingMoisture));

  uint8_t& run = sim.reg[kStatusRunFlags];
  run = sim.running ? static_cast<uint8_t>(run | kRunFlagsRunning) : static_cast<uint8_t>(run & ~kRunFlagsRunning);
}

// Writes one command byte into the image, the way the controller takes it.
void WriteRegister(Simulator& sim, int index, uint8_t value) {
  switch (index) {
    case kStatusMeterRollMode:
      // Bit 7 is the knob's toggle: the controller's own input, not writable.
      sim.reg[index] = static_cast<uint8_t>((sim.reg[index] & kMeterRollModeKnobBit) | (value & ~kMeterRollModeKnobBit));
      return;
    case kStatusOptionBits2:
      sim.reg[index] = static_cast<uint8_t>(value & ~kOptionBits2EchoIgnored);
      return;
    case kStatusDisplayOptions:
      // Bits 0-1 are commands carried out at once, not settings.
      sim.reg[index] = static_cast<uint8_t>(value & ~kDisplayOptionsOneShotBits);
      return;
    case kStatusSensorCommand:
      sim.reg[index] = value;
      if (value & kSensorCommandZeroBushels) SetU32LowFirst(sim, kStatusBushelCounter, 0);
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
    if (it.page > 1 || it.count == 0 || it.reg + it.count > kPage1Base) return false;
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
  reply.length = kStatusFrameLength;
  if (f.corruptEvery > 0 && number % f.corruptEvery == 0) {
    // A different bit each time, anywhere in the frame, the CRC bytes included.
    const uint32_t bit = (number * 2654435761u) % (kStatusFrameLength * 8);
    reply.bytes[bit / 8] ^= static_cast<uint8_t>(1u << (bit % 8));
    ++c.corrupted;
  }
  if (f.splitEvery > 0 && number % f.splitEvery == 0) {
    reply.splitAt = 1 + static_cast<int>(number % (kStatusFrameLength - 1));
    reply.pauseMs = f.splitPauseMs;
    ++c.split;
  }
  return SimAnswer::Sent;
}

}  // namespace

void SimInit(Simulator& sim, const SimFaults& faults) {
  sim = Simulator{};
  sim.faults = faults;
  sim.running = true;
  sim.plant.noise = 12345;
  uint8_t* r = sim.reg;

  r[kStatusFanHeaterCount] = 1;  // two units
  r[kStatusModuleCount] = 0;
  r[kStatusFuelType] = 0;
  r[kStatusLoadSystem] = 1;
  r[kStatusDryerLengthIndex] = 6;  // 20 ft
  r[kStatusDryerType] = 0;         // continuous flow
  SimSetMinSec(sim, kStatusHiHeatTime, 45 * 60);
  SimSetMinSec(sim, kStatusLoHeatTime, 30 * 60);
  SimSetMinSec(sim, kStatusCoolTime, 20 * 60);
  SimSetMinSec(sim, kStatusUnloadTime, 15 * 60);
  for (const BatchTimer& t : kBatchTimers) CopyPreset(sim, t);
  SimSetMinSec(sim, kStatusOutOfGrainTime, 10 * 60);
  SimSetMinSec(sim, kStatusOutOfGrainCountdown, 10 * 60);
  SimSetMinSec(sim, kStatusLoadStartupDelay, 30);
  SimSetMinSec(sim, kStatusUnloadCleanoutDelay, 2 * 60);
  SimSetMinSec(sim, kStatusFanDelay, 15);
  for (int slot = 0; slot < kSimUnitSlots; ++slot) {
    SimSetS16LowFirst(sim, kStatusPlenumSetpoint1 + 2 * slot, 180);
    r[kStatusPlenumDifferential1 + slot] = 8;
    sim.plant.plenumTemp[slot] = kAmbientF;
  }
  SimSetS16LowFirst(sim, kStatusPlenumSetpoint7, 180);
  SimSetS16LowFirst(sim, kStatusPlenumSetpoint8, 180);
  for (int i = 0; i < 3; ++i) {
    SimSetS16LowFirst(sim, kStatusGrainTempSetpoint1 + 2 * i, 110);
    sim.plant.grainTemp[i] = kAmbientF;
  }
  r[kStatusMeterRoll0] = 60;
  r[kStatusMeterRoll1] = 70;  // HIGH
  r[kStatusMeterRoll2] = 60;  // MEDIUM
  r[kStatusMeterRoll3] = 50;  // LOW
  r[kStatusMeterRollMode] = 1;
  r[kStatusMeterRollHigh] = 70;
  r[kStatusMeterRollMedium] = 60;
  r[kStatusMeterRollLow] = 50;
  r[kStatusMeterRollValue230] = 60;
  r[kStatusBushelCalibration] = 100;
  r[kStatusLoadFlags] = kLoadFlagsAutomatic;
  SimSetU16HighFirst(sim, kStatusMoistureSetpoint, 155);
  SimSetU16HighFirst(sim, kStatusMaxUnloadRate, 900);
  SimSetU16HighFirst(sim, kStatusMinUnloadRate, 100);
  SimSetMinSec(sim, kStatusFanSetupTime, 5 * 60);
  SimSetMinSec(sim, kStatusStagedBatchTime, 30 * 60);
  SetU16LowFirst(sim, kStatusSetting121, 150);
  SetU16LowFirst(sim, kStatusSubstituteMoisture, 150);

  sim.plant.incomingMoisture = kIncomingMoistureBase;
  sim.plant.outgoingMoisture = kIncomingMoistureBase;
  StepPlant(sim, 0);
  UpdateWarning(sim);
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
  Item items[kMaxCommandFrameLength / 4];
  int count = 0;
  bool valid = n >= kResyncFrameLength && n <= kMaxCommandFrameLength && VerifyChecksum(request, static_cast<size_t>(n - 2));
  if (valid && request[0] == kResyncFrame[0]) {
    kind = SimRequestKind::Resync;
    valid = n == kResyncFrameLength;
  } else if (valid && n == kPollFrameLength && std::memcmp(request, kPollFrame, kPollFrameLength - 2) == 0) {
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
        const int base = RegisterIndex(it.page, it.reg);
        for (int k = 0; k < it.count; ++k) WriteRegister(sim, base + k, it.data[k]);
        if (base == kStatusClock && it.count == 5) {
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
    UpdateWarning(sim);
    if (sim.physicsFrozen) continue;
    // The whole-second work first, so a phase that ends in this step already sets the burners.
    sim.plant.secondCarry += dt;
    while (sim.plant.secondCarry >= 1.0) {
      sim.plant.secondCarry -= 1.0;
      WholeSecond(sim);
    }
    StepPlant(sim, dt);
  }
}

void SimBuildStatusFrame(const Simulator& sim, uint8_t* frame) {
  std::memcpy(frame, sim.reg, kPage1Base);
  std::memcpy(frame + kPage1Base, sim.reg + kPage1Base, kPage1StatusRegisters);
  AppendChecksum(frame, kStatusPayloadLength);
}

void SimTurnKnob(Simulator& sim) { sim.reg[kStatusMeterRollMode] ^= kMeterRollModeKnobBit; }

void SimSetRunning(Simulator& sim, bool running) {
  sim.running = running;
  if (!sim.physicsFrozen) StepPlant(sim, 0);
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
  if (first == kResyncFrame[0]) return kResyncFrameLength;
  if (first >= kResyncFrameLength && first <= kMaxCommandFrameLength) return first;
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
    if (!VerifyChecksum(rx.buffer, static_cast<size_t>(length - 2))) {
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
