#pragma once

#include "gui/Geometry.h"

#include <cstdint>
#include <memory>
#include <vector>

struct _XDisplay;
struct _XGC;
union _XEvent;

namespace Korvatune::Gui {

class Frame;

// Shows a frame in a child window of a host's window, on a display connection of its own so
// it neither shares nor disturbs the host's. Everything happens in idle(): pending expose and
// mouse events go to the frame, then what it redrew is copied to the screen. Destroying the
// object destroys the window and closes the connection. While the frame wants the keyboard the
// window takes the input focus, and gives it back to the window that had it afterwards.
class X11Window {
public:
    // Null when the display cannot be opened, its default visual is not true colour, or there
    // is no parent. The parent must be a window of that display; the frame must outlive this.
    static std::unique_ptr<X11Window> open(Frame& frame, unsigned long parentWindow,
                                           const char* displayName = nullptr);
    ~X11Window();
    X11Window(const X11Window&) = delete;
    X11Window& operator=(const X11Window&) = delete;

    unsigned long windowId() const { return window_; }
    // The window as plug-in formats pass windows around.
    std::uintptr_t nativeHandle() const { return window_; }
    void idle();
    // Shows another frame from now on, the window taking its size; not from inside idle().
    void showFrame(Frame& frame);

private:
    X11Window(Frame& frame, _XDisplay* display);

    bool createWindow(unsigned long parentWindow);
    void dispatchPendingEvents(std::vector<Rect>& exposed);
    void dispatch(const _XEvent& event);
    void dispatchKey(_XEvent& event);
    void passKeyToHost(_XEvent& event);
    void updateKeyboardFocus();
    void show(const Rect& area);
    std::uint32_t toPixel(std::uint8_t red, std::uint8_t green, std::uint8_t blue) const;

    Frame* frame_;
    _XDisplay* display_;
    int depth_ = 0;
    unsigned long window_ = 0;
    unsigned long parent_ = 0;
    _XGC* gc_ = nullptr;
    unsigned long redMask_ = 0;
    unsigned long greenMask_ = 0;
    unsigned long blueMask_ = 0;
    std::vector<std::uint32_t> scratch_;
    // The window that had the keyboard before the frame wanted it, to give it back.
    bool holdsKeyboard_ = false;
    unsigned long previousFocus_ = 0;
};

} // namespace Korvatune::Gui
