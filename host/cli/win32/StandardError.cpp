#include "host/cli/StandardError.h"

#include <cstdio>
#include <io.h>

namespace Korvatune {

bool standardErrorIsTerminal() {
    return _isatty(_fileno(stderr)) != 0;
}

} // namespace Korvatune
