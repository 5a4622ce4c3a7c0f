// The automation script: commands in order through the loop, waits on the clock, bad lines.
#include <string>

#include "SysTempDir.h"
#include "WinSupport.h"
#include "platform/Bitmap.h"
#include "platform/Png.h"
#include "platform/Script.h"

namespace wintest {
namespace {

constexpr int kButtonId = 5;

class WinScriptTest : public HeadlessTest {
 protected:
  void SetUp() override {
    HeadlessTest::SetUp();
    RegisterRecorder();
    main = MakeMain();
    button = CreateControl(main, ControlKind::PushButton, kButtonId, RectXywh(100, 100, 100, 50),
                           "GO", 0);
    PumpUntilIdle();
  }
  Hwnd main = kNoWindow;
  Hwnd button = kNoWindow;
};

TEST_F(WinScriptTest, CommandsRunInOrderAndWaitsFollowTheClock) {
  ASSERT_EQ(StartScriptText("wait 500\ntouch 150 125\nwait 250\npress 5\nquit\n"),
            ScriptResult::Ok);
  RunFor(499);
  EXPECT_EQ(g_rec.commands, 0);
  RunFor(1);
  EXPECT_EQ(g_rec.commands, 1);  // the touch landed on the button
  RunFor(249);
  EXPECT_EQ(g_rec.commands, 1);
  RunFor(1);
  EXPECT_EQ(g_rec.commands, 2);
  EXPECT_EQ(g_rec.lastCommandId, kButtonId);
  Message m;
  EXPECT_FALSE(GetMessage(m));  // quit
  EXPECT_FALSE(ScriptRunning());
  EXPECT_EQ(ScriptErrorLine(), 0);
}

TEST_F(WinScriptTest, ABadLineIsReportedWithItsNumberAndStopsTheScript) {
  struct Case {
    const char* script;
    int line;
  };
  const Case cases[] = {
      {"wait 10\n\n# a comment\ntouch 10\npress 5\n", 4},
      {"press 5\npress\n", 2},
      {"jump 3\n", 1},
      {"wait -5\n", 1},
      {"wait 1x\n", 1},
      {"touch 700 10\n", 1},
      {"press 99\n", 1},  // no such control
      {"quit now\n", 1},
      {"screenshot\n", 1},
  };
  for (const Case& c : cases) {
    g_rec.commands = 0;
    testing::internal::CaptureStderr();
    StartScriptText(c.script);
    RunFor(100);
    std::string err = testing::internal::GetCapturedStderr();
    EXPECT_EQ(ScriptErrorLine(), c.line) << c.script;
    EXPECT_NE(err.find("script line " + std::to_string(c.line) + ":"), std::string::npos)
        << c.script << " -> " << err;
    EXPECT_NE(ScriptErrorText()[0], 0);
    EXPECT_FALSE(ScriptRunning());
    // Nothing after the bad line ran; in the second case the first line did.
    EXPECT_EQ(g_rec.commands, c.line == 2 ? 1 : 0) << c.script;
  }
  // The program goes on.
  ClickWindow(button);
  EXPECT_EQ(g_rec.commands, 1);
}

TEST_F(WinScriptTest, PressOnAHiddenOrDisabledControlIsAnError) {
  EnableWindow(button, false);
  testing::internal::CaptureStderr();
  StartScriptText("press 5\n");
  RunFor(10);
  testing::internal::GetCapturedStderr();
  EXPECT_EQ(ScriptErrorLine(), 1);
  EXPECT_EQ(g_rec.commands, 0);
}

// A finger reaches only what is on the screen and on top: a button off the screen, one whose
// window hides it past the client edge, one under another window, or a disabled control under
// a touch are bad lines; the on-screen part of a button half off the screen still takes a press.
TEST_F(WinScriptTest, PressAndTouchRefuseWhatAFingerCannotReach) {
  Hwnd panel = CreateWindow(WindowDesc{.className = "REC", .parent = main,
                                       .rect = RectXywh(400, 300, 200, 100),
                                       .flags = WindowFlag::Visible});
  CreateControl(main, ControlKind::PushButton, 11, RectXywh(600, 440, 100, 80), "HALF", 0);
  CreateControl(main, ControlKind::PushButton, 12, RectXywh(650, 100, 60, 40), "OFF", 0);
  CreateControl(panel, ControlKind::PushButton, 13, RectXywh(210, 10, 60, 40), "CLIPPED", 0);
  CreateControl(main, ControlKind::PushButton, 14, RectXywh(420, 320, 60, 40), "UNDER", 0);
  Hwnd disabled = CreateControl(main, ControlKind::PushButton, 15, RectXywh(10, 10, 60, 40),
                                "OFF", 0);
  EnableWindow(disabled, false);
  BringWindowToTop(panel);  // over button 14
  PumpUntilIdle();
  struct Case {
    const char* script;
    int badLine;  // 0: runs to the end
    int commands;
  };
  const Case cases[] = {
      {"press 11\n", 0, 1},
      {"press 12\n", 1, 0},
      {"press 13\n", 1, 0},
      {"press 14\n", 1, 0},
      {"press 15\n", 1, 0},
      {"touch 20 20\npress 5\n", 1, 0},
      {"touch 150 125\ntouch 639 479\n", 0, 2},
  };
  for (const Case& c : cases) {
    g_rec.commands = 0;
    testing::internal::CaptureStderr();
    StartScriptText(c.script);
    RunFor(100);
    std::string err = testing::internal::GetCapturedStderr();
    EXPECT_EQ(ScriptErrorLine(), c.badLine) << c.script << " -> " << err;
    EXPECT_EQ(g_rec.commands, c.commands) << c.script;
  }
}

TEST_F(WinScriptTest, ScreenshotWritesTheComposedScreen) {
  SysTempDir dir;
  ASSERT_NE(dir.c_str()[0], 0);
  std::string path = dir.Sub("shot.png");
  std::string script = "screenshot " + path + "\n";
  StartScriptText(script.c_str());
  RunFor(10);
  EXPECT_EQ(ScriptErrorLine(), 0);
  Bitmap shot;
  ASSERT_EQ(ReadPng(path.c_str(), shot), PngResult::Ok);
  ASSERT_EQ(shot.Width(), kScreenWidth);
  ASSERT_EQ(shot.Height(), kScreenHeight);
  EXPECT_EQ(shot.At(150, 102), PixelOf(kFaceColor));  // the button's face
  EXPECT_EQ(shot.At(5, 5), 0u);
  EXPECT_EQ(shot.At(150, 102), ScreenPixels().At(150, 102));
}

TEST_F(WinScriptTest, ScriptFilesAreReadWhole) {
  EXPECT_EQ(StartScriptFile("/nonexistent/dir/script.txt"), ScriptResult::OpenFailed);
  SysTempDir dir;
  std::string path = dir.Sub("long.txt");
  std::FILE* f = std::fopen(path.c_str(), "wb");
  ASSERT_NE(f, nullptr);
  std::string line(kMaxScriptBytes + 1, '#');
  std::fwrite(line.data(), 1, line.size(), f);
  std::fclose(f);
  EXPECT_EQ(StartScriptFile(path.c_str()), ScriptResult::TooLong);
  path = dir.Sub("ok.txt");
  f = std::fopen(path.c_str(), "wb");
  std::fputs("press 5\r\n", f);
  std::fclose(f);
  ASSERT_EQ(StartScriptFile(path.c_str()), ScriptResult::Ok);
  RunFor(1);
  EXPECT_EQ(g_rec.commands, 1);  // CR LF lines are fine
}

}  // namespace
}  // namespace wintest
