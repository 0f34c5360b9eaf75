#pragma once

#include "plugin/Instrument.h"
#include "plugin/vst3/Vst3Editing.h"

#include <optional>
#include <string>
#include <string_view>

namespace Korvatune::Vst3 {

// The parameters as a host lists them: the instrument's, then the program, then the hidden
// MIDI controllers.
inline constexpr int kListedParameterCount = Instrument::kParameterCount + 3;

// False for a position past the list.
bool describeParameter(int position, ParameterInfo& info);

// The number of steps between 0 and 1 of a parameter; 0 for a continuous one.
int stepsOf(ParamID id);

std::string parameterText(const Instrument& instrument, ParamID id, ParamValue value);

// A step's name, a program's name, or a number in 0..1; nothing for other text.
std::optional<ParamValue> parameterValueOf(const Instrument& instrument, ParamID id,
                                           std::string_view text);

} // namespace Korvatune::Vst3
