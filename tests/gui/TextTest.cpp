#include "PixelTestSupport.h"
#include "gui/BitmapFont.h"
#include "gui/DrawContext.h"
#include "gui/TextLabel.h"
#include "gui/ValueDisplay.h"

#include <gtest/gtest.h>

#include <set>
#include <vector>

namespace Korvatune::Gui {
namespace {

using Testing::boundsOfPixelsOtherThan;
using Testing::countPixels;
using Testing::kInk;
using Testing::kPaper;

std::vector<std::uint8_t> glyphOf(char character) {
    const std::uint8_t* rows = glyphRows(character);
    return {rows, rows + kGlyphHeight};
}

TEST(BitmapFont, EveryPrintableCharacterHasItsOwnGlyphWithinTheCell) {
    std::set<std::vector<std::uint8_t>> distinct;
    for (char c = '!'; c <= '~'; ++c) {
        const std::vector<std::uint8_t> glyph = glyphOf(c);
        for (std::uint8_t row : glyph) {
            EXPECT_LT(row, 1u << kGlyphWidth) << c;
        }
        EXPECT_NE(glyph, glyphOf(' ')) << c;
        distinct.insert(glyph);
    }
    EXPECT_EQ(distinct.size(), static_cast<std::size_t>('~' - '!' + 1));
    EXPECT_EQ(glyphOf(' '), std::vector<std::uint8_t>(kGlyphHeight, 0));
}

TEST(BitmapFont, CharactersOutsidePrintableAsciiShowAsQuestionMark) {
    EXPECT_EQ(glyphOf('\n'), glyphOf('?'));
    EXPECT_EQ(glyphOf('\x7f'), glyphOf('?'));
    EXPECT_EQ(glyphOf(static_cast<char>(0xe9)), glyphOf('?'));
}

TEST(TextDrawing, GlyphPixelsLandAsTheFontDrawsThem) {
    Bitmap canvas(20, 12, kPaper);
    DrawContext context(canvas);
    context.drawText("H", {3, 2, 3 + kGlyphWidth, 2 + kGlyphHeight}, kInk, TextAlign::Left);
    for (int y = 0; y < kGlyphHeight; ++y) {
        for (int x = 0; x < kGlyphWidth; ++x) {
            EXPECT_EQ(canvas.pixel(3 + x, 2 + y) == kInk, glyphHasPixel('H', x, y))
                << x << "," << y;
        }
    }
    EXPECT_EQ(boundsOfPixelsOtherThan(canvas, kPaper), (Rect{3, 2, 8, 9}));
}

TEST(TextDrawing, AlignmentPlacesTextInsideItsBox) {
    const Rect box{10, 10, 70, 24};
    const int width = textWidth("Synth");
    const int left[] = {box.left, box.left + (box.width() - width) / 2, box.right - width};
    const TextAlign aligns[] = {TextAlign::Left, TextAlign::Centre, TextAlign::Right};
    for (int i = 0; i < 3; ++i) {
        Bitmap canvas(80, 40, kPaper);
        DrawContext context(canvas);
        context.drawText("Synth", box, kInk, aligns[i]);
        const Rect inked = boundsOfPixelsOtherThan(canvas, kPaper);
        EXPECT_TRUE(box.encloses(inked));
        EXPECT_EQ(inked.left, left[i]);
        EXPECT_EQ(inked.top, box.top + (box.height() - kGlyphHeight) / 2);
    }
}

TEST(TextDrawing, TextLongerThanItsBoxIsCutAtTheBox) {
    Bitmap canvas(60, 20, kPaper);
    DrawContext context(canvas);
    const Rect box{5, 5, 25, 15};
    context.drawText("a rather long text", box, kInk, TextAlign::Centre);
    EXPECT_TRUE(box.encloses(boundsOfPixelsOtherThan(canvas, kPaper)));
    EXPECT_GT(countPixels(canvas, kInk), 20);
}

TEST(TextViews, LabelPaintsItsBackgroundFrameAndText) {
    Bitmap canvas(60, 20, kPaper);
    DrawContext context(canvas);
    TextLabel label({2, 2, 50, 16}, "---", {kWhite, TextAlign::Left, kWhite});
    label.setBackgroundColor(kBlack);
    label.draw(context);
    EXPECT_EQ(boundsOfPixelsOtherThan(canvas, kPaper), (Rect{2, 2, 50, 16}));
    EXPECT_EQ(canvas.pixel(2, 2), kWhite);
    EXPECT_EQ(canvas.pixel(49, 15), kWhite);
    EXPECT_EQ(canvas.pixel(40, 8), kBlack);
    const int textLeft = 2 + kTextInset;
    for (int x = 0; x < textWidth("---"); ++x) {
        const bool inGlyph = x % kCellWidth < kGlyphWidth;
        EXPECT_EQ(canvas.pixel(textLeft + x, 8), inGlyph ? kWhite : kBlack) << x;
    }
}

TEST(TextViews, TransparentLabelLeavesTheBackgroundAndChangesOnlyOnNewText) {
    Bitmap canvas(60, 20, kPaper);
    DrawContext context(canvas);
    TextLabel label({0, 0, 60, 20}, "", {kGrey, TextAlign::Centre, {}});
    label.setTransparent(true);
    label.draw(context);
    EXPECT_EQ(countPixels(canvas, kPaper), 60 * 20);
    label.markClean();
    label.setText("");
    EXPECT_FALSE(label.isDirty());
    label.setText("-oo dB");
    EXPECT_TRUE(label.isDirty());
}

TEST(TextViews, ValueDisplayShowsTwoDecimalsOrItsOwnFormat) {
    ValueDisplay display({0, 0, 54, 14}, nullptr, 7);
    display.setValue(0.5f);
    EXPECT_EQ(display.text(), "0.50");
    display.setRange(0.0f, 200.0f);
    display.setValue(123.456f);
    EXPECT_EQ(display.text(), "123.46");
    display.setFormatter([](float v) { return std::to_string(static_cast<int>(v)) + " Hz"; });
    EXPECT_EQ(display.text(), "123 Hz");

    Bitmap canvas(54, 14, kPaper);
    DrawContext context(canvas);
    display.draw(context);
    Bitmap expected(54, 14, kPaper);
    DrawContext reference(expected);
    reference.drawText("123 Hz", {kTextInset, 0, 54 - kTextInset, 14}, kWhite, TextAlign::Centre);
    EXPECT_GT(countPixels(canvas, kWhite), 0);
    for (int y = 0; y < 14; ++y) {
        for (int x = 0; x < 54; ++x) {
            ASSERT_EQ(canvas.pixel(x, y), expected.pixel(x, y)) << x << "," << y;
        }
    }
}

} // namespace
} // namespace Korvatune::Gui
