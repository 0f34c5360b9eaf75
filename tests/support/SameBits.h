#pragma once

#include <algorithm>
#include <bit>
#include <cstdint>
#include <vector>

namespace Korvatune::testing {

// Equal samples down to the sign of zero.
inline bool sameBits(const std::vector<float>& a, const std::vector<float>& b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](float x, float y) {
               return std::bit_cast<std::uint32_t>(x) == std::bit_cast<std::uint32_t>(y);
           });
}

} // namespace Korvatune::testing
