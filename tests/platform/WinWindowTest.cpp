// Windows, z-order, painting and the message queue, through the headless display.
#include <atomic>
#include <cstdlib>
#include <string>
#include <thread>

#include "WinSupport.h"

// SDL's video start keeps a D-Bus allocation for the life of the process, even when it fails;
// the leak checker of the sanitizer build is told so.
extern "C" const char* __lsan_default_suppressions() { return "leak:libdbus-1.so\n"; }

namespace wintest {
namespace {

using WinWindowTest = HeadlessTest;

constexpr Color kRed = Rgb(200, 0, 0);
constexpr Color kBlue = Rgb(0, 0, 200);
constexpr Color kGreen = Rgb(0, 160, 0);

Hwnd Child(Hwnd parent, const char* cls, Rect r, WindowFlags extra = 0, int id = 0) {
  return CreateWindow(WindowDesc{.className = cls, .parent = parent, .rect = r,
                                 .flags = WindowFlag::Visible | extra, .id = id});
}

class WinZOrderTest : public HeadlessTest {
 protected:
  void SetUp() override {
    HeadlessTest::SetUp();
    RegisterRecorder();
    RegisterClass(WindowClass{.name = "RED", .proc = DefWindowProc, .background = kRed});
    RegisterClass(WindowClass{.name = "BLUE", .proc = DefWindowProc, .background = kBlue});
    RegisterClass(WindowClass{.name = "GREEN", .proc = DefWindowProc, .background = kGreen});
    main = MakeMain();
  }
  Hwnd main = kNoWindow;
};

TEST_F(WinZOrderTest, LastCreatedChildIsOnTopAndHidingUncoversTheOneBelow) {
  Hwnd red = Child(main, "RED", RectXywh(100, 100, 200, 200));
  Hwnd blue = Child(main, "BLUE", RectXywh(150, 150, 200, 200));
  PumpUntilIdle();
  EXPECT_EQ(WindowFromPoint(200, 200), blue);
  EXPECT_EQ(WindowFromPoint(120, 120), red);
  EXPECT_EQ(ScreenAt(200, 200), kBlue);
  EXPECT_EQ(ScreenAt(120, 120), kRed);
  EXPECT_EQ(ScreenAt(50, 50), Rgb(0, 0, 0));

  ShowWindow(blue, false);
  PumpUntilIdle();
  EXPECT_EQ(WindowFromPoint(200, 200), red);
  EXPECT_EQ(ScreenAt(200, 200), kRed);
  EXPECT_EQ(ScreenAt(320, 320), Rgb(0, 0, 0));  // blue's own part is gone, not left behind

  ShowWindow(blue, true);
  PumpUntilIdle();
  EXPECT_EQ(ScreenAt(200, 200), kBlue);
}

TEST_F(WinZOrderTest, TopmostChildStaysAboveLaterSiblingsUntilHidden) {
  Hwnd top = Child(main, "GREEN", RectXywh(0, 0, 640, 475), WindowFlag::Topmost);
  Hwnd later = Child(main, "BLUE", RectXywh(100, 100, 100, 100));
  PumpUntilIdle();
  EXPECT_EQ(WindowFromPoint(150, 150), top);
  EXPECT_EQ(ScreenAt(150, 150), kGreen);
  BringWindowToTop(later);  // raised, but still under the topmost one
  PumpUntilIdle();
  EXPECT_EQ(ScreenAt(150, 150), kGreen);
  ShowWindow(top, false);
  PumpUntilIdle();
  EXPECT_EQ(WindowFromPoint(150, 150), later);
  EXPECT_EQ(ScreenAt(150, 150), kBlue);
}

TEST_F(WinZOrderTest, RepaintOfACoveredWindowDoesNotPaintOverTheWindowAboveIt) {
  Hwnd red = Child(main, "RED", RectXywh(0, 0, 300, 300));
  Child(main, "BLUE", RectXywh(100, 100, 100, 100));
  PumpUntilIdle();
  InvalidateRect(red, nullptr, true);
  PumpUntilIdle();
  EXPECT_EQ(ScreenAt(150, 150), kBlue);
  EXPECT_EQ(ScreenAt(50, 50), kRed);
}

TEST_F(WinZOrderTest, HiddenParentHidesChildrenAndDisabledWindowsPassTouchesOn) {
  Hwnd panel = Child(main, "RED", RectXywh(0, 0, 300, 300));
  Hwnd inner = Child(panel, "BLUE", RectXywh(10, 10, 50, 50));
  EXPECT_TRUE(IsWindowVisible(inner));
  ShowWindow(panel, false);
  EXPECT_FALSE(IsWindowVisible(inner));
  EXPECT_EQ(WindowFromPoint(20, 20), main);
  ShowWindow(panel, true);
  EnableWindow(inner, false);
  EXPECT_EQ(WindowFromPoint(20, 20), panel);
}

TEST_F(WinZOrderTest, CaptionBarShrinksTheClientAreaAndShowsTheTitle) {
  Hwnd w = CreateWindow(WindowDesc{.className = "RED", .title = " SYSTEM STATUS", .parent = main,
                                   .rect = RectXywh(0, 0, 240, 420),
                                   .flags = WindowFlag::Visible | WindowFlag::Caption});
  EXPECT_EQ(GetClientRect(w), (Rect{0, 0, 240, 420 - kCaptionHeight}));
  Hwnd button = Child(w, "BLUE", RectXywh(0, 0, 20, 20));
  EXPECT_EQ(GetWindowRect(button), RectXywh(0, kCaptionHeight, 20, 20));
  StartTextCapture();
  PumpUntilIdle();
  const CapturedText* title = FindCapturedText("SYSTEM STATUS", w);
  ASSERT_NE(title, nullptr);
  EXPECT_LT(title->rect.top, kCaptionHeight);
  EXPECT_EQ(ScreenAt(200, 5), kCaptionColor);
}

TEST_F(WinWindowTest, DestroySendsDestroyToChildrenAndKillsHandles) {
  RegisterRecorder();
  Hwnd main = MakeMain();
  Hwnd child = Child(main, "REC", RectXywh(0, 0, 10, 10));
  Hwnd grandchild = Child(child, "REC", RectXywh(0, 0, 5, 5));
  EXPECT_EQ(g_rec.creates, 3);
  SetTimer(child, 7, 100);
  DestroyWindow(child);
  EXPECT_EQ(g_rec.destroys, 2);
  EXPECT_FALSE(IsWindow(child));
  EXPECT_FALSE(IsWindow(grandchild));
  EXPECT_TRUE(IsWindow(main));
  // A new window may reuse the slot, but never the handle.
  Hwnd again = Child(main, "REC", RectXywh(0, 0, 10, 10));
  EXPECT_NE(again, child);
  EXPECT_TRUE(PostMessage(child, UserMessage(1)));
  PumpUntilIdle();
  EXPECT_EQ(g_rec.user, 0);  // dropped: its window is gone
  EXPECT_FALSE(KillTimer(child, 7));
}

TEST_F(WinWindowTest, FindWindowByClassAndTitle) {
  RegisterRecorder();
  RegisterClass(WindowClass{.name = "WARNING_WINDOW", .proc = DefWindowProc, .background = kRed});
  Hwnd main = MakeMain();
  Hwnd warning = CreateWindow(WindowDesc{.className = "WARNING_WINDOW", .title = "W", .parent = main,
                                         .rect = RectXywh(10, 20, 600, 325)});
  EXPECT_EQ(FindWindow("WARNING_WINDOW"), warning);
  EXPECT_EQ(FindWindow("WARNING_WINDOW", "W"), warning);
  EXPECT_EQ(FindWindow("WARNING_WINDOW", "X"), kNoWindow);
  EXPECT_EQ(FindWindow("REC", "main"), main);
  EXPECT_EQ(FindWindow("NOPE"), kNoWindow);
  EXPECT_EQ(CreateWindow(WindowDesc{.className = "NOPE", .rect = RectXywh(0, 0, 9, 9)}), kNoWindow);
}

TEST_F(WinWindowTest, InvalidationsBeforeAPaintArriveAsOnePaintOfTheirUnion) {
  RegisterRecorder();
  Hwnd main = MakeMain();
  Hwnd w = Child(main, "REC", RectXywh(100, 100, 300, 200));
  PumpUntilIdle();
  g_rec.paints = 0;
  Rect a{10, 10, 20, 20};
  Rect b{50, 40, 60, 80};
  InvalidateRect(w, &a, false);
  InvalidateRect(w, &b, false);
  InvalidateRect(w, &a, false);
  PumpUntilIdle();
  EXPECT_EQ(g_rec.paints, 1);
  EXPECT_EQ(g_rec.lastDirty, (Rect{10, 10, 60, 80}));
  EXPECT_FALSE(g_rec.lastErase);
  PumpUntilIdle();
  EXPECT_EQ(g_rec.paints, 1);  // painted once, clean afterwards
  InvalidateRect(w, nullptr, true);
  PumpUntilIdle();
  EXPECT_EQ(g_rec.paints, 2);
  EXPECT_EQ(g_rec.lastDirty, (Rect{0, 0, 300, 200}));
  EXPECT_TRUE(g_rec.lastErase);
}

// Leaves a pattern on the stack where the next call's locals will be.
__attribute__((noinline)) void ScribbleOnTheStack(int seed) {
  volatile char16_t junk[512];
  for (int i = 0; i < 512; ++i) junk[i] = static_cast<char16_t>(0x5A00 + seed + i);
}

// A window that sets the same title again (a caption refreshed at every paint) must not be
// marked for another paint, whatever lies in memory after the text's terminator.
TEST_F(WinWindowTest, SettingTheSameTextAgainRepaintsNothing) {
  RegisterRecorder();
  Hwnd main = MakeMain();
  Hwnd w = Child(main, "REC", RectXywh(100, 100, 300, 200));
  SetWindowText(w, u"A LONGER TITLE THAN THE NEXT");
  SetWindowText(w, u"SHORT");
  PumpUntilIdle();
  g_rec.paints = 0;
  for (int i = 0; i < 50; ++i) {
    ScribbleOnTheStack(i);
    SetWindowText(w, u"SHORT");
    SetWindowText(w, "SHORT");
  }
  PumpUntilIdle();
  EXPECT_EQ(g_rec.paints, 0);
  SetWindowText(w, u"OTHER");
  PumpUntilIdle();
  EXPECT_EQ(g_rec.paints, 1);
}

TEST_F(WinWindowTest, TimersFireAtTheirPeriodsWithoutDrift) {
  RegisterRecorder();
  Hwnd main = MakeMain();
  uint64_t start = NowMs();
  ASSERT_TRUE(SetTimer(main, 36894, 100));
  RunFor(1000);
  ASSERT_EQ(g_rec.timers, 10);
  for (int k = 0; k < 10; ++k) EXPECT_EQ(g_rec.timerTimes[k], start + 100 * (k + 1)) << k;
  EXPECT_EQ(g_rec.lastTimerId, 36894u);
  // A late loop (here 130 ms late) does not push later ticks back, and missed periods are
  // skipped rather than delivered in a burst.
  g_rec.timers = 0;
  AdvanceVirtualClock(230);
  RunFor(370);
  // Due at 1100 and 1200: one tick at 1230, then back on the 100 ms grid.
  ASSERT_EQ(g_rec.timers, 5);
  EXPECT_EQ(g_rec.timerTimes[0], start + 1230);
  for (int k = 1; k < 5; ++k) EXPECT_EQ(g_rec.timerTimes[k], start + 1200 + 100 * k) << k;
  EXPECT_TRUE(KillTimer(main, 36894));
  RunFor(1000);
  EXPECT_EQ(g_rec.timers, 5);
}

TEST_F(WinWindowTest, TimersOfDifferentPeriodsInterleaveInDueOrder) {
  RegisterRecorder();
  Hwnd main = MakeMain();
  SetTimer(main, 36865, 175);
  SetTimer(main, 36866, 1000);
  SetTimer(main, 36894, 100);
  RunFor(1000);
  // 175 ms: 5 ticks, 1 s: 1, 100 ms: 10.
  EXPECT_EQ(g_rec.timers, 16);
  for (int k = 1; k < g_rec.timers; ++k) EXPECT_LE(g_rec.timerTimes[k - 1], g_rec.timerTimes[k]);
}

TEST_F(WinWindowTest, GetMessageWaitsForTheNextTimerInsteadOfSpinning) {
  RegisterRecorder();
  Hwnd main = MakeMain();
  PumpUntilIdle();
  SetTimer(main, 5, 250);
  uint64_t start = NowMs();
  Message m;
  EXPECT_FALSE(PeekMessage(m));
  EXPECT_EQ(NowMs(), start);  // peeking moves no clock
  ASSERT_TRUE(GetMessage(m));
  EXPECT_EQ(m.msg, Msg::Timer);
  EXPECT_EQ(m.window, main);
  EXPECT_EQ(m.wParam, 5u);
  EXPECT_EQ(NowMs(), start + 250);
  ASSERT_TRUE(GetMessage(m));
  EXPECT_EQ(NowMs(), start + 500);
}

TEST_F(WinWindowTest, PostedMessagesComeBeforeTimersAndQuitEndsTheLoop) {
  RegisterRecorder();
  Hwnd main = MakeMain();
  SetTimer(main, 1, 10);
  AdvanceVirtualClock(10);
  PostMessage(main, UserMessage(3), 11, 22);
  Message m;
  ASSERT_TRUE(GetMessage(m));
  EXPECT_EQ(m.msg, UserMessage(3));
  EXPECT_EQ(m.wParam, 11u);
  EXPECT_EQ(m.lParam, 22);
  ASSERT_TRUE(GetMessage(m));
  EXPECT_EQ(m.msg, Msg::Timer);
  PostQuitMessage(4);
  EXPECT_FALSE(GetMessage(m));
  EXPECT_EQ(ExitCode(), 4);
}

TEST_F(WinWindowTest, PostFailsWhenTheRingIsFullAndNothingIsLost) {
  RegisterRecorder();
  Hwnd main = MakeMain();
  int accepted = 0;
  for (int i = 0; i < kMaxPostedMessages + 10; ++i) accepted += PostMessage(main, UserMessage(1)) ? 1 : 0;
  EXPECT_EQ(accepted, kMaxPostedMessages);
  PumpUntilIdle();
  EXPECT_EQ(g_rec.user, kMaxPostedMessages);
}

TEST_F(WinWindowTest, PostsAndInvalidationsFromAnotherThreadAllArrive) {
  RegisterRecorder();
  Hwnd main = MakeMain();
  Hwnd w = Child(main, "REC", RectXywh(0, 0, 100, 100));
  PumpUntilIdle();
  g_rec.paints = 0;
  constexpr int kPosts = 3000;
  std::atomic<bool> done{false};
  std::thread link([&] {
    for (int i = 0; i < kPosts; ++i) {
      while (!PostMessage(main, UserMessage(2))) std::this_thread::yield();
      Rect r{i % 90, 0, i % 90 + 10, 10};
      InvalidateRect(w, &r, false);
    }
    done.store(true);
  });
  Message m;
  // The posts wake the loop; no timer is set, so GetMessage can only return for them.
  while (g_rec.user < kPosts) {
    ASSERT_TRUE(GetMessage(m));
    DispatchMessage(m);
  }
  link.join();
  PumpUntilIdle();
  EXPECT_TRUE(done.load());
  EXPECT_EQ(g_rec.user, kPosts);
  EXPECT_GE(g_rec.paints, 1);
  EXPECT_LE(g_rec.paints, kPosts);
}

TEST_F(WinWindowTest, TouchesGoToTheWindowThatTookTheTouchDown) {
  RegisterRecorder();
  Hwnd main = MakeMain();
  Hwnd a = Child(main, "REC", RectXywh(100, 100, 50, 50));
  HeadlessInjectTouch(110, 120, true);
  PumpUntilIdle();
  EXPECT_EQ(g_rec.touches, 1);
  EXPECT_EQ(g_rec.lastTouch, (Point{10, 20}));  // client coordinates
  EXPECT_EQ(WindowFromPoint(110, 120), a);
  HeadlessInjectTouch(400, 400, true);  // a move far outside still goes to it
  HeadlessInjectTouch(400, 400, false);
  EXPECT_EQ(PumpUntilIdle(), 2);
}

TEST_F(WinWindowTest, QueuedMovesMergeSoAFastFingerNeverLosesItsTouchUp) {
  RegisterRecorder();
  MakeMain();
  HeadlessInjectTouch(10, 10, true);
  for (int i = 0; i < 3 * kMaxPostedMessages; ++i) HeadlessInjectTouch(10 + i % 300, 10, true);
  HeadlessInjectTouch(50, 60, false);
  EXPECT_EQ(PumpUntilIdle(), 3);  // down, the last move, up
  EXPECT_EQ(g_rec.touches, 1);
}

// Restores an environment variable when the test ends.
class EnvGuard {
 public:
  explicit EnvGuard(const char* name) : name_(name) {
    const char* v = std::getenv(name);
    if (v != nullptr) {
      had_ = true;
      value_ = v;
    }
  }
  ~EnvGuard() {
    if (had_) {
      setenv(name_, value_.c_str(), 1);
    } else {
      unsetenv(name_);
    }
  }

 private:
  const char* name_;
  bool had_ = false;
  std::string value_;
};

TEST(WinDisplayChoiceTest, HeadlessWhenThereIsNoDisplayOrItCannotBeOpened) {
  EnvGuard display("DISPLAY");
  EnvGuard wayland("WAYLAND_DISPLAY");
  EnvGuard driver("SDL_VIDEODRIVER");
  unsetenv("WAYLAND_DISPLAY");
  unsetenv("DISPLAY");
  EXPECT_EQ(OpenDisplay(DisplayOptions{}), DisplayKind::Headless);
  CloseDisplay();
  // Named, but nothing answers there: SDL fails and the panel still runs.
  setenv("DISPLAY", ":9999", 1);
  setenv("SDL_VIDEODRIVER", "x11", 1);
  EXPECT_EQ(OpenDisplay(DisplayOptions{}), DisplayKind::Headless);
  EXPECT_EQ(ActiveDisplay(), DisplayKind::Headless);
  CloseDisplay();
  EXPECT_EQ(ActiveDisplay(), DisplayKind::None);
}

}  // namespace
}  // namespace wintest
