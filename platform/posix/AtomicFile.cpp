#include "platform/AtomicFile.h"

#include <cstdio>
#include <fcntl.h>
#include <string>
#include <unistd.h>

namespace Korvatune::Platform {

namespace {

bool writeAll(int file, std::string_view contents) {
    while (!contents.empty()) {
        const ssize_t written = ::write(file, contents.data(), contents.size());
        if (written <= 0) {
            return false;
        }
        contents.remove_prefix(static_cast<std::size_t>(written));
    }
    return ::fsync(file) == 0;
}

} // namespace

bool writeFileAtomically(const std::filesystem::path& path, std::string_view contents) {
    std::error_code error;
    std::filesystem::create_directories(path.parent_path(), error);
    std::string temporary = path.string() + ".XXXXXX";
    const int file = ::mkstemp(temporary.data());
    if (file < 0) {
        return false;
    }
    const bool written = writeAll(file, contents);
    const bool closed = ::close(file) == 0;
    if (written && closed && std::rename(temporary.c_str(), path.c_str()) == 0) {
        return true;
    }
    ::unlink(temporary.c_str());
    return false;
}

} // namespace Korvatune::Platform
