#include "platform/CNumbers.h"

#include <cstdlib>
#include <locale.h>

namespace Korvatune::Platform {

double parseCNumberPrefix(const char* text) {
    static const locale_t cLocale = newlocale(LC_ALL_MASK, "C", locale_t{});
    return cLocale != locale_t{} ? strtod_l(text, nullptr, cLocale) : std::strtod(text, nullptr);
}

} // namespace Korvatune::Platform
