// The panel as an installed appliance: it tells a service manager when it is up and that its
// message loop turns, and it runs from an install prefix with the data installed beside it.
#include <fstream>
#include <sstream>

#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>

#include "platform/Bitmap.h"
#include "platform/Png.h"
#include "tests/e2e/ProgramSupport.h"

namespace {

using e2e::TempDir;
using Clock = std::chrono::steady_clock;

constexpr int kButtonY = 447;
constexpr int kTimersX = 72;

struct Notice {
  std::string text;
  double at;  // seconds since the panel was started
};

std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

int Shell(const std::string& command) { return std::system(command.c_str()); }

TEST(ServiceManager, ReadyAfterTheFirstFrameThenWatchdogEverySecondUntilTheLoopHangs) {
  TempDir dir;
  const std::string socketPath = dir.path + "/notify";
  const int fd = ::socket(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC, 0);
  ASSERT_GE(fd, 0);
  sockaddr_un addr{};
  addr.sun_family = AF_UNIX;
  ASSERT_LT(socketPath.size(), sizeof addr.sun_path);
  std::snprintf(addr.sun_path, sizeof addr.sun_path, "%s", socketPath.c_str());
  ASSERT_EQ(::bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr), 0);

  // Three seconds of a turning loop, then a handler that hangs for four.
  std::ofstream(dir.path + "/hang.txt") << "wait 3000\nstall 4000\nwait 2000\nquit\n";
  ::setenv("NOTIFY_SOCKET", socketPath.c_str(), 1);
  const Clock::time_point start = Clock::now();
  const pid_t pid = e2e::StartPanel({"--headless", "--root", dir.path + "/root", "--run-for", "30", "--script",
                                     dir.path + "/hang.txt"});
  ::unsetenv("NOTIFY_SOCKET");
  ASSERT_GT(pid, 0);

  std::vector<Notice> notices;
  int status = 0;
  pid_t ended = 0;
  while ((ended = ::waitpid(pid, &status, WNOHANG)) == 0 && Clock::now() - start < std::chrono::seconds(40)) {
    pollfd p{.fd = fd, .events = POLLIN, .revents = 0};
    if (::poll(&p, 1, 50) <= 0) continue;
    char buf[256];
    const ssize_t n = ::recv(fd, buf, sizeof buf, 0);
    if (n > 0)
      notices.push_back({std::string(buf, static_cast<size_t>(n)),
                         std::chrono::duration<double>(Clock::now() - start).count()});
  }
  ::close(fd);
  if (ended != pid) {
    ::kill(pid, SIGKILL);
    ::waitpid(pid, &status, 0);
    FAIL() << "the panel did not end";
  }
  ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);

  ASSERT_FALSE(notices.empty());
  EXPECT_EQ(notices.front().text, "READY=1");
  std::vector<double> watchdog;
  for (const Notice& n : notices) {
    if (n.text == "WATCHDOG=1") watchdog.push_back(n.at);
    else EXPECT_EQ(n.text, "READY=1");
  }
  ASSERT_GE(watchdog.size(), 4u);
  // One a second while the loop turns; one gap as long as the hang; none while it lasts.
  // (After the hang the missed ticks are not made up: one comes at once, then on the beat.)
  int longGaps = 0;
  size_t beforeHang = 0;
  for (size_t i = 1; i < watchdog.size(); ++i) {
    const double gap = watchdog[i] - watchdog[i - 1];
    if (gap > 3.5) {
      if (++longGaps == 1) beforeHang = i;
    } else {
      EXPECT_LT(gap, 2.0) << "watchdog " << i;
    }
  }
  EXPECT_EQ(longGaps, 1);
  EXPECT_GE(beforeHang, 2u);
  EXPECT_GT(watchdog.size(), beforeHang + 1);
}

// The installed files, the installed panel run from elsewhere, and its removal. One test does
// all of it, as the install writes its list of files into the build folder.
class InstalledPanel : public ::testing::Test {
 protected:
  TempDir dir;
  std::string prefix = dir.path + "/prefix";
  // Runs the installed panel headless in `cwd` on `root` with a screenshot of the main screen.
  int RunInstalled(const std::string& cwd, const std::string& root, const std::string& shot,
                   const std::string& extra) {
    std::filesystem::create_directories(cwd);
    std::ofstream(cwd + "/shot.txt") << "wait 1200\nscreenshot " << shot << "\nquit\n";
    return Shell("cd '" + cwd + "' && env -u DISPLAY -u WAYLAND_DISPLAY '" + prefix +
                 "/bin/dryer-panel' --headless --root '" + root + "' --script shot.txt --run-for 20 " + extra +
                 " > run.log 2>&1");
  }
};

