#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace Korvatune {

class VstXSynth;

// How a parameter shows its values, for reading back what a user types.
struct ParameterTexts {
    // The text the host shows for a value, with its unit, e.g. "-6.02060 dB".
    std::function<std::string(float value)> display;
    // 0: continuous; else entries 0..stepCount, entry n being the value n / stepCount.
    int stepCount = 0;
    std::function<std::string(int step)> stepName;
};

// The parameter value (0..1) a typed text means, or nothing when it cannot be read.
// Lists take an entry's name, its number from 1, or "N: name". Continuous parameters take a
// number ("." or "," before the decimals), optionally with the displayed unit, "L 20", "R 20"
// or "C" where the display shows sides, and "-oo" or "-inf" where the lowest value shows so.
// The value is the one whose display is nearest the number, showing the number when one does;
// numbers beyond the displayed range give its nearest end.
std::optional<float> readTypedValue(const ParameterTexts& texts, std::string_view typed);

// The texts of the instrument's parameter `index` as the host sees them; they use the instrument
// and must not outlive it. None for an index that is no parameter.
ParameterTexts parameterTextsOf(VstXSynth& synth, int index);

} // namespace Korvatune
