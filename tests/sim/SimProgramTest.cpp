// The dryer-sim program: its options, its pseudo-terminal, its exit on a signal, and the real
// link served by it from another process.
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>

#include "link/Framing.h"
#include "link/Link.h"
#include "platform/Pty.h"
#include "tests/link/LinkTestSupport.h"

namespace {

std::string SimProgram() { return std::string(DRYER_BINARY_DIR) + "/bin/dryer-sim"; }

bool ProgramBuilt() { return access(SimProgram().c_str(), X_OK) == 0; }

// Runs a shell command; returns its exit code, or -1 when it did not exit normally.
int Shell(const std::string& command) {
  const int status = std::system(command.c_str());
  return (status != -1 && WIFEXITED(status)) ? WEXITSTATUS(status) : -1;
}

std::string TempDir() {
  const char* base = std::getenv("TMPDIR");
  std::string pattern = std::string(base && base[0] ? base : "/tmp") + "/dryer-sim-test-XXXXXX";
  char* made = mkdtemp(pattern.data());
  return made ? std::string(made) : std::string();
}

class DryerSimProgram : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!ProgramBuilt()) GTEST_SKIP() << "dryer-sim is not built in this build tree";
    dir = TempDir();
    ASSERT_FALSE(dir.empty());
  }
  void TearDown() override {
    if (!dir.empty()) Shell("rm -rf '" + dir + "'");
  }
  std::string ReadFile(const std::string& name) {
    std::string text;
    if (FILE* f = std::fopen((dir + "/" + name).c_str(), "r")) {
      char buffer[4096];
      size_t n;
      while ((n = std::fread(buffer, 1, sizeof(buffer), f)) > 0) text.append(buffer, n);
      std::fclose(f);
    }
    return text;
  }
  std::string dir;
};

TEST_F(DryerSimProgram, BadOptionsAreRefusedWithAMessageAndExitTwo) {
  const std::string sim = SimProgram();
  const std::string err = " 2>'" + dir + "/err' >/dev/null";
  EXPECT_EQ(Shell(sim + " --bogus" + err), 2);
  EXPECT_NE(ReadFile("err").find("unknown option: --bogus"), std::string::npos) << ReadFile("err");
  EXPECT_EQ(Shell(sim + " --pty --drop-every" + err), 2);
  EXPECT_NE(ReadFile("err").find("missing value for: --drop-every"), std::string::npos);
  EXPECT_EQ(Shell(sim + " --pty --corrupt-every many" + err), 2);
  EXPECT_NE(ReadFile("err").find("bad value for --corrupt-every: many"), std::string::npos);
  EXPECT_EQ(Shell(sim + " --pty --warning 14:5@30" + err), 2);
  EXPECT_EQ(Shell(sim + " --pty --warning 14:5@30-20" + err), 2);
  EXPECT_EQ(Shell(sim + " --pty --silent-after 5" + err), 2);
  EXPECT_EQ(Shell(sim + err), 2);                         // neither --pty nor --port
  EXPECT_EQ(Shell(sim + " --pty --port /dev/null" + err), 2);  // both
  EXPECT_EQ(Shell(sim + " --port '" + dir + "/none'" + err), 1);  // a device that does not exist
  EXPECT_EQ(Shell(sim + " --help >'" + dir + "/out'"), 0);
  EXPECT_NE(ReadFile("out").find("--split-every N"), std::string::npos);
}

TEST_F(DryerSimProgram, PrintsTheSlavePathFirstAndExitsCleanlyOnSigterm) {
  // Started in the background; once it has printed its path it is sent SIGTERM by its pid.
  // --run-for bounds it should the signal never come.
  const std::string script = "'" + SimProgram() + "' --pty --fast --run-for 20 >'" + dir + "/out' 2>'" + dir +
                             "/err' & p=$!; i=0; while [ ! -s '" + dir +
                             "/out' ] && [ $i -lt 200 ]; do sleep 0.05; i=$((i+1)); done; "
                             "kill -TERM $p; wait $p";
  const auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(Shell(script), 0) << ReadFile("err");
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(15));  // the signal, not --run-for
  const std::string out = ReadFile("out");
  EXPECT_EQ(out.rfind("/dev/pts/", 0), 0u) << out;
  EXPECT_EQ(out.find('\n'), out.size() - 1) << out;  // one line, then nothing
}

TEST_F(DryerSimProgram, ServesOnAGivenDevice) {
  // The test holds the master of a pair and plays the panel; dryer-sim serves the slave.
  plat::PtyPair line;
  ASSERT_EQ(line.Open(), plat::PtyResult::Ok);
  const std::string command = "'" + SimProgram() + "' --port '" + line.SlavePath() + "' --fast --run-for 3";
  FILE* sim = popen(command.c_str(), "r");
  ASSERT_NE(sim, nullptr);
  char path[128] = {};
  ASSERT_NE(std::fgets(path, sizeof(path), sim), nullptr);
  EXPECT_EQ(std::string(path), std::string(line.SlavePath()) + "\n");

  ASSERT_EQ(line.Write(lnk::kPollFrame, lnk::kPollFrameLength), plat::PtyResult::Ok);
  uint8_t answer[2 * lnk::kStatusFrameLength] = {};
  int have = 0;
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(3);
  while (have < lnk::kStatusFrameLength && std::chrono::steady_clock::now() < deadline) {
    line.WaitReadable(50);
    int got = 0;
    line.Read(answer + have, static_cast<int>(sizeof(answer)) - have, got);
    have += got;
  }
  EXPECT_TRUE(lnk::AcceptStatusFrame(answer, have)) << have << " bytes";
  EXPECT_EQ(answer[lnk::kStatusFanHeaterCount], 1);
  const int status = pclose(sim);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
}

TEST_F(DryerSimProgram, TheLinkKeepsItsConnectionToTheProgram) {
  lnk::CloseLink();
  lnk::ResetLinkState();
  lnk::ResetDryerStatus();
  lnk::ResetSettingRequest();
  lnk::SetLinkEvents(lnk::LinkEvents{});  // both threads post here; nothing records them
  const std::string command = "'" + SimProgram() + "' --pty --fast --run-for 3 --warning 14:5@0-60";
  FILE* sim = popen(command.c_str(), "r");
  ASSERT_NE(sim, nullptr);
  char line[128] = {};
  ASSERT_NE(std::fgets(line, sizeof(line), sim), nullptr);
  line[std::strcspn(line, "\n")] = '\0';
  ASSERT_TRUE(lnk::OpenLink(line)) << line;

  // Ticks at a tenth of the real period until the program's warning shows in the record.
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(3);
  while (lnk::ReadStatusByte(lnk::kStatusWarningNode) == 0 && std::chrono::steady_clock::now() < deadline) {
    lnk::LinkTick();
    std::this_thread::sleep_for(std::chrono::milliseconds(17));
  }
  EXPECT_EQ(lnk::ReadStatusByte(lnk::kStatusWarningNode), lnk::kNodeMainIo);
  EXPECT_EQ(lnk::ReadStatusByte(lnk::kStatusWarningId), 5);
  EXPECT_EQ(lnk::LinkAliveCountdown(), lnk::kLinkAliveSeconds);
  lnk::CloseLink();
  const int status = pclose(sim);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
  lnk::ResetDryerStatus();
}

}  // namespace
