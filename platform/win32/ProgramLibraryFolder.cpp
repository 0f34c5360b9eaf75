#include "platform/ProgramLibraryFolder.h"

#include <windows.h>

#include <knownfolders.h>
#include <shlobj.h>

namespace Korvatune::Platform {

// Documents may have been moved by the user (even to another drive), so only the shell knows
// where it is.
std::optional<std::filesystem::path> systemProgramLibraryFolder() {
    PWSTR documents = nullptr;
    const HRESULT result = SHGetKnownFolderPath(FOLDERID_Documents, 0, nullptr, &documents);
    std::optional<std::filesystem::path> folder;
    if (SUCCEEDED(result) && documents != nullptr && documents[0] != L'\0') {
        folder = std::filesystem::path(std::wstring(documents)) / L"Korvatune" / L"Ombrafell" /
                 L"Programs";
    }
    CoTaskMemFree(documents);
    return folder;
}

} // namespace Korvatune::Platform
