#include "platform/TextPaths.h"
#include "platform/win32/WideText.h"

#include <cstdlib>
#include <windows.h>

namespace Korvatune::Platform {

std::FILE* openFile(const char* utf8Path, const char* mode) {
    if (utf8Path == nullptr || mode == nullptr) {
        return nullptr;
    }
    return _wfopen(wideFromUtf8(utf8Path).c_str(), wideFromUtf8(mode).c_str());
}

std::optional<std::string> environmentVariable(const char* name) {
    const wchar_t* value = _wgetenv(wideFromUtf8(name).c_str());
    if (value == nullptr) {
        return std::nullopt;
    }
    return utf8FromWide(value);
}

std::string hostTextToUtf8(const char* text) {
    if (text == nullptr || text[0] == '\0') {
        return std::string();
    }
    const int length = MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0);
    if (length <= 0) {
        return std::string();
    }
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text, -1, wide.data(), length);
    wide.resize(static_cast<std::size_t>(length - 1));
    return utf8FromWide(wide);
}

} // namespace Korvatune::Platform
