#include "programs/VstXSynthProgram.h"

#include <gtest/gtest.h>

#include <string>

namespace Korvatune {
namespace {

TEST(ProgramRecord, FreshRecordHoldsTheDefaults) {
    VstXSynthProgram record;
    EXPECT_STREQ(record.getName().c_str(), "Basic Bassdrum");
    EXPECT_EQ(record.getValue(0), 0.0f);
    EXPECT_EQ(record.getValue(14), 1.0f);
    EXPECT_EQ(record.getValue(28), 0.5f);
    EXPECT_EQ(record.getValue(15), 0.55f);
    EXPECT_EQ(record.getValue(29), 0.45f);
    EXPECT_EQ(record.getValue(kVolume), 0.842f);
    EXPECT_EQ(record.getValue(kSampleRate), 1.0f);
    EXPECT_EQ(record.getValue(kDumpExpand), 0.5f);
}

TEST(ProgramRecord, SetValueClampsAndIgnoresUnknownKeys) {
    VstXSynthProgram record;
    record.setValue(7, 1.5f);
    EXPECT_EQ(record.getValue(7), 1.0f);
    record.setValue(7, -0.2f);
    EXPECT_EQ(record.getValue(7), 0.0f);
    record.setValue(60, 0.5f);
    record.setValue(-1, 0.5f);
    EXPECT_EQ(record.getValue(60), 0.0f);
    EXPECT_EQ(record.getValue(-1), 0.0f);
    record.setRawValue(5, 1.7f);
    EXPECT_EQ(record.getValue(5), 1.7f);
}

TEST(ProgramRecord, InterfaceSlotsFollowPropertyThenOscillator) {
    VstXSynthProgram record;
    for (int i = 0; i < kNumProgramKeys; ++i) {
        record.setRawValue(i, static_cast<float>(i));
    }
    const ISynthProgram& program = record;
    EXPECT_EQ(program.getOscFilterType2(), 20.0f);
    EXPECT_EQ(program.getOscPitch2(), 19.0f);
    EXPECT_EQ(program.getOscFiltModAmount3(), 41.0f);
    EXPECT_EQ(program.getOscWaveform1(), 0.0f);
    EXPECT_EQ(program.getOscPan3(), 32.0f);
}

TEST(ProgramRecord, KeyTextsEndInTheOscillatorNumber) {
    EXPECT_STREQ(VstXSynthProgram::keyName(19), "OscPitch2");
    EXPECT_STREQ(VstXSynthProgram::keyName(32), "OscPan3");
    EXPECT_STREQ(VstXSynthProgram::keyName(54), "DistortionType");
    EXPECT_STREQ(VstXSynthProgram::keyName(59), "Volume");
}

TEST(ProgramRecord, NameIsCutAt24Characters) {
    VstXSynthProgram record;
    record.setName("0123456789012345678901234567890");
    EXPECT_EQ(std::string(record.getName().c_str()), "012345678901234567890123");
}

} // namespace
} // namespace Korvatune
