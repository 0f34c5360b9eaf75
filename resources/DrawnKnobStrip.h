#pragma once

#include "gui/FilmStrip.h"
#include "gui/Scale.h"
#include "resources/artwork/KnobStrips.h"

#include <array>
#include <memory>
#include <mutex>

namespace Korvatune {

// A knob's film strip whose frames are drawn when first shown: an editor shows a handful of
// the 128 frames of each look, and at large scales all of them would take long to draw and much
// memory to keep. Editors of several instances may draw from one strip on their own threads.
class DrawnKnobStrip final : public Gui::FilmStrip {
public:
    DrawnKnobStrip(const Artwork::KnobStyle& style, Gui::Scale scale);

    const Artwork::KnobStyle& style() const { return style_; }

    void drawFrame(Gui::DrawContext& context, int index, Gui::Rect area) const override;

private:
    const Gui::Bitmap& frame(int index) const;

    Artwork::KnobStyle style_;
    Gui::Scale scale_;
    mutable std::mutex mutex_;
    mutable std::array<std::unique_ptr<const Gui::Bitmap>, Artwork::kKnobFrames> frames_;
};

} // namespace Korvatune
