#pragma once

#include <array>
#include <cstddef>
#include <string>

namespace Dsp {

enum class ParamId {
    sampleRate = 0,
    frequency = 1,
    q = 2,
    bandwidthHz = 4,
    order = 7,
    rippleDb = 8
};

enum class ParamScale { linear, logBase1_5, exponentBase2, wholeNumber };

// Describes one filter parameter to a generic user interface: its range and the mapping
// between a 0..1 control value and the native value.
struct ParamInfo {
    ParamId id;
    const char* label;
    const char* name;
    double minimum;
    double maximum;
    double defaultValue;
    ParamScale scale;
    bool showsHertz;

    double toNativeValue(double control) const;
    double toControlValue(double native) const;
    std::string toString(double native) const;
};

namespace Params {
extern const ParamInfo sampleRate;
extern const ParamInfo cutoffFrequency;
extern const ParamInfo centerFrequency;
extern const ParamInfo bandwidthHz;
extern const ParamInfo resonance;
extern const ParamInfo butterworthOrder;
extern const ParamInfo chebyshevOrder;
extern const ParamInfo rippleDb;
} // namespace Params

// Thrown for an index at or beyond a design's parameter count.
[[noreturn]] void throwInvalidParamInfo();

} // namespace Dsp

namespace Dsp {

// A design's parameter descriptions in its parameter order.
template <std::size_t Count> class ParamInfoList {
public:
    constexpr explicit ParamInfoList(std::array<const ParamInfo*, Count> infos) : infos(infos) {}

    static constexpr int count = static_cast<int>(Count);

    const ParamInfo& at(int index) const {
        if (index < 0 || index >= count) {
            throwInvalidParamInfo();
        }
        return *infos[index];
    }

private:
    std::array<const ParamInfo*, Count> infos;
};

} // namespace Dsp
