#include "sim/AutoStartSequence.h"

#include <cstring>

#include "link/RegisterMap.h"
#include "sim/Plant.h"

using lnk::kAutoStartRunningBit;
using lnk::kAutoStartWaitingBit;
using lnk::kOptionBits2QuickStart;
using lnk::kOptionWithdrawBit;
using lnk::kStatusOptionBits2;
using lnk::kStatusOptionWithdraw;
using lnk::kStatusRunTimeCounter1;
using lnk::kStatusSwitches;
using lnk::kStatusUnitCounterA1;
using lnk::kStatusUnitCounterB1;
using lnk::kSwitchesDryerRunning;

namespace {

constexpr int kCounters = kStatusUnitCounterA1;  // A, B and the total, bytes 294..319

void SetWord(Simulator& sim, int index, uint32_t v) {
  const uint16_t w = static_cast<uint16_t>(v > 0xFFFF ? 0xFFFF : v);
  sim.reg[index] = static_cast<uint8_t>(w & 0xFF);
  sim.reg[index + 1] = static_cast<uint8_t>(w >> 8);
}

void SetStateBits(Simulator& sim, uint8_t bits) {
  constexpr uint8_t kAll = kOptionWithdrawBit | kAutoStartWaitingBit | kAutoStartRunningBit;
  sim.reg[kStatusOptionWithdraw] = static_cast<uint8_t>((sim.reg[kStatusOptionWithdraw] & ~kAll) | bits);
}

// Counter A of a unit is the time its fan has purged, counter B the time its burner has heated;
// the lower a unit, the later its burner comes in. The total is the whole sequence.
void WriteTimes(Simulator& sim) {
  const SimAutoStart& a = sim.autoStart;
  const uint32_t t = a.elapsedS < kSimAutoStartTotalS ? a.elapsedS : kSimAutoStartTotalS;
  int order = 0;
  for (int slot = kSimUnitSlots - 1; slot >= 0; --slot) {
    const int unit = kSimUnitSlots - 1 - slot;  // unit 1 is the top slot
    if (!PlantSlotPresent(sim, slot)) {
      SetWord(sim, kStatusUnitCounterA1 + 2 * unit, 0);
      SetWord(sim, kStatusUnitCounterB1 + 2 * unit, 0);
      continue;
    }
    const uint32_t heatFrom = kSimAutoStartPrepareS + kSimAutoStartUnitStaggerS * static_cast<uint32_t>(order++);
    SetWord(sim, kStatusUnitCounterA1 + 2 * unit, t < kSimAutoStartPrepareS ? t : kSimAutoStartPrepareS);
    SetWord(sim, kStatusUnitCounterB1 + 2 * unit, t > heatFrom ? t - heatFrom : 0);
  }
  SetWord(sim, kStatusRunTimeCounter1, kSimAutoStartTotalS);
}

void Begin(Simulator& sim) {
  SimAutoStart& a = sim.autoStart;
  std::memcpy(a.savedCounters, sim.reg + kCounters, kSimAutoStartCounterBytes);
  a.phase = SimAutoStartPhase::Preparing;
  a.elapsedS = 0;
  a.carry = 0;
  SetStateBits(sim, kAutoStartRunningBit);
  WriteTimes(sim);
}

void End(Simulator& sim, SimAutoStartPhase phase, uint8_t bits) {
  SimAutoStart& a = sim.autoStart;
  std::memcpy(sim.reg + kCounters, a.savedCounters, kSimAutoStartCounterBytes);
  a.phase = phase;
  SetStateBits(sim, bits);
}

void Second(Simulator& sim) {
  SimAutoStart& a = sim.autoStart;
  ++a.elapsedS;
  if (a.phase == SimAutoStartPhase::Preparing && a.elapsedS >= kSimAutoStartPrepareS) {
    a.phase = SimAutoStartPhase::Warming;
    SetStateBits(sim, kAutoStartWaitingBit);
    SimPressStart(sim);
  }
  if (a.elapsedS >= kSimAutoStartTotalS) {
    // Done: the controller withdraws the request itself.
    sim.reg[kStatusOptionBits2] = static_cast<uint8_t>(sim.reg[kStatusOptionBits2] & ~kOptionBits2QuickStart);
    a.lastRequest = false;
    End(sim, SimAutoStartPhase::Done, kOptionWithdrawBit);
    return;
  }
  WriteTimes(sim);
}

bool Active(const SimAutoStart& a) {
  return a.phase == SimAutoStartPhase::Preparing || a.phase == SimAutoStartPhase::Warming;
}

}  // namespace

void SimAutoStartStep(Simulator& sim, double dt) {
  SimAutoStart& a = sim.autoStart;
  const bool request = (sim.reg[kStatusOptionBits2] & kOptionBits2QuickStart) != 0;
  if (request && !a.lastRequest && !Active(a) && !sim.running) Begin(sim);
  if (!request && Active(a)) {
    End(sim, SimAutoStartPhase::Idle, 0);
    SimPressStop(sim);
  }
  a.lastRequest = request;
  if (Active(a)) {
    a.carry += dt;
    while (a.carry >= 1.0 && Active(a)) {
      a.carry -= 1.0;
      Second(sim);
    }
  }
  if (sim.scenario != nullptr && sim.scenario->autoStart)
    sim.reg[kStatusSwitches] = static_cast<uint8_t>(sim.running ? sim.reg[kStatusSwitches] | kSwitchesDryerRunning
                                                                : sim.reg[kStatusSwitches] & ~kSwitchesDryerRunning);
}
