#pragma once

#include "host/cli/Arguments.h"

#include <iosfwd>

namespace Korvatune {

int saveProgramCommand(Arguments& args, std::ostream& out, std::ostream& err);

} // namespace Korvatune
