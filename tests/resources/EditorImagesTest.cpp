#include "resources/EditorImages.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <vector>

namespace Korvatune {
namespace {

using Gui::Bitmap;
using Gui::Scale;

constexpr int kFrames = 128;

std::optional<Bitmap> decodeImage(int id) {
    return *editorImagesAt(Scale{})->image(id);
}

// A knob's frames side by side, as the editor draws them one by one.
Bitmap knobStrip(int id, int size) {
    Bitmap strip(size * kFrames, size);
    Gui::DrawContext context(strip);
    const std::shared_ptr<const Gui::FilmStrip> frames = editorImagesAt(Scale{})->filmStrip(id);
    for (int frame = 0; frame < kFrames; ++frame) {
        frames->drawFrame(context, frame, Gui::Rect::fromSize({frame * size, 0}, size, size));
    }
    return strip;
}

bool regionsDiffer(const Bitmap& image, Gui::Point first, Gui::Point second, int width,
                   int height) {
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            if (image.pixel(first.x + x, first.y + y) != image.pixel(second.x + x, second.y + y)) {
                return true;
            }
        }
    }
    return false;
}

// Images of several states or frames hold them as equal parts, across or down.
struct ImageSize {
    int id;
    int width;
    int height;
    int partsAcross = 1;
    int partsDown = 1;
};

constexpr ImageSize kStillImages[] = {
    {2000, 800, 465},     {2001, 701, 371},     {2006, 86, 64, 1, 2}, {2007, 44, 32, 1, 2},
    {2008, 36, 24, 3, 1}, {2009, 9, 16},        {2010, 60, 20},       {2014, 44, 32, 1, 2},
    {2015, 44, 32, 1, 2}, {2016, 44, 32, 1, 2}, {2017, 66, 32, 1, 2}, {3000, 158, 50},
    {3001, 110, 40},      {4000, 640, 126},     {5000, 580, 40},      {6000, 520, 181},
    {7000, 110, 50},      {2040, 16, 32, 1, 2}, {2041, 16, 32, 1, 2}, {2042, 13, 32, 1, 2},
    {2043, 13, 32, 1, 2}, {2044, 13, 32, 1, 2}, {2045, 13, 32, 1, 2},
};

struct FilmStrip {
    int id;
    int frameSize;
};

constexpr FilmStrip kFilmStrips[] = {
    {2019, 37}, {2021, 37}, {2024, 37}, {2025, 37}, {2035, 37}, {2022, 25}, {2023, 25}, {2026, 25},
    {2027, 25}, {2028, 25}, {2030, 25}, {2031, 25}, {2032, 25}, {2033, 25}, {2034, 25},
};

// Stacked states and side-by-side frames keep whole device sizes each, so the views that show
// one state or frame of them stay aligned at every size.
TEST(EditorImages, EveryImageIsDrawnAtItsSizeTimesTheScale) {
    for (const int percent : Gui::kOfferedScalePercents) {
        const Scale scale(percent);
        SCOPED_TRACE(percent);
        const std::shared_ptr<const Gui::ImageLibrary> images = editorImagesAt(scale);
        for (const ImageSize& expected : kStillImages) {
            SCOPED_TRACE(expected.id);
            const Bitmap& image = *images->image(expected.id);
            const int across = expected.partsAcross;
            const int down = expected.partsDown;
            EXPECT_EQ(image.width(), across * scale.pixels(expected.width / across));
            EXPECT_EQ(image.height(), down * scale.pixels(expected.height / down));
        }
    }
}

TEST(EditorImages, KnobFramesAreSquaresOfTheKnobsSizeAtEveryScale) {
    for (const int percent : Gui::kOfferedScalePercents) {
        const Scale scale(percent);
        for (const FilmStrip& strip : kFilmStrips) {
            const int size = scale.pixels(strip.frameSize);
            Bitmap target(size + 2, size + 2, Gui::kTransparent);
            Gui::DrawContext context(target);
            editorImagesAt(scale)->filmStrip(strip.id)->drawFrame(
                context, kFrames - 1, Gui::Rect::fromSize({1, 1}, size, size));
            int outside = 0;
            for (int y = 0; y < target.height(); ++y) {
                for (int x = 0; x < target.width(); ++x) {
                    const bool border = x == 0 || y == 0 || x == size + 1 || y == size + 1;
                    outside += border && target.pixel(x, y).alpha != 0 ? 1 : 0;
                }
            }
            EXPECT_EQ(outside, 0) << strip.id << " at " << percent;
            EXPECT_NE(target.pixel(size / 2 + 1, size / 2 + 1).alpha, 0) << strip.id;
        }
    }
}

// A knob turned by one step must look different, or the control seems stuck.
TEST(EditorImages, EveryKnobFrameDiffersFromTheNext) {
    for (const FilmStrip& strip : kFilmStrips) {
        SCOPED_TRACE(strip.id);
        const std::optional<Bitmap> image = knobStrip(strip.id, strip.frameSize);
        const int size = strip.frameSize;
        EXPECT_TRUE(regionsDiffer(*image, {0, 0}, {(kFrames - 1) * size, 0}, size, size));
        for (int frame = 0; frame + 1 < kFrames; ++frame) {
            EXPECT_TRUE(
                regionsDiffer(*image, {frame * size, 0}, {(frame + 1) * size, 0}, size, size))
                << "frames " << frame << " and " << frame + 1;
        }
    }
}

