#include "platform/Serial.h"

#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include "platform/Clock.h"

namespace plat {

namespace {

constexpr speed_t kBaud = B38400;
// Longest time a write waits for room in the output queue before it gives up.
constexpr int kWriteRoomWaitMs = 200;

constexpr const char* kSerialResultTexts[] = {
    "ok", "port not open", "open failed", "device busy", "device gone", "write failed",
    "no such device", "permission denied: add the user to the dialout group", "not a terminal",
};
static_assert(sizeof(kSerialResultTexts) / sizeof(kSerialResultTexts[0]) ==
              static_cast<size_t>(SerialResult::NotATerminal) + 1);

SerialResult OpenError(int err) {
  switch (err) {
    case ENOENT:
    case ENODEV:
    case ENXIO:
    case ENOTDIR:
      return SerialResult::NoDevice;
    case EACCES:
    case EPERM:
      return SerialResult::PermissionDenied;
    case EBUSY:
      return SerialResult::Busy;
    default:
      return SerialResult::OpenFailed;
  }
}

bool IsDisappearance(int err) { return err == EIO || err == ENXIO || err == ENODEV || err == EPIPE; }

// 38400 baud, 8 data bits, even parity, one stop bit, raw, parity checked, reads that return
// at once with whatever has arrived.
bool ConfigureLine(int fd) {
  termios tio{};
  if (tcgetattr(fd, &tio) != 0) return false;
  cfmakeraw(&tio);
  cfsetispeed(&tio, kBaud);
  cfsetospeed(&tio, kBaud);
  tio.c_cflag &= ~(CSIZE | CSTOPB | PARODD | CRTSCTS);
  tio.c_cflag |= CS8 | PARENB | CREAD | CLOCAL;
  tio.c_iflag &= ~(IGNPAR | PARMRK | ISTRIP | IXON | IXOFF | IXANY | IGNBRK);
  tio.c_iflag |= INPCK;
  tio.c_cc[VMIN] = 0;
  tio.c_cc[VTIME] = 0;
  // A pseudo-terminal drops the parity bit, and the C library then reports EINVAL although
  // the rest was applied; what matters is that the line is raw, 8 bits wide and the reads do
  // not wait, so those are read back and checked instead.
  if (tcsetattr(fd, TCSANOW, &tio) != 0 && errno != EINVAL) return false;
  termios check{};
  if (tcgetattr(fd, &check) != 0) return false;
  return (check.c_lflag & (ICANON | ECHO | ISIG)) == 0 && (check.c_cflag & CSIZE) == CS8 &&
         check.c_cc[VMIN] == 0 && check.c_cc[VTIME] == 0;
}

}  // namespace

const char* SerialResultText(SerialResult r) {
  auto i = static_cast<size_t>(r);
  return i < sizeof(kSerialResultTexts) / sizeof(kSerialResultTexts[0]) ? kSerialResultTexts[i]
                                                                        : "unknown";
}

SerialPort::~SerialPort() { Close(); }

SerialResult SerialPort::Open(const char* devicePath) {
  Close();
  if (!devicePath || std::strlen(devicePath) >= sizeof(path_)) return SerialResult::OpenFailed;
  std::strcpy(path_, devicePath);
  wanted_ = true;
  return OpenDevice();
}

SerialResult SerialPort::OpenDevice() {
  lastAttemptMs_ = NowMs();
  attempted_ = true;
  int fd = ::open(path_, O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return OpenError(errno);
  if (!isatty(fd)) {
    ::close(fd);
    return SerialResult::NotATerminal;
  }
  // TIOCEXCL keeps other programs out but not a privileged one; the lock also keeps out a
  // second panel running as root.
  if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
    ::close(fd);
    return SerialResult::Busy;
  }
  if (ioctl(fd, TIOCEXCL) != 0 || !ConfigureLine(fd)) {
    ::close(fd);
    return SerialResult::OpenFailed;
  }
  tcflush(fd, TCIOFLUSH);
  fd_ = fd;
  return SerialResult::Ok;
}

void SerialPort::Close() {
  wanted_ = false;
  CloseDevice();
}

void SerialPort::CloseDevice() {
  if (fd_ < 0) return;
  ioctl(fd_, TIOCNXCL);
  ::close(fd_);
  fd_ = -1;
}

SerialResult SerialPort::Lost() {
  CloseDevice();
  // The first reopen comes one retry period after the loss, not at once.
  lastAttemptMs_ = NowMs();
  attempted_ = true;
  return SerialResult::Gone;
}

SerialResult SerialPort::Read(uint8_t* buffer, int capacity, int& got) {
  got = 0;
  if (fd_ < 0) return SerialResult::NotOpen;
  if (capacity <= 0) return SerialResult::Ok;
  pollfd p{fd_, POLLIN, 0};
  int ready = poll(&p, 1, 0);
  if (ready < 0) return errno == EINTR ? SerialResult::Ok : Lost();
  if (p.revents & (POLLHUP | POLLERR | POLLNVAL)) return Lost();
  if (!(p.revents & POLLIN)) return SerialResult::Ok;
  ssize_t n = ::read(fd_, buffer, static_cast<size_t>(capacity));
  if (n > 0) {
    got = static_cast<int>(n);
    return SerialResult::Ok;
  }
  // Readable but nothing to read is how a pulled USB adapter looks.
  if (n == 0) return Lost();
  if (errno == EAGAIN || errno == EINTR) return SerialResult::Ok;
  if (IsDisappearance(errno)) return Lost();
  return SerialResult::Ok;
}

SerialResult SerialPort::Write(const uint8_t* buffer, int length) {
  if (fd_ < 0) return SerialResult::NotOpen;
  int done = 0;
  int waitedMs = 0;
  while (done < length) {
    ssize_t n = ::write(fd_, buffer + done, static_cast<size_t>(length - done));
    if (n > 0) {
      done += static_cast<int>(n);
      continue;
    }
    if (n < 0 && errno == EINTR) continue;
    if (n < 0 && IsDisappearance(errno)) return Lost();
    if (n < 0 && errno != EAGAIN) return SerialResult::WriteFailed;
    if (waitedMs >= kWriteRoomWaitMs) return SerialResult::WriteFailed;
    pollfd p{fd_, POLLOUT, 0};
    int ready = poll(&p, 1, 10);
    waitedMs += 10;
    if (ready > 0 && (p.revents & (POLLHUP | POLLERR | POLLNVAL))) return Lost();
  }
  return SerialResult::Ok;
}

void SerialPort::Purge() {
  if (fd_ >= 0) tcflush(fd_, TCIOFLUSH);
}

bool SerialPort::Maintain(uint32_t retryMs) {
  if (fd_ >= 0) return true;
  if (!wanted_) return false;
  if (attempted_ && NowMs() - lastAttemptMs_ < retryMs) return false;
  return OpenDevice() == SerialResult::Ok;
}

}  // namespace plat
