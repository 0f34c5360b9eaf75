#include "resources/artwork/SynthPageBackground.h"

#include "gui/ScaledText.h"
#include "resources/artwork/Painter.h"
#include "resources/artwork/Palette.h"
#include "resources/artwork/SynthPageLayout.h"

namespace Korvatune::Artwork {

namespace {

constexpr int kGridSpacing = 6;

Rect inset(Rect area, int by) {
    return {area.left + by, area.top + by, area.right - by, area.bottom - by};
}

void drawHeading(Bitmap& page, const Heading& heading, int panelTop, Scale scale) {
    const int left = scale.pixels(heading.left);
    const int width = Gui::scaledTextWidth(heading.text, scale);
    const Rect pill{left - scale.pixels(5), panelTop - scale.pixels(5),
                    left + width + scale.pixels(5), panelTop + scale.pixels(6)};
    fillRoundedRect(page, pill, 3 * scale.factor(), mix(heading.accent, Palette::kChassis, 0.55));
    fillRoundedRect(page, inset(pill, scale.pixels(1)), 2 * scale.factor(), Palette::kChassisDark);
    drawText(page, heading.text, {left, panelTop - scale.pixels(3)}, scale, heading.accent);
}

void drawSection(Bitmap& page, const Section& section, Scale scale) {
    const Rect panel = scale.rect(section.panel);
    fillRoundedRect(page, panel, 5 * scale.factor(), Palette::kPanelEdge);
    fillRoundedRect(page, inset(panel, scale.pixels(1)), 4 * scale.factor(), Palette::kPanel);
    for (const Heading& heading : section.headings) {
        drawHeading(page, heading, panel.top, scale);
    }
}

// Grid lines one stroke wide at the design's spacing, measured from the area's left edge and
// from the baseline, as the editor's curves are.
void drawGrid(Bitmap& page, const Screen& screen, Rect area, int baseline, Scale scale) {
    const int stroke = scale.stroke();
    for (int x = kGridSpacing; x < screen.area.width(); x += kGridSpacing) {
        const int left = area.left + scale.pixels(x);
        fillArea(page, Rect{left, area.top, left + stroke, area.bottom}.intersection(area),
                 Palette::kGrid);
    }
    const int designBaseline = screen.area.height() - screen.baselineFromBottom;
    for (int y = kGridSpacing; y < designBaseline; y += kGridSpacing) {
        const int top = baseline - scale.pixels(y);
        fillArea(page, Rect{area.left, top, area.right, top + stroke}.intersection(area),
                 Palette::kGrid);
    }
    for (int y = kGridSpacing; y < screen.baselineFromBottom; y += kGridSpacing) {
        const int top = baseline + scale.pixels(y);
        fillArea(page, Rect{area.left, top, area.right, top + stroke}.intersection(area),
                 Palette::kGrid);
    }
}

// A dark scope with a faint grid and a brighter zero line.
void drawScreen(Bitmap& page, const Screen& screen, Scale scale) {
    const Rect area = scale.rect(screen.area);
    fillRoundedRect(page, inset(area, -scale.pixels(2)), 2 * scale.factor(), Palette::kPanelEdge);
    fillArea(page, inset(area, -scale.pixels(1)), Palette::kScreen);
    const int baseline = area.bottom - scale.pixels(screen.baselineFromBottom);
    drawGrid(page, screen, area, baseline, scale);
    fillArea(page, {area.left, baseline, area.right, baseline + scale.stroke()},
             mix(Palette::kGrid, Palette::kPitch, 0.35));
}

void drawReadout(Bitmap& page, Rect area, Scale scale) {
    fillRoundedRect(page, area, 2 * scale.factor(), Palette::kChassisDark);
    const int border = scale.pixels(1);
    fillRoundedRect(page, {area.left + border, area.top + border, area.right - border, area.bottom},
                    2 * scale.factor(), Palette::kInset);
}

} // namespace

Bitmap drawSynthPageBackground(Scale scale) {
    Bitmap page(scale.pixels(kSynthPageWidth), scale.pixels(kSynthPageHeight));
    fillVerticalGradient(page, page.bounds(), Palette::kChassis, Palette::kChassisDark);
    for (const Section& section : synthPageSections()) {
        drawSection(page, section, scale);
    }
    for (const Screen& screen : synthPageScreens()) {
        drawScreen(page, screen, scale);
    }
    for (const Rect readout : synthPageReadouts()) {
        drawReadout(page, scale.rect(readout), scale);
    }
    for (const Label& label : synthPageLabels()) {
        drawTextCentred(page, label.text, scale.rect(label.box), 1, scale, Palette::kLabel);
    }
    return page;
}

} // namespace Korvatune::Artwork
