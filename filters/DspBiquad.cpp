#include "filters/DspBiquad.h"

#include "maths/ComplexMath.h"

namespace Dsp {

namespace Maths = Korvatune::PreciseMath;

namespace {

// The two roots of c0 z^2 + c1 z + c2; a section without a second pole has c2 = 0.
std::pair<Complex, Complex> quadraticRoots(double c0, double c1, double c2) {
    const Complex root = Maths::squareRoot(Complex(c1 * c1 - 4.0 * c0 * c2, 0.0));
    return {(-c1 + root) / (2.0 * c0), (-c1 - root) / (2.0 * c0)};
}

} // namespace

Biquad Biquad::fromPoleZeroPair(const PoleZeroPair& pair) {
    Biquad section;
    if (pair.single) {
        section.a1 = -pair.pole1.real();
        section.b1 = -pair.zero1.real();
        return section;
    }
    section.a1 = -(pair.pole1 + pair.pole2).real();
    section.a2 = (pair.pole1 * pair.pole2).real();
    section.b1 = -(pair.zero1 + pair.zero2).real();
    section.b2 = (pair.zero1 * pair.zero2).real();
    return section;
}

Complex Biquad::response(double w) const {
    const Complex z1 = Maths::unitPhasor(-w);
    const Complex z2 = z1 * z1;
    return Maths::divide(b0 + b1 * z1 + b2 * z2, 1.0 + a1 * z1 + a2 * z2);
}

PoleZeroPair Biquad::poleZeroPair() const {
    const auto [pole1, pole2] = quadraticRoots(1.0, a1, a2);
    const auto [zero1, zero2] = quadraticRoots(b0, b1, b2);
    return {pole1, zero1, pole2, zero2, false};
}

Complex cascadeResponse(std::span<const Biquad> sections, double w) {
    Complex response = 1.0;
    for (const Biquad& section : sections) {
        response *= section.response(w);
    }
    return response;
}

} // namespace Dsp
