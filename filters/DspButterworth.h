#pragma once

#include "filters/DspAnalogPrototypes.h"
#include "filters/DspParamInfo.h"
#include "filters/DspPoleZeroDesign.h"
#include "filters/DspTransforms.h"
#include "filters/DspTypes.h"

namespace Dsp::Butterworth::Design {

// Parameters: 0 sample rate, 1 order, 2 cutoff frequency.
template <int MaxOrder> class LowPass : public PoleZeroDesign<MaxOrder, (MaxOrder + 1) / 2> {
public:
    static constexpr Kind kind = Kind::lowPass;
    static constexpr const char* name = "Butterworth Low Pass";
    static constexpr ParamInfoList<3> parameters{
        {&Params::sampleRate, &Params::butterworthOrder, &Params::cutoffFrequency}};

    void setup(const Parameters& p) {
        prototype.design(this->usableOrder(p[1]), this->analog);
        lowPassTransform(p[2] / p[0], this->analog, this->digital);
        this->realise();
    }

private:
    ButterworthPrototype prototype;
};

// Parameters: 0 sample rate, 1 order, 2 cutoff frequency.
template <int MaxOrder> class HighPass : public PoleZeroDesign<MaxOrder, (MaxOrder + 1) / 2> {
public:
    static constexpr Kind kind = Kind::highPass;
    static constexpr const char* name = "Butterworth High Pass";
    static constexpr ParamInfoList<3> parameters{
        {&Params::sampleRate, &Params::butterworthOrder, &Params::cutoffFrequency}};

    void setup(const Parameters& p) {
        prototype.design(this->usableOrder(p[1]), this->analog);
        highPassTransform(p[2] / p[0], this->analog, this->digital);
        this->realise();
    }

private:
    ButterworthPrototype prototype;
};

// Parameters: 0 sample rate, 1 order, 2 centre frequency, 3 bandwidth in Hz.
template <int MaxOrder> class BandPass : public PoleZeroDesign<MaxOrder, MaxOrder> {
public:
    static constexpr Kind kind = Kind::bandPass;
    static constexpr const char* name = "Butterworth Band Pass";
    static constexpr ParamInfoList<4> parameters{{&Params::sampleRate, &Params::butterworthOrder,
                                                  &Params::centerFrequency, &Params::bandwidthHz}};

    void setup(const Parameters& p) {
        prototype.design(this->usableOrder(p[1]), this->analog);
        bandPassTransform(p[2] / p[0], p[3] / p[0], this->analog, this->digital);
        this->realise();
    }

private:
    ButterworthPrototype prototype;
};

} // namespace Dsp::Butterworth::Design