TEST_F(InstalledPanel, RunsFromAnotherFolderWithTheDataInstalledBesideIt) {
  ASSERT_EQ(Shell("cmake --install '" DRYER_BINARY_DIR "' --prefix '" + prefix + "' > '" + dir.path +
                  "/install.log' 2>&1"),
            0)
      << ReadAll(dir.path + "/install.log");
  const std::string share = prefix + "/share/dryer-panel";
  // What scripts/install keeps for scripts/uninstall.
  std::filesystem::copy_file(DRYER_BINARY_DIR "/install_manifest.txt", share + "/install-manifest.txt");
  for (const char* f : {"/bin/dryer-panel", "/bin/dryer-sim", "/lib/udev/rules.d/60-dryer-controller.rules"})
    EXPECT_TRUE(std::filesystem::exists(prefix + f)) << f;
  for (const char* f : {"/Languages/EN/EnglishStrings.txt", "/Languages/DE/GermanStrings.txt",
                        "/Manuals/OperatorManual_EN.pdf", "/Manuals/OperatorManual_DE.pdf"})
    EXPECT_TRUE(std::filesystem::exists(share + f)) << f;
  const std::string unit = prefix + "/lib/systemd/system/dryer-panel.service";
  EXPECT_NE(ReadAll(unit).find("ExecStart=" + prefix + "/bin/dryer-panel --fullscreen"), std::string::npos);

  // A file only the installed pack has shows where a new root's pack came from.
  std::ofstream(share + "/Languages/EN/InstalledOnly.txt") << "x";
  const std::string root = dir.path + "/root";
  ASSERT_EQ(RunInstalled(dir.path + "/elsewhere", root, dir.path + "/with.png", ""), 0)
      << ReadAll(dir.path + "/elsewhere/run.log");
  EXPECT_TRUE(std::filesystem::exists(root + "/Hard Disk/Languages/EN/InstalledOnly.txt"));
  EXPECT_TRUE(std::filesystem::exists(root + "/Hard Disk/Manuals/OperatorManual_DE.pdf"));
  std::filesystem::remove(share + "/Languages/EN/InstalledOnly.txt");

  // Its texts: the main buttons are drawn from the pack's pictures, unlike on a root given none.
  std::filesystem::create_directories(dir.path + "/nopacks");
  ASSERT_EQ(RunInstalled(dir.path + "/elsewhere", dir.path + "/bare", dir.path + "/without.png",
                         "--pack '" + dir.path + "/nopacks'"),
            0);
  plat::Bitmap with, without;
  ASSERT_EQ(plat::ReadPng((dir.path + "/with.png").c_str(), with), plat::PngResult::Ok);
  ASSERT_EQ(plat::ReadPng((dir.path + "/without.png").c_str(), without), plat::PngResult::Ok);
  int differing = 0;
  for (int y = kButtonY - 15; y <= kButtonY + 15; ++y)
    for (int x = kTimersX - 40; x <= kTimersX + 40; ++x) differing += with.At(x, y) != without.At(x, y);
  EXPECT_GT(differing, 50);

  ASSERT_EQ(Shell("'" DRYER_SOURCE_DIR "/scripts/uninstall' '" + prefix + "' > '" + dir.path + "/un.log' 2>&1"), 0)
      << ReadAll(dir.path + "/un.log");
  std::vector<std::string> left;
  for (const auto& e : std::filesystem::recursive_directory_iterator(prefix))
    if (!e.is_directory()) left.push_back(e.path().string());
  EXPECT_TRUE(left.empty()) << left.front();
}

TEST(ServiceUnit, PassesSystemdVerify) {
  if (Shell("command -v systemd-analyze > /dev/null") != 0) GTEST_SKIP() << "systemd-analyze is not installed";
  // The unit as an install to the build folder would write it: its program must exist.
  TempDir dir;
  std::string unit = ReadAll(DRYER_SOURCE_DIR "/packaging/dryer-panel.service");
  const std::string program = "/usr/local/bin/dryer-panel";
  const size_t at = unit.find(program);
  ASSERT_NE(at, std::string::npos);
  unit.replace(at, program.size(), DRYER_BINARY_DIR "/bin/dryer-panel");
  std::ofstream(dir.path + "/dryer-panel.service") << unit;
  const std::string log = dir.path + "/verify.log";
  EXPECT_EQ(Shell("systemd-analyze verify '" + dir.path + "/dryer-panel.service' > '" + log + "' 2>&1"), 0)
      << ReadAll(log);
  // It warns about what it cannot check as well; nothing about this unit may be among it.
  EXPECT_EQ(ReadAll(log).find("dryer-panel.service"), std::string::npos) << ReadAll(log);
}

// The manuals are well-formed PDF: every cross-reference points at its object, the trailer at
// the table, and the page tree counts the pages there are.
TEST(OperatorManuals, AreWellFormedPdf) {
  const std::string manuals = DRYER_BINARY_DIR "/assets/Manuals/OperatorManual_";
  for (const char* code : {"EN", "DE"}) {
    const std::string pdf = ReadAll(manuals + code + ".pdf");
    ASSERT_EQ(pdf.rfind("%PDF-1.4\n", 0), 0u) << code;
    const size_t startxref = pdf.rfind("startxref\n");
    ASSERT_NE(startxref, std::string::npos);
    const size_t table = std::stoul(pdf.substr(startxref + 10));
    ASSERT_EQ(pdf.compare(table, 5, "xref\n"), 0) << code;
    std::istringstream xref(pdf.substr(table + 5));
    int first = 0, count = 0;
    xref >> first >> count;
    ASSERT_GT(count, 5);
    std::string offset, generation, kind;
    xref >> offset >> generation >> kind;  // the free head of the list
    for (int i = 1; i < count; ++i) {
      xref >> offset >> generation >> kind;
      const std::string head = std::to_string(i) + " 0 obj";
      EXPECT_EQ(pdf.compare(std::stoul(offset), head.size(), head), 0) << code << " object " << i;
    }
    size_t pages = 0;
    for (size_t at = pdf.find("/Type /Page "); at != std::string::npos; at = pdf.find("/Type /Page ", at + 1)) ++pages;
    EXPECT_NE(pdf.find("/Count " + std::to_string(pages) + " "), std::string::npos) << code;
    EXPECT_GE(pages, 2u) << code;
  }
  // The German manual's letters are in the code page the fonts are set in, not replaced.
  EXPECT_NE(ReadAll(manuals + "DE.pdf").find("f\xFCr den Bediener"), std::string::npos);
}

}  // namespace
