#include "tools/artwork/SliderAndRocker.h"

#include "tools/artwork/Painter.h"
#include "tools/artwork/Palette.h"

namespace Korvatune::Artwork {

namespace {

constexpr Color kRockerFace{56, 59, 68};
constexpr Color kRockerPressed{26, 27, 31};
constexpr Color kArrow{178, 182, 192};
constexpr Color kHandleTop{226, 229, 236};
constexpr Color kHandleBottom{134, 138, 148};
constexpr Color kTick{92, 96, 108};

// An arrow head pointing up or down, centred in the box.
void drawArrow(Bitmap& image, Rect box, bool up, Color color) {
    const double cx = (box.left + box.right) / 2.0;
    const double cy = (box.top + box.bottom) / 2.0;
    const double halfWidth = 3.5;
    const double halfHeight = 2.5;
    const double direction = up ? 1.0 : -1.0;
    fillShape(image, box, color, [=](double x, double y) {
        // Distance from the tip along the arrow's axis, 0 at the tip and 1 at the base.
        const double depth = (direction * (y - cy) + halfHeight) / (2 * halfHeight);
        return depth >= 0 && depth <= 1 && std::abs(x - cx) <= halfWidth * depth;
    });
}

void drawRockerFrame(Bitmap& image, int frame, int pressedHalf) {
    const int left = frame * kRockerFrameWidth;
    const Rect body{left, 0, left + kRockerFrameWidth, kRockerHeight};
    fillRoundedRect(image, body, 3, Palette::kPanelEdge);
    for (int half = 0; half < 2; ++half) {
        const Rect area{left + 1, 1 + half * 11, left + kRockerFrameWidth - 1, 12 + half * 11};
        const bool pressed = half == pressedHalf;
        fillRoundedRect(image, area, 2, pressed ? kRockerPressed : kRockerFace);
        drawArrow(image, area, half == 0, pressed ? Palette::kHeading : kArrow);
    }
}

} // namespace

Bitmap drawRocker() {
    Bitmap image(3 * kRockerFrameWidth, kRockerHeight);
    constexpr int kNoHalf = -1;
    drawRockerFrame(image, 0, 0);
    drawRockerFrame(image, 1, kNoHalf);
    drawRockerFrame(image, 2, 1);
    return image;
}

Bitmap drawSliderHandle() {
    Bitmap image(kSliderHandleWidth, kSliderHandleHeight);
    const Rect body = image.bounds();
    fillRoundedRect(image, body, 2, Palette::kChassisDark);
    const Rect face{1, 1, kSliderHandleWidth - 1, kSliderHandleHeight - 1};
    Bitmap gradient(kSliderHandleWidth, kSliderHandleHeight);
    fillVerticalGradient(gradient, face, kHandleTop, kHandleBottom);
    paintShape(
        image, face, [&](int x, int y) { return gradient.pixel(x, y); },
        [](double, double) { return true; });
    fillArea(image, {4, 3, 5, kSliderHandleHeight - 3}, Palette::kChassisDark);
    return image;
}

Bitmap drawSliderTrack() {
    Bitmap image(kSliderTrackWidth, kSliderTrackHeight);
    fillRoundedRect(image, {3, 7, kSliderTrackWidth - 3, 13}, 3, Palette::kPanelEdge);
    fillRoundedRect(image, {4, 8, kSliderTrackWidth - 4, 12}, 2, Palette::kInset);
    constexpr int kTicks = 5;
    for (int i = 0; i < kTicks; ++i) {
        const int x = 6 + i * 12;
        const Rect upper{x, 0, x + 1, 2};
        const Rect lower{x, kSliderTrackHeight - 2, x + 1, kSliderTrackHeight};
        fillArea(image, upper, kTick);
        fillArea(image, lower, kTick);
    }
    return image;
}

} // namespace Korvatune::Artwork
