// The gallery: every control painted headless, and the program opening a real SDL window
// under Xvfb when Xvfb is installed.
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "SysTempDir.h"
#include "WinSupport.h"
#include "platform/Bitmap.h"
#include "platform/Gallery.h"
#include "platform/Png.h"
#include "platform/Script.h"

extern char** environ;

namespace wintest {
namespace {

using WinGalleryTest = HeadlessTest;

TEST_F(WinGalleryTest, EveryControlAndFontSizeIsDrawnAndTheMessageBoxAnswers) {
  SysTempDir dir;
  Hwnd gallery = CreateGalleryWindow();
  ASSERT_NE(gallery, kNoWindow);
  StartTextCapture();
  PumpUntilIdle();
  for (const char* text : {"MESSAGE BOX", "OWNER", "SELECT", "DISABLED", "CHECK BOX",
                           "DRYING MODE", "AUTO", "MANUAL", "18.5 %", "CENTRE", "Help line 1",
                           "Shutdown ID", "0102 FLAME FAILURE", "Tahoma 10", "Tahoma 30",
                           " 105 \xb0" "F "}) {
    EXPECT_NE(FindCapturedText(text, gallery), nullptr) << text;
  }
  std::string shot = dir.Sub("box.png");
  std::string script = "press 101\nwait 50\nscreenshot " + shot + "\npress 7\n";
  StartScriptText(script.c_str());
  RunFor(200);
  EXPECT_EQ(ScriptErrorLine(), 0) << ScriptErrorText();
  EXPECT_FALSE(ScriptRunning());
  EXPECT_NE(FindCapturedText("learning period has not expired"), nullptr);
  Bitmap png;
  ASSERT_EQ(ReadPng(shot.c_str(), png), PngResult::Ok);
  // The box's caption bar, right of its text, over the gallery.
  int dark = 0;
  for (int y = 100; y < 380; ++y) dark += png.At(612, y) == PixelOf(kCaptionColor) ? 1 : 0;
  EXPECT_GE(dark, kCaptionHeight - 2);
  EXPECT_EQ(ActiveTopLevel(), gallery);  // answered and gone
}

// Runs a program with arguments and environment additions; returns its exit status, or -1.
int RunProgram(const std::vector<std::string>& args, const std::vector<std::string>& env,
        const std::string& output, pid_t* background = nullptr) {
  std::vector<char*> argv;
  for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  std::vector<std::string> envStore(env);
  for (char** e = environ; *e != nullptr; ++e) envStore.push_back(*e);
  std::vector<char*> envp;
  for (std::string& e : envStore) envp.push_back(e.data());
  envp.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, output.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  posix_spawn_file_actions_adddup2(&actions, 1, 2);
  pid_t pid = 0;
  int rc = posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), envp.data());
  posix_spawn_file_actions_destroy(&actions);
  if (rc != 0) return -1;
  if (background != nullptr) {
    *background = pid;
    return 0;
  }
  int status = 0;
  if (waitpid(pid, &status, 0) != pid) return -1;
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

bool OnPath(const char* program) {
  const char* path = std::getenv("PATH");
  if (path == nullptr) return false;
  std::stringstream dirs(path);
  std::string dir;
  while (std::getline(dirs, dir, ':')) {
    if (access((dir + "/" + program).c_str(), X_OK) == 0) return true;
  }
  return false;
}

std::string ReadAll(const std::string& path) {
  std::ifstream in(path);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

TEST(WinGallerySmokeTest, OpensARealWindowUnderXvfb) {
  if (!OnPath("Xvfb")) GTEST_SKIP() << "Xvfb is not installed";
  std::string gallery = std::string(DRYER_BINARY_DIR) + "/bin/platform-gallery";
  if (access(gallery.c_str(), X_OK) != 0) GTEST_SKIP() << "platform-gallery is not built here";
  SysTempDir dir;
  int display = -1;
  for (int n = 90; n < 140 && display < 0; ++n) {
    std::string lock = "/tmp/.X" + std::to_string(n) + "-lock";
    std::string socket = "/tmp/.X11-unix/X" + std::to_string(n);
    if (access(lock.c_str(), F_OK) != 0 && access(socket.c_str(), F_OK) != 0) display = n;
  }
  ASSERT_GE(display, 0) << "no free display number";
  std::string name = ":" + std::to_string(display);
  pid_t xvfb = 0;
  ASSERT_EQ(RunProgram({"Xvfb", name, "-screen", "0", "800x600x24", "-nolisten", "tcp"}, {},
                dir.Sub("xvfb.log"), &xvfb),
            0);
  std::string socket = "/tmp/.X11-unix/X" + std::to_string(display);
  auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
  while (access(socket.c_str(), F_OK) != 0 && std::chrono::steady_clock::now() < deadline) {
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  bool up = access(socket.c_str(), F_OK) == 0;
  int rc = -1;
  std::string shot = dir.Sub("sdl.png");
  if (up) {
    std::ofstream(dir.Sub("script.txt")) << "wait 300\nscreenshot " << shot << "\n";
    rc = RunProgram({gallery, "--run-for", "1", "--script", dir.Sub("script.txt")},
             {"DISPLAY=" + name, "WAYLAND_DISPLAY=", "SDL_AUDIODRIVER=dummy"}, dir.Sub("gallery.log"));
  }
  kill(xvfb, SIGTERM);
  waitpid(xvfb, nullptr, 0);
  ASSERT_TRUE(up) << ReadAll(dir.Sub("xvfb.log"));
  std::string log = ReadAll(dir.Sub("gallery.log"));
  EXPECT_EQ(rc, 0) << log;
  EXPECT_NE(log.find("SDL display"), std::string::npos) << log;
  Bitmap png;
  ASSERT_EQ(ReadPng(shot.c_str(), png), PngResult::Ok) << log;
  EXPECT_EQ(png.At(300, 5), PixelOf(kCaptionColor));
}

}  // namespace
}  // namespace wintest
