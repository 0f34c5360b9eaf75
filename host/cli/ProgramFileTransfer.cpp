#include "host/cli/ProgramFileTransfer.h"

#include "host/cli/Arguments.h"
#include "plugin/vst2/UniqueId.h"
#include "programs/ProgramFile.h"
#include "programs/VstXSynthProgram.h"

#include <array>
#include <cerrno>
#include <cstring>

namespace Korvatune {

namespace {

// Program files name this instrument's keys; another module's parameters mean other things.
void requireThisInstrument(PluginHost& host) {
    if (host.effect().uniqueID != kUniqueId || host.numParameters() != kNumProgramKeys) {
        throw UsageError("program files work only with the Ombrafell instrument, not with "
                         "another module");
    }
}

// The C library's reason for the last failed file operation.
std::string failureReason() {
    return errno != 0 ? std::strerror(errno) : "input/output error";
}

void readCurrentProgram(PluginHost& host, VstXSynthProgram& record) {
    for (int i = 0; i < kNumProgramKeys; ++i) {
        record.setRawValue(i, host.getParameter(i));
    }
    std::array<char, 256> name{};
    host.dispatch(effGetProgramName, 0, 0, name.data());
    name.back() = '\0';
    record.setName(name.data());
}

void applyToCurrentProgram(PluginHost& host, const VstXSynthProgram& record) {
    for (int i = 0; i < kNumProgramKeys; ++i) {
        host.setParameter(i, record.getValue(i));
    }
    std::string name = record.getName();
    host.dispatch(effSetProgramName, 0, 0, name.data());
}

} // namespace

void loadProgramFile(PluginHost& host, const std::string& path) {
    requireThisInstrument(host);
    VstXSynthProgram record;
    readCurrentProgram(host, record);
    errno = 0;
    if (!readProgramFile(record, path.c_str())) {
        throw UsageError("cannot read preset " + path + ": " + failureReason());
    }
    applyToCurrentProgram(host, record);
    host.selectProgram(host.currentProgram());
}

void saveProgramFile(PluginHost& host, const std::string& path) {
    requireThisInstrument(host);
    VstXSynthProgram record;
    readCurrentProgram(host, record);
    errno = 0;
    if (!writeProgramFile(path.c_str(), record)) {
        throw UsageError("cannot write " + path + ": " + failureReason());
    }
}

} // namespace Korvatune
