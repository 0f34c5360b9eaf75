#include "editor/DrawTestEditor.h"
#include "editor/EditorTestSupport.h"
#include "lv2/Lv2TestDriver.h"
#include "waveforms/WaveformTestFiles.h"

#include <gtest/gtest.h>

#include <lv2/atom/atom.h>
#include <lv2/atom/util.h>
#include <lv2/state/state.h>

#include <cmath>

namespace Korvatune {
namespace {

// The LOAD button beside oscillator 1's waveform, on the Synth page.
constexpr Gui::Point kLoadWaveform{49, 110};

// A host that reads the notifications the instance writes to its notify port.
class StateChanged : public ::testing::Test {
protected:
    StateChanged() {
        lv2.instrument->connectPort(Lv2::kNotifyPort, notifyBuffer());
        editor.openOffscreen();
    }
    ~StateChanged() override { editor.close(); }

    LV2_Atom_Sequence* notifyBuffer() {
        return reinterpret_cast<LV2_Atom_Sequence*>(notify.data());
    }

    // How many state:StateChanged objects a block wrote, after the host offered room as given.
    int noticesInBlock(std::uint32_t room = 4096) {
        notifyBuffer()->atom.size = room;
        lv2.render(64);
        int count = 0;
        const LV2_URID object = lv2.urids.id(LV2_ATOM__Object);
        const LV2_URID changed = lv2.urids.id(LV2_STATE__StateChanged);
        LV2_ATOM_SEQUENCE_FOREACH(notifyBuffer(), event) {
            const auto* body = reinterpret_cast<const LV2_Atom_Object*>(&event->body);
            if (event->body.type == object && body->body.otype == changed) {
                ++count;
            }
        }
        return count;
    }

    // Loads a user waveform through the editor's own LOAD, which works while the host has the
    // instrument stopped.
    void loadWaveformInEditor() {
        lv2.controls[0] = static_cast<float>(WaveformProvider::kFirstUserWaveform) / 29.0f;
        lv2.render(64);
        lv2.instrument->deactivate();
        std::vector<float> cycle(WaveformProvider::kTableSize);
        for (std::size_t i = 0; i < cycle.size(); ++i) {
            cycle[i] = std::sin(static_cast<float>(i) * 0.003f);
        }
        const std::string file = folder.file("cycle.raw");
        testfiles::writeBytes(file, testfiles::rawFloats(cycle));
        std::vector<Gui::FileSelectRequest> requests;
        editor.setFileSelector(std::make_unique<testing::FakeFileSelector>(file, requests));
        testing::clickOnPage(*editor.getFrame(), kLoadWaveform);
        ASSERT_EQ(requests.size(), 1u);
        lv2.instrument->activate();
    }

    testing::Lv2Driver lv2;
    DrawTestEditor& editor = *drawTestEditorOf(lv2.instrument->instrument().synth());
    testfiles::TemporaryDirectory folder;
    alignas(8) std::array<std::uint8_t, 4096> notify{};
};

TEST_F(StateChanged, TheHostIsToldOnceAfterAUserWaveformIsLoaded) {
    EXPECT_EQ(noticesInBlock(), 0);
    loadWaveformInEditor();
    EXPECT_EQ(noticesInBlock(), 1);
    EXPECT_EQ(noticesInBlock(), 0);
}

TEST_F(StateChanged, PlainPlaybackTellsTheHostNothing) {
    for (int block = 0; block < 8; ++block) {
        lv2.midi.add(0, {0x90, 36, 127});
        lv2.midi.add(30, {0xC0, 25});
        lv2.controls[kVolume] = 0.1f * static_cast<float>(block);
        EXPECT_EQ(noticesInBlock(), 0) << block;
    }
}

TEST_F(StateChanged, ANoticeWithoutRoomWaitsForTheNextBlock) {
    loadWaveformInEditor();
    EXPECT_EQ(noticesInBlock(sizeof(LV2_Atom_Sequence_Body) + 8), 0);
    EXPECT_EQ(notifyBuffer()->atom.type, lv2.urids.id(LV2_ATOM__Sequence));
    EXPECT_EQ(noticesInBlock(), 1);
}

} // namespace
} // namespace Korvatune
