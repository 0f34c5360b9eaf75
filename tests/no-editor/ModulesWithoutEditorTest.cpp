#include "plugin/vst2/VstAbi.h"

#include <gtest/gtest.h>

#include <dlfcn.h>

#include <algorithm>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

// The modules of a build without the editor: they play, and offer hosts no editor to open.
namespace {

VstIntPtr minimalHost(AEffect*, std::int32_t opcode, std::int32_t, VstIntPtr, void*, float) {
    return opcode == audioMasterVersion ? 2400 : 0;
}

struct Module {
    explicit Module(const char* path) : handle(dlopen(path, RTLD_NOW | RTLD_LOCAL)) {}
    ~Module() {
        if (handle != nullptr) {
            dlclose(handle);
        }
    }
    Module(const Module&) = delete;
    Module& operator=(const Module&) = delete;

    void* handle;
};

VstIntPtr dispatch(AEffect* effect, std::int32_t opcode, std::int32_t index = 0,
                   VstIntPtr value = 0, void* ptr = nullptr) {
    return effect->dispatcher(effect, opcode, index, value, ptr, 0.0f);
}

TEST(Vst2ModuleWithoutEditor, PlaysAndHasNoEditor) {
    const Module module(OMBRAFELL_MODULE_PATH);
    ASSERT_NE(module.handle, nullptr) << dlerror();
    using Entry = AEffect* (*)(audioMasterCallback);
    const auto entry = reinterpret_cast<Entry>(dlsym(module.handle, "VSTPluginMain"));
    ASSERT_NE(entry, nullptr);
    AEffect* effect = entry(minimalHost);
    ASSERT_NE(effect, nullptr);
    EXPECT_EQ(effect->flags, effFlagsCanReplacing | effFlagsIsSynth);
    int parent = 0;
    EXPECT_EQ(dispatch(effect, effEditOpen, 0, 0, &parent), 0);

    dispatch(effect, effMainsChanged, 0, 1);
    VstMidiEvent noteOn{};
    noteOn.type = kVstMidiType;
    noteOn.byteSize = sizeof noteOn;
    noteOn.midiData[0] = static_cast<char>(0x90);
    noteOn.midiData[1] = 36;
    noteOn.midiData[2] = 127;
    VstEvents events{};
    events.numEvents = 1;
    events.events[0] = reinterpret_cast<VstEvent*>(&noteOn);
    dispatch(effect, effProcessEvents, 0, 0, &events);
    std::vector<float> left(4096), right(4096);
    float* outputs[] = {left.data(), right.data()};
    effect->processReplacing(effect, nullptr, outputs, 4096);
    const auto loudest = std::max_element(
        left.begin(), left.end(), [](float a, float b) { return std::abs(a) < std::abs(b); });
    EXPECT_GT(std::abs(*loudest), 0.01f);
    dispatch(effect, effClose);
}

std::string fileText(const std::string& path) {
    std::ifstream in(path);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

TEST(Lv2BundleWithoutEditor, DescribesAndExportsNoUi) {
    const std::string bundle = OMBRAFELL_LV2_BUNDLE;
    const std::string description = fileText(bundle + "/ombrafell.ttl");
    ASSERT_NE(description.find("lv2:InstrumentPlugin"), std::string::npos);
    EXPECT_EQ(description.find("ui:ui"), std::string::npos);
    EXPECT_EQ(fileText(bundle + "/manifest.ttl").find("ui:X11UI"), std::string::npos);

    const Module module((bundle + "/ombrafell.so").c_str());
    ASSERT_NE(module.handle, nullptr) << dlerror();
    EXPECT_NE(dlsym(module.handle, "lv2_descriptor"), nullptr);
    EXPECT_EQ(dlsym(module.handle, "lv2ui_descriptor"), nullptr);
}

} // namespace
