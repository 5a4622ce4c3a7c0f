#include "platform/Pty.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

namespace plat {

namespace {

constexpr const char* kPtyResultTexts[] = {
    "ok", "pseudo-terminal not open", "no pseudo-terminal available", "cannot make the line raw",
    "line gone", "write timed out",
};
static_assert(sizeof(kPtyResultTexts) / sizeof(kPtyResultTexts[0]) ==
              static_cast<size_t>(PtyResult::WriteFailed) + 1);

// Without raw mode the slave would echo every status byte back to the master, and the
// simulator would read its own answers as requests.
bool MakeRaw(int fd) {
  termios tio{};
  if (tcgetattr(fd, &tio) != 0) return false;
  cfmakeraw(&tio);
  cfsetispeed(&tio, B38400);
  cfsetospeed(&tio, B38400);
  tio.c_cc[VMIN] = 0;
  tio.c_cc[VTIME] = 0;
  return tcsetattr(fd, TCSANOW, &tio) == 0;
}

}  // namespace

const char* PtyResultText(PtyResult r) {
  auto i = static_cast<size_t>(r);
  return i < sizeof(kPtyResultTexts) / sizeof(kPtyResultTexts[0]) ? kPtyResultTexts[i] : "unknown";
}

PtyPair::~PtyPair() { Close(); }

PtyResult PtyPair::Open() {
  Close();
  int master = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
  if (master < 0) return PtyResult::OpenFailed;
  char path[sizeof(slavePath_)] = {};
  if (grantpt(master) != 0 || unlockpt(master) != 0 || ptsname_r(master, path, sizeof(path)) != 0) {
    ::close(master);
    return PtyResult::OpenFailed;
  }
  int slave = ::open(path, O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  if (slave < 0) {
    ::close(master);
    return PtyResult::OpenFailed;
  }
  int flags = fcntl(master, F_GETFL);
  if (flags < 0 || fcntl(master, F_SETFL, flags | O_NONBLOCK) != 0 || !MakeRaw(slave) ||
      !MakeRaw(master)) {
    ::close(slave);
    ::close(master);
    return PtyResult::ConfigFailed;
  }
  master_ = master;
  slave_ = slave;
  std::memcpy(slavePath_, path, sizeof(slavePath_));
  return PtyResult::Ok;
}

void PtyPair::Close() {
  if (slave_ >= 0) ::close(slave_);
  if (master_ >= 0) ::close(master_);
  slave_ = -1;
  master_ = -1;
  slavePath_[0] = '\0';
}

PtyResult PtyPair::Read(uint8_t* buffer, int capacity, int& got) {
  got = 0;
  if (master_ < 0) return PtyResult::NotOpen;
  if (capacity <= 0) return PtyResult::Ok;
  ssize_t n = ::read(master_, buffer, static_cast<size_t>(capacity));
  if (n > 0) {
    got = static_cast<int>(n);
    return PtyResult::Ok;
  }
  if (n < 0 && (errno == EAGAIN || errno == EINTR)) return PtyResult::Ok;
  return PtyResult::Gone;
}

PtyResult PtyPair::Write(const uint8_t* buffer, int length, int maxWaitMs) {
  if (master_ < 0) return PtyResult::NotOpen;
  int done = 0;
  int waitedMs = 0;
  while (done < length) {
    ssize_t n = ::write(master_, buffer + done, static_cast<size_t>(length - done));
    if (n > 0) {
      done += static_cast<int>(n);
      continue;
    }
    if (n < 0 && errno == EINTR) continue;
    if (n < 0 && errno != EAGAIN) return PtyResult::Gone;
    if (waitedMs >= maxWaitMs) return PtyResult::WriteFailed;
    pollfd p{master_, POLLOUT, 0};
    poll(&p, 1, 5);
    waitedMs += 5;
  }
  return PtyResult::Ok;
}

bool PtyPair::WaitReadable(int timeoutMs) {
  if (master_ < 0) return false;
  pollfd p{master_, POLLIN, 0};
  int ready = poll(&p, 1, timeoutMs);
  return ready > 0 && (p.revents & POLLIN);
}

}  // namespace plat
