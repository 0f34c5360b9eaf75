#include "editor/EditorFileSelector.h"

#include "gui/SystemFileDialog.h"

namespace Korvatune {

EditorFileSelector::EditorFileSelector(AudioEffectX& effect) : host_(effect) {}

void EditorFileSelector::select(const Gui::FileSelectRequest& request,
                                Gui::FileSelectAnswer answer) {
    if (HostFileSelector::hostOffersSelector(host_.effect())) {
        host_.select(request, std::move(answer));
        return;
    }
    // Looked up at the first request, so an editor that never asks never searches.
    if (!searchedForSystem_) {
        system_ = Gui::createSystemFileDialog();
        searchedForSystem_ = true;
    }
    if (system_) {
        system_->select(request, std::move(answer));
    } else if (answer) {
        answer(std::nullopt);
    }
}

void EditorFileSelector::poll() {
    if (system_) {
        system_->poll();
    }
}

void EditorFileSelector::cancel() {
    if (system_) {
        system_->cancel();
    }
}

} // namespace Korvatune
