#pragma once

#include "gui/Geometry.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

struct HWND__;
struct HDC__;
struct HBITMAP__;

namespace Korvatune::Gui {

class Frame;

// Shows a frame in a child window of a host's window. The frame's pixels are copied into a
// device-independent bitmap that painting blits to the screen; mouse buttons are captured while
// they are held, so a drag keeps reaching its view outside the window. A timer calls the owner's
// idle regularly, because some hosts rarely do. While the frame wants the keyboard the window
// takes the focus, and gives it back to the window that had it afterwards. Destroying the object
// destroys the window, its timer, its window class and every GDI object it made.
class Win32Window {
public:
    // Null when there is no parent or the window cannot be made. The frame must outlive this;
    // onTimer is called on the window's thread, typically with the owner's idle.
    static std::unique_ptr<Win32Window> open(Frame& frame, HWND__* parent,
                                             std::function<void()> onTimer);
    ~Win32Window();
    Win32Window(const Win32Window&) = delete;
    Win32Window& operator=(const Win32Window&) = delete;

    HWND__* windowHandle() const { return window_; }
    // The window as plug-in formats pass windows around.
    std::uintptr_t nativeHandle() const { return reinterpret_cast<std::uintptr_t>(window_); }
    // The GDI objects behind the window's picture, so that their release can be checked.
    HDC__* bitmapContext() const { return bitmapDc_; }
    HBITMAP__* bitmapHandle() const { return bitmap_; }
    // Copies what the frame redrew to the bitmap and paints the window at once.
    void idle();
    // Shows another frame from now on, the window and its bitmap taking the frame's size.
    void showFrame(Frame& frame);

    // Used by the window procedure.
    std::intptr_t handleMessage(unsigned int message, std::uintptr_t wParam, std::intptr_t lParam);

private:
    Win32Window(Frame& frame, std::function<void()> onTimer);

    bool create(HWND__* parent);
    bool createBitmap();
    void copyToBitmap(const Rect& area);
    void paint();
    void mouseMessage(unsigned int message, std::uintptr_t wParam, std::intptr_t lParam);
    void wheel(std::uintptr_t wParam, std::intptr_t lParam);
    void hover(std::uintptr_t wParam, std::intptr_t lParam);
    bool keyDown(std::uintptr_t virtualKey);
    void character(std::uintptr_t codeUnit);
    void updateKeyboardFocus();

    Frame* frame_;
    std::function<void()> onTimer_;
    std::wstring className_;
    HWND__* window_ = nullptr;
    HDC__* bitmapDc_ = nullptr;
    HBITMAP__* bitmap_ = nullptr;
    void* previousBitmap_ = nullptr;
    void* bits_ = nullptr;
    Rect bitmapSize_;
    int buttonsHeld_ = 0;
    bool inTimer_ = false;
    // Wheel turns smaller than a notch, as precise wheels send them, add up.
    int wheelRemainder_ = 0;
    bool trackingLeave_ = false;
    char16_t highSurrogate_ = 0;
    // The window that had the keyboard before the frame wanted it, to give it back.
    bool holdsKeyboard_ = false;
    HWND__* previousFocus_ = nullptr;
};

} // namespace Korvatune::Gui
