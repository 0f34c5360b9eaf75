#pragma once

#include <lv2/core/lv2.h>

#include <cstring>

namespace Korvatune::Lv2 {

// The data of the feature a host offers under a URI, or null when it offers none.
inline void* featureData(const LV2_Feature* const* features, const char* uri) {
    for (; features != nullptr && *features != nullptr; ++features) {
        if (std::strcmp((*features)->URI, uri) == 0) {
            return (*features)->data;
        }
    }
    return nullptr;
}

} // namespace Korvatune::Lv2
