#include "tools/artwork/SynthPageBackground.h"

#include "tools/artwork/Painter.h"
#include "tools/artwork/Palette.h"
#include "tools/artwork/SynthPageLayout.h"

namespace Korvatune::Artwork {

namespace {

constexpr int kGridSpacing = 6;

void drawHeading(Bitmap& page, const Heading& heading, int panelTop) {
    const int width = scaledTextWidth(heading.text, 1);
    const Rect pill{heading.left - 5, panelTop - 5, heading.left + width + 5, panelTop + 6};
    fillRoundedRect(page, pill, 3, mix(heading.accent, Palette::kChassis, 0.55));
    fillRoundedRect(page, {pill.left + 1, pill.top + 1, pill.right - 1, pill.bottom - 1}, 2,
                    Palette::kChassisDark);
    drawText(page, heading.text, {heading.left, panelTop - 3}, 1, heading.accent);
}

void drawSection(Bitmap& page, const Section& section) {
    const Rect panel = section.panel;
    fillRoundedRect(page, panel, 5, Palette::kPanelEdge);
    fillRoundedRect(page, {panel.left + 1, panel.top + 1, panel.right - 1, panel.bottom - 1}, 4,
                    Palette::kPanel);
    for (const Heading& heading : section.headings) {
        drawHeading(page, heading, panel.top);
    }
}

// A dark scope with a faint grid and a brighter zero line.
void drawScreen(Bitmap& page, const Screen& screen) {
    const Rect area = screen.area;
    fillRoundedRect(page, {area.left - 2, area.top - 2, area.right + 2, area.bottom + 2}, 2,
                    Palette::kPanelEdge);
    fillArea(page, {area.left - 1, area.top - 1, area.right + 1, area.bottom + 1},
             Palette::kScreen);
    const int baseline = area.bottom - screen.baselineFromBottom;
    for (int x = area.left + kGridSpacing; x < area.right; x += kGridSpacing) {
        fillArea(page, {x, area.top, x + 1, area.bottom}, Palette::kGrid);
    }
    for (int y = baseline - kGridSpacing; y > area.top; y -= kGridSpacing) {
        fillArea(page, {area.left, y, area.right, y + 1}, Palette::kGrid);
    }
    for (int y = baseline + kGridSpacing; y < area.bottom; y += kGridSpacing) {
        fillArea(page, {area.left, y, area.right, y + 1}, Palette::kGrid);
    }
    fillArea(page, {area.left, baseline, area.right, baseline + 1},
             mix(Palette::kGrid, Palette::kPitch, 0.35));
}

void drawReadout(Bitmap& page, Rect area) {
    fillRoundedRect(page, area, 2, Palette::kChassisDark);
    fillRoundedRect(page, {area.left + 1, area.top + 1, area.right - 1, area.bottom}, 2,
                    Palette::kInset);
}

} // namespace

Bitmap drawSynthPageBackground() {
    Bitmap page(kSynthPageWidth, kSynthPageHeight);
    fillVerticalGradient(page, page.bounds(), Palette::kChassis, Palette::kChassisDark);
    for (const Section& section : synthPageSections()) {
        drawSection(page, section);
    }
    for (const Screen& screen : synthPageScreens()) {
        drawScreen(page, screen);
    }
    for (const Rect readout : synthPageReadouts()) {
        drawReadout(page, readout);
    }
    for (const Label& label : synthPageLabels()) {
        drawTextCentred(page, label.text, label.box, 1, Palette::kLabel);
    }
    return page;
}

} // namespace Korvatune::Artwork
