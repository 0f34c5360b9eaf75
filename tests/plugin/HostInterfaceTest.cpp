#include "plugin/vst2/EntryPoint.h"
#include "support/TestHost.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>

namespace Korvatune {
namespace {

using testing::dispatch;
using testing::HostLog;
using testing::textFrom;

struct ClosedByHost {
    void operator()(AEffect* effect) const { dispatch(effect, effClose); }
};
using Instance = std::unique_ptr<AEffect, ClosedByHost>;

class HostInterface : public ::testing::Test {
protected:
    void SetUp() override { testing::currentHostLog() = &log; }
    void TearDown() override { testing::currentHostLog() = nullptr; }

    Instance create() { return Instance(VSTPluginMain(testing::recordingHost)); }

    HostLog log;
};

TEST_F(HostInterface, RecordAfterConstruction) {
    Instance effect = create();
    ASSERT_NE(effect, nullptr);
    EXPECT_EQ(effect->magic, 0x56737450);
    EXPECT_EQ(effect->numPrograms, 45);
    EXPECT_EQ(effect->numParams, 60);
    EXPECT_EQ(effect->numInputs, 0);
    EXPECT_EQ(effect->numOutputs, 2);
    EXPECT_EQ(effect->flags & ~effFlagsHasEditor, effFlagsCanReplacing | effFlagsIsSynth);
    EXPECT_EQ(effect->uniqueID, 0x4B564F42);
    EXPECT_EQ(effect->version, 1);
    EXPECT_EQ(effect->initialDelay, 0);
    EXPECT_EQ(effect->ioRatio, 1.0f);
    EXPECT_NE(effect->processReplacing, nullptr);
}

TEST_F(HostInterface, HostVersionZeroCreatesNothing) {
    log.version = 0;
    EXPECT_EQ(VSTPluginMain(testing::recordingHost), nullptr);
    EXPECT_EQ(log.directoryRequests, 0);
    EXPECT_EQ(VSTPluginMain(nullptr), nullptr);
}

TEST_F(HostInterface, IdentityAnswers) {
    Instance effect = create();
    EXPECT_EQ(textFrom(effect.get(), effGetEffectName), "Ombrafell");
    EXPECT_EQ(textFrom(effect.get(), effGetVendorString), "Korvatune");
    EXPECT_EQ(textFrom(effect.get(), effGetProductString), "Ombrafell");
    EXPECT_EQ(dispatch(effect.get(), effGetVendorVersion), 1000);
    EXPECT_EQ(dispatch(effect.get(), effGetVstVersion), 2400);
    EXPECT_EQ(dispatch(effect.get(), effIdentify), 0x4E764566);
    EXPECT_EQ(dispatch(effect.get(), effGetPlugCategory), kPlugCategSynth);
    EXPECT_EQ(dispatch(effect.get(), effGetNumMidiInputChannels), 1);
    EXPECT_EQ(dispatch(effect.get(), effCanBeAutomated, 59), 1);
    EXPECT_EQ(dispatch(effect.get(), effSetTotalSampleToProcess, 0, 777), 777);
}

TEST_F(HostInterface, CanDoAnswersOnlyTheThreeTexts) {
    Instance effect = create();
    auto canDo = [&](const char* text) {
        return dispatch(effect.get(), effCanDo, 0, 0, const_cast<char*>(text));
    };
    EXPECT_EQ(canDo("receiveVstEvents"), 1);
    EXPECT_EQ(canDo("receiveVstMidiEvent"), 1);
    EXPECT_EQ(canDo("midiProgramNames"), 1);
    EXPECT_EQ(canDo(""), -1);
    EXPECT_EQ(canDo("sendVstEvents"), -1);
    EXPECT_EQ(canDo("sendVstMidiEvent"), -1);
    EXPECT_EQ(canDo("receiveVstEventsX"), -1);
}

TEST_F(HostInterface, OpcodesWithoutEffectAnswerZero) {
    Instance effect = create();
    void* chunk = nullptr;
    EXPECT_EQ(dispatch(effect.get(), effGetChunk, 0, 0, &chunk), 0);
    EXPECT_EQ(chunk, nullptr);
    for (std::int32_t opcode : {9,  16, 17, 18, 20, 21, 23, 24, 27, 28, 30, 31, 32, 33, 36, 41,
                                44, 46, 50, 52, 56, 65, 67, 68, 70, 71, 72, 74, 77, 79, 80, 200}) {
        EXPECT_EQ(dispatch(effect.get(), opcode), 0) << "opcode " << opcode;
    }
}

TEST_F(HostInterface, ProgramSelectionAndNames) {
    Instance effect = create();
    EXPECT_EQ(dispatch(effect.get(), effGetProgram), 0);
    dispatch(effect.get(), effSetProgram, 0, 25);
    EXPECT_EQ(dispatch(effect.get(), effGetProgram), 25);
    EXPECT_EQ(textFrom(effect.get(), effGetProgramName), "Low Q Bassdrum");
    dispatch(effect.get(), effSetProgram, 0, 45);
    dispatch(effect.get(), effSetProgram, 0, -1);
    EXPECT_EQ(dispatch(effect.get(), effGetProgram), 25);

    char name[] = "A name that is far longer than the field";
    dispatch(effect.get(), effSetProgramName, 0, 0, name);
    EXPECT_EQ(textFrom(effect.get(), effGetProgramName), "A name that is far longe");

    char text[64];
    EXPECT_EQ(dispatch(effect.get(), effGetProgramNameIndexed, 0, 7, text), 1);
    EXPECT_STREQ(text, "KV Bassdrum");
    EXPECT_EQ(dispatch(effect.get(), effGetProgramNameIndexed, 44, -1, text), 1);
    EXPECT_STREQ(text, "KV Filter Synth 2");
    EXPECT_EQ(dispatch(effect.get(), effGetProgramNameIndexed, 45, 0, text), 0);
    EXPECT_EQ(dispatch(effect.get(), effGetProgramNameIndexed, -1, 0, text), 0);
}

TEST_F(HostInterface, OutputPins) {
    Instance effect = create();
    VstPinProperties pin{};
    EXPECT_EQ(dispatch(effect.get(), effGetOutputProperties, 0, 0, &pin), 1);
    EXPECT_STREQ(pin.label, "Vstx 1");
    EXPECT_EQ(dispatch(effect.get(), effGetOutputProperties, 1, 0, &pin), 1);
    EXPECT_STREQ(pin.label, "Vstx 2");
    EXPECT_EQ(pin.flags, 3);
    EXPECT_EQ(dispatch(effect.get(), effGetOutputProperties, 2, 0, &pin), 0);
    EXPECT_EQ(dispatch(effect.get(), effGetInputProperties, 0, 0, &pin), 0);
}

TEST_F(HostInterface, MidiProgramNames) {
    Instance effect = create();
    MidiProgramName name{};
    name.thisProgramIndex = 40;
    EXPECT_EQ(dispatch(effect.get(), effGetMidiProgramName, 9, 0, &name), 1);
    EXPECT_STREQ(name.name, "Standard");
    EXPECT_EQ(name.midiProgram, 0);
    EXPECT_EQ(name.midiBankMsb, -1);
    EXPECT_EQ(name.midiBankLsb, -1);

    name.thisProgramIndex = 7;
    EXPECT_EQ(dispatch(effect.get(), effGetMidiProgramName, 0, 0, &name), 128);
    EXPECT_EQ(name.parentCategoryIndex, 1);
    EXPECT_EQ(name.midiProgram, 7);

    name.thisProgramIndex = 127;
    EXPECT_EQ(dispatch(effect.get(), effGetMidiProgramName, 0, 0, &name), 128);
    EXPECT_STREQ(name.name, "Gunshot");
    EXPECT_EQ(name.parentCategoryIndex, 15);

    name.thisProgramIndex = 128;
    std::strcpy(name.name, "untouched");
    EXPECT_EQ(dispatch(effect.get(), effGetMidiProgramName, 0, 0, &name), 0);
    EXPECT_STREQ(name.name, "untouched");
}

TEST_F(HostInterface, CurrentMidiProgramAndCategories) {
    Instance effect = create();
    MidiProgramName name{};
    EXPECT_EQ(dispatch(effect.get(), effGetCurrentMidiProgram, 3, 0, &name), 3);
    EXPECT_EQ(name.thisProgramIndex, 3);
    EXPECT_STREQ(name.name, "Honky-tonk Piano");
    EXPECT_EQ(dispatch(effect.get(), effGetCurrentMidiProgram, 16, 0, &name), -1);
    EXPECT_EQ(dispatch(effect.get(), effGetCurrentMidiProgram, -1, 0, &name), -1);

    MidiProgramCategory category{};
    category.thisCategoryIndex = 4;
    EXPECT_EQ(dispatch(effect.get(), effGetMidiProgramCategory, 0, 0, &category), 17);
    EXPECT_STREQ(category.name, "Bass");
    EXPECT_EQ(category.parentCategoryIndex, -1);
    category.thisCategoryIndex = 17;
    EXPECT_EQ(dispatch(effect.get(), effGetMidiProgramCategory, 0, 0, &category), 17);
    EXPECT_STREQ(category.name, "");
    EXPECT_EQ(dispatch(effect.get(), effGetMidiProgramCategory, 9, 0, &category), 1);
    EXPECT_STREQ(category.name, "Drums");

    MidiKeyName key{};
    std::strcpy(key.keyName, "kick");
    key.flags = 5;
    EXPECT_EQ(dispatch(effect.get(), effGetMidiKeyName, 0, 0, &key), 0);
    EXPECT_STREQ(key.keyName, "");
    EXPECT_EQ(key.flags, 0);
}

TEST_F(HostInterface, NullPointersAreIgnored) {
    Instance effect = create();
    for (std::int32_t opcode :
         {effSetProgramName, effGetProgramName, effGetParamLabel, effGetParamDisplay,
          effGetParamName, effEditGetRect, effEditOpen, effProcessEvents, effGetProgramNameIndexed,
          effGetOutputProperties, effGetEffectName, effGetVendorString, effGetProductString,
          effGetMidiProgramName, effGetMidiProgramCategory, effGetMidiKeyName,
          effGetSpeakerArrangement}) {
        EXPECT_EQ(dispatch(effect.get(), opcode), 0) << "opcode " << opcode;
    }
    EXPECT_EQ(dispatch(effect.get(), effCanDo), -1);
    EXPECT_EQ(dispatch(effect.get(), effGetCurrentMidiProgram, 0), -1);
}

TEST_F(HostInterface, SpeakerArrangementIsCleared) {
    Instance effect = create();
    int marker = 0;
    void* input = &marker;
    void* output = &marker;
    EXPECT_EQ(dispatch(effect.get(), effGetSpeakerArrangement, 0,
                       reinterpret_cast<VstIntPtr>(&output), &input),
              0);
    EXPECT_EQ(input, nullptr);
    EXPECT_EQ(output, nullptr);
}

TEST_F(HostInterface, EventsAreHandedBackToTheHost) {
    Instance effect = create();
    VstEvents events{};
    EXPECT_EQ(dispatch(effect.get(), effProcessEvents, 0, 0, &events), 1);
    EXPECT_EQ(log.processEventsCalls, 1);
    EXPECT_EQ(log.lastEvents, &events);
}

TEST_F(HostInterface, CloseAnswersOne) {
    AEffect* effect = VSTPluginMain(testing::recordingHost);
    ASSERT_NE(effect, nullptr);
    EXPECT_EQ(dispatch(effect, effClose), 1);
}

} // namespace
} // namespace Korvatune
