#pragma once

#include "filters/DspFilterDesign.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <type_traits>

namespace Dsp {

// Glides every parameter change linearly over a fixed number of processed samples, starting
// from wherever the previous glide had got to. While gliding, the design is rebuilt from the
// transition parameters for every sample.
template <class DesignClass, int Channels, class State>
class SmoothedFilterDesign : public FilterDesign<DesignClass, Channels, State> {
public:
    static constexpr int kTransitionSamples = 1024;

    void process(int frames, double* const* samples) override { processGliding(frames, samples); }
    void process(int frames, float* const* samples) override { processGliding(frames, samples); }

    const Parameters& getTransitionParameters() const { return transition; }
    // -1 until the first parameter set, then the samples left in the current glide.
    int getRemainingTransitionSamples() const { return remaining; }
    bool isGliding() const { return remaining > 0; }

    // Glides this filter and `other` side by side while both are at the same point of the same
    // glide (same transition, target and samples left): for each frame `setupBoth` builds both
    // designs from the transition, so work they share is done once, and `frame` steps the two
    // stereo runners. Each filter ends where its own process() would have left it. Returns the
    // frames glided, or -1, having done nothing, when the glides differ or stay in place.
    template <class Other, class SetupBoth, class Frame>
    int glideTogether(Other& other, int frames, const SetupBoth& setupBoth,
                      const Frame& frame) requires(Channels == 2 &&
                                                   std::is_same_v<State, DirectFormII>) {
        if (remaining <= 0 || other.remaining != remaining ||
            !sameBits(transition, other.transition) ||
            !sameBits(this->getParameters(), other.getParameters())) {
            return -1;
        }
        const Parameters step = glideStep();
        if (staysAt(this->getParameters(), step)) {
            return -1;
        }
        const int glideFrames = std::max(0, std::min(remaining, frames));
        auto runner = this->stereoRunner();
        auto otherRunner = other.stereoRunner();
        for (int n = 0; n < glideFrames; ++n) {
            advanceTransition(step);
            other.transition = transition;
            setupBoth(transition, transitionDesign, other.transitionDesign);
            runner.setCoefficients(transitionDesign.cascade());
            otherRunner.setCoefficients(other.transitionDesign.cascade());
            frame(n, runner, otherRunner);
        }
        runner.save();
        otherRunner.save();
        finishGlide(glideFrames);
        other.finishGlide(glideFrames);
        return glideFrames;
    }

protected:
    // The very first set takes effect at once; every later one starts a full glide.
    void applyParameters(const Parameters& values) override {
        if (remaining < 0) {
            remaining = 0;
            transition = values;
        } else {
            remaining = kTransitionSamples;
        }
        Base::applyParameters(values);
    }

private:
    using Base = FilterDesign<DesignClass, Channels, State>;

    template <class Sample> void processGliding(int frames, Sample* const* samples) {
        const int glideFrames = std::max(0, std::min(remaining, frames));
        if (glideFrames > 0) {
            glide(glideFrames, samples);
        }
        this->processRange(this->design.cascade(), glideFrames, frames, samples);
    }

    template <class, int, class> friend class SmoothedFilterDesign;

    template <class Sample> void glide(int frames, Sample* const* samples) {
        const Parameters& target = this->getParameters();
        const Parameters step = glideStep();
        if (staysAt(target, step)) {
            // Every sample would rebuild the design the filter already runs.
            transition = target;
            this->processRange(this->design.cascade(), 0, frames, samples);
        } else if constexpr (Channels == 2 && std::is_same_v<State, DirectFormII>) {
            auto runner = this->stereoRunner();
            for (int n = 0; n < frames; ++n) {
                stepTransition(step);
                runner.setCoefficients(transitionDesign.cascade());
                storeStereo(runner.step(loadStereo(samples[0], samples[1], n)), samples[0],
                            samples[1], n);
            }
            runner.save();
        } else {
            for (int n = 0; n < frames; ++n) {
                stepTransition(step);
                this->processFrame(transitionDesign.cascade(), n, samples);
            }
        }
        finishGlide(frames);
    }

    Parameters glideStep() const {
        const Parameters& target = this->getParameters();
        Parameters step{};
        for (int i = 0; i < DesignClass::parameters.count; ++i) {
            step[i] = (target[i] - transition[i]) / remaining;
        }
        return step;
    }

    void finishGlide(int frames) {
        remaining -= frames;
        if (remaining == 0) {
            transition = this->getParameters();
        }
    }

    static bool sameBits(const Parameters& a, const Parameters& b) {
        for (std::size_t i = 0; i < a.size(); ++i) {
            if (std::bit_cast<std::uint64_t>(a[i]) != std::bit_cast<std::uint64_t>(b[i])) {
                return false;
            }
        }
        return true;
    }

    // Whether every step leaves the transition with the very bits of the target.
    bool staysAt(const Parameters& target, const Parameters& step) const {
        for (int i = 0; i < DesignClass::parameters.count; ++i) {
            if (step[i] != 0.0 || std::bit_cast<std::uint64_t>(transition[i] + step[i]) !=
                                      std::bit_cast<std::uint64_t>(target[i])) {
                return false;
            }
        }
        return true;
    }

    void stepTransition(const Parameters& step) {
        advanceTransition(step);
        transitionDesign.setup(transition);
    }

    void advanceTransition(const Parameters& step) {
        for (int i = 0; i < DesignClass::parameters.count; ++i) {
            transition[i] += step[i];
        }
    }

    Parameters transition{};
    DesignClass transitionDesign;
    int remaining = -1;
};

} // namespace Dsp
