#include "WaveformTestFiles.h"
#include "waveforms/WaveformProvider.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <memory>

namespace Korvatune {
namespace {

constexpr const char* kVariable = "KORVATUNE_OMBRAFELL";

std::unique_ptr<WaveformProvider> makeProvider() {
    auto provider = std::make_unique<WaveformProvider>();
    provider->setSubfolder("waveforms");
    return provider;
}

TEST(DataFolder, StartsEmpty) {
    WaveformProvider provider;
    EXPECT_EQ(provider.getFolder(), "");
    EXPECT_EQ(provider.getSubfolder(), "");
}

TEST(DataFolder, HostDirectoryWinsOverTheEnvironment) {
    testfiles::EnvironmentGuard guard(kVariable);
    setenv(kVariable, "/from/environment", 1);
    auto provider = makeProvider();
    provider->setFolder("/host/plugins");
    EXPECT_EQ(provider->getFolder(), "/host/plugins");
}

TEST(DataFolder, EnvironmentWithoutHostDirectory) {
    testfiles::EnvironmentGuard guard(kVariable);
    setenv(kVariable, "/from/environment", 1);
    auto provider = makeProvider();
    provider->setFolder(nullptr);
    EXPECT_EQ(provider->getFolder(), "/from/environment");
}

TEST(DataFolder, EmptyHostDirectoryFallsThroughToTheEnvironment) {
    testfiles::EnvironmentGuard guard(kVariable);
    setenv(kVariable, "/from/environment", 1);
    auto provider = makeProvider();
    provider->setFolder("");
    EXPECT_EQ(provider->getFolder(), "/from/environment");
}

TEST(DataFolder, EmptyEnvironmentValueGivesAnEmptyFolder) {
    testfiles::EnvironmentGuard guard(kVariable);
    setenv(kVariable, "", 1);
    auto provider = makeProvider();
    provider->setFolder(nullptr);
    EXPECT_EQ(provider->getFolder(), "");
    // The user file paths then start at the root.
    EXPECT_EQ(provider->userFilePath(1), "/waveforms/user01.raw");
}

TEST(DataFolder, WorkingDirectoryWhenNeitherIsThere) {
    testfiles::EnvironmentGuard guard(kVariable);
    unsetenv(kVariable);
    auto provider = makeProvider();
    provider->setFolder(nullptr);
    EXPECT_EQ(provider->getFolder(), std::filesystem::current_path().string());
    provider->setFolder("");
    EXPECT_EQ(provider->getFolder(), std::filesystem::current_path().string());
}

TEST(DataFolder, UserFilePathsJoinWithSlash) {
    auto provider = makeProvider();
    provider->setFolder("/data/ombrafell");
    EXPECT_EQ(provider->userFilePath(1), "/data/ombrafell/waveforms/user01.raw");
    EXPECT_EQ(provider->userFilePath(9), "/data/ombrafell/waveforms/user09.raw");
    EXPECT_EQ(provider->userFilePath(10), "/data/ombrafell/waveforms/user10.raw");
    EXPECT_EQ(provider->userFilePath(0), "");
    EXPECT_EQ(provider->userFilePath(11), "");
}

TEST(DataFolder, BuildReadsUserFilesFromTheEnvironmentFolder) {
    testfiles::TemporaryDirectory directory;
    std::vector<float> ramp(4096);
    for (int i = 0; i < 4096; ++i) {
        ramp[i] = static_cast<float>(i - 2048) / 4096.0f;
    }
    testfiles::writeBytes(directory.file("waveforms/user04.raw"), testfiles::rawFloats(ramp));

    testfiles::EnvironmentGuard guard(kVariable);
    setenv(kVariable, directory.get().c_str(), 1);
    auto provider = makeProvider();
    provider->setFolder(nullptr);
    provider->build();
    const float* user4 = provider->getTableAt(23);
    EXPECT_EQ(user4[0], -0.98777f);
    EXPECT_NEAR(user4[2048], 0.0f, 1e-7f);
    EXPECT_NEAR(user4[4095], 0.98777f * 2047.0f / 2048.0f, 1e-6f);
}

} // namespace
} // namespace Korvatune
