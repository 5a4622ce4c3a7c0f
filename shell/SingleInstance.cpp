#include "shell/SingleInstance.h"

#include <cstdio>

#include "platform/InstanceLock.h"

namespace shell {
namespace {

constexpr const char* kLockName = ".dryer-panel.lock";
constexpr const char* kFifoName = ".dryer-panel.front";

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
  switch (plat::TakeInstanceLock(lockPath)) {
    case plat::LockResult::Failed:
      return InstanceResult::Failed;
    case plat::LockResult::HeldElsewhere:
      plat::Knock(fifoPath);
      return InstanceResult::AlreadyRunning;
    case plat::LockResult::Taken:
      break;
  }
  // Without the FIFO the panel still runs; a later copy then only finds the lock.
  plat::ListenForKnocks(fifoPath);
  return InstanceResult::First;
}

bool TakeFrontRequest() { return plat::TakeKnocks(); }

void ReleaseInstance() {
  plat::StopListening();
  plat::ReleaseInstanceLock();
}

}  // namespace shell
