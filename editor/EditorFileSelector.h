#pragma once

#include "editor/HostFileSelector.h"

#include <memory>

namespace Korvatune {

// Chooses per request who asks the user: the host's selector when the host offers one, else the
// platform's own dialog when there is one, else nobody (the request is answered with
// nothing at once).
class EditorFileSelector : public Gui::IFileSelector {
public:
    explicit EditorFileSelector(AudioEffectX& effect);

    void select(const Gui::FileSelectRequest& request, Gui::FileSelectAnswer answer) override;
    void poll() override;
    void cancel() override;

private:
    HostFileSelector host_;
    std::unique_ptr<Gui::IFileSelector> system_;
    bool searchedForSystem_ = false;
};

} // namespace Korvatune
