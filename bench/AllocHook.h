#pragma once
// Counts every heap allocation made through operator new in the process, so a benchmark can
// report allocations per operation in the steady state (the target is zero).
#include <cstdint>

uint64_t AllocationCount();
