#include "gui/DisplayScale.h"

#include <windows.h>

namespace Korvatune::Gui {

namespace {

constexpr double kBaseDpi = 96.0;

template <class Function> Function systemFunction(HMODULE module, const char* name) {
    if (module == nullptr) {
        return nullptr;
    }
    return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(GetProcAddress(module, name)));
}

// Windows 10 1607 and later: the window's own DPI, 96 where the host lets Windows enlarge it.
UINT windowDpi(HWND window) {
    using GetDpiForWindow = UINT(WINAPI*)(HWND);
    const auto getDpi =
        systemFunction<GetDpiForWindow>(GetModuleHandleW(L"user32.dll"), "GetDpiForWindow");
    return getDpi != nullptr ? getDpi(window) : 0;
}

// Windows 8.1 and later: the DPI of the monitor showing the window, as the host sees it.
UINT monitorDpi(HWND window) {
    HMODULE shcore = LoadLibraryW(L"shcore.dll");
    using GetDpiForMonitor = HRESULT(WINAPI*)(HMONITOR, int, UINT*, UINT*);
    const auto getDpi = systemFunction<GetDpiForMonitor>(shcore, "GetDpiForMonitor");
    UINT x = 0;
    UINT y = 0;
    constexpr int kEffectiveDpi = 0;
    if (getDpi == nullptr || getDpi(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST),
                                    kEffectiveDpi, &x, &y) != S_OK) {
        x = 0;
    }
    if (shcore != nullptr) {
        FreeLibrary(shcore);
    }
    return x;
}

UINT screenDpi() {
    HDC screen = GetDC(nullptr);
    const int dpi = screen != nullptr ? GetDeviceCaps(screen, LOGPIXELSX) : 0;
    if (screen != nullptr) {
        ReleaseDC(nullptr, screen);
    }
    return dpi > 0 ? static_cast<UINT>(dpi) : 0;
}

} // namespace

// Looked up at run time, so that the module still loads on Windows that lack the newer calls.
std::optional<double> systemDisplayScalePercent(void* hostWindow) {
    HWND window = static_cast<HWND>(hostWindow);
    UINT dpi = 0;
    if (window != nullptr && IsWindow(window)) {
        dpi = windowDpi(window);
        if (dpi == 0) {
            dpi = monitorDpi(window);
        }
    }
    if (dpi == 0) {
        dpi = screenDpi();
    }
    return dpi > 0 ? std::optional(dpi / kBaseDpi * 100.0) : std::nullopt;
}

} // namespace Korvatune::Gui
