#include "maths/AccuracySweep.h"
#include "maths/ComplexMath.h"
#include "maths/PreciseArctangent.h"
#include "maths/PreciseExponential.h"
#include "maths/PreciseHyperbolic.h"
#include "maths/PreciseTrigonometry.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cfloat>
#include <cmath>
#include <complex>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <limits>
#include <random>
#include <string>
#include <vector>

namespace Korvatune {
namespace {

// Each kernel against the long double functions, in units of the double's last place, over the
// inputs the engine feeds it.
constexpr double kBudgetUlps = 3.0;

using testing::doubleUlps;
using testing::Exact;
constexpr double kInfinity = std::numeric_limits<double>::infinity();
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

using Worst = testing::Worst<double>;

using PreciseKernels = testing::AccuracySweep;

void expectWithinBudget(const std::string& name, const Worst& worst) {
    std::printf("%s: worst %.3f ulp at %.17g\n", name.c_str(), worst.ulps, worst.input);
    EXPECT_LE(worst.ulps, kBudgetUlps) << name << " at " << worst.input;
}

using Kernel = std::function<double(double)>;
using Reference = std::function<Exact(Exact)>;

Worst measure(const Kernel& kernel, const Reference& reference, const std::vector<double>& xs) {
    Worst worst;
    for (double x : xs) {
        worst.take(doubleUlps(kernel(x), reference(static_cast<Exact>(x))), x);
    }
    return worst;
}

std::vector<double> uniform(double low, double high, int count, unsigned seed) {
    std::mt19937_64 random(seed);
    std::uniform_real_distribution<double> values(low, high);
    std::vector<double> xs(static_cast<std::size_t>(count));
    for (double& x : xs) {
        x = values(random);
    }
    return xs;
}

// Magnitudes spread evenly in their logarithm, both signs.
std::vector<double> logSpread(double low, double high, int count, unsigned seed) {
    std::vector<double> xs = uniform(std::log(low), std::log(high), count, seed);
    for (std::size_t i = 0; i < xs.size(); ++i) {
        xs[i] = (i % 2 == 0 ? 1.0 : -1.0) * std::exp(xs[i]);
    }
    return xs;
}

// Every stride-th float (by bit pattern) from 0 to high, both signs, as doubles.
std::vector<double> floatsUpTo(float high, std::uint32_t stride) {
    std::vector<double> xs;
    for (std::uint32_t bits = 0; bits <= std::bit_cast<std::uint32_t>(high); bits += stride) {
        const auto x = static_cast<double>(std::bit_cast<float>(bits));
        xs.push_back(x);
        xs.push_back(-x);
    }
    return xs;
}

// Design angles and table angles: a few periods, with every double near the multiples of pi/2
// where a result passes zero.
TEST_F(PreciseKernels, TrigonometryWithinBudgetOverSeveralPeriods) {
    std::vector<double> xs = uniform(-12.6, 12.6, 400000, 1);
    for (int k = -8; k <= 8; ++k) {
        double x = k * 1.5707963267948966;
        for (int step = 0; step < 2000; ++step) {
            xs.push_back(x);
            x = std::nextafter(x, kInfinity);
        }
    }
    expectWithinBudget("sin", measure([](double x) { return PreciseMath::sin(x); },
                                      [](Exact x) { return std::sin(x); }, xs));
    expectWithinBudget("cos", measure([](double x) { return PreciseMath::cos(x); },
                                      [](Exact x) { return std::cos(x); }, xs));
    expectWithinBudget("tan", measure([](double x) { return PreciseMath::tan(x); },
                                      [](Exact x) { return std::tan(x); }, xs));
}

// The cosine curves of the distortion take a float angle that grows with the input sample, so
// every float may come; huge doubles take the same exact reduction.
TEST_F(PreciseKernels, TrigonometryWithinBudgetForEveryMagnitude) {
    std::vector<double> xs = floatsUpTo(FLT_MAX, 9973);
    const std::vector<double> huge = logSpread(1.0, DBL_MAX, 100000, 2);
    xs.insert(xs.end(), huge.begin(), huge.end());
    expectWithinBudget("sin (all magnitudes)", measure([](double x) { return PreciseMath::sin(x); },
                                                       [](Exact x) { return std::sin(x); }, xs));
    expectWithinBudget("cos (all magnitudes)", measure([](double x) { return PreciseMath::cos(x); },
                                                       [](Exact x) { return std::cos(x); }, xs));
    expectWithinBudget("tan (all magnitudes)", measure([](double x) { return PreciseMath::tan(x); },
                                                       [](Exact x) { return std::tan(x); }, xs));
    EXPECT_TRUE(std::signbit(PreciseMath::sin(-0.0)));
    EXPECT_EQ(PreciseMath::cos(-0.0), 1.0);
    EXPECT_TRUE(std::isnan(PreciseMath::sin(kInfinity)));
    EXPECT_TRUE(std::isnan(PreciseMath::tan(kNaN)));
}

// The band-pass reference frequency, and the drive curve's arctangent of |x|^G, which ranges
// from the smallest normal double to overflow.
TEST_F(PreciseKernels, ArctangentWithinBudgetEverywhere) {
    std::vector<double> xs = logSpread(DBL_MIN, DBL_MAX, 400000, 3);
    const std::vector<double> unit = uniform(-2.0, 2.0, 200000, 4);
    xs.insert(xs.end(), unit.begin(), unit.end());
    expectWithinBudget("atan", measure([](double x) { return PreciseMath::atan(x); },
                                       [](Exact x) { return std::atan(x); }, xs));
    EXPECT_EQ(PreciseMath::atan(kInfinity), 1.5707963267948966);
    EXPECT_EQ(PreciseMath::atan(-kInfinity), -1.5707963267948966);
    EXPECT_TRUE(std::signbit(PreciseMath::atan(-0.0)));
    EXPECT_TRUE(std::isnan(PreciseMath::atan(kNaN)));
}

TEST_F(PreciseKernels, ExponentialsAndLogarithmWithinBudget) {
    std::vector<double> xs = uniform(-745.0, 709.7, 300000, 5);
    const std::vector<double> unit = uniform(-1.0, 1.0, 100000, 6);
    xs.insert(xs.end(), unit.begin(), unit.end());
    expectWithinBudget("exp", measure([](double x) { return PreciseMath::exp(x); },
                                      [](Exact x) { return std::exp(x); }, xs));
    expectWithinBudget("exp2", measure([](double x) { return PreciseMath::exp2(x); },
                                       [](Exact x) { return std::exp2(x); },
                                       uniform(-1074.0, 1023.9, 300000, 7)));
    std::vector<double> positive =
        logSpread(std::numeric_limits<double>::denorm_min(), DBL_MAX, 300000, 8);
    for (double& x : positive) {
        x = std::fabs(x);
    }
    const std::vector<double> nearOne = uniform(0.5, 2.0, 100000, 9);
    positive.insert(positive.end(), nearOne.begin(), nearOne.end());
    expectWithinBudget("log", measure([](double x) { return PreciseMath::log(x); },
                                      [](Exact x) { return std::log(x); }, positive));
    for (int n = -1074; n < 1024; ++n) {
        ASSERT_EQ(PreciseMath::exp2(static_cast<double>(n)), std::ldexp(1.0, n)) << n;
    }
    EXPECT_EQ(PreciseMath::exp(-746.0), 0.0);
    EXPECT_EQ(PreciseMath::exp(710.0), kInfinity);
    EXPECT_EQ(PreciseMath::log(0.0), -kInfinity);
    EXPECT_TRUE(std::isnan(PreciseMath::log(-1.0)));
    EXPECT_TRUE(std::isnan(PreciseMath::exp(kNaN)));
}

// The drive curve raises |x| to G = 20 a + 1 and its arctangent to 1/G; the Chebyshev design
// raises 10 to -ripple/20.
TEST_F(PreciseKernels, PowerWithinBudgetForCurvesAndDesigns) {
    std::vector<double> bases = logSpread(1e-40, 64.0, 5000, 10);
    for (double& base : bases) {
        base = static_cast<float>(std::fabs(base));
    }
    Worst worst;
    for (float amount = 0.0f; amount <= 1.0f; amount += 1.0f / 64) {
        const float gain = 20.0f * amount + 1.0f;
        for (const double exponent :
             {static_cast<double>(gain), static_cast<double>(1.0f / gain)}) {
            for (double base : bases) {
                const Exact exact =
                    std::pow(static_cast<Exact>(base), static_cast<Exact>(exponent));
                worst.take(doubleUlps(PreciseMath::pow(base, exponent), exact), base);
            }
        }
    }
    for (double ripple : uniform(0.001, 12.0, 10000, 11)) {
        const Exact exact = std::pow(Exact{10}, static_cast<Exact>(-ripple / 20.0));
        worst.take(doubleUlps(PreciseMath::pow(10.0, -ripple / 20.0), exact), ripple);
    }
    expectWithinBudget("pow", worst);
    EXPECT_EQ(PreciseMath::pow(0.0, 2.0), 0.0);
    EXPECT_EQ(PreciseMath::pow(0.0, -2.0), kInfinity);
    EXPECT_EQ(PreciseMath::pow(kNaN, 0.0), 1.0);
    EXPECT_EQ(PreciseMath::pow(1e-300, 30.0), 0.0);
    EXPECT_TRUE(std::isnan(PreciseMath::pow(-2.0, 2.0)));
}

// The Chebyshev prototype: asinh(1 / eps) for ripples the design accepts (0.001 to 12 dB), and
// the hyperbolic sine and cosine of that over the orders.
TEST_F(PreciseKernels, HyperbolicWithinBudgetForChebyshevPoles) {
    std::vector<double> arguments;
    for (double ripple : uniform(0.001, 12.0, 50000, 12)) {
        arguments.push_back(1.0 / std::sqrt(std::pow(10.0, ripple / 10.0) - 1.0));
    }
    expectWithinBudget("asinh", measure([](double x) { return PreciseMath::asinh(x); },
                                        [](Exact x) { return std::asinh(x); }, arguments));
    std::vector<double> radii = uniform(0.0, 6.0, 200000, 13);
    const std::vector<double> wide = uniform(-700.0, 700.0, 100000, 14);
    radii.insert(radii.end(), wide.begin(), wide.end());
    expectWithinBudget("sinh", measure([](double x) { return PreciseMath::sinh(x); },
                                       [](Exact x) { return std::sinh(x); }, radii));
    expectWithinBudget("cosh", measure([](double x) { return PreciseMath::cosh(x); },
                                       [](Exact x) { return std::cosh(x); }, radii));
    expectWithinBudget("asinh (wide)", measure([](double x) { return PreciseMath::asinh(x); },
                                               [](Exact x) { return std::asinh(x); },
                                               logSpread(1e-300, 1e300, 200000, 15)));
}

using ExactComplex = std::complex<Exact>;

// The error of a complex result in ulps of its magnitude.
double complexUlps(std::complex<double> value, ExactComplex exact) {
    const Exact error = std::abs(ExactComplex(value.real(), value.imag()) - exact);
    const Exact magnitude = std::abs(exact);
    int exponent = 0;
    std::frexp(magnitude, &exponent);
    return static_cast<double>(error / std::ldexp(Exact{1}, std::max(exponent - 53, -1074)));
}

// Poles, zeros and responses of the designs: parts from 1e-4 to 1e4 in size.
TEST_F(PreciseKernels, ComplexOperationsWithinBudget) {
    const std::vector<double> parts = logSpread(1e-4, 1e4, 400000, 16);
    Worst division;
    Worst magnitude;
    Worst root;
    for (std::size_t i = 0; i + 3 < parts.size(); i += 4) {
        const std::complex<double> a(parts[i], parts[i + 1]);
        const std::complex<double> b(parts[i + 2], parts[i + 3]);
        const ExactComplex exactA(a.real(), a.imag());
        const ExactComplex exactB(b.real(), b.imag());
        division.take(complexUlps(PreciseMath::divide(a, b), exactA / exactB), parts[i]);
        magnitude.take(doubleUlps(PreciseMath::magnitude(a), std::abs(exactA)), parts[i]);
        root.take(complexUlps(PreciseMath::squareRoot(a), std::sqrt(exactA)), parts[i]);
    }
    Worst phasor;
    for (double angle : uniform(-3.2, 3.2, 100000, 17)) {
        phasor.take(complexUlps(PreciseMath::unitPhasor(angle),
                                std::polar(Exact{1}, static_cast<Exact>(angle))),
                    angle);
    }
    expectWithinBudget("divide", division);
    expectWithinBudget("magnitude", magnitude);
    expectWithinBudget("squareRoot", root);
    expectWithinBudget("unitPhasor", phasor);
    const std::complex<double> negativeZero = PreciseMath::squareRoot({-4.0, -0.0});
    EXPECT_EQ(negativeZero.real(), 0.0);
    EXPECT_EQ(negativeZero.imag(), -2.0);
}

// The float forms round the double result once; over the inputs the engine feeds them (control
// curves, quantiser levels, waveform tables, filter envelope) that is the float nearest the
// exact value. An exhaustive run over these ranges found no exception; here every 997th float.
struct FloatForm {
    const char* name;
    std::function<float(float)> kernel;
    Reference reference;
    float low;
    float high;
};

int misroundedCount(const FloatForm& form) {
    int misrounded = 0;
    for (std::uint32_t bits = std::bit_cast<std::uint32_t>(form.low);
         bits <= std::bit_cast<std::uint32_t>(form.high); bits += 997) {
        const float x = std::bit_cast<float>(bits);
        const Exact exact = form.reference(x);
        const float value = form.kernel(x);
        const Exact halfway = (static_cast<Exact>(value) + static_cast<float>(exact)) / 2;
        const bool nearTie = std::fabs(exact - halfway) <= std::fabs(exact) * 1e-17L;
        if (value != static_cast<float>(exact) && !nearTie) {
            ++misrounded;
        }
    }
    return misrounded;
}

TEST_F(PreciseKernels, FloatFormsAreCorrectlyRounded) {
    const FloatForm forms[] = {
        {"exp", [](float x) { return PreciseMath::exp(x); }, [](Exact x) { return std::exp(x); },
         0.0f, 5.0f},
        {"exp2", [](float x) { return PreciseMath::exp2(x); }, [](Exact x) { return std::exp2(x); },
         0.015f, 15.0f},
        {"sin", [](float x) { return PreciseMath::sin(x); }, [](Exact x) { return std::sin(x); },
         0.0f, 12.6f},
        {"cos", [](float x) { return PreciseMath::cos(x); }, [](Exact x) { return std::cos(x); },
         0.0f, 12.6f},
        {"tan", [](float x) { return PreciseMath::tan(x); }, [](Exact x) { return std::tan(x); },
         0.0f, 6.3f},
    };
    for (const FloatForm& form : forms) {
        EXPECT_EQ(misroundedCount(form), 0) << form.name;
    }
}

} // namespace
} // namespace Korvatune
