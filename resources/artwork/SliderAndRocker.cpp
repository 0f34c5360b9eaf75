#include "resources/artwork/SliderAndRocker.h"

#include "resources/artwork/Painter.h"
#include "resources/artwork/Palette.h"

namespace Korvatune::Artwork {

namespace {

constexpr Color kRockerFace{56, 59, 68};
constexpr Color kRockerPressed{26, 27, 31};
constexpr Color kArrow{178, 182, 192};
constexpr Color kHandleTop{226, 229, 236};
constexpr Color kHandleBottom{134, 138, 148};
constexpr Color kTick{92, 96, 108};

// An arrow head pointing up or down, centred in the box.
void drawArrow(Bitmap& image, Rect box, bool up, Color color, Scale scale) {
    const double cx = (box.left + box.right) / 2.0;
    const double cy = (box.top + box.bottom) / 2.0;
    const double halfWidth = 3.5 * scale.factor();
    const double halfHeight = 2.5 * scale.factor();
    const double direction = up ? 1.0 : -1.0;
    fillShape(image, box, color, sampledShape([=](double x, double y) {
                  // Distance from the tip along the arrow's axis, 0 at the tip and 1 at the base.
                  const double depth = (direction * (y - cy) + halfHeight) / (2 * halfHeight);
                  return depth >= 0 && depth <= 1 && std::abs(x - cx) <= halfWidth * depth;
              }));
}

void drawRockerFrame(Bitmap& image, int frame, int pressedHalf, Scale scale) {
    const int width = scale.pixels(kRockerFrameWidth);
    const int left = frame * width;
    const Rect body{left, 0, left + width, image.height()};
    fillRoundedRect(image, body, 3 * scale.factor(), Palette::kPanelEdge);
    for (int half = 0; half < 2; ++half) {
        const Rect area = scale.rect({1, 1 + half * 11, kRockerFrameWidth - 1, 12 + half * 11})
                              .offsetBy({left, 0});
        const bool pressed = half == pressedHalf;
        fillRoundedRect(image, area, 2 * scale.factor(), pressed ? kRockerPressed : kRockerFace);
        drawArrow(image, area, half == 0, pressed ? Palette::kHeading : kArrow, scale);
    }
}

} // namespace

Bitmap drawRocker(Scale scale) {
    Bitmap image(3 * scale.pixels(kRockerFrameWidth), scale.pixels(kRockerHeight));
    constexpr int kNoHalf = -1;
    drawRockerFrame(image, 0, 0, scale);
    drawRockerFrame(image, 1, kNoHalf, scale);
    drawRockerFrame(image, 2, 1, scale);
    return image;
}

Bitmap drawSliderHandle(Scale scale) {
    const int width = scale.pixels(kSliderHandleWidth);
    const int height = scale.pixels(kSliderHandleHeight);
    Bitmap image(width, height);
    fillRoundedRect(image, image.bounds(), 2 * scale.factor(), Palette::kChassisDark);
    const int border = scale.pixels(1);
    const Rect face{border, border, width - border, height - border};
    Bitmap gradient(width, height);
    fillVerticalGradient(gradient, face, kHandleTop, kHandleBottom);
    paintShape(
        image, face, [&](int x, int y) { return gradient.pixel(x, y); }, Everywhere{});
    const int notch = scale.pixels(4);
    fillArea(image, {notch, scale.pixels(3), notch + scale.stroke(), height - scale.pixels(3)},
             Palette::kChassisDark);
    return image;
}

Bitmap drawSliderTrack(Scale scale) {
    const int width = scale.pixels(kSliderTrackWidth);
    const int height = scale.pixels(kSliderTrackHeight);
    Bitmap image(width, height);
    fillRoundedRect(image,
                    {scale.pixels(3), scale.pixels(7), width - scale.pixels(3), scale.pixels(13)},
                    3 * scale.factor(), Palette::kPanelEdge);
    fillRoundedRect(image,
                    {scale.pixels(4), scale.pixels(8), width - scale.pixels(4), scale.pixels(12)},
                    2 * scale.factor(), Palette::kInset);
    constexpr int kTicks = 5;
    const int tickHeight = scale.pixels(2);
    for (int i = 0; i < kTicks; ++i) {
        const int x = scale.pixels(6 + i * 12);
        fillArea(image, {x, 0, x + scale.stroke(), tickHeight}, kTick);
        fillArea(image, {x, height - tickHeight, x + scale.stroke(), height}, kTick);
    }
    return image;
}

} // namespace Korvatune::Artwork
