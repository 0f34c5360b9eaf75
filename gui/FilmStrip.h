#pragma once

#include "gui/Bitmap.h"
#include "gui/DrawContext.h"

#include <memory>

namespace Korvatune::Gui {

// The frames of an animated control, each exactly as large as the control.
class FilmStrip {
public:
    virtual ~FilmStrip() = default;

    // Draws frame `index` into the area, which is as large as a frame.
    virtual void drawFrame(DrawContext& context, int index, Rect area) const = 0;
};

// Frames side by side in one bitmap, the first at its left edge.
class BitmapFilmStrip final : public FilmStrip {
public:
    explicit BitmapFilmStrip(std::shared_ptr<const Bitmap> frames) : frames_(std::move(frames)) {}

    void drawFrame(DrawContext& context, int index, Rect area) const override {
        if (frames_) {
            context.drawBitmap(*frames_, area, {index * area.width(), 0});
        }
    }

private:
    std::shared_ptr<const Bitmap> frames_;
};

} // namespace Korvatune::Gui
