#pragma once

#include <cstdlib>

namespace Korvatune::testing {

// The binaries these tests load: the ones this build made, or, when the package check names
// them, the ones a package carries.
inline const char* givenOrBuilt(const char* variable, const char* built) {
    const char* given = std::getenv(variable);
    return given != nullptr && *given != '\0' ? given : built;
}

inline const char* lv2BundleUnderTest() {
    return givenOrBuilt("OMBRAFELL_TEST_LV2_BUNDLE", OMBRAFELL_LV2_BUNDLE);
}

inline const char* vst2ModuleUnderTest() {
    return givenOrBuilt("OMBRAFELL_TEST_VST2_MODULE", OMBRAFELL_MODULE_PATH);
}

} // namespace Korvatune::testing
