#include "maths/ComplexMath.h"
#include "maths/FastMath.h"
#include "maths/PreciseArctangent.h"
#include "maths/PreciseExponential.h"
#include "maths/PreciseHyperbolic.h"
#include "maths/PreciseTrigonometry.h"

#include <gtest/gtest.h>

#include <bit>
#include <cinttypes>
#include <complex>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <sstream>
#include <string>

namespace Korvatune {
namespace {

// Every kernel's results over fixed inputs, reduced to one 64-bit digest per kernel and compared
// with a committed list: the bits are the same on every target, the 32-bit build included, and
// a difference names the kernel. OMBRAFELL_UPDATE_GOLDEN=1 rewrites the list.
constexpr int kInputs = 20000;

class Digest {
public:
    void add(std::uint64_t bits) {
        for (int byte = 0; byte < 8; ++byte) {
            hash = (hash ^ (bits & 0xFFu)) * 1099511628211ull;
            bits >>= 8;
        }
    }
    void add(double x) { add(std::bit_cast<std::uint64_t>(x)); }
    void add(float x) { add(std::uint64_t{std::bit_cast<std::uint32_t>(x)}); }
    std::uint64_t value() const { return hash; }

private:
    std::uint64_t hash = 14695981039346656037ull;
};

// Inputs from integer arithmetic and exact scalings alone, so every target feeds the same.
class Inputs {
public:
    explicit Inputs(std::uint64_t seed) : state(seed) {}

