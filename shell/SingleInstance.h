#pragma once
// One panel per root: the first copy holds a lock file in the root and listens on a FIFO
// beside it; a second copy finds the lock taken, writes one byte into the FIFO so that the
// first comes to the front, and exits.
namespace shell {

enum class InstanceResult : unsigned char {
  First,           // this copy runs the panel
  AlreadyRunning,  // another copy holds the root; it has been asked to come to the front
  Failed,          // the lock file could not be made; the panel runs without the guard
};
const char* InstanceResultText(InstanceResult r);

InstanceResult AcquireInstance(const char* rootDir);
// True once for every request of a later copy since the last call (never blocks).
bool TakeFrontRequest();
void ReleaseInstance();

}  // namespace shell
