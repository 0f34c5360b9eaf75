#pragma once

#include "gui/Scale.h"

#include <optional>

namespace Korvatune {

// The size an editor opens at, from the first source that names one: the environment variable
// OMBRAFELL_SCALE (a percentage, for users and tests), the size the user last chose in an
// editor, the display's scale (the host's where it passes one, else the system's), else 100 %.
// The nearest offered size is used.
Gui::Scale preferredEditorScale(std::optional<double> displayPercent);

} // namespace Korvatune
