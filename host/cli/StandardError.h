#pragma once

namespace Korvatune {

// Whether the process's standard error is a terminal, where a progress line may be rewritten.
bool standardErrorIsTerminal();

} // namespace Korvatune
