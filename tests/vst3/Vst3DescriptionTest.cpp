#include "vst3/Vst2Reference.h"
#include "vst3/Vst3TestHost.h"

#include "plugin/Instrument.h"
#include "support/Vst2Phrase.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>

namespace Korvatune {
namespace {

using namespace Vst3;

// The class id as moduleinfo.json writes it: the four numbers it was made of, in hex.
std::string uidText(const char* cid) {
#ifdef _WIN32
    const int order[16] = {3, 2, 1, 0, 5, 4, 7, 6, 8, 9, 10, 11, 12, 13, 14, 15};
#else
    const int order[16] = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15};
#endif
    std::string text;
    for (const int index : order) {
        char digits[3];
        std::snprintf(digits, sizeof digits, "%02X", static_cast<unsigned char>(cid[index]));
        text += digits;
    }
    return text;
}

std::string fileText(const std::filesystem::path& path) {
    std::ifstream file(path);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

class Vst3Description : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_NE(module.factory(), nullptr); }

    PClassInfo2 classInfo(std::int32_t index) {
        PClassInfo2 info{};
        IPluginFactory2* factory = testing::queried<IPluginFactory2>(module.factory());
        EXPECT_NE(factory, nullptr);
        EXPECT_EQ(factory->getClassInfo2(index, &info), kResultOk);
        return info;
    }

    testing::LoadedModule module;
};

TEST_F(Vst3Description, TheFactoryOffersTheProcessorAndItsController) {
    PFactoryInfo factoryInfo{};
    ASSERT_EQ(module.factory()->getFactoryInfo(&factoryInfo), kResultOk);
    EXPECT_STREQ(factoryInfo.vendor, "Korvatune");
    EXPECT_EQ(factoryInfo.flags & PFactoryInfo::kUnicode, PFactoryInfo::kUnicode);
    ASSERT_EQ(module.factory()->countClasses(), 2);

    const PClassInfo2 processor = classInfo(0);
    EXPECT_TRUE(sameUid(processor.cid, kProcessorUid));
    EXPECT_STREQ(processor.category, "Audio Module Class");
    EXPECT_STREQ(processor.name, "Ombrafell");
    EXPECT_STREQ(processor.subCategories, "Instrument|Drum");
    EXPECT_STREQ(processor.vendor, "Korvatune");
    EXPECT_STREQ(processor.version, OMBRAFELL_VERSION_TEXT);
    EXPECT_EQ(processor.cardinality, PClassInfo::kManyInstances);

    const PClassInfo2 controller = classInfo(1);
    EXPECT_TRUE(sameUid(controller.cid, kControllerUid));
    EXPECT_STREQ(controller.category, "Component Controller Class");

    PClassInfoW wide{};
    IPluginFactory3* factory3 = testing::queried<IPluginFactory3>(module.factory());
    ASSERT_NE(factory3, nullptr);
    ASSERT_EQ(factory3->getClassInfoUnicode(0, &wide), kResultOk);
    EXPECT_EQ(testing::text(wide.name), "Ombrafell");
    EXPECT_EQ(testing::text(wide.vendor), "Korvatune");
    EXPECT_STREQ(wide.subCategories, "Instrument|Drum");
    EXPECT_NE(factory3->getClassInfoUnicode(2, &wide), kResultOk);

    void* object = nullptr;
    const Uid unknown = makeUid(1, 2, 3, 4);
    EXPECT_NE(module.factory()->createInstance(unknown.data(), IComponent::iid.data(), &object),
              kResultOk);
    EXPECT_EQ(object, nullptr);
}

// Hosts index the bundle from moduleinfo.json without loading it: it must say what the binary
// says.
TEST_F(Vst3Description, ModuleInfoNamesTheClassesTheBinaryOffers) {
    const std::string info =
        fileText(testing::bundleUnderTest() / "Contents" / "Resources" / "moduleinfo.json");
    ASSERT_FALSE(info.empty());
    EXPECT_NE(info.find("\"CID\": \"" + uidText(classInfo(0).cid) + "\""), std::string::npos);
    EXPECT_NE(info.find("\"CID\": \"" + uidText(classInfo(1).cid) + "\""), std::string::npos);
    EXPECT_NE(info.find("\"Version\": \"" + std::string(classInfo(0).version) + "\""),
              std::string::npos);
    EXPECT_NE(info.find("\"Vendor\": \"Korvatune\""), std::string::npos);
    EXPECT_NE(info.find("\"Category\": \"Audio Module Class\""), std::string::npos);
    EXPECT_NE(info.find("\"Instrument\",\n        \"Drum\""), std::string::npos);
}

