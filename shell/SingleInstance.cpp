#include "shell/SingleInstance.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

namespace shell {
namespace {

constexpr const char* kLockName = ".dryer-panel.lock";
constexpr const char* kFifoName = ".dryer-panel.front";

struct InstanceState {
  int lockFd = -1;
  int fifoFd = -1;
};
InstanceState gInstance;

bool JoinPath(char* out, size_t size, const char* dir, const char* name) {
  const int n = std::snprintf(out, size, "%s/%s", dir, name);
  return n > 0 && static_cast<size_t>(n) < size;
}

}  // namespace

const char* InstanceResultText(InstanceResult r) {
  switch (r) {
    case InstanceResult::First: return "first instance";
    case InstanceResult::AlreadyRunning: return "already running";
    case InstanceResult::Failed: return "lock file unavailable";
  }
  return "?";
}

InstanceResult AcquireInstance(const char* rootDir) {
  char lockPath[1024];
  char fifoPath[1024];
  if (!JoinPath(lockPath, sizeof lockPath, rootDir, kLockName) ||
      !JoinPath(fifoPath, sizeof fifoPath, rootDir, kFifoName))
    return InstanceResult::Failed;
  const int fd = ::open(lockPath, O_RDWR | O_CREAT | O_CLOEXEC, 0644);
  if (fd < 0) return InstanceResult::Failed;
  if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
    ::close(fd);
    // Non-blocking open for writing fails when nobody reads; then there is nothing to wake.
    const int front = ::open(fifoPath, O_WRONLY | O_NONBLOCK | O_CLOEXEC);
    if (front >= 0) {
      const char byte = 1;
      [[maybe_unused]] ssize_t n = ::write(front, &byte, 1);
      ::close(front);
    }
    return InstanceResult::AlreadyRunning;
  }
  gInstance.lockFd = fd;
  if (::mkfifo(fifoPath, 0600) != 0 && errno != EEXIST) return InstanceResult::First;
  // Opened for reading and writing, so the FIFO never reads as closed between writers.
  gInstance.fifoFd = ::open(fifoPath, O_RDWR | O_NONBLOCK | O_CLOEXEC);
  return InstanceResult::First;
}

bool TakeFrontRequest() {
  if (gInstance.fifoFd < 0) return false;
  char buffer[64];
  bool any = false;
  while (::read(gInstance.fifoFd, buffer, sizeof buffer) > 0) any = true;
  return any;
}

void ReleaseInstance() {
  if (gInstance.fifoFd >= 0) ::close(gInstance.fifoFd);
  if (gInstance.lockFd >= 0) ::close(gInstance.lockFd);
  gInstance = {};
}

}  // namespace shell
