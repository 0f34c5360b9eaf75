#pragma once

#include <bit>
#include <cstdint>

// Sums and products of doubles carried exactly as an unevaluated pair hi + lo: the extra
// precision the double-precision kernels keep through the steps where one rounding would cost
// them an ulp. Plain additions and multiplications only, no fused multiply-add, so every target
// computes the same pairs.
namespace Korvatune::PreciseMath {

struct DoubleDouble {
    double hi;
    double lo;
};

// a + b exactly, for any a and b.
inline DoubleDouble twoSum(double a, double b) {
    const double sum = a + b;
    const double bPart = sum - a;
    const double aPart = sum - bPart;
    return {sum, (a - aPart) + (b - bPart)};
}

// a + b exactly, where |a| >= |b| or a is 0.
inline DoubleDouble fastTwoSum(double a, double b) {
    const double sum = a + b;
    return {sum, b - (sum - a)};
}

// a as two halves of at most 26 significant bits each, for |a| below 2^995.
inline DoubleDouble split(double a) {
    const double scaled = 134217729.0 * a; // 2^27 + 1
    const double high = scaled - (scaled - a);
    return {high, a - high};
}

// a * b exactly, for |a| and |b| below 2^995 and a product that neither overflows nor falls
// below 2^-969.
inline DoubleDouble twoProduct(double a, double b) {
    const double product = a * b;
    const DoubleDouble x = split(a);
    const DoubleDouble y = split(b);
    return {product, ((x.hi * y.hi - product) + x.hi * y.lo + x.lo * y.hi) + x.lo * y.lo};
}

// 2^n for n in -1022..1023, from its bits.
inline double powerOfTwo(int n) {
    return std::bit_cast<double>(static_cast<std::uint64_t>(n + 1023) << 52);
}

} // namespace Korvatune::PreciseMath
