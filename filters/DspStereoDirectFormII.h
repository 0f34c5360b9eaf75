#pragma once

#include "filters/DspCascade.h"
#include "filters/DspChannelState.h"
#include "filters/DspDirectFormII.h"

#include <emmintrin.h>

namespace Dsp {

// Two channels' Direct Form II cascades in the two lanes of SSE2 double vectors (left in the
// low lane): the same operations in the same order as DirectFormII::process and
// ChannelState::process, so each lane's result is bit for bit the scalar one. SSE2 is the
// baseline of every target. The states are taken at construction and written back by save(),
// so several runners can step side by side, which hides each recursion's latency.
template <int MaxSections> class StereoCascadeRunner {
public:
    using Channel = ChannelState<DirectFormII, MaxSections>;
    static constexpr int maxSections = MaxSections;

    StereoCascadeRunner(const Cascade<MaxSections>& cascade, Channel& leftChannel,
                        Channel& rightChannel)
        : left(leftChannel), right(rightChannel),
          offset(_mm_set_pd(right.guardOffset(), left.guardOffset())) {
        setCoefficients(cascade);
        for (int s = 0; s < MaxSections; ++s) {
            w1[s] = _mm_set_pd(right.section(s).previous(), left.section(s).previous());
            w2[s] = _mm_set_pd(right.section(s).beforePrevious(), left.section(s).beforePrevious());
        }
    }

    // A glide changes the design every frame while the states stay in the runner.
    void setCoefficients(const Cascade<MaxSections>& cascade) {
        count = cascade.sectionCount();
        for (int s = 0; s < count; ++s) {
            const Biquad& section = cascade.section(s);
            a1[s] = _mm_set1_pd(section.a1);
            a2[s] = _mm_set1_pd(section.a2);
            b0[s] = _mm_set1_pd(section.b0);
            b1[s] = _mm_set1_pd(section.b1);
            b2[s] = _mm_set1_pd(section.b2);
        }
    }

    __m128d step(__m128d x) {
        __m128d sectionOffset = nextOffset();
        for (int s = 0; s < count; ++s) {
            x = stepSection(s, x, sectionOffset);
            sectionOffset = _mm_setzero_pd();
        }
        return x;
    }

    bool usesAllSections() const { return count == MaxSections; }
    // step() for a design that uses all sections, with the loop bound known to the compiler.
    __m128d stepAll(__m128d x) { return stepHead<MaxSections>(x); }

    // For a design that uses all sections, split in two parts a caller may run on different
    // frames, so that the two halves of a long cascade are not one dependency chain:
    // step(x) is stepTail<Split>(stepHead<Split>(x)) bit for bit.
    template <int Split> __m128d stepHead(__m128d x) {
        static_assert(Split > 0 && Split <= MaxSections);
        __m128d sectionOffset = nextOffset();
        for (int s = 0; s < Split; ++s) {
            x = stepSection(s, x, sectionOffset);
            sectionOffset = _mm_setzero_pd();
        }
        return x;
    }

    template <int Split> __m128d stepTail(__m128d x) {
        static_assert(Split >= 0 && Split < MaxSections);
        for (int s = Split; s < MaxSections; ++s) {
            x = stepSection(s, x, _mm_setzero_pd());
        }
        return x;
    }

    void save() {
        for (int s = 0; s < MaxSections; ++s) {
            _mm_storel_pd(&left.section(s).previous(), w1[s]);
            _mm_storeh_pd(&right.section(s).previous(), w1[s]);
            _mm_storel_pd(&left.section(s).beforePrevious(), w2[s]);
            _mm_storeh_pd(&right.section(s).beforePrevious(), w2[s]);
        }
        _mm_storel_pd(&left.guardOffset(), offset);
        _mm_storeh_pd(&right.guardOffset(), offset);
    }

private:
    template <int Sections, int LowMax, int HighMax> friend class QuadCascadeRunner;

    __m128d nextOffset() {
        offset = _mm_xor_pd(offset, _mm_set1_pd(-0.0));
        return offset;
    }

    __m128d stepSection(int s, __m128d x, __m128d sectionOffset) {
        const __m128d w = _mm_add_pd(
            _mm_sub_pd(_mm_sub_pd(x, _mm_mul_pd(a1[s], w1[s])), _mm_mul_pd(a2[s], w2[s])),
            sectionOffset);
        const __m128d y = _mm_add_pd(_mm_add_pd(_mm_mul_pd(b0[s], w), _mm_mul_pd(b1[s], w1[s])),
                                     _mm_mul_pd(b2[s], w2[s]));
        w2[s] = w1[s];
        w1[s] = w;
        return y;
    }

    Channel& left;
    Channel& right;
    int count = 0;
    __m128d offset;
    __m128d a1[MaxSections] = {}, a2[MaxSections] = {}, b0[MaxSections] = {};
    __m128d b1[MaxSections] = {}, b2[MaxSections] = {};
    __m128d w1[MaxSections] = {}, w2[MaxSections] = {};
};

// A stereo frame as doubles, left in the low lane; and back, each lane rounded as a scalar
// cast would round it.
template <class Sample> __m128d loadStereo(const Sample* left, const Sample* right, int i) {
    return _mm_set_pd(static_cast<double>(right[i]), static_cast<double>(left[i]));
}

template <class Sample> void storeStereo(__m128d x, Sample* left, Sample* right, int i) {
    left[i] = static_cast<Sample>(_mm_cvtsd_f64(x));
    right[i] = static_cast<Sample>(_mm_cvtsd_f64(_mm_unpackhi_pd(x, x)));
}

// Both channels of a float frame in the two low lanes of a float vector, and back.
inline __m128 loadFrame(const float* left, const float* right, int i) {
    return _mm_unpacklo_ps(_mm_load_ss(left + i), _mm_load_ss(right + i));
}

inline void storeFrame(__m128 frame, float* left, float* right, int i) {
    _mm_store_ss(left + i, frame);
    _mm_store_ss(right + i, _mm_shuffle_ps(frame, frame, _MM_SHUFFLE(1, 1, 1, 1)));
}

template <int MaxSections, class Sample>
void processStereoDirectFormII(const Cascade<MaxSections>& cascade,
                               ChannelState<DirectFormII, MaxSections>& left,
                               ChannelState<DirectFormII, MaxSections>& right, Sample* leftSamples,
                               Sample* rightSamples, int begin, int end) {
    StereoCascadeRunner<MaxSections> runner(cascade, left, right);
    for (int i = begin; i < end; ++i) {
        storeStereo(runner.step(loadStereo(leftSamples, rightSamples, i)), leftSamples,
                    rightSamples, i);
    }
    runner.save();
}

} // namespace Dsp
