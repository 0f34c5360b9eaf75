#include "gui/DrawContext.h"
#include "PixelTestSupport.h"

#include <gtest/gtest.h>

#include <array>

namespace Korvatune::Gui {
namespace {

using Testing::boundsOfPixelsOtherThan;
using Testing::countPixels;
using Testing::kInk;
using Testing::kPaper;

class DrawContextTest : public ::testing::Test {
protected:
    Bitmap canvas{40, 30, kPaper};
    DrawContext context{canvas};
};

TEST_F(DrawContextTest, FillCoversExactlyTheHalfOpenRectangle) {
    context.fillRect({3, 4, 10, 8}, kInk);
    EXPECT_EQ(countPixels(canvas, kInk), 7 * 4);
    EXPECT_EQ(boundsOfPixelsOtherThan(canvas, kPaper), (Rect{3, 4, 10, 8}));
}

TEST_F(DrawContextTest, FrameDrawsOnlyTheOutlineInsideTheRectangle) {
    context.frameRect({2, 2, 8, 6}, kInk);
    EXPECT_EQ(boundsOfPixelsOtherThan(canvas, kPaper), (Rect{2, 2, 8, 6}));
    EXPECT_EQ(countPixels(canvas, kInk), 2 * 6 + 2 * 2);
    EXPECT_EQ(canvas.pixel(4, 4), kPaper);
}

TEST_F(DrawContextTest, TranslucentFillBlendsBySourceAlpha) {
    context.fillRect({0, 0, 40, 30}, {0, 0, 255, 255});
    context.fillRect({0, 0, 1, 1}, {255, 0, 0, 128});
    context.fillRect({1, 0, 2, 1}, {255, 0, 0, 0});
    EXPECT_EQ(canvas.pixel(0, 0), (Color{128, 0, 127, 255}));
    EXPECT_EQ(canvas.pixel(1, 0), (Color{0, 0, 255, 255}));
}

TEST_F(DrawContextTest, LinesIncludeBothEndPointsWithOnePixelPerStep) {
    struct Case {
        Point from;
        Point to;
        int pixels;
    };
    const std::array cases{Case{{2, 5}, {30, 5}, 29}, Case{{7, 25}, {7, 3}, 23},
                           Case{{1, 1}, {21, 21}, 21}, Case{{30, 2}, {25, 27}, 26},
                           Case{{9, 9}, {9, 9}, 1}};
    for (const Case& each : cases) {
        Bitmap fresh(40, 30, kPaper);
        DrawContext drawing(fresh);
        drawing.drawLine(each.from, each.to, kInk);
        EXPECT_EQ(fresh.pixel(each.from.x, each.from.y), kInk);
        EXPECT_EQ(fresh.pixel(each.to.x, each.to.y), kInk);
        EXPECT_EQ(countPixels(fresh, kInk), each.pixels);
    }
}

TEST_F(DrawContextTest, ShallowLineStepsOnceAlongTheShortAxisAtItsMiddle) {
    context.drawLine({0, 0}, {10, 1}, kInk);
    EXPECT_EQ(canvas.pixel(4, 0), kInk);
    EXPECT_EQ(canvas.pixel(6, 1), kInk);
    EXPECT_EQ(canvas.pixel(4, 1), kPaper);
}

TEST_F(DrawContextTest, ClipKeepsEveryOperationInside) {
    const Rect clip{10, 10, 20, 15};
    DrawContext clipped(canvas, clip);
    clipped.fillRect({0, 0, 40, 30}, kInk);
    clipped.drawLine({0, 0}, {39, 29}, {1, 2, 3, 255});
    clipped.drawText("WWWWWWWWWW", {0, 0, 40, 30}, {4, 5, 6, 255}, TextAlign::Left);
    const Bitmap image(40, 30, kWhite);
    clipped.drawBitmap(image, {0, 0, 40, 30});
    EXPECT_EQ(boundsOfPixelsOtherThan(canvas, kPaper), clip);
    EXPECT_EQ(countPixels(canvas, kWhite), clip.width() * clip.height());
}

TEST_F(DrawContextTest, HugeCoordinatesAreClippedWithoutWalkingThemAll) {
    context.drawLine({-2000000000, 5}, {2000000000, 5}, kInk);
    EXPECT_EQ(countPixels(canvas, kInk), 40);
    context.drawLine({3, -2000000000}, {3, 2000000000}, kInk);
    EXPECT_EQ(countPixels(canvas, kInk), 40 + 29);
}

TEST_F(DrawContextTest, TranslateAndClipNestAndRestore) {
    const DrawContext::State saved = context.state();
    context.translate({10, 5});
    context.clipTo({0, 0, 4, 4});
    EXPECT_EQ(context.clipArea(), (Rect{0, 0, 4, 4}));
    context.fillRect({-5, -5, 2, 2}, kInk);
    context.restore(saved);
    context.fillRect({0, 0, 1, 1}, kInk);
    EXPECT_EQ(countPixels(canvas, kInk), 2 * 2 + 1);
    EXPECT_EQ(canvas.pixel(10, 5), kInk);
    EXPECT_EQ(canvas.pixel(11, 6), kInk);
    EXPECT_EQ(canvas.pixel(12, 7), kPaper);
}

TEST_F(DrawContextTest, PolylineDrawsEachJointOnceSoTranslucentInkStaysEven) {
    const std::array<Point, 3> points{Point{2, 2}, Point{10, 2}, Point{10, 10}};
    context.drawPolyline(points, {255, 255, 255, 128});
    const Color once = canvas.pixel(5, 2);
    EXPECT_NE(once, kPaper);
    EXPECT_EQ(canvas.pixel(10, 2), once);
    EXPECT_EQ(canvas.pixel(10, 10), once);
    EXPECT_EQ(countPixels(canvas, once), 9 + 8);
}

TEST_F(DrawContextTest, BitmapIsBlendedByItsAlphaFromTheGivenSourceCorner) {
    Bitmap source(4, 2, kTransparent);
    source.setPixel(2, 0, kInk);
    source.setPixel(3, 0, {255, 255, 255, 128});
    source.setPixel(2, 1, {0, 0, 0, 0});
    context.drawBitmap(source, {5, 5, 7, 7}, {2, 0});
    EXPECT_EQ(canvas.pixel(5, 5), kInk);
    EXPECT_EQ(canvas.pixel(6, 5), (Color{133, 138, 143, 255}));
    EXPECT_EQ(canvas.pixel(5, 6), kPaper);
    EXPECT_EQ(boundsOfPixelsOtherThan(canvas, kPaper), (Rect{5, 5, 7, 6}));
}

TEST_F(DrawContextTest, BitmapDrawsNothingBeyondItsOwnEdge) {
    const Bitmap source(3, 3, kInk);
    context.drawBitmap(source, {0, 0, 20, 20}, {1, 1});
    EXPECT_EQ(boundsOfPixelsOtherThan(canvas, kPaper), (Rect{0, 0, 2, 2}));
}

} // namespace
} // namespace Korvatune::Gui
