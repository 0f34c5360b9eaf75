#pragma once

#include "engine/Distortion.h"
#include "engine/OutputChain.h"
#include "engine/SampleFunctions.h"
#include "filters/DspButterworth.h"
#include "filters/DspChebyshevI.h"
#include "filters/DspDirectFormII.h"
#include "filters/DspRbj.h"
#include "filters/DspSmoothedFilterDesign.h"

#include <algorithm>
#include <cstdint>
#include <vector>

namespace OutputChainTesting {

inline float globalFrequency(float cutoff, float rate) {
    return Korvatune::expCurve(cutoff) * rate * 0.499f + 20.0f;
}

inline double globalQ(float resonance) {
    return resonance * 15.0f + 0.5;
}

inline float dumpLowCutoff(float dumpExpand, float rate) {
    return Korvatune::expCurve(std::clamp(dumpExpand * 2.0f, 0.0f, 1.0f)) * rate * 0.49977f + 10.0f;
}

inline float dumpHighCutoff(float dumpExpand, float rate) {
    return Korvatune::expCurve(std::clamp((dumpExpand - 0.5f) * 2.0f, 0.0f, 1.0f)) * rate *
               0.49977f +
           10.0f;
}

struct Stereo {
    std::vector<float> left;
    std::vector<float> right;

    // Deterministic noise in -gain..gain, different on each channel.
    static Stereo noise(int frames, float gain, std::uint32_t seed) {
        Stereo signal{std::vector<float>(frames), std::vector<float>(frames)};
        for (int i = 0; i < frames; ++i) {
            signal.left[i] = gain * next(seed);
            signal.right[i] = gain * next(seed);
        }
        return signal;
    }

    static float next(std::uint32_t& state) {
        state = state * 1664525u + 1013904223u;
        return static_cast<float>(state >> 8) / 8388608.0f - 1.0f;
    }
};

// Runs a signal through a chain in blocks of the given size.
template <class Chain>
Stereo render(Chain& chain, const Stereo& input, int blockSize,
              const Korvatune::OutputChainControls& controls) {
    Stereo output = input;
    const int frames = static_cast<int>(input.left.size());
    for (int start = 0; start < frames; start += blockSize) {
        chain.processBlock(output.left.data() + start, output.right.data() + start,
                           std::min(blockSize, frames - start), controls);
    }
    return output;
}

// The output chain written out stage by stage from separately driven filters: the expected
// behaviour the chain under test is compared against.
class ReferenceChain {
public:
    ReferenceChain() { configure(44100.0, 20.0, 0.5, 44100.0f * 0.49977f + 10.0f, 10.0); }

    // Every filter gets one set with the given rate, as after a sample-rate change.
    void configure(double newRate, double frequency, double q, double dumpLow, double dumpHigh) {
        rate = newRate;
        bandLow.setParameters({rate, 4, 440});
        bandBand.setParameters({rate, 4, 1000, 1777});
        bandHigh.setParameters({rate, 4, 2777});
        setGlobal(frequency, q);
        setDump(dumpLow, dumpHigh);
    }

    void setGlobal(double frequency, double q) {
        globalLow.setParameters({rate, frequency, q});
        globalHigh.setParameters({rate, frequency, q});
    }

    void setDump(double low, double high) {
        dumpLow.setParameters({rate, 2, low, 0.1});
        dumpHigh.setParameters({rate, 2, high, 0.1});
    }

    void resetAll() {
        for (Dsp::Filter* filter : std::initializer_list<Dsp::Filter*>{
                 &bandLow, &bandBand, &bandHigh, &globalLow, &globalHigh, &dumpLow, &dumpHigh}) {
            filter->reset();
        }
    }

    void processBlock(float* left, float* right, int frames,
                      const Korvatune::OutputChainControls& controls) {
        Stereo low = copy(left, right, frames);
        Stereo high = copy(left, right, frames);
        run(globalLow, low);
        run(globalHigh, high);
        const float f = controls.filterType;
        for (int i = 0; i < frames; ++i) {
            left[i] = (1.0f - f) * low.left[i] + f * high.left[i];
            right[i] = (1.0f - f) * low.right[i] + f * high.right[i];
        }
        distortion.processBlock(left, right, frames);
        Stereo dumped = copy(left, right, frames);
        run(dumpHigh, dumped);
        run(dumpLow, dumped);
        for (int i = 0; i < frames; ++i) {
            left[i] = std::clamp(dumped.left[i], -1.0f, 1.0f);
            right[i] = std::clamp(dumped.right[i], -1.0f, 1.0f);
        }
        Stereo bass = copy(left, right, frames);
        Stereo mid = copy(left, right, frames);
        Stereo treble = copy(left, right, frames);
        run(bandLow, bass);
        run(bandBand, mid);
        run(bandHigh, treble);
        for (int i = 0; i < frames; ++i) {
            addBand(left[i], right[i], controls.bassAmount, bass, i);
            addBand(left[i], right[i], controls.midAmount, mid, i);
            addBand(left[i], right[i], controls.highAmount, treble, i);
        }
    }

    Korvatune::Distortion distortion;

private:
    template <class Design>
    using Smoothed = Dsp::SmoothedFilterDesign<Design, 2, Dsp::DirectFormII>;

    static Stereo copy(const float* left, const float* right, int frames) {
        return {std::vector<float>(left, left + frames), std::vector<float>(right, right + frames)};
    }

    static void run(Dsp::Filter& filter, Stereo& signal) {
        float* channels[2] = {signal.left.data(), signal.right.data()};
        filter.process(static_cast<int>(signal.left.size()), channels);
    }

    static void addBand(float& left, float& right, float amount, const Stereo& band, int i) {
        if (amount > 0.0f) {
            left += amount * band.left[i];
            right += amount * band.right[i];
        }
    }

    double rate = 44100.0;
    Smoothed<Dsp::Butterworth::Design::LowPass<4>> bandLow;
    Smoothed<Dsp::Butterworth::Design::BandPass<4>> bandBand;
    Smoothed<Dsp::Butterworth::Design::HighPass<4>> bandHigh;
    Smoothed<Dsp::RBJ::Design::LowPass> globalLow;
    Smoothed<Dsp::RBJ::Design::HighPass> globalHigh;
    Smoothed<Dsp::ChebyshevI::Design::LowPass<2>> dumpLow;
    Smoothed<Dsp::ChebyshevI::Design::HighPass<2>> dumpHigh;
};

} // namespace OutputChainTesting
