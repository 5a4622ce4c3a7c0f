#pragma once
// The machine's memory figures, as the system information dialog shows them.
#include <cstdint>

namespace plat {

// Total and available physical memory in bytes; false (both 0) when the system does not say.
bool GetMemoryStatus(uint64_t& totalBytes, uint64_t& availableBytes);

}  // namespace plat
