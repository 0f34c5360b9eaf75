#include "filters/DspTransforms.h"

#include "maths/ComplexMath.h"
#include "maths/PreciseArctangent.h"
#include "maths/PreciseTrigonometry.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace Dsp {

namespace {

namespace Maths = Korvatune::PreciseMath;

Complex lowPassPoint(double f, Complex c) {
    if (isInfinite(c)) {
        return -1.0;
    }
    return Maths::divide(1.0 + f * c, 1.0 - f * c);
}

Complex highPassPoint(double f, Complex c) {
    if (isInfinite(c)) {
        return 1.0;
    }
    return -Maths::divide(1.0 + f * c, 1.0 - f * c);
}

template <class PointMap>
void mapEachPoint(const LayoutBase& analog, LayoutBase& digital, const PointMap& map) {
    digital.clear();
    for (const PoleZeroPair& pair : analog.pairs()) {
        if (pair.single) {
            digital.addSingle(map(pair.pole1), map(pair.zero1));
        } else {
            digital.addConjugatePair(map(pair.pole1), map(pair.zero1));
        }
    }
    digital.referenceGain = analog.referenceGain;
}

class BandPassMap {
public:
    BandPassMap(double lowerEdge, double upperEdge)
        : a(Maths::cos((upperEdge + lowerEdge) / 2.0) / Maths::cos((upperEdge - lowerEdge) / 2.0)),
          b(1.0 / Maths::tan((upperEdge - lowerEdge) / 2.0)), k(b * b * (a * a - 1.0)),
          ab2(2.0 * a * b) {}

    std::pair<Complex, Complex> operator()(Complex c) const {
        if (isInfinite(c)) {
            return {-1.0, 1.0};
        }
        const Complex z = Maths::divide(1.0 + c, 1.0 - c);
        const Complex s =
            Maths::squareRoot(4.0 * (k + 1.0) * z * z + 8.0 * (k - 1.0) * z + 4.0 * (k + 1.0));
        const Complex d = 2.0 * (b - 1.0) * z + 2.0 * (1.0 + b);
        return {Maths::divide(ab2 * z + ab2 - s, d), Maths::divide(ab2 * z + ab2 + s, d)};
    }

private:
    double a;
    double b;
    double k;
    double ab2;
};

} // namespace

void lowPassTransform(double cutoff, const LayoutBase& analog, LayoutBase& digital) {
    const double f = Maths::tan(kPi * cutoff);
    mapEachPoint(analog, digital, [f](Complex c) { return lowPassPoint(f, c); });
    digital.referenceFrequency = analog.referenceFrequency;
}

void highPassTransform(double cutoff, const LayoutBase& analog, LayoutBase& digital) {
    const double f = 1.0 / Maths::tan(kPi * cutoff);
    mapEachPoint(analog, digital, [f](Complex c) { return highPassPoint(f, c); });
    digital.referenceFrequency = kPi - analog.referenceFrequency;
}

void bandPassTransform(double center, double bandwidth, const LayoutBase& analog,
                       LayoutBase& digital) {
    const double ww = 2.0 * kPi * bandwidth;
    const double unclampedLowerEdge = 2.0 * kPi * center - ww / 2.0;
    const double lowerEdge = std::max(unclampedLowerEdge, 1e-8);
    const double upperEdge = std::min(unclampedLowerEdge + ww, kPi - 1e-8);
    const BandPassMap map(lowerEdge, upperEdge);
    digital.clear();
    for (const PoleZeroPair& pair : analog.pairs()) {
        const auto [pole1, pole2] = map(pair.pole1);
        const auto [zero1, zero2] = map(pair.zero1);
        if (pair.single) {
            digital.addPair(pole1, zero1, pole2, zero2);
        } else {
            digital.addPair(pole1, zero1, std::conj(pole1), zero2);
            digital.addPair(pole2, zero1, std::conj(pole2), zero2);
        }
    }
    const double w = analog.referenceFrequency;
    digital.referenceFrequency = 2.0 * Maths::atan(std::sqrt(Maths::tan((upperEdge + w) / 2.0) *
                                                             Maths::tan((lowerEdge + w) / 2.0)));
    digital.referenceGain = analog.referenceGain;
}

} // namespace Dsp
