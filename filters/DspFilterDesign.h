#pragma once

#include "filters/DspChannelState.h"
#include "filters/DspFilter.h"
#include "filters/DspStereoDirectFormII.h"

#include <array>
#include <type_traits>

namespace Dsp {

// Binds a design class (its coefficients and, for pole/zero designs, its layouts) to the
// generic filter interface.
template <class DesignClass> class FilterDesignBase : public Filter {
public:
    Kind kind() const override { return DesignClass::kind; }
    const char* name() const override { return DesignClass::name; }
    int parameterCount() const override { return DesignClass::parameters.count; }
    const ParamInfo& parameterInfo(int index) const override {
        return DesignClass::parameters.at(index);
    }
    std::vector<PoleZeroPair> poleZeroPairs() const override { return design.poleZeroPairs(); }
    Complex response(double normalizedFrequency) const override {
        return design.cascade().response(2.0 * kPi * normalizedFrequency);
    }

protected:
    DesignClass design;
};

// A design with one recursion state per channel, run with whatever the design currently is.
template <class DesignClass, int Channels, class State>
class FilterDesign : public FilterDesignBase<DesignClass> {
public:
    int channelCount() const override { return Channels; }

    void reset() override {
        for (auto& channel : channels) {
            channel.reset();
        }
    }

    void process(int frames, double* const* samples) override {
        processRange(this->design.cascade(), 0, frames, samples);
    }
    void process(int frames, float* const* samples) override {
        processRange(this->design.cascade(), 0, frames, samples);
    }

    // Both channels with the current design, for a caller that steps several stereo filters
    // side by side. The runner holds the state until its save().
    StereoCascadeRunner<DesignClass::CascadeType::maxSections>
    stereoRunner() requires(Channels == 2 && std::is_same_v<State, DirectFormII>) {
        return {this->design.cascade(), channels[0], channels[1]};
    }

protected:
    using CascadeType = typename DesignClass::CascadeType;

    void applyParameters(const Parameters& values) override { this->design.setup(values); }

    template <class Sample>
    void processRange(const CascadeType& cascade, int begin, int end, Sample* const* samples) {
        if constexpr (Channels == 2 && std::is_same_v<State, DirectFormII>) {
            processStereoDirectFormII(cascade, channels[0], channels[1], samples[0], samples[1],
                                      begin, end);
        } else {
            for (int c = 0; c < Channels; ++c) {
                Sample* channel = samples[c];
                for (int i = begin; i < end; ++i) {
                    channel[i] = static_cast<Sample>(channels[c].process(channel[i], cascade));
                }
            }
        }
    }

    template <class Sample>
    void processFrame(const CascadeType& cascade, int index, Sample* const* samples) {
        for (int c = 0; c < Channels; ++c) {
            samples[c][index] =
                static_cast<Sample>(channels[c].process(samples[c][index], cascade));
        }
    }

private:
    std::array<ChannelState<State, CascadeType::maxSections>, Channels> channels{};
};

} // namespace Dsp
