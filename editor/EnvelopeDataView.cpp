#include "editor/EnvelopeDataView.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace Korvatune {

namespace {

// Pixels above the baseline for a value; a broken value stays on the baseline and a huge one
// is held to a height that cannot overflow the drawing arithmetic.
int heightOf(float value, float scale) {
    const float pixels = value * scale;
    if (!std::isfinite(pixels)) {
        return 0;
    }
    constexpr float kLimit = 1.0e5f;
    return static_cast<int>(std::clamp(pixels, -kLimit, kLimit));
}

} // namespace

EnvelopeDataView::EnvelopeDataView(Gui::Rect rect, float scale, int yOffset)
    : View(rect), scale_(scale), yOffset_(yOffset) {
    setTransparent(true);
}

void EnvelopeDataView::setPoints(const float* points, int count) {
    points_ = points;
    count_ = points != nullptr && count > 0 ? count : 0;
    setDirty();
}

void EnvelopeDataView::draw(Gui::DrawContext& context) {
    drawBackground(context);
    if (points_ == nullptr) {
        return;
    }
    const Gui::Scale scale = context.scale();
    const int baseline = rect().bottom + scale.pixels(yOffset_);
    const float pixelsPerUnit = scale_ * (static_cast<float>(scale.percent()) / 100.0f);
    std::vector<Gui::Point> line;
    line.reserve(static_cast<std::size_t>(count_) + 2);
    line.push_back({rect().left, baseline});
    for (int i = 0; i < count_; ++i) {
        line.push_back(
            {rect().left + scale.pixels(i), baseline - heightOf(points_[i], pixelsPerUnit)});
    }
    line.push_back({rect().right, baseline});
    context.drawPolyline(line, Gui::kWhite);
}

} // namespace Korvatune
