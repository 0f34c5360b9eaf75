#pragma once

#include "maths/MathKernels.h"
#include "maths/PreciseArithmetic.h"

#include <bit>
#include <cmath>
#include <cstdint>

// An angle as a quadrant count and a remainder within a quarter of pi: the first step of every
// double-precision sine, cosine and tangent. Exact to far below an ulp of the remainder for
// every finite double, so the kernels after it see the true angle.
namespace Korvatune::PreciseMath {

// x = quadrant * pi/2 + remainder.hi + remainder.lo, with |remainder| <= pi/4 (a hair more where
// the quadrant count rounds) and the quadrant counted modulo 4.
struct ReducedAngle {
    int quadrant;
    DoubleDouble remainder;
};

// pi/2 in three parts; the first two have 33 significant bits, so their products with quadrant
// counts below 2^20 are exact.
inline constexpr double kHalfPiParts[3] = {1.5707963267341256, 6.077100506303966e-11,
                                           2.0222662487959506e-21};

namespace detail {

inline constexpr double kTwoOverPi = 0.6366197723675814;
inline constexpr double kHalfPiHigh = 1.5707963267948966;
inline constexpr double kHalfPiLow = 6.123233995736766e-17;
inline constexpr double kNearLimit = 1048576.0; // 2^20

// The bits of 2/pi after the binary point, 32 at a time: enough for the quadrant of the largest
// double and 192 bits of its fraction.
inline constexpr std::uint32_t kTwoOverPiBits[40] = {
    0xA2F9836E, 0x4E441529, 0xFC2757D1, 0xF534DDC0, 0xDB629599, 0x3C439041, 0xFE5163AB, 0xDEBBC561,
    0xB7246E3A, 0x424DD2E0, 0x06492EEA, 0x09D1921C, 0xFE1DEB1C, 0xB129A73E, 0xE88235F5, 0x2EBB4484,
    0xE99C7026, 0xB45F7E41, 0x3991D639, 0x835339F4, 0x9C845F8B, 0xBDF9283B, 0x1FF897FF, 0xDE05980F,
    0xEF2F118B, 0x5A0A6D1F, 0x6D367ECF, 0x27CB09B7, 0x4F463F66, 0x9E5FEA2D, 0x7527BAC7, 0xEBE5F17B,
    0x3D0739F7, 0x8A5292EA, 0x6BFB5FB1, 0x1F8D5D08, 0x56033046, 0xFC7B6BAB, 0xF0CFBC20, 0x9AF4361D};

// Below 2^20: the count times the three parts of pi/2 taken away one by one, the rounding of
// the second step kept.
inline ReducedAngle reduceNear(double x) {
    const FastMath::detail::RoundedLanes<double> count =
        FastMath::detail::roundWithInteger(x * kTwoOverPi);
    const double first = x - count.value * kHalfPiParts[0];
    const DoubleDouble second = twoSum(first, -(count.value * kHalfPiParts[1]));
    return {static_cast<int>(count.integer & 3),
            twoSum(second.hi, second.lo - count.value * kHalfPiParts[2])};
}

// 32 bits of 2/pi starting `skipped` bits after the binary point; bits before it read 0.
inline std::uint32_t twoOverPiWord(int skipped) {
    if (skipped <= -32) {
        return 0;
    }
    if (skipped < 0) {
        return kTwoOverPiBits[0] >> -skipped;
    }
    const int word = skipped / 32;
    const int shift = skipped % 32;
    if (shift == 0) {
        return kTwoOverPiBits[word];
    }
    return (kTwoOverPiBits[word] << shift) | (kTwoOverPiBits[word + 1] >> (32 - shift));
}

// A 192-bit number as three 64-bit words, the most significant first.
struct Wide192 {
    std::uint64_t high;
    std::uint64_t middle;
    std::uint64_t low;
};

// mantissa * 2^exponent * 2/pi modulo 4, scaled by 2^190: the mantissa times the 192 bits of
// 2/pi whose product with it reaches the ones and twos, modulo 2^192. The bits of 2/pi before
// that window only add multiples of 4.
inline Wide192 quartersModFour(std::uint64_t mantissa, int exponent) {
    std::uint32_t window[6]; // least significant first
    for (int i = 0; i < 6; ++i) {
        window[i] = twoOverPiWord(exponent - 2 + 32 * (5 - i));
    }
    std::uint32_t product[6] = {};
    const std::uint64_t factors[2] = {mantissa & 0xFFFFFFFFu, mantissa >> 32};
    for (int part = 0; part < 2; ++part) {
        std::uint64_t carry = 0;
        for (int i = 0; i + part < 6; ++i) {
            const std::uint64_t sum = factors[part] * window[i] + product[i + part] + carry;
            product[i + part] = static_cast<std::uint32_t>(sum);
            carry = sum >> 32;
        }
    }
    const auto join = [&](int high) {
        return (std::uint64_t{product[high]} << 32) | product[high - 1];
    };
    return {join(5), join(3), join(1)};
}

// The fraction of the quarter turns (below 2^190 after the two quadrant bits are removed) as
// a double pair, times 2^-190.
inline DoubleDouble fractionOf(Wide192 bits) {
    int scale = -62;
    for (int shifts = 0; shifts < 2 && bits.high == 0; ++shifts) {
        bits = {bits.middle, bits.low, 0};
        scale -= 64;
    }
    if (bits.high == 0) {
        return {0.0, 0.0};
    }
    const int lead = std::countl_zero(bits.high);
    const std::uint64_t top =
        lead == 0 ? bits.high : (bits.high << lead) | (bits.middle >> (64 - lead));
    const double unit = powerOfTwo(scale - lead);
    return {static_cast<double>(top >> 11) * (unit * 2048.0),
            static_cast<double>(top & 0x7FF) * unit};
}

// 2^190 less a fraction of at least 2^189: how far the fraction lies below the next quarter.
inline Wide192 distanceToNextQuarter(Wide192 fraction) {
    Wide192 distance = {~fraction.high, ~fraction.middle, ~fraction.low + 1};
    const bool carryMiddle = distance.low == 0;
    distance.middle += carryMiddle ? 1 : 0;
    distance.high += (carryMiddle && distance.middle == 0) ? 1 : 0;
    distance.high &= 0x3FFFFFFFFFFFFFFFull;
    return distance;
}

// 2^20 and beyond, every finite double: the exact product of its mantissa with the bits of 2/pi.
inline ReducedAngle reduceFar(double x) {
    const std::uint64_t bits = std::bit_cast<std::uint64_t>(x);
    const int exponent = static_cast<int>((bits >> 52) & 0x7FF) - 1075;
    const std::uint64_t mantissa = (bits & 0xFFFFFFFFFFFFFull) | (1ull << 52);
    Wide192 quarters = quartersModFour(mantissa, exponent);
    int quadrant = static_cast<int>(quarters.high >> 62);
    quarters.high &= 0x3FFFFFFFFFFFFFFFull;
    // A fraction of a half or more belongs to the next quadrant, as a negative remainder.
    const bool upper = (quarters.high >> 61) != 0;
    if (upper) {
        quadrant += 1;
        quarters = distanceToNextQuarter(quarters);
    }
    const DoubleDouble fraction = fractionOf(quarters);
    const DoubleDouble product = twoProduct(fraction.hi, kHalfPiHigh);
    DoubleDouble remainder =
        fastTwoSum(product.hi, product.lo + fraction.hi * kHalfPiLow + fraction.lo * kHalfPiHigh);
    if (upper) {
        remainder = {-remainder.hi, -remainder.lo};
    }
    if (x < 0.0) {
        return {-quadrant & 3, {-remainder.hi, -remainder.lo}};
    }
    return {quadrant & 3, remainder};
}

} // namespace detail

// For every finite x; a non-finite x gives a NaN remainder.
inline ReducedAngle reduceAngle(double x) {
    if (std::fabs(x) < detail::kNearLimit) {
        return detail::reduceNear(x);
    }
    if (!std::isfinite(x)) {
        const double nan = x - x;
        return {0, {nan, nan}};
    }
    return detail::reduceFar(x);
}

} // namespace Korvatune::PreciseMath
