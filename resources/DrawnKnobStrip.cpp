#include "resources/DrawnKnobStrip.h"

#include <algorithm>

namespace Korvatune {

DrawnKnobStrip::DrawnKnobStrip(const Artwork::KnobStyle& style, Gui::Scale scale)
    : style_(style), scale_(scale) {}

// A frame, once drawn, stays unchanged until the strip goes, so it is read after the lock.
const Gui::Bitmap& DrawnKnobStrip::frame(int index) const {
    const int shown = std::clamp(index, 0, Artwork::kKnobFrames - 1);
    const std::lock_guard lock(mutex_);
    std::unique_ptr<const Gui::Bitmap>& frame = frames_[static_cast<std::size_t>(shown)];
    if (!frame) {
        frame = std::make_unique<const Gui::Bitmap>(Artwork::drawKnobFrame(style_, scale_, shown));
    }
    return *frame;
}

void DrawnKnobStrip::drawFrame(Gui::DrawContext& context, int index, Gui::Rect area) const {
    context.drawBitmap(frame(index), area);
}

} // namespace Korvatune
