// The real link (serial port, link thread, decoder, builder) against the simulator over a real
// pseudo-terminal. The test thread stands for the UI thread: it runs the 175 ms link tick and
// the 1 s countdown decrement itself. Most cases run the cycle in lockstep: two ticks wake the
// link, and the next cycle starts only when the simulator has handled the request, so every
// answer is on the line before the link's next read. Time in those cases is link time, 350 ms
// a cycle.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <thread>
#include <vector>

#include "link/Framing.h"
#include "link/Link.h"
#include "link/RegisterMap.h"
#include "link/SettingRequest.h"
#include "sim/SimServer.h"
#include "tests/link/LinkTestSupport.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr auto kServeTimeout = std::chrono::seconds(5);
constexpr int kCycleMs = 350;
constexpr int kSecondMs = 1000;

SimServerOptions FrozenFast() {
  SimServerOptions o;
  o.realPace = false;
  o.physicsFrozen = true;
  return o;
}

// The link thread and the test thread both post: the recorder counts with atomics.
struct SharedEvents {
  std::atomic<int> redraws[lnk::kPanelWindowCount] = {};
  std::atomic<int> shutdowns{0};

  int Redraws(lnk::PanelWindow w) const { return redraws[static_cast<int>(w)].load(); }
  int TotalRedraws() const {
    int n = 0;
    for (const auto& r : redraws) n += r.load();
    return n;
  }
  void Clear() {
    for (auto& r : redraws) r.store(0);
    shutdowns.store(0);
  }
  lnk::LinkEvents Events() {
    lnk::LinkEvents e;
    e.context = this;
    e.redraw = [](void* c, lnk::PanelWindow w, bool) { static_cast<SharedEvents*>(c)->redraws[static_cast<int>(w)].fetch_add(1); };
    e.recordShutdown = [](void* c, uint8_t, uint8_t) { static_cast<SharedEvents*>(c)->shutdowns.fetch_add(1); };
    return e;
  }
};

class LinkEndToEnd : public LinkStateTest {
 protected:
  void SetUp() override {
    LinkStateTest::SetUp();
    lnk::SetLinkEvents(shared.Events());
  }
  void StartSim(const SimServerOptions& options) {
    ASSERT_EQ(server.StartOnPty(options), SimServerResult::Ok);
    ASSERT_TRUE(lnk::OpenLink(server.SlavePath())) << server.SlavePath();
  }
  void TearDown() override {
    lnk::CloseLink();
    server.Stop();
    LinkStateTest::TearDown();
  }

