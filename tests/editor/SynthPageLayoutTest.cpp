#include "EditorTestSupport.h"

#include "editor/ControlsGUI.h"
#include "editor/PressArea.h"
#include "gui/AnimatedKnob.h"
#include "gui/HorizontalSlider.h"
#include "gui/OnOffButton.h"
#include "gui/RockerSwitch.h"

#include <gtest/gtest.h>

#include <typeinfo>

namespace Korvatune {
namespace {

using Gui::Rect;

// A press area is an invisible control over a label.
enum class Kind { Knob, Slider, Switch, Rocker, Display, Label, Picture, Image, PressArea };

struct Element {
    Rect rect;
    Kind kind;
    int image; // -1: none
    int tag;   // -1: none
};

// The oscillator 1 row as laid out on the page.
const std::vector<Element> kOscillatorRow = {
    {{24, 35, 74, 59}, Kind::Picture, -1, -1},    {{24, 67, 94, 81}, Kind::Label, -1, -1},
    {{80, 35, 92, 59}, Kind::Rocker, 2008, 0},    {{27, 85, 71, 101}, Kind::Switch, 2007, 9},
    {{110, 35, 135, 60}, Kind::Knob, 2034, 5},    {{110, 72, 135, 97}, Kind::Knob, 2034, 1},
    {{169, 35, 206, 72}, Kind::Knob, 2035, 7},    {{161, 74, 215, 88}, Kind::Display, -1, -1},
    {{213, 35, 250, 72}, Kind::Knob, 2035, 8},    {{205, 74, 259, 88}, Kind::Display, -1, -1},
    {{179, 87, 239, 107}, Kind::Slider, 2010, 6}, {{257, 35, 282, 60}, Kind::Knob, 2033, 11},
    {{289, 35, 314, 60}, Kind::Knob, 2033, 13},   {{321, 35, 346, 60}, Kind::Knob, 2033, 12},
    {{272, 65, 332, 85}, Kind::Slider, 2010, 10}, {{257, 85, 282, 110}, Kind::Knob, 2032, 4},
    {{289, 85, 314, 110}, Kind::Knob, 2030, 2},   {{321, 85, 346, 110}, Kind::Knob, 2031, 3},
};

const std::vector<Element> kGlobalElements = {
    {{27, 102, 71, 118}, Kind::Switch, 2014, 1001},
    {{409, 20, 487, 78}, Kind::Picture, -1, -1},
    {{375, 93, 412, 130}, Kind::Knob, 2024, 43},
    {{367, 129, 421, 143}, Kind::Display, -1, -1},
    {{429, 93, 466, 130}, Kind::Knob, 2024, 42},
    {{421, 129, 475, 143}, Kind::Display, -1, -1},
    {{483, 93, 520, 130}, Kind::Knob, 2024, 44},
    {{475, 129, 529, 143}, Kind::Display, -1, -1},
    {{375, 170, 412, 207}, Kind::Knob, 2035, 51},
    {{367, 209, 421, 223}, Kind::Display, -1, -1},
    {{419, 170, 456, 207}, Kind::Knob, 2035, 52},
    {{411, 209, 465, 223}, Kind::Display, -1, -1},
    {{385, 222, 445, 242}, Kind::Slider, 2010, 50},
    {{495, 170, 532, 207}, Kind::Knob, 2025, 55},
    {{487, 209, 541, 223}, Kind::Display, -1, -1},
    {{539, 170, 576, 207}, Kind::Knob, 2025, 56},
    {{531, 209, 585, 223}, Kind::Display, -1, -1},
    {{493, 249, 537, 265}, Kind::Switch, 2014, 1003},
    {{538, 249, 582, 265}, Kind::Switch, 2015, 1004},
    {{618, 249, 684, 265}, Kind::Switch, 2017, 58},
    {{493, 272, 638, 286}, Kind::Label, -1, -1},
    {{493, 272, 638, 286}, Kind::PressArea, -1, kTagProgramList},
    {{583, 249, 599, 265}, Kind::Switch, 2040, kTagUndo},
    {{600, 249, 616, 265}, Kind::Switch, 2041, kTagRedo},
    {{640, 271, 653, 287}, Kind::Switch, 2042, kTagPreviousProgram},
    {{654, 271, 667, 287}, Kind::Switch, 2043, kTagNextProgram},
    {{669, 271, 682, 287}, Kind::Switch, 2044, kTagAudition},
    {{683, 271, 696, 287}, Kind::Switch, 2045, kTagExport},
    {{369, 271, 455, 295}, Kind::Picture, -1, -1},
    {{461, 271, 473, 295}, Kind::Rocker, 2008, 54},
    {{370, 310, 395, 335}, Kind::Knob, 2023, 48},
    {{402, 310, 427, 335}, Kind::Knob, 2022, 49},
    {{434, 300, 471, 337}, Kind::Knob, 2021, 53},
    {{370, 344, 471, 358}, Kind::Label, -1, -1},
    {{500, 310, 525, 335}, Kind::Knob, 2026, 45},
    {{532, 310, 557, 335}, Kind::Knob, 2027, 46},
    {{564, 310, 589, 335}, Kind::Knob, 2028, 47},
    {{603, 310, 628, 335}, Kind::Knob, 2034, 57},
    {{642, 300, 679, 337}, Kind::Knob, 2019, 59},
    {{634, 345, 688, 359}, Kind::Label, -1, -1},
    {{500, 345, 544, 361}, Kind::Switch, 2016, 2001},
    {{551, 345, 595, 359}, Kind::Label, -1, -1},
    {{535, 80, 693, 130}, Kind::Image, 3000, -1},
    {{588, 184, 698, 224}, Kind::Image, 3001, -1},
};

std::vector<Element> expectedElements() {
    std::vector<Element> all = kGlobalElements;
    const int rowOffsets[] = {0, 122, 242};
    for (int oscillator = 0; oscillator < 3; ++oscillator) {
        for (Element element : kOscillatorRow) {
            element.rect = element.rect.offsetBy({0, rowOffsets[oscillator]});
            element.tag = element.tag < 0 ? -1 : element.tag + 14 * oscillator;
            all.push_back(element);
        }
    }
    return all;
}

bool isKind(const Gui::View& view, Kind kind) {
    switch (kind) {
    case Kind::Knob:
        return dynamic_cast<const Gui::AnimatedKnob*>(&view) != nullptr;
    case Kind::Slider:
        return dynamic_cast<const Gui::HorizontalSlider*>(&view) != nullptr;
    case Kind::Switch:
        return dynamic_cast<const Gui::OnOffButton*>(&view) != nullptr;
    case Kind::Rocker:
        return dynamic_cast<const Gui::RockerSwitch*>(&view) != nullptr;
    case Kind::Display:
        return dynamic_cast<const Gui::ValueDisplay*>(&view) != nullptr;
    case Kind::Label:
        return dynamic_cast<const Gui::TextLabel*>(&view) != nullptr;
    case Kind::Picture:
        return dynamic_cast<const EnvelopeDataView*>(&view) != nullptr;
    case Kind::Image:
        return typeid(view) == typeid(Gui::View);
    case Kind::PressArea:
        return dynamic_cast<const PressArea*>(&view) != nullptr;
    }
    return false;
}

// Where a view's image shows unobstructed: a slider's track right of its handle, any other
// view's centre.
Gui::Point imageSamplePoint(const Element& element) {
    if (element.kind == Kind::Slider) {
        return {element.rect.right - 2, element.rect.bottom - 1};
    }
    return {(element.rect.left + element.rect.right) / 2, element.rect.top + 1};
}

class SynthPageLayout : public ::testing::Test {
protected:
    SynthPageLayout() {
        page = frame.addView(std::make_unique<ControlsGUI>(Rect{40, 39, 741, 410}, nullptr,
                                                           testing::IdColouredImages{}));
        frame.redrawDirty();
    }

