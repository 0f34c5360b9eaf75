#include "engine/OutputChainToneBands.h"

#include "filters/DspQuadDirectFormII.h"

#include <emmintrin.h>

namespace Korvatune::ToneBands {

namespace {

struct BandOutputs {
    __m128d bass;
    __m128d mid;
    __m128d high;
};

// Adds one frame of the three bands, each rounded to the sample type, in the order of bass,
// mid and high; the float lanes compute what the scalar sums do.
class BandMixer {
public:
    explicit BandMixer(const Amounts& amounts)
        : gains{_mm_set1_ps(amounts.bass), _mm_set1_ps(amounts.mid), _mm_set1_ps(amounts.high)},
          active{amounts.bass > 0.0f, amounts.mid > 0.0f, amounts.high > 0.0f} {}

    void add(float* left, float* right, int i, const BandOutputs& bands) const {
        const __m128d outputs[3] = {bands.bass, bands.mid, bands.high};
        __m128 sum = Dsp::loadFrame(left, right, i);
        for (int band = 0; band < 3; ++band) {
            if (active[band]) {
                sum = _mm_add_ps(sum, _mm_mul_ps(gains[band], _mm_cvtpd_ps(outputs[band])));
            }
        }
        Dsp::storeFrame(sum, left, right, i);
    }

private:
    __m128 gains[3];
    bool active[3];
};

using BassRunner = decltype(std::declval<Bass&>().stereoRunner());
using MidRunner = decltype(std::declval<Mid&>().stereoRunner());
using HighRunner = decltype(std::declval<High&>().stereoRunner());

void runSse2(BassRunner& bass, MidRunner& mid, HighRunner& high, float* left, float* right,
             int frames, const BandMixer& mixer) {
    for (int i = 0; i < frames; ++i) {
        const __m128d x = _mm_cvtps_pd(Dsp::loadFrame(left, right, i));
        mixer.add(left, right, i, {bass.step(x), mid.step(x), high.step(x)});
    }
}

#if DSP_HAS_AVX_PATH

// Frames the band-pass cascade's second half runs behind its first on the wide path.
constexpr int kDelay = 2;

// The bass and high cascades share one set of four lanes. The band-pass cascade is twice as
// long, so its second half runs in the other lanes kDelay frames behind its first: were it one
// frame behind, each step's input would wait on the step just before, chaining the two halves'
// recursions into one long loop-carried dependency. The first frames' heads and the last
// frames' tails step alone in the stereo runner.
DSP_AVX_TARGET void runAvx(BassRunner& bass, MidRunner& mid, HighRunner& high, float* left,
                           float* right, int frames, const BandMixer& mixer) {
    constexpr int kHalf = MidRunner::maxSections / 2;
    static_assert(BassRunner::maxSections == HighRunner::maxSections);
    static_assert(MidRunner::maxSections == 2 * kHalf);
    // The frames still waiting for their band-pass tail, oldest first.
    __m128d bassOut[kDelay];
    __m128d highOut[kDelay];
    __m128d midHead[kDelay];
    for (int i = 0; i < kDelay; ++i) {
        const __m128d x = _mm_cvtps_pd(Dsp::loadFrame(left, right, i));
        bassOut[i] = bass.stepAll(x);
        highOut[i] = high.stepAll(x);
        midHead[i] = mid.stepHead<kHalf>(x);
    }
    {
        Dsp::QuadCascadeRunner<BassRunner::maxSections, BassRunner::maxSections,
                               HighRunner::maxSections>
            outer(bass, 0, high, 0);
        Dsp::QuadCascadeRunner<kHalf, MidRunner::maxSections, MidRunner::maxSections> inner(
            mid, 0, mid, kHalf);
        for (int i = kDelay; i < frames; ++i) {
            const __m128d x = _mm_cvtps_pd(Dsp::loadFrame(left, right, i));
            const __m256d outerOut = outer.step(_mm256_set_m128d(x, x));
            const __m256d innerOut = inner.step(_mm256_set_m128d(midHead[0], x));
            mixer.add(left, right, i - kDelay,
                      {bassOut[0], _mm256_extractf128_pd(innerOut, 1), highOut[0]});
            for (int k = 1; k < kDelay; ++k) {
                bassOut[k - 1] = bassOut[k];
                highOut[k - 1] = highOut[k];
                midHead[k - 1] = midHead[k];
            }
            bassOut[kDelay - 1] = _mm256_castpd256_pd128(outerOut);
            highOut[kDelay - 1] = _mm256_extractf128_pd(outerOut, 1);
            midHead[kDelay - 1] = _mm256_castpd256_pd128(innerOut);
        }
        outer.save();
        inner.save();
    }
    for (int k = 0; k < kDelay; ++k) {
        mixer.add(left, right, frames - kDelay + k,
                  {bassOut[k], mid.stepTail<kHalf>(midHead[k]), highOut[k]});
    }
}

#endif

} // namespace

void runSettled(Dsp::VectorPath path, Bass& bass, Mid& mid, High& high, float* left, float* right,
                int frames, const Amounts& amounts) {
    auto bassRunner = bass.stereoRunner();
    auto midRunner = mid.stereoRunner();
    auto highRunner = high.stereoRunner();
    const BandMixer mixer(amounts);
#if DSP_HAS_AVX_PATH
    const bool everySection =
        bassRunner.usesAllSections() && midRunner.usesAllSections() && highRunner.usesAllSections();
    if (path == Dsp::VectorPath::avx && everySection && frames >= kDelay &&
        Dsp::vectorPathAvailable(path)) {
        runAvx(bassRunner, midRunner, highRunner, left, right, frames, mixer);
    } else {
        runSse2(bassRunner, midRunner, highRunner, left, right, frames, mixer);
    }
#else
    (void)path;
    runSse2(bassRunner, midRunner, highRunner, left, right, frames, mixer);
#endif
    bassRunner.save();
    midRunner.save();
    highRunner.save();
}

} // namespace Korvatune::ToneBands
