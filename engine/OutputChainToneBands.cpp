#include "engine/OutputChainToneBands.h"

#include "filters/DspQuadDirectFormII.h"

#include <emmintrin.h>

namespace Korvatune::ToneBands {

namespace {

// Both channels of a frame in the two low lanes of a float vector, and back.
__m128 loadFrame(const float* left, const float* right, int i) {
    return _mm_unpacklo_ps(_mm_load_ss(left + i), _mm_load_ss(right + i));
}

void storeFrame(__m128 frame, float* left, float* right, int i) {
    _mm_store_ss(left + i, frame);
    _mm_store_ss(right + i, _mm_shuffle_ps(frame, frame, _MM_SHUFFLE(1, 1, 1, 1)));
}

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
        __m128 sum = loadFrame(left, right, i);
        for (int band = 0; band < 3; ++band) {
            if (active[band]) {
                sum = _mm_add_ps(sum, _mm_mul_ps(gains[band], _mm_cvtpd_ps(outputs[band])));
            }
        }
        storeFrame(sum, left, right, i);
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
        const __m128d x = _mm_cvtps_pd(loadFrame(left, right, i));
        mixer.add(left, right, i, {bass.step(x), mid.step(x), high.step(x)});
    }
}

#if DSP_HAS_AVX_PATH

// The bass and high cascades share one set of four lanes. The band-pass cascade is twice as
// long, so its second half runs in the other lanes one frame behind its first: the first
// frame's head and the last frame's tail step alone in the stereo runner.
DSP_AVX_TARGET void runAvx(BassRunner& bass, MidRunner& mid, HighRunner& high, float* left,
                           float* right, int frames, const BandMixer& mixer) {
    constexpr int kHalf = MidRunner::maxSections / 2;
    static_assert(BassRunner::maxSections == HighRunner::maxSections);
    static_assert(MidRunner::maxSections == 2 * kHalf);
    __m128d x = _mm_cvtps_pd(loadFrame(left, right, 0));
    __m128d bassOut = bass.stepAll(x);
    __m128d highOut = high.stepAll(x);
    __m128d midHead = mid.stepHead<kHalf>(x);
    {
        Dsp::QuadCascadeRunner<BassRunner::maxSections, BassRunner::maxSections,
                               HighRunner::maxSections>
            outer(bass, 0, high, 0);
        Dsp::QuadCascadeRunner<kHalf, MidRunner::maxSections, MidRunner::maxSections> inner(
            mid, 0, mid, kHalf);
        for (int i = 1; i < frames; ++i) {
            x = _mm_cvtps_pd(loadFrame(left, right, i));
            const __m256d outerOut = outer.step(_mm256_set_m128d(x, x));
            const __m256d innerOut = inner.step(_mm256_set_m128d(midHead, x));
            mixer.add(left, right, i - 1, {bassOut, _mm256_extractf128_pd(innerOut, 1), highOut});
            bassOut = _mm256_castpd256_pd128(outerOut);
            highOut = _mm256_extractf128_pd(outerOut, 1);
            midHead = _mm256_castpd256_pd128(innerOut);
        }
        outer.save();
        inner.save();
    }
    mixer.add(left, right, frames - 1, {bassOut, mid.stepTail<kHalf>(midHead), highOut});
}

bool processorRunsAvx() {
    static const bool runs = __builtin_cpu_supports("avx") != 0;
    return runs;
}

#endif

} // namespace

bool available(Path path) {
    if (path == Path::sse2) {
        return true;
    }
#if DSP_HAS_AVX_PATH
    return processorRunsAvx();
#else
    return false;
#endif
}

Path fastestPath() {
    return available(Path::avx) ? Path::avx : Path::sse2;
}

void runSettled(Path path, Bass& bass, Mid& mid, High& high, float* left, float* right, int frames,
                const Amounts& amounts) {
    auto bassRunner = bass.stereoRunner();
    auto midRunner = mid.stereoRunner();
    auto highRunner = high.stereoRunner();
    const BandMixer mixer(amounts);
#if DSP_HAS_AVX_PATH
    const bool everySection =
        bassRunner.usesAllSections() && midRunner.usesAllSections() && highRunner.usesAllSections();
    if (path == Path::avx && everySection && frames > 0 && processorRunsAvx()) {
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
