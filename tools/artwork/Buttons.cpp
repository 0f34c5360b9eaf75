#include "tools/artwork/Buttons.h"

#include "tools/artwork/Painter.h"
#include "tools/artwork/Palette.h"

namespace Korvatune::Artwork {

namespace {

constexpr Color kFaceTop{62, 65, 75};
constexpr Color kFaceBottom{38, 40, 46};
constexpr Color kPressedTop{24, 25, 29};
constexpr Color kPressedBottom{40, 42, 48};
constexpr Color kBorder{84, 88, 99};
constexpr Color kFaceText{178, 182, 192};

struct Face {
    Color top;
    Color bottom;
    Color border;
};

void drawFace(Bitmap& image, Rect area, const Face& face) {
    fillRoundedRect(image, area, 3, face.border);
    const Rect inner{area.left + 1, area.top + 1, area.right - 1, area.bottom - 1};
    Bitmap gradient(image.width(), image.height());
    fillVerticalGradient(gradient, inner, face.top, face.bottom);
    paintShape(
        image, inner, [&](int x, int y) { return gradient.pixel(x, y); },
        [&](double x, double y) {
            const double nearestX = std::clamp(x, inner.left + 2.0, inner.right - 2.0);
            const double nearestY = std::clamp(y, inner.top + 2.0, inner.bottom - 2.0);
            return (x - nearestX) * (x - nearestX) + (y - nearestY) * (y - nearestY) <= 4.0;
        });
}

Rect stateArea(int width, int state) {
    return Rect::fromSize({0, state * kButtonHeight}, width, kButtonHeight);
}

} // namespace

Bitmap drawSwitch(std::string_view text, int width, Color accent) {
    Bitmap image(width, 2 * kButtonHeight);
    const Rect off = stateArea(width, 0);
    drawFace(image, off, {kFaceTop, kFaceBottom, kBorder});
    drawTextCentred(image, text, off, 1, kFaceText);
    const Rect on = stateArea(width, 1);
    drawFace(image, on,
             {mix(accent, Palette::kOutput, 0.25), mix(accent, Palette::kScreen, 0.3),
              mix(accent, Palette::kOutput, 0.5)});
    drawTextCentred(image, text, on, 1, Palette::kChassisDark);
    return image;
}

Bitmap drawPushButton(std::string_view text, int width) {
    Bitmap image(width, 2 * kButtonHeight);
    const Rect up = stateArea(width, 0);
    drawFace(image, up, {kFaceTop, kFaceBottom, kBorder});
    drawTextCentred(image, text, up, 1, kFaceText);
    const Rect pressed = stateArea(width, 1);
    drawFace(image, pressed, {kPressedTop, kPressedBottom, kBorder});
    drawTextCentred(image, text, pressed.offsetBy({0, 1}), 1, Palette::kHeading);
    return image;
}

Bitmap drawTabButtons() {
    Bitmap image(kTabWidth, 2 * kTabHeight);
    const Rect unselected{2, 3, kTabWidth - 2, kTabHeight - 3};
    drawFace(image, unselected, {Palette::kPanel, Palette::kChassisDark, Palette::kPanelEdge});
    const Rect selected = unselected.offsetBy({0, kTabHeight});
    drawFace(image, selected, {kFaceTop, kFaceBottom, Palette::kHeading});
    fillRoundedRect(
        image, {selected.left + 10, selected.bottom - 4, selected.right - 10, selected.bottom - 2},
        1, Palette::kHeading);
    return image;
}

} // namespace Korvatune::Artwork
