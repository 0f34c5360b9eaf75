#include "tools/artwork/FrameBackground.h"

#include "gui/DrawContext.h"

#include "tools/artwork/Painter.h"
#include "tools/artwork/Palette.h"
#include "tools/artwork/Wordmark.h"

#include <array>

namespace Korvatune::Artwork {

namespace {

// Where the Synth page lands in the window: the tab view's inset plus the page's own offset.
constexpr Rect kPageArea{49, 48, 750, 419};
constexpr Color kChassisTop{40, 42, 49};
constexpr Color kScrewFace{70, 73, 82};

void drawScrew(Bitmap& frame, double cx, double cy) {
    fillCircle(frame, cx, cy + 0.6, 5.2, Color{0, 0, 0, 140});
    fillCircle(frame, cx, cy, 4.6, kScrewFace);
    strokeLine(frame, cx - 2.6, cy - 2.6, cx + 2.6, cy + 2.6, 1.3, Palette::kChassisDark);
}

// A groove around the pages; the About page's images sit on the chassis itself.
void drawPageGroove(Bitmap& frame) {
    Gui::DrawContext context(frame);
    const Rect groove{kPageArea.left - 3, kPageArea.top - 3, kPageArea.right + 3,
                      kPageArea.bottom + 3};
    context.frameRect(groove, Palette::kChassisDark);
    context.frameRect({groove.left - 1, groove.top - 1, groove.right + 1, groove.bottom + 1},
                      Color{58, 61, 70, 160});
}

void drawHeader(Bitmap& frame) {
    drawWordmark(frame, {kPageArea.left, 13}, 3);
    const std::string_view maker = "KORVATUNE";
    drawText(frame, maker, {kPageArea.right - scaledTextWidth(maker, 2), 12}, 2, Palette::kLabel);
    const std::string_view kind = "KICK DRUM SYNTHESIZER";
    drawText(frame, kind, {kPageArea.right - scaledTextWidth(kind, 1), 30}, 1, Palette::kDimText);
}

void drawFooter(Bitmap& frame) {
    drawText(frame, "VST 2.4 INSTRUMENT", {kPageArea.left, 438}, 1, Palette::kDimText);
    const std::string_view genres = "HARDCORE / TECHNO / DRUM & BASS";
    drawText(frame, genres, {kPageArea.right - scaledTextWidth(genres, 1), 438}, 1,
             Palette::kDimText);
}

} // namespace

Bitmap drawFrameBackground() {
    Bitmap frame(kFrameWidth, kFrameHeight);
    fillVerticalGradient(frame, frame.bounds(), kChassisTop, Palette::kChassisDark);
    constexpr std::array<Point, 4> kScrews{{{12, 12},
                                            {kFrameWidth - 12, 12},
                                            {12, kFrameHeight - 12},
                                            {kFrameWidth - 12, kFrameHeight - 12}}};
    for (const Point screw : kScrews) {
        drawScrew(frame, screw.x, screw.y);
    }
    drawPageGroove(frame);
    drawHeader(frame);
    drawFooter(frame);
    return frame;
}

} // namespace Korvatune::Artwork
