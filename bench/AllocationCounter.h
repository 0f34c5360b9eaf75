#pragma once

#include <cstddef>

namespace Korvatune::bench {

// Bytes the process holds through operator new right now; the bench replaces the global
// allocation functions to keep this count.
std::ptrdiff_t liveHeapBytes();

} // namespace Korvatune::bench
