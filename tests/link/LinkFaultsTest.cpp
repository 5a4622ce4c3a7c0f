// The faults of the link's own rules and the sound behaviour built in their place, one group
// per fault. Items 1 and 3 run two real threads (ThreadSanitizer runs them in CI).
#include <atomic>
#include <condition_variable>
#include <mutex>
#include <thread>

#include "FakePort.h"
#include "LinkTestSupport.h"

namespace {

class LinkFaults : public LinkStateTest {};

// A controller in memory: applies every item of a command frame to its registers and answers
// with the first 329 of them.
struct MemoryController {
  uint8_t regs[512] = {};
  int tornItems = 0;
  void Apply(const uint8_t* tx) {
    int pos = 2;
    for (int n = 0; n < tx[1]; ++n) {
      const int reg = lnk::RegisterIndex(tx[pos], tx[pos + 1]);
      const int count = tx[pos + 2];
      if (reg == lnk::kStatusPlenumSetpoint1 && tx[pos + 3] != tx[pos + 4]) ++tornItems;
      std::memcpy(regs + reg, tx + pos + 3, count);
      pos += 3 + count;
    }
  }
  void Cycle() {
    uint8_t tx[lnk::kTransmitBufferLength];
    if (lnk::BuildCommandFrame(tx)) Apply(tx);
    TestFrame f;
    std::memcpy(f.b, regs, lnk::kStatusPayloadLength);
    f.Decode();
  }
};

volatile int gSpinSink = 0;

// Runs `a` and `b` on two threads `rounds` times, both released together each round;
// `prepare` runs alone before each round and `check` after it.
template <typename Prepare, typename A, typename B, typename Check>
void RaceRounds(int rounds, Prepare prepare, A a, B b, Check check) {
  std::atomic<int> go{0};
  std::atomic<int> done{0};
  std::thread other([&] {
    for (int r = 1; r <= rounds; ++r) {
      while (go.load() < r) std::this_thread::yield();
      // A varying delay sweeps b across the whole of a's work over the rounds.
      for (int spin = 0; spin < (r * 37) % 4000; ++spin) gSpinSink = spin;
      b();
      done.fetch_add(1);
    }
  });
  for (int r = 1; r <= rounds; ++r) {
    prepare();
    go.store(r);
    a();
    while (done.load() < r) std::this_thread::yield();
    check();
  }
  other.join();
}

TEST_F(LinkFaults, EditDuringEchoIsNotLost) {
  MemoryController controller;
  std::atomic<bool> editing{true};
  std::atomic<int> cycles{0};
  std::thread link([&] {
    while (editing.load()) {
      controller.Cycle();
      cycles.fetch_add(1, std::memory_order_relaxed);
    }
  });
  // Edits land at every point of a cycle: bursts between two cycles, and single edits a cycle
  // apart. The counter is relaxed so that only the link's own locking orders the two threads.
  constexpr int kEdits = 600;
  for (int v = 1; v <= kEdits; ++v) {
    if (v % 4 == 0) {
      const int until = cycles.load(std::memory_order_relaxed) + 1;
      while (cycles.load(std::memory_order_relaxed) < until) std::this_thread::yield();
    }
    const uint8_t bytes[2] = {static_cast<uint8_t>(v % 200 + 1), static_cast<uint8_t>(v % 200 + 1)};
    lnk::RequestSetting(lnk::CommandRow::PlenumSetpoint1, bytes);
  }
  editing = false;
  link.join();
  for (int i = 0; i < 3 && lnk::IsPending(lnk::CommandRow::PlenumSetpoint1); ++i) controller.Cycle();
  EXPECT_GT(cycles.load(), 3);
  EXPECT_EQ(controller.tornItems, 0);
  EXPECT_FALSE(lnk::IsPending(lnk::CommandRow::PlenumSetpoint1));
  EXPECT_EQ(controller.regs[lnk::kStatusPlenumSetpoint1], kEdits % 200 + 1);
  EXPECT_EQ(controller.regs[lnk::kStatusPlenumSetpoint1 + 1], kEdits % 200 + 1);
}

TEST_F(LinkFaults, FlagLoweredOnlyWithTheValueItEchoes) {
  // Single-threaded form of the same fault: an edit after the echo of the old value is sent.
  const uint8_t oldValue[2] = {0xA0, 0x00};
  lnk::RequestSetting(lnk::CommandRow::PlenumSetpoint1, oldValue);
  TestFrame f;
  f.SetS16LowFirst(lnk::kStatusPlenumSetpoint1, 0xA0).Decode();
  const uint8_t newValue[2] = {0xB4, 0x00};
  lnk::RequestSetting(lnk::CommandRow::PlenumSetpoint1, newValue);
  f.Decode();  // the old echo again
  EXPECT_TRUE(lnk::IsPending(lnk::CommandRow::PlenumSetpoint1));
  const std::vector<uint8_t> frame = Build();
  ASSERT_EQ(frame.size(), 7u);
  EXPECT_EQ(frame[5], 0xB4);
}

TEST_F(LinkFaults, GraphViewButtonKeepsTheControllerBits) {
  TestFrame f;
  f.Set(lnk::kStatusDisplayOptions, lnk::kDisplayOptionsCelsius).Decode();
  lnk::RequestBits(lnk::kRequestDisplayOptions, lnk::kDisplayOptionsGraphView, 0, lnk::CommandRow::DisplayOptions);
  const std::vector<uint8_t> frame = Build();
  ASSERT_EQ(frame.size(), 6u);
  EXPECT_EQ(frame[5], lnk::kDisplayOptionsCelsius | lnk::kDisplayOptionsGraphView);  // not 0x40 alone
}

TEST_F(LinkFaults, QuickStartWithdrawKeepsTheOtherOptionBits) {
  TestFrame f;
  f.Set(lnk::kStatusOptionBits2, 0x03).Decode();
  f.Set(lnk::kStatusOptionWithdraw, lnk::kOptionWithdrawBit).Decode();
  EXPECT_EQ(lnk::ReadRequestByte(lnk::kRequestOptionBits2), 0x02);
  EXPECT_TRUE(lnk::IsPending(lnk::CommandRow::OptionBits2));
}

TEST_F(LinkFaults, MeterRollCriteriaBitKeepsTheOtherBits) {
  TestFrame f;
  f.Set(lnk::kStatusDryingCriteria, 0x05).Decode();
  lnk::RequestBits(lnk::kRequestDryingCriteria, lnk::kDryingCriteriaBit1, 0, lnk::CommandRow::DryingCriteria);
  EXPECT_EQ(lnk::ReadRequestByte(lnk::kRequestDryingCriteria), 0x07);
}

TEST_F(LinkFaults, PendingRequestIsNotReloaded) {
  lnk::RequestByte(lnk::kRequestDisplayOptions, lnk::kDisplayOptionsGraphView, lnk::CommandRow::DisplayOptions);
  TestFrame f;
  f.Set(lnk::kStatusDisplayOptions, lnk::kDisplayOptionsCelsius).Decode();
  lnk::RequestBits(lnk::kRequestDisplayOptions, 0x01, 0, lnk::CommandRow::DisplayOptions);
  EXPECT_EQ(lnk::ReadRequestByte(lnk::kRequestDisplayOptions), lnk::kDisplayOptionsGraphView | 0x01);
  EXPECT_FALSE(lnk::LoadRequestFromStatus(lnk::CommandRow::DisplayOptions));
  EXPECT_EQ(lnk::ReadRequestByte(lnk::kRequestDisplayOptions), lnk::kDisplayOptionsGraphView | 0x01);
}

TEST_F(LinkFaults, LoadBeforeCompareCopiesEveryByteOfTheRow) {
  TestFrame f;
  f.SetU16HighFirst(lnk::kStatusMaxUnloadRate, 300).Set(lnk::kStatusMeterRoll1, 9).Decode();
  EXPECT_TRUE(lnk::LoadRequestFromStatus(lnk::CommandRow::MaxUnloadRate));
  EXPECT_EQ(lnk::ReadRequestByte(lnk::kStatusMaxUnloadRate), 0x01);
  EXPECT_EQ(lnk::ReadRequestByte(lnk::kStatusMaxUnloadRate + 1), 0x2C);
  EXPECT_FALSE(lnk::IsPending(lnk::CommandRow::MaxUnloadRate));
  // Registers the record never holds keep their request value.
  lnk::WriteRequestByte(lnk::kRequestMeterRollHigh, 77);
  EXPECT_TRUE(lnk::LoadRequestFromStatus(lnk::CommandRow::MeterRollRestore));
  EXPECT_EQ(lnk::ReadRequestByte(lnk::kRequestMeterRollHigh), 77);
  EXPECT_TRUE(lnk::LoadRequestByteFromStatus(lnk::kStatusMeterRoll1, lnk::CommandRow::MeterRollValue1));
  EXPECT_EQ(lnk::ReadRequestByte(lnk::kStatusMeterRoll1), 9);
}

TEST_F(LinkFaults, TickAndFrameNeverGiveFalseLoss) {
  FakePort port;
  lnk::SetLinkPort(port.Port());
  TestFrame f;
  port.AnswerEveryCycle(f.Wire(), lnk::kStatusFrameLength);
  RaceRounds(
      2000,
      [] {
        while (lnk::LinkAliveCountdown() > 1) lnk::DecrementLinkAliveCountdown();
      },
      [] { lnk::RunLinkCycle(); }, [] { lnk::DecrementLinkAliveCountdown(); },
      [] {
        const uint32_t v = lnk::LinkAliveCountdown();
        ASSERT_TRUE(v == 9 || v == 10) << v;
      });
}

TEST_F(LinkFaults, WarningHoldNeverLostToTheTick) {
  TestFrame frames[2];
  frames[0].Set(lnk::kStatusWarningNode, lnk::kNodeMainIo).Set(lnk::kStatusWarningId, 5).Wire();
  frames[1].Set(lnk::kStatusWarningNode, lnk::kNodeMainIo).Set(lnk::kStatusWarningId, 6).Wire();
  int round = 0;
  RaceRounds(
      2000, [&] { lnk::Derived().warningRecordHold = 1; },
      [&] { lnk::DecodeStatusFrame(frames[++round % 2].b); }, [] { lnk::DecrementWarningRecordHold(); },
      [] {
        const uint32_t v = lnk::Derived().warningRecordHold.load();
        ASSERT_TRUE(v == 99 || v == 100) << v;
      });
  EXPECT_EQ(events.shutdowns.size(), 2000u);
}

TEST_F(LinkFaults, CountdownsStopAtZero) {
  for (int i = 0; i < 15; ++i) lnk::DecrementLinkAliveCountdown();
  EXPECT_EQ(lnk::LinkAliveCountdown(), 0u);
  lnk::Derived().warningRecordHold = 2;
  for (int i = 0; i < 5; ++i) lnk::DecrementWarningRecordHold();
  EXPECT_EQ(lnk::Derived().warningRecordHold.load(), 0u);
}

TEST_F(LinkFaults, StatusValuesUsedAsIndexesAreRangeChecked) {
  EXPECT_EQ(lnk::DryerLengthFeet(0), 8);
  EXPECT_EQ(lnk::DryerLengthFeet(11), 34);
  EXPECT_EQ(lnk::DryerLengthFeet(14), 40);
  EXPECT_EQ(lnk::DryerLengthFeet(15), 0);
  EXPECT_EQ(lnk::DryerLengthFeet(255), 0);
  EXPECT_STREQ(lnk::WarningNodeName(lnk::kNodeMoistureCont), "MOISTURE CONT");
  EXPECT_STREQ(lnk::WarningNodeName(lnk::kNodeFanHeaterInt1), "FAN/HEATER INT #1");
  EXPECT_EQ(lnk::WarningNodeName(16), nullptr);
  EXPECT_EQ(lnk::WarningNodeName(255), nullptr);
  EXPECT_EQ(lnk::WarningNodeName(lnk::kNodeNone), nullptr);
}

TEST_F(LinkFaults, FanHeaterCodeGivesItsUnitCountAndAnUnknownCodeNone) {
  const int expected[] = {1, 2, 3, 4, 6};
  for (int code = 0; code < 256; ++code)
    EXPECT_EQ(lnk::PlenumSlotsInUse(static_cast<uint8_t>(code)), code < 5 ? expected[code] : 0) << "code " << code;
}

// The decoder posts the show and hide rules; the handler runs with the record unlocked, so it
// can take a snapshot (as the UI thread's handler will) and sees the frame's values.
TEST_F(LinkFaults, ShowRulesArePostedAfterTheRecordIsUnlocked) {
  struct Seen {
    std::mutex m;
    std::condition_variable cv;
    bool decoded = false;
    uint8_t dryerType = 0;
    uint8_t displayOptions = 0;
    int dryerTypeReshows = 0;
    int viewReshows = 0;
  };
  static Seen seen;
  lnk::LinkEvents e;
  e.reshowMainViews = [](void*, lnk::ReshowReason why) {
    lnk::DryerStatus s;
    lnk::TakeStatusSnapshot(s);
    if (why == lnk::ReshowReason::DryerTypeChanged) {
      seen.dryerType = s.b[lnk::kStatusDryerType];
      ++seen.dryerTypeReshows;
    } else {
      seen.displayOptions = s.b[lnk::kStatusDisplayOptions];
      ++seen.viewReshows;
    }
  };
  lnk::SetLinkEvents(e);
  TestFrame f;
  f.Set(lnk::kStatusDryerType, 2).Set(lnk::kStatusDisplayOptions, lnk::kDisplayOptionsGraphView).Wire();
  std::thread decoder([&] {
    lnk::DecodeStatusFrame(f.b);
    std::lock_guard<std::mutex> lock(seen.m);
    seen.decoded = true;
    seen.cv.notify_all();
  });
  bool finished;
  {
    std::unique_lock<std::mutex> lock(seen.m);
    finished = seen.cv.wait_for(lock, std::chrono::seconds(10), [] { return seen.decoded; });
  }
  if (!finished) {
    decoder.detach();
    FAIL() << "the decoder held the record while posting";
  }
  decoder.join();
  EXPECT_EQ(seen.dryerTypeReshows, 1);
  EXPECT_EQ(seen.viewReshows, 1);
  EXPECT_EQ(seen.dryerType, 2);
  EXPECT_EQ(seen.displayOptions, lnk::kDisplayOptionsGraphView);
}

}  // namespace
