#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace Korvatune {

enum ExitStatus : int {
    kExitSuccess = 0,
    kExitFailure = 1,
    kExitUsage = 2,
};

// Runs one command line (without the program name); output to out, diagnostics to err.
int runCommandLine(const std::vector<std::string>& words, std::ostream& out, std::ostream& err);

} // namespace Korvatune
