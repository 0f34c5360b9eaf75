#include "gui/win32/Win32Window.h"

#include "gui/Frame.h"

#include <windows.h>
#include <windowsx.h>

#include <cstdio>
#include <optional>

namespace Korvatune::Gui {

namespace {

constexpr UINT_PTR kIdleTimer = 1;
constexpr UINT kIdleMilliseconds = 30;

// The module this code lives in, so its window classes go away with it.
HINSTANCE thisModule() {
    HMODULE module = nullptr;
    GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS |
                           GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCWSTR>(&thisModule), &module);
    return module;
}

LRESULT CALLBACK windowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        SetWindowLongPtrW(window, GWLP_USERDATA,
                          reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* owner = reinterpret_cast<Win32Window*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (owner == nullptr || owner->windowHandle() != window) {
        return DefWindowProcW(window, message, wParam, lParam);
    }
    return owner->handleMessage(message, wParam, lParam);
}

std::optional<MouseButton> buttonOf(UINT message) {
    switch (message) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
        return MouseButton::Left;
    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP:
        return MouseButton::Middle;
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
        return MouseButton::Right;
    default:
        return std::nullopt;
    }
}

Point pointOf(LPARAM lParam) {
    return {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
}

} // namespace

std::unique_ptr<Win32Window> Win32Window::open(Frame& frame, HWND__* parent,
                                               std::function<void()> onTimer) {
    if (parent == nullptr || !IsWindow(parent)) {
        return nullptr;
    }
    std::unique_ptr<Win32Window> window(new Win32Window(frame, std::move(onTimer)));
    if (!window->create(parent)) {
        return nullptr;
    }
    return window;
}

Win32Window::Win32Window(Frame& frame, std::function<void()> onTimer)
    : frame_(&frame), onTimer_(std::move(onTimer)) {}

Win32Window::~Win32Window() {
    if (window_ != nullptr) {
        KillTimer(window_, kIdleTimer);
        HWND window = window_;
        window_ = nullptr;
        DestroyWindow(window);
    }
    if (bitmapDc_ != nullptr) {
        SelectObject(bitmapDc_, static_cast<HGDIOBJ>(previousBitmap_));
        DeleteDC(bitmapDc_);
    }
    if (bitmap_ != nullptr) {
        DeleteObject(bitmap_);
    }
    if (!className_.empty()) {
        UnregisterClassW(className_.c_str(), thisModule());
    }
}

// The frame's picture as the window shows it: a bitmap of the frame's size, selected into a
// memory context that painting copies from. On failure the old bitmap stays.
bool Win32Window::createBitmap() {
    const Rect area = frame_->rect();
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = area.width();
    info.bmiHeader.biHeight = -area.height(); // rows from the top, as in the frame buffer
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (bitmap == nullptr) {
        return false;
    }
    const HGDIOBJ replaced = SelectObject(bitmapDc_, bitmap);
    if (bitmap_ != nullptr) {
        DeleteObject(bitmap_);
    } else {
        previousBitmap_ = replaced;
    }
    bitmap_ = bitmap;
    bits_ = bits;
    bitmapSize_ = Rect::fromSize({}, area.width(), area.height());
    copyToBitmap(area);
    return true;
}

void Win32Window::showFrame(Frame& frame) {
    frame_ = &frame;
    createBitmap();
    const Rect area = frame.rect();
    SetWindowPos(window_, nullptr, 0, 0, area.width(), area.height(),
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    InvalidateRect(window_, nullptr, FALSE);
}

bool Win32Window::create(HWND__* parent) {
    bitmapDc_ = CreateCompatibleDC(nullptr);
    if (bitmapDc_ == nullptr || !createBitmap()) {
        return false;
    }
    const Rect area = frame_->rect();

    // A class per window: several instances, and several copies of the module, never share one.
    wchar_t name[64];
    std::swprintf(name, 64, L"OmbrafellEditor%p", static_cast<void*>(this));
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = windowProcedure;
    windowClass.hInstance = thisModule();
    windowClass.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    windowClass.lpszClassName = name;
    if (RegisterClassExW(&windowClass) == 0) {
        return false;
    }
    className_ = name;
    window_ = CreateWindowExW(0, name, L"", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, 0, 0,
                              area.width(), area.height(), parent, nullptr, thisModule(), this);
    if (window_ == nullptr) {
        return false;
    }
    SetTimer(window_, kIdleTimer, kIdleMilliseconds, nullptr);
    return true;
}

void Win32Window::idle() {
    for (const Rect& area : frame_->redrawDirty()) {
        copyToBitmap(area);
        const RECT dirty{area.left, area.top, area.right, area.bottom};
        InvalidateRect(window_, &dirty, FALSE);
    }
    UpdateWindow(window_);
}

void Win32Window::copyToBitmap(const Rect& requested) {
    const Bitmap& pixels = frame_->frameBuffer();
    const Rect area = requested.intersection(pixels.bounds()).intersection(bitmapSize_);
    auto* target = static_cast<std::uint32_t*>(bits_);
    for (int y = area.top; y < area.bottom; ++y) {
        for (int x = area.left; x < area.right; ++x) {
            const Color color = pixels.pixel(x, y);
            target[static_cast<std::size_t>(y) * static_cast<std::size_t>(bitmapSize_.width()) +
                   static_cast<std::size_t>(x)] =
                (std::uint32_t{color.red} << 16) | (std::uint32_t{color.green} << 8) | color.blue;
        }
    }
    GdiFlush();
}

void Win32Window::paint() {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window_, &paint);
    const RECT& area = paint.rcPaint;
    BitBlt(dc, area.left, area.top, area.right - area.left, area.bottom - area.top, bitmapDc_,
           area.left, area.top, SRCCOPY);
    EndPaint(window_, &paint);
}

std::intptr_t Win32Window::handleMessage(unsigned int message, std::uintptr_t wParam,
                                         std::intptr_t lParam) {
    switch (message) {
    case WM_PAINT:
        paint();
        return 0;
    case WM_ERASEBKGND:
        return 1;
    case WM_LBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_RBUTTONDOWN:
        if (buttonsHeld_++ == 0) {
            SetCapture(window_);
        }
        frame_->handleMouseDown({pointOf(lParam), *buttonOf(message)});
        idle();
        return 0;
    case WM_LBUTTONUP:
    case WM_MBUTTONUP:
    case WM_RBUTTONUP:
        if (buttonsHeld_ > 0 && --buttonsHeld_ == 0) {
            ReleaseCapture();
        }
        frame_->handleMouseUp({pointOf(lParam), *buttonOf(message)});
        idle();
        return 0;
    case WM_CAPTURECHANGED:
        buttonsHeld_ = 0;
        return 0;
    case WM_MOUSEMOVE:
        if (buttonsHeld_ > 0) {
            frame_->handleMouseMove({pointOf(lParam)});
            idle();
        }
        return 0;
    case WM_TIMER:
        // A modal dialog opened from idle pumps timer messages; they must not nest.
        if (wParam == kIdleTimer && !inTimer_) {
            inTimer_ = true;
            if (onTimer_) {
                onTimer_();
            } else {
                idle();
            }
            inTimer_ = false;
        }
        return 0;
    default:
        return DefWindowProcW(window_, message, static_cast<WPARAM>(wParam),
                              static_cast<LPARAM>(lParam));
    }
}

} // namespace Korvatune::Gui
