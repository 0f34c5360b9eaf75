#include "filters/DspAnalogPrototypes.h"

#include <cmath>

namespace Dsp {

void ButterworthPrototype::design(int order, LayoutBase& analog) {
    if (order == builtOrder) {
        return;
    }
    builtOrder = order;
    analog.clear();
    const double n2 = 2.0 * order;
    for (int k = 0; k < order / 2; ++k) {
        const double angle = kPi / 2.0 + (2 * k + 1) * kPi / n2;
        analog.addConjugatePair(std::polar(1.0, angle), kInfinity);
    }
    if (order % 2 == 1) {
        analog.addSingle(-1.0, kInfinity);
    }
    analog.referenceFrequency = 0.0;
    analog.referenceGain = 1.0;
}

void ChebyshevIPrototype::design(int order, double rippleDb, LayoutBase& analog) {
    if (order == builtOrder && rippleDb == builtRippleDb) {
        return;
    }
    builtOrder = order;
    builtRippleDb = rippleDb;
    analog.clear();
    const double eps = std::sqrt(1.0 / std::exp(-rippleDb * 0.1 * std::log(10.0)) - 1.0);
    const double mu = std::asinh(1.0 / eps) / order;
    const double sinhMu = std::sinh(mu);
    const double coshMu = std::cosh(mu);
    const double n2 = 2.0 * order;
    for (int i = 0; i < order / 2; ++i) {
        const int k = 2 * i + 1 - order;
        const double angle = k * kPi / n2;
        analog.addConjugatePair(Complex(-sinhMu * std::cos(angle), coshMu * std::sin(angle)),
                                kInfinity);
    }
    analog.referenceFrequency = 0.0;
    if (order % 2 == 1) {
        analog.addSingle(-sinhMu, kInfinity);
        analog.referenceGain = 1.0;
    } else {
        analog.referenceGain = std::pow(10.0, -rippleDb / 20.0);
    }
}

} // namespace Dsp
