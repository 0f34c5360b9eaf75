#include "gui/x11/X11Window.h"

#include "gui/Frame.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/keysym.h>

#include <bit>
#include <optional>

namespace Korvatune::Gui {

namespace {

constexpr long kEventMask = ExposureMask | ButtonPressMask | ButtonReleaseMask | ButtonMotionMask |
                            PointerMotionMask | LeaveWindowMask | KeyPressMask;

// Buttons 4 and 5 are the wheel turned up and down; 6 and 7, sideways, are not used.
constexpr unsigned int kWheelUp = 4;
constexpr unsigned int kWheelDown = 5;

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

Modifiers modifiersOf(unsigned int state) {
    return {(state & ShiftMask) != 0, (state & ControlMask) != 0};
}

MouseEvent mouseEventOf(int x, int y, MouseButton button, unsigned int state, Time time) {
    return {{x, y}, button, modifiersOf(state), 1, static_cast<std::uint32_t>(time)};
}

std::optional<Key> specialKeyOf(KeySym symbol) {
    switch (symbol) {
    case XK_Return:
    case XK_KP_Enter:
        return Key::Enter;
    case XK_Escape:
        return Key::Escape;
    case XK_BackSpace:
        return Key::Backspace;
    case XK_Delete:
    case XK_KP_Delete:
        return Key::Delete;
    case XK_Left:
    case XK_KP_Left:
        return Key::Left;
    case XK_Right:
    case XK_KP_Right:
        return Key::Right;
    case XK_Home:
    case XK_KP_Home:
        return Key::Home;
    case XK_End:
    case XK_KP_End:
        return Key::End;
    default:
        return std::nullopt;
    }
}

// Latin-1 keysyms are their characters; others carry a Unicode value above this offset.
constexpr KeySym kUnicodeKeysymOffset = 0x01000000;

std::optional<char32_t> characterOf(KeySym symbol) {
    if ((symbol >= 0x20 && symbol <= 0x7E) || (symbol >= 0xA0 && symbol <= 0xFF)) {
        return static_cast<char32_t>(symbol);
    }
    if (symbol > kUnicodeKeysymOffset && symbol <= kUnicodeKeysymOffset + 0x10FFFF) {
        return static_cast<char32_t>(symbol - kUnicodeKeysymOffset);
    }
    return std::nullopt;
}

// The window that had the focus may have gone meanwhile; that error is expected, not fatal.
XErrorHandler previousErrorHandler = nullptr;

int ignoreGoneWindow(Display* display, XErrorEvent* error) {
    if (error->error_code == BadWindow || error->error_code == BadMatch) {
        return 0;
    }
    return previousErrorHandler != nullptr ? previousErrorHandler(display, error) : 0;
}

void setFocusIgnoringGoneWindow(Display* display, Window window) {
    XSync(display, False);
    previousErrorHandler = XSetErrorHandler(ignoreGoneWindow);
    XSetInputFocus(display, window, RevertToParent, CurrentTime);
    XSync(display, False);
    XSetErrorHandler(previousErrorHandler);
    previousErrorHandler = nullptr;
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
    parent_ = parentWindow;
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
    updateKeyboardFocus();
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
        if (event.type == Expose) {
            exposed.push_back(Rect::fromSize({event.xexpose.x, event.xexpose.y},
                                             event.xexpose.width, event.xexpose.height));
        } else if (event.type == KeyPress) {
            dispatchKey(event);
        } else {
            dispatch(event);
        }
    }
}

void X11Window::dispatch(const XEvent& event) {
    const XButtonEvent& button = event.xbutton;
    switch (event.type) {
    case ButtonPress:
        if (button.button == kWheelUp || button.button == kWheelDown) {
            frame_->handleMouseWheel(
                mouseEventOf(button.x, button.y, MouseButton::Middle, button.state, button.time),
                button.button == kWheelUp ? 1 : -1);
        } else if (const auto pressed = toMouseButton(button.button)) {
            frame_->handleMouseDown(
                mouseEventOf(button.x, button.y, *pressed, button.state, button.time));
        }
        break;
    case ButtonRelease:
        if (const auto released = toMouseButton(button.button)) {
            frame_->handleMouseUp(
                mouseEventOf(button.x, button.y, *released, button.state, button.time));
        }
        break;
    case MotionNotify:
        frame_->handleMouseMove(mouseEventOf(event.xmotion.x, event.xmotion.y, MouseButton::Left,
                                             event.xmotion.state, event.xmotion.time));
        break;
    case LeaveNotify:
        frame_->handlePointerLeft();
        break;
    default:
        break;
    }
}

void X11Window::dispatchKey(XEvent& event) {
    char text[8];
    KeySym symbol = NoSymbol;
    XLookupString(&event.xkey, text, sizeof text, &symbol, nullptr);
    KeyEvent key{Key::Other, 0, modifiersOf(event.xkey.state)};
    if (const auto special = specialKeyOf(symbol)) {
        key.key = *special;
    } else if (const auto character = characterOf(symbol)) {
        key.key = Key::Character;
        key.character = *character;
    }
    if (!frame_->handleKey(key)) {
        passKeyToHost(event);
    }
}

// Selecting key presses keeps them from the host's window; a key the editor does not use (the
// host's transport keys, say) goes on to it as if the editor had not been there.
void X11Window::passKeyToHost(XEvent& event) {
    event.xkey.window = parent_;
    XSendEvent(display_, parent_, True, KeyPressMask, &event);
}

void X11Window::updateKeyboardFocus() {
    const bool wanted = frame_->wantsKeyboard();
    if (wanted == holdsKeyboard_) {
        return;
    }
    holdsKeyboard_ = wanted;
    if (wanted) {
        Window focus = 0;
        int revertTo = 0;
        XGetInputFocus(display_, &focus, &revertTo);
        previousFocus_ = focus;
        setFocusIgnoringGoneWindow(display_, window_);
    } else if (previousFocus_ != None && previousFocus_ != PointerRoot) {
        setFocusIgnoringGoneWindow(display_, previousFocus_);
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
