#include "platform/InstanceLock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace plat {
namespace {

int g_lockFd = -1;
int g_fifoFd = -1;

}  // namespace

LockResult TakeInstanceLock(const char* lockPath) {
  const int fd = ::open(lockPath, O_RDWR | O_CREAT | O_CLOEXEC, 0644);
  if (fd < 0) return LockResult::Failed;
  if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
    ::close(fd);
    return LockResult::HeldElsewhere;
  }
  g_lockFd = fd;
  return LockResult::Taken;
}

void ReleaseInstanceLock() {
  if (g_lockFd >= 0) ::close(g_lockFd);
  g_lockFd = -1;
}

bool ListenForKnocks(const char* fifoPath) {
  if (::mkfifo(fifoPath, 0600) != 0 && errno != EEXIST) return false;
  // Opened for reading and writing, so the FIFO never reads as closed between writers.
  g_fifoFd = ::open(fifoPath, O_RDWR | O_NONBLOCK | O_CLOEXEC);
  return g_fifoFd >= 0;
}

bool TakeKnocks() {
  if (g_fifoFd < 0) return false;
  char buffer[64];
  bool any = false;
  while (::read(g_fifoFd, buffer, sizeof buffer) > 0) any = true;
  return any;
}

void StopListening() {
  if (g_fifoFd >= 0) ::close(g_fifoFd);
  g_fifoFd = -1;
}

void Knock(const char* fifoPath) {
  // Non-blocking open for writing fails when nobody reads; then there is nothing to wake.
  const int front = ::open(fifoPath, O_WRONLY | O_NONBLOCK | O_CLOEXEC);
  if (front < 0) return;
  const char byte = 1;
  [[maybe_unused]] ssize_t n = ::write(front, &byte, 1);
  ::close(front);
}

}  // namespace plat
