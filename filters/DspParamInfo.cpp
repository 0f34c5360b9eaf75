#include "filters/DspParamInfo.h"

#include <cmath>
#include <cstdio>
#include <stdexcept>

namespace Dsp {

namespace {

double logBase1_5(double value) {
    return std::log(value) / std::log(1.5);
}

double linearNative(const ParamInfo& info, double control) {
    return info.minimum + (info.maximum - info.minimum) * control;
}

double linearControl(const ParamInfo& info, double native) {
    return (native - info.minimum) / (info.maximum - info.minimum);
}

} // namespace

double ParamInfo::toNativeValue(double control) const {
    switch (scale) {
    case ParamScale::logBase1_5: {
        const double low = logBase1_5(minimum);
        const double high = logBase1_5(maximum);
        return std::pow(1.5, low + (high - low) * control);
    }
    case ParamScale::exponentBase2:
        return std::pow(2.0, linearNative(*this, control));
    case ParamScale::wholeNumber:
        return std::floor(linearNative(*this, control) + 0.5);
    case ParamScale::linear:
        break;
    }
    return linearNative(*this, control);
}

double ParamInfo::toControlValue(double native) const {
    switch (scale) {
    case ParamScale::logBase1_5: {
        const double low = logBase1_5(minimum);
        const double high = logBase1_5(maximum);
        return (logBase1_5(native) - low) / (high - low);
    }
    case ParamScale::exponentBase2:
        return linearControl(*this, std::log2(native));
    case ParamScale::wholeNumber:
    case ParamScale::linear:
        break;
    }
    return linearControl(*this, native);
}

std::string ParamInfo::toString(double native) const {
    char text[32];
    if (showsHertz) {
        std::snprintf(text, sizeof text, "%.0f Hz", native);
    } else if (scale == ParamScale::wholeNumber) {
        std::snprintf(text, sizeof text, "%d", static_cast<int>(native));
    } else {
        std::snprintf(text, sizeof text, "%.3f", native);
    }
    return text;
}

namespace Params {
const ParamInfo sampleRate{ParamId::sampleRate, "Fs", "Sample Rate", 11025, 192000, 44100,
                           ParamScale::linear,  true};
const ParamInfo cutoffFrequency{ParamId::frequency,     "Fc", "Cutoff Frequency", 10, 22040, 2000,
                                ParamScale::logBase1_5, true};
const ParamInfo centerFrequency{ParamId::frequency,     "Fc", "Center Frequency", 10, 22040, 2000,
                                ParamScale::logBase1_5, true};
const ParamInfo bandwidthHz{ParamId::bandwidthHz,   "BW", "Bandwidth (Hz)", 10, 22040, 1720,
                            ParamScale::logBase1_5, true};
const ParamInfo resonance{ParamId::q, "Q", "Resonance", -4, 4, 1, ParamScale::exponentBase2, false};
const ParamInfo butterworthOrder{ParamId::order,          "Order", "Order", 1, 4, 2,
                                 ParamScale::wholeNumber, false};
const ParamInfo chebyshevOrder{ParamId::order,          "Order", "Order", 1, 2, 2,
                               ParamScale::wholeNumber, false};
const ParamInfo rippleDb{ParamId::rippleDb,  "Ripple", "Ripple dB", 0.001, 12, 0.01,
                         ParamScale::linear, false};
} // namespace Params

void throwInvalidParamInfo() {
    throw std::logic_error("invalid usage of ParamInfo");
}

} // namespace Dsp
