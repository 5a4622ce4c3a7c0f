// The one-second and tenth-second ticks on the virtual clock: the clock request, the link
// watch and the warning window, the batch restart latches, the auto-start message and the
// held-arrow repeat.
#include <algorithm>
#include <atomic>
#include <cstring>
#include <set>
#include <string>
#include <thread>
#include <tuple>
#include <vector>

#include "dialogs/MeterRollDialog.h"
#include "link/Framing.h"

#include "link/RegisterMap.h"
#include "link/StatusDecoder.h"
#include "platform/Controls.h"
#include "platform/Dialog.h"
#include "records/LongTermLog.h"
#include "records/StorageNotice.h"
#include "screens/BatchTimerLogic.h"
#include "screens/Screens.h"
#include "tests/shell/PanelTestSupport.h"

namespace {

using paneltest::PanelTest;
using shell::Screen;

constexpr int kClockMinute = 53;
constexpr int kClockHour = 54;
constexpr int kClockDay = 55;
constexpr int kClockMonth = 56;
constexpr int kClockYear = 57;

TEST_F(PanelTest, ClockGoesOutEverySecondWithTheTwoDigitYear) {
  // The link thread lowers the one-shot flag when it sends; the values stay in the request.
  plat::RunFor(1000);
  EXPECT_EQ(lnk::ReadRequestByte(kClockMinute), 20);
  EXPECT_EQ(lnk::ReadRequestByte(kClockHour), 10);
  EXPECT_EQ(lnk::ReadRequestByte(kClockDay), 7);
  EXPECT_EQ(lnk::ReadRequestByte(kClockMonth), 3);
  EXPECT_EQ(lnk::ReadRequestByte(kClockYear), 16);
  EXPECT_EQ(shell::Ticks().secondTicks, 1u);
  // 10:20:31 + 29 s is 10:21:00: the next request carries the new minute.
  plat::RunFor(29000);
  EXPECT_EQ(shell::Ticks().secondTicks, 30u);
  EXPECT_EQ(lnk::ReadRequestByte(kClockMinute), 21);
}

// The clock values go in before the flag rises. The observer runs the builder
// at the very moment the clock row is raised, as the link thread could; a tick that raised the
// flag first and wrote the new minute after would hand it the previous minute.
struct ClockSeen {
  int minute = -1;
  int hour = -1;
  int frames = 0;
};
ClockSeen g_clockSeen;

void BuildAtTheRaise(lnk::CommandRow row) {
  if (row != lnk::CommandRow::Clock) return;
  uint8_t tx[lnk::kTransmitBufferLength];
  if (!lnk::BuildCommandFrame(tx)) return;
  for (int pos = 2, i = 0; i < tx[1]; ++i) {
    if (tx[pos] == 0 && tx[pos + 1] == kClockMinute) {
      g_clockSeen.minute = tx[pos + 3];
      g_clockSeen.hour = tx[pos + 4];
      ++g_clockSeen.frames;
    }
    pos += 3 + tx[pos + 2];
  }
}

TEST_F(PanelTest, ClockValuesAreWrittenBeforeTheFlagRises) {
  lnk::SetRaiseObserver(BuildAtTheRaise);
  for (int tick = 0; tick < 5; ++tick) {
    plat::AdvanceVirtualClock(60000);  // a new minute before every tick
    plat::LocalTime t;
    plat::GetLocalTime(t);
    g_clockSeen = ClockSeen{};
    shell::OneSecondTick();
    EXPECT_EQ(g_clockSeen.frames, 1) << "tick " << tick;
    EXPECT_EQ(g_clockSeen.minute, t.minute) << "tick " << tick;
    EXPECT_EQ(g_clockSeen.hour, t.hour) << "tick " << tick;
  }
  lnk::SetRaiseObserver(nullptr);
}

// The same with a builder on its own thread while the ticks cross a minute each: every clock it
// sends is one a tick wrote (never a mix of two) and none twice.
TEST_F(PanelTest, ClockItemsUnderAConcurrentBuilderAreWholeAndSentOnce) {
  std::atomic<bool> stop{false};
  std::vector<std::tuple<int, int, int>> sent;
  std::thread builder([&] {
    uint8_t tx[lnk::kTransmitBufferLength];
    while (!stop.load()) {
      if (!lnk::BuildCommandFrame(tx)) continue;
      for (int pos = 2, i = 0; i < tx[1]; ++i) {
        if (tx[pos] == 0 && tx[pos + 1] == kClockMinute) sent.emplace_back(tx[pos + 5], tx[pos + 4], tx[pos + 3]);
        pos += 3 + tx[pos + 2];
      }
    }
  });
  constexpr int kTicks = 500;
  std::set<std::tuple<int, int, int>> written;
  for (int i = 0; i < kTicks; ++i) {
    plat::AdvanceVirtualClock(60000);
    plat::LocalTime t;
    plat::GetLocalTime(t);
    written.emplace(t.day, t.hour, t.minute);
    shell::OneSecondTick();
    // Let the builder take this second's clock before the next tick (bounded for a busy machine).
    for (int spin = 0; spin < 1000000 && lnk::IsPending(lnk::CommandRow::Clock); ++spin) std::this_thread::yield();
  }
  stop = true;
  builder.join();
  std::set<std::tuple<int, int, int>> seen;
  for (const auto& c : sent) {
    EXPECT_TRUE(written.count(c)) << "a clock no tick wrote";
    EXPECT_TRUE(seen.insert(c).second) << "a clock sent twice: the flag rose over old values";
  }
  EXPECT_FALSE(sent.empty());
}

bool WarningCaptionIsConnectionLost(plat::Hwnd warning) {
  const std::u16string caption = plat::GetWindowText(warning);
  return caption.find(u"CONNECTION TO DRYER LOST") != std::u16string::npos;
}

TEST_F(PanelTest, LostLinkShowsTheWarningWindowAtTheTenthSilentSecond) {
  // The silent port never answers: the countdown of 10 runs out at the tenth tick. Until then
  // the window only says that the panel waits for the dryer.
  plat::RunFor(9000);
  EXPECT_EQ(lnk::LinkAliveCountdown(), 1u);
  EXPECT_FALSE(WarningCaptionIsConnectionLost(Window(Screen::Warning)));
  plat::RunFor(1100);
  EXPECT_EQ(lnk::LinkAliveCountdown(), 0u);
  EXPECT_TRUE(Visible(Screen::Warning));
  EXPECT_TRUE(WarningCaptionIsConnectionLost(Window(Screen::Warning)));
}

TEST_F(PanelTest, UntilTheFirstFrameTheScreensSayTheyWaitForTheDryerInsteadOfPresetReadings) {
  plat::StartTextCapture();
  plat::RunFor(2000);
  const char* waiting = "WAITING FOR THE DRYER";
  EXPECT_NE(plat::FindCapturedText(waiting, Window(Screen::RightStatusBar)), nullptr);
  EXPECT_EQ(plat::FindCapturedText("DRYER STOPPED", Window(Screen::RightStatusBar)), nullptr);
  // The warning window covers the dryer picture and its preset zeros.
  EXPECT_TRUE(Visible(Screen::Warning));
  EXPECT_NE(plat::FindCapturedText(waiting, Window(Screen::Warning)), nullptr);

  uint8_t frame[lnk::kStatusFrameLength] = {};
  frame[lnk::kStatusRunFlags] = 0xA0;
  lnk::DecodeStatusFrame(frame);
  plat::RunFor(400);
  plat::ClearCapturedText();
  plat::RunFor(400);
  EXPECT_FALSE(Visible(Screen::Warning));
  EXPECT_EQ(plat::FindCapturedText(waiting), nullptr);
  EXPECT_GT(plat::CapturedTextCount(), 0);
  plat::StopTextCapture();
}

TEST_F(PanelTest, WarningCodeShowsTheWarningWindowAndClearingItHidesIt) {
  uint8_t answered[lnk::kStatusFrameLength] = {};
  lnk::DecodeStatusFrame(answered);  // the dryer has answered once
  lnk::WriteStatusByte(lnk::kStatusWarningNode, 14);
  lnk::WriteStatusByte(lnk::kStatusWarningId, 5);
  plat::RunFor(100);
  EXPECT_TRUE(Visible(Screen::Warning));
  plat::RunFor(700);
  EXPECT_TRUE(Visible(Screen::Warning));
  lnk::WriteStatusByte(lnk::kStatusWarningNode, 0);
  lnk::WriteStatusByte(lnk::kStatusWarningId, 0);
  plat::RunFor(100);
  EXPECT_FALSE(Visible(Screen::Warning));
}

struct Asked {
  uint64_t atMs;
  shell::TickQuestion which;
  std::u16string text;
};
std::vector<Asked> gAsked;
int gAnswer = plat::IdNo;

int RecordQuestion(shell::TickQuestion which, const char16_t* text, const char16_t*) {
  gAsked.push_back(Asked{plat::NowMs(), which, text});
  return gAnswer;
}

class BatchHoldTest : public PanelTest {
 protected:
  void SetUp() override {
    PanelTest::SetUp();
    gAsked.clear();
    gAnswer = plat::IdNo;
    shell::SetTickAsker(RecordQuestion);
    uint8_t answered[lnk::kStatusFrameLength] = {};
    lnk::DecodeStatusFrame(answered);  // the dryer has answered: its screens are no longer covered
    lnk::WriteStatusByte(lnk::kStatusDryerType, 3);
    lnk::WriteStatusByte(lnk::kStatusHiHeatTime, 45);
    lnk::WriteStatusByte(lnk::kStatusHiHeatTime + 1, 30);
    shell::ApplyView();
    ASSERT_TRUE(Visible(Screen::BatchDrying));
    batch_ = Window(Screen::BatchDrying);
    hiHeat_ = plat::GetDlgItem(batch_, kBatchCommandHiHeat);
    if (hiHeat_ == plat::kNoWindow)
      hiHeat_ = plat::CreateControl(batch_, plat::ControlKind::PushButton, kBatchCommandHiHeat,
                                    plat::RectXywh(7, 55, 110, 25), "HI HEAT", 0);
    plat::ShowWindow(hiHeat_, true);
    plat::BringWindowToTop(hiHeat_);
    const plat::Rect r = plat::GetWindowRect(hiHeat_);
    cx_ = (r.left + r.right) / 2;
    cy_ = (r.top + r.bottom) / 2;
  }
  // Pressing holds the button; letting go slides off it first, so the release is no click (a
  // click opens the timer keypad).
  void Hold(bool down) {
    if (!down) plat::HeadlessInjectTouch(5, 5, true);
    plat::HeadlessInjectTouch(down ? cx_ : 5, down ? cy_ : 5, down);
    plat::PumpUntilIdle();
  }
  plat::Hwnd batch_ = plat::kNoWindow;
  plat::Hwnd hiHeat_ = plat::kNoWindow;
  int cx_ = 0;
  int cy_ = 0;
};

TEST_F(BatchHoldTest, HeldForTwoTicksAsksOnceThenAgainTwoTicksAfterTheAnswer) {
  plat::RunFor(500);  // half-way between ticks
  Hold(true);
  ASSERT_TRUE(plat::IsButtonHeld(hiHeat_));
  plat::RunFor(1000);  // tick 1 sees it held: nothing yet
  EXPECT_TRUE(gAsked.empty());
  plat::RunFor(1000);  // tick 2: the question
  ASSERT_EQ(gAsked.size(), 1u);
  EXPECT_EQ(gAsked[0].which, shell::TickQuestion::BatchRestart);
  EXPECT_EQ(gAsked[0].atMs % 1000, 0u);
  plat::RunFor(1000);
  EXPECT_EQ(gAsked.size(), 1u);
  plat::RunFor(1000);
  ASSERT_EQ(gAsked.size(), 2u);
  EXPECT_EQ(gAsked[1].atMs - gAsked[0].atMs, 2000u);
  EXPECT_FALSE(lnk::IsPending(lnk::CommandRow::HiHeatCountdownReset));  // both answered No

  // Let go for a tick, hold again for a single tick: nothing.
  Hold(false);
  plat::RunFor(1000);
  Hold(true);
  plat::RunFor(1000);
  EXPECT_EQ(gAsked.size(), 2u);
}

TEST_F(BatchHoldTest, YesRestartsTheCountdownFromThePresetAndTheQuestionCarriesIt) {
  gAnswer = plat::IdYes;
  plat::RunFor(500);
  Hold(true);
  plat::RunFor(2000);
  ASSERT_EQ(gAsked.size(), 1u);
  Hold(false);
  EXPECT_TRUE(lnk::IsPending(lnk::CommandRow::HiHeatCountdownReset));
  EXPECT_EQ(lnk::ReadRequestByte(lnk::kStatusHiHeatCountdown), 45);
  EXPECT_EQ(lnk::ReadRequestByte(lnk::kStatusHiHeatCountdown + 1), 30);
  // The translated question is a format filled by the bounded formatter, never printf.
  char16_t format[i18n::kStringDestUnits];
  i18n::GetString(BatchHoldQuestionId(BatchHoldGroup::Heat, false), format);
  if (format[0] != 0) {
    EXPECT_NE(gAsked[0].text.find(u"45"), std::u16string::npos);
    EXPECT_EQ(gAsked[0].text.find(u"%d"), std::u16string::npos);
  }
}

TEST_F(PanelTest, AutoStartFinishedIsAnnouncedOnceAndOkRecordsIt) {
  gAsked.clear();
  gAnswer = plat::IdOk;
  shell::SetTickAsker(RecordQuestion);
  lnk::WriteStatusByte(lnk::kStatusOptionWithdraw, lnk::kOptionWithdrawBit);
  plat::RunFor(3000);
  ASSERT_EQ(gAsked.size(), 1u);
  EXPECT_EQ(gAsked[0].which, shell::TickQuestion::AutoStartFinished);
  EXPECT_FALSE(gAsked[0].text.empty());
}

// A storage condition met on another thread is told once, on the tick, and again only when it
// changes.
TEST_F(PanelTest, StorageConditionIsToldOncePerChange) {
  gAsked.clear();
  gAnswer = plat::IdOk;
  shell::SetTickAsker(RecordQuestion);
  records::ResetStorageNotice();
  std::thread other([] { records::ReportStorageCondition(records::StorageCondition::HistoryNotWritable); });
  other.join();
  plat::RunFor(3000);
  ASSERT_EQ(gAsked.size(), 1u);
  EXPECT_EQ(gAsked[0].which, shell::TickQuestion::StorageNotice);
  records::ReportStorageCondition(records::StorageCondition::HistoryNotWritable);
  plat::RunFor(2000);
  EXPECT_EQ(gAsked.size(), 1u);
  records::ReportStorageCondition(records::StorageCondition::HistoryStartedAfresh);
  plat::RunFor(1000);
  ASSERT_EQ(gAsked.size(), 2u);
  EXPECT_EQ(gAsked[1].which, shell::TickQuestion::StorageNotice);
  records::ResetStorageNotice();
}

std::u16string Wide(const char* text) { return std::u16string(text, text + std::strlen(text)); }

int LongTermLines() {
  plat::FileHandle f;
  if (plat::OpenFile(records::kLongTermPath, plat::OpenMode::Read, f) != plat::FileResult::Ok) return 0;
  char chunk[4096];
  size_t got = 0;
  int lines = 0;
  while (plat::ReadFile(f, chunk, sizeof chunk, got) == plat::FileResult::Ok && got > 0)
    lines += static_cast<int>(std::count(chunk, chunk + got, '\n'));
  plat::CloseFile(f);
  return lines;
}

// A card that fills while the dryer runs with the logger on: the box comes once, not every
// second, and once more when the card takes writes again; the lines logged meanwhile reach it.
TEST_F(PanelTest, FullCardIsToldOnceAndAgainWhenItTakesWritesAgain) {
  gAsked.clear();
  gAnswer = plat::IdOk;
  shell::SetTickAsker(RecordQuestion);
  lnk::WriteStatusByte(lnk::kStatusRunFlags2, lnk::kRunFlags2Running);
  lnk::WriteStatusByte(lnk::kStatusDataLogger, 1);
  plat::InjectFileFault(plat::FileOp::Write, 1, plat::FileResult::NoSpace, true);
  plat::RunFor(30000);
  ASSERT_EQ(gAsked.size(), 1u);
  EXPECT_EQ(gAsked[0].which, shell::TickQuestion::StorageNotice);
  EXPECT_NE(gAsked[0].text.find(u"The storage card is full: data logs and the shutdown history are not being "
                                u"recorded."),
            std::u16string::npos);
  EXPECT_EQ(gAsked[0].text, Wide(records::StorageNoticeTextOf(records::StorageCondition::CardFull).text));
  EXPECT_EQ(LongTermLines(), 0);

  plat::ClearFileFaults();
  plat::RunFor(15000);
  ASSERT_EQ(gAsked.size(), 2u);
  EXPECT_EQ(gAsked[1].which, shell::TickQuestion::StorageNotice);
  EXPECT_EQ(gAsked[1].text, Wide(records::StorageNoticeTextOf(records::StorageCondition::WritableAgain).text));
  EXPECT_EQ(LongTermLines(), 4);  // the steps of seconds 1, 13, 25 and 37
  plat::RunFor(5000);
  EXPECT_EQ(gAsked.size(), 2u);
}

// A stand-in for the meter-roll dialog (166): its INCREASE arrow is held from 300 ms after
// opening for `holdMs`, and every command it gets is timed.
constexpr int kIncrease = dialogs::kMeterRollIncrease;
constexpr uint32_t kPressTimer = 1;
constexpr uint32_t kReleaseTimer = 2;
uint32_t gHoldMs = 0;
std::vector<uint64_t> gIncreases;
uint64_t gPressedAt = 0;

constexpr plat::DialogControl kArrowControls[] = {
    {.kind = plat::ControlKind::PushButton, .id = kIncrease, .rect = plat::RectXywh(20, 20, 80, 40),
     .text = "INCREASE"},
};
constexpr plat::DialogTemplate kArrowDialog{.id = dialogs::kMeterRollDialogId, .caption = "ARROWS", .rect = plat::RectXywh(0, 0, 200, 120),
                                            .controls = kArrowControls, .count = 1};

void TouchArrow(plat::Hwnd dialog, bool down) {
  const plat::Rect r = plat::GetWindowRect(plat::GetDlgItem(dialog, kIncrease));
  plat::HeadlessInjectTouch((r.left + r.right) / 2, (r.top + r.bottom) / 2, down);
}

bool ArrowProc(plat::Hwnd dialog, plat::Msg msg, plat::WParam w, plat::LParam) {
  switch (msg) {
    case plat::Msg::InitDialog:
      plat::SetTimer(dialog, kPressTimer, 300);
      return true;
    case plat::Msg::Timer:
      if (w == kPressTimer) {
        plat::KillTimer(dialog, kPressTimer);
        TouchArrow(dialog, true);
        gPressedAt = plat::NowMs();
        plat::SetTimer(dialog, kReleaseTimer, gHoldMs);
      } else if (w == kReleaseTimer) {
        TouchArrow(dialog, false);
        plat::KillTimer(dialog, kReleaseTimer);
        plat::SetTimer(dialog, kPressTimer + 10, 50);
      } else {
        plat::EndDialog(dialog, plat::IdOk);
      }
      return true;
    case plat::Msg::Command:
      if (plat::CommandId(w) == kIncrease) gIncreases.push_back(plat::NowMs() - gPressedAt);
      return true;
    default:
      return false;
  }
}

int ArrowActionsWhenHeldFor(uint32_t holdMs) {
  gHoldMs = holdMs;
  gIncreases.clear();
  plat::DialogBox(screens::MainWindow(), kArrowDialog, ArrowProc, 0);
  return static_cast<int>(gIncreases.size());
}

TEST_F(PanelTest, HeldArrowRepeatsEvery100MsAfterHalfASecond) {
  plat::RunFor(50);  // the press lands between two tenth ticks
  EXPECT_EQ(ArrowActionsWhenHeldFor(400), 1);  // the click alone
  const int actions = ArrowActionsWhenHeldFor(1000);
  EXPECT_GE(actions, 5);
  EXPECT_LE(actions, 7);
  ASSERT_GE(gIncreases.size(), 3u);
  EXPECT_GE(gIncreases[0], 500u);
  EXPECT_LE(gIncreases[0], 700u);
  EXPECT_EQ(gIncreases[1] - gIncreases[0], 100u);
  EXPECT_EQ(gIncreases[2] - gIncreases[1], 100u);
}

}  // namespace
