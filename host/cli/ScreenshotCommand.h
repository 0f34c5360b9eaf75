#pragma once

#include "host/cli/Arguments.h"

#include <iosfwd>

namespace Korvatune {

// Draws the built-in instrument's editor off screen, without an X server, into a PNG file.
int screenshotCommand(Arguments& args, std::ostream& out, std::ostream& err);

} // namespace Korvatune
