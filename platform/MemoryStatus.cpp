#include "platform/MemoryStatus.h"

#include <unistd.h>

namespace plat {

bool GetMemoryStatus(uint64_t& totalBytes, uint64_t& availableBytes) {
  totalBytes = availableBytes = 0;
  long page = sysconf(_SC_PAGESIZE);
  long pages = sysconf(_SC_PHYS_PAGES);
  long free = sysconf(_SC_AVPHYS_PAGES);
  if (page <= 0 || pages <= 0 || free < 0) return false;
  totalBytes = static_cast<uint64_t>(pages) * static_cast<uint64_t>(page);
  availableBytes = static_cast<uint64_t>(free) * static_cast<uint64_t>(page);
  return true;
}

}  // namespace plat
