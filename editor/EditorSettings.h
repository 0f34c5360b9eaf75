#pragma once

#include "gui/Scale.h"

#include <filesystem>
#include <optional>

namespace Korvatune {

// The editor's settings, kept for the user in "Korvatune/Ombrafell/editor.conf" of the user's
// settings folder as lines of "key=value". Nothing when no folder is known.
std::optional<std::filesystem::path> editorSettingsPath();

// The size the user last chose in an editor; nothing when there is no choice or the file is
// missing, unreadable or damaged (then the editor follows the system).
std::optional<Gui::Scale> readChosenEditorScale();
// Remembers a choice for editors opened later, replacing the file in one step; false when it
// cannot be stored.
bool writeChosenEditorScale(Gui::Scale scale);

} // namespace Korvatune
