#include "plugin/vst3/Vst3Base.h"

#include <cstring>

namespace Korvatune::Vst3 {

bool sameUid(const char* given, const Uid& uid) {
    return given != nullptr && std::memcmp(given, uid.data(), uid.size()) == 0;
}

} // namespace Korvatune::Vst3
