#include "resources/artwork/FrameBackground.h"

#include "gui/DrawContext.h"
#include "gui/ScaledText.h"
#include "resources/artwork/Painter.h"
#include "resources/artwork/Palette.h"
#include "resources/artwork/Wordmark.h"

#include <array>

namespace Korvatune::Artwork {

namespace {

// Where the Synth page lands in the window: the page's place in the tab view, which is inset in
// the frame, each placed at the scale as the editor places them.
constexpr Rect kTabArea{9, 9, 792, 457};
constexpr Rect kPageInTabs{40, 39, 741, 410};
constexpr Color kChassisTop{40, 42, 49};
constexpr Color kScrewFace{70, 73, 82};

Rect pageArea(Scale scale) {
    return scale.rect(kPageInTabs).offsetBy(scale.rect(kTabArea).topLeft());
}

Rect grown(Rect area, int by) {
    return {area.left - by, area.top - by, area.right + by, area.bottom + by};
}

// Lengths are design pixels times `grow`.
void drawScrew(Bitmap& frame, double cx, double cy, double grow) {
    fillCircle(frame, cx, cy + 0.6 * grow, 5.2 * grow, Color{0, 0, 0, 140});
    fillCircle(frame, cx, cy, 4.6 * grow, kScrewFace);
    strokeLine(frame, cx - 2.6 * grow, cy - 2.6 * grow, cx + 2.6 * grow, cy + 2.6 * grow,
               1.3 * grow, Palette::kChassisDark);
}

// A groove around the pages; the About page's images sit on the chassis itself.
void drawPageGroove(Bitmap& frame, Scale scale) {
    Gui::DrawContext context(frame, scale);
    const Rect groove = grown(pageArea(scale), scale.pixels(3));
    context.frameRect(groove, Palette::kChassisDark);
    context.frameRect(grown(groove, scale.stroke()), Color{58, 61, 70, 160});
}

void drawHeader(Bitmap& frame, Scale scale) {
    const Rect page = pageArea(scale);
    drawWordmark(frame, {page.left, scale.pixels(13)}, 3, scale);
    const std::string_view maker = "KORVATUNE";
    const Scale large = scale.times(2);
    drawText(frame, maker, {page.right - Gui::scaledTextWidth(maker, large), scale.pixels(12)},
             large, Palette::kLabel);
    const std::string_view kind = "KICK DRUM SYNTHESIZER";
    drawText(frame, kind, {page.right - Gui::scaledTextWidth(kind, scale), scale.pixels(30)}, scale,
             Palette::kDimText);
}

// The footer's left side is the editor's readout line.
void drawFooter(Bitmap& frame, Scale scale) {
    const Rect page = pageArea(scale);
    const int top = scale.pixels(438);
    const std::string_view genres = "HARDCORE / TECHNO / DRUM & BASS";
    drawText(frame, genres, {page.right - Gui::scaledTextWidth(genres, scale), top}, scale,
             Palette::kDimText);
}

} // namespace

Bitmap drawFrameBackground(Scale scale) {
    Bitmap frame(scale.pixels(kFrameWidth), scale.pixels(kFrameHeight));
    fillVerticalGradient(frame, frame.bounds(), kChassisTop, Palette::kChassisDark);
    constexpr std::array<Point, 4> kScrews{{{12, 12},
                                            {kFrameWidth - 12, 12},
                                            {12, kFrameHeight - 12},
                                            {kFrameWidth - 12, kFrameHeight - 12}}};
    const double grow = scale.factor();
    for (const Point screw : kScrews) {
        drawScrew(frame, screw.x * grow, screw.y * grow, grow);
    }
    drawPageGroove(frame, scale);
    drawHeader(frame, scale);
    drawFooter(frame, scale);
    return frame;
}

} // namespace Korvatune::Artwork
