// dryer-panel as a user runs it: one copy per root, a clean end on SIGTERM and --run-for, and
// a headless script that visits TIMERS, TEMPS, SETUP and VIEW and takes screenshots.
#include <fstream>

#include "platform/Bitmap.h"
#include "platform/Controls.h"
#include "platform/Png.h"
#include "screens/SetupDoors.h"
#include "tests/e2e/ProgramSupport.h"

namespace {

using e2e::TempDir;

TEST(PanelProgram, SecondCopyOnTheSameRootExitsAtOnceAndTheFirstEndsCleanlyOnSigterm) {
  TempDir root;
  const pid_t first = e2e::StartPanel({"--headless", "--root", root.path, "--run-for", "60"});
  ASSERT_GT(first, 0);
  ASSERT_TRUE(e2e::WaitForFile(root.path + "/.dryer-panel.front", 20000));

  const auto t0 = std::chrono::steady_clock::now();
  const pid_t second = e2e::StartPanel({"--headless", "--root", root.path});
  ASSERT_GT(second, 0);
  EXPECT_EQ(e2e::WaitExit(second, 10000), 0);
  EXPECT_LT(std::chrono::steady_clock::now() - t0, std::chrono::seconds(5));

  // The first copy is still running until told to stop.
  int status = 0;
  EXPECT_EQ(::waitpid(first, &status, WNOHANG), 0);
  ::kill(first, SIGTERM);
  EXPECT_EQ(e2e::WaitExit(first, 15000), 0);

  // Another root is another panel.
  TempDir other;
  const pid_t third = e2e::StartPanel({"--headless", "--root", other.path, "--run-for", "1"});
  ASSERT_GT(third, 0);
  EXPECT_EQ(e2e::WaitExit(third, 20000), 0);
  EXPECT_TRUE(std::filesystem::exists(other.path + "/Hard Disk/Languages/EN"));
}

TEST(PanelProgram, BadOptionsAreRefusedWithTheUsage) {
  EXPECT_EQ(e2e::WaitExit(e2e::StartPanel({"--scale", "9"}), 10000), 2);
  EXPECT_EQ(e2e::WaitExit(e2e::StartPanel({"--no-such-option"}), 10000), 2);
  EXPECT_EQ(e2e::WaitExit(e2e::StartPanel({"--help"}), 10000), 0);
}

// Centre of a main button when the quick-start button is hidden.
constexpr int kButtonY = 447;
constexpr int kTimersX = 72;
constexpr int kTempsX = 196;
constexpr int kSetupX = 320;
constexpr int kViewX = 444;

bool Load(const std::string& path, plat::Bitmap& out) {
  return plat::ReadPng(path.c_str(), out) == plat::PngResult::Ok && out.Width() == 640 &&
         out.Height() == 480;
}

TEST(PanelProgram, HeadlessScriptVisitsTheFourMainButtonsAndTakesScreenshots) {
  TempDir root;
  const std::string d = root.path + "/";
  std::ofstream script(d + "visit.txt");
  script << "wait 1500\n"
         << "screenshot " << d << "main.png\n"
         << "touch " << kTimersX << " " << kButtonY << "\nwait 300\n"
         << "screenshot " << d << "timers.png\n"
         << "press 1003\nwait 300\n"
         << "touch " << kTempsX << " " << kButtonY << "\nwait 300\n"
         << "screenshot " << d << "temps.png\n"
         << "press 1003\nwait 300\n"
         << "touch " << kSetupX << " " << kButtonY << "\nwait 300\n"
         << "screenshot " << d << "setup.png\n"
         << "press " << screens::kSetupReturn << "\nwait 300\n"
         << "touch " << kViewX << " " << kButtonY << "\nwait 300\n"
         << "screenshot " << d << "view.png\n"
         << "press 36896\nwait 300\n"
         << "screenshot " << d << "back.png\n"
         << "quit\n";
  script.close();
  const pid_t pid = e2e::StartPanel({"--headless", "--root", root.path, "--script", d + "visit.txt"});
  ASSERT_GT(pid, 0);
  ASSERT_EQ(e2e::WaitExit(pid, 60000), 0);

  plat::Bitmap main, timers, temps, setup, view, back;
  ASSERT_TRUE(Load(d + "main.png", main));
  ASSERT_TRUE(Load(d + "timers.png", timers));
  ASSERT_TRUE(Load(d + "temps.png", temps));
  ASSERT_TRUE(Load(d + "setup.png", setup));
  ASSERT_TRUE(Load(d + "view.png", view));
  ASSERT_TRUE(Load(d + "back.png", back));
  // The selection screens cover the whole screen with their caption bar at the top; the main
  // screen has the dryer picture there.
  const uint32_t caption = plat::PixelOf(plat::kCaptionColor);
  EXPECT_NE(main.At(120, 5), caption);
  EXPECT_EQ(timers.At(120, 5), caption);
  EXPECT_EQ(temps.At(120, 5), caption);
  EXPECT_EQ(setup.At(120, 5), caption);
  // The pop-up lies over the main screen at 100,50 with its own caption bar, and goes again.
  EXPECT_EQ(view.At(300, 55), caption);
  EXPECT_EQ(view.At(120, 5), main.At(120, 5));
  EXPECT_NE(back.At(300, 55), caption);
  // Back on the main screen after each visit: the button row is drawn again.
  EXPECT_EQ(back.At(kTimersX, kButtonY), main.At(kTimersX, kButtonY));
}

}  // namespace

namespace {

TEST(PanelProgram, SigtermEndsThePanelWhileAModalDialogIsOpen) {
  TempDir root;
  const std::string d = root.path + "/";
  std::ofstream script(d + "info.txt");
  script << "wait 500\npress 34820\nwait 200\npress 36904\nwait 300\nscreenshot " << d << "info.png\n";
  script.close();
  const pid_t pid = e2e::StartPanel({"--headless", "--root", root.path, "--script", d + "info.txt"});
  ASSERT_GT(pid, 0);
  ASSERT_TRUE(e2e::WaitForFile(d + "info.png", 20000));
  ::kill(pid, SIGTERM);
  EXPECT_EQ(e2e::WaitExit(pid, 15000), 0);
}

}  // namespace
