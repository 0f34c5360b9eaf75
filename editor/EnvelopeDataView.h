#pragma once

#include "gui/View.h"

namespace Korvatune {

// Draws a row of values as a white polyline over a baseline, one value per design pixel
// column, at the drawing context's scale: the line is one stroke wide and runs through the
// points at device resolution. The points belong to the editor, which refills them and calls
// setPoints again.
class EnvelopeDataView : public Gui::View {
public:
    // yOffset places the baseline relative to the bottom edge (negative is above it); scale is
    // design pixels per unit of value.
    EnvelopeDataView(Gui::Rect rect, float scale, int yOffset);

    // Null points draw nothing.
    void setPoints(const float* points, int count);
    const float* points() const { return points_; }
    int count() const { return count_; }

    void draw(Gui::DrawContext& context) override;

private:
    const float* points_ = nullptr;
    int count_ = 0;
    float scale_;
    int yOffset_;
};

} // namespace Korvatune
