#include "gui/TabView.h"
#include "PixelTestSupport.h"
#include "gui/Frame.h"
#include "gui/OnOffButton.h"

#include <gtest/gtest.h>

#include <memory>

namespace Korvatune::Gui {
namespace {

using Testing::kPaper;

constexpr Color kUnselected{20, 0, 0, 255};
constexpr Color kSelected{60, 0, 0, 255};

std::shared_ptr<Bitmap> makeTabImage() {
    auto image = std::make_shared<Bitmap>(86, 64, kUnselected);
    for (int y = 32; y < 64; ++y) {
        for (int x = 0; x < 86; ++x) {
            image->setPixel(x, y, kSelected);
        }
    }
    return image;
}

class TabViewTest : public ::testing::Test {
protected:
    TabViewTest() {
        frame.setBackgroundColor(kPaper);
        tabs =
            frame.addView(std::make_unique<TabView>(Rect{9, 9, 792, 457}, makeTabImage(), 86, 32));
        tabs->setTransparent(true);
        synth = tabs->addPage("Synth", std::make_unique<ViewContainer>(Rect{}));
        about = tabs->addPage("About", std::make_unique<ViewContainer>(Rect{}));
        button = synth->addView(
            std::make_unique<OnOffButton>(Rect{100, 100, 144, 116}, nullptr, 58, nullptr));
        frame.redrawDirty();
    }

    Frame frame{800, 465};
    TabView* tabs = nullptr;
    ViewContainer* synth = nullptr;
    ViewContainer* about = nullptr;
    OnOffButton* button = nullptr;
};

TEST_F(TabViewTest, PagesFillAllButTheButtonStripAndTheFirstIsShown) {
    EXPECT_EQ(tabs->pageArea(), (Rect{0, 0, 783, 416}));
    EXPECT_EQ(synth->rect(), tabs->pageArea());
    EXPECT_EQ(about->rect(), tabs->pageArea());
    EXPECT_EQ(tabs->pageCount(), 2u);
    EXPECT_EQ(tabs->pageName(1), "About");
    EXPECT_EQ(tabs->currentPage(), 0u);
    EXPECT_TRUE(synth->isVisible());
    EXPECT_FALSE(about->isVisible());
}

TEST_F(TabViewTest, ButtonsAreCentredAlongTheBottomEdge) {
    EXPECT_EQ(tabs->buttonArea(0), (Rect{305, 416, 391, 448}));
    EXPECT_EQ(tabs->buttonArea(1), (Rect{391, 416, 477, 448}));
    EXPECT_EQ(tabs->buttonAt({9 + 305, 9 + 416}), 0u);
    EXPECT_EQ(tabs->buttonAt({9 + 476, 9 + 447}), 1u);
    EXPECT_FALSE(tabs->buttonAt({9 + 304, 9 + 420}).has_value());
    EXPECT_FALSE(tabs->buttonAt({9 + 400, 9 + 415}).has_value());
}

TEST_F(TabViewTest, SelectedButtonIsDrawnFromTheLowerHalfOfItsImage) {
    const Bitmap& pixels = frame.frameBuffer();
    EXPECT_EQ(pixels.pixel(9 + 305, 9 + 416), kSelected);
    EXPECT_EQ(pixels.pixel(9 + 391, 9 + 416), kUnselected);
    EXPECT_EQ(pixels.pixel(9 + 304, 9 + 416), kPaper);
    int textPixels = 0;
    for (int y = 9 + 416; y < 9 + 448; ++y) {
        for (int x = 9 + 305; x < 9 + 391; ++x) {
            textPixels += pixels.pixel(x, y) == kWhite ? 1 : 0;
        }
    }
    EXPECT_GT(textPixels, 10);
}

TEST_F(TabViewTest, PressingAButtonShowsItsPage) {
    frame.handleMouseDown({{9 + 420, 9 + 430}});
    frame.handleMouseUp({{9 + 420, 9 + 430}});
    EXPECT_EQ(tabs->currentPage(), 1u);
    EXPECT_FALSE(synth->isVisible());
    EXPECT_TRUE(about->isVisible());
    frame.redrawDirty();
    EXPECT_EQ(frame.frameBuffer().pixel(9 + 391, 9 + 416), kSelected);
    EXPECT_EQ(frame.frameBuffer().pixel(9 + 305, 9 + 416), kUnselected);
}

TEST_F(TabViewTest, PressesInsideThePageReachOnlyTheShownPagesControls) {
    frame.handleMouseDown({{9 + 110, 9 + 105}});
    frame.handleMouseUp({{9 + 110, 9 + 105}});
    EXPECT_TRUE(button->isOn());
    tabs->selectPage(1);
    frame.handleMouseDown({{9 + 110, 9 + 105}});
    EXPECT_TRUE(button->isOn());
    EXPECT_EQ(frame.mouseCapture(), nullptr);
}

TEST_F(TabViewTest, SelectingAPagePastTheLastChangesNothing) {
    tabs->selectPage(2);
    EXPECT_EQ(tabs->currentPage(), 0u);
    EXPECT_TRUE(synth->isVisible());
    EXPECT_FALSE(frame.needsRedraw());
    EXPECT_EQ(tabs->addPage("None", nullptr), nullptr);
    EXPECT_EQ(tabs->pageCount(), 2u);
}

} // namespace
} // namespace Korvatune::Gui
