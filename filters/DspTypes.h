#pragma once

#include <array>
#include <complex>
#include <numbers>

namespace Dsp {

using Complex = std::complex<double>;

inline constexpr int kMaxParameters = 8;
// Sample rate, frequencies in Hz, order (truncated where used), Q or ripple, by design.
using Parameters = std::array<double, kMaxParameters>;

inline constexpr double kPi = std::numbers::pi;

enum class Kind { lowPass, highPass, bandPass };

} // namespace Dsp