TEST_F(Vst3Description, OneEventInputAndOneStereoOutput) {
    testing::Processor processor(module, 44100.0);
    IComponent& component = *processor.component.get();
    EXPECT_EQ(component.getBusCount(kAudio, kInput), 0);
    EXPECT_EQ(component.getBusCount(kAudio, kOutput), 1);
    EXPECT_EQ(component.getBusCount(kEvent, kInput), 1);
    EXPECT_EQ(component.getBusCount(kEvent, kOutput), 0);
    BusInfo bus{};
    ASSERT_EQ(component.getBusInfo(kAudio, kOutput, 0, bus), kResultOk);
    EXPECT_EQ(bus.channelCount, 2);
    EXPECT_EQ(bus.busType, kMain);
    EXPECT_EQ(bus.flags & BusInfo::kDefaultActive, BusInfo::kDefaultActive);
    ASSERT_EQ(component.getBusInfo(kEvent, kInput, 0, bus), kResultOk);
    EXPECT_EQ(bus.mediaType, kEvent);
    EXPECT_NE(component.getBusInfo(kAudio, kOutput, 1, bus), kResultOk);

    SpeakerArrangement stereo = kStereo;
    SpeakerArrangement mono = 1;
    EXPECT_EQ(processor.audio->setBusArrangements(nullptr, 0, &stereo, 1), kResultTrue);
    EXPECT_NE(processor.audio->setBusArrangements(nullptr, 0, &mono, 1), kResultTrue);
    SpeakerArrangement arrangement = 0;
    ASSERT_EQ(processor.audio->getBusArrangement(kOutput, 0, arrangement), kResultOk);
    EXPECT_EQ(arrangement, kStereo);
    EXPECT_EQ(processor.audio->canProcessSampleSize(kSample32), kResultTrue);
    EXPECT_NE(processor.audio->canProcessSampleSize(kSample64), kResultTrue);

    char controllerId[16] = {};
    ASSERT_EQ(component.getControllerClassId(controllerId), kResultOk);
    EXPECT_TRUE(sameUid(controllerId, kControllerUid));
}

TEST_F(Vst3Description, TheParametersAreTheInstrumentsWithTheProgramAndTwoControllers) {
    testing::Controller controller(module);
    ASSERT_EQ(controller.edit->getParameterCount(), Instrument::kParameterCount + 3);
    for (int index = 0; index < Instrument::kParameterCount; ++index) {
        ParameterInfo info{};
        ASSERT_EQ(controller.edit->getParameterInfo(index, info), kResultOk);
        EXPECT_EQ(info.id, static_cast<ParamID>(index));
        EXPECT_EQ(testing::text(info.title), Instrument::parameterName(index));
        EXPECT_EQ(testing::text(info.shortTitle), Instrument::parameterShortName(index));
        EXPECT_EQ(testing::text(info.units), Instrument::parameterUnit(index));
        EXPECT_EQ(info.stepCount, Instrument::stepCount(index));
        EXPECT_EQ(info.defaultNormalizedValue, Instrument::defaultValue(index));
        EXPECT_EQ(info.unitId, kRootUnitId);
        EXPECT_EQ(info.flags & ParameterInfo::kCanAutomate, ParameterInfo::kCanAutomate);
        EXPECT_EQ((info.flags & ParameterInfo::kIsList) != 0, info.stepCount > 0) << index;
    }
    ParameterInfo program{};
    ASSERT_EQ(controller.edit->getParameterInfo(Instrument::kParameterCount, program), kResultOk);
    EXPECT_EQ(program.id, kProgramId);
    EXPECT_EQ(program.stepCount, Instrument::kProgramCount - 1);
    EXPECT_NE(program.flags & ParameterInfo::kIsProgramChange, 0);
    for (const int position : {Instrument::kParameterCount + 1, Instrument::kParameterCount + 2}) {
        ParameterInfo hidden{};
        ASSERT_EQ(controller.edit->getParameterInfo(position, hidden), kResultOk);
        EXPECT_NE(hidden.flags & ParameterInfo::kIsHidden, 0);
        EXPECT_EQ(hidden.flags & ParameterInfo::kCanAutomate, 0);
    }
    ParameterInfo past{};
    EXPECT_NE(controller.edit->getParameterInfo(Instrument::kParameterCount + 3, past), kResultOk);
}

