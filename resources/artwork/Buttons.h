#pragma once

#include "gui/Bitmap.h"
#include "gui/Color.h"
#include "gui/Scale.h"

#include <string_view>

namespace Korvatune::Artwork {

// Design sizes; the images are drawn at these sizes times the scale.
inline constexpr int kButtonHeight = 16;
inline constexpr int kTabWidth = 86;
inline constexpr int kTabHeight = 32;

// Both kinds hold the off state above the on state.
Gui::Bitmap drawSwitch(std::string_view text, int width, Gui::Color accent, Gui::Scale scale);
// The on state is the pressed look, shown while the editor acts on the click.
Gui::Bitmap drawPushButton(std::string_view text, int width, Gui::Scale scale);

// Pictures for buttons too small for a word.
enum class ButtonIcon { Previous, Next, Undo, Redo, Play, Export };
// A push button with a picture instead of a word.
Gui::Bitmap drawIconButton(ButtonIcon icon, int width, Gui::Scale scale);

// The unselected state above the selected one; the tab view writes the page name on top.
Gui::Bitmap drawTabButtons(Gui::Scale scale);

} // namespace Korvatune::Artwork
