// The panel as a panel computer runs it: a display that goes away or was never there, a full
// screen of another size, and a serial adapter that appears only after the panel started.
#include <sys/file.h>

#include <cstring>
#include <fstream>

#include "link/Framing.h"
#include "platform/Pty.h"
#include "tests/e2e/ProgramSupport.h"
// Last: Xlib's macros.
#include "tests/e2e/XServer.h"

namespace {

using e2e::TempDir;

bool Contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

// True when the root's single-instance lock can be taken, as the next panel would.
bool RootLockFree(const std::string& root) {
  const int fd = ::open((root + "/.dryer-panel.lock").c_str(), O_RDWR | O_CLOEXEC);
  if (fd < 0) return false;
  const bool free = ::flock(fd, LOCK_EX | LOCK_NB) == 0;
  ::close(fd);
  return free;
}

TEST(Appliance, PanelWhoseDisplayGoesAwayEndsWithAFailureAndLeavesTheRootToTheNextPanel) {
  if (!e2e::XvfbInstalled()) GTEST_SKIP() << "Xvfb is not installed";
  e2e::XServer x;
  ASSERT_TRUE(x.Start("640x480x24"));
  TempDir root;
  const std::string log = root.path + "/stderr.txt";
  const pid_t pid = e2e::StartPanelLogged({"--root", root.path, "--run-for", "120"}, log, {x.Env()});
  ASSERT_GT(pid, 0);
  e2e::MappedWindow w;
  ASSERT_TRUE(e2e::WaitForMappedWindow(x.Name(), 20000, w)) << e2e::ReadFile(log);

  x.Stop();
  const auto t0 = std::chrono::steady_clock::now();
  const int code = e2e::WaitExit(pid, 10000);
  EXPECT_NE(code, -1) << "still running after the display went away";
  EXPECT_NE(code, 0);
  EXPECT_LT(std::chrono::steady_clock::now() - t0, std::chrono::seconds(5));
  EXPECT_TRUE(Contains(e2e::ReadFile(log), "connection to the display was lost")) << e2e::ReadFile(log);

  // The next panel on the same root really starts: it runs its script, which a refused second
  // copy never would.
  EXPECT_TRUE(RootLockFree(root.path));
  const std::string shot = root.path + "/next.png";
  std::ofstream(root.path + "/next.txt") << "wait 300\nscreenshot " << shot << "\nquit\n";
  const pid_t next = e2e::StartPanel({"--headless", "--root", root.path, "--script", root.path + "/next.txt"});
  ASSERT_GT(next, 0);
  EXPECT_EQ(e2e::WaitExit(next, 20000), 0);
  EXPECT_TRUE(std::filesystem::exists(shot));
}

TEST(Appliance, DisplayThatCannotBeReachedIsReportedAndFullScreenIsRefused) {
  if (!e2e::XvfbInstalled()) GTEST_SKIP() << "Xvfb is not installed";
  // A display number that was just free and whose server is gone again.
  std::string gone;
  {
    e2e::XServer x;
    ASSERT_TRUE(x.Start("640x480x24"));
    gone = x.Name();
  }
  TempDir root;
  const std::string log = root.path + "/stderr.txt";
  const std::vector<std::string> env{"DISPLAY=" + gone, "WAYLAND_DISPLAY="};
  EXPECT_EQ(e2e::WaitExit(e2e::StartPanelLogged({"--root", root.path, "--run-for", "1"}, log, env), 20000), 0);
  std::string err = e2e::ReadFile(log);
  EXPECT_TRUE(Contains(err, "cannot reach the display " + gone)) << err;
  EXPECT_TRUE(Contains(err, "running headless")) << err;

  const int code = e2e::WaitExit(
      e2e::StartPanelLogged({"--root", root.path, "--run-for", "5", "--fullscreen"}, log, env), 20000);
  err = e2e::ReadFile(log);
  EXPECT_NE(code, 0) << err;
  EXPECT_NE(code, -1);
  EXPECT_TRUE(Contains(err, "no screen to show the panel on")) << err;
}

TEST(Appliance, FullScreenFillsAWideScreenWithTheCentredPanelAndATooLargeScaleIsRefused) {
  if (!e2e::XvfbInstalled()) GTEST_SKIP() << "Xvfb is not installed";
  e2e::XServer x;
  ASSERT_TRUE(x.Start("800x480x24"));
  TempDir root;
  const std::string log = root.path + "/stderr.txt";

  // Twice the panel is 1280 x 960: more than this screen.
  const int refused = e2e::WaitExit(
      e2e::StartPanelLogged({"--root", root.path, "--run-for", "5", "--scale", "2"}, log, {x.Env()}), 20000);
  EXPECT_NE(refused, 0);
  EXPECT_NE(refused, -1);
  EXPECT_TRUE(Contains(e2e::ReadFile(log), "needs 1280 x 960")) << e2e::ReadFile(log);

  const pid_t pid = e2e::StartPanelLogged({"--root", root.path, "--run-for", "60", "--fullscreen"}, log, {x.Env()});
  ASSERT_GT(pid, 0);
  e2e::MappedWindow w;
  ASSERT_TRUE(e2e::WaitForMappedWindow(x.Name(), 20000, w)) << e2e::ReadFile(log);
  EXPECT_EQ(w.x, 0);
  EXPECT_EQ(w.y, 0);
  EXPECT_EQ(w.width, 800);
  EXPECT_EQ(w.height, 480);
  // The panel at 80,0 to 720,480: black bars beside it, its button row drawn inside it.
  bool drawn = false;
  for (int tries = 0; tries < 100 && !drawn; ++tries) {
    drawn = e2e::ScreenPixel(x.Name(), 80 + 72, 447) != 0;
    if (!drawn) std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  EXPECT_TRUE(drawn);
  EXPECT_EQ(e2e::ScreenPixel(x.Name(), 40, 447), 0u);
  EXPECT_EQ(e2e::ScreenPixel(x.Name(), 760, 447), 0u);
  ::kill(pid, SIGTERM);
  EXPECT_EQ(e2e::WaitExit(pid, 15000), 0);
}

// A USB adapter that enumerates a moment after the panel started at boot.
TEST(Appliance, SerialPortThatAppearsAfterTheStartIsOpenedAndTheLinkTalks) {
  plat::PtyPair pty;
  ASSERT_EQ(pty.Open(), plat::PtyResult::Ok);
  TempDir root;
  const std::string port = root.path + "/ttyDryer";
  const std::string log = root.path + "/stderr.txt";
  const pid_t pid = e2e::StartPanelLogged({"--headless", "--root", root.path, "--port", port, "--run-for", "60"},
                                          log);
  ASSERT_GT(pid, 0);
  ASSERT_TRUE(e2e::WaitForFile(root.path + "/.dryer-panel.front", 20000));
  // The reason is named with the path.
  const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  while (!Contains(e2e::ReadFile(log), "no such device") && std::chrono::steady_clock::now() < until)
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  EXPECT_TRUE(Contains(e2e::ReadFile(log), "serial port " + port + " could not be opened: no such device"))
      << e2e::ReadFile(log);

  ASSERT_EQ(::symlink(pty.SlavePath(), port.c_str()), 0);
  // The panel's requests (a poll, or a command with the clock) come once the retry has opened
  // the device.
  uint8_t got[256];
  int have = 0;
  auto length = [&] { return have == 0 ? 1 : got[0] == lnk::kResyncFrame[0] ? lnk::kResyncFrameLength : got[0]; };
  const auto limit = std::chrono::steady_clock::now() + std::chrono::seconds(15);
  while ((have == 0 || have < length()) && std::chrono::steady_clock::now() < limit) {
    if (!pty.WaitReadable(100)) continue;
    int n = 0;
    if (pty.Read(got + have, static_cast<int>(sizeof got) - have, n) != plat::PtyResult::Ok) break;
    have += n;
  }
  ASSERT_GT(have, 0);
  ASSERT_GE(have, length());
  EXPECT_TRUE(lnk::VerifyChecksum(got, length() - 2));
  ::kill(pid, SIGTERM);
  EXPECT_EQ(e2e::WaitExit(pid, 15000), 0);
}

}  // namespace
