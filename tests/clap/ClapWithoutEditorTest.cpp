// The CLAP module of a build without the editor: it plays as the VST 2 module of the same build,
// and offers hosts no editor to embed.

#include "clap/ClapPhrase.h"

#include <gtest/gtest.h>

namespace Korvatune {
namespace {

TEST(ClapModuleWithoutEditor, PlaysAsTheVst2ModuleAndOffersNoEditor) {
    testing::ClapModule module;
    ASSERT_TRUE(module.ready());
    testing::TestHost host;
    testing::ClapInstance clap(module, host);
    ASSERT_NE(clap.plugin, nullptr);
    EXPECT_EQ(clap.plugin->getExtension(clap.plugin, Clap::kGuiExtension), nullptr);
    EXPECT_EQ(clap.plugin->getExtension(clap.plugin, Clap::kTimerSupportExtension), nullptr);
    EXPECT_NE(clap.plugin->getExtension(clap.plugin, Clap::kStateExtension), nullptr);
    for (const std::uint32_t block : {1u, 4096u}) {
        const std::vector<float> played = testing::renderClap(module, 32, {}, 44100.0, block);
        EXPECT_GT(testing::peakOf(played), 0.05f);
        EXPECT_TRUE(testing::sameBits(
            played, testing::renderVst2(testing::vst2ModuleEntry(), 32, {}, 44100.0f, block)))
            << "blocks of " << block;
    }
}

} // namespace
} // namespace Korvatune