TEST_F(Vst3Description, OneUnitWithTheFactoryProgramList) {
    testing::Controller controller(module);
    ASSERT_NE(controller.units.get(), nullptr);
    ASSERT_EQ(controller.units->getUnitCount(), 1);
    UnitInfo unit{};
    ASSERT_EQ(controller.units->getUnitInfo(0, unit), kResultOk);
    EXPECT_EQ(unit.id, kRootUnitId);
    EXPECT_EQ(unit.parentUnitId, kNoParentUnitId);
    ASSERT_EQ(controller.units->getProgramListCount(), 1);
    ProgramListInfo list{};
    ASSERT_EQ(controller.units->getProgramListInfo(0, list), kResultOk);
    EXPECT_EQ(list.id, unit.programListId);
    ASSERT_EQ(list.programCount, Instrument::kProgramCount);
    for (int program = 0; program < Instrument::kProgramCount; ++program) {
        String128 name{};
        ASSERT_EQ(controller.units->getProgramName(list.id, program, name), kResultOk);
        EXPECT_EQ(testing::text(name), Instrument::factoryProgramName(program));
    }
    String128 name{};
    EXPECT_NE(controller.units->getProgramName(list.id, Instrument::kProgramCount, name),
              kResultOk);
}

TEST_F(Vst3Description, ValuesAndTheirTextsConvertBothWays) {
    testing::Controller controller(module);
    const Instrument instrument("", nullptr);
    for (int index = 0; index < Instrument::kParameterCount; ++index) {
        for (const double value : {0.0, 0.3, 1.0}) {
            EXPECT_EQ(controller.valueText(static_cast<ParamID>(index), value),
                      instrument.displayText(index, static_cast<float>(value)))
                << index << " at " << value;
        }
        const int steps = Instrument::stepCount(index);
        for (int step = 0; step <= steps && steps > 0; ++step) {
            std::u16string name;
            for (const char c : Instrument::stepName(index, step)) {
                name += static_cast<char16_t>(static_cast<unsigned char>(c));
            }
            ParamValue value = -1.0;
            ASSERT_EQ(controller.edit->getParamValueByString(static_cast<ParamID>(index),
                                                             name.data(), value),
                      kResultOk)
                << index << " step " << step;
            EXPECT_EQ(value, static_cast<double>(step) / steps);
            EXPECT_EQ(controller.edit->normalizedParamToPlain(static_cast<ParamID>(index), value),
                      step);
        }
    }
    ParamValue value = -1.0;
    std::u16string number = u"0.25";
    ASSERT_EQ(controller.edit->getParamValueByString(kVolume, number.data(), value), kResultOk);
    EXPECT_EQ(value, 0.25);
    for (std::u16string refused : {u"1.5", u"loud", u""}) {
        EXPECT_NE(controller.edit->getParamValueByString(kVolume, refused.data(), value),
                  kResultOk);
    }
    EXPECT_EQ(controller.valueText(kProgramId, 25.0 / kLastProgram),
              Instrument::factoryProgramName(25));
}

TEST_F(Vst3Description, AllNotesOffAndMonoModeAreMappedOnEveryChannel) {
    testing::Controller controller(module);
    ASSERT_NE(controller.midi.get(), nullptr);
    for (const std::int16_t channel : {0, 9, 15}) {
        ParamID allNotesOff = 0;
        ParamID monoMode = 0;
        ASSERT_EQ(controller.midi->getMidiControllerAssignment(0, channel, 123, allNotesOff),
                  kResultTrue);
        ASSERT_EQ(controller.midi->getMidiControllerAssignment(0, channel, 126, monoMode),
                  kResultTrue);
        EXPECT_NE(allNotesOff, monoMode);
        EXPECT_GE(allNotesOff, static_cast<ParamID>(Instrument::kParameterCount));
    }
    ParamID id = 0;
    EXPECT_NE(controller.midi->getMidiControllerAssignment(0, 0, 1, id), kResultTrue);
    EXPECT_NE(controller.midi->getMidiControllerAssignment(1, 0, 123, id), kResultTrue);
}

// A host's preset menu selects through the program parameter; the controller then shows the
// program's values and asks the host to read them again.
TEST_F(Vst3Description, SelectingAProgramShowsItsValues) {
    testing::Controller controller(module);
    ASSERT_EQ(controller.edit->setParamNormalized(kProgramId, 25.0 / kLastProgram), kResultOk);
    const auto values = testing::vst2Values(testing::vst2Entry(), 25, {});
    for (int index = 0; index < Instrument::kParameterCount; ++index) {
        EXPECT_EQ(controller.edit->getParamNormalized(static_cast<ParamID>(index)),
                  values[static_cast<std::size_t>(index)])
            << index;
    }
    EXPECT_EQ(controller.edit->getParamNormalized(kProgramId), 25.0 / kLastProgram);
    ASSERT_FALSE(controller.handler.restarts.empty());
    EXPECT_NE(controller.handler.restarts.back() & kParamValuesChanged, 0);
}

} // namespace
} // namespace Korvatune
