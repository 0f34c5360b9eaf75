#include "editor/EnvelopeDataView.h"
#include "gui/Frame.h"

#include <gtest/gtest.h>

#include <array>
#include <limits>
#include <vector>

namespace Korvatune {
namespace {

using Gui::Rect;

constexpr Gui::Color kPaper{10, 20, 30, 255};

// A view on a plain frame; drawing returns the rows of white pixels in each column.
class EnvelopeDrawing : public ::testing::Test {
protected:
    EnvelopeDataView& place(Rect rect, float scale, int yOffset) {
        frame.setBackgroundColor(kPaper);
        return *frame.addView(std::make_unique<EnvelopeDataView>(rect, scale, yOffset));
    }

    std::vector<int> whiteRowsAt(int x) {
        frame.invalidateAll();
        frame.redrawDirty();
        std::vector<int> rows;
        for (int y = 0; y < frame.frameBuffer().height(); ++y) {
            if (frame.frameBuffer().pixel(x, y) == Gui::kWhite) {
                rows.push_back(y);
            }
        }
        return rows;
    }

    int whitePixelCount() {
        frame.invalidateAll();
        frame.redrawDirty();
        int count = 0;
        for (int y = 0; y < frame.frameBuffer().height(); ++y) {
            for (int x = 0; x < frame.frameBuffer().width(); ++x) {
                count += frame.frameBuffer().pixel(x, y) == Gui::kWhite ? 1 : 0;
            }
        }
        return count;
    }

    Gui::Frame frame{200, 120};
};

TEST_F(EnvelopeDrawing, WithoutPointsNothingIsDrawn) {
    EnvelopeDataView& view = place({24, 35, 74, 59}, 11.0f, -12);
    EXPECT_TRUE(view.isTransparent());
    EXPECT_EQ(whitePixelCount(), 0);
    const std::array<float, 50> zeros{};
    view.setPoints(zeros.data(), 50);
    view.setPoints(nullptr, 0);
    EXPECT_EQ(whitePixelCount(), 0);
}

TEST_F(EnvelopeDrawing, ZerosDrawTheMiddleLineAcrossTheView) {
    EnvelopeDataView& view = place({24, 35, 74, 59}, 11.0f, -12);
    const std::array<float, 50> zeros{};
    view.setPoints(zeros.data(), 50);
    EXPECT_TRUE(view.isDirty());
    EXPECT_EQ(whitePixelCount(), 50);
    EXPECT_EQ(whiteRowsAt(24), std::vector<int>{47});
    EXPECT_EQ(whiteRowsAt(73), std::vector<int>{47});
    EXPECT_TRUE(whiteRowsAt(23).empty());
    EXPECT_TRUE(whiteRowsAt(74).empty());
}

TEST_F(EnvelopeDrawing, ValuesRiseByScaleTruncatedTowardZero) {
    EnvelopeDataView& view = place({24, 35, 74, 59}, 11.0f, -12);
    std::array<float, 50> points{};
    points[10] = 0.99f;  // 10.89 pixels: 10 above the baseline
    points[30] = -0.99f; // 10 below
    view.setPoints(points.data(), 50);
    EXPECT_EQ(whiteRowsAt(34).front(), 47 - 10);
    EXPECT_EQ(whiteRowsAt(54).back(), 47 + 10);
}

TEST_F(EnvelopeDrawing, PitchCurveStartsOnItsBaselineOnePixelAboveTheBottom) {
    EnvelopeDataView& view = place({109, 20, 187, 78}, 45.0f, -1);
    std::array<float, 78> points{};
    points[5] = 1.0f;
    view.setPoints(points.data(), 78);
    EXPECT_EQ(whiteRowsAt(109), std::vector<int>{77});
    EXPECT_EQ(whiteRowsAt(114).front(), 77 - 45);
}

TEST_F(EnvelopeDrawing, BrokenValuesStayOnTheBaseline) {
    EnvelopeDataView& view = place({24, 35, 74, 59}, 11.0f, -12);
    std::array<float, 50> points{};
    points[20] = std::numeric_limits<float>::quiet_NaN();
    points[21] = std::numeric_limits<float>::infinity();
    view.setPoints(points.data(), 50);
    EXPECT_EQ(whiteRowsAt(44), std::vector<int>{47});
    EXPECT_EQ(whiteRowsAt(45), std::vector<int>{47});
}

} // namespace
} // namespace Korvatune
