#pragma once

#include "plugin/vst2/VstAbi.h"

#include <utility>
#include <vector>

namespace Korvatune::testing {

// What a host that can resize the editor's window is asked; whether it makes room is up to the
// test.
struct ResizeLog {
    bool accept = true;
    std::vector<std::pair<int, int>> requests;
};

inline ResizeLog& resizeLog() {
    static ResizeLog log;
    return log;
}

inline VstIntPtr VSTCALLBACK resizingHost(AEffect*, std::int32_t opcode, std::int32_t index,
                                          VstIntPtr value, void*, float) {
    switch (opcode) {
    case audioMasterVersion:
        return 2400;
    case audioMasterSizeWindow:
        resizeLog().requests.emplace_back(index, static_cast<int>(value));
        return resizeLog().accept ? 1 : 0;
    default:
        return 0;
    }
}

} // namespace Korvatune::testing
