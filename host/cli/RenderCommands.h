#pragma once

#include "host/cli/Arguments.h"

#include <iosfwd>

namespace Korvatune {

int renderCommand(Arguments& args, std::ostream& out, std::ostream& err);
int bankCommand(Arguments& args, std::ostream& out, std::ostream& err);

} // namespace Korvatune
