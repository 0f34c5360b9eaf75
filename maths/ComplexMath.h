#pragma once

#include "maths/PreciseArithmetic.h"
#include "maths/PreciseTrigonometry.h"

#include <cmath>
#include <complex>

// The complex operations of the filter designs that std::complex leaves to the C runtime or to
// the compiler's support library (division, magnitude, square root, polar form): here in plain
// double arithmetic, so every target computes the same poles, zeros and gains.
namespace Korvatune::PreciseMath {

using Complex = std::complex<double>;

// a / b by scaling with the larger part of b, which keeps the intermediate products in range.
inline Complex divide(Complex a, Complex b) {
    if (std::fabs(b.real()) >= std::fabs(b.imag())) {
        const double ratio = b.imag() / b.real();
        const double denominator = b.real() + b.imag() * ratio;
        return {(a.real() + a.imag() * ratio) / denominator,
                (a.imag() - a.real() * ratio) / denominator};
    }
    const double ratio = b.real() / b.imag();
    const double denominator = b.real() * ratio + b.imag();
    return {(a.real() * ratio + a.imag()) / denominator,
            (a.imag() * ratio - a.real()) / denominator};
}

// |z| to within about half an ulp, for parts below 2^500 in magnitude: the sum of squares
// exactly as a pair, then its square root with one correction step.
inline double magnitude(Complex z) {
    const DoubleDouble re = twoProduct(z.real(), z.real());
    const DoubleDouble im = twoProduct(z.imag(), z.imag());
    const DoubleDouble sum = twoSum(re.hi, im.hi);
    const double square = sum.hi + (sum.lo + re.lo + im.lo);
    if (!(square > 0.0) || std::isinf(square)) {
        return std::sqrt(square);
    }
    const double root = std::sqrt(square);
    const DoubleDouble back = twoProduct(root, root);
    const double residual = ((sum.hi - back.hi) - back.lo) + (sum.lo + re.lo + im.lo);
    return root + residual / (2.0 * root);
}

// The principal square root (the one with a non-negative real part; on the negative real axis
// the imaginary part takes the sign of z's imaginary zero).
inline Complex squareRoot(Complex z) {
    if (z.real() == 0.0 && z.imag() == 0.0) {
        return {0.0, z.imag()};
    }
    const double root = std::sqrt(0.5 * (std::fabs(z.real()) + magnitude(z)));
    const double other = z.imag() / (2.0 * root);
    if (z.real() >= 0.0) {
        return {root, other};
    }
    return {std::fabs(other), std::copysign(root, z.imag())};
}

// e^(i angle): the point of the unit circle at that angle.
inline Complex unitPhasor(double angle) {
    const SineCosine point = sinCos(angle);
    return {point.cosine, point.sine};
}

} // namespace Korvatune::PreciseMath
