#include "ProgramFileTestFiles.h"

#include "programs/ProgramFile.h"
#include "programs/VstXSynthProgram.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <string>
#include <vector>

namespace Korvatune {
namespace {

constexpr const char* kHead = "Name = Hand Made;\nOscWaveform1 = Sawtooth;\n";

// Every value of a record, to see what a read left alone.
std::vector<float> valuesOf(const VstXSynthProgram& record) {
    std::vector<float> values;
    for (int i = 0; i < kNumProgramKeys; ++i) {
        values.push_back(record.getValue(i));
    }
    return values;
}

class ProgramFileReading : public ProgramFileFolder {
protected:
    // Reads text into a fresh record whose OscFreq1 is 0.6 and waveforms non-zero.
    const VstXSynthProgram& read(const std::string& text) {
        record.setRawValue(kOscFreq, 0.6f);
        EXPECT_TRUE(readProgramFile(record, fileWith(text).c_str()));
        return record;
    }

    VstXSynthProgram record;
    const std::vector<float> defaults = valuesOf(VstXSynthProgram());
};

TEST_F(ProgramFileReading, ValueLinesAtTheFrequencyPosition) {
    const std::vector<std::pair<std::string, float>> cases = {
        {"OscFreq1 = 7;", 1.0f},     {"OscFreq1 = -3;", 0.0f},        {"OscFreq1 = abc;", 0.0f},
        {"OscFreq1 =0.25;", 0.25f},  {"OscFreq1 = ;", 0.6f},          {"OscFreq1 =;", 0.6f},
        {"OscFreq1 = nan;", 0.6f},   {"OscFreq1 = inf;", 0.6f},       {"OscFreq1 = -inf;", 0.6f},
        {"OscFreq1 = 1e300;", 1.0f}, {"OscFreq1 = 0.3 ;", 0.3f},      {"OscFreq1 = 0.125", 0.6f},
        {"oscfreq1 = 0.125;", 0.6f}, {"xOscFreq1x = 0.125;", 0.125f},
    };
    for (const auto& [line, expected] : cases) {
        EXPECT_EQ(read(kHead + line + "\n").getValue(kOscFreq), expected) << line;
    }
}

TEST_F(ProgramFileReading, UnknownListNamesSelectTheFirstEntry) {
    record.setRawValue(kOscWaveform, waveformValue(3));
    record.setRawValue(kDistortionType, 0.5f);
    std::string text = "Name = x;\nOscWaveform1 = sine;\n";
    for (int i = 1; i < kDistortionType; ++i) {
        text += std::string(VstXSynthProgram::keyName(i)) + " = 0.5;\n";
    }
    read(text + "DistortionType = linear;\n");
    EXPECT_EQ(record.getValue(kOscWaveform), 0.0f);
    EXPECT_EQ(record.getValue(kDistortionType), 0.0f);

    read("Name = x;\nOscWaveform1 = Form6;\n");
    EXPECT_EQ(record.getValue(kOscWaveform), waveformValue(15));
    read("Name = x;\nOscWaveform1 = Noise;\n");
    EXPECT_EQ(record.getValue(kOscWaveform), 0.0f);
}

TEST_F(ProgramFileReading, LinesAreMatchedByPositionOnly) {
    read("Name = x;\nOscFreq1 = 0.25;\nOscWaveform1 = Sawtooth;\nOscVolume1 = 0.75;\n");
    EXPECT_EQ(record.getValue(kOscWaveform), defaults[kOscWaveform]);
    EXPECT_EQ(record.getValue(kOscFreq), 0.6f);
    EXPECT_EQ(record.getValue(kOscVolume), 0.75f);

    // One line missing before Distortion: its position meets the DistortionType line.
    std::string text = "Name = x;\n";
    for (int i = 0; i < kDistortion; ++i) {
        text += std::string(VstXSynthProgram::keyName(i)) + " = 0.5;\n";
    }
    record.setRawValue(kDistortion, 0.7f);
    read(text + "DistortionType = Compressor;\nRingModulationAmount = 0.5;\n");
    EXPECT_EQ(record.getValue(kDistortion), 0.0f);
    EXPECT_EQ(record.getValue(kDistortionType), defaults[kDistortionType]);
}

TEST_F(ProgramFileReading, ShortAndLongFiles) {
    read("");
    EXPECT_STREQ(record.getName().c_str(), kDefaultProgramName);
    record.setRawValue(kOscFreq, defaults[kOscFreq]);
    EXPECT_EQ(valuesOf(record), defaults);

    read("Name = Only A Name;\n");
    EXPECT_STREQ(record.getName().c_str(), "Only A Name");
    record.setRawValue(kOscFreq, defaults[kOscFreq]);
    EXPECT_EQ(valuesOf(record), defaults);

    std::string text = "Name = Full;\n";
    for (int i = 0; i < kNumProgramKeys; ++i) {
        text += std::string(VstXSynthProgram::keyName(i)) + " = 0.000000;\n";
    }
    read(text + "Volume = 1.0;\nUnknown = 1.0;\nName = Later;\n");
    EXPECT_STREQ(record.getName().c_str(), "Full");
    EXPECT_EQ(record.getValue(kVolume), 0.0f);
}

TEST_F(ProgramFileReading, CarriageReturnLineEnds) {
    read("Name = Windows Kick;\r\nOscWaveform1 = Pulse;\r\nOscFreq1 = 0.75;\r\n");
    EXPECT_STREQ(record.getName().c_str(), "Windows Kick");
    EXPECT_EQ(record.getValue(kOscWaveform), waveformValue(2));
    EXPECT_EQ(record.getValue(kOscFreq), 0.75f);
}

TEST_F(ProgramFileReading, LongNamesAreCutAndLongLinesCountAsSeveral) {
    read("Name = " + std::string(40, 'N') + ";\n");
    EXPECT_EQ(std::string(record.getName().c_str()), std::string(24, 'N'));

    // 1023 characters fill the buffer; the rest of the physical line is the next line.
    read(std::string(1023, 'x') + "OscWaveform1 = Triangle;\nOscFreq1 = 0.5;\n");
    EXPECT_EQ(record.getValue(kOscWaveform), waveformValue(5));
    EXPECT_EQ(record.getValue(kOscFreq), 0.5f);
}

TEST_F(ProgramFileReading, UnreadablePathsReportWhyAndChangeNothing) {
    record.setName("Kept");
    EXPECT_FALSE(readProgramFile(record, nullptr));
    EXPECT_FALSE(readProgramFile(record, path("missing.obp").c_str()));
    EXPECT_EQ(errno, ENOENT);
    EXPECT_FALSE(readProgramFile(record, folder.string().c_str()));
    EXPECT_EQ(errno, EISDIR);
    EXPECT_STREQ(record.getName().c_str(), "Kept");
    EXPECT_EQ(valuesOf(record), defaults);
}

} // namespace
} // namespace Korvatune
