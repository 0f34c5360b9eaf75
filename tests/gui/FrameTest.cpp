#include "gui/Frame.h"
#include "PixelTestSupport.h"
#include "gui/Control.h"
#include "gui/DirtyRegion.h"
#include "gui/ImageView.h"

#include <gtest/gtest.h>

#include <memory>

namespace Korvatune::Gui {
namespace {

using Testing::boundsOfPixelsOtherThan;
using Testing::kInk;
using Testing::kPaper;

// Paints far beyond its rectangle and counts its draws, to watch clipping and redraw areas.
class SprawlingView : public View {
public:
    using View::View;
    void draw(DrawContext& context) override {
        ++draws;
        context.fillRect({-1000, -1000, 1000, 1000}, kInk);
    }
    int draws = 0;
};

// Takes every press and records what the drag brings, in its parent's coordinates.
class DragRecorder : public View {
public:
    using View::View;
    View* mouseDown(const MouseEvent& event) override {
        pressedAt = event.where;
        return this;
    }
    void mouseMoved(const MouseEvent& event) override { movedTo = event.where; }
    void mouseUp(const MouseEvent& event) override { releasedAt = event.where; }
    Point pressedAt{-1, -1};
    Point movedTo{-1, -1};
    Point releasedAt{-1, -1};
};

TEST(DirtyRegion, MergesOverlapsAndKeepsSeparateAreasApart) {
    DirtyRegion region;
    region.add({0, 0, 10, 10});
    region.add({2, 2, 5, 5});
    region.add({});
    EXPECT_EQ(region.areas(), (std::vector<Rect>{{0, 0, 10, 10}}));
    region.add({20, 0, 30, 10});
    region.add({5, 5, 25, 8});
    EXPECT_EQ(region.areas(), (std::vector<Rect>{{0, 0, 30, 10}}));
    region.add({0, 50, 1, 51});
    EXPECT_EQ(region.take().size(), 2u);
    EXPECT_TRUE(region.isEmpty());
}

TEST(DirtyRegion, TooManyAreasCollapseIntoTheirBounds) {
    DirtyRegion region;
    for (int i = 0; i <= static_cast<int>(DirtyRegion::kMaxAreas); ++i) {
        region.add({i * 10, 0, i * 10 + 5, 5});
    }
    const int last = static_cast<int>(DirtyRegion::kMaxAreas) * 10;
    EXPECT_EQ(region.areas(), (std::vector<Rect>{{0, 0, last + 5, 5}}));
}

class FrameTest : public ::testing::Test {
protected:
    FrameTest() {
        frame.setBackgroundColor(kPaper);
        page = frame.addView(std::make_unique<ViewContainer>(Rect{40, 39, 240, 139}));
        page->setTransparent(true);
        control = page->addView(std::make_unique<Control>(Rect{10, 20, 35, 45}, nullptr, 1));
        frame.redrawDirty();
    }

