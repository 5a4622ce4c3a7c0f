#include "platform/Serial.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <memory>
#include <string>
#include <thread>

#include <dirent.h>
#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include "platform/Clock.h"
#include "tests/platform/SysTempDir.h"

using namespace plat;

namespace {

// A pseudo-terminal pair owned by the test: the port under test opens the slave path, the
// test plays the controller on the master.
struct TestPty {
  int master = -1;
  int slave = -1;
  char path[128] = {};

  TestPty() {
    if (openpty(&master, &slave, path, nullptr, nullptr) != 0) master = slave = -1;
  }
  ~TestPty() { Close(); }
  void Close() {
    if (master >= 0) close(master);
    if (slave >= 0) close(slave);
    master = slave = -1;
  }
  bool ok() const { return master >= 0; }

  // Bytes the port wrote, waiting up to two seconds for `want` of them.
  std::string ReadMaster(size_t want) {
    std::string got;
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(2);
    while (got.size() < want && std::chrono::steady_clock::now() < deadline) {
      pollfd p{master, POLLIN, 0};
      if (poll(&p, 1, 50) <= 0) continue;
      char buf[256];
      ssize_t n = read(master, buf, sizeof(buf));
      if (n > 0) got.append(buf, static_cast<size_t>(n));
    }
    return got;
  }

