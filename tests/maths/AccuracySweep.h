#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cfloat>
#include <cmath>

namespace Korvatune::testing {

// Exact values for double-precision kernels: the C runtime's long double functions (64-bit
// mantissas, eleven bits beyond a double).
using Exact = long double;

// |value - exact| in units of the last place of the double nearest exact, subnormals included.
inline double doubleUlps(double value, Exact exact) {
    if (std::isnan(exact)) {
        return std::isnan(value) ? 0.0 : HUGE_VAL;
    }
    const Exact magnitude = std::fabs(exact);
    if (magnitude > static_cast<Exact>(DBL_MAX)) {
        return value == static_cast<double>(exact) ? 0.0 : HUGE_VAL;
    }
    int exponent = 0;
    std::frexp(magnitude, &exponent);
    const Exact ulp = std::ldexp(Exact{1}, std::max(exponent - 53, -1074));
    return static_cast<double>(std::fabs(static_cast<Exact>(value) - exact) / ulp);
}

// The largest error met so far and the input that gave it.
template <class Input> struct Worst {
    double ulps = 0.0;
    Input input = Input{};

    void take(double error, Input x) {
        if (!(error <= ulps)) {
            ulps = error;
            input = x;
        }
    }
};

// A kernel measured against reference functions over millions of inputs. The 32-bit build
// runs under an emulator, which computes the long double references in double and takes
// minutes over the sweeps; there the kernel digests show that it computes the very bits the
// 64-bit builds measure.
class AccuracySweep : public ::testing::Test {
protected:
    void SetUp() override {
        if (sizeof(void*) < 8) {
            GTEST_SKIP() << "accuracy is measured by 64-bit builds";
        }
    }
};

} // namespace Korvatune::testing
