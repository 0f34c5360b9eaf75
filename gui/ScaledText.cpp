#include "gui/ScaledText.h"

#include "gui/BitmapFont.h"

#include <cstdlib>
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

// One glyph laid out at a scale: font pixel (x, y) lands at (column(x), row(y)) as a square one
// stroke wide.
class ScaledGlyph {
public:
    ScaledGlyph(char character, int firstColumn, Scale scale)
        : character_(character), firstColumn_(firstColumn), scale_(scale), stroke_(scale.stroke()),
          left_(scale.pixels(firstColumn)),
          mask_(column(kGlyphWidth - 1) + stroke_, scaledGlyphHeight(scale)) {}

    void plot(const std::function<void(int, int)>& plot) {
        for (int y = 0; y < kGlyphHeight; ++y) {
            for (int x = 0; x < kGlyphWidth; ++x) {
                if (ink(x, y)) {
                    placePixel(x, y);
                }
            }
        }
        mask_.forEachInk([&](int x, int y) { plot(left_ + x, y); });
    }

private:
    bool ink(int x, int y) const {
        return x >= 0 && x < kGlyphWidth && y >= 0 && y < kGlyphHeight &&
               glyphHasPixel(character_, x, y);
    }
    int column(int x) const { return scale_.pixels(firstColumn_ + x) - left_; }
    int row(int y) const { return scale_.pixels(y); }
    void square(int left, int top) { mask_.fill(left, top, left + stroke_, top + stroke_); }

    // Neighbours in a row or column are joined by a bar, so bars have no gaps.
    void placePixel(int x, int y) {
        const int right = (ink(x + 1, y) ? column(x + 1) : column(x)) + stroke_;
        const int bottom = (ink(x, y + 1) ? row(y + 1) : row(y)) + stroke_;
        mask_.fill(column(x), row(y), right, row(y) + stroke_);
        mask_.fill(column(x), row(y), column(x) + stroke_, bottom);
        joinDiagonal(x, y, 1);
        joinDiagonal(x, y, -1);
    }

    // Diagonal neighbours that touch at a corner in the font would part where the scaled
    // squares lie further apart than a stroke; a square halfway keeps them touching.
    void joinDiagonal(int x, int y, int down) {
        if (!ink(x + 1, y + down) || ink(x + 1, y) || ink(x, y + down)) {
            return;
        }
        const int dx = column(x + 1) - column(x);
        const int dy = row(y + down) - row(y);
        if (dx > stroke_ || std::abs(dy) > stroke_) {
            square(column(x) + dx / 2, row(y) + dy / 2);
        }
    }

    char character_;
    int firstColumn_;
    Scale scale_;
    int stroke_;
    int left_;
    GlyphMask mask_;
};

} // namespace

int scaledTextWidth(std::string_view text, Scale scale) {
    return text.empty() ? 0 : scale.pixels(textWidth(text) - 1) + scale.stroke();
}

int centredOffset(int box, int content, Scale scale) {
    return scale.pixels((scale.designPixels(box) - content) / 2);
}

int scaledGlyphHeight(Scale scale) {
    return scale.pixels(kGlyphHeight - 1) + scale.stroke();
}

void forEachTextPixel(std::string_view text, Scale scale,
                      const std::function<void(int x, int y)>& plot) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        ScaledGlyph(text[i], static_cast<int>(i) * kCellWidth, scale).plot(plot);
    }
}

} // namespace Korvatune::Gui