    std::uint64_t bits() {
        state ^= state << 13;
        state ^= state >> 7;
        state ^= state << 17;
        return state;
    }
    // In [low, high).
    double uniform(double low, double high) {
        const double unit = static_cast<double>(bits() >> 11) * 0x1p-53;
        return low + (high - low) * unit;
    }
    // Any finite double whose exponent lies in [lowest, highest), either sign.
    double anyDouble(int lowest, int highest) {
        const std::uint64_t raw = bits();
        const auto span = static_cast<std::uint64_t>(highest - lowest);
        const std::uint64_t exponent = static_cast<std::uint64_t>(lowest + 1023) + raw % span;
        return std::bit_cast<double>((raw & 0x800FFFFFFFFFFFFFull) | (exponent << 52));
    }
    float anyFloat(float low, float high) {
        const std::uint32_t lowBits = std::bit_cast<std::uint32_t>(low);
        const std::uint32_t highBits = std::bit_cast<std::uint32_t>(high);
        return std::bit_cast<float>(lowBits +
                                    static_cast<std::uint32_t>(bits() % (highBits - lowBits)));
    }

private:
    std::uint64_t state;
};

using Digests = std::map<std::string, std::uint64_t>;

template <class Kernel, class Draw>
void digestOver(Digests& digests, const std::string& name, Draw draw, Kernel kernel) {
    Inputs inputs(0x9E3779B97F4A7C15ull);
    Digest digest;
    for (int i = 0; i < kInputs; ++i) {
        digest.add(kernel(draw(inputs)));
    }
    digests[name] = digest.value();
}

Digests preciseDigests() {
    namespace M = PreciseMath;
    Digests d;
    const auto angles = [](Inputs& in) {
        return in.bits() % 8 == 0 ? in.anyDouble(-30, 1023) : in.uniform(-13.0, 13.0);
    };
    digestOver(d, "precise sin", angles, [](double x) { return M::sin(x); });
    digestOver(d, "precise cos", angles, [](double x) { return M::cos(x); });
    digestOver(d, "precise tan", angles, [](double x) { return M::tan(x); });
    digestOver(d, "precise sinCos", angles, [](double x) {
        const M::SineCosine v = M::sinCos(x);
        return v.sine - v.cosine;
    });
    digestOver(
        d, "precise atan", [](Inputs& in) { return in.anyDouble(-1022, 1023); },
        [](double x) { return M::atan(x); });
    digestOver(
        d, "precise exp", [](Inputs& in) { return in.uniform(-746.0, 710.0); },
        [](double x) { return M::exp(x); });
    digestOver(
        d, "precise exp2", [](Inputs& in) { return in.uniform(-1076.0, 1025.0); },
        [](double x) { return M::exp2(x); });
    digestOver(
        d, "precise log", [](Inputs& in) { return std::fabs(in.anyDouble(-1074, 1023)); },
        [](double x) { return M::log(x); });
    digestOver(
        d, "precise pow", [](Inputs& in) { return in.uniform(0.0, 1.0); },
        [](double x) { return M::pow(x * 64.0, 1.0 + 20.0 * x) + M::pow(x, 0.05 / (x + 0.01)); });
    digestOver(
        d, "precise sinh cosh", [](Inputs& in) { return in.uniform(-8.0, 8.0); },
        [](double x) { return M::sinh(x) - M::cosh(x); });
    digestOver(
        d, "precise asinh", [](Inputs& in) { return in.anyDouble(-60, 60); },
        [](double x) { return M::asinh(x); });
    digestOver(
        d, "complex", [](Inputs& in) { return in.uniform(-100.0, 100.0); },
        [](double x) {
            const std::complex<double> a(x, 3.0 - x * 0.25);
            const std::complex<double> b(x * 0.5 + 1.0, -x);
            const std::complex<double> q =
                M::divide(a, b) + M::squareRoot(a * b) + M::unitPhasor(x);
            return q.real() + q.imag() * M::magnitude(b);
        });
    return d;
}

Digests floatDigests() {
    namespace M = PreciseMath;
    namespace F = FastMath;
    Digests d;
    const auto floats = [](float low, float high) {
        return [low, high](Inputs& in) { return in.anyFloat(low, high); };
    };
    digestOver(d, "precise sin float", floats(0.0f, 13.0f), [](float x) { return M::sin(x); });
    digestOver(d, "precise cos float", floats(0.0f, 13.0f), [](float x) { return M::cos(x); });
    digestOver(d, "precise tan float", floats(0.0f, 6.3f), [](float x) { return M::tan(x); });
    digestOver(d, "precise exp float", floats(0.0f, 5.0f), [](float x) { return M::exp(x); });
    digestOver(d, "precise exp2 float", floats(0.0f, 15.0f), [](float x) { return M::exp2(x); });
    digestOver(d, "fast sin", floats(0.0f, 6.3f), [](float x) { return F::sin(x); });
    digestOver(d, "fast tan", floats(0.0f, 1.57f), [](float x) { return F::tan(x); });
    digestOver(d, "fast atan", floats(0.0f, 3.0e38f),
               [](float x) { return F::atan(x) - F::atan(-x); });
    digestOver(d, "fast exp", floats(0.0f, 89.0f), [](float x) { return F::exp(x) + F::exp(-x); });
    digestOver(d, "fast unitPower", floats(0.0f, 1.0f),
               [](float x) { return F::unitPower(x, 20.0 * x); });
    digestOver(
        d, "fast sinCos", [](Inputs& in) { return in.uniform(0.0, 3.2); },
        [](double x) {
            const F::SineCosine v = F::sinCos(x);
            return v.sine - v.cosine;
        });
    digestOver(
        d, "fast fmodTwoPi", [](Inputs& in) { return std::fabs(in.anyDouble(-4, 40)); },
        [](double x) { return F::fmodTwoPi(x); });
    return d;
}

std::string listPath() {
    const char* folder = std::getenv("OMBRAFELL_TEST_DATA");
    return std::string(folder ? folder : "tests/data") + "/maths/kernel-digests.txt";
}

TEST(KernelDigests, EveryKernelGivesTheCommittedBits) {
    Digests digests = preciseDigests();
    digests.merge(floatDigests());
    const std::string path = listPath();
    if (std::getenv("OMBRAFELL_UPDATE_GOLDEN")) {
        std::ofstream file(path);
        for (const auto& [name, digest] : digests) {
            char hex[17];
            std::snprintf(hex, sizeof hex, "%016" PRIx64, digest);
            file << hex << ' ' << name << '\n';
        }
        GTEST_SKIP() << "digests rewritten: " << path;
    }
    std::ifstream file(path);
    Digests expected;
    for (std::string line; std::getline(file, line);) {
        std::istringstream fields(line);
        std::string hex;
        std::string name;
        fields >> hex;
        std::getline(fields >> std::ws, name);
        expected[name] = std::strtoull(hex.c_str(), nullptr, 16);
    }
    EXPECT_EQ(expected.size(), digests.size()) << path;
    for (const auto& [name, digest] : digests) {
        EXPECT_EQ(expected[name], digest) << name << " gives other bits than " << path << " lists";
    }
}

} // namespace
} // namespace Korvatune
