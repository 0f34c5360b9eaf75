#pragma once

namespace Korvatune::Platform {

// strtod in the "C" locale: files always use a decimal point, whatever locale the host process
// runs in. Reads the longest number at the start of the text; 0 when there is none.
double parseCNumberPrefix(const char* text);

} // namespace Korvatune::Platform
