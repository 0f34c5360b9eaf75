#include "platform/CNumbers.h"

#include <cstdlib>
#include <locale.h>

namespace Korvatune::Platform {

double parseCNumberPrefix(const char* text) {
    static const _locale_t cLocale = _create_locale(LC_ALL, "C");
    return cLocale != nullptr ? _strtod_l(text, nullptr, cLocale) : std::strtod(text, nullptr);
}

} // namespace Korvatune::Platform
