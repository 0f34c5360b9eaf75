#include "gui/x11/X11Window.h"

#include "gui/Frame.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <bit>
#include <optional>

namespace Korvatune::Gui {

namespace {

constexpr long kEventMask = ExposureMask | ButtonPressMask | ButtonReleaseMask | ButtonMotionMask;

// Scales an 8-bit component into the bits of a visual's colour mask.
std::uint32_t placeComponent(std::uint8_t component, unsigned long mask) {
    if (mask == 0) {
        return 0;
    }
    const int shift = std::countr_zero(mask);
    const int bits = std::popcount(mask);
    const std::uint32_t scaled = bits >= 8 ? component << (bits - 8) : component >> (8 - bits);
    return static_cast<std::uint32_t>((static_cast<unsigned long>(scaled) << shift) & mask);
}

std::optional<MouseButton> toMouseButton(unsigned int button) {
    switch (button) {
    case Button1:
        return MouseButton::Left;
    case Button2:
        return MouseButton::Middle;
    case Button3:
        return MouseButton::Right;
    default:
        return std::nullopt;
    }
}

} // namespace

std::unique_ptr<X11Window> X11Window::open(Frame& frame, unsigned long parentWindow,
                                           const char* displayName) {
    if (parentWindow == 0) {
        return nullptr;
    }
    Display* display = XOpenDisplay(displayName);
    if (display == nullptr) {
        return nullptr;
    }
    std::unique_ptr<X11Window> window(new X11Window(frame, display));
    if (!window->createWindow(parentWindow)) {
        return nullptr;
    }
    return window;
}

X11Window::X11Window(Frame& frame, _XDisplay* display) : frame_(&frame), display_(display) {}

X11Window::~X11Window() {
    if (gc_ != nullptr) {
        XFreeGC(display_, gc_);
    }
    if (window_ != 0) {
        XDestroyWindow(display_, window_);
    }
    XCloseDisplay(display_);
}

bool X11Window::createWindow(unsigned long parentWindow) {
    const int screen = DefaultScreen(display_);
    const Visual* visual = DefaultVisual(display_, screen);
    depth_ = DefaultDepth(display_, screen);
    if (visual->c_class != TrueColor || (depth_ != 24 && depth_ != 32)) {
        return false;
    }
    redMask_ = visual->red_mask;
    greenMask_ = visual->green_mask;
    blueMask_ = visual->blue_mask;
    const Rect area = frame_->rect();
    window_ =
        XCreateSimpleWindow(display_, parentWindow, 0, 0, static_cast<unsigned int>(area.width()),
                            static_cast<unsigned int>(area.height()), 0,
                            BlackPixel(display_, screen), BlackPixel(display_, screen));
    XSelectInput(display_, window_, kEventMask);
    gc_ = XCreateGC(display_, window_, 0, nullptr);
    XMapWindow(display_, window_);
    XSync(display_, False);
    return true;
}

void X11Window::idle() {
    std::vector<Rect> exposed;
    dispatchPendingEvents(exposed);
    for (const Rect& area : frame_->redrawDirty()) {
        show(area);
    }
    for (const Rect& area : exposed) {
        show(area);
    }
    // Waits until the server has drawn, so the window is up to date when idle() returns.
    XSync(display_, False);
}

void X11Window::showFrame(Frame& frame) {
    frame_ = &frame;
    const Rect area = frame.rect();
    XResizeWindow(display_, window_, static_cast<unsigned int>(area.width()),
                  static_cast<unsigned int>(area.height()));
}

void X11Window::dispatchPendingEvents(std::vector<Rect>& exposed) {
    while (XPending(display_) > 0) {
        XEvent event;
        XNextEvent(display_, &event);
        switch (event.type) {
        case Expose:
            exposed.push_back(Rect::fromSize({event.xexpose.x, event.xexpose.y},
                                             event.xexpose.width, event.xexpose.height));
            break;
        case ButtonPress:
            if (const auto button = toMouseButton(event.xbutton.button)) {
                frame_->handleMouseDown({{event.xbutton.x, event.xbutton.y}, *button});
            }
            break;
        case ButtonRelease:
            if (const auto button = toMouseButton(event.xbutton.button)) {
                frame_->handleMouseUp({{event.xbutton.x, event.xbutton.y}, *button});
            }
            break;
        case MotionNotify:
            frame_->handleMouseMove({{event.xmotion.x, event.xmotion.y}});
            break;
        default:
            break;
        }
    }
}

std::uint32_t X11Window::toPixel(std::uint8_t red, std::uint8_t green, std::uint8_t blue) const {
    return placeComponent(red, redMask_) | placeComponent(green, greenMask_) |
           placeComponent(blue, blueMask_);
}

void X11Window::show(const Rect& requested) {
    const Bitmap& pixels = frame_->frameBuffer();
    const Rect area = requested.intersection(pixels.bounds());
    if (area.isEmpty()) {
        return;
    }
    scratch_.clear();
    for (int y = area.top; y < area.bottom; ++y) {
        for (int x = area.left; x < area.right; ++x) {
            const Color color = pixels.pixel(x, y);
            scratch_.push_back(toPixel(color.red, color.green, color.blue));
        }
    }
    Visual* visual = DefaultVisual(display_, DefaultScreen(display_));
    XImage* image = XCreateImage(display_, visual, static_cast<unsigned int>(depth_), ZPixmap, 0,
                                 reinterpret_cast<char*>(scratch_.data()),
                                 static_cast<unsigned int>(area.width()),
                                 static_cast<unsigned int>(area.height()), 32, 0);
    if (image == nullptr) {
        return;
    }
    // The pixels were written as native 32-bit words; Xlib swaps them if the server differs.
    image->byte_order = std::endian::native == std::endian::little ? LSBFirst : MSBFirst;
    XPutImage(display_, window_, gc_, image, 0, 0, area.left, area.top,
              static_cast<unsigned int>(area.width()), static_cast<unsigned int>(area.height()));
    image->data = nullptr;
    XDestroyImage(image);
}

} // namespace Korvatune::Gui
