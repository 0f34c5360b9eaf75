#include "lv2bundle/Phrase.h"
#include "support/Lv2StateStore.h"

#include <gtest/gtest.h>

#include <lv2/presets/presets.h>
#include <lv2/state/state.h>

#include <algorithm>
#include <cstdio>
#include <string>

namespace Korvatune {
namespace {

using testing::sameBits;

class Lv2BundleSound : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_NE(host.plugin, nullptr); }

    // The program name the instance saves in its state, as a host asks for it.
    std::string savedProgramName(testing::Lv2Instance& lv2) {
        const auto* state = static_cast<const LV2_State_Interface*>(
            lilv_instance_get_extension_data(lv2.instance, LV2_STATE__interface));
        testing::StateStore saved;
        state->save(lilv_instance_get_handle(lv2.instance), testing::StateStore::store, &saved,
                    LV2_STATE_IS_POD | LV2_STATE_IS_PORTABLE, host.features.data());
        const auto& name = saved.values[host.urids.id(Lv2::kProgramNameKey)].bytes;
        return std::string(name.begin(), std::find(name.begin(), name.end(), '\0'));
    }

    testing::BundleCopy copy;
    testing::LilvHost host{copy.folder()};
};

// The output chain works per block, so each block size is compared with the same in VST 2.
TEST_F(Lv2BundleSound, PlaysAPhraseBitForBitAsTheVst2Module) {
    const testing::Overrides overrides = {{kFilterCutoff, 0.35f}, {kVolume, 0.7f}};
    for (const int program : {0, 18, 25, 32, 41}) {
        const auto values = testing::vst2Values(program, overrides);
        for (const float rate : {44100.0f, 48000.0f}) {
            for (const std::uint32_t block : {1u, 333u, 4096u}) {
                const std::vector<float> expected =
                    testing::renderVst2(program, overrides, rate, block);
                const std::vector<float> played = testing::renderLv2(host, values, rate, block);
                EXPECT_GT(testing::peakOf(played), 0.05f);
                EXPECT_TRUE(sameBits(played, expected))
                    << "program " << program << ", " << rate << " Hz, blocks of " << block;
            }
        }
    }
}

// A host applies a preset by setting the ports and restoring its state, the program's name.
TEST_F(Lv2BundleSound, APresetAppliedSoundsAsTheProgramSelected) {
    for (const int program : {0, 14, 25, 39, 44}) {
        char uri[128];
        std::snprintf(uri, sizeof uri, "%s%02d", Lv2::kPresetUriPrefix, program);
        lilv_world_load_resource(host.world, host.node(uri));
        LilvState* preset = lilv_state_new_from_world(host.world, host.urids.map(), host.node(uri));
        ASSERT_NE(preset, nullptr) << uri;
        testing::Lv2Instance lv2(host, 44100.0);
        lilv_state_restore(preset, lv2.instance, testing::Lv2Instance::setPortValue, &lv2, 0,
                           host.features.data());
        lilv_state_free(preset);
        const std::vector<float> expected = testing::renderVst2(program, {}, 44100.0f, 512);
        EXPECT_TRUE(sameBits(testing::renderLv2(host, lv2.controls, 44100.0, 512), expected))
            << program;
        const std::string name =
            testing::textFrom(testing::SynthDriver(44100.0f, testing::vst2ModuleEntry()).get(),
                              effGetProgramNameIndexed, program);
        EXPECT_EQ(savedProgramName(lv2), name);
    }
}

TEST_F(Lv2BundleSound, RefusesSampleRatesItCannotPlay) {
    for (const double rate : {0.0, 500.0, 2.0e6}) {
        LilvInstance* instance = lilv_plugin_instantiate(host.plugin, rate, host.features.data());
        EXPECT_EQ(instance, nullptr) << rate;
        if (instance != nullptr) {
            lilv_instance_free(instance);
        }
    }
}

// Each round loads the binary anew, plays and unloads it.
TEST_F(Lv2BundleSound, TwentyInstancesInTurnPlayAlike) {
    std::vector<float> first;
    for (int round = 0; round < 20; ++round) {
        testing::Lv2Instance lv2(host, 44100.0);
        ASSERT_NE(lv2.instance, nullptr) << round;
        lv2.controls = testing::vst2Values(32, {});
        lv2.activate();
        lv2.midi.add(0, {0x90, 36, 127});
        for (int block = 0; block < 8; ++block) {
            lv2.render(512);
        }
        if (round == 0) {
            first = lv2.left;
            EXPECT_GT(testing::peakOf(first), 0.1f);
        } else {
            EXPECT_TRUE(sameBits(lv2.left, first)) << round;
        }
    }
}

} // namespace
} // namespace Korvatune
