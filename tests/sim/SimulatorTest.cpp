// The simulator core, driven directly: answers, command items, rejected frames, faults, the
// running plant and the receiver that finds frames in the byte stream.
#include "sim/Simulator.h"

#include <gtest/gtest.h>

#include <cstring>
#include <initializer_list>
#include <vector>

#include "link/Framing.h"
#include "link/RegisterMap.h"

namespace {

struct TestItem {
  int page;
  int reg;
  std::vector<uint8_t> data;
};

std::vector<uint8_t> Command(std::initializer_list<TestItem> items) {
  std::vector<uint8_t> f = {0, static_cast<uint8_t>(items.size())};
  for (const TestItem& it : items) {
    f.push_back(static_cast<uint8_t>(it.page));
    f.push_back(static_cast<uint8_t>(it.reg));
    f.push_back(static_cast<uint8_t>(it.data.size()));
    f.insert(f.end(), it.data.begin(), it.data.end());
  }
  f[0] = static_cast<uint8_t>(f.size() + 2);
  f.resize(f.size() + 2);
  lnk::AppendChecksum(f.data(), f.size() - 2);
  return f;
}

SimAnswer Send(Simulator& sim, const std::vector<uint8_t>& f, SimReply& reply) {
  return SimHandleRequest(sim, f.data(), static_cast<int>(f.size()), reply);
}

SimAnswer Poll(Simulator& sim, SimReply& reply) { return SimHandleRequest(sim, lnk::kPollFrame, lnk::kPollFrameLength, reply); }

int DifferingBits(const uint8_t* a, const uint8_t* b, int n) {
  int bits = 0;
  for (int i = 0; i < n; ++i) bits += __builtin_popcount(static_cast<unsigned>(a[i] ^ b[i]));
  return bits;
}

class SimulatorTest : public ::testing::Test {
 protected:
  void SetUp() override { SimInit(sim); }
  Simulator sim;
  SimReply reply;
};

TEST_F(SimulatorTest, EveryRequestKindIsAnsweredWithOneStatusFrameOfTheImage) {
  sim.reg[lnk::kStatusWarningId] = 0x5A;
  sim.reg[lnk::Page1(72)] = 0xC3;
  sim.reg[lnk::Page1(73)] = 0x77;  // beyond the frame: never sent
  ASSERT_EQ(Poll(sim, reply), SimAnswer::Sent);
  ASSERT_EQ(reply.length, lnk::kStatusFrameLength);
  EXPECT_EQ(reply.splitAt, 0);
  EXPECT_TRUE(lnk::AcceptStatusFrame(reply.bytes, reply.length));
  EXPECT_EQ(0, std::memcmp(reply.bytes, sim.reg, lnk::kStatusPayloadLength));
  EXPECT_EQ(reply.bytes[lnk::kStatusWarningId], 0x5A);
  EXPECT_EQ(reply.bytes[lnk::kStatusLastByte], 0xC3);

  ASSERT_EQ(SimHandleRequest(sim, lnk::kResyncFrame, lnk::kResyncFrameLength, reply), SimAnswer::Sent);
  EXPECT_TRUE(lnk::AcceptStatusFrame(reply.bytes, reply.length));
  ASSERT_EQ(Send(sim, Command({{0, 95, {9}}}), reply), SimAnswer::Sent);
  EXPECT_TRUE(lnk::AcceptStatusFrame(reply.bytes, reply.length));

  EXPECT_EQ(sim.counters.polls, 1u);
  EXPECT_EQ(sim.counters.resyncs, 1u);
  EXPECT_EQ(sim.counters.commands, 1u);
  SimLoggedRequest log[4];
  ASSERT_EQ(SimRecentRequests(sim, log, 4), 3);
  EXPECT_EQ(log[0].kind, SimRequestKind::Poll);
  EXPECT_EQ(log[1].kind, SimRequestKind::Resync);
  EXPECT_EQ(log[2].kind, SimRequestKind::Command);
  EXPECT_EQ(log[2].number, 3u);
}

TEST_F(SimulatorTest, DefaultConfigurationIsARunningTwoUnitContinuousDryer) {
  EXPECT_EQ(sim.reg[lnk::kStatusFanHeaterCount], 1);  // code 1: two units
  EXPECT_EQ(sim.reg[lnk::kStatusDryerType], 0);
  EXPECT_EQ(lnk::DryerLengthFeet(sim.reg[lnk::kStatusDryerLengthIndex]), 20);
  EXPECT_TRUE(sim.reg[lnk::kStatusRunFlags] & lnk::kRunFlagsRunning);
  EXPECT_EQ(SimS16LowFirst(sim, lnk::kStatusPlenumSetpoint6), 180);
  EXPECT_EQ(SimU16HighFirst(sim, lnk::kStatusMoistureSetpoint), 155);
  EXPECT_EQ(SimMinSec(sim, lnk::kStatusOutOfGrainCountdown), SimMinSec(sim, lnk::kStatusOutOfGrainTime));
}

TEST_F(SimulatorTest, CommandItemsAreAppliedBeforeTheAnswer) {
  // Plenum 1 at 180 F (00 3B 02 B4 00), a page-1 setting and a one-byte item, in one frame.
  ASSERT_EQ(Send(sim, Command({{0, 59, {0xB4, 0x00}}, {1, 25, {0x34, 0x12}}, {0, 96, {12}}}), reply), SimAnswer::Sent);
  EXPECT_EQ(sim.counters.itemsApplied, 3u);
  EXPECT_EQ(reply.bytes[lnk::kStatusPlenumSetpoint1], 0xB4);
  EXPECT_EQ(reply.bytes[lnk::kStatusPlenumSetpoint1 + 1], 0x00);
  EXPECT_EQ(reply.bytes[lnk::kStatusSubstituteMoisture], 0x34);
  EXPECT_EQ(reply.bytes[lnk::kStatusSubstituteMoisture + 1], 0x12);
  EXPECT_EQ(reply.bytes[lnk::kStatusPlenumDifferential1 + 1], 12);

  // A countdown reset is echoed exactly in the answer to the command, before a second passes.
  ASSERT_EQ(Send(sim, Command({{0, 24, {7, 30}}}), reply), SimAnswer::Sent);
  EXPECT_EQ(reply.bytes[lnk::kStatusOutOfGrainCountdown], 7);
  EXPECT_EQ(reply.bytes[lnk::kStatusOutOfGrainCountdown + 1], 30);
}

TEST_F(SimulatorTest, RegistersWithControllerRulesEchoAsTheLinkExpects) {
  // 1:23 comes back with bits 4..6 masked off.
  Send(sim, Command({{1, 23, {0xF1}}}), reply);
  EXPECT_EQ(reply.bytes[lnk::kStatusOptionBits2], 0x81);
  // 1:10's bits 0-1 are commands, not settings.
  Send(sim, Command({{1, 10, {0xC3}}}), reply);
  EXPECT_EQ(reply.bytes[lnk::kStatusDisplayOptions], 0xC0);
  // Bit 7 of 0:159 belongs to the knob: a write keeps it, the other bits are taken.
  SimTurnKnob(sim);
  Send(sim, Command({{0, 159, {0x02, 80, 61, 40}}}), reply);
  EXPECT_EQ(reply.bytes[lnk::kStatusMeterRollMode], 0x82);
  EXPECT_EQ(sim.reg[lnk::kStatusMeterRollHigh], 80);
  EXPECT_EQ(sim.reg[lnk::kStatusMeterRollLow], 40);
  SimTurnKnob(sim);
  EXPECT_EQ(sim.reg[lnk::kStatusMeterRollMode], 0x02);

  // The clock item is accepted and kept.
  Send(sim, Command({{0, 53, {5, 14, 8, 12, 26}}}), reply);
  EXPECT_EQ(sim.clockItems, 1u);
  const uint8_t clock[5] = {5, 14, 8, 12, 26};
  EXPECT_EQ(0, std::memcmp(sim.lastClock, clock, 5));
}

TEST_F(SimulatorTest, ZeroBushelsBitHoldsTheCounterAtZeroUntilCleared) {
  SimStep(sim, 20);
  ASSERT_GT(SimU32LowFirst(sim, lnk::kStatusBushelCounter), 0u);
  Send(sim, Command({{0, 238, {lnk::kSensorCommandZeroBushels}}}), reply);
  EXPECT_EQ(reply.bytes[lnk::kStatusBushelCounter] | reply.bytes[lnk::kStatusBushelCounter + 1] |
                reply.bytes[lnk::kStatusBushelCounter + 2] | reply.bytes[lnk::kStatusBushelCounter + 3],
            0);
  SimStep(sim, 30);
  EXPECT_EQ(SimU32LowFirst(sim, lnk::kStatusBushelCounter), 0u);
  Send(sim, Command({{0, 238, {0}}}), reply);
  SimStep(sim, 10);
  // Bushel-seconds: ten seconds at the unload rate in bushels per hour.
  EXPECT_EQ(SimU32LowFirst(sim, lnk::kStatusBushelCounter), 10u * SimU16HighFirst(sim, lnk::kStatusUnloadPanel173));
  EXPECT_GT(SimU16HighFirst(sim, lnk::kStatusUnloadPanel173), 0);
}

TEST_F(SimulatorTest, BadCrcAndInconsistentFramesAreIgnoredAndChangeNothing) {
  uint8_t before[kSimRegisterBytes];
  std::memcpy(before, sim.reg, sizeof(before));

  std::vector<uint8_t> good = Command({{0, 95, {33}}});
  std::vector<std::vector<uint8_t>> bad;
  for (size_t i = 0; i < good.size(); ++i) {  // any one flipped bit
    std::vector<uint8_t> f = good;
    f[i] ^= static_cast<uint8_t>(1u << (i % 8));
    bad.push_back(f);
  }
  auto withCrc = [](std::vector<uint8_t> f) {
    f.resize(f.size() + 2);
    lnk::AppendChecksum(f.data(), f.size() - 2);
    return f;
  };
  bad.push_back(withCrc({12, 1, 0, 95, 1, 33, 0, 0, 0, 0}));  // L says 12, the frame has 10+2
  bad.push_back(withCrc({9, 2, 0, 95, 1, 33}));                // two items announced, one present
  bad.push_back(withCrc({9, 1, 0, 95, 2, 33}));                // count runs past the end
  bad.push_back(withCrc({9, 1, 2, 95, 1, 33}));                // no page 2
  bad.push_back(withCrc({10, 1, 0, 255, 2, 1, 2}));            // runs off the page
  bad.push_back(withCrc({8, 1, 0, 95, 0}));                    // an item without data
  bad.push_back(withCrc({6, 0, 0, 0}));                        // a resync of 6 bytes
  for (const auto& f : bad) EXPECT_EQ(Send(sim, f, reply), SimAnswer::Ignored);
  EXPECT_EQ(SimHandleRequest(sim, good.data(), 3, reply), SimAnswer::Ignored);

  EXPECT_EQ(0, std::memcmp(before, sim.reg, sizeof(before)));
  EXPECT_EQ(sim.counters.rejected, bad.size() + 1);
  EXPECT_EQ(sim.counters.answered, 0u);
  EXPECT_EQ(Send(sim, good, reply), SimAnswer::Sent);
  EXPECT_EQ(sim.reg[lnk::kStatusPlenumDifferential1], 33);
}

TEST_F(SimulatorTest, DropAndCorruptCountAnswersAndLeaveTheOthersIntact) {
  sim.faults.dropEvery = 3;
  sim.faults.corruptEvery = 4;
  sim.physicsFrozen = true;
  uint8_t clean[lnk::kStatusFrameLength];
  SimBuildStatusFrame(sim, clean);
  std::vector<int> dropped, corrupted;
  for (int n = 1; n <= 12; ++n) {
    SimAnswer a = Poll(sim, reply);
    if (a == SimAnswer::Dropped) {
      dropped.push_back(n);
      continue;
    }
    ASSERT_EQ(a, SimAnswer::Sent);
    if (!lnk::AcceptStatusFrame(reply.bytes, reply.length)) {
      corrupted.push_back(n);
      EXPECT_EQ(DifferingBits(reply.bytes, clean, lnk::kStatusFrameLength), 1) << "answer " << n;
    } else {
      EXPECT_EQ(0, std::memcmp(reply.bytes, clean, lnk::kStatusFrameLength));
    }
  }
  EXPECT_EQ(dropped, (std::vector<int>{3, 6, 9, 12}));
  EXPECT_EQ(corrupted, (std::vector<int>{4, 8}));  // 12 was dropped
  // A dropped answer still applies the command it answers.
  sim.faults.dropEvery = 1;
  EXPECT_EQ(Send(sim, Command({{0, 97, {44}}}), reply), SimAnswer::Dropped);
  EXPECT_EQ(sim.reg[lnk::kStatusPlenumDifferential1 + 2], 44);
}

TEST_F(SimulatorTest, SplitAnswersCarryAPointInsideTheFrameAndThePause) {
  sim.faults.splitEvery = 2;
  sim.faults.splitPauseMs = 250;
  for (int n = 1; n <= 8; ++n) {
    ASSERT_EQ(Poll(sim, reply), SimAnswer::Sent);
    EXPECT_TRUE(lnk::AcceptStatusFrame(reply.bytes, reply.length));
    if (n % 2 == 0) {
      EXPECT_GT(reply.splitAt, 0);
      EXPECT_LT(reply.splitAt, lnk::kStatusFrameLength);
      EXPECT_EQ(reply.pauseMs, 250u);
    } else {
      EXPECT_EQ(reply.splitAt, 0);
    }
  }
  EXPECT_EQ(sim.counters.split, 4u);
}

TEST_F(SimulatorTest, SilenceWindowNeitherHearsNorAnswers) {
  sim.faults.silentAfterS = 5;
  sim.faults.silentForS = 3;
  SimStep(sim, 4.5);
  EXPECT_EQ(Poll(sim, reply), SimAnswer::Sent);
  SimStep(sim, 1);
  EXPECT_TRUE(SimIsSilent(sim));
  EXPECT_EQ(Poll(sim, reply), SimAnswer::Silent);
  EXPECT_EQ(Send(sim, Command({{0, 98, {55}}}), reply), SimAnswer::Silent);
  EXPECT_NE(sim.reg[lnk::kStatusPlenumDifferential1 + 3], 55);
  SimStep(sim, 2.6);  // 8.1 s
  EXPECT_FALSE(SimIsSilent(sim));
  EXPECT_EQ(Poll(sim, reply), SimAnswer::Sent);
  EXPECT_EQ(sim.counters.unheard, 2u);
  SimLoggedRequest log[4];
  ASSERT_EQ(SimRecentRequests(sim, log, 4), 4);  // the line capture keeps the unheard ones
  EXPECT_FALSE(log[0].unheard);
  EXPECT_TRUE(log[1].unheard);
  EXPECT_EQ(log[2].kind, SimRequestKind::Command);
  EXPECT_TRUE(log[2].unheard);
  EXPECT_FALSE(log[3].unheard);

  sim.forcedSilent = true;
  EXPECT_EQ(Poll(sim, reply), SimAnswer::Silent);
}

TEST_F(SimulatorTest, WarningIsReportedFromItsStartToItsEnd) {
  sim.faults.warningNode = lnk::kNodeMainIo;
  sim.faults.warningId = 5;
  sim.faults.warningFromS = 3;
  sim.faults.warningToS = 6;
  sim.physicsFrozen = true;  // the warning runs on simulated time even with the plant frozen
  SimStep(sim, 2.5);
  EXPECT_EQ(sim.reg[lnk::kStatusWarningNode], 0);
  SimStep(sim, 1);
  EXPECT_EQ(sim.reg[lnk::kStatusWarningNode], lnk::kNodeMainIo);
  EXPECT_EQ(sim.reg[lnk::kStatusWarningId], 5);
  Poll(sim, reply);
  EXPECT_EQ(reply.bytes[lnk::kStatusWarningNode], lnk::kNodeMainIo);
  EXPECT_EQ(reply.bytes[lnk::kStatusWarningId], 5);
  SimStep(sim, 3);
  EXPECT_EQ(sim.reg[lnk::kStatusWarningNode], 0);
  EXPECT_EQ(sim.reg[lnk::kStatusWarningId], 0);
}

TEST_F(SimulatorTest, PlenumsHoldTheirSetpointsWithBurnersCycling) {
  // Two units use the two highest slots.
  const int present[] = {4, 5};
  int burnerOnSeen[6] = {}, burnerOffSeen[6] = {};
  int16_t lowest = 1000, highest = -1000;
  for (int s = 0; s < 1200; ++s) {
    SimStep(sim, 1);
    for (int slot : present) {
      (sim.reg[lnk::kStatusUnitStatusD1 + slot] & lnk::kUnitBurnerOn ? burnerOnSeen : burnerOffSeen)[slot]++;
      if (s >= 300) {
        int16_t t = SimS16LowFirst(sim, lnk::kStatusPlenumTemp1 + 2 * slot);
        lowest = t < lowest ? t : lowest;
        highest = t > highest ? t : highest;
      }
    }
  }
  for (int slot : present) {
    EXPECT_TRUE(sim.reg[lnk::kStatusUnitStatusA1 + slot] & lnk::kUnitRunTurning) << "fan of slot " << slot;
    EXPECT_GT(burnerOnSeen[slot], 0);
    EXPECT_GT(burnerOffSeen[slot], 0);
  }
  // Within the differential (8 F) below the 180 F setpoint and a step above it.
  EXPECT_GE(lowest, 180 - 8 - 2);
  EXPECT_LE(highest, 180 + 3);
  for (int slot = 0; slot < 4; ++slot) {
    EXPECT_EQ(sim.reg[lnk::kStatusUnitStatusA1 + slot], 0);
    EXPECT_EQ(sim.reg[lnk::kStatusUnitStatusB1 + slot], 0);
    EXPECT_EQ(sim.reg[lnk::kStatusUnitStatusD1 + slot], 0);
    EXPECT_EQ(SimS16LowFirst(sim, lnk::kStatusPlenumTemp1 + 2 * slot), 0);
  }

  // Grain warms between ambient and the plenum; the grain leaves drier than it came.
  for (int i = 0; i < 3; ++i) {
    int16_t g = SimS16LowFirst(sim, lnk::kStatusGrainTemp1 + 2 * i);
    EXPECT_GT(g, 70);
    EXPECT_LT(g, 180);
  }
  const uint16_t incoming = SimU16HighFirst(sim, lnk::kStatusIncomingMoisture);
  const uint16_t outgoing = SimU16HighFirst(sim, lnk::kStatusOutgoingMoisture);
  EXPECT_GE(incoming, 200);
  EXPECT_LE(incoming, 240);
  EXPECT_LT(outgoing, incoming);
  EXPECT_GT(outgoing, 140);

  // A stopped dryer: no run flag, fans and burners off, plenums cooling.
  SimSetRunning(sim, false);
  SimStep(sim, 120);
  EXPECT_FALSE(sim.reg[lnk::kStatusRunFlags] & lnk::kRunFlagsRunning);
  for (int slot : present) {
    EXPECT_EQ(sim.reg[lnk::kStatusUnitStatusA1 + slot] & lnk::kUnitRunTurning, 0);
    EXPECT_EQ(sim.reg[lnk::kStatusUnitStatusD1 + slot] & lnk::kUnitBurnerOn, 0);
    EXPECT_LT(SimS16LowFirst(sim, lnk::kStatusPlenumTemp1 + 2 * slot), 150);
  }
}

TEST_F(SimulatorTest, SetpointWrittenByCommandMovesThePlenum) {
  Send(sim, Command({{0, lnk::kStatusPlenumSetpoint6, {0x8C, 0x00}}}), reply);  // slot 6 setpoint 140 F
  SimStep(sim, 900);
  int16_t t = SimS16LowFirst(sim, lnk::kStatusPlenumTemp6);
  EXPECT_LE(t, 143);
  EXPECT_GE(t, 140 - 10);
  EXPECT_GT(SimS16LowFirst(sim, lnk::kStatusPlenumTemp5), 165);
}

TEST_F(SimulatorTest, OutOfGrainCountdownRunsDuringALoadAndResetsAfter) {
  bool sawLoad = false, sawReset = false;
  uint32_t previous = SimMinSec(sim, lnk::kStatusOutOfGrainCountdown);
  const uint32_t preset = SimMinSec(sim, lnk::kStatusOutOfGrainTime);
  for (int s = 0; s < 600; ++s) {
    const bool loading = sim.reg[lnk::kStatusLoadState] & lnk::kLoadStateLoadRunning;
    SimStep(sim, 1);
    const uint32_t now = SimMinSec(sim, lnk::kStatusOutOfGrainCountdown);
    if (loading && (sim.reg[lnk::kStatusLoadState] & lnk::kLoadStateLoadRunning)) {
      EXPECT_EQ(now + 1, previous) << "second " << s;
      sawLoad = true;
    }
    if (loading && !(sim.reg[lnk::kStatusLoadState] & lnk::kLoadStateLoadRunning)) {
      EXPECT_EQ(now, preset);
      sawReset = true;
    }
    EXPECT_LT(sim.reg[lnk::kStatusOutOfGrainCountdown + 1], 60);
    previous = now;
  }
  EXPECT_TRUE(sawLoad);
  EXPECT_TRUE(sawReset);
}

TEST_F(SimulatorTest, BatchDryerRunsItsTimersInTurn) {
  Send(sim, Command({{0, 8, {1}}, {0, 11, {0, 5}}, {0, 254, {0, 3}}, {0, 16, {0, 2}}, {0, 21, {0, 2}}}), reply);
  SimStep(sim, 1);
  EXPECT_EQ(sim.reg[lnk::kStatusBatchState], 1);  // HI HEAT
  EXPECT_EQ(SimMinSec(sim, lnk::kStatusHiHeatCountdown), 4u);
  const uint32_t counterBefore = SimU32LowFirst(sim, lnk::kStatusBushelCounter);
  SimStep(sim, 4);
  EXPECT_EQ(sim.reg[lnk::kStatusBatchState], 2);  // LO HEAT
  SimStep(sim, 3);
  EXPECT_EQ(sim.reg[lnk::kStatusBatchState], 3);  // COOL: burners out
  for (int slot = 0; slot < kSimUnitSlots; ++slot) EXPECT_EQ(sim.reg[lnk::kStatusUnitStatusD1 + slot] & lnk::kUnitBurnerOn, 0);
  EXPECT_EQ(SimU32LowFirst(sim, lnk::kStatusBushelCounter), counterBefore);  // no unloading yet
  SimStep(sim, 2);
  EXPECT_EQ(sim.reg[lnk::kStatusBatchState], 4);  // UNLOAD
  SimStep(sim, 1);
  EXPECT_GT(SimU32LowFirst(sim, lnk::kStatusBushelCounter), counterBefore);
  SimStep(sim, 1);
  EXPECT_EQ(sim.reg[lnk::kStatusBatchState], 1);  // the next batch
  EXPECT_EQ(SimU16HighFirst(sim, lnk::kStatusBatchCounter), 1);
  EXPECT_EQ(SimMinSec(sim, lnk::kStatusCoolCountdown), 2u);
}

TEST(SimReceiver, FindsFramesAcrossReadsAndSkipsWhatCannotBeOne) {
  SimReceiver rx;
  uint8_t out[lnk::kMaxCommandFrameLength];
  // A poll in two pieces.
  SimReceiverPush(rx, lnk::kPollFrame, 3, 0);
  EXPECT_EQ(SimReceiverTake(rx, out, 1), 0);
  SimReceiverPush(rx, lnk::kPollFrame + 3, 4, 2);
  ASSERT_EQ(SimReceiverTake(rx, out, 2), lnk::kPollFrameLength);
  EXPECT_EQ(0, std::memcmp(out, lnk::kPollFrame, lnk::kPollFrameLength));

  // Garbage, then a corrupted poll, then a resync and a command back to back.
  std::vector<uint8_t> cmd = Command({{0, 59, {0xB4, 0}}});
  std::vector<uint8_t> bytes = {0xFF, 0x00, 0xC8, 0x07, 0x00, 0x00, 0x00, 0x00, 0x91, 0xC1};
  bytes.insert(bytes.end(), lnk::kResyncFrame, lnk::kResyncFrame + lnk::kResyncFrameLength);
  bytes.insert(bytes.end(), cmd.begin(), cmd.end());
  SimReceiverPush(rx, bytes.data(), static_cast<int>(bytes.size()), 10);
  ASSERT_EQ(SimReceiverTake(rx, out, 10), lnk::kResyncFrameLength);
  EXPECT_EQ(0, std::memcmp(out, lnk::kResyncFrame, lnk::kResyncFrameLength));
  ASSERT_EQ(SimReceiverTake(rx, out, 10), static_cast<int>(cmd.size()));
  EXPECT_EQ(0, std::memcmp(out, cmd.data(), cmd.size()));
  EXPECT_EQ(SimReceiverTake(rx, out, 10), 0);
  EXPECT_EQ(rx.skipped, 10u);

  // A frame cut short is given up after the quiet gap, and the next one is found.
  SimReceiverPush(rx, cmd.data(), 5, 20);
  EXPECT_EQ(SimReceiverTake(rx, out, 20 + kSimReceiveGapMs - 1), 0);
  EXPECT_EQ(SimReceiverTake(rx, out, 20 + kSimReceiveGapMs + 1), 0);
  EXPECT_EQ(rx.have, 0);
  SimReceiverPush(rx, lnk::kPollFrame, lnk::kPollFrameLength, 100);
  EXPECT_EQ(SimReceiverTake(rx, out, 100), lnk::kPollFrameLength);
}

}  // namespace
