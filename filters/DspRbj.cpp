#include "filters/DspRbj.h"

#include "maths/FastMath.h"

#include <emmintrin.h>

namespace Dsp::RBJ::Design {

std::vector<PoleZeroPair> CookbookBiquad::poleZeroPairs() const {
    return {coefficients.section(0).poleZeroPair()};
}

CookbookBiquad::Angles CookbookBiquad::angles(const Parameters& p) {
    const double w0 = 2.0 * kPi * p[1] / p[0];
    // Rebuilt every sample of a glide: the same bits on every processor, which the maths
    // library's run-time choice of FMA code does not give.
    const Korvatune::FastMath::SineCosine angle = Korvatune::FastMath::sinCos(w0);
    return {angle.cosine, angle.sine / (2.0 * p[2])};
}

void CookbookBiquad::store(double a0, double a1, double a2, double b0, double b1, double b2) {
    Dsp::Biquad section;
    section.a0 = a0;
    section.a1 = a1 / a0;
    section.a2 = a2 / a0;
    section.b0 = b0 / a0;
    section.b1 = b1 / a0;
    section.b2 = b2 / a0;
    coefficients.setSingleSection(section);
}

void setupPair(LowPass& low, HighPass& high, const Parameters& p) {
    const auto [cs, alpha] = CookbookBiquad::angles(p);
    const double a0 = 1.0 + alpha;
    const __m128d divisor = _mm_set1_pd(a0);
    // Low lane: what LowPass::setup divides; high lane: what HighPass::setup divides.
    const __m128d feedback = _mm_div_pd(_mm_set_pd(1.0 - alpha, -2.0 * cs), divisor);
    const __m128d outer = _mm_div_pd(_mm_set_pd((1.0 + cs) / 2.0, (1.0 - cs) / 2.0), divisor);
    const __m128d middle = _mm_div_pd(_mm_set_pd(-(1.0 + cs), 1.0 - cs), divisor);
    Biquad section;
    section.a0 = a0;
    section.a1 = _mm_cvtsd_f64(feedback);
    section.a2 = _mm_cvtsd_f64(_mm_unpackhi_pd(feedback, feedback));
    section.b0 = _mm_cvtsd_f64(outer);
    section.b1 = _mm_cvtsd_f64(middle);
    section.b2 = section.b0;
    static_cast<CookbookBiquad&>(low).coefficients.setSingleSection(section);
    section.b0 = _mm_cvtsd_f64(_mm_unpackhi_pd(outer, outer));
    section.b1 = _mm_cvtsd_f64(_mm_unpackhi_pd(middle, middle));
    section.b2 = section.b0;
    static_cast<CookbookBiquad&>(high).coefficients.setSingleSection(section);
}

void LowPass::setup(const Parameters& p) {
    const auto [cs, alpha] = angles(p);
    const double b = (1.0 - cs) / 2.0;
    store(1.0 + alpha, -2.0 * cs, 1.0 - alpha, b, 1.0 - cs, b);
}

void HighPass::setup(const Parameters& p) {
    const auto [cs, alpha] = angles(p);
    const double b = (1.0 + cs) / 2.0;
    store(1.0 + alpha, -2.0 * cs, 1.0 - alpha, b, -(1.0 + cs), b);
}

} // namespace Dsp::RBJ::Design
