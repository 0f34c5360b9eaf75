#pragma once

#include "gui/FileSelector.h"
#include "plugin/vst2/AudioEffectX.h"

namespace Korvatune {

// The host's own file selector, reached through the plug-in's host callback. It answers before
// select() returns.
class HostFileSelector : public Gui::IFileSelector {
public:
    explicit HostFileSelector(AudioEffectX& effect) : effect_(effect) {}

    // Only a host that can both open and close its selector is asked.
    static bool hostOffersSelector(AudioEffectX& effect);
    AudioEffectX& effect() const { return effect_; }

    void select(const Gui::FileSelectRequest& request, Gui::FileSelectAnswer answer) override;

private:
    AudioEffectX& effect_;
};

} // namespace Korvatune
