#include "lv2bundle/Phrase.h"

#include <gtest/gtest.h>

#include <lv2/state/state.h>

#include <cmath>
#include <fstream>

namespace Korvatune {
namespace {

using testing::sameBits;

void writeUser1(const std::filesystem::path& bundle) {
    std::filesystem::create_directories(bundle / "waveforms");
    std::ofstream file(bundle / "waveforms" / "user01.raw", std::ios::binary);
    for (int i = 0; i < 4096; ++i) {
        const float phase = static_cast<float>(i) / 4096.0f;
        const float sample = std::sin(6.2831855f * phase) * std::sin(31.0f * phase);
        file.write(reinterpret_cast<const char*>(&sample), sizeof sample);
    }
}

// A session saved with a user waveform loaded from a file sounds the same when it is opened
// where the file is gone: the state carries the table itself, through the host's text form.
TEST(Lv2BundleState, CarriesAUserWaveformBeyondItsFile) {
    testing::BundleCopy copy;
    writeUser1(copy.bundle());
    testing::LilvHost host(copy.folder());
    ASSERT_NE(host.plugin, nullptr);
    // Darkcore Bassdrum 1 plays User1 on its first oscillator.
    const auto values = testing::vst2Values(18, {});
    const std::vector<float> withFile = testing::renderLv2(host, values, 44100.0, 512);

    testing::Lv2Instance saved(host, 44100.0);
    saved.controls = values;
    LilvState* state = lilv_state_new_from_instance(
        host.plugin, saved.instance, host.urids.map(), nullptr, nullptr, nullptr, nullptr,
        testing::Lv2Instance::portValue, &saved, LV2_STATE_IS_POD | LV2_STATE_IS_PORTABLE,
        host.features.data());
    ASSERT_NE(state, nullptr);
    char* session = lilv_state_to_string(host.world, host.urids.map(), host.urids.unmap(), state,
                                         "urn:ombrafell:test:session", nullptr);
    lilv_state_free(state);
    ASSERT_NE(session, nullptr);
    std::filesystem::remove_all(copy.bundle() / "waveforms");

    const std::vector<float> withoutFile = testing::renderLv2(host, values, 44100.0, 512);
    EXPECT_FALSE(sameBits(withoutFile, withFile));

    LilvState* reopened = lilv_state_new_from_string(host.world, host.urids.map(), session);
    lilv_free(session);
    ASSERT_NE(reopened, nullptr);
    testing::Lv2Instance restored(host, 44100.0);
    lilv_state_restore(reopened, restored.instance, testing::Lv2Instance::setPortValue, &restored,
                       0, host.features.data());
    lilv_state_free(reopened);
    EXPECT_EQ(restored.controls, values);
    restored.activate();
    EXPECT_TRUE(sameBits(testing::playPhrase(restored, 512), withFile));
}

} // namespace
} // namespace Korvatune