  // Waits until `count` bytes written on the master are queued for the slave side.
  bool WaitQueued(int count) {
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(2);
    while (std::chrono::steady_clock::now() < deadline) {
      int queued = 0;
      if (ioctl(slave, FIONREAD, &queued) == 0 && queued >= count) return true;
      std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return false;
  }
};

// Reads from the port until `want` bytes came or two seconds passed.
std::string ReadPort(SerialPort& port, size_t want, SerialResult* last = nullptr) {
  std::string got;
  auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(2);
  while (got.size() < want && std::chrono::steady_clock::now() < deadline) {
    uint8_t buf[64];
    int n = 0;
    SerialResult r = port.Read(buf, sizeof(buf), n);
    if (last) *last = r;
    if (r != SerialResult::Ok) break;
    got.append(reinterpret_cast<char*>(buf), static_cast<size_t>(n));
    if (n == 0) std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  return got;
}

int OpenDescriptorCount() {
  int count = 0;
  if (DIR* d = opendir("/proc/self/fd")) {
    while (readdir(d)) ++count;
    closedir(d);
  }
  return count;
}

class SysSerial : public ::testing::Test {
 protected:
  void TearDown() override { UseRealClock(); }
};

}  // namespace

TEST_F(SysSerial, ExchangesBytesRawAndNeverBlocks) {
  TestPty pty;
  ASSERT_TRUE(pty.ok());
  SerialPort port;
  ASSERT_EQ(port.Open(pty.path), SerialResult::Ok);
  EXPECT_TRUE(port.IsOpen());
  EXPECT_STREQ(port.Path(), pty.path);

  termios tio{};
  ASSERT_EQ(tcgetattr(pty.slave, &tio), 0);
  EXPECT_EQ(cfgetispeed(&tio), static_cast<speed_t>(B38400));
  EXPECT_EQ(tio.c_cflag & CSIZE, static_cast<tcflag_t>(CS8));
  EXPECT_EQ(tio.c_cflag & CSTOPB, 0u);
  EXPECT_EQ(tio.c_lflag & (ICANON | ECHO | ISIG), 0u);
  EXPECT_EQ(tio.c_cc[VMIN], 0);
  EXPECT_EQ(tio.c_cc[VTIME], 0);

  // Nothing sent yet: the read comes back at once with nothing.
  uint8_t buf[16];
  int got = -1;
  EXPECT_EQ(port.Read(buf, sizeof(buf), got), SerialResult::Ok);
  EXPECT_EQ(got, 0);

  // Every byte value passes untouched in both directions: CR, LF, XON/XOFF, 0 and 0xFF.
  const uint8_t frame[] = {0x07, 0x00, 0x0D, 0x0A, 0x11, 0x13, 0x03, 0x1A, 0xFF, 0x7F};
  ASSERT_EQ(port.Write(frame, sizeof(frame)), SerialResult::Ok);
  EXPECT_EQ(pty.ReadMaster(sizeof(frame)), std::string(reinterpret_cast<const char*>(frame), sizeof(frame)));
  ASSERT_EQ(write(pty.master, frame, sizeof(frame)), static_cast<ssize_t>(sizeof(frame)));
  EXPECT_EQ(ReadPort(port, sizeof(frame)), std::string(reinterpret_cast<const char*>(frame), sizeof(frame)));
}

TEST_F(SysSerial, PurgeDiscardsWhatArrivedBefore) {
  TestPty pty;
  ASSERT_TRUE(pty.ok());
  SerialPort port;
  ASSERT_EQ(port.Open(pty.path), SerialResult::Ok);
  const char stale[] = "late answer";
  ASSERT_EQ(write(pty.master, stale, 11), 11);
  ASSERT_TRUE(pty.WaitQueued(11));
  port.Purge();
  uint8_t buf[32];
  int got = -1;
  EXPECT_EQ(port.Read(buf, sizeof(buf), got), SerialResult::Ok);
  EXPECT_EQ(got, 0);
  ASSERT_EQ(write(pty.master, "new", 3), 3);
  EXPECT_EQ(ReadPort(port, 3), "new");
}

TEST_F(SysSerial, SecondOpenOfTheSameDeviceIsRefused) {
  TestPty pty;
  ASSERT_TRUE(pty.ok());
  SerialPort first;
  SerialPort second;
  ASSERT_EQ(first.Open(pty.path), SerialResult::Ok);
  EXPECT_EQ(second.Open(pty.path), SerialResult::Busy);
  EXPECT_FALSE(second.IsOpen());
  first.Close();
  EXPECT_EQ(second.Open(pty.path), SerialResult::Ok);
}

TEST_F(SysSerial, MissingDeviceOrNonTerminalSaysWhyAndReadsNotOpen) {
  SysTempDir dir;
  SerialPort port;
  EXPECT_EQ(port.Open(dir.Sub("no-such-tty").c_str()), SerialResult::NoDevice);
  EXPECT_STREQ(SerialResultText(SerialResult::NoDevice), "no such device");
  uint8_t buf[4];
  int got = 7;
  EXPECT_EQ(port.Read(buf, sizeof(buf), got), SerialResult::NotOpen);
  EXPECT_EQ(got, 0);
  EXPECT_EQ(port.Write(buf, sizeof(buf)), SerialResult::NotOpen);
  // A regular file is no serial line.
  std::string plain = dir.Sub("plain");
  int fd = open(plain.c_str(), O_CREAT | O_WRONLY, 0644);
  ASSERT_GE(fd, 0);
  close(fd);
  EXPECT_EQ(port.Open(plain.c_str()), SerialResult::NotATerminal);
  EXPECT_EQ(port.Open("/dev/null"), SerialResult::NotATerminal);
}

// A USB adapter pulled and plugged in again: the device node behind a stable name goes away
// and comes back as a new one, as /dev/serial/by-id links do.
TEST_F(SysSerial, DeviceThatDisappearsIsClosedAndReopenedAtTheRetryPace) {
  SysTempDir dir;
  std::string link = dir.Sub("ttyDryer");
  auto pair = std::make_unique<TestPty>();
  ASSERT_TRUE(pair->ok());
  ASSERT_EQ(symlink(pair->path, link.c_str()), 0);
  UseVirtualClock(LocalTime{});

  SerialPort port;
  ASSERT_EQ(port.Open(link.c_str()), SerialResult::Ok);
  int descriptorsWhileOpen = OpenDescriptorCount();
  pair->Close();

  uint8_t buf[8];
  int got = 0;
  EXPECT_EQ(port.Read(buf, sizeof(buf), got), SerialResult::Gone);
  EXPECT_FALSE(port.IsOpen());
  EXPECT_EQ(OpenDescriptorCount(), descriptorsWhileOpen - 1 - 2);  // ours and the pair's two
  EXPECT_EQ(port.Read(buf, sizeof(buf), got), SerialResult::NotOpen);

  // While the device is away, attempts come no more often than the retry period.
  EXPECT_FALSE(port.Maintain(3000));
  AdvanceVirtualClock(3000);
  EXPECT_FALSE(port.Maintain(3000));  // attempted, still missing
  int descriptorsAway = OpenDescriptorCount();

  pair = std::make_unique<TestPty>();
  ASSERT_TRUE(pair->ok());
  ASSERT_EQ(unlink(link.c_str()), 0);
  ASSERT_EQ(symlink(pair->path, link.c_str()), 0);
  AdvanceVirtualClock(2999);
  for (int i = 0; i < 100; ++i) EXPECT_FALSE(port.Maintain(3000));
  EXPECT_FALSE(port.IsOpen());
  AdvanceVirtualClock(1);
  EXPECT_TRUE(port.Maintain(3000));
  EXPECT_TRUE(port.IsOpen());
  EXPECT_EQ(OpenDescriptorCount(), descriptorsAway + 2 + 1);
  EXPECT_TRUE(port.Maintain(3000));

  ASSERT_EQ(write(pair->master, "ok", 2), 2);
  EXPECT_EQ(ReadPort(port, 2), "ok");
}

TEST_F(SysSerial, WriteToAVanishedDeviceReportsGone) {
  TestPty pty;
  ASSERT_TRUE(pty.ok());
  SerialPort port;
  ASSERT_EQ(port.Open(pty.path), SerialResult::Ok);
  pty.Close();
  const uint8_t poll[7] = {0x07};
  EXPECT_EQ(port.Write(poll, sizeof(poll)), SerialResult::Gone);
  EXPECT_FALSE(port.IsOpen());
  EXPECT_STREQ(SerialResultText(SerialResult::Gone), "device gone");
}