    Frame frame{300, 200};
    ViewContainer* page = nullptr;
    Control* control = nullptr;
};

TEST_F(FrameTest, ANewFrameRedrawsEverythingOnceAndThenNothing) {
    Frame fresh(30, 20);
    EXPECT_TRUE(fresh.needsRedraw());
    EXPECT_EQ(fresh.redrawDirty(), (std::vector<Rect>{{0, 0, 30, 20}}));
    EXPECT_FALSE(fresh.needsRedraw());
    EXPECT_TRUE(fresh.redrawDirty().empty());
}

TEST_F(FrameTest, ValueChangeMarksTheControlsAreaInWindowCoordinates) {
    control->setValue(0.5f);
    EXPECT_TRUE(control->isDirty());
    EXPECT_EQ(frame.redrawDirty(), (std::vector<Rect>{{50, 59, 75, 84}}));
    EXPECT_FALSE(control->isDirty());
    control->setValue(0.5f);
    EXPECT_FALSE(frame.needsRedraw());
}

TEST_F(FrameTest, MovingAViewRedrawsWhereItWasAndWhereItIs) {
    control->setRect({100, 20, 125, 45});
    EXPECT_EQ(frame.redrawDirty(), (std::vector<Rect>{{50, 59, 75, 84}, {140, 59, 165, 84}}));
}

TEST_F(FrameTest, ChildrenAreClippedToTheirOwnRectangle) {
    auto* sprawl = page->addView(std::make_unique<SprawlingView>(Rect{5, 5, 15, 10}));
    frame.redrawDirty();
    EXPECT_EQ(boundsOfPixelsOtherThan(frame.frameBuffer(), kPaper), (Rect{45, 44, 55, 49}));
    EXPECT_EQ(sprawl->draws, 1);
}

TEST_F(FrameTest, RedrawTouchesOnlyViewsInTheDirtyAreas) {
    auto* near = page->addView(std::make_unique<SprawlingView>(Rect{40, 20, 50, 30}));
    auto* far = page->addView(std::make_unique<SprawlingView>(Rect{150, 60, 160, 70}));
    frame.redrawDirty();
    control->setValue(1.0f);
    near->setDirty();
    frame.redrawDirty();
    EXPECT_EQ(near->draws, 2);
    EXPECT_EQ(far->draws, 1);
}

TEST_F(FrameTest, HiddenViewsAreNeitherDrawnNorPressed) {
    auto* sprawl = page->addView(std::make_unique<SprawlingView>(Rect{5, 5, 15, 10}));
    auto* recorder = page->addView(std::make_unique<DragRecorder>(Rect{100, 0, 150, 50}));
    sprawl->setVisible(false);
    recorder->setVisible(false);
    frame.redrawDirty();
    EXPECT_EQ(sprawl->draws, 0);
    EXPECT_EQ(frame.frameBuffer().pixel(47, 46), kPaper);
    frame.handleMouseDown({{150, 50}});
    EXPECT_EQ(frame.mouseCapture(), nullptr);
}

TEST_F(FrameTest, DragStaysWithThePressedViewInItsParentsCoordinates) {
    auto* recorder = page->addView(std::make_unique<DragRecorder>(Rect{100, 0, 150, 50}));
    frame.handleMouseDown({{150, 50}});
    EXPECT_EQ(recorder->pressedAt, (Point{110, 11}));
    frame.handleMouseMove({{0, 0}});
    EXPECT_EQ(recorder->movedTo, (Point{-40, -39}));
    frame.handleMouseUp({{290, 190}});
    EXPECT_EQ(recorder->releasedAt, (Point{250, 151}));
    EXPECT_EQ(frame.mouseCapture(), nullptr);
}

TEST_F(FrameTest, TopmostViewUnderThePointerTakesThePress) {
    auto* below = page->addView(std::make_unique<DragRecorder>(Rect{100, 0, 150, 50}));
    auto* above = page->addView(std::make_unique<DragRecorder>(Rect{120, 0, 170, 50}));
    frame.handleMouseDown({{165, 45}});
    EXPECT_EQ(frame.mouseCapture(), above);
    EXPECT_EQ(below->pressedAt, (Point{-1, -1}));
}

TEST_F(FrameTest, RemovingTheDraggedViewOrItsContainerEndsTheDrag) {
    auto* recorder = page->addView(std::make_unique<DragRecorder>(Rect{100, 0, 150, 50}));
    frame.handleMouseDown({{150, 50}});
    std::unique_ptr<View> removedPage = frame.removeView(*page);
    ASSERT_TRUE(removedPage);
    EXPECT_EQ(frame.mouseCapture(), nullptr);
    frame.handleMouseMove({{10, 10}});
    EXPECT_EQ(recorder->movedTo, (Point{-1, -1}));
    EXPECT_EQ(frame.redrawDirty(), (std::vector<Rect>{{40, 39, 240, 139}}));
    EXPECT_EQ(frame.removeView(*page), nullptr);
}

TEST_F(FrameTest, ImageViewTakesItsImagesSizeAndBlendsItOverTheBackground) {
    auto image = std::make_shared<Bitmap>(4, 3, kInk);
    image->setPixel(0, 0, kTransparent);
    auto* view = page->addView(std::make_unique<ImageView>(Point{60, 70}, image));
    EXPECT_EQ(view->rect(), (Rect{60, 70, 64, 73}));
    frame.redrawDirty();
    EXPECT_EQ(boundsOfPixelsOtherThan(frame.frameBuffer(), kPaper), (Rect{100, 109, 104, 112}));
    EXPECT_EQ(frame.frameBuffer().pixel(100, 109), kPaper);
}

TEST_F(FrameTest, OpaqueContainerPaintsItsColourAndBackgroundImage) {
    page->setTransparent(false);
    page->setBackgroundColor(kWhite);
    page->setBackground(std::make_shared<Bitmap>(2, 2, kInk));
    frame.redrawDirty();
    EXPECT_EQ(boundsOfPixelsOtherThan(frame.frameBuffer(), kPaper), (Rect{40, 39, 240, 139}));
    EXPECT_EQ(frame.frameBuffer().pixel(41, 40), kInk);
    EXPECT_EQ(frame.frameBuffer().pixel(42, 40), kWhite);
}

} // namespace
} // namespace Korvatune::Gui
