// Modal dialogs: the nested loop, placement, input refusal, held buttons and owner drawing.
#include "WinSupport.h"
#include "platform/Dialog.h"
#include "platform/MessageBox.h"
#include "platform/Script.h"

namespace wintest {
namespace {

constexpr int kOkId = 1;
constexpr int kNestedId = 10;
constexpr int kArrowId = 1047;
constexpr int kMainButtonId = 5;

constexpr DialogControl kOkControls[] = {
    {.kind = ControlKind::PushButton, .id = kOkId, .rect = RectXywh(20, 20, 100, 40), .text = "OK"},
    {.kind = ControlKind::PushButton, .id = kNestedId, .rect = RectXywh(20, 70, 100, 40),
     .text = "MORE"},
    {.kind = ControlKind::PushButton, .id = kArrowId, .rect = RectXywh(130, 20, 60, 60),
     .text = "UP"},
};
constexpr DialogTemplate kOkDialog{.id = 165, .caption = "MODIFYING TIMER SETPOINT - 21",
                                   .rect = RectXywh(100, 100, 220, 150), .controls = kOkControls,
                                   .count = 3};

struct DialogLog {
  int inits = 0;
  Rect placed;
  int endedWith = 0;
  int heldTicks = 0;
  int ticks = 0;
  int nestedResult = 0;
  bool centre = false;
  bool endAtInit = false;
  bool holdArrow = false;
};
DialogLog g_log;

bool TestDialogProc(Hwnd dlg, Msg msg, WParam w, LParam l) {
  switch (msg) {
    case Msg::InitDialog:
      ++g_log.inits;
      if (g_log.centre) CenterOverParent(dlg);
      g_log.placed = GetWindowRect(dlg);
      if (g_log.endAtInit) EndDialog(dlg, 9);
      if (g_log.holdArrow) SetTimer(dlg, 1, 100);
      return true;
    case Msg::Command:
      if (CommandId(w) == kOkId) {
        EndDialog(dlg, 42);
      } else if (CommandId(w) == kNestedId) {
        g_log.nestedResult = DialogBox(dlg, kOkDialog, TestDialogProc, 0);
      }
      return true;
    case Msg::Timer: {
      // The held-arrow rule samples the button every tick while the finger stays on it.
      ++g_log.ticks;
      Point c = CenterOf(GetDlgItem(dlg, kArrowId));
      if (g_log.ticks == 2) HeadlessInjectTouch(c.x, c.y, true);
      if (g_log.ticks == 8) HeadlessInjectTouch(c.x, c.y, false);
      if (IsDlgButtonHeld(dlg, kArrowId)) ++g_log.heldTicks;
      if (g_log.ticks == 10) EndDialog(dlg, 3);
      return true;
    }
    default:
      return false;
  }
}

class WinDialogTest : public HeadlessTest {
 protected:
  void SetUp() override {
    HeadlessTest::SetUp();
    RegisterRecorder();
    g_log = DialogLog{};
    main = MakeMain();
    mainButton = CreateControl(main, ControlKind::PushButton, kMainButtonId,
                               RectXywh(500, 400, 100, 50), "MISC", 0);
    PumpUntilIdle();
  }
  Hwnd main = kNoWindow;
  Hwnd mainButton = kNoWindow;
};

TEST_F(WinDialogTest, TimersKeepFiringInsideTheNestedLoop) {
  ASSERT_TRUE(SetTimer(main, 36894, 100));
  ASSERT_EQ(StartScriptText("wait 1000\npress 1\n"), ScriptResult::Ok);
  uint64_t start = NowMs();
  EXPECT_EQ(DialogBox(main, kOkDialog, TestDialogProc, 0), 42);
  EXPECT_EQ(NowMs(), start + 1000);
  EXPECT_EQ(g_rec.timers, 10);
  EXPECT_EQ(g_log.inits, 1);
  EXPECT_EQ(FindOpenDialog(165), kNoWindow);
}

TEST_F(WinDialogTest, PlacedOverTheParentsClientAreaAndCentredWithClampingAtZero) {
  Hwnd parent = CreateWindow(WindowDesc{.className = "REC", .title = "P", .parent = main,
                                        .rect = RectXywh(100, 50, 300, 200 + kCaptionHeight),
                                        .flags = WindowFlag::Visible | WindowFlag::Caption});
  g_log.endAtInit = true;
  EXPECT_EQ(DialogBox(parent, kOkDialog, TestDialogProc, 0), 9);
  // Template position 100,100 from the client area's corner at 100, 50 + caption.
  EXPECT_EQ(g_log.placed, RectXywh(200, 150 + kCaptionHeight, 220, 150));

  g_log.centre = true;
  DialogBox(parent, kOkDialog, TestDialogProc, 0);
  EXPECT_EQ(g_log.placed, RectXywh(100 + 40, 50 + kCaptionHeight + 25, 220, 150));

  constexpr DialogTemplate kWide{.id = 2, .caption = "W", .rect = RectXywh(0, 0, 500, 300)};
  DialogBox(parent, kWide, TestDialogProc, 0);
  // 100 + (300 - 500) / 2 = 0 and 74 + (200 - 300) / 2 = 24: neither goes below 0.
  EXPECT_EQ(g_log.placed, RectXywh(0, 24, 500, 300));
  constexpr DialogTemplate kHuge{.id = 3, .caption = "H", .rect = RectXywh(0, 0, 700, 520)};
  DialogBox(parent, kHuge, TestDialogProc, 0);
  EXPECT_EQ(g_log.placed, RectXywh(0, 0, 700, 520));
  EXPECT_EQ(g_log.inits, 4);
}

// A big keypad opened from a panel low or right on the screen, a dialog centred over a narrower
// window, one that places itself off the screen: each ends wholly on the screen, shifted no
// further than it must go.
TEST_F(WinDialogTest, EveryDialogLiesWhollyOnTheScreenWhateverItsParent) {
  struct Case {
    Rect parent;  // a captioned child of the main window
    Rect dialog;  // template rectangle
    bool centre;
    Point moveTo;  // where the procedure moves itself at InitDialog, {-1, -1}: nowhere
    Rect expected;
  };
  const Case cases[] = {
      // Keypad over a panel at the bottom right, from the template's corner and centred.
      {RectXywh(240, 245, 400, 175), RectXywh(0, 0, 620, 460), false, {-1, -1},
       RectXywh(20, 20, 620, 460)},
      {RectXywh(240, 245, 400, 175), RectXywh(0, 0, 620, 460), true, {-1, -1},
       RectXywh(20, 20, 620, 460)},
      // A 432-wide dialog centred over a 400-wide window at the right edge.
      {RectXywh(240, 70, 400, 175), RectXywh(0, 0, 432, 300), true, {-1, -1},
       RectXywh(208, 20, 432, 300)},
      // A dialog that fits where the template puts it stays there.
      {RectXywh(0, 0, 400, 300), RectXywh(10, 10, 200, 100), false, {-1, -1},
       RectXywh(10, 10 + kCaptionHeight, 200, 100)},
      // Moved by its own procedure past the right and bottom edges.
      {RectXywh(0, 0, 400, 300), RectXywh(0, 0, 220, 224), false, {600, 400},
       RectXywh(420, 256, 220, 224)},
  };
  static Point moveTo;
  constexpr DialogTemplate kBase{.id = 7, .caption = "C"};
  for (const Case& c : cases) {
    Hwnd parent = CreateWindow(WindowDesc{.className = "REC", .title = "P", .parent = main,
                                          .rect = c.parent,
                                          .flags = WindowFlag::Visible | WindowFlag::Caption});
    DialogTemplate t = kBase;
    t.rect = c.dialog;
    g_log = DialogLog{.centre = c.centre};
    moveTo = c.moveTo;
    static Rect shown;
    DialogBox(parent, t, +[](Hwnd dlg, Msg msg, WParam w, LParam l) {
      if (msg == Msg::InitDialog && moveTo.x >= 0) {
        Rect r = GetWindowRect(dlg);
        MoveWindow(dlg, RectXywh(moveTo.x, moveTo.y, r.Width(), r.Height()));
      }
      if (msg == Msg::InitDialog) SetTimer(dlg, 1, 10);
      if (msg == Msg::Timer) {
        shown = GetWindowRect(dlg);
        EndDialog(dlg, 1);
        return true;
      }
      return TestDialogProc(dlg, msg, w, l);
    }, 0);
    EXPECT_EQ(shown, c.expected) << c.parent.left << "," << c.parent.top << " " << c.dialog.Width();
    DestroyWindow(parent);
  }
}

TEST_F(WinDialogTest, TouchesOutsideTheDialogAreRefusedWhileItIsOpen) {
  Point b = CenterOf(mainButton);
  char script[128];
  std::snprintf(script, sizeof script, "touch %d %d\nwait 50\npress 1\n", b.x, b.y);
  StartScriptText(script);
  EXPECT_EQ(DialogBox(main, kOkDialog, TestDialogProc, 0), 42);
  EXPECT_EQ(g_rec.commands, 0);
  // Once it has closed the same touch works again.
  HeadlessInjectTouch(b.x, b.y, true);
  HeadlessInjectTouch(b.x, b.y, false);
  PumpUntilIdle();
  EXPECT_EQ(g_rec.commands, 1);
  EXPECT_EQ(g_rec.lastCommandId, kMainButtonId);
}

TEST_F(WinDialogTest, AButtonHeldWhenADialogOpensIsReleasedWithoutAClick) {
  Point b = CenterOf(mainButton);
  HeadlessInjectTouch(b.x, b.y, true);
  PumpUntilIdle();
  ASSERT_TRUE(IsButtonHeld(mainButton));
  StartScriptText("wait 100\npress 6\n");
  EXPECT_EQ(MessageBox(main, "Reset the timer?", "", MbButtons::YesNo, MbIcon::Question), IdYes);
  EXPECT_FALSE(IsButtonHeld(mainButton));
  HeadlessInjectTouch(b.x, b.y, false);
  PumpUntilIdle();
  EXPECT_EQ(g_rec.commands, 0);
}

TEST_F(WinDialogTest, NestedDialogsEachReturnTheirOwnResult) {
  StartScriptText("press 10\nwait 10\npress 1\nwait 10\npress 1\n");
  EXPECT_EQ(DialogBox(main, kOkDialog, TestDialogProc, 0), 42);
  EXPECT_EQ(g_log.nestedResult, 42);
  EXPECT_EQ(g_log.inits, 2);
  EXPECT_FALSE(ScriptRunning());
  EXPECT_EQ(ScriptErrorLine(), 0);
}

TEST_F(WinDialogTest, HeldButtonIsReportedWhileTheFingerStaysOnIt) {
  g_log.holdArrow = true;
  EXPECT_EQ(DialogBox(main, kOkDialog, TestDialogProc, 0), 3);
  // Down after tick 2, up after tick 8: ticks 3 to 8 see it held.
  EXPECT_EQ(g_log.heldTicks, 6);
}

TEST_F(WinDialogTest, QuitInsideTheDialogEndsItAndReachesTheOuterLoop) {
  StartScriptText("wait 20\nquit\n");
  EXPECT_EQ(DialogBox(main, kOkDialog, TestDialogProc, 0), -1);
  Message m;
  EXPECT_FALSE(GetMessage(m));
  EXPECT_EQ(ExitCode(), 0);
}

TEST_F(WinDialogTest, DialogItemsAnswerByControlId) {
  static constexpr DialogControl kItems[] = {
      {.kind = ControlKind::CheckBox, .id = 1049, .rect = RectXywh(10, 10, 150, 30), .text = "1 HOUR"},
      {.kind = ControlKind::Static, .id = 1428, .rect = RectXywh(10, 50, 150, 30), .text = "x"},
  };
  static bool checked = false;
  static char16_t text[kMaxWindowText];
  auto proc = +[](Hwnd dlg, Msg msg, WParam, LParam) -> bool {
    if (msg != Msg::InitDialog) return false;
    CheckDlgButton(dlg, 1049, true);
    checked = IsDlgButtonChecked(dlg, 1049);
    SetDlgItemText(dlg, 1428, u"\u00b0C");
    CopyText(text, kMaxWindowText, GetWindowText(GetDlgItem(dlg, 1428)));
    EXPECT_FALSE(SetDlgItemText(dlg, 9999, "none"));
    EndDialog(dlg, 1);
    return true;
  };
  constexpr DialogTemplate kTmpl{.id = 196, .caption = "GRAPH SETUP - 25",
                                 .rect = RectXywh(0, 0, 300, 200), .controls = kItems, .count = 2};
  EXPECT_EQ(DialogBox(main, kTmpl, proc, 0), 1);
  EXPECT_TRUE(checked);
  EXPECT_EQ(text[0], 0xB0);
  EXPECT_EQ(text[1], u'C');
}

TEST_F(WinDialogTest, DialogPaintsOverTheMainScreenAndTheScreenIsRestoredAfter) {
  auto proc = +[](Hwnd dlg, Msg msg, WParam, LParam) -> bool {
    if (msg == Msg::InitDialog) SetTimer(dlg, 1, 50);
    if (msg == Msg::Timer) {
      // The dialog is on screen now: its grey face at its centre.
      Point c = CenterOf(dlg);
      EXPECT_EQ(ScreenAt(c.x, c.y + 40), kDialogBackground);
      EndDialog(dlg, 1);
    }
    return msg == Msg::InitDialog || msg == Msg::Timer;
  };
  constexpr DialogTemplate kTmpl{.id = 7, .caption = "X", .rect = RectXywh(200, 100, 240, 200)};
  EXPECT_EQ(DialogBox(main, kTmpl, proc, 0), 1);
  PumpUntilIdle();
  EXPECT_EQ(ScreenAt(320, 240), Rgb(0, 0, 0));  // the black main window again
}

}  // namespace
}  // namespace wintest
