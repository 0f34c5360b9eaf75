#include "editor/EditorFileSelector.h"

#include <cstdlib>

namespace Korvatune {

EditorFileSelector::EditorFileSelector(AudioEffectX& effect) : host_(effect) {}

void EditorFileSelector::select(const Gui::FileSelectRequest& request,
                                Gui::FileSelectAnswer answer) {
    if (HostFileSelector::hostOffersSelector(host_.effect())) {
        host_.select(request, std::move(answer));
        return;
    }
    // Looked up at the first request, so an editor that never asks never searches.
    if (!searchedForExternal_) {
        const char* searchPath = std::getenv("PATH");
        external_ = Gui::ExternalFileDialog::find(searchPath != nullptr ? searchPath : "");
        searchedForExternal_ = true;
    }
    if (external_) {
        external_->select(request, std::move(answer));
    } else if (answer) {
        answer(std::nullopt);
    }
}

void EditorFileSelector::poll() {
    if (external_) {
        external_->poll();
    }
}

void EditorFileSelector::cancel() {
    if (external_) {
        external_->cancel();
    }
}

} // namespace Korvatune
