#include "ProgramFileTestFiles.h"

#include "engine/Distortion.h"
#include "programs/FactoryBank.h"
#include "programs/ProgramFile.h"
#include "programs/VstXSynthProgram.h"
#include "waveforms/WaveformProvider.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

namespace Korvatune {
namespace {

std::vector<std::string> linesOf(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream stream(text);
    for (std::string line; std::getline(stream, line);) {
        lines.push_back(line);
    }
    return lines;
}

// What a value becomes after "%f" and atof.
float throughSixDecimals(float value) {
    char text[64];
    std::snprintf(text, sizeof text, "%f", static_cast<double>(value));
    return static_cast<float>(std::atof(text));
}

using ProgramFileWriting = ProgramFileFolder;

TEST_F(ProgramFileWriting, SixtyOneLinesWithNamesForListKeys) {
    VstXSynthProgram record;
    record.setName("Two\nLines\r\tand\x7f");
    record.setRawValue(kOscFreq, 0.123456789f);
    record.setRawValue(kDistortion, -0.25f);
    record.setRawValue(kDistortionType, 0.5f);
    const std::string file = path("fresh.obp");
    ASSERT_TRUE(writeProgramFile(file.c_str(), record));

    const auto lines = linesOf(contentsOf(file));
    ASSERT_EQ(lines.size(), 61u);
    EXPECT_EQ(lines[0], "Name = Two Lines  and ;");
    EXPECT_EQ(lines[1], "OscWaveform1 = Sine;");
    EXPECT_EQ(lines[2], "OscFreq1 = 0.123457;");
    EXPECT_EQ(lines[15], "OscWaveform2 = User10;");
    EXPECT_EQ(lines[29], "OscWaveform3 = Form6;");
    EXPECT_EQ(lines[54], "Distortion = -0.250000;");
    EXPECT_EQ(lines[55], std::string("DistortionType = ") + Distortion::typeNameOfIndex(12) + ";");
    EXPECT_EQ(lines[60], "Volume = 0.842000;");
    EXPECT_EQ(contentsOf(file).back(), '\n');
}

TEST_F(ProgramFileWriting, FailuresAreReported) {
    VstXSynthProgram record;
    EXPECT_FALSE(writeProgramFile(nullptr, record));
    EXPECT_FALSE(writeProgramFile(path("no/such/folder/x.obp").c_str(), record));
    EXPECT_FALSE(writeProgramFile(folder.string().c_str(), record));
    if (std::FILE* full = std::fopen("/dev/full", "w")) {
        EXPECT_FALSE(writeProgramStream(full, record));
        std::fclose(full);
    }
}

using ProgramFileRoundTrip = ProgramFileFolder;

TEST_F(ProgramFileRoundTrip, EveryFactoryProgramComesBackUnchanged) {
    auto bank = std::make_unique<std::array<VstXSynthProgram, kNumPrograms>>();
    loadFactoryBank(*bank);
    for (int k = 0; k < kNumPrograms; ++k) {
        const VstXSynthProgram& written = (*bank)[k];
        const std::string file = path("factory.obp");
        ASSERT_TRUE(writeProgramFile(file.c_str(), written));
        VstXSynthProgram read;
        read.setName("Other");
        ASSERT_TRUE(readProgramFile(read, file.c_str()));

        EXPECT_STREQ(read.getName().c_str(), written.getName().c_str());
        for (int i = 0; i < kNumProgramKeys; ++i) {
            const float value = written.getValue(i);
            if (isWaveformKey(i)) {
                EXPECT_EQ(WaveformProvider::waveformIndex(read.getValue(i)),
                          WaveformProvider::waveformIndex(value));
            } else if (i == kDistortionType) {
                EXPECT_EQ(Distortion::typeIndex(read.getValue(i)), Distortion::typeIndex(value));
            } else {
                EXPECT_EQ(read.getValue(i), throughSixDecimals(value)) << k << " key " << i;
            }
            // The command line relies on factory sounds surviving a file exactly.
            EXPECT_EQ(read.getValue(i), value) << k << " key " << i;
        }
    }
}

TEST_F(ProgramFileRoundTrip, NamesWithSeparators) {
    VstXSynthProgram record;
    record.setName("Kick = Boom");
    std::string file = path("equals.obp");
    ASSERT_TRUE(writeProgramFile(file.c_str(), record));
    VstXSynthProgram read;
    ASSERT_TRUE(readProgramFile(read, file.c_str()));
    EXPECT_STREQ(read.getName().c_str(), "Kick = Boom");

    record.setName("Kick; Boom");
    file = path("semicolon.obp");
    ASSERT_TRUE(writeProgramFile(file.c_str(), record));
    EXPECT_EQ(linesOf(contentsOf(file))[0], "Name = Kick; Boom;");
    ASSERT_TRUE(readProgramFile(read, file.c_str()));
    EXPECT_STREQ(read.getName().c_str(), "Kick");
}

} // namespace
} // namespace Korvatune
