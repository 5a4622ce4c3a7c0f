// The gallery: every control painted headless, and the program opening a real SDL window
// under Xvfb when Xvfb is installed.
#include <fcntl.h>
#include <poll.h>
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

// Runs a program with arguments and environment additions, its output to a file; returns its
// exit status, or -1.
int RunProgram(const std::vector<std::string>& args, const std::vector<std::string>& env,
               const std::string& output) {
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
  // Xvfb picks a free display itself and writes its number to the descriptor given.
  int pipeFds[2];
  ASSERT_EQ(pipe(pipeFds), 0);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addclose(&actions, pipeFds[0]);  // first: it may be descriptor 3
  posix_spawn_file_actions_adddup2(&actions, pipeFds[1], 3);
  std::string log = dir.Sub("xvfb.log");
  posix_spawn_file_actions_addopen(&actions, 2, log.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  const char* xargs[] = {"Xvfb", "-displayfd", "3", "-screen", "0", "800x600x24", "-nolisten",
                         "tcp", nullptr};
  pid_t xvfb = 0;
  int spawned = posix_spawnp(&xvfb, "Xvfb", &actions, nullptr, const_cast<char**>(xargs), environ);
  posix_spawn_file_actions_destroy(&actions);
  close(pipeFds[1]);
  ASSERT_EQ(spawned, 0);
  std::string number;
  pollfd pfd{pipeFds[0], POLLIN, 0};
  auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
  while (number.find('\n') == std::string::npos && std::chrono::steady_clock::now() < deadline) {
    if (poll(&pfd, 1, 100) <= 0) continue;
    char buf[16];
    ssize_t n = read(pipeFds[0], buf, sizeof buf);
    if (n <= 0) break;
    number.append(buf, static_cast<size_t>(n));
  }
  close(pipeFds[0]);
  bool up = number.find('\n') != std::string::npos;
  std::string name = ":" + number.substr(0, number.find('\n'));
  int rc = -1;
  std::string shot = dir.Sub("sdl.png");
  if (up) {
    std::ofstream(dir.Sub("script.txt")) << "wait 300\nscreenshot " << shot << "\n";
    // The display libraries (D-Bus, X11) keep allocations the leak checker would report in a
    // sanitizer build; the gallery's own code is leak-checked by the tests in this process.
    rc = RunProgram({gallery, "--run-for", "1", "--script", dir.Sub("script.txt")},
                    {"DISPLAY=" + name, "WAYLAND_DISPLAY=", "SDL_AUDIODRIVER=dummy",
                     "ASAN_OPTIONS=detect_leaks=0"},
                    dir.Sub("gallery.log"));
  }
  kill(xvfb, SIGTERM);
  waitpid(xvfb, nullptr, 0);
  ASSERT_TRUE(up) << ReadAll(log);
  std::string output = ReadAll(dir.Sub("gallery.log"));
  EXPECT_EQ(rc, 0) << output;
  EXPECT_NE(output.find("SDL display"), std::string::npos) << output;
  Bitmap png;
  ASSERT_EQ(ReadPng(shot.c_str(), png), PngResult::Ok) << output;
  EXPECT_EQ(png.At(300, 5), PixelOf(kCaptionColor));
}

}  // namespace
}  // namespace wintest
