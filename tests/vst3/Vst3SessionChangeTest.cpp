#include "vst3/EditorWaveformLoad.h"
#include "vst3/HostMessages.h"
#include "vst3/Vst3TestHost.h"

#include "plugin/InstrumentState.h"
#include "plugin/vst3/Vst3Controller.h"

#include <gtest/gtest.h>

namespace Korvatune {
namespace {

using namespace Vst3;
using testing::createLinked;
using testing::kUser1;

// A note on oscillator 1's User1 table, from a processor as it is.
std::vector<float> playUser1(testing::Processor& processor) {
    testing::ParameterChanges changes;
    changes.add(kOscWaveform, 0, kUser1);
    testing::EventList events;
    events.addNote(true, 0, 0, 36, 127);
    processor.render(512, &events, &changes);
    for (int block = 0; block < 7; ++block) {
        processor.render(512);
    }
    return processor.left;
}

std::unique_ptr<RestoredState> savedStateOf(testing::Processor& processor) {
    return decodeStateRecord(processor.savedState());
}

// A host that joins the parts and has the controller's editor open offscreen, where the test
// loads waveforms through its LOAD button.
class Vst3SessionChange : public ::testing::Test {
protected:
    Vst3SessionChange() : Vst3SessionChange(&host) {}
    explicit Vst3SessionChange(FUnknown* context)
        : controller(createLinked<IEditController>(kControllerUid), context),
          own(*static_cast<Vst3Controller*>(controller.edit.get())),
          editor(*drawTestEditorOf(own.instrument().synth())) {
        editor.openOffscreen();
    }
    ~Vst3SessionChange() override { editor.close(); }

    void loadWaveformInEditor() {
        ASSERT_EQ(controller.edit->setParamNormalized(kOscWaveform, kUser1), kResultOk);
        ASSERT_EQ(testing::loadWaveformThroughEditor(editor, folder), 1u);
    }

    WaveformTable controllersUser1() { return own.instrument().state()->userWaveforms[0]; }

    testing::HostApplication host;
    testing::Processor processor{createLinked<IComponent>(kProcessorUid), 44100.0};
    testing::Controller controller;
    testing::Connection connection{processor, controller};
    Vst3Controller& own;
    DrawTestEditor& editor;
    testfiles::TemporaryDirectory folder;
};

// A host without an application object that makes messages.
class Vst3SessionChangeWithoutHostMessages : public Vst3SessionChange {
protected:
    Vst3SessionChangeWithoutHostMessages() : Vst3SessionChange(nullptr) {}
};

TEST_F(Vst3SessionChange, TheProcessorPlaysAWaveformLoadedInTheEditor) {
    ASSERT_TRUE(processor.ready);
    ASSERT_TRUE(connection.connected);
    loadWaveformInEditor();
    own.publishSessionChange();
    ASSERT_EQ(host.messages.size(), 1u);
    const std::vector<float> played = playUser1(processor);

    testing::Processor restored(createLinked<IComponent>(kProcessorUid), 44100.0);
    testing::MemoryStream record(encodeStateRecord(*own.instrument().state()));
    ASSERT_EQ(restored.component->setState(&record), kResultOk);
    EXPECT_EQ(played, playUser1(restored));

    testing::Processor untouched(createLinked<IComponent>(kProcessorUid), 44100.0);
    EXPECT_NE(played, playUser1(untouched)) << "the loaded table sounds unlike the built-in one";
}

TEST_F(Vst3SessionChange, TheSavedStateHoldsTheWaveformButNotTheControllersValues) {
    ASSERT_EQ(controller.edit->setParamNormalized(kProgramId, 5.0 / kLastProgram), kResultOk);
    ASSERT_EQ(controller.edit->setParamNormalized(kVolume, 0.1), kResultOk);
    loadWaveformInEditor();
    own.publishSessionChange();
    const std::unique_ptr<RestoredState> saved = savedStateOf(processor);
    ASSERT_TRUE(saved->userWaveforms[0].has_value());
    EXPECT_EQ(*saved->userWaveforms[0], controllersUser1());
    ASSERT_TRUE(saved->values[kVolume].has_value());
    EXPECT_EQ(*saved->values[kVolume], Instrument::defaultValue(kVolume));
    ASSERT_TRUE(saved->values[kOscWaveform].has_value());
    EXPECT_NE(*saved->values[kOscWaveform], static_cast<float>(kUser1));
    EXPECT_EQ(saved->program, 0);
}

TEST_F(Vst3SessionChange, TheHostMarksItsProjectModifiedOnce) {
    loadWaveformInEditor();
    own.publishSessionChange();
    own.publishSessionChange();
    EXPECT_EQ(controller.handler.dirtyCalls, std::vector<bool>{true});
    EXPECT_EQ(host.messages.size(), 1u);
}

TEST_F(Vst3SessionChange, TheProcessorTakesTheRenamedProgram) {
    own.instrument().renameCurrentProgram("Deep Thump");
    own.instrument().synth().reportStateChange();
    own.publishSessionChange();
    const std::unique_ptr<RestoredState> saved = savedStateOf(processor);
    ASSERT_TRUE(saved->programName.has_value());
    EXPECT_EQ(*saved->programName, "Deep Thump");
}

TEST_F(Vst3SessionChange, PlainParameterEditsSendNothing) {
    const std::vector<std::uint8_t> before = processor.savedState();
    for (ParamID id : {static_cast<ParamID>(kVolume), static_cast<ParamID>(kOscWaveform)}) {
        ASSERT_EQ(controller.edit->setParamNormalized(id, 0.3), kResultOk);
        own.publishSessionChange();
    }
    EXPECT_TRUE(host.messages.empty());
    EXPECT_TRUE(controller.handler.dirtyCalls.empty());
    EXPECT_EQ(processor.savedState(), before);
}

TEST_F(Vst3SessionChange, AHostWithoutTheSecondHandlerStillGetsTheWaveform) {
    controller.handler.offersHandler2 = false;
    loadWaveformInEditor();
    own.publishSessionChange();
    EXPECT_TRUE(controller.handler.dirtyCalls.empty());
    const std::unique_ptr<RestoredState> saved = savedStateOf(processor);
    ASSERT_TRUE(saved->userWaveforms[0].has_value());
    EXPECT_EQ(*saved->userWaveforms[0], controllersUser1());
}

TEST_F(Vst3SessionChangeWithoutHostMessages, TheControllerSendsAMessageOfItsOwn) {
    loadWaveformInEditor();
    own.publishSessionChange();
    EXPECT_TRUE(host.messages.empty());
    EXPECT_EQ(controller.handler.dirtyCalls, std::vector<bool>{true});
    const std::unique_ptr<RestoredState> saved = savedStateOf(processor);
    ASSERT_TRUE(saved->userWaveforms[0].has_value());
    EXPECT_EQ(*saved->userWaveforms[0], controllersUser1());
}

TEST_F(Vst3SessionChange, TheProcessorRefusesOtherMessages) {
    testing::HostMessage foreign;
    foreign.setMessageID("SomethingElse");
    const std::vector<std::uint8_t> record = encodeStateRecord(*own.instrument().state());
    foreign.setBinary(kStateRecordAttribute, record.data(),
                      static_cast<std::uint32_t>(record.size()));
    EXPECT_EQ(connection.processorPoint->notify(&foreign), kResultFalse);
    testing::HostMessage empty;
    empty.setMessageID(kSessionChangeMessage);
    EXPECT_EQ(connection.processorPoint->notify(&empty), kResultFalse);
    EXPECT_EQ(connection.processorPoint->notify(nullptr), kResultFalse);
}

} // namespace
} // namespace Korvatune
