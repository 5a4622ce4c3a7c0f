#include <gtest/gtest.h>

#include <atomic>

#include "platform/Clock.h"
#include "platform/Event.h"

using namespace plat;

namespace {

struct PingPong {
  AutoResetEvent ping;
  AutoResetEvent pong;
  int rounds = 0;
  int counter = 0;  // written by both threads, ordered only by the events
};

void PongBody(void* arg) {
  auto* pp = static_cast<PingPong*>(arg);
  for (int i = 0; i < pp->rounds; ++i) {
    if (!pp->ping.WaitFor(10000)) return;
    ++pp->counter;
    pp->pong.Signal();
  }
}

struct ClockReader {
  std::atomic<bool> stop{false};
  std::atomic<bool> wentBack{false};
  std::atomic<int> reads{0};
};

void ReadClockBody(void* arg) {
  auto* r = static_cast<ClockReader*>(arg);
  uint64_t last = 0;
  while (!r->stop.load()) {
    uint64_t now = NowMs();
    if (now < last) r->wentBack = true;
    last = now;
    LocalTime t;
    GetLocalTime(t);
    r->reads.fetch_add(1);
  }
}

}  // namespace

TEST(SysThread, AutoResetEventHandsOverBetweenThreads) {
  PingPong pp;
  pp.rounds = 500;
  Thread worker;
  ASSERT_TRUE(worker.Start(PongBody, &pp));
  EXPECT_TRUE(worker.Running());
  for (int i = 0; i < pp.rounds; ++i) {
    ++pp.counter;
    pp.ping.Signal();
    ASSERT_TRUE(pp.pong.WaitFor(10000)) << "round " << i;
  }
  worker.Join();
  EXPECT_FALSE(worker.Running());
  EXPECT_EQ(pp.counter, 2 * pp.rounds);
}

TEST(SysThread, EventResetsAfterOneWaitAndSignalsDoNotQueue) {
  AutoResetEvent e;
  EXPECT_FALSE(e.WaitFor(1));
  e.Signal();
  e.Signal();  // a second signal before the wait is the same single wake
  EXPECT_TRUE(e.WaitFor(0));
  EXPECT_FALSE(e.WaitFor(1));
  e.Signal();
  EXPECT_TRUE(e.Wait());
  EXPECT_FALSE(e.WaitFor(0));
}

TEST(SysThread, StartTwiceIsRefusedAndDestructorJoins) {
  PingPong pp;
  pp.rounds = 1;
  {
    Thread t;
    ASSERT_TRUE(t.Start(PongBody, &pp));
    EXPECT_FALSE(t.Start(PongBody, &pp));
    pp.ping.Signal();
  }  // joins here
  EXPECT_EQ(pp.counter, 1);
  EXPECT_TRUE(pp.pong.WaitFor(0));
}

// The link thread reads the clock while the test thread advances it.
TEST(SysThread, VirtualClockIsReadSafelyFromAnotherThread) {
  UseVirtualClock(LocalTime{.year = 2016, .month = 10, .day = 4, .hour = 19, .minute = 5});
  ClockReader reader;
  Thread t;
  ASSERT_TRUE(t.Start(ReadClockBody, &reader));
  for (int i = 0; i < 2000; ++i) {
    AdvanceVirtualClock(175);
    if (i % 100 == 0) {
      LocalTime set{.year = 2017, .month = 1, .day = 1};
      SetLocalTime(set);
    }
  }
  while (reader.reads.load() < 10) {
  }
  reader.stop = true;
  t.Join();
  EXPECT_FALSE(reader.wentBack.load());
  EXPECT_EQ(NowMs(), 2000u * 175u);
  UseRealClock();
}
