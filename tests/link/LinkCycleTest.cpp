// The link cycle against a fake port, and the 175 ms tick: acceptance, countdown, resync and
// hold-off cadence, purge before write, wakes, blink, layout watch and delayed redraw.
#include "FakePort.h"
#include "LinkTestSupport.h"

namespace {

class LinkCycle : public LinkStateTest {
 protected:
  void SetUp() override {
    LinkStateTest::SetUp();
    lnk::SetLinkPort(port.Port());
  }
  void TearDown() override {
    lnk::SetLinkTrace(false);
    LinkStateTest::TearDown();
  }
  std::string Kinds() {
    std::string s;
    for (auto& w : port.writes) s += RequestKind(w);
    return s;
  }
  FakePort port;
};

TEST_F(LinkCycle, OnlyExactly331BytesWithAGoodChecksumAreDecoded) {
  TestFrame f;
  f.Set(lnk::kStatusFanHeaterCount, 7);
  const uint8_t* wire = f.Wire();
  std::vector<uint8_t> longer(wire, wire + lnk::kStatusFrameLength);
  longer.push_back(0);
  std::vector<uint8_t> corrupted(wire, wire + lnk::kStatusFrameLength);
  corrupted[100] ^= 0x04;
  for (int i = 0; i < 7; ++i) lnk::DecrementLinkAliveCountdown();
  port.Answer(wire, lnk::kStatusFrameLength - 1);
  port.Answer(longer.data(), static_cast<int>(longer.size()));
  port.Answer(corrupted.data(), lnk::kStatusFrameLength);
  port.Answer(wire, 200);  // a frame split across a cycle boundary: both pieces dropped
  port.Answer(wire + 200, lnk::kStatusFrameLength - 200);
  for (int i = 0; i < 5; ++i) lnk::RunLinkCycle();
  EXPECT_EQ(lnk::LinkAliveCountdown(), 3u);
  EXPECT_EQ(Snapshot().b[lnk::kStatusFanHeaterCount], 0);
  EXPECT_EQ(Kinds(), "PPPPP");  // the cadence goes on
  port.Answer(wire, lnk::kStatusFrameLength);
  lnk::RunLinkCycle();
  EXPECT_EQ(lnk::LinkAliveCountdown(), 10u);
  EXPECT_EQ(Snapshot().b[lnk::kStatusFanHeaterCount], 7);
}

TEST_F(LinkCycle, ReadLongerThanAFrameIsTakenByItsLastFrameAndTheDropIsTraced) {
  // The tail of a split answer came after the purge and the next whole answer behind it.
  TestFrame f;
  f.Set(lnk::kStatusFanHeaterCount, 4);
  const uint8_t* wire = f.Wire();
  std::vector<uint8_t> late(wire + 166, wire + lnk::kStatusFrameLength);
  late.insert(late.end(), wire, wire + lnk::kStatusFrameLength);
  std::vector<uint8_t> lateCorrupted = late;
  lateCorrupted[late.size() - 50] ^= 0x10;
  for (int i = 0; i < 7; ++i) lnk::DecrementLinkAliveCountdown();
  port.Answer(lateCorrupted.data(), static_cast<int>(lateCorrupted.size()));
  lnk::RunLinkCycle();
  EXPECT_EQ(lnk::LinkAliveCountdown(), 3u);
  EXPECT_EQ(Snapshot().b[lnk::kStatusFanHeaterCount], 0);

  lnk::SetLinkTrace(true);
  testing::internal::CaptureStderr();
  port.Answer(late.data(), static_cast<int>(late.size()));
  port.Answer(late.data(), static_cast<int>(late.size()));
  lnk::RunLinkCycle();
  lnk::RunLinkCycle();
  const std::string out = testing::internal::GetCapturedStderr();
  EXPECT_EQ(lnk::LinkAliveCountdown(), 10u);
  EXPECT_EQ(Snapshot().b[lnk::kStatusFanHeaterCount], 4);
  EXPECT_NE(out.find("dropped 165 bytes ahead of the frame, 330 in all"), std::string::npos) << out;
  EXPECT_EQ(Kinds(), "PPP");
}

TEST_F(LinkCycle, EveryCyclePurgesThenWritesOneRequest) {
  for (int i = 0; i < 3; ++i) lnk::RunLinkCycle();
  EXPECT_EQ(port.ops, "pwpwpw");
  EXPECT_EQ(Kinds(), "PPP");
  lnk::RequestClock(5, 6, 7, 8, 2031);
  lnk::RunLinkCycle();
  std::vector<uint8_t> w = port.LastWrite();
  ASSERT_EQ(w.size(), 12u);
  const std::vector<uint8_t> head = {0x0C, 0x01, 0x00, 0x35, 0x05, 5, 6, 7, 8, 31};
  EXPECT_EQ(std::vector<uint8_t>(w.begin(), w.begin() + 10), head);
  EXPECT_TRUE(lnk::VerifyChecksum(w.data(), 10));
  lnk::RunLinkCycle();
  EXPECT_EQ(RequestKind(port.LastWrite()), 'P');
}

TEST_F(LinkCycle, CountdownRunsOutAndOneFrameRecovers) {
  for (int i = 0; i < 9; ++i) lnk::DecrementLinkAliveCountdown();
  EXPECT_TRUE(lnk::LinkConnected());
  lnk::DecrementLinkAliveCountdown();
  EXPECT_FALSE(lnk::LinkConnected());
  lnk::DecrementLinkAliveCountdown();
  EXPECT_EQ(lnk::LinkAliveCountdown(), 0u);
  TestFrame f;
  port.Answer(f.Wire(), lnk::kStatusFrameLength);
  lnk::RunLinkCycle();
  EXPECT_EQ(lnk::LinkAliveCountdown(), 10u);
}

TEST_F(LinkCycle, ResyncAtMostEveryTenCyclesAndCommandsHeldForEight) {
  const uint8_t setpoint[2] = {0xB4, 0x00};
  lnk::RequestSetting(lnk::CommandRow::PlenumSetpoint1, setpoint);  // never echoed: stays pending
  for (int i = 0; i < 22; ++i) {
    lnk::RaiseResyncRequest();
    lnk::RunLinkCycle();
  }
  EXPECT_EQ(Kinds(), "RPPPPPPPPCRPPPPPPPPCRP");
  EXPECT_EQ(lnk::CommandHoldOff(), 9u);
}

TEST_F(LinkCycle, ResyncRaisedDuringHoldOffWaitsAndIsSentOnce) {
  lnk::RaiseResyncRequest();
  lnk::RunLinkCycle();
  for (int i = 0; i < 3; ++i) lnk::RunLinkCycle();
  lnk::RaiseResyncRequest();
  for (int i = 0; i < 10; ++i) lnk::RunLinkCycle();
  EXPECT_EQ(Kinds(), "RPPPPPPPPPRPPP");
  EXPECT_FALSE(lnk::ResyncRequested());
}

TEST_F(LinkCycle, TraceDumpsFramesInHex) {
  lnk::SetLinkTrace(true);
  testing::internal::CaptureStderr();
  lnk::RunLinkCycle();
  const std::string out = testing::internal::GetCapturedStderr();
  EXPECT_NE(out.find("07 00 00 00 00 91 C0"), std::string::npos) << out;
  lnk::SetLinkTrace(false);
  testing::internal::CaptureStderr();
  lnk::RunLinkCycle();
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
}

class LinkTickTest : public LinkStateTest {};

// The adapter may enumerate after the panel starts: the thread runs and its cycles keep trying
// the device, while the countdown runs out as for a silent dryer.
TEST_F(LinkTickTest, PortMissingAtStartStillRunsTheThreadThatTheTicksWake) {
  plat::SerialResult device = plat::SerialResult::Ok;
  EXPECT_TRUE(lnk::OpenLink("/nonexistent/dryer-port", &device));
  EXPECT_EQ(device, plat::SerialResult::NoDevice);
  EXPECT_TRUE(lnk::LinkThreadRunning());
  for (int i = 0; i < 8; ++i) lnk::LinkTick();
  EXPECT_EQ(lnk::LinkWakeCount(), 4u);
  for (int s = 0; s < 10; ++s) lnk::DecrementLinkAliveCountdown();
  EXPECT_FALSE(lnk::LinkConnected());
  lnk::CloseLink();
  EXPECT_FALSE(lnk::LinkThreadRunning());
}

TEST_F(LinkTickTest, FirstWakeOnTheSecondTickThenEveryOther) {
  FakePort port;
  ASSERT_TRUE(lnk::OpenLinkOnPort(port.Port()));
  EXPECT_FALSE(lnk::OpenLinkOnPort(port.Port()));
  lnk::LinkTick();
  EXPECT_EQ(lnk::LinkWakeCount(), 0u);
  lnk::LinkTick();
  EXPECT_EQ(lnk::LinkWakeCount(), 1u);
  ASSERT_TRUE(port.WaitForWrites(1));
  lnk::LinkTick();
  EXPECT_EQ(lnk::LinkWakeCount(), 1u);
  lnk::LinkTick();
  EXPECT_EQ(lnk::LinkWakeCount(), 2u);
  ASSERT_TRUE(port.WaitForWrites(2));
  lnk::CloseLink();
  EXPECT_FALSE(lnk::LinkThreadRunning());
  EXPECT_EQ(port.Writes(), 2);
}

TEST_F(LinkTickTest, BlinkBitAndWarningRedraws) {
  std::string phases;
  for (int i = 0; i < 8; ++i) {
    lnk::LinkTick();
    phases += static_cast<char>('0' + lnk::BlinkPhase());
    phases += lnk::BlinkOn() ? '+' : '-';
  }
  EXPECT_EQ(phases, "1-2-3+4+5+6+7+0-");
  EXPECT_EQ(events.Redraws(lnk::PanelWindow::WarningWindow), 0);
  EXPECT_EQ(events.Redraws(lnk::PanelWindow::StatusBar), 8);
  TestFrame f;
  f.Set(lnk::kStatusWarningNode, lnk::kNodeFanHeater1).Decode();  // node alone counts as active
  events.ClearCounts();
  for (int i = 0; i < 16; ++i) lnk::LinkTick();
  EXPECT_EQ(events.Redraws(lnk::PanelWindow::WarningWindow), 4);
  EXPECT_EQ(events.erases[static_cast<int>(lnk::PanelWindow::WarningWindow)], 4);
}

TEST_F(LinkTickTest, LayoutByteChangeRelaysOutTheButtonBarOnce) {
  TestFrame f;
  f.Set(lnk::kStatusOptionBits2, 0x05).Decode();
  lnk::LinkTick();  // remembers 0x05
  EXPECT_EQ(events.relayouts, 0);
  f.Set(lnk::kStatusOptionBits2, 0x04).Decode();
  lnk::LinkTick();
  lnk::LinkTick();
  EXPECT_EQ(events.relayouts, 1);
}

TEST_F(LinkTickTest, DelayedRedrawComesTwentyFiveTicksLater) {
  lnk::RaiseDelayedRedraw();
  for (int i = 0; i < 25; ++i) lnk::LinkTick();
  EXPECT_EQ(events.Redraws(lnk::PanelWindow::LineGraph), 0);
  lnk::LinkTick();
  EXPECT_EQ(events.Redraws(lnk::PanelWindow::LineGraph), 1);
  EXPECT_EQ(events.Redraws(lnk::PanelWindow::PlenumView), 1);
  for (int i = 0; i < 30; ++i) lnk::LinkTick();
  EXPECT_EQ(events.Redraws(lnk::PanelWindow::LineGraph), 1);
}

}  // namespace
