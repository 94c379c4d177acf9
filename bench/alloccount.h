// Counts heap allocations made anywhere in the benchmark process, so a benchmark can report how
// many allocations one iteration makes.
#pragma once

#include <cstdint>

namespace kesmora::bench {

struct AllocationCounts {
    std::uint64_t newCalls = 0;    // global operator new, all forms
    std::uint64_t mallocCalls = 0; // malloc, calloc, realloc and aligned forms: C++ and Qt's own
};

AllocationCounts allocationCounts();

} // namespace kesmora::bench
