#include "host/cli/StandardError.h"

#include <unistd.h>

namespace Korvatune {

bool standardErrorIsTerminal() {
    return isatty(STDERR_FILENO) != 0;
}

} // namespace Korvatune