  // One link cycle in lockstep. False when the simulator did not see the request in time.
  bool Cycle() {
    const uint32_t before = active->Served();
    lnk::LinkTick();
    lnk::LinkTick();
    const Clock::time_point deadline = Clock::now() + kServeTimeout;
    while (active->Served() == before) {
      if (Clock::now() > deadline) return false;
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
  }
  void Cycles(int n) {
    for (int i = 0; i < n; ++i) ASSERT_TRUE(Cycle()) << "cycle " << i;
  }

  Simulator Sim() {
    Simulator s;
    active->Snapshot(s);
    return s;
  }
  // The requests the simulator received after request number `after`, oldest first.
  std::vector<SimLoggedRequest> RequestsAfter(uint32_t after) {
    Simulator s = Sim();
    SimLoggedRequest log[kSimRequestLogSize];
    const int n = SimRecentRequests(s, log, kSimRequestLogSize);
    std::vector<SimLoggedRequest> out;
    for (int i = 0; i < n; ++i)
      if (log[i].number > after) out.push_back(log[i]);
    return out;
  }
  SimLoggedRequest LastRequest() {
    Simulator s = Sim();
    SimLoggedRequest last;
    EXPECT_EQ(SimRecentRequests(s, &last, 1), 1);
    return last;
  }
  static std::vector<uint8_t> Bytes(const SimLoggedRequest& r) { return std::vector<uint8_t>(r.bytes, r.bytes + r.length); }
  static std::vector<uint8_t> WithCrc(std::vector<uint8_t> f) {
    f.resize(f.size() + 2);
    lnk::AppendChecksum(f.data(), f.size() - 2);
    return f;
  }
  // Every stored byte of the link's record equals the simulator's register. Byte 159 is
  // taken only when the knob's bit toggles, so it is left out.
  void ExpectRecordMirrorsSimulator() {
    lnk::DryerStatus record = Snapshot();
    Simulator s = Sim();
    for (int k = 0; k < lnk::kStatusBytes; ++k) {
      if (lnk::StatusByteStored(k) && k != lnk::kStatusMeterRollMode) {
        EXPECT_EQ(record.b[k], s.reg[k]) << "status byte " << k;
      }
    }
  }

  SharedEvents shared;
  SimServer server;
  SimServer* active = &server;  // the server the lockstep cycle waits for
};

TEST_F(LinkEndToEnd, RaisedRequestsGoOutInTableOrderAndRetireOnTheEcho) {
  StartSim(FrozenFast());
  Cycles(3);
  ExpectRecordMirrorsSimulator();
  EXPECT_EQ(LastRequest().kind, SimRequestKind::Poll);

  // Raised against the table order; the frame carries them in it.
  lnk::RequestByte(lnk::Page1(31), 2, lnk::CommandRow::MoistureSensorSelection);             // row 80
  lnk::RequestByte(lnk::kStatusPlenumDifferential1, 12, lnk::CommandRow::PlenumDifferential1);  // row 28
  const uint8_t setpoint[2] = {0xAA, 0x00};                                    // 170 F
  lnk::RequestSetting(lnk::CommandRow::PlenumSetpoint1, setpoint);                       // row 22
  const uint8_t fanDelay[2] = {0, 20};
  lnk::RequestSetting(lnk::CommandRow::FanDelay, fanDelay);  // row 18

  ASSERT_TRUE(Cycle());
  const SimLoggedRequest sent = LastRequest();
  EXPECT_EQ(sent.kind, SimRequestKind::Command);
  EXPECT_EQ(Bytes(sent), WithCrc({22, 4, 0, 46, 2, 0, 20, 0, 59, 2, 0xAA, 0x00, 0, 95, 1, 12, 1, 31, 1, 2}));
  Simulator s = Sim();
  EXPECT_EQ(SimS16LowFirst(s, lnk::kStatusPlenumSetpoint1), 170);
  EXPECT_EQ(s.reg[lnk::kStatusPlenumDifferential1], 12);
  EXPECT_EQ(s.reg[lnk::kStatusMoistureSensorSelection], 2);
  EXPECT_EQ(SimMinSec(s, lnk::kStatusFanDelay), 20u);
  EXPECT_TRUE(lnk::IsPending(lnk::CommandRow::FanDelay));  // the echo has not been read yet

  // The echo lowers the plain rows at once; the setpoint is compared with the previous frame.
  ASSERT_TRUE(Cycle());
  EXPECT_FALSE(lnk::IsPending(lnk::CommandRow::FanDelay));
  EXPECT_FALSE(lnk::IsPending(lnk::CommandRow::PlenumDifferential1));
  EXPECT_FALSE(lnk::IsPending(lnk::CommandRow::MoistureSensorSelection));
  EXPECT_TRUE(lnk::IsPending(lnk::CommandRow::PlenumSetpoint1));
  EXPECT_EQ(Bytes(LastRequest()), WithCrc({9, 1, 0, 59, 2, 0xAA, 0x00}));

  ASSERT_TRUE(Cycle());
  EXPECT_FALSE(lnk::IsPending(lnk::CommandRow::PlenumSetpoint1));
  EXPECT_EQ(LastRequest().kind, SimRequestKind::Poll);
  EXPECT_EQ(lnk::StatusS16LowFirst(Snapshot(), lnk::kStatusPlenumSetpoint1), 170);
}

TEST_F(LinkEndToEnd, ControllerRulesEchoTheWayTheLinkRetiresThem) {
  StartSim(FrozenFast());
  Cycles(3);
  active->Edit([](Simulator& sim, void*) { sim.reg[lnk::kStatusBushelCounter + 2] = 1; }, nullptr);
  Cycles(2);
  ASSERT_EQ(lnk::StatusU32LowFirst(Snapshot(), lnk::kStatusBushelCounter), 0x10000u);

  // Zeroing the bushel counter: the bit goes out, the controller zeroes the counter, the link
  // sends the cleared byte once more and retires the row on its echo.
  const uint32_t mark = LastRequest().number;
  lnk::RequestBits(lnk::kRequestSensorCommand, lnk::kSensorCommandZeroBushels, 0, lnk::CommandRow::SensorCommand);
  Cycles(4);
  std::vector<SimLoggedRequest> seen = RequestsAfter(mark);
  ASSERT_EQ(seen.size(), 4u);
  EXPECT_EQ(Bytes(seen[0]), WithCrc({8, 1, 0, 238, 1, lnk::kSensorCommandZeroBushels}));
  EXPECT_EQ(Bytes(seen[1]), WithCrc({8, 1, 0, 238, 1, 0}));
  EXPECT_EQ(seen[2].kind, SimRequestKind::Poll);
  EXPECT_FALSE(lnk::IsPending(lnk::CommandRow::SensorCommand));
  EXPECT_EQ(lnk::StatusU32LowFirst(Snapshot(), lnk::kStatusBushelCounter), 0u);
  EXPECT_EQ(Sim().reg[lnk::kStatusSensorCommand], 0);

  // 1:23 comes back without bits 4..6 and still retires.
  lnk::RequestByte(lnk::kRequestOptionBits2, 0x71, lnk::CommandRow::OptionBits2);
  Cycles(2);
  EXPECT_FALSE(lnk::IsPending(lnk::CommandRow::OptionBits2));
  EXPECT_EQ(Snapshot().b[lnk::kStatusOptionBits2], 0x01);

  // The knob turned on the control panel reaches the panel as one knob request.
  active->Edit([](Simulator& sim, void*) { SimTurnKnob(sim); }, nullptr);
  Cycles(3);
  EXPECT_EQ(lnk::Derived().knobRequest.load(), 1);
  EXPECT_TRUE(Snapshot().b[lnk::kStatusMeterRollMode] & lnk::kMeterRollModeKnobBit);
}

TEST_F(LinkEndToEnd, ClockItemGoesOutOnceInItsWireForm) {
  StartSim(FrozenFast());
  Cycles(2);
  lnk::RequestClock(7, 13, 24, 12, 2026);
  ASSERT_TRUE(Cycle());
  EXPECT_EQ(Bytes(LastRequest()), WithCrc({0x0C, 0x01, 0x00, 0x35, 0x05, 7, 13, 24, 12, 26}));
  EXPECT_FALSE(lnk::IsPending(lnk::CommandRow::Clock));
  Simulator s = Sim();
  EXPECT_EQ(s.clockItems, 1u);
  const uint8_t clock[5] = {7, 13, 24, 12, 26};
  EXPECT_EQ(0, std::memcmp(s.lastClock, clock, 5));
  ASSERT_TRUE(Cycle());
  EXPECT_EQ(LastRequest().kind, SimRequestKind::Poll);
}

TEST_F(LinkEndToEnd, SilenceLosesTheLinkResyncsAreSpacedAndTheFirstGoodFrameRecovers) {
  StartSim(FrozenFast());
  Cycles(3);
  server.SetSilent(true);
  // This cycle reads the last answer given before the silence: the countdown is set to 10.
  ASSERT_TRUE(Cycle());
  ASSERT_EQ(lnk::LinkAliveCountdown(), lnk::kLinkAliveSeconds);

  // Link time from that frame; the 1 s tick comes half-way through each second.
  int nowMs = 0;
  int nextSecondMs = kSecondMs / 2;
  int lostAtMs = -1;
  for (int cycle = 0; cycle < 40 && lostAtMs < 0; ++cycle) {
    ASSERT_TRUE(Cycle());
    nowMs += kCycleMs;
    while (nextSecondMs <= nowMs) {
      lnk::DecrementLinkAliveCountdown();
      nextSecondMs += kSecondMs;
    }
    if (!lnk::LinkConnected()) lostAtMs = nowMs;
  }
  EXPECT_GE(lostAtMs, 9 * kSecondMs);
  EXPECT_LE(lostAtMs, 10 * kSecondMs + kCycleMs);

  // The warning window raises the resync on every paint; a setting waits meanwhile.
  lnk::RequestByte(lnk::kStatusPlenumDifferential1 + 1, 14, lnk::CommandRow::PlenumDifferential2);
  const uint32_t mark = LastRequest().number;
  for (int cycle = 0; cycle < 30; ++cycle) {
    lnk::RaiseResyncRequest();
    ASSERT_TRUE(Cycle());
    lnk::DecrementLinkAliveCountdown();
    EXPECT_EQ(lnk::LinkAliveCountdown(), 0u);
  }
  std::vector<SimLoggedRequest> seen = RequestsAfter(mark);
  ASSERT_EQ(seen.size(), 30u);
  // One resync each 10 cycles; 8 polls while commands are held back; the command in the 9th.
  for (int i = 0; i < 30; ++i) {
    const SimRequestKind expected = i % 10 == 0 ? SimRequestKind::Resync : i % 10 == 9 ? SimRequestKind::Command
                                                                                       : SimRequestKind::Poll;
    EXPECT_EQ(seen[i].kind, expected) << "cycle " << i;
    EXPECT_TRUE(seen[i].unheard);
  }
  EXPECT_EQ(Bytes(seen[0]), std::vector<uint8_t>(lnk::kResyncFrame, lnk::kResyncFrame + lnk::kResyncFrameLength));
  EXPECT_EQ(Bytes(seen[9]), WithCrc({8, 1, 0, 96, 1, 14}));
  EXPECT_TRUE(lnk::IsPending(lnk::CommandRow::PlenumDifferential2));
  EXPECT_NE(Sim().reg[lnk::kStatusPlenumDifferential1 + 1], 14);

  // The controller speaks again: the first good frame brings the link back.
  server.SetSilent(false);
  ASSERT_TRUE(Cycle());  // heard and answered
  ASSERT_TRUE(Cycle());  // the answer is read
  EXPECT_EQ(lnk::LinkAliveCountdown(), lnk::kLinkAliveSeconds);
  EXPECT_TRUE(lnk::LinkConnected());
  ExpectRecordMirrorsSimulator();
  // The held request goes out once the hold-off allows and retires on its echo.
  for (int cycle = 0; cycle < 15 && lnk::IsPending(lnk::CommandRow::PlenumDifferential2); ++cycle) ASSERT_TRUE(Cycle());
  EXPECT_FALSE(lnk::IsPending(lnk::CommandRow::PlenumDifferential2));
  EXPECT_EQ(Sim().reg[lnk::kStatusPlenumDifferential1 + 1], 14);
}

TEST_F(LinkEndToEnd, OnlyAGoodAnswerRefreshesTheCountdown) {
  StartSim(FrozenFast());
  Cycles(3);
  const lnk::DryerStatus before = Snapshot();
  shared.Clear();
  SimFaults faults;
  faults.dropEvery = 2;
  faults.corruptEvery = 3;
  server.SetFaults(faults);
  const uint32_t first = Sim().counters.answered + 1;  // the number of the next answer
  ASSERT_TRUE(Cycle());  // produces answer `first`
  for (uint32_t n = first; n < first + 12; ++n) {
    lnk::DecrementLinkAliveCountdown();
    const uint32_t countdown = lnk::LinkAliveCountdown();
    ASSERT_TRUE(Cycle());  // reads answer n
    const bool good = n % 2 != 0 && n % 3 != 0;
    EXPECT_EQ(lnk::LinkAliveCountdown(), good ? lnk::kLinkAliveSeconds : countdown) << "answer " << n;
  }
  const lnk::DryerStatus after = Snapshot();
  EXPECT_EQ(0, std::memcmp(before.b, after.b, lnk::kStatusBytes));
  EXPECT_EQ(shared.TotalRedraws(), shared.Redraws(lnk::PanelWindow::StatusBar));
}

TEST_F(LinkEndToEnd, DroppedCorruptedAndSplitAnswersChangeNothingButTheCountdown) {
  // Real line pace and the real tick cadence, free running: the link reads whatever has
  // arrived when it wakes, as it does in the panel.
  SimServerOptions options;
  options.realPace = true;
  options.physicsFrozen = true;
  StartSim(options);
  Cycles(3);
  ExpectRecordMirrorsSimulator();
  const lnk::DryerStatus before = Snapshot();
  shared.Clear();

  SimFaults faults;
  faults.dropEvery = 3;
  faults.corruptEvery = 4;
  faults.splitEvery = 5;
  faults.splitPauseMs = 400;  // across the link's next read
  server.SetFaults(faults);

  const Clock::time_point start = Clock::now();
  uint32_t lowest = lnk::LinkAliveCountdown();
  constexpr int kTicks = 48;  // 24 cycles, 8.4 s
  for (int tick = 1; tick <= kTicks; ++tick) {
    std::this_thread::sleep_until(start + std::chrono::milliseconds(175 * tick));
    lnk::LinkTick();
    if (tick % 6 == 0) {  // about once a second
      lnk::DecrementLinkAliveCountdown();
      lowest = lnk::LinkAliveCountdown() < lowest ? lnk::LinkAliveCountdown() : lowest;
    }
  }
  Simulator s = Sim();
  EXPECT_GT(s.counters.dropped, 0u);
  EXPECT_GT(s.counters.corrupted, 0u);
  EXPECT_GT(s.counters.split, 0u);
  EXPECT_TRUE(lnk::LinkConnected());
  EXPECT_GE(lowest, 7u);

  const lnk::DryerStatus after = Snapshot();
  EXPECT_EQ(0, std::memcmp(before.b, after.b, lnk::kStatusBytes));
  // Only the tick's own status-bar redraws; no field changed, nothing was recorded.
  EXPECT_EQ(shared.TotalRedraws(), shared.Redraws(lnk::PanelWindow::StatusBar));
  EXPECT_GT(shared.Redraws(lnk::PanelWindow::StatusBar), 0);
  EXPECT_EQ(shared.shutdowns.load(), 0);
  for (int i = 0; i < lnk::kCommandRowCount; ++i) EXPECT_FALSE(lnk::IsPending(lnk::RowFromIndex(i))) << "row " << i + 1;
}

TEST_F(LinkEndToEnd, EverySecondAnswerSplitNearOneCycleKeepsTheLinkUp) {
  // The late tail of each split answer arrives after the purge, right ahead of the next whole
  // answer; the link takes the whole one at the end of that read.
  for (const uint32_t pauseMs : {340u, 400u}) {
    SCOPED_TRACE(pauseMs);
    SimServerOptions options;
    options.realPace = true;
    options.physicsFrozen = true;
    StartSim(options);
    Cycles(3);
    const lnk::DryerStatus before = Snapshot();
    SimFaults faults;
    faults.splitEvery = 2;
    faults.splitPauseMs = pauseMs;
    server.SetFaults(faults);

    const Clock::time_point start = Clock::now();
    uint32_t lowest = lnk::LinkAliveCountdown();
    constexpr int kTicks = 48;  // 24 cycles, 8.4 s
    for (int tick = 1; tick <= kTicks; ++tick) {
      std::this_thread::sleep_until(start + std::chrono::milliseconds(175 * tick));
      lnk::LinkTick();
      if (tick % 6 == 0) {
        lnk::DecrementLinkAliveCountdown();
        lowest = lnk::LinkAliveCountdown() < lowest ? lnk::LinkAliveCountdown() : lowest;
      }
    }
    EXPECT_GE(Sim().counters.split, 8u);
    EXPECT_TRUE(lnk::LinkConnected());
    EXPECT_GE(lowest, 7u);
    const lnk::DryerStatus after = Snapshot();
    EXPECT_EQ(0, std::memcmp(before.b, after.b, lnk::kStatusBytes));
    lnk::CloseLink();
    server.Stop();
    lnk::ResetLinkState();
  }
}

TEST_F(LinkEndToEnd, RunningDryerReachesThePanelsRecord) {
  SimServerOptions options;
  options.realPace = false;
  StartSim(options);
  Cycles(4);
  // Plant values travel in their byte orders: the record mirrors the simulator's image.
  Simulator s = Sim();
  lnk::DryerStatus record = Snapshot();
  EXPECT_TRUE(record.b[lnk::kStatusRunFlags] & lnk::kRunFlagsRunning);
  EXPECT_EQ(record.b[lnk::kStatusFanHeaterCount], s.reg[lnk::kStatusFanHeaterCount]);
  EXPECT_EQ(lnk::StatusU16HighFirst(record, lnk::kStatusMoistureSetpoint), 155);
  EXPECT_GE(lnk::StatusU16HighFirst(record, lnk::kStatusMoisture1), 200);
  EXPECT_GE(lnk::StatusS16LowFirst(record, lnk::kStatusPlenumTemp6), 55);
  EXPECT_TRUE(record.b[lnk::kStatusUnitStatusA1 + 5] & 1);  // the fan of unit 1 runs
}

TEST_F(LinkEndToEnd, EditsMadeWhileAnOlderValueIsInFlightAreNeverLost) {
  // Both threads free running: the UI side keeps changing a setpoint while the link sends,
  // compares echoes and lowers the flag. The last value written must be the one that stays.
  StartSim(FrozenFast());
  Cycles(2);
  int last = 0;
  for (int i = 0; i < 120; ++i) {
    last = 100 + i;
    const uint8_t value[2] = {static_cast<uint8_t>(last), 0};
    lnk::RequestSetting(lnk::CommandRow::PlenumSetpoint2, value);
    lnk::LinkTick();
    if (i % 3 == 0) std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  const Clock::time_point deadline = Clock::now() + kServeTimeout;
  while (lnk::IsPending(lnk::CommandRow::PlenumSetpoint2) && Clock::now() < deadline) {
    lnk::LinkTick();
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  ASSERT_FALSE(lnk::IsPending(lnk::CommandRow::PlenumSetpoint2));
  EXPECT_EQ(SimS16LowFirst(Sim(), lnk::kStatusPlenumSetpoint2), last);
  EXPECT_EQ(lnk::StatusS16LowFirst(Snapshot(), lnk::kStatusPlenumSetpoint2), last);
}

TEST_F(LinkEndToEnd, PulledCableLeavesTheLinkRunningAndItRecoversOnTheSameDevice) {
  StartSim(FrozenFast());
  Cycles(3);
  char path[64];
  std::snprintf(path, sizeof(path), "%s", server.SlavePath());
  server.PullCable();

  // The link notices the vanished device, closes it and keeps its cadence; nothing answers.
  for (int cycle = 0; cycle < 6; ++cycle) {
    lnk::LinkTick();
    lnk::LinkTick();
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  EXPECT_TRUE(lnk::LinkThreadRunning());
  for (uint32_t s = 0; s < lnk::kLinkAliveSeconds; ++s) lnk::DecrementLinkAliveCountdown();
  EXPECT_FALSE(lnk::LinkConnected());
  server.Stop();

  // A new pseudo-terminal usually takes the number just freed. When it does, the link reopens
  // it by itself within its retry period and the first good frame reconnects it.
  SimServer second;
  ASSERT_EQ(second.StartOnPty(FrozenFast()), SimServerResult::Ok);
  if (std::strcmp(second.SlavePath(), path) != 0) {
    GTEST_SKIP() << "the new pseudo-terminal is " << second.SlavePath() << ", not " << path;
  }
  const Clock::time_point deadline = Clock::now() + std::chrono::seconds(10);
  while (!lnk::LinkConnected() && Clock::now() < deadline) {
    lnk::LinkTick();
    lnk::LinkTick();
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  EXPECT_TRUE(lnk::LinkConnected());
  EXPECT_GT(second.Served(), 0u);
  active = &second;
  ASSERT_TRUE(Cycle());
  ASSERT_TRUE(Cycle());
  ExpectRecordMirrorsSimulator();
  lnk::CloseLink();
  active = &server;
}

}  // namespace
