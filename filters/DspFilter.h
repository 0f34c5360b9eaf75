#pragma once

#include "filters/DspLayout.h"
#include "filters/DspParamInfo.h"
#include "filters/DspTypes.h"

#include <vector>

namespace Dsp {

// A block filter processing several channels in place. Every change of its settings goes
// through setParameters, which stores the whole set and lets the design rebuild itself.
class Filter {
public:
    virtual ~Filter() = default;
    Filter(const Filter&) = delete;
    Filter& operator=(const Filter&) = delete;

    virtual Kind kind() const = 0;
    virtual const char* name() const = 0;
    virtual int parameterCount() const = 0;
    // Throws std::logic_error for an index outside the design's parameters.
    virtual const ParamInfo& parameterInfo(int index) const = 0;
    virtual std::vector<PoleZeroPair> poleZeroPairs() const = 0;
    // At a normalised frequency in cycles per sample.
    virtual Complex response(double normalizedFrequency) const = 0;
    virtual int channelCount() const = 0;
    virtual void reset() = 0;
    virtual void process(int frames, double* const* channels) = 0;
    virtual void process(int frames, float* const* channels) = 0;

    void setParameters(const Parameters& values) {
        parameters = values;
        applyParameters(parameters);
    }
    const Parameters& getParameters() const { return parameters; }

protected:
    Filter() = default;

    virtual void applyParameters(const Parameters& values) = 0;

private:
    Parameters parameters{};
};

} // namespace Dsp
