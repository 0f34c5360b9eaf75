#pragma once

#include <windows.h>

namespace Korvatune::testing {

inline void pumpMessages() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

// A host's top-level window of the editor's design size, in a window class of its own.
class HostWindow {
public:
    HostWindow() {
        WNDCLASSEXW windowClass{};
        windowClass.cbSize = sizeof windowClass;
        windowClass.lpfnWndProc = DefWindowProcW;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.lpszClassName = kClassName;
        RegisterClassExW(&windowClass);
        handle_ = CreateWindowExW(0, kClassName, L"host", WS_POPUP | WS_VISIBLE, 0, 0, 800, 465,
                                  nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
        pumpMessages();
    }
    ~HostWindow() {
        DestroyWindow(handle_);
        pumpMessages();
        UnregisterClassW(kClassName, GetModuleHandleW(nullptr));
    }
    HostWindow(const HostWindow&) = delete;
    HostWindow& operator=(const HostWindow&) = delete;

    HWND handle() const { return handle_; }

private:
    static constexpr const wchar_t* kClassName = L"OmbrafellTestHost";
    HWND handle_ = nullptr;
};

} // namespace Korvatune::testing
