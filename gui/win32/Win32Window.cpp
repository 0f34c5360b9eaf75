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

Modifiers modifiersOf(WPARAM keyState) {
    return {(keyState & MK_SHIFT) != 0, (keyState & MK_CONTROL) != 0};
}

Modifiers heldModifiers() {
    return {GetKeyState(VK_SHIFT) < 0, GetKeyState(VK_CONTROL) < 0};
}

MouseEvent mouseEventOf(Point where, MouseButton button, WPARAM keyState) {
    return {where, button, modifiersOf(keyState), 1, static_cast<std::uint32_t>(GetMessageTime())};
}

std::optional<Key> specialKeyOf(WPARAM virtualKey) {
    switch (virtualKey) {
    case VK_RETURN:
        return Key::Enter;
    case VK_ESCAPE:
        return Key::Escape;
    case VK_BACK:
        return Key::Backspace;
    case VK_DELETE:
        return Key::Delete;
    case VK_LEFT:
        return Key::Left;
    case VK_RIGHT:
        return Key::Right;
    case VK_HOME:
        return Key::Home;
    case VK_END:
        return Key::End;
    default:
        return std::nullopt;
    }
}

bool isHighSurrogate(WPARAM unit) {
    return unit >= 0xD800 && unit <= 0xDBFF;
}

bool isLowSurrogate(WPARAM unit) {
    return unit >= 0xDC00 && unit <= 0xDFFF;
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
    updateKeyboardFocus();
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
    case WM_LBUTTONUP:
    case WM_MBUTTONUP:
    case WM_RBUTTONUP:
        mouseMessage(message, wParam, lParam);
        idle();
        return 0;
    case WM_CAPTURECHANGED:
        buttonsHeld_ = 0;
        return 0;
    case WM_MOUSEMOVE:
        hover(wParam, lParam);
        idle();
        return 0;
    case WM_MOUSELEAVE:
        trackingLeave_ = false;
        frame_->handlePointerLeft();
        idle();
        return 0;
    case WM_MOUSEWHEEL:
        wheel(wParam, lParam);
        idle();
        return 0;
    case WM_KEYDOWN:
        if (keyDown(wParam)) {
            idle();
            return 0;
        }
        break;
    case WM_CHAR:
        character(wParam);
        idle();
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
        break;
    }
    return DefWindowProcW(window_, message, static_cast<WPARAM>(wParam),
                          static_cast<LPARAM>(lParam));
}

void Win32Window::mouseMessage(unsigned int message, std::uintptr_t wParam, std::intptr_t lParam) {
    const MouseEvent event = mouseEventOf(pointOf(lParam), *buttonOf(message), wParam);
    const bool press =
        message == WM_LBUTTONDOWN || message == WM_MBUTTONDOWN || message == WM_RBUTTONDOWN;
    if (press) {
        if (buttonsHeld_++ == 0) {
            SetCapture(window_);
        }
        frame_->handleMouseDown(event);
        return;
    }
    if (buttonsHeld_ > 0 && --buttonsHeld_ == 0) {
        ReleaseCapture();
    }
    frame_->handleMouseUp(event);
}

// The wheel message gives the pointer in screen coordinates.
void Win32Window::wheel(std::uintptr_t wParam, std::intptr_t lParam) {
    wheelRemainder_ += GET_WHEEL_DELTA_WPARAM(wParam);
    const int notches = wheelRemainder_ / WHEEL_DELTA;
    wheelRemainder_ %= WHEEL_DELTA;
    if (notches == 0) {
        return;
    }
    POINT where{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    ScreenToClient(window_, &where);
    frame_->handleMouseWheel(
        mouseEventOf({where.x, where.y}, MouseButton::Middle, GET_KEYSTATE_WPARAM(wParam)),
        notches);
}

void Win32Window::hover(std::uintptr_t wParam, std::intptr_t lParam) {
    if (!trackingLeave_) {
        TRACKMOUSEEVENT track{};
        track.cbSize = sizeof track;
        track.dwFlags = TME_LEAVE;
        track.hwndTrack = window_;
        trackingLeave_ = TrackMouseEvent(&track) != FALSE;
    }
    frame_->handleMouseMove(mouseEventOf(pointOf(lParam), MouseButton::Left, wParam));
}

// Characters come with WM_CHAR; here only the keys that make none, and Control with a letter,
// whose WM_CHAR is a control code. Control with Alt is AltGr, which types characters.
bool Win32Window::keyDown(std::uintptr_t virtualKey) {
    const Modifiers modifiers = heldModifiers();
    if (const auto special = specialKeyOf(virtualKey)) {
        return frame_->handleKey({*special, 0, modifiers});
    }
    const bool letter = virtualKey >= 'A' && virtualKey <= 'Z';
    if (!letter || !modifiers.control || GetKeyState(VK_MENU) < 0) {
        return false;
    }
    const char32_t base = modifiers.shift ? U'A' : U'a';
    return frame_->handleKey(
        {Key::Character, static_cast<char32_t>(base + (virtualKey - 'A')), modifiers});
}

void Win32Window::character(std::uintptr_t codeUnit) {
    if (isHighSurrogate(codeUnit)) {
        highSurrogate_ = static_cast<char16_t>(codeUnit);
        return;
    }
    char32_t character = static_cast<char32_t>(codeUnit);
    if (isLowSurrogate(codeUnit)) {
        if (highSurrogate_ == 0) {
            return;
        }
        character = 0x10000 + ((static_cast<char32_t>(highSurrogate_) - 0xD800) << 10) +
                    (character - 0xDC00);
    }
    highSurrogate_ = 0;
    // Enter, Escape, Backspace and Control with a letter came as WM_KEYDOWN already.
    if (character < 0x20 || character == 0x7F) {
        return;
    }
    Modifiers modifiers = heldModifiers();
    // With AltGr Control is reported held, yet the character is plain typing.
    modifiers.control = modifiers.control && GetKeyState(VK_MENU) >= 0;
    frame_->handleKey({Key::Character, character, modifiers});
}

void Win32Window::updateKeyboardFocus() {
    const bool wanted = frame_->wantsKeyboard();
    if (wanted == holdsKeyboard_) {
        return;
    }
    holdsKeyboard_ = wanted;
    if (wanted) {
        previousFocus_ = GetFocus();
        SetFocus(window_);
    } else if (previousFocus_ != nullptr && IsWindow(previousFocus_)) {
        SetFocus(previousFocus_);
    }
}

} // namespace Korvatune::Gui
