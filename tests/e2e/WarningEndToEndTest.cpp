// The whole panel in this process (ticks, windows, link thread, serial code) against the
// controller simulator on a pseudo-terminal: a silent controller brings up the connection-lost
// window, whose paint makes the link resynchronise, and the first answer takes it down again;
// a warning the simulator reports is shown and recorded once in the shutdown history.
//
// The panel runs on the virtual clock in 5 ms steps. Whenever a step's 175 ms tick wakes the
// link, the test waits (bounded) until the simulator has handled the request that cycle sent,
// so every cycle is over, and its answer on the line, before the panel's clock moves on.
#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "i18n/Language.h"
#include "link/DryerStatus.h"
#include "link/Link.h"
#include "link/RegisterMap.h"
#include "link/SettingRequest.h"
#include "platform/Backend.h"
#include "platform/Clock.h"
#include "platform/Dialog.h"
#include "platform/Files.h"
#include "platform/Window.h"
#include "records/LogTick.h"
#include "records/ShutdownHistory.h"
#include "screens/Screens.h"
#include "shell/MainWindow.h"
#include "shell/Panel.h"
#include "shell/Ticks.h"
#include "sim/SimServer.h"
#include "tests/e2e/ProgramSupport.h"

namespace {

using RealClock = std::chrono::steady_clock;

constexpr uint64_t kStepMs = 5;
// The link timer is started again this long after the others, so that no 175 ms tick falls on
// the same moment as a tenth or whole second: a paint caused by those ticks then always comes
// between two link cycles, never during one.
constexpr uint64_t kLinkPhaseMs = 10;
constexpr auto kServeLimit = std::chrono::seconds(10);

const std::vector<uint8_t> kResyncBytes = {0x06, 0x00, 0x02, 0x10};
const std::vector<uint8_t> kPollBytes = {0x07, 0x00, 0x00, 0x00, 0x00, 0x91, 0xC0};

int AnswerNo(shell::TickQuestion, const char16_t*, const char16_t*) { return plat::IdNo; }

struct SentRequest {
  SimLoggedRequest request;
  std::vector<uint8_t> Bytes() const { return {request.bytes, request.bytes + request.length}; }
};

std::string Narrow(const char16_t* s) {
  std::string out;
  for (; *s != 0; ++s) out.push_back(*s < 256 ? static_cast<char>(*s) : '?');
  return out;
}

class PanelWithSimulator : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_FALSE(root_.path.empty());
    ASSERT_TRUE(shell::PrepareRoot(root_.path.c_str(), DRYER_BINARY_DIR "/assets/Languages"));
    SimServerOptions so;
    so.realPace = false;
    so.physicsFrozen = true;
    ASSERT_EQ(server_.StartOnPty(so), SimServerResult::Ok);

    // 2016-03-07 10:20:30, a Monday.
    plat::UseVirtualClock(plat::LocalTime{.year = 2016, .month = 3, .day = 7, .hour = 10, .minute = 20,
                                          .second = 30, .dayOfWeek = 1});
    plat::SetFileRoot(root_.path.c_str());
    shell::SetTickAsker(AnswerNo);
    options_.root = root_.path.c_str();
    options_.headless = true;
    options_.port = server_.SlavePath();
    ASSERT_EQ(shell::StartPanel(options_), shell::StartResult::Ok);
    started_ = true;
    panelStartMs_ = plat::NowMs();
    warning_ = shell::ScreenWindow(shell::Screen::Warning);
    ASSERT_NE(warning_, plat::kNoWindow);

