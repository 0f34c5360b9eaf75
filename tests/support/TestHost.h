#pragma once

#include "plugin/vst2/VstAbi.h"

#include <cstring>
#include <string>

namespace Korvatune::testing {

// A host callback that records what the instrument asks; answers a configurable version.
struct HostLog {
    VstIntPtr version = 2400;
    int processEventsCalls = 0;
    void* lastEvents = nullptr;
    int directoryRequests = 0;
};

inline HostLog*& currentHostLog() {
    static thread_local HostLog* log = nullptr;
    return log;
}

inline VstIntPtr recordingHost(AEffect*, std::int32_t opcode, std::int32_t, VstIntPtr, void* ptr,
                               float) {
    HostLog* log = currentHostLog();
    if (!log) {
        return opcode == audioMasterVersion ? 2400 : 0;
    }
    switch (opcode) {
    case audioMasterVersion:
        return log->version;
    case audioMasterProcessEvents:
        ++log->processEventsCalls;
        log->lastEvents = ptr;
        return 1;
    case audioMasterGetDirectory:
        ++log->directoryRequests;
        return 0;
    default:
        return 0;
    }
}

inline VstIntPtr dispatch(AEffect* effect, std::int32_t opcode, std::int32_t index = 0,
                          VstIntPtr value = 0, void* ptr = nullptr, float opt = 0.0f) {
    return effect->dispatcher(effect, opcode, index, value, ptr, opt);
}

inline std::string textFrom(AEffect* effect, std::int32_t opcode, std::int32_t index = 0) {
    char text[256];
    std::memset(text, 'x', sizeof text);
    text[255] = '\0';
    dispatch(effect, opcode, index, 0, text);
    return text;
}

} // namespace Korvatune::testing