// The value arc is drawn in the knob's accent colour, the only saturated colour of a frame.
int countColouredPixels(const Bitmap& strip, int frame, int size) {
    int count = 0;
    for (int y = 0; y < size; ++y) {
        for (int x = frame * size; x < (frame + 1) * size; ++x) {
            const Gui::Color c = strip.pixel(x, y);
            const int spread =
                std::max({c.red, c.green, c.blue}) - std::min({c.red, c.green, c.blue});
            count += c.alpha > 128 && spread > 60 ? 1 : 0;
        }
    }
    return count;
}

constexpr int kPanStrip = 2032;
// The volume knob's arc is near white, so it is not told apart by saturation.
constexpr int kVolumeStrip = 2019;

TEST(EditorImages, ValueArcGrowsWithTheFrameIndex) {
    for (const FilmStrip& strip : kFilmStrips) {
        if (strip.id == kPanStrip || strip.id == kVolumeStrip) {
            continue;
        }
        SCOPED_TRACE(strip.id);
        const std::optional<Bitmap> image = knobStrip(strip.id, strip.frameSize);
        int previous = -1;
        for (const int frame : {0, 32, 64, 96, 127}) {
            const int coloured = countColouredPixels(*image, frame, strip.frameSize);
            EXPECT_GT(coloured, previous) << "frame " << frame;
            previous = coloured;
        }
    }
}

TEST(EditorImages, PanArcGrowsFromTheMiddle) {
    const std::optional<Bitmap> pan = knobStrip(kPanStrip, 25);
    const int middle = countColouredPixels(*pan, 64, 25);
    EXPECT_GT(countColouredPixels(*pan, 0, 25), 2 * middle);
    EXPECT_GT(countColouredPixels(*pan, 127, 25), 2 * middle);
    EXPECT_GT(countColouredPixels(*pan, 32, 25), middle);
}

TEST(EditorImages, SwitchesButtonsAndTabsShowTwoDifferentStates) {
    for (const int id : {2006, 2007, 2014, 2015, 2016, 2017, 2040, 2041, 2042, 2043, 2044, 2045}) {
        SCOPED_TRACE(id);
        const std::optional<Bitmap> image = decodeImage(id);
        ASSERT_TRUE(image.has_value());
        const int stateHeight = image->height() / 2;
        EXPECT_TRUE(regionsDiffer(*image, {0, 0}, {0, stateHeight}, image->width(), stateHeight));
    }
}

// Icon buttons tell their action only by their picture.
TEST(EditorImages, IconButtonsOfOneSizeDifferFromEachOther) {
    const int icons[] = {2040, 2041, 2042, 2043, 2044, 2045};
    for (const int first : icons) {
        for (const int second : icons) {
            const std::optional<Bitmap> one = decodeImage(first);
            const std::optional<Bitmap> other = decodeImage(second);
            if (first >= second || one->width() != other->width()) {
                continue;
            }
            const auto size = static_cast<std::size_t>(one->width() * one->height());
            EXPECT_FALSE(std::equal(one->data(), one->data() + size, other->data()))
                << first << " and " << second;
        }
    }
}

TEST(EditorImages, RockerShowsThreeDifferentPositions) {
    const std::optional<Bitmap> rocker = decodeImage(2008);
    ASSERT_TRUE(rocker.has_value());
    const int frameWidth = rocker->width() / 3;
    const int height = rocker->height();
    EXPECT_TRUE(regionsDiffer(*rocker, {0, 0}, {frameWidth, 0}, frameWidth, height));
    EXPECT_TRUE(regionsDiffer(*rocker, {frameWidth, 0}, {2 * frameWidth, 0}, frameWidth, height));
    EXPECT_TRUE(regionsDiffer(*rocker, {0, 0}, {2 * frameWidth, 0}, frameWidth, height));
}

TEST(EditorImages, BackgroundsAreOpaque) {
    for (const int id : {2000, 2001}) {
        SCOPED_TRACE(id);
        const std::optional<Bitmap> image = decodeImage(id);
        ASSERT_TRUE(image.has_value());
        int translucent = 0;
        for (int y = 0; y < image->height(); ++y) {
            for (int x = 0; x < image->width(); ++x) {
                translucent += image->pixel(x, y).alpha != 255 ? 1 : 0;
            }
        }
        EXPECT_EQ(translucent, 0);
    }
}

TEST(EditorImages, UnknownIdsGiveNoImage) {
    const std::shared_ptr<const Gui::ImageLibrary> images = editorImagesAt(Scale{});
    // 1011, 1012 and 10002 are bitmap resources the editor never uses.
    for (const int id : {-1, 0, 1011, 1012, 2002, 2013, 2020, 2029, 2036, 4001, 10002}) {
        EXPECT_TRUE(images->image(id)->isEmpty()) << id;
        Bitmap target(8, 8, Gui::kWhite);
        Gui::DrawContext context(target);
        images->filmStrip(id)->drawFrame(context, 0, target.bounds());
        EXPECT_EQ(target.pixel(4, 4), Gui::kWhite) << id;
    }
}

// Editors of several instances share one set per size, and the last to let go frees it.
TEST(EditorImages, EachSizeIsDrawnOnceWhileInUseAndReleasedAfter) {
    const int before = editorImageSetsInMemory();
    {
        const std::shared_ptr<const Gui::ImageLibrary> first = editorImagesAt(Scale(175));
        const std::shared_ptr<const Gui::ImageLibrary> second = editorImagesAt(Scale(175));
        const std::shared_ptr<const Gui::ImageLibrary> other = editorImagesAt(Scale(250));
        EXPECT_EQ(first, second);
        EXPECT_EQ(first->image(2007), second->image(2007));
        EXPECT_NE(first, other);
        EXPECT_EQ(editorImageSetsInMemory(), before + 2);
    }
    EXPECT_EQ(editorImageSetsInMemory(), before);
}

} // namespace
} // namespace Korvatune
