#pragma once

#include "gui/Bitmap.h"

#include <functional>

namespace Korvatune::Gui::Testing {

inline constexpr Color kPaper{10, 20, 30, 255};
inline constexpr Color kInk{250, 240, 5, 255};

inline int countPixels(const Bitmap& bitmap, Color color) {
    int count = 0;
    for (int y = 0; y < bitmap.height(); ++y) {
        for (int x = 0; x < bitmap.width(); ++x) {
            count += bitmap.pixel(x, y) == color ? 1 : 0;
        }
    }
    return count;
}

// The smallest rectangle holding every pixel that differs from the given colour.
inline Rect boundsOfPixelsOtherThan(const Bitmap& bitmap, Color color) {
    Rect bounds;
    for (int y = 0; y < bitmap.height(); ++y) {
        for (int x = 0; x < bitmap.width(); ++x) {
            if (bitmap.pixel(x, y) != color) {
                bounds = bounds.unionWith({x, y, x + 1, y + 1});
            }
        }
    }
    return bounds;
}

// A film strip whose frame n is filled with red = n, so a drawn pixel names its frame.
inline Bitmap makeNumberedStrip(int frameWidth, int height, int frames) {
    Bitmap strip(frameWidth * frames, height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < strip.width(); ++x) {
            strip.setPixel(x, y, {static_cast<std::uint8_t>(x / frameWidth), 0, 0, 255});
        }
    }
    return strip;
}

} // namespace Korvatune::Gui::Testing
