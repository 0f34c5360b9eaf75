#include "platform/AtomicFile.h"

#include <atomic>
#include <cstdio>
#include <string>
#include <windows.h>

namespace Korvatune::Platform {

namespace {

// Unique among the instances of every process writing beside the file.
std::wstring temporaryName(const std::filesystem::path& path) {
    static std::atomic<unsigned> counter{0};
    return path.wstring() + L"." + std::to_wstring(GetCurrentProcessId()) + L"-" +
           std::to_wstring(counter.fetch_add(1)) + L".tmp";
}

bool writeAll(const std::wstring& name, std::string_view contents) {
    std::FILE* file = _wfopen(name.c_str(), L"wb");
    if (file == nullptr) {
        return false;
    }
    const bool written = std::fwrite(contents.data(), 1, contents.size(), file) == contents.size();
    const bool flushed = std::fflush(file) == 0;
    return std::fclose(file) == 0 && written && flushed;
}

} // namespace

bool writeFileAtomically(const std::filesystem::path& path, std::string_view contents) {
    std::error_code error;
    std::filesystem::create_directories(path.parent_path(), error);
    const std::wstring temporary = temporaryName(path);
    if (writeAll(temporary, contents) &&
        MoveFileExW(temporary.c_str(), path.wstring().c_str(),
                    MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0) {
        return true;
    }
    DeleteFileW(temporary.c_str());
    return false;
}

} // namespace Korvatune::Platform
