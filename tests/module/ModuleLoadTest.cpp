#include "plugin/vst2/VstAbi.h"

#include <gtest/gtest.h>

#include <dlfcn.h>

#include <array>
#include <vector>

namespace {

using Entry = AEffect* (*)(audioMasterCallback);

VstIntPtr minimalHost(AEffect*, std::int32_t opcode, std::int32_t, VstIntPtr, void*, float) {
    return opcode == audioMasterVersion ? 2400 : 0;
}

VstIntPtr dispatch(AEffect* effect, std::int32_t opcode, std::int32_t index = 0,
                   VstIntPtr value = 0, void* ptr = nullptr, float opt = 0.0f) {
    return effect->dispatcher(effect, opcode, index, value, ptr, opt);
}

// Loads the built module the way a host does: a private namespace, symbols resolved at once.
class LoadedModule : public ::testing::Test {
protected:
    void SetUp() override {
        handle = dlopen(OMBRAFELL_MODULE_PATH, RTLD_NOW | RTLD_LOCAL);
        ASSERT_NE(handle, nullptr) << dlerror();
    }
    void TearDown() override {
        if (handle) {
            EXPECT_EQ(dlclose(handle), 0);
        }
    }
    Entry entry(const char* name) { return reinterpret_cast<Entry>(dlsym(handle, name)); }

    void* handle = nullptr;
};

TEST_F(LoadedModule, ExportsBothEntryNamesForOneFunction) {
    ASSERT_NE(entry("VSTPluginMain"), nullptr);
    EXPECT_EQ(entry("main"), entry("VSTPluginMain"));
    EXPECT_EQ(dlsym(handle, "_ZN9Korvatune9VstXSynthC1EPFlP7AEffectiilPvfE"), nullptr);
}

TEST_F(LoadedModule, SeveralInstancesLiveSideBySide) {
    Entry create = entry("VSTPluginMain");
    ASSERT_NE(create, nullptr);
    std::vector<AEffect*> instances;
    for (int i = 0; i < 4; ++i) {
        instances.push_back(create(minimalHost));
        ASSERT_NE(instances.back(), nullptr);
        EXPECT_EQ(instances.back()->magic, 0x56737450);
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

TEST(ModuleReload, LoadsAndUnloadsRepeatedly) {
    for (int round = 0; round < 10; ++round) {
        void* handle = dlopen(OMBRAFELL_MODULE_PATH, RTLD_NOW | RTLD_LOCAL);
        ASSERT_NE(handle, nullptr) << dlerror();
        auto create = reinterpret_cast<Entry>(dlsym(handle, "main"));
        ASSERT_NE(create, nullptr);
        AEffect* effect = create(minimalHost);
        ASSERT_NE(effect, nullptr);
        EXPECT_EQ(dispatch(effect, effClose), 1);
        EXPECT_EQ(dlclose(handle), 0);
    }
}

} // namespace
