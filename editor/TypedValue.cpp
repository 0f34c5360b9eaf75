#include "editor/TypedValue.h"

#include "plugin/Identity.h"
#include "plugin/Instrument.h"
#include "plugin/VstXSynth.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <vector>

namespace Korvatune {

namespace {

// Dense enough that every monotonic stretch of a display is found between two samples.
constexpr int kSamples = 2049;
constexpr int kBisections = 64;
constexpr float kInfinity = std::numeric_limits<float>::infinity();

std::string_view trimmed(std::string_view text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

char lowerAscii(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool equalsIgnoringCase(std::string_view a, std::string_view b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [](char x, char y) { return lowerAscii(x) == lowerAscii(y); });
}

bool startsWithIgnoringCase(std::string_view text, std::string_view start) {
    return text.size() >= start.size() && equalsIgnoringCase(text.substr(0, start.size()), start);
}

// A number and what follows it (the unit), as displays and users write them.
struct ReadNumber {
    double value = 0.0;
    std::string_view rest;
    bool sided = false;
};

// A decimal number with "." or ",", or "-oo"/"-inf" for minus infinity.
std::optional<ReadNumber> readPlainNumber(std::string_view text) {
    for (std::string_view infinity : {"-oo", "-inf", "-\xE2\x88\x9E"}) {
        if (startsWithIgnoringCase(text, infinity)) {
            return ReadNumber{-std::numeric_limits<double>::infinity(),
                              trimmed(text.substr(infinity.size())), false};
        }
    }
    const bool plus = !text.empty() && text.front() == '+';
    std::string digits(text.substr(plus ? 1 : 0));
    std::replace(digits.begin(), digits.end(), ',', '.');
    double value = 0.0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value,
                                              std::chars_format::fixed);
    if (error != std::errc() || (plus && digits.front() == '-')) {
        return std::nullopt;
    }
    const auto used = static_cast<std::size_t>(end - digits.data()) + (plus ? 1 : 0);
    return ReadNumber{value, trimmed(text.substr(used)), false};
}

// Pan shows sides: "L 20" is -20, "R 20" is 20, "Center" (or "C") is 0.
std::optional<ReadNumber> readSidedNumber(std::string_view text) {
    for (std::string_view center : {"Center", "C"}) {
        if (startsWithIgnoringCase(text, center) &&
            (text.size() == center.size() || text[center.size()] == ' ')) {
            return ReadNumber{0.0, trimmed(text.substr(center.size())), true};
        }
    }
    if (text.size() < 2 || (lowerAscii(text[0]) != 'l' && lowerAscii(text[0]) != 'r')) {
        return std::nullopt;
    }
    auto number = readPlainNumber(trimmed(text.substr(1)));
    if (!number || number->value < 0.0) {
        return std::nullopt;
    }
    number->value = lowerAscii(text[0]) == 'l' ? -number->value : number->value;
    number->sided = true;
    return number;
}

std::optional<ReadNumber> readNumber(std::string_view text, bool sidesAllowed) {
    text = trimmed(text);
    if (auto number = readPlainNumber(text)) {
        return number;
    }
    return sidesAllowed ? readSidedNumber(text) : std::nullopt;
}

// Units compare ignoring case and an abbreviation's final dot ("sec" for "sec.").
bool sameUnit(std::string_view typed, std::string_view shown) {
    const auto withoutDot = [](std::string_view unit) {
        return (!unit.empty() && unit.back() == '.') ? unit.substr(0, unit.size() - 1) : unit;
    };
    return equalsIgnoringCase(withoutDot(typed), withoutDot(shown));
}

std::optional<float> readStep(const ParameterTexts& texts, std::string_view typed) {
    const auto nameMatches = [&](int step, std::string_view name) {
        return step >= 0 && step <= texts.stepCount &&
               equalsIgnoringCase(trimmed(texts.stepName(step)), trimmed(name));
    };
    const auto valueOf = [&](int step) {
        return static_cast<float>(step) / static_cast<float>(texts.stepCount);
    };
    for (int step = 0; step <= texts.stepCount; ++step) {
        if (nameMatches(step, typed)) {
            return valueOf(step);
        }
    }
    int number = 0;
    const auto [end, error] = std::from_chars(typed.data(), typed.data() + typed.size(), number);
    // A switch has no numbered labels: 1 and 0 mean on and off, as everywhere else.
    if (texts.stepCount == 1 && error == std::errc() && end == typed.data() + typed.size() &&
        (number == 0 || number == 1)) {
        return valueOf(number);
    }
    if (error != std::errc() || number < 1 || number > texts.stepCount + 1) {
        return std::nullopt;
    }
    const std::string_view rest =
        trimmed(typed.substr(static_cast<std::size_t>(end - typed.data())));
    if (rest.empty()) {
        return valueOf(number - 1);
    }
    if (rest.front() == ':' && nameMatches(number - 1, rest.substr(1))) {
        return valueOf(number - 1);
    }
    return std::nullopt;
}

// The display sampled over 0..1: each sample's number, and the unit the display shows.
class SampledDisplay {
public:
    explicit SampledDisplay(const ParameterTexts& texts) : texts(texts) {
        numbers.reserve(kSamples);
        for (int i = 0; i < kSamples; ++i) {
            numbers.push_back(numberAt(valueOf(i)));
        }
    }

