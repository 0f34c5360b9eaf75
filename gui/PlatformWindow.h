#pragma once

// The window layer of the platform being built for; each offers the same open and idle.
#ifdef _WIN32
#include "gui/win32/Win32Window.h"
#else
#include "gui/x11/X11Window.h"
#endif

#include <cstdint>
#include <functional>
#include <memory>

namespace Korvatune::Gui {

#ifdef _WIN32
using PlatformWindow = Win32Window;

// The host's window handle is an HWND.
inline std::unique_ptr<PlatformWindow> openPlatformWindow(Frame& frame, void* hostWindow,
                                                          std::function<void()> idle) {
    return Win32Window::open(frame, static_cast<HWND__*>(hostWindow), std::move(idle));
}
#else
using PlatformWindow = X11Window;

// The host's window handle is an X window id; the host's idle calls are the only clock.
inline std::unique_ptr<PlatformWindow> openPlatformWindow(Frame& frame, void* hostWindow,
                                                          std::function<void()>) {
    return X11Window::open(frame, reinterpret_cast<std::uintptr_t>(hostWindow));
}
#endif

} // namespace Korvatune::Gui
