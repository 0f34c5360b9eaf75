#pragma once

#include "filters/DspStereoDirectFormII.h"

#include <immintrin.h>

// Windows compilers do not keep 32-byte stack alignment for AVX values, so the wide path is
// built for 64-bit Unix targets only; every other build runs the SSE2 runners alone.
#if defined(__x86_64__) && !defined(_WIN32) && (defined(__GNUC__) || defined(__clang__))
#define DSP_HAS_AVX_PATH 1
#define DSP_AVX_TARGET __attribute__((target("avx")))
#else
#define DSP_HAS_AVX_PATH 0
#endif

namespace Dsp {

// The vector widths a block loop may run its lanes in; every path computes the same bits.
enum class VectorPath { sse2, avx };

// Whether this build contains the path and this processor can run it.
inline bool vectorPathAvailable(VectorPath path) {
    if (path == VectorPath::sse2) {
        return true;
    }
#if DSP_HAS_AVX_PATH
    // Safe from static initialisers too, which may run before the compiler's own detection.
    static const bool processorRunsAvx = [] {
        __builtin_cpu_init();
        return __builtin_cpu_supports("avx") != 0;
    }();
    return processorRunsAvx;
#else
    return false;
#endif
}

inline VectorPath fastestVectorPath() {
    return vectorPathAvailable(VectorPath::avx) ? VectorPath::avx : VectorPath::sse2;
}

#if DSP_HAS_AVX_PATH

// Sections of two stereo runners side by side in the four lanes of AVX double vectors: lanes
// 0-1 step sections of the low runner, lanes 2-3 sections of the high one, which may be the
// later sections of the same cascade fed some frames behind. Each lane performs the very
// operations of StereoCascadeRunner::step, so its results are bit for bit the SSE2 ones.
// The states are taken from the runners and written back by save(). A half whose first
// section is its cascade's first carries the runner's denormal guard; a later one adds zero,
// as the runner does.
template <int Sections, int LowMax, int HighMax> class QuadCascadeRunner {
public:
    using LowRunner = StereoCascadeRunner<LowMax>;
    using HighRunner = StereoCascadeRunner<HighMax>;

    DSP_AVX_TARGET QuadCascadeRunner(LowRunner& lowRunner, int lowFirstSection,
                                     HighRunner& highRunner, int highFirstSection)
        : low(lowRunner), high(highRunner), lowFirst(lowFirstSection), highFirst(highFirstSection) {
        static_assert(Sections <= LowMax && Sections <= HighMax);
        for (int s = 0; s < Sections; ++s) {
            const int l = lowFirst + s;
            const int h = highFirst + s;
            a1[s] = _mm256_set_m128d(high.a1[h], low.a1[l]);
            a2[s] = _mm256_set_m128d(high.a2[h], low.a2[l]);
            b0[s] = _mm256_set_m128d(high.b0[h], low.b0[l]);
            b1[s] = _mm256_set_m128d(high.b1[h], low.b1[l]);
            b2[s] = _mm256_set_m128d(high.b2[h], low.b2[l]);
            w1[s] = _mm256_set_m128d(high.w1[h], low.w1[l]);
            w2[s] = _mm256_set_m128d(high.w2[h], low.w2[l]);
        }
        const __m128d sign = _mm_set1_pd(-0.0);
        const __m128d none = _mm_setzero_pd();
        offset = _mm256_set_m128d(highFirst == 0 ? high.offset : none,
                                  lowFirst == 0 ? low.offset : none);
        toggle = _mm256_set_m128d(highFirst == 0 ? sign : none, lowFirst == 0 ? sign : none);
    }

    DSP_AVX_TARGET __m256d step(__m256d x) {
        offset = _mm256_xor_pd(offset, toggle);
        __m256d sectionOffset = offset;
        for (int s = 0; s < Sections; ++s) {
            const __m256d w =
                _mm256_add_pd(_mm256_sub_pd(_mm256_sub_pd(x, _mm256_mul_pd(a1[s], w1[s])),
                                            _mm256_mul_pd(a2[s], w2[s])),
                              sectionOffset);
            x = _mm256_add_pd(_mm256_add_pd(_mm256_mul_pd(b0[s], w), _mm256_mul_pd(b1[s], w1[s])),
                              _mm256_mul_pd(b2[s], w2[s]));
            w2[s] = w1[s];
            w1[s] = w;
            sectionOffset = _mm256_setzero_pd();
        }
        return x;
    }

    DSP_AVX_TARGET void save() {
        for (int s = 0; s < Sections; ++s) {
            low.w1[lowFirst + s] = _mm256_castpd256_pd128(w1[s]);
            low.w2[lowFirst + s] = _mm256_castpd256_pd128(w2[s]);
            high.w1[highFirst + s] = _mm256_extractf128_pd(w1[s], 1);
            high.w2[highFirst + s] = _mm256_extractf128_pd(w2[s], 1);
        }
        if (lowFirst == 0) {
            low.offset = _mm256_castpd256_pd128(offset);
        }
        if (highFirst == 0) {
            high.offset = _mm256_extractf128_pd(offset, 1);
        }
    }

private:
    LowRunner& low;
    HighRunner& high;
    int lowFirst;
    int highFirst;
    __m256d offset;
    __m256d toggle;
    __m256d a1[Sections], a2[Sections], b0[Sections], b1[Sections], b2[Sections];
    __m256d w1[Sections], w2[Sections];
};

#endif

} // namespace Dsp
