// The simulator's server on a real pseudo-terminal, seen from the panel's end of the line.
// Times are only ever bounded from below or waited for with generous limits.
#include "sim/SimServer.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "link/Framing.h"
#include "link/RegisterMap.h"
#include "platform/Serial.h"

namespace {

using Clock = std::chrono::steady_clock;

class SimServerLine : public ::testing::Test {
 protected:
  void Start(const SimServerOptions& options) {
    ASSERT_EQ(server.StartOnPty(options), SimServerResult::Ok);
    ASSERT_EQ(port.Open(server.SlavePath()), plat::SerialResult::Ok) << server.SlavePath();
  }
  void TearDown() override {
    port.Close();
    server.Stop();
  }
  // Reads until `want` bytes have come or the limit passes; returns the count.
  int ReadUntil(int want, std::chrono::milliseconds limit) {
    const Clock::time_point deadline = Clock::now() + limit;
    while (have < want && Clock::now() < deadline) {
      int got = 0;
      port.Read(buffer + have, static_cast<int>(sizeof(buffer)) - have, got);
      have += got;
      if (got == 0) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return have;
  }
  SimServer server;
  plat::SerialPort port;
  uint8_t buffer[4 * lnk::kStatusFrameLength] = {};
  int have = 0;
};

TEST_F(SimServerLine, AnswersAtTheLinePaceWhenAsked) {
  SimServerOptions options;
  options.realPace = true;
  Start(options);
  const Clock::time_point sent = Clock::now();
  ASSERT_EQ(port.Write(lnk::kPollFrame, lnk::kPollFrameLength), plat::SerialResult::Ok);
  ASSERT_EQ(ReadUntil(lnk::kStatusFrameLength, std::chrono::seconds(5)), lnk::kStatusFrameLength);
  // 331 bytes of 11 bits at 38400 baud take 94.8 ms.
  EXPECT_GE(Clock::now() - sent, std::chrono::milliseconds(90));
  EXPECT_TRUE(lnk::AcceptStatusFrame(buffer, have));
}

TEST_F(SimServerLine, IgnoresABadFrameOnTheLineAndAnswersTheNextGoodOne) {
  SimServerOptions options;
  options.realPace = false;
  Start(options);
  uint8_t bad[9] = {9, 1, 0, 95, 1, 33, 0, 0, 0};
  lnk::AppendChecksum(bad, 7);
  bad[5] ^= 0x10;
  ASSERT_EQ(port.Write(bad, 9), plat::SerialResult::Ok);
  ASSERT_EQ(port.Write(lnk::kResyncFrame, lnk::kResyncFrameLength), plat::SerialResult::Ok);
  ASSERT_EQ(ReadUntil(lnk::kStatusFrameLength, std::chrono::seconds(5)), lnk::kStatusFrameLength);
  EXPECT_TRUE(lnk::AcceptStatusFrame(buffer, have));
  Simulator sim;
  server.Snapshot(sim);
  EXPECT_EQ(sim.counters.resyncs, 1u);
  EXPECT_EQ(sim.counters.commands, 0u);
  EXPECT_NE(sim.reg[lnk::kStatusPlenumDifferential1], 33);
  EXPECT_NE(sim.reg[lnk::kStatusPlenumDifferential1], 33 ^ 0x10);
  // Nothing more than the one answer arrives.
  EXPECT_EQ(ReadUntil(lnk::kStatusFrameLength + 1, std::chrono::milliseconds(100)), lnk::kStatusFrameLength);
}

TEST_F(SimServerLine, SplitAnswerArrivesInTwoPiecesAroundThePause) {
  SimServerOptions options;
  options.realPace = false;
  options.faults.splitEvery = 1;
  options.faults.splitPauseMs = 1500;
  Start(options);
  const Clock::time_point sent = Clock::now();
  ASSERT_EQ(port.Write(lnk::kPollFrame, lnk::kPollFrameLength), plat::SerialResult::Ok);
  ASSERT_GT(ReadUntil(1, std::chrono::seconds(5)), 0);
  EXPECT_LT(have, lnk::kStatusFrameLength);  // the first piece only
  ASSERT_EQ(ReadUntil(lnk::kStatusFrameLength, std::chrono::seconds(10)), lnk::kStatusFrameLength);
  EXPECT_GE(Clock::now() - sent, std::chrono::milliseconds(1500));
  EXPECT_TRUE(lnk::AcceptStatusFrame(buffer, have));
}

}  // namespace
