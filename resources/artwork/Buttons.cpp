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

namespace {

// Draws the label into a face: the text or picture of the button in a colour.
template <class DrawLabel> Bitmap pushButton(int width, Scale scale, const DrawLabel& drawLabel) {
    Bitmap image = twoStates(width, scale);
    const Rect up = stateArea(width, 0, scale);
    drawFace(image, up, {kFaceTop, kFaceBottom, kBorder}, scale);
    drawLabel(image, up, kFaceText);
    const Rect pressed = stateArea(width, 1, scale);
    drawFace(image, pressed, {kPressedTop, kPressedBottom, kBorder}, scale);
    drawLabel(image, pressed.offsetBy({0, scale.pixels(1)}), Palette::kHeading);
    return image;
}

// Icons are drawn in design pixels around the face's centre, with lines of 1.5 pixels.
class IconPen {
public:
    IconPen(Bitmap& image, Rect face, Scale scale, Color ink)
        : image_(image), scale_(scale.factor()), ink_(ink),
          centreX_((face.left + face.right) / 2.0), centreY_((face.top + face.bottom) / 2.0) {}

    void line(double x0, double y0, double x1, double y1) const {
        strokeLine(image_, x(x0), y(y0), x(x1), y(y1), 1.5 * scale_, ink_);
    }
    void arc(double cx, double cy, double radius, double from, double to) const {
        strokeArc(image_, x(cx), y(cy), radius * scale_, 1.5 * scale_, from, to, ink_);
    }

private:
    double x(double design) const { return centreX_ + design * scale_; }
    double y(double design) const { return centreY_ + design * scale_; }

    Bitmap& image_;
    double scale_;
    Color ink_;
    double centreX_;
    double centreY_;
};

void drawChevron(const IconPen& pen, double direction) {
    pen.line(-1.5 * direction, -3.5, 1.5 * direction, 0.0);
    pen.line(1.5 * direction, 0.0, -1.5 * direction, 3.5);
}

// A half circle over the centre that ends in an arrow head pointing down.
void drawTurnArrow(const IconPen& pen, double direction) {
    constexpr double kHalfTurn = 3.141592653589793;
    pen.arc(0.0, 1.5, 3.5, -kHalfTurn / 2.0, kHalfTurn / 2.0);
    const double tip = -3.5 * direction;
    pen.line(tip - 2.0, 0.0, tip, 2.5);
    pen.line(tip + 2.0, 0.0, tip, 2.5);
}

void drawPlay(const IconPen& pen) {
    for (double y = -3.5; y <= 3.5; y += 0.5) {
        pen.line(-2.0, y, 2.5, 0.0);
    }
}

void drawExport(const IconPen& pen) {
    pen.line(0.0, -4.0, 0.0, 1.5);
    pen.line(-2.5, -1.0, 0.0, 1.5);
    pen.line(2.5, -1.0, 0.0, 1.5);
    pen.line(-3.5, 4.0, 3.5, 4.0);
}

void drawIcon(ButtonIcon icon, const IconPen& pen) {
    switch (icon) {
    case ButtonIcon::Previous:
        return drawChevron(pen, -1.0);
    case ButtonIcon::Next:
        return drawChevron(pen, 1.0);
    case ButtonIcon::Undo:
        return drawTurnArrow(pen, 1.0);
    case ButtonIcon::Redo:
        return drawTurnArrow(pen, -1.0);
    case ButtonIcon::Play:
        return drawPlay(pen);
    case ButtonIcon::Export:
        return drawExport(pen);
    }
}

} // namespace

Bitmap drawPushButton(std::string_view text, int width, Scale scale) {
    return pushButton(width, scale, [&](Bitmap& image, Rect face, Color ink) {
        drawTextCentred(image, text, face, 1, scale, ink);
    });
}

Bitmap drawIconButton(ButtonIcon icon, int width, Scale scale) {
    return pushButton(width, scale, [&](Bitmap& image, Rect face, Color ink) {
        drawIcon(icon, IconPen(image, face, scale, ink));
    });
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
