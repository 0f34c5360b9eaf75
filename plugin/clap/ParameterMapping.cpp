#include "plugin/clap/ParameterMapping.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstring>

namespace Korvatune::Clap {

namespace {

constexpr int kParametersPerOscillator = 14;
constexpr int kFirstPitchParameter = 42;
constexpr int kFirstToneParameter = 45;
constexpr int kFirstOutputParameter = 48;

void copyText(const std::string& text, char* target, std::size_t capacity) {
    const std::size_t length = std::min(text.size(), capacity - 1);
    std::memcpy(target, text.data(), length);
    target[length] = '\0';
}

std::string trimmed(const std::string& text) {
    const auto isSpace = [](unsigned char c) { return std::isspace(c) != 0; };
    const auto first = std::find_if_not(text.begin(), text.end(), isSpace);
    const auto last = std::find_if_not(text.rbegin(), text.rend(), isSpace).base();
    return first < last ? std::string(first, last) : std::string();
}

bool sameIgnoringCase(const std::string& a, const std::string& b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

std::optional<double> stepNamed(int index, const std::string& text) {
    for (int step = 0; step <= Instrument::stepCount(index); ++step) {
        if (sameIgnoringCase(Instrument::stepName(index, step), text)) {
            return step;
        }
    }
    return std::nullopt;
}

std::optional<double> unitNumber(const std::string& text) {
    double number = 0.0;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, number);
    if (error != std::errc() || stop != end || !(number >= 0.0 && number <= 1.0)) {
        return std::nullopt;
    }
    return number;
}

} // namespace

bool isParameterId(std::uint32_t id) {
    return id < static_cast<std::uint32_t>(Instrument::kParameterCount);
}

std::string moduleOf(int index) {
    if (index < kFirstPitchParameter) {
        return "Oscillator " + std::to_string(index / kParametersPerOscillator + 1);
    }
    if (index < kFirstToneParameter) {
        return "Pitch";
    }
    return index < kFirstOutputParameter ? "Tone" : "Output";
}

bool describeParameter(int index, ParamInfo& info) {
    if (index < 0 || index >= Instrument::kParameterCount) {
        return false;
    }
    const int steps = Instrument::stepCount(index);
    info.id = static_cast<std::uint32_t>(index);
    info.flags = kParamIsAutomatable | (steps > 0 ? kParamIsStepped : 0u);
    info.cookie = nullptr;
    copyText(Instrument::parameterName(index), info.name, sizeof info.name);
    copyText(moduleOf(index), info.module, sizeof info.module);
    info.minValue = 0.0;
    info.maxValue = steps > 0 ? steps : 1.0;
    info.defaultValue = plainValue(index, Instrument::defaultValue(index));
    return true;
}

double plainValue(int index, float instrumentValue) {
    const int steps = Instrument::stepCount(index);
    const double value = std::clamp<double>(instrumentValue, 0.0, 1.0);
    return steps > 0 ? std::round(value * steps) : value;
}

// A value outside the range is the host's mistake; the nearest value in it is what it meant.
float instrumentValue(int index, double plainValue) {
    const int steps = Instrument::stepCount(index);
    if (!std::isfinite(plainValue)) {
        return 0.0f;
    }
    if (steps > 0) {
        return static_cast<float>(std::clamp(std::round(plainValue), 0.0, double(steps))) /
               static_cast<float>(steps);
    }
    return static_cast<float>(std::clamp(plainValue, 0.0, 1.0));
}

std::string parameterText(const Instrument& instrument, int index, double plainValue) {
    const std::string text = instrument.displayText(index, instrumentValue(index, plainValue));
    const std::string unit = Instrument::parameterUnit(index);
    return unit.empty() ? text : text + " " + unit;
}

std::optional<double> parsePlainValue(int index, const std::string& text) {
    const std::string given = trimmed(text);
    return Instrument::stepCount(index) > 0 ? stepNamed(index, given) : unitNumber(given);
}

} // namespace Korvatune::Clap