    plat::RunFor(kLinkPhaseMs);
    ASSERT_TRUE(plat::SetTimer(screens::MainWindow(), shell::kLinkTimerId, shell::kLinkTimerMs));
    plat::StartTextCapture();
    virtualStartMs_ = plat::NowMs();
    realStart_ = RealClock::now();
  }

  void TearDown() override {
    plat::StopTextCapture();
    shell::SetTickAsker(nullptr);
    if (started_) shell::StopPanel();
    server_.Stop();
    screens::UiState() = screens::MainScreenState{};
    lnk::ResetLinkState();
    lnk::ResetDryerStatus();
    lnk::ResetSettingRequest();
    records::ResetLoggingState();
    i18n::ResetLanguageState();
    plat::UseRealClock();
  }

  // One step of the panel's clock; false when a cycle's request never reached the simulator.
  bool Step() {
    plat::ClearCapturedText();
    cycled_ = false;
    const uint32_t wakes = lnk::LinkWakeCount();
    const uint32_t served = server_.Served();
    plat::RunFor(kStepMs);
    if (lnk::LinkWakeCount() != wakes) {
      const RealClock::time_point limit = RealClock::now() + kServeLimit;
      while (server_.Served() == served) {
        if (RealClock::now() > limit) {
          ADD_FAILURE() << "the simulator did not see the request of the cycle at " << ElapsedMs() << " ms";
          return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
      }
      Simulator s;
      server_.Snapshot(s);
      SentRequest sent{};
      if (SimRecentRequests(s, &sent.request, 1) != 1) {
        ADD_FAILURE() << "the simulator logged nothing";
        return false;
      }
      requests_.push_back(sent);
      cycled_ = true;
    }
    // Paced tests keep the panel's clock with the simulator's, which runs in real time.
    if (paced_) std::this_thread::sleep_until(realStart_ + std::chrono::milliseconds(ElapsedMs()));
    return true;
  }

  // Steps until `done` holds after a step, at most `limitMs` of the panel's clock.
  template <typename Done>
  bool StepUntil(uint64_t limitMs, Done done) {
    for (uint64_t t = 0; t < limitMs; t += kStepMs) {
      if (!Step()) return false;
      if (done()) return true;
    }
    return false;
  }
  bool StepFor(uint64_t ms) {
    return StepUntil(ms, [] { return false; }) || !::testing::Test::HasFailure();
  }

  uint64_t ElapsedMs() const { return plat::NowMs() - virtualStartMs_; }
  // Since the panel's timers started: tenth ticks fall on multiples of 100, seconds of 1000.
  uint64_t SinceStartMs() const { return plat::NowMs() - panelStartMs_; }
  bool WarningVisible() const { return plat::IsWindowVisible(warning_); }
  const plat::CapturedText* DrawnByWarningWindow(const char* needle) const {
    return plat::FindCapturedText(needle, warning_);
  }
  // Texts the warning window drew in the last step that are exactly `text`.
  int DrawnExactly(const char* text) const {
    int n = 0;
    for (int i = 0; i < plat::CapturedTextCount(); ++i) {
      const plat::CapturedText* t = plat::CapturedTextAt(i);
      n += t->window == warning_ && Narrow(t->text) == text;
    }
    return n;
  }
  double SimulatorSeconds() const {
    Simulator s;
    server_.Snapshot(s);
    return s.timeS;
  }

  e2e::TempDir root_;
  SimServer server_;
  shell::PanelOptions options_;
  bool started_ = false;
  bool paced_ = false;
  bool cycled_ = false;  // the last step ran a link cycle
  uint64_t panelStartMs_ = 0;
  plat::Hwnd warning_ = plat::kNoWindow;
  uint64_t virtualStartMs_ = 0;
  RealClock::time_point realStart_;
  std::vector<SentRequest> requests_;
};

TEST_F(PanelWithSimulator, SilenceShowsTheLostWindowItsPaintBringsTheResyncAndTheFirstAnswerHidesIt) {
  ASSERT_TRUE(StepFor(2000));
  ASSERT_GE(requests_.size(), 5u);
  EXPECT_TRUE(lnk::LinkConnected());
  EXPECT_FALSE(WarningVisible());
  EXPECT_EQ(requests_.front().Bytes(), kPollBytes);

  server_.SetSilent(true);
  // The next cycle reads the answer given before the silence; nothing is heard after it.
  const size_t beforeSilence = requests_.size();
  ASSERT_TRUE(StepUntil(400, [&] { return requests_.size() > beforeSilence; }));
  ASSERT_EQ(lnk::LinkAliveCountdown(), lnk::kLinkAliveSeconds);
  const uint64_t lastFrameMs = ElapsedMs();

  // Ten seconds of silence, give or take the one-second tick's grain.
  ASSERT_TRUE(StepUntil(11000, [&] { return WarningVisible(); }));
  const uint64_t shownAfterMs = ElapsedMs() - lastFrameMs;
  EXPECT_GT(shownAfterMs, 9000u);
  EXPECT_LE(shownAfterMs, 10000u);
  EXPECT_EQ(lnk::LinkAliveCountdown(), 0u);
  // Its first paint came in the same step as the tick that showed it.
  EXPECT_GE(DrawnExactly(" CONNECTION TO DRYER LOST!"), 1) << "the caption";
  EXPECT_GE(DrawnExactly("CONNECTION TO DRYER LOST!"), 1) << "the picture's own line";
  const size_t beforePaint = requests_.size();
  for (size_t i = 0; i < beforePaint; ++i)
    EXPECT_NE(requests_[i].request.kind, SimRequestKind::Resync) << "request " << i << " came before the paint";

  // The resync goes out in the first cycle after that paint, then every tenth cycle; commands
  // are held back for the eight cycles after each, so the pending clock goes out in the ninth.
  ASSERT_TRUE(StepUntil(10000, [&] {
    EXPECT_TRUE(WarningVisible()) << ElapsedMs();
    return requests_.size() >= beforePaint + 21;
  }));
  for (size_t k = 0; k < 21; ++k) {
    const SentRequest& r = requests_[beforePaint + k];
    EXPECT_TRUE(r.request.unheard) << k;
    if (k % 10 == 0) {
      EXPECT_EQ(r.Bytes(), kResyncBytes) << "cycle " << k << " after the first paint";
    } else if (k % 10 == 9) {
      EXPECT_EQ(r.request.kind, SimRequestKind::Command) << "cycle " << k;
    } else {
      EXPECT_EQ(r.Bytes(), kPollBytes) << "cycle " << k;
    }
  }
  EXPECT_EQ(lnk::LinkAliveCountdown(), 0u);

  // The controller answers again: the cycle after the first heard request reads the answer,
  // 700 ms after this one. It is chosen so that the next tick after it is a tenth-second tick
  // only, not also a whole second's.
  ASSERT_TRUE(StepUntil(2000, [&] { return cycled_ && (SinceStartMs() + 700) % 1000 < 800; }));
  server_.SetSilent(false);
  ASSERT_TRUE(StepUntil(1500, [] { return lnk::LinkAliveCountdown() == lnk::kLinkAliveSeconds; }));
  EXPECT_FALSE(requests_.back().request.unheard);
  EXPECT_TRUE(WarningVisible()) << "no tenth-second tick has run since the frame";
  const uint32_t tenth = shell::Ticks().tenthTicks;
  ASSERT_TRUE(StepUntil(200, [&] {
    if (shell::Ticks().tenthTicks == tenth) {
      EXPECT_TRUE(WarningVisible()) << ElapsedMs();
    }
    return shell::Ticks().tenthTicks != tenth;
  }));
  EXPECT_EQ(shell::Ticks().tenthTicks, tenth + 1);
  EXPECT_NE(SinceStartMs() % 1000, 0u);
  EXPECT_FALSE(WarningVisible());
  EXPECT_TRUE(lnk::LinkConnected());
}

