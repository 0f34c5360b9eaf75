#include "gui/SystemFileDialog.h"

#include "gui/ExternalFileDialog.h"

#include <cstdlib>

namespace Korvatune::Gui {

std::unique_ptr<IFileSelector> createSystemFileDialog() {
    const char* searchPath = std::getenv("PATH");
    return ExternalFileDialog::find(searchPath != nullptr ? searchPath : "");
}

} // namespace Korvatune::Gui
