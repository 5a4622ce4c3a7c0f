#pragma once
// Finding the USB stick without being told where it is mounted: the first writable mount of
// a removable drive in the kernel's mount list. A drive counts as removable when the desktop's
// automounter put it under /media or /run/media, or when its disk says so in /sys/block (the
// removable flag, or a disk that hangs off a USB controller).
#include <cstddef>

namespace plat {

// The mount folder of a writable removable drive, as a host path; false when none is mounted
// or the folder does not fit `size`.
bool FindRemovableMount(char* out, size_t size);

// Tests: read the mount list and the block devices from these files instead of
// /proc/self/mounts and /sys/block; null restores them.
void SetRemovableDriveSources(const char* mountsFile, const char* sysBlockDir);

}  // namespace plat