TEST_F(PanelWithSimulator, WarningReportedBySimulatorIsShownWithItsTextAndRecordedOnce) {
  paced_ = true;
  ASSERT_TRUE(StepFor(1000));
  EXPECT_FALSE(WarningVisible());
  ASSERT_EQ(records::ReadHistoryCount(), 0u);

  // Fan/heater 1 reports its fan motor overload from second S to second T of the simulator.
  SimFaults faults;
  faults.warningNode = 2;
  faults.warningId = 1;
  faults.warningFromS = SimulatorSeconds() + 1.0;
  faults.warningToS = faults.warningFromS + 3.0;
  server_.SetFaults(faults);

  auto reported = [] { return lnk::ReadStatusByte(lnk::kStatusWarningNode) == 2 && lnk::ReadStatusByte(lnk::kStatusWarningId) == 1; };
  ASSERT_TRUE(StepUntil(10000, reported));
  ASSERT_TRUE(StepUntil(100, [&] { return WarningVisible(); }));

  char16_t expected[i18n::kWarningDestUnits] = {};
  i18n::GetWarningText(2, 1, expected);
  ASSERT_EQ(Narrow(expected).substr(0, 4), "0201");
  // Shown for as long as the controller reports it, with its text.
  int framesCarrying = 0;
  bool textDrawn = false;
  size_t seen = requests_.size();
  ASSERT_TRUE(StepUntil(10000, [&] {
    if (DrawnByWarningWindow(Narrow(expected).c_str()) != nullptr) textDrawn = true;
    if (requests_.size() != seen) {
      seen = requests_.size();
      if (reported()) ++framesCarrying;
    }
    if (reported()) {
      EXPECT_TRUE(WarningVisible()) << ElapsedMs();
    }
    return lnk::ReadStatusByte(lnk::kStatusWarningId) == 0;
  }));
  EXPECT_TRUE(textDrawn);
  EXPECT_GE(framesCarrying, 4) << "three seconds of frames carried the warning";

  // Cleared: down on the next tenth-second tick.
  EXPECT_EQ(lnk::ReadStatusByte(lnk::kStatusWarningNode), 0);
  const uint32_t tenth = shell::Ticks().tenthTicks;
  ASSERT_TRUE(StepUntil(200, [&] { return shell::Ticks().tenthTicks != tenth; }));
  EXPECT_FALSE(WarningVisible());

  // One row however many frames carried it, with the panel's own date.
  ASSERT_EQ(records::ReadHistoryCount(), 1u);
  records::HistoryRow rows[4];
  ASSERT_EQ(records::FillHistoryList(records::HistorySort::ByDateTime, rows, 4), 1);
  EXPECT_EQ(Narrow(rows[0].description), Narrow(expected));
  EXPECT_EQ(Narrow(rows[0].node), "FAN/HEATER #1");
  EXPECT_EQ(Narrow(rows[0].date), "Mar 07, 2016");
  EXPECT_TRUE(lnk::LinkConnected());
  for (const SentRequest& r : requests_) EXPECT_NE(r.request.kind, SimRequestKind::Resync);
}

}  // namespace
