#include "EditorTestSupport.h"

#include "gui/HorizontalSlider.h"
#include "gui/OptionMenu.h"
#include "gui/TabView.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace Korvatune {
namespace {

using Gui::Point;
using Gui::Rect;
using Gui::Scale;

struct Target {
    int tag;
    double x; // in design pixels of the window
    double y;
};

Rect inWindow(const Gui::View& view) {
    return view.rect().offsetBy(view.parentOrigin());
}

// A control's middle, or its handle's for a slider, which takes presses only there.
Target middleOf(const Gui::Control& control) {
    const auto* slider = dynamic_cast<const Gui::HorizontalSlider*>(&control);
    const Rect area = slider != nullptr ? slider->handleRect().offsetBy(control.parentOrigin())
                                        : inWindow(control);
    return {control.tag(), (area.left + area.right) / 2.0, (area.top + area.bottom) / 2.0};
}

class ScaledEditor : public ::testing::Test {
protected:
    ScaledEditor() {
        editor.setFileSelector(std::make_unique<testing::FakeFileSelector>(std::nullopt, requests));
    }

    void open(Scale scale) {
        editor.openOffscreen(scale);
        editor.idle();
    }

    std::vector<Target> pageTargets() {
        std::vector<Target> targets;
        const ControlsGUI& page = *editor.synthPage();
        for (std::size_t i = 0; i < page.viewCount(); ++i) {
            const auto* control = dynamic_cast<const Gui::Control*>(&page.viewAt(i));
            if (control != nullptr && control->tag() >= 0) {
                targets.push_back(middleOf(*control));
            }
        }
        return targets;
    }

    Point scaled(const Target& target, Scale scale) {
        return {static_cast<int>(std::floor(target.x * scale.factor())),
                static_cast<int>(std::floor(target.y * scale.factor()))};
    }

    // A list the press opened is closed again, so that the next press reaches the page.
    const Gui::View* pressAt(Point where) {
        Gui::Frame& frame = *editor.getFrame();
        frame.handleMouseDown({where, Gui::MouseButton::Left});
        const Gui::View* taker = frame.mouseCapture();
        frame.handleMouseUp({where, Gui::MouseButton::Left});
        frame.closePopup();
        return taker;
    }

    // From and to are measured from the knob's top-left corner.
    float dragVolume(Scale scale, Point from, Point to) {
        open(scale);
        const Point corner = inWindow(*editor.synthPage()->control(kVolume)).topLeft();
        Gui::Frame& frame = *editor.getFrame();
        frame.handleMouseDown({corner + from, Gui::MouseButton::Left});
        frame.handleMouseMove({corner + to});
        frame.handleMouseUp({corner + to});
        return synth.getParameter(kVolume);
    }

    testing::SynthDriver driver;
    VstXSynth& synth = testing::synthOf(driver.get());
    DrawTestEditor& editor = *drawTestEditorOf(synth);
    std::vector<Gui::FileSelectRequest> requests;
};

TEST_F(ScaledEditor, APressAtTheScaledMiddleOfEveryControlReachesIt) {
    open(Scale{});
    const std::vector<Target> targets = pageTargets();
    ASSERT_EQ(targets.size(), 71u);
    for (const int percent : {150, 200}) {
        SCOPED_TRACE(percent);
        const Scale scale(percent);
        open(scale);
        for (const Target& target : targets) {
            const Gui::Control* control = editor.synthPage()->control(target.tag);
            EXPECT_EQ(pressAt(scaled(target, scale)), control) << "tag " << target.tag;
        }
    }
}

// The About button's middle, then the size menu's on the About page, in the window's design
// pixels.
TEST_F(ScaledEditor, TabButtonsAndTheSizeMenuAnswerAtTheirScaledMiddles) {
    const Target aboutButton{-1, 443.0, 441.0};
    const Target sizeMenu{kTagEditorSize, 713.0, 394.0};
    for (const int percent : {150, 200}) {
        SCOPED_TRACE(percent);
        const Scale scale(percent);
        open(scale);
        const auto* tabs = dynamic_cast<const Gui::TabView*>(pressAt(scaled(aboutButton, scale)));
        ASSERT_NE(tabs, nullptr);
        EXPECT_EQ(tabs->currentPage(), 1u);
        const auto* menu = dynamic_cast<const Gui::OptionMenu*>(pressAt(scaled(sizeMenu, scale)));
        ASSERT_NE(menu, nullptr);
        EXPECT_EQ(menu->tag(), kTagEditorSize);
        EXPECT_TRUE(menu->isOpen());
        pressAt(scaled(sizeMenu, scale));
        EXPECT_FALSE(menu->isOpen());
    }
}

// At 200 % the knob's corner and every pointer offset from it double.
TEST_F(ScaledEditor, ADragOfTwiceThePixelsAt200PercentTurnsAKnobAsFarAsAt100Percent) {
    const float circular = dragVolume(Scale{}, {18, 4}, {6, 20});
    EXPECT_NEAR(circular, (0.75f - 0.5f) / 1.5f, 0.03f);
    EXPECT_EQ(dragVolume(Scale(200), {36, 8}, {12, 40}), circular);
    editor.setKnobMode(static_cast<int>(Gui::KnobMode::Linear));
    synth.setParameter(kVolume, 0.25f);
    const float linear = dragVolume(Scale{}, {18, 10}, {18, -20});
    EXPECT_FLOAT_EQ(linear, 0.25f + 30.0f / 150.0f);
    synth.setParameter(kVolume, 0.25f);
    EXPECT_EQ(dragVolume(Scale(200), {36, 20}, {36, -40}), linear);
}

} // namespace
} // namespace Korvatune
