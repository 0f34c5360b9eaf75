#pragma once

#include "plugin/Instrument.h"
#include "plugin/clap/ClapExtensions.h"

#include <optional>
#include <string>

namespace Korvatune::Clap {

// The instrument's parameters as CLAP parameters: the id is the index; a continuous parameter
// keeps its 0..1 value, a list's value is its entry number (0 .. steps) and the instrument
// stores entry / steps.

bool isParameterId(std::uint32_t id);
bool describeParameter(int index, ParamInfo& info);
// The section of the editor a parameter belongs to, as a host groups them.
std::string moduleOf(int index);

double plainValue(int index, float instrumentValue);
float instrumentValue(int index, double plainValue);

// The instrument's display text with its unit.
std::string parameterText(const Instrument& instrument, int index, double plainValue);
// A list takes the name of an entry, a continuous parameter a number from 0 to 1: the display
// texts of many parameters depend on the rate and read back ambiguously.
std::optional<double> parsePlainValue(int index, const std::string& text);

} // namespace Korvatune::Clap
