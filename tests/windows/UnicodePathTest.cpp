#include "platform/TextPaths.h"
#include "plugin/VstXSynth.h"
#include "programs/ProgramFile.h"
#include "support/SynthDriver.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>

namespace Korvatune {
namespace {

constexpr const wchar_t* kVariable = L"KORVATUNE_OMBRAFELL";
constexpr int kTableSize = 4096;

// A data folder whose name is outside ASCII and outside any single ANSI code page, removed with
// the environment setting when the test ends.
class UnicodeDataFolder : public ::testing::Test {
protected:
    void SetUp() override {
        folder = std::filesystem::temp_directory_path() / L"Jürgen Łukasz ombrafell";
        std::filesystem::create_directories(folder / L"waveforms");
        ASSERT_EQ(_wputenv_s(kVariable, folder.c_str()), 0);
    }
    void TearDown() override {
        _wputenv_s(kVariable, L"");
        std::error_code error;
        std::filesystem::remove_all(folder, error);
    }

    // A square cycle, low half then high half, so it cannot be mistaken for a built-in shape.
    void writeUserWaveform(const wchar_t* name) {
        std::ofstream file(folder / L"waveforms" / name, std::ios::binary);
        for (int i = 0; i < kTableSize; ++i) {
            const float value = i < kTableSize / 2 ? -0.25f : 0.25f;
            file.write(reinterpret_cast<const char*>(&value), sizeof value);
        }
    }

    std::filesystem::path folder;
};

TEST_F(UnicodeDataFolder, UserWaveformLoadsAtStartUp) {
    writeUserWaveform(L"user01.raw");
    testing::SynthDriver synth;
    WaveformProvider& provider =
        *dynamic_cast<VstXSynth*>(AudioEffect::fromAeffect(synth.get()))->getWaveformProvider();
    EXPECT_EQ(provider.getFolder(), Platform::pathToUtf8(folder));
    EXPECT_EQ(provider.userFilePath(1), Platform::pathToUtf8(folder) + "\\waveforms\\user01.raw");
    const float* user1 = provider.getTable(20.0f / 29.0f);
    EXPECT_NEAR(user1[0], -0.98777f, 1e-5f);
    EXPECT_NEAR(user1[kTableSize - 1], 0.98777f, 1e-5f);
    // Slot 2 has no file and keeps its built-in shape.
    const float* user2 = provider.getTable(21.0f / 29.0f);
    EXPECT_NE(std::memcmp(user1, user2, sizeof(float) * kTableSize), 0);
}

// Hosts on Windows name the plug-in's folder in the system's ANSI code page.
std::string ansiHostFolder;

VstIntPtr VSTCALLBACK ansiHost(AEffect*, std::int32_t opcode, std::int32_t, VstIntPtr, void*,
                               float) {
    if (opcode == audioMasterGetDirectory) {
        return reinterpret_cast<VstIntPtr>(ansiHostFolder.c_str());
    }
    return opcode == audioMasterVersion ? 2400 : 0;
}

TEST(HostFolder, InTheAnsiCodePageLoadsItsUserWaveforms) {
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / L"J\u00fcrgen host ombrafell";
    const std::wstring wide = folder.wstring();
    BOOL lossy = FALSE;
    char ansi[MAX_PATH] = {};
    WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide.c_str(), -1, ansi, MAX_PATH, nullptr,
                        &lossy);
    if (lossy) {
        GTEST_SKIP() << "the ANSI code page has no u with diaeresis";
    }
    ansiHostFolder = ansi;
    std::filesystem::create_directories(folder / L"waveforms");
    {
        std::ofstream file(folder / L"waveforms" / L"user03.raw", std::ios::binary);
        for (int i = 0; i < kTableSize; ++i) {
            const float value = i < 100 ? 0.5f : -0.125f;
            file.write(reinterpret_cast<const char*>(&value), sizeof value);
        }
    }
    AEffect* effect = VSTPluginMain(ansiHost);
    ASSERT_NE(effect, nullptr);
    WaveformProvider& provider =
        *dynamic_cast<VstXSynth*>(AudioEffect::fromAeffect(effect))->getWaveformProvider();
    EXPECT_EQ(provider.getFolder(), Platform::pathToUtf8(folder));
    const float* user3 = provider.getTable(22.0f / 29.0f);
    EXPECT_NEAR(user3[0], 0.98777f, 1e-5f);
    EXPECT_NEAR(user3[kTableSize - 1], -0.98777f / 4.0f, 1e-5f);
    effect->dispatcher(effect, effClose, 0, 0, nullptr, 0.0f);
    std::error_code error;
    std::filesystem::remove_all(folder, error);
}

TEST_F(UnicodeDataFolder, ProgramFilesRoundTrip) {
    testing::SynthDriver synth;
    VstXSynth& plugin = *dynamic_cast<VstXSynth*>(AudioEffect::fromAeffect(synth.get()));
    const std::string path = Platform::pathToUtf8(folder / L"Kick für Łódź.obp");
    plugin.setParameter(59, 0.25f);
    ASSERT_TRUE(writeProgramFile(path.c_str(), plugin.currentProgram()));
    EXPECT_TRUE(std::filesystem::exists(folder / L"Kick für Łódź.obp"));
    plugin.setParameter(59, 0.75f);
    ASSERT_TRUE(readProgramFile(plugin.currentProgram(), path.c_str()));
    plugin.setProgram(plugin.getProgram());
    EXPECT_FLOAT_EQ(plugin.getParameter(59), 0.25f);
}

} // namespace
} // namespace Korvatune
