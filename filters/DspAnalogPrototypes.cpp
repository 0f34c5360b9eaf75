#include "filters/DspAnalogPrototypes.h"

#include "maths/ComplexMath.h"
#include "maths/PreciseExponential.h"
#include "maths/PreciseHyperbolic.h"
#include "maths/PreciseTrigonometry.h"

#include <cmath>

namespace Dsp {

namespace Maths = Korvatune::PreciseMath;

void ButterworthPrototype::design(int order, LayoutBase& analog) {
    if (order == builtOrder) {
        return;
    }
    builtOrder = order;
    analog.clear();
    const double n2 = 2.0 * order;
    for (int k = 0; k < order / 2; ++k) {
        const double angle = kPi / 2.0 + (2 * k + 1) * kPi / n2;
        analog.addConjugatePair(Maths::unitPhasor(angle), kInfinity);
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
    const double eps = std::sqrt(1.0 / Maths::exp(-rippleDb * 0.1 * Maths::log(10.0)) - 1.0);
    const double mu = Maths::asinh(1.0 / eps) / order;
    const double sinhMu = Maths::sinh(mu);
    const double coshMu = Maths::cosh(mu);
    const double n2 = 2.0 * order;
    for (int i = 0; i < order / 2; ++i) {
        const int k = 2 * i + 1 - order;
        const double angle = k * kPi / n2;
        const Maths::SineCosine point = Maths::sinCos(angle);
        analog.addConjugatePair(Complex(-sinhMu * point.cosine, coshMu * point.sine), kInfinity);
    }
    analog.referenceFrequency = 0.0;
    if (order % 2 == 1) {
        analog.addSingle(-sinhMu, kInfinity);
        analog.referenceGain = 1.0;
    } else {
        analog.referenceGain = Maths::pow(10.0, -rippleDb / 20.0);
    }
}

} // namespace Dsp
