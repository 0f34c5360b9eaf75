#include "programs/ProgramFile.h"

#include "platform/TextPaths.h"
#include "programs/VstXSynthProgram.h"

#include <cerrno>

namespace Korvatune {

bool writeProgramFile(const char* path, const VstXSynthProgram& program) {
    if (path == nullptr) {
        return false;
    }
    std::FILE* file = Platform::openFile(path, "w");
    if (file == nullptr) {
        return false;
    }
    const bool written = writeProgramStream(file, program);
    const bool closed = std::fclose(file) == 0;
    return written && closed;
}

bool readProgramFile(VstXSynthProgram& program, const char* path) {
    if (path == nullptr) {
        errno = EINVAL;
        return false;
    }
    std::FILE* file = Platform::openFile(path, "r");
    if (file == nullptr) {
        return false;
    }
    const bool read = readProgramStream(program, file);
    const int readError = errno;
    std::fclose(file);
    // Closing a stream that was only read cannot fail in a way the caller needs to hear about,
    // but it may overwrite the reason of the read error.
    errno = readError;
    return read;
}

} // namespace Korvatune
