#include "gui/Scale.h"
#include "PixelTestSupport.h"
#include "gui/BitmapFont.h"
#include "gui/DrawContext.h"
#include "gui/ScaledText.h"

#include <gtest/gtest.h>

#include <set>
#include <utility>
#include <vector>

namespace Korvatune::Gui {
namespace {

using Testing::boundsOfPixelsOtherThan;
using Testing::countPixels;
using Testing::kInk;
using Testing::kPaper;

TEST(Scale, RoundsHalvesUpAndKeepsEqualDesignsEqual) {
    EXPECT_EQ(Scale(125).pixels(2), 3);
    EXPECT_EQ(Scale(125).pixels(-2), -2);
    EXPECT_EQ(Scale(150).pixels(465), 698);
    EXPECT_EQ(Scale(175).pixels(465), 814);
    EXPECT_EQ(Scale(250).pixels(465), 1163);
    EXPECT_EQ(Scale(100).rect({179, 87, 239, 107}), (Rect{179, 87, 239, 107}));
    // Knobs of one size keep one size wherever their corners round to.
    for (const int percent : kOfferedScalePercents) {
        const Scale scale(percent);
        EXPECT_EQ(scale.rect({110, 35, 135, 60}).width(), scale.rect({321, 85, 346, 110}).width());
        EXPECT_EQ(scale.rect({110, 35, 135, 60}).width(), scale.pixels(25));
    }
    const std::vector<std::pair<int, int>> strokes{{100, 1}, {125, 1}, {150, 1}, {175, 2},
                                                   {200, 2}, {250, 2}, {300, 3}};
    for (const auto& [percent, stroke] : strokes) {
        EXPECT_EQ(Scale(percent).stroke(), stroke) << percent;
    }
}

TEST(Scale, NearestOfferedSizeTakesTheLargerAtAHalfway) {
    EXPECT_EQ(nearestOfferedScale(100.0).percent(), 100);
    EXPECT_EQ(nearestOfferedScale(112.5).percent(), 125);
    EXPECT_EQ(nearestOfferedScale(130.0).percent(), 125);
    EXPECT_EQ(nearestOfferedScale(168.0 / 96 * 100).percent(), 175);
    EXPECT_EQ(nearestOfferedScale(192.0 / 96 * 100).percent(), 200);
    EXPECT_EQ(nearestOfferedScale(224.0).percent(), 200);
    EXPECT_EQ(nearestOfferedScale(50.0).percent(), 100);
    EXPECT_EQ(nearestOfferedScale(1000.0).percent(), 300);
}

std::set<std::pair<int, int>> inkOf(std::string_view text, Scale scale) {
    std::set<std::pair<int, int>> ink;
    forEachTextPixel(text, scale, [&](int x, int y) {
        EXPECT_TRUE(ink.emplace(x, y).second) << "pixel " << x << "," << y << " plotted twice";
    });
    return ink;
}

TEST(ScaledText, WholeNumberScalesTurnEachFontPixelIntoABlock) {
    const std::string_view text = "Kick 9%";
    for (const int factor : {1, 2, 3}) {
        std::set<std::pair<int, int>> expected;
        for (std::size_t i = 0; i < text.size(); ++i) {
            for (int y = 0; y < kGlyphHeight; ++y) {
                for (int x = 0; x < kGlyphWidth; ++x) {
                    if (!glyphHasPixel(text[i], x, y)) {
                        continue;
                    }
                    const int left = (static_cast<int>(i) * kCellWidth + x) * factor;
                    for (int dy = 0; dy < factor; ++dy) {
                        for (int dx = 0; dx < factor; ++dx) {
                            expected.emplace(left + dx, y * factor + dy);
                        }
                    }
                }
            }
        }
        const Scale scale(100 * factor);
        EXPECT_EQ(inkOf(text, scale), expected) << factor;
        EXPECT_EQ(scaledTextWidth(text, scale), textWidth(text) * factor);
        EXPECT_EQ(scaledGlyphHeight(scale), kGlyphHeight * factor);
    }
}

// The runs of ink along one device row, as (start, length).
std::vector<std::pair<int, int>> runsInRow(const std::set<std::pair<int, int>>& ink, int y) {
    std::vector<std::pair<int, int>> runs;
    for (const auto& [x, row] : ink) {
        if (row != y) {
            continue;
        }
        if (!runs.empty() && runs.back().first + runs.back().second == x) {
            ++runs.back().second;
        } else {
            runs.emplace_back(x, 1);
        }
    }
    return runs;
}

// "H": two stems one font pixel wide joined by a full bar in the fourth row.
TEST(ScaledText, BetweenWholeNumbersEveryStrokeKeepsOneWidthAndBarsHaveNoGaps) {
    for (const int percent : {125, 150, 175, 250}) {
        SCOPED_TRACE(percent);
        const Scale scale(percent);
        const std::set<std::pair<int, int>> ink = inkOf("H", scale);
        const int stroke = scale.stroke();
        const int barTop = scale.pixels(3);
        for (int y = 0; y < scaledGlyphHeight(scale); ++y) {
            const std::vector<std::pair<int, int>> runs = runsInRow(ink, y);
            if (y >= barTop && y < barTop + stroke) {
                ASSERT_EQ(runs.size(), 1u) << "bar, device row " << y;
                EXPECT_EQ(runs[0].second, scale.pixels(kGlyphWidth - 1) + stroke);
            } else {
                ASSERT_EQ(runs.size(), 2u) << "stems, device row " << y;
                EXPECT_EQ(runs[0].second, stroke);
                EXPECT_EQ(runs[1].second, stroke);
            }
        }
        const Rect bounds = [&] {
            Rect all;
            for (const auto& [x, y] : ink) {
                all = all.unionWith({x, y, x + 1, y + 1});
            }
            return all;
        }();
        EXPECT_EQ(bounds.width(), scaledTextWidth("H", scale));
        EXPECT_EQ(bounds.height(), scaledGlyphHeight(scale));
    }
}

// Centred text sits where it sits at 100 %: the room around it is halved in design pixels.
TEST(ScaledDrawing, TextOutlinesAndLinesFollowTheContextsScale) {
    Bitmap canvas(60, 40, kPaper);
    DrawContext context(canvas, Scale(200));
    context.drawText("H", {0, 0, 60, 40}, kInk, TextAlign::Centre);
    EXPECT_EQ(boundsOfPixelsOtherThan(canvas, kPaper), (Rect{24, 12, 34, 26}));

    Bitmap outline(20, 20, kPaper);
    DrawContext framing(outline, Scale(175));
    framing.frameRect({2, 2, 12, 10}, kInk);
    EXPECT_EQ(countPixels(outline, kInk), 10 * 8 - 6 * 4);

    Bitmap lines(20, 20, kPaper);
    DrawContext drawing(lines, Scale(300));
    drawing.drawLine({2, 2}, {10, 2}, kInk);
    EXPECT_EQ(boundsOfPixelsOtherThan(lines, kPaper), (Rect{2, 2, 13, 5}));
    EXPECT_EQ(countPixels(lines, kInk), 11 * 3);
}

} // namespace
} // namespace Korvatune::Gui
