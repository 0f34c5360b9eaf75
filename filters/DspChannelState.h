#pragma once

#include "filters/DspCascade.h"

#include <array>

namespace Dsp {

// One channel's section states and its denormal guard: a tiny offset fed into the first
// section, alternating in sign every sample so that the recursion never decays into
// denormals and adds no DC.
template <class State, int MaxSections> class ChannelState {
public:
    // Clears the recursion only; the offset keeps alternating where it was.
    void reset() {
        for (State& state : states) {
            state.reset();
        }
    }

    double process(double x, const Cascade<MaxSections>& cascade) {
        offset = -offset;
        double sectionOffset = offset;
        for (int i = 0; i < cascade.sectionCount(); ++i) {
            x = states[i].process(x, cascade.section(i), sectionOffset);
            sectionOffset = 0.0;
        }
        return x;
    }

    // The state as it stands, for a caller that runs several channels side by side.
    State& section(int index) { return states[static_cast<std::size_t>(index)]; }
    double& guardOffset() { return offset; }

private:
    std::array<State, MaxSections> states{};
    double offset = 1e-8;
};

} // namespace Dsp