    static float valueOf(int sample) {
        return static_cast<float>(sample) / static_cast<float>(kSamples - 1);
    }
    double numberAt(float value) {
        // The number's unit is a view into the text, which must outlive it.
        const std::string shown = texts.display(value);
        const auto number = readNumber(shown, true);
        if (!number) {
            return std::numeric_limits<double>::quiet_NaN();
        }
        sided = sided || number->sided;
        if (unit.empty()) {
            unit = std::string(number->rest);
        }
        return number->value;
    }
    bool showsSides() const { return sided; }
    const std::string& shownUnit() const { return unit; }

    std::optional<float> nearest(double wanted) {
        const std::optional<int> sample = nearestSample(wanted);
        if (!sample) {
            return std::nullopt;
        }
        return refined(*sample, wanted);
    }

private:
    std::optional<int> nearestSample(double wanted) const {
        std::optional<int> best;
        double bestDistance = std::numeric_limits<double>::infinity();
        for (int i = 0; i < kSamples; ++i) {
            const double distance = std::fabs(numbers[static_cast<std::size_t>(i)] - wanted);
            if (distance < bestDistance || (!best && !std::isnan(distance))) {
                best = i;
                bestDistance = distance;
            }
        }
        return best;
    }

    // Between the sample and the neighbour on the wanted number's side, where the display
    // runs one way, bisection finds the value showing the number (or the nearest).
    float refined(int sample, double wanted) {
        const double here = numbers[static_cast<std::size_t>(sample)];
        if (here == wanted) {
            return valueOf(sample);
        }
        for (int neighbour : {sample - 1, sample + 1}) {
            if (neighbour < 0 || neighbour >= kSamples) {
                continue;
            }
            const double there = numbers[static_cast<std::size_t>(neighbour)];
            if ((here < wanted && wanted <= there) || (there <= wanted && wanted < here)) {
                return bisected(valueOf(sample), valueOf(neighbour), wanted);
            }
        }
        return valueOf(sample);
    }

    float bisected(float from, float to, double wanted) {
        const bool rising = numberAt(to) > numberAt(from);
        float low = rising ? from : to;
        float high = rising ? to : from;
        for (int i = 0; i < kBisections; ++i) {
            const float middle = low + (high - low) * 0.5f;
            if (middle == low || middle == high) {
                break;
            }
            const double shown = numberAt(middle);
            if (shown == wanted) {
                return middle;
            }
            (shown < wanted ? low : high) = middle;
        }
        return std::fabs(numberAt(low) - wanted) <= std::fabs(numberAt(high) - wanted) ? low : high;
    }

    const ParameterTexts& texts;
    std::vector<double> numbers;
    std::string unit;
    bool sided = false;
};

std::optional<float> readContinuous(const ParameterTexts& texts, std::string_view typed) {
    SampledDisplay display(texts);
    const auto number = readNumber(typed, display.showsSides());
    if (!number || (!number->rest.empty() && !sameUnit(number->rest, display.shownUnit()))) {
        return std::nullopt;
    }
    if (std::isinf(number->value)) {
        if (display.numberAt(0.0f) == number->value) {
            return 0.0f;
        }
        return std::nullopt;
    }
    return display.nearest(number->value);
}

} // namespace

std::optional<float> readTypedValue(const ParameterTexts& texts, std::string_view typed) {
    typed = trimmed(typed);
    if (typed.empty() || !texts.display) {
        return std::nullopt;
    }
    if (texts.stepCount > 0) {
        return texts.stepName ? readStep(texts, typed) : std::nullopt;
    }
    return readContinuous(texts, typed);
}

ParameterTexts parameterTextsOf(VstXSynth& synth, int index) {
    if (index < 0 || index >= Instrument::kParameterCount) {
        return {};
    }
    char label[kParameterTextLimit + 1] = {};
    synth.getParameterLabel(index, label);
    const std::string unit = label[0] != '\0' ? std::string(" ") + label : std::string();
    ParameterTexts texts;
    texts.display = [&synth, index, unit](float value) {
        char text[kParameterTextLimit + 1] = {};
        synth.formatDisplay(index, std::clamp(value, 0.0f, 1.0f), text);
        return text + unit;
    };
    texts.stepCount = Instrument::stepCount(index);
    texts.stepName = [index](int step) { return Instrument::stepName(index, step); };
    return texts;
}

} // namespace Korvatune
