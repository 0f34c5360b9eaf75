#pragma once

#include "host/cli/Commands.h"

#include <sstream>
#include <string>
#include <vector>

namespace Korvatune::testing {

struct CommandResult {
    int status;
    std::string out;
    std::string err;
};

// Runs one `ombrafell` command line in process, capturing both streams.
inline CommandResult runCommand(const std::vector<std::string>& words) {
    std::ostringstream out, err;
    const int status = runCommandLine(words, out, err);
    return {status, out.str(), err.str()};
}

inline std::vector<std::string> linesOf(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream stream(text);
    for (std::string line; std::getline(stream, line);) {
        lines.push_back(line);
    }
    return lines;
}

} // namespace Korvatune::testing
