#include "gui/DisplayScale.h"

#include "platform/CNumbers.h"

#include <X11/Xlib.h>

#include <string>
#include <string_view>

namespace Korvatune::Gui {

namespace {

constexpr double kBaseDpi = 96.0;

// The value of "Xft.dpi:" in the resource manager's text, one "name:\tvalue" per line.
std::optional<double> xftDpi(std::string_view resources) {
    constexpr std::string_view kName = "Xft.dpi:";
    while (!resources.empty()) {
        const std::size_t end = resources.find('\n');
        const std::string_view line = resources.substr(0, end);
        if (line.substr(0, kName.size()) == kName) {
            const double dpi =
                Platform::parseCNumberPrefix(std::string(line.substr(kName.size())).c_str());
            return dpi > 0.0 ? std::optional(dpi) : std::nullopt;
        }
        resources = end == std::string_view::npos ? std::string_view{} : resources.substr(end + 1);
    }
    return std::nullopt;
}

} // namespace

// The host's window belongs to the default display; a short connection of our own reads it.
std::optional<double> systemDisplayScalePercent(void*) {
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) {
        return std::nullopt;
    }
    const char* resources = XResourceManagerString(display);
    const std::optional<double> dpi = resources != nullptr ? xftDpi(resources) : std::nullopt;
    XCloseDisplay(display);
    return dpi ? std::optional(*dpi / kBaseDpi * 100.0) : std::nullopt;
}

} // namespace Korvatune::Gui
