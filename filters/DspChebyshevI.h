#pragma once

#include "filters/DspAnalogPrototypes.h"
#include "filters/DspParamInfo.h"
#include "filters/DspPoleZeroDesign.h"
#include "filters/DspTransforms.h"
#include "filters/DspTypes.h"

namespace Dsp::ChebyshevI::Design {

// Parameters: 0 sample rate, 1 order, 2 cutoff frequency, 3 pass-band ripple in dB.
template <int MaxOrder> class LowPass : public PoleZeroDesign<MaxOrder, (MaxOrder + 1) / 2> {
public:
    static constexpr Kind kind = Kind::lowPass;
    static constexpr const char* name = "Chebyshev I Low Pass";
    static constexpr ParamInfoList<4> parameters{{&Params::sampleRate, &Params::chebyshevOrder,
                                                  &Params::cutoffFrequency, &Params::rippleDb}};

    void setup(const Parameters& p) {
        prototype.design(this->usableOrder(p[1]), p[3], this->analog);
        lowPassTransform(p[2] / p[0], this->analog, this->digital);
        this->realise();
    }

private:
    ChebyshevIPrototype prototype;
};

// Parameters: 0 sample rate, 1 order, 2 cutoff frequency, 3 pass-band ripple in dB.
template <int MaxOrder> class HighPass : public PoleZeroDesign<MaxOrder, (MaxOrder + 1) / 2> {
public:
    static constexpr Kind kind = Kind::highPass;
    static constexpr const char* name = "Chebyshev I High Pass";
    static constexpr ParamInfoList<4> parameters{{&Params::sampleRate, &Params::chebyshevOrder,
                                                  &Params::cutoffFrequency, &Params::rippleDb}};

    void setup(const Parameters& p) {
        prototype.design(this->usableOrder(p[1]), p[3], this->analog);
        highPassTransform(p[2] / p[0], this->analog, this->digital);
        this->realise();
    }

private:
    ChebyshevIPrototype prototype;
};

} // namespace Dsp::ChebyshevI::Design
