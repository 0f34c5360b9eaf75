#pragma once

#include <X11/Xlib.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

namespace Korvatune::testing {

inline int openFileCount() {
    const std::filesystem::directory_iterator entries("/proc/self/fd");
    return static_cast<int>(std::distance(begin(entries), end(entries)));
}

// The test host's own connection, or null with the reason the test has to skip. A server that
// resets when its last client leaves refuses connections for a moment, hence the retries.
inline Display* openHostDisplay(std::string& skipReason) {
    if (std::getenv("DISPLAY") == nullptr) {
        skipReason = "no X display";
        return nullptr;
    }
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(3);
    Display* display = XOpenDisplay(nullptr);
    while (display == nullptr && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        display = XOpenDisplay(nullptr);
    }
    if (display == nullptr) {
        skipReason = "X display cannot be opened";
    } else if (DefaultDepth(display, DefaultScreen(display)) < 24) {
        skipReason = "display is not true colour";
        XCloseDisplay(display);
        display = nullptr;
    }
    return display;
}

// A mapped top-level window playing the host's window that holds the editor.
inline Window createParentWindow(Display* display, unsigned width, unsigned height) {
    const Window parent =
        XCreateSimpleWindow(display, DefaultRootWindow(display), 0, 0, width, height, 0, 0, 0);
    XMapWindow(display, parent);
    XSync(display, False);
    return parent;
}

// The windows a host's window holds, once the server has done all that was asked of it.
inline std::vector<Window> childWindows(Display* display, Window parent) {
    XSync(display, False);
    Window root = 0;
    Window parentOfParent = 0;
    Window* children = nullptr;
    unsigned int count = 0;
    XQueryTree(display, parent, &root, &parentOfParent, &children, &count);
    std::vector<Window> windows(children, children + count);
    if (children != nullptr) {
        XFree(children);
    }
    return windows;
}

// A press or release of the left button, or a motion with it held, at a point of a window.
inline void sendPointer(Display* display, Window target, int type, int x, int y) {
    XEvent event{};
    event.type = type;
    event.xany.display = display;
    event.xany.window = target;
    long mask = ButtonMotionMask;
    if (type == MotionNotify) {
        event.xmotion.x = x;
        event.xmotion.y = y;
        event.xmotion.state = Button1Mask;
        event.xmotion.same_screen = True;
    } else {
        event.xbutton.x = x;
        event.xbutton.y = y;
        event.xbutton.button = Button1;
        event.xbutton.same_screen = True;
        mask = type == ButtonPress ? ButtonPressMask : ButtonReleaseMask;
    }
    XSendEvent(display, target, False, mask, &event);
    XSync(display, False);
}

} // namespace Korvatune::testing
