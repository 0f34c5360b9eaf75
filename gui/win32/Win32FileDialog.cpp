#include "gui/win32/Win32FileDialog.h"

#include "gui/SystemFileDialog.h"
#include "platform/win32/WideText.h"

#include <windows.h>

#include <commdlg.h>

#include <vector>

namespace Korvatune::Gui {

namespace {

// Long enough for the deepest paths the wide functions accept.
constexpr DWORD kPathCapacity = 32768;

} // namespace

std::unique_ptr<IFileSelector> createSystemFileDialog() {
    return std::make_unique<Win32FileDialog>();
}

std::wstring Win32FileDialog::filterFor(const FileSelectRequest& request) {
    std::wstring filter;
    for (const FileType& type : request.fileTypes) {
        const std::wstring pattern = L"*." + Platform::wideFromUtf8(type.extension);
        filter += Platform::wideFromUtf8(type.name) + L" (" + pattern + L")";
        filter += L'\0';
        filter += pattern;
        filter += L'\0';
    }
    filter += L'\0';
    return filter;
}

void Win32FileDialog::select(const FileSelectRequest& request, FileSelectAnswer answer) {
    const std::wstring filter = filterFor(request);
    const std::wstring title = Platform::wideFromUtf8(request.title);
    const std::wstring initialFolder = request.initialPath.wstring();
    const std::wstring defaultExtension =
        request.fileTypes.empty() ? std::wstring()
                                  : Platform::wideFromUtf8(request.fileTypes.front().extension);
    std::vector<wchar_t> chosen(kPathCapacity, L'\0');

    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = GetActiveWindow();
    dialog.lpstrFilter = filter.c_str();
    dialog.nFilterIndex = 1;
    dialog.lpstrFile = chosen.data();
    dialog.nMaxFile = kPathCapacity;
    dialog.lpstrTitle = title.c_str();
    dialog.lpstrInitialDir = initialFolder.empty() ? nullptr : initialFolder.c_str();
    dialog.lpstrDefExt = defaultExtension.empty() ? nullptr : defaultExtension.c_str();
    dialog.Flags = OFN_NOCHANGEDIR | OFN_EXPLORER;

    bool accepted = false;
    if (request.command == FileSelectCommand::Save) {
        dialog.Flags |= OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST;
        accepted = GetSaveFileNameW(&dialog) != 0;
    } else {
        dialog.Flags |= OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST;
        accepted = GetOpenFileNameW(&dialog) != 0;
    }
    if (!answer) {
        return;
    }
    if (accepted && chosen[0] != L'\0') {
        answer(std::filesystem::path(std::wstring(chosen.data())));
    } else {
        answer(std::nullopt);
    }
}

} // namespace Korvatune::Gui
