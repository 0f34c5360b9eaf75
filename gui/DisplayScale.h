#pragma once

#include <optional>

namespace Korvatune::Gui {

// The size the system's display settings ask windows to be drawn at, in percent: on X11 the
// Xft.dpi resource over 96, on Windows the dots per inch of the monitor that shows the host's
// window (or of the screen, where the system cannot tell) over 96. The host's window may be
// null. Nothing when the system says nothing.
std::optional<double> systemDisplayScalePercent(void* hostWindow);

} // namespace Korvatune::Gui
