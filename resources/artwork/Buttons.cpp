#include "resources/artwork/Buttons.h"

#include "resources/artwork/Painter.h"
#include "resources/artwork/Palette.h"

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

void drawFace(Bitmap& image, Rect area, const Face& face, Scale scale) {
    fillRoundedRect(image, area, 3 * scale.factor(), face.border);
    const int border = scale.pixels(1);
    const Rect inner{area.left + border, area.top + border, area.right - border,
                     area.bottom - border};
    Bitmap gradient(image.width(), image.height());
    fillVerticalGradient(gradient, inner, face.top, face.bottom);
    paintShape(
        image, inner, [&](int x, int y) { return gradient.pixel(x, y); },
        RoundedBox{static_cast<double>(inner.left), static_cast<double>(inner.top),
                   static_cast<double>(inner.right), static_cast<double>(inner.bottom),
                   2 * scale.factor()});
}

Rect stateArea(int width, int state, Scale scale) {
    const int height = scale.pixels(kButtonHeight);
    return Rect::fromSize({0, state * height}, scale.pixels(width), height);
}

Bitmap twoStates(int width, Scale scale) {
    return Bitmap(scale.pixels(width), 2 * scale.pixels(kButtonHeight));
}

} // namespace

Bitmap drawSwitch(std::string_view text, int width, Color accent, Scale scale) {
    Bitmap image = twoStates(width, scale);
    const Rect off = stateArea(width, 0, scale);
    drawFace(image, off, {kFaceTop, kFaceBottom, kBorder}, scale);
    drawTextCentred(image, text, off, 1, scale, kFaceText);
    const Rect on = stateArea(width, 1, scale);
    drawFace(image, on,
             {mix(accent, Palette::kOutput, 0.25), mix(accent, Palette::kScreen, 0.3),
              mix(accent, Palette::kOutput, 0.5)},
             scale);
    drawTextCentred(image, text, on, 1, scale, Palette::kChassisDark);
    return image;
}

Bitmap drawPushButton(std::string_view text, int width, Scale scale) {
    Bitmap image = twoStates(width, scale);
    const Rect up = stateArea(width, 0, scale);
    drawFace(image, up, {kFaceTop, kFaceBottom, kBorder}, scale);
    drawTextCentred(image, text, up, 1, scale, kFaceText);
    const Rect pressed = stateArea(width, 1, scale);
    drawFace(image, pressed, {kPressedTop, kPressedBottom, kBorder}, scale);
    drawTextCentred(image, text, pressed.offsetBy({0, scale.pixels(1)}), 1, scale,
                    Palette::kHeading);
    return image;
}

Bitmap drawTabButtons(Scale scale) {
    const int width = scale.pixels(kTabWidth);
    const int height = scale.pixels(kTabHeight);
    Bitmap image(width, 2 * height);
    const Rect unselected{scale.pixels(2), scale.pixels(3), width - scale.pixels(2),
                          height - scale.pixels(3)};
    drawFace(image, unselected, {Palette::kPanel, Palette::kChassisDark, Palette::kPanelEdge},
             scale);
    const Rect selected = unselected.offsetBy({0, height});
    drawFace(image, selected, {kFaceTop, kFaceBottom, Palette::kHeading}, scale);
    fillRoundedRect(image,
                    {selected.left + scale.pixels(10), selected.bottom - scale.pixels(4),
                     selected.right - scale.pixels(10), selected.bottom - scale.pixels(2)},
                    scale.factor(), Palette::kHeading);
    return image;
}

} // namespace Korvatune::Artwork