    const Gui::View* viewAt(const Rect& rect, Kind kind) const {
        for (std::size_t i = 0; i < page->viewCount(); ++i) {
            if (page->viewAt(i).rect() == rect && isKind(page->viewAt(i), kind)) {
                return &page->viewAt(i);
            }
        }
        return nullptr;
    }

    int imageDrawnAt(Gui::Point onPage) const {
        return testing::imageIdOf(frame.frameBuffer().pixel(onPage.x + 40, onPage.y + 39));
    }

    Gui::Frame frame{800, 465};
    ControlsGUI* page = nullptr;
};

TEST_F(SynthPageLayout, EveryElementHasItsRectangleKindImageAndTag) {
    const std::vector<Element> expected = expectedElements();
    EXPECT_EQ(page->viewCount(), expected.size());
    for (const Element& element : expected) {
        SCOPED_TRACE(::testing::Message() << "element at " << element.rect.left << ","
                                          << element.rect.top << " tag " << element.tag);
        const Gui::View* view = viewAt(element.rect, element.kind);
        ASSERT_NE(view, nullptr);
        if (element.tag >= 0) {
            const auto* control = dynamic_cast<const Gui::Control*>(view);
            ASSERT_NE(control, nullptr);
            EXPECT_EQ(control->tag(), element.tag);
            EXPECT_EQ(page->control(element.tag), control);
        }
        if (element.image >= 0 && element.kind != Kind::PressArea) {
            EXPECT_EQ(imageDrawnAt(imageSamplePoint(element)), element.image);
        }
    }
}

TEST_F(SynthPageLayout, PageShowsItsBackgroundAndSliderHandlesStartTheirTravel) {
    EXPECT_EQ(page->rect(), (Rect{40, 39, 741, 410}));
    EXPECT_EQ(imageDrawnAt({5, 5}), 2001);
    const auto* filterType = dynamic_cast<Gui::HorizontalSlider*>(page->control(6));
    ASSERT_NE(filterType, nullptr);
    EXPECT_EQ(filterType->handleRect(), (Rect{181, 89, 190, 105}));
    EXPECT_EQ(imageDrawnAt({185, 95}), 2009);
    page->setControlValue(6, 1.0f);
    EXPECT_EQ(filterType->handleRect().left, 229);
}

TEST_F(SynthPageLayout, InvertSwitchesOfTheLowerOscillatorsSitInTheirRows) {
    EXPECT_EQ(page->control(23)->rect(), (Rect{27, 207, 71, 223}));
    EXPECT_EQ(page->control(37)->rect(), (Rect{27, 327, 71, 343}));
    EXPECT_EQ(page->control(1001 + 14), nullptr);
}

TEST_F(SynthPageLayout, KnobsShowTheFrameOfTheirValue) {
    auto* volume = dynamic_cast<Gui::AnimatedKnob*>(page->control(59));
    ASSERT_NE(volume, nullptr);
    EXPECT_EQ(volume->frameCount(), 128);
    page->setControlValue(59, 1.0f);
    EXPECT_EQ(volume->currentFrame(), 127);
    page->setControlValue(59, 0.5f);
    EXPECT_EQ(volume->currentFrame(), 63);
    page->setControlValue(59, 0.0f);
    EXPECT_EQ(volume->currentFrame(), 0);
}

} // namespace
} // namespace Korvatune
