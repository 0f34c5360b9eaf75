#pragma once

#include "gui/Bitmap.h"
#include "gui/Color.h"

#include <string_view>

namespace Korvatune::Artwork {

inline constexpr int kButtonHeight = 16;
inline constexpr int kTabWidth = 86;
inline constexpr int kTabHeight = 32;

// Both kinds hold the off state above the on state.
Gui::Bitmap drawSwitch(std::string_view text, int width, Gui::Color accent);
// The on state is the pressed look, shown while the editor acts on the click.
Gui::Bitmap drawPushButton(std::string_view text, int width);

// The unselected state above the selected one; the tab view writes the page name on top.
Gui::Bitmap drawTabButtons();

} // namespace Korvatune::Artwork
