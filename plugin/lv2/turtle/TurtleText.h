#pragma once

#include <string>
#include <string_view>

namespace Korvatune::Lv2 {

// A quoted Turtle string literal.
std::string turtleString(std::string_view text);

// A decimal literal that a host reading it as a float gets back bit for bit, with as few digits
// as that takes.
std::string turtleDecimal(float value);

} // namespace Korvatune::Lv2
