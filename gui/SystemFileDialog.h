#pragma once

#include "gui/FileSelector.h"

#include <memory>

namespace Korvatune::Gui {

// The platform's own way to ask for a file: the common dialogs on Windows, a desktop dialog
// program elsewhere. Null when the platform has none to offer.
std::unique_ptr<IFileSelector> createSystemFileDialog();

} // namespace Korvatune::Gui
