#include "host/PluginHost.h"
#include "plugin/vst2/VstAbi.h"
#include "support/ModuleBesideProgram.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <string>
#include <vector>

namespace Korvatune {
namespace {

using Entry = AEffect*(VSTCALLBACK*)(audioMasterCallback);

VstIntPtr VSTCALLBACK minimalHost(AEffect*, std::int32_t opcode, std::int32_t, VstIntPtr, void*,
                                  float) {
    return opcode == audioMasterVersion ? 2400 : 0;
}

VstIntPtr dispatch(AEffect* effect, std::int32_t opcode, std::int32_t index = 0,
                   VstIntPtr value = 0, void* ptr = nullptr, float opt = 0.0f) {
    return effect->dispatcher(effect, opcode, index, value, ptr, opt);
}

const IMAGE_NT_HEADERS* headersOf(HMODULE module) {
    const auto* base = reinterpret_cast<const unsigned char*>(module);
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
    return reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
}

template <typename T> const T* atOffset(HMODULE module, DWORD offset) {
    return reinterpret_cast<const T*>(reinterpret_cast<const unsigned char*>(module) + offset);
}

// The names in the module's export directory, as the loader sees them.
std::vector<std::string> exportedNames(HMODULE module) {
    const IMAGE_DATA_DIRECTORY& directory =
        headersOf(module)->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_EXPORT];
    if (directory.Size == 0) {
        return {};
    }
    const auto* exports = atOffset<IMAGE_EXPORT_DIRECTORY>(module, directory.VirtualAddress);
    const auto* names = atOffset<DWORD>(module, exports->AddressOfNames);
    std::vector<std::string> result;
    for (DWORD i = 0; i < exports->NumberOfNames; ++i) {
        result.emplace_back(atOffset<char>(module, names[i]));
    }
    std::sort(result.begin(), result.end());
    return result;
}

// The DLLs the module imports from, in lower case.
std::vector<std::string> importedLibraries(HMODULE module) {
    const IMAGE_DATA_DIRECTORY& directory =
        headersOf(module)->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    std::vector<std::string> result;
    for (const auto* entry = atOffset<IMAGE_IMPORT_DESCRIPTOR>(module, directory.VirtualAddress);
         entry->Name != 0; ++entry) {
        std::string name = atOffset<char>(module, entry->Name);
        std::transform(name.begin(), name.end(), name.begin(),
                       [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
        result.push_back(name);
    }
    return result;
}

class LoadedModule : public ::testing::Test {
protected:
    void SetUp() override {
        const std::wstring path = Platform::pathFromUtf8(testing::moduleBesideProgram()).wstring();
        module = LoadLibraryW(path.c_str());
        ASSERT_NE(module, nullptr) << "error " << GetLastError();
    }
    void TearDown() override {
        if (module) {
            EXPECT_NE(FreeLibrary(module), 0);
        }
    }
    Entry entry(const char* name) {
        return reinterpret_cast<Entry>(reinterpret_cast<void*>(GetProcAddress(module, name)));
    }

    HMODULE module = nullptr;
};

TEST_F(LoadedModule, ExportsExactlyBothEntryNamesForOneFunction) {
    EXPECT_EQ(exportedNames(module), (std::vector<std::string>{"VSTPluginMain", "main"}));
    ASSERT_NE(entry("VSTPluginMain"), nullptr);
    EXPECT_EQ(entry("main"), entry("VSTPluginMain"));
}

TEST_F(LoadedModule, ImportsOnlyLibrariesEveryWindowsHas) {
    const std::vector<std::string> allowed = {"kernel32.dll", "user32.dll",  "gdi32.dll",
                                              "comdlg32.dll", "ole32.dll",   "shell32.dll",
                                              "msvcrt.dll",   "advapi32.dll"};
    const std::vector<std::string> imported = importedLibraries(module);
    EXPECT_FALSE(imported.empty());
    for (const std::string& name : imported) {
        EXPECT_NE(std::find(allowed.begin(), allowed.end(), name), allowed.end()) << name;
    }
}

TEST_F(LoadedModule, FillsTheRecordAndNamesItsPrograms) {
    AEffect* effect = entry("VSTPluginMain")(minimalHost);
    ASSERT_NE(effect, nullptr);
    EXPECT_EQ(effect->magic, 0x56737450);
    EXPECT_EQ(effect->uniqueID, 0x4B564F42);
    EXPECT_EQ(effect->flags, 0x111);
    EXPECT_EQ(effect->numPrograms, 45);
    EXPECT_EQ(effect->numParams, 60);
    EXPECT_EQ(effect->numInputs, 0);
    EXPECT_EQ(effect->numOutputs, 2);
    EXPECT_EQ(effect->version, 1);
    EXPECT_EQ(effect->ioRatio, 1.0f);

    char name[64] = {};
    EXPECT_EQ(dispatch(effect, effGetProgramNameIndexed, 0, 0, name), 1);
    EXPECT_STREQ(name, "KV Bassdrum");
    EXPECT_EQ(dispatch(effect, effGetProgramNameIndexed, 25, 0, name), 1);
    EXPECT_STREQ(name, "Low Q Bassdrum");
    dispatch(effect, effSetProgram, 0, 44);
    EXPECT_EQ(dispatch(effect, effGetProgram), 44);
    EXPECT_EQ(dispatch(effect, effClose), 1);
}

TEST_F(LoadedModule, FourInstancesLiveSideBySide) {
    Entry create = entry("main");
    ASSERT_NE(create, nullptr);
    std::vector<AEffect*> instances;
    for (int i = 0; i < 4; ++i) {
        instances.push_back(create(minimalHost));
        ASSERT_NE(instances.back(), nullptr);
    }
    dispatch(instances[1], effSetProgram, 0, 25);
    instances[2]->setParameter(instances[2], 59, 0.5f);

    char name[32] = {};
    dispatch(instances[0], effGetProgramName, 0, 0, name);
    EXPECT_STREQ(name, "KV Bassdrum");
    dispatch(instances[1], effGetProgramName, 0, 0, name);
    EXPECT_STREQ(name, "Low Q Bassdrum");
    EXPECT_EQ(instances[2]->getParameter(instances[2], 59), 0.5f);
    EXPECT_EQ(instances[3]->getParameter(instances[3], 59), 0.842f);

    std::array<float, 64> left{}, right{};
    std::array<float*, 2> outputs = {left.data(), right.data()};
    for (AEffect* effect : instances) {
        dispatch(effect, effSetSampleRate, 0, 0, nullptr, 48000.0f);
        dispatch(effect, effMainsChanged, 0, 1);
        effect->processReplacing(effect, nullptr, outputs.data(), 64);
        dispatch(effect, effMainsChanged, 0, 0);
        EXPECT_EQ(dispatch(effect, effClose), 1);
    }
}

TEST(ModuleReload, LoadsPlaysAndUnloadsTenTimes) {
    for (int round = 0; round < 10; ++round) {
        std::string error;
        std::unique_ptr<PluginHost> host =
            PluginHost::createFromModule(testing::moduleBesideProgram(), error);
        ASSERT_NE(host, nullptr) << error;
        host->prepare(44100.0f, 256);
        host->resume();
        std::array<float, 256> left{}, right{};
        host->process(left.data(), right.data(), 256);
        host->stop();
    }
    // Nothing of the module stays mapped once the last host let it go.
    EXPECT_EQ(GetModuleHandleW(L"Ombrafell.dll"), nullptr);
}

} // namespace
} // namespace Korvatune
