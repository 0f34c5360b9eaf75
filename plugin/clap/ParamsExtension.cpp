// The parameters as a CLAP host reads and sets them. No exception leaves through them.

#include "plugin/clap/ClapInstrument.h"
#include "plugin/clap/ParameterMapping.h"
#include "plugin/clap/PluginExtensions.h"

#include <cstring>

namespace Korvatune::Clap {

namespace {

std::uint32_t count(const Plugin*) {
    return Instrument::kParameterCount;
}

bool getInfo(const Plugin*, std::uint32_t index, ParamInfo* info) {
    return info != nullptr && isParameterId(index) &&
           describeParameter(static_cast<int>(index), *info);
}

bool getValue(const Plugin* plugin, std::uint32_t id, double* value) {
    if (value == nullptr || !isParameterId(id)) {
        return false;
    }
    const int index = static_cast<int>(id);
    *value = plainValue(index, ClapInstrument::of(plugin).instrument().parameterValue(index));
    return true;
}

bool valueToText(const Plugin* plugin, std::uint32_t id, double value, char* text,
                 std::uint32_t capacity) {
    if (text == nullptr || capacity == 0 || !isParameterId(id)) {
        return false;
    }
    try {
        const std::string shown =
            parameterText(ClapInstrument::of(plugin).instrument(), static_cast<int>(id), value);
        const std::size_t length = std::min<std::size_t>(shown.size(), capacity - 1);
        std::memcpy(text, shown.data(), length);
        text[length] = '\0';
        return true;
    } catch (...) {
        return false;
    }
}

bool textToValue(const Plugin*, std::uint32_t id, const char* text, double* value) {
    if (text == nullptr || value == nullptr || !isParameterId(id)) {
        return false;
    }
    try {
        const std::optional<double> parsed = parsePlainValue(static_cast<int>(id), text);
        if (parsed) {
            *value = *parsed;
        }
        return parsed.has_value();
    } catch (...) {
        return false;
    }
}

void flush(const Plugin* plugin, const InputEvents* in, const OutputEvents* out) {
    ClapInstrument::of(plugin).flush(in, out);
}

constexpr PluginParams kParams = {count, getInfo, getValue, valueToText, textToValue, flush};

} // namespace

const PluginParams& paramsExtension() {
    return kParams;
}

} // namespace Korvatune::Clap
