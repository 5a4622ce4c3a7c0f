// Message boxes: answers by button id, layout within the screen, icons and texts drawn.
#include "WinSupport.h"
#include "platform/Font.h"
#include "platform/MessageBox.h"
#include "platform/Script.h"

namespace wintest {
namespace {

class WinMessageBoxTest : public HeadlessTest {
 protected:
  void SetUp() override {
    HeadlessTest::SetUp();
    RegisterRecorder();
    main = MakeMain();
    PumpUntilIdle();
  }
  Hwnd main = kNoWindow;
};

TEST_F(WinMessageBoxTest, EachButtonSetReturnsTheIdOfThePressedButton) {
  struct Case {
    MbButtons buttons;
    const char* script;
    int answer;
  };
  const Case cases[] = {
      {MbButtons::Ok, "press 1", IdOk},
      {MbButtons::OkCancel, "press 2", IdCancel},
      {MbButtons::OkCancel, "press 1", IdOk},
      {MbButtons::YesNo, "press 6", IdYes},
      {MbButtons::YesNo, "press 7", IdNo},
      {MbButtons::YesNoCancel, "press 2", IdCancel},
      {MbButtons::YesNoCancel, "press 6", IdYes},
      {MbButtons::RetryCancel, "press 4", IdRetry},
      {MbButtons::RetryCancel, "press 2", IdCancel},
  };
  for (const Case& c : cases) {
    StartScriptText(c.script);
    EXPECT_EQ(MessageBox(main, "The value entered is out of range.", "WARNING!", c.buttons,
                         MbIcon::Exclamation),
              c.answer)
        << c.script;
    EXPECT_EQ(ScriptErrorLine(), 0) << c.script;
  }
}

// Closes whatever top-level window is active when its timer fires.
LResult CloserProc(Hwnd h, Msg msg, WParam w, LParam l) {
  if (msg != Msg::Timer) return DefWindowProc(h, msg, w, l);
  KillTimer(h, 1);
  PostMessage(ActiveTopLevel(), Msg::Close);
  return 0;
}

TEST_F(WinMessageBoxTest, PressingAButtonTheBoxDoesNotHaveStopsTheScript) {
  RegisterClass(WindowClass{.name = "CLOSER", .proc = CloserProc, .background = Rgb(0, 0, 0)});
  Hwnd closer = CreateWindow(WindowDesc{.className = "CLOSER", .parent = main,
                                        .rect = RectXywh(0, 0, 1, 1)});
  SetTimer(closer, 1, 200);
  StartScriptText("press 6\npress 1\n");
  testing::internal::CaptureStderr();
  // Closing an OK box answers OK; closing a Yes/No box answers No.
  EXPECT_EQ(MessageBox(main, "Done.", "Auto-Start Finished...", MbButtons::Ok), IdOk);
  std::string err = testing::internal::GetCapturedStderr();
  EXPECT_EQ(ScriptErrorLine(), 1);
  EXPECT_FALSE(ScriptRunning());
  EXPECT_NE(err.find("script line 1"), std::string::npos);
  SetTimer(closer, 1, 200);
  EXPECT_EQ(MessageBox(main, "Sure?", "", MbButtons::YesNo, MbIcon::Question), IdNo);
}

TEST_F(WinMessageBoxTest, LongTextWrapsInsideTheScreenAndTheBoxIsOnTop) {
  static const char kLong[] =
      "The Moisture Control learning period has not expired.  Modifying the MC Setpoint is not "
      "recommended until the learning period is complete.  Do wish to modify the moisture "
      "control setpoint?";
  static Rect boxRect;
  static Rect textRect;
  static Hwnd topAtCentre = kNoWindow;
  StartTextCapture();
  // The box is inspected from a timer of the main window while it is open.
  static Hwnd mainWindow;
  mainWindow = main;
  RegisterClass(WindowClass{
      .name = "INSPECT",
      .proc = +[](Hwnd h, Msg msg, WParam w, LParam l) -> LResult {
        if (msg != Msg::Timer) return DefWindowProc(h, msg, w, l);
        KillTimer(h, 1);
        Hwnd box = ActiveTopLevel();
        boxRect = GetWindowRect(box);
        topAtCentre = GetTopLevel(WindowFromPoint((boxRect.left + boxRect.right) / 2,
                                                  (boxRect.top + boxRect.bottom) / 2));
        textRect = Rect{};
        for (int i = 0; i < CapturedTextCount(); ++i) {
          const CapturedText* t = CapturedTextAt(i);
          if (GetTopLevel(t->window) == box && t->rect.Width() > 200) textRect = t->rect;
        }
        return 0;
      },
      .background = Rgb(0, 0, 0)});
  Hwnd inspector = CreateWindow(WindowDesc{.className = "INSPECT", .parent = main,
                                           .rect = RectXywh(0, 0, 1, 1)});
  SetTimer(inspector, 1, 50);
  StartScriptText("wait 100\npress 7\n");
  EXPECT_EQ(MessageBox(main, kLong, "MOISTURE CONTROL LEARNING PERIOD STILL ACTIVE",
                       MbButtons::YesNoCancel, MbIcon::Exclamation),
            IdNo);
  EXPECT_GE(boxRect.left, 0);
  EXPECT_GE(boxRect.top, 0);
  EXPECT_LE(boxRect.right, kScreenWidth);
  EXPECT_LE(boxRect.bottom, kScreenHeight);
  EXPECT_GT(boxRect.Width(), 400);  // widened for the text, not one long line
  EXPECT_NE(topAtCentre, mainWindow);
  EXPECT_FALSE(textRect.Empty());
  EXPECT_LE(textRect.right, boxRect.right);
  const CapturedText* caption = FindCapturedText("LEARNING PERIOD STILL ACTIVE");
  ASSERT_NE(caption, nullptr);
  EXPECT_LT(caption->rect.top, boxRect.top + kCaptionHeight);
  EXPECT_NE(FindCapturedText("Cancel"), nullptr);
}

TEST_F(WinMessageBoxTest, AHelpFileLongTextStillFitsTheScreenWithItsButtons) {
  std::string text;
  while (text.size() < 1999) text += "Auto-start finished; check the moisture setpoint. ";
  text.resize(1999);
  static Rect boxRect;
  static Rect okRect;
  RegisterClass(WindowClass{
      .name = "MEASURE",
      .proc = +[](Hwnd h, Msg msg, WParam w, LParam l) -> LResult {
        if (msg != Msg::Timer) return DefWindowProc(h, msg, w, l);
        KillTimer(h, 1);
        boxRect = GetWindowRect(ActiveTopLevel());
        okRect = GetWindowRect(GetDlgItem(ActiveTopLevel(), IdOk));
        return 0;
      },
      .background = Rgb(0, 0, 0)});
  Hwnd measure = CreateWindow(WindowDesc{.className = "MEASURE", .parent = main,
                                         .rect = RectXywh(0, 0, 1, 1)});
  SetTimer(measure, 1, 20);
  StartTextCapture();
  StartScriptText("wait 50\npress 1\n");
  EXPECT_EQ(MessageBox(main, text.c_str(), "Auto-Start Finished...", MbButtons::OkCancel), IdOk);
  EXPECT_GE(boxRect.top, 0);
  EXPECT_LE(boxRect.bottom, kScreenHeight);
  EXPECT_LE(okRect.bottom, boxRect.bottom);
  // The text is laid out above the buttons, in a rectangle that holds all of it in the
  // smallest of the box's fonts at least.
  const CapturedText* drawn = FindCapturedText("Auto-start finished;");
  ASSERT_NE(drawn, nullptr);
  EXPECT_LE(drawn->rect.bottom, okRect.top);
  TextExtent need = MeasureText(CreateFont(kFaceTahoma, 11, FontWeight::Normal), text.c_str(),
                                text.size(), drawn->rect.Width(), true);
  EXPECT_LE(need.height, drawn->rect.Height());
}

// A box asked by a dialog stands over that dialog; one asked from a window near an edge is
// moved wholly onto the screen.
TEST_F(WinMessageBoxTest, ABoxIsCentredOnItsOwnerAndWhollyOnTheScreen) {
  static Rect boxRect;
  RegisterClass(WindowClass{
      .name = "MEASURE",
      .proc = +[](Hwnd h, Msg msg, WParam w, LParam l) -> LResult {
        if (msg != Msg::Timer) return DefWindowProc(h, msg, w, l);
        if (DialogTemplateId(ActiveTopLevel()) == kMessageBoxTemplateId) {
          boxRect = GetWindowRect(ActiveTopLevel());
          EndDialog(ActiveTopLevel(), IdOk);
        }
        return 0;
      },
      .background = Rgb(0, 0, 0)});
  Hwnd measure = CreateWindow(WindowDesc{.className = "MEASURE", .parent = main,
                                         .rect = RectXywh(0, 0, 1, 1)});
  SetTimer(measure, 1, 20);
  struct Case {
    Rect owner;  // a top-level window standing for the dialog that asks
    bool centred;
  };
  const Case cases[] = {
      {RectXywh(0, 0, 300, 240), true},
      {RectXywh(400, 260, 240, 220), false},
      {RectXywh(500, 400, 300, 200), false},
  };
  RegisterClass(WindowClass{.name = "OWNER", .proc = DefWindowProc});
  for (const Case& c : cases) {
    Hwnd owner = CreateWindow(WindowDesc{.className = "OWNER", .rect = c.owner,
                                         .flags = WindowFlag::Visible | WindowFlag::Topmost});
    boxRect = Rect{};
    MessageBox(owner, "The value entered is out of range.", "WARNING!", MbButtons::Ok);
    ASSERT_FALSE(boxRect.Empty());
    EXPECT_GE(boxRect.left, 0);
    EXPECT_GE(boxRect.top, 0);
    EXPECT_LE(boxRect.right, kScreenWidth);
    EXPECT_LE(boxRect.bottom, kScreenHeight);
    if (c.centred) {
      EXPECT_NEAR((boxRect.left + boxRect.right) / 2, (c.owner.left + c.owner.right) / 2, 1);
      EXPECT_NEAR((boxRect.top + boxRect.bottom) / 2, (c.owner.top + c.owner.bottom) / 2, 1);
    } else {
      // As close to the owner's centre as the screen allows: against the right or bottom edge.
      EXPECT_TRUE(boxRect.right == kScreenWidth || boxRect.bottom == kScreenHeight);
    }
    DestroyWindow(owner);
  }
}

TEST_F(WinMessageBoxTest, IconsAreDrawnInTheirColours) {
  // Points inside each shape clear of its glyph, from the icon's top-left corner.
  struct Case {
    MbIcon icon;
    Color inside;
    Point probe;
  };
  const Case cases[] = {
      {MbIcon::Stop, Rgb(200, 0, 0), {8, 24}},
      {MbIcon::Question, Rgb(0, 64, 200), {8, 24}},
      {MbIcon::Information, Rgb(0, 64, 200), {8, 24}},
      {MbIcon::Exclamation, Rgb(255, 204, 0), {14, 44}},
  };
  static Color seen;
  static Point probe;
  RegisterClass(WindowClass{
      .name = "PEEK",
      .proc = +[](Hwnd h, Msg msg, WParam w, LParam l) -> LResult {
        if (msg != Msg::Timer) return DefWindowProc(h, msg, w, l);
        Rect box = GetWindowRect(ActiveTopLevel());
        // A one-line text leaves the body as high as the icon, 16 px in from the corner.
        int left = box.left + 1 + 16;
        int top = box.top + 1 + kCaptionHeight + 16;
        seen = ScreenAt(left + probe.x, top + probe.y);
        return 0;
      },
      .background = Rgb(0, 0, 0)});
  Hwnd peek = CreateWindow(WindowDesc{.className = "PEEK", .parent = main, .rect = RectXywh(0, 0, 1, 1)});
  for (const Case& c : cases) {
    seen = Rgb(1, 2, 3);
    probe = c.probe;
    SetTimer(peek, 1, 50);
    StartScriptText("wait 60\npress 1\n");
    MessageBox(main, "text", "caption", MbButtons::Ok, c.icon);
    KillTimer(peek, 1);
    EXPECT_EQ(seen, c.inside) << static_cast<int>(c.icon);
  }
}

// The warning help dialog asks Retry/Cancel from its paint when its picture is missing.
TEST_F(WinMessageBoxTest, AQuestionAskedWhilePaintingIsAnsweredAndThePaintGoesOn) {
  static int asked = 0;
  static int answer = 0;
  RegisterClass(WindowClass{
      .name = "ASKS_IN_PAINT",
      .proc = +[](Hwnd h, Msg msg, WParam w, LParam l) -> LResult {
        if (msg != Msg::Paint) return DefWindowProc(h, msg, w, l);
        PaintContext& ctx = PaintFrom(l);
        if (asked++ == 0) {
          answer = MessageBox(h, "Picture missing.", "HELP", MbButtons::RetryCancel,
                              MbIcon::Information);
        }
        ctx.canvas->FillRect(GetClientRect(h), Rgb(0, 200, 0));
        return 0;
      },
      .background = Rgb(0, 0, 0)});
  asked = 0;
  Hwnd w = CreateWindow(WindowDesc{.className = "ASKS_IN_PAINT", .parent = main,
                                   .rect = RectXywh(10, 0, 500, 400), .flags = WindowFlag::Visible});
  ASSERT_NE(w, kNoWindow);
  StartScriptText("wait 50\npress 4\n");
  PumpUntilIdle();
  EXPECT_EQ(answer, IdRetry);
  PumpUntilIdle();
  EXPECT_EQ(ActiveTopLevel(), main);
  EXPECT_EQ(ScreenAt(250, 200), Rgb(0, 200, 0));  // the box is gone, the paint finished
}

TEST_F(WinMessageBoxTest, UnicodeTextAndCaptionAreShown) {
  StartTextCapture();
  StartScriptText("wait 10\npress 1\n");
  EXPECT_EQ(MessageBox(main, u"Temp 71\u00b0C", u"WARNUNG!", MbButtons::Ok), IdOk);
  const CapturedText* t = FindCapturedText("Temp 71\xb0" "C");
  ASSERT_NE(t, nullptr);
  EXPECT_NE(FindCapturedText("WARNUNG!"), nullptr);
}

}  // namespace
}  // namespace wintest
