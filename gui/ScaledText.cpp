#include "gui/ScaledText.h"

#include "gui/BitmapFont.h"

#include <vector>

namespace Korvatune::Gui {

namespace {

// One glyph's ink in device pixels, set by overlapping rectangles and read back once each.
class GlyphMask {
public:
    GlyphMask(int width, int height)
        : width_(width), height_(height), ink_(static_cast<std::size_t>(width * height), false) {}

    void fill(int left, int top, int right, int bottom) {
        for (int y = top; y < bottom; ++y) {
            for (int x = left; x < right; ++x) {
                ink_[static_cast<std::size_t>(y * width_ + x)] = true;
            }
        }
    }

    template <class Plot> void forEachInk(Plot plot) const {
        for (int y = 0; y < height_; ++y) {
            for (int x = 0; x < width_; ++x) {
                if (ink_[static_cast<std::size_t>(y * width_ + x)]) {
                    plot(x, y);
                }
            }
        }
    }

private:
    int width_;
    int height_;
    std::vector<bool> ink_;
};

// The glyph whose first font column is `firstColumn` of the text, in device pixels from the
// device column of that font column.
void plotGlyph(char character, int firstColumn, Scale scale,
               const std::function<void(int, int)>& plot) {
    const int stroke = scale.stroke();
    const int left = scale.pixels(firstColumn);
    auto column = [&](int x) { return scale.pixels(firstColumn + x) - left; };
    GlyphMask mask(column(kGlyphWidth - 1) + stroke, scaledGlyphHeight(scale));
    for (int y = 0; y < kGlyphHeight; ++y) {
        for (int x = 0; x < kGlyphWidth; ++x) {
            if (!glyphHasPixel(character, x, y)) {
                continue;
            }
            const bool joinsRight = x + 1 < kGlyphWidth && glyphHasPixel(character, x + 1, y);
            const bool joinsBelow = y + 1 < kGlyphHeight && glyphHasPixel(character, x, y + 1);
            const int right = (joinsRight ? column(x + 1) : column(x)) + stroke;
            const int bottom = (joinsBelow ? scale.pixels(y + 1) : scale.pixels(y)) + stroke;
            mask.fill(column(x), scale.pixels(y), right, scale.pixels(y) + stroke);
            mask.fill(column(x), scale.pixels(y), column(x) + stroke, bottom);
        }
    }
    mask.forEachInk([&](int x, int y) { plot(left + x, y); });
}

} // namespace

int scaledTextWidth(std::string_view text, Scale scale) {
    return text.empty() ? 0 : scale.pixels(textWidth(text) - 1) + scale.stroke();
}

int scaledGlyphHeight(Scale scale) {
    return scale.pixels(kGlyphHeight - 1) + scale.stroke();
}

void forEachTextPixel(std::string_view text, Scale scale,
                      const std::function<void(int x, int y)>& plot) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        plotGlyph(text[i], static_cast<int>(i) * kCellWidth, scale, plot);
    }
}

} // namespace Korvatune::Gui
