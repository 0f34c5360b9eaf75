#include "plugin/vst3/Vst3Parameters.h"

#include "platform/CNumbers.h"
#include "plugin/vst3/Vst3Ids.h"
#include "plugin/vst3/Vst3Text.h"

#include <algorithm>
#include <cmath>
#include <string>

namespace Korvatune::Vst3 {

namespace {

void describeInstrumentParameter(int index, ParameterInfo& info) {
    info.id = static_cast<ParamID>(index);
    copyToUtf16(Instrument::parameterName(index), info.title);
    copyToUtf16(Instrument::parameterShortName(index), info.shortTitle);
    copyToUtf16(Instrument::parameterUnit(index), info.units);
    info.stepCount = Instrument::stepCount(index);
    info.defaultNormalizedValue = Instrument::defaultValue(index);
    info.flags = ParameterInfo::kCanAutomate | (info.stepCount > 0 ? ParameterInfo::kIsList : 0);
}

void describeProgram(ParameterInfo& info) {
    info.id = kProgramId;
    copyToUtf16("Program", info.title);
    copyToUtf16("Program", info.shortTitle);
    info.stepCount = kLastProgram;
    info.flags = ParameterInfo::kIsProgramChange | ParameterInfo::kIsList;
}

// Their changes come from the host's MIDI mapping, never from automation.
void describeController(ParamID id, const char* title, ParameterInfo& info) {
    info.id = id;
    copyToUtf16(title, info.title);
    copyToUtf16(title, info.shortTitle);
    info.stepCount = 127;
    info.flags = ParameterInfo::kIsHidden;
}

int stepOf(ParamValue value, int steps) {
    return static_cast<int>(std::lround(std::clamp(value, 0.0, 1.0) * steps));
}

// Only text that is a number as a whole, with a decimal point whatever the host's locale.
std::optional<ParamValue> numberIn01(const std::string& text) {
    const bool numeric =
        std::any_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; }) &&
        text.find_first_not_of("0123456789.+-eE ") == std::string::npos;
    if (!numeric) {
        return std::nullopt;
    }
    const double parsed = Platform::parseCNumberPrefix(text.c_str());
    return parsed >= 0.0 && parsed <= 1.0 ? std::optional(parsed) : std::nullopt;
}

std::optional<ParamValue> stepNamed(ParamID id, std::string_view text) {
    const int steps = stepsOf(id);
    for (int step = 0; step <= steps && steps > 0; ++step) {
        if (Instrument::stepName(static_cast<int>(id), step) == text) {
            return static_cast<ParamValue>(step) / steps;
        }
    }
    return std::nullopt;
}

std::optional<ParamValue> programNamed(const Instrument& instrument, std::string_view text) {
    for (int program = 0; program <= kLastProgram; ++program) {
        if (instrument.programName(program) == text) {
            return static_cast<ParamValue>(program) / kLastProgram;
        }
    }
    return std::nullopt;
}

} // namespace

bool describeParameter(int position, ParameterInfo& info) {
    if (position < 0 || position >= kListedParameterCount) {
        return false;
    }
    info = {};
    info.unitId = kRootUnitId;
    if (position < Instrument::kParameterCount) {
        describeInstrumentParameter(position, info);
    } else if (position == Instrument::kParameterCount) {
        describeProgram(info);
    } else if (position == Instrument::kParameterCount + 1) {
        describeController(kAllNotesOffId, "All notes off", info);
    } else {
        describeController(kMonoModeId, "Mono mode", info);
    }
    return true;
}

int stepsOf(ParamID id) {
    if (isInstrumentParameter(id)) {
        return Instrument::stepCount(static_cast<int>(id));
    }
    if (id == kProgramId) {
        return kLastProgram;
    }
    return controllerOf(id) >= 0 ? 127 : 0;
}

std::string parameterText(const Instrument& instrument, ParamID id, ParamValue value) {
    if (isInstrumentParameter(id)) {
        return instrument.displayText(static_cast<int>(id), static_cast<float>(value));
    }
    if (id == kProgramId) {
        return instrument.programName(stepOf(value, kLastProgram));
    }
    return std::to_string(stepOf(value, 127));
}

std::optional<ParamValue> parameterValueOf(const Instrument& instrument, ParamID id,
                                           std::string_view text) {
    if (id == kProgramId) {
        if (const auto program = programNamed(instrument, text)) {
            return program;
        }
    } else if (const auto step = stepNamed(id, text)) {
        return step;
    }
    return isInstrumentParameter(id) || id == kProgramId ? numberIn01(std::string(text))
                                                         : std::nullopt;
}

} // namespace Korvatune::Vst3
