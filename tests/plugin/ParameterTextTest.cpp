#include "plugin/vst2/EntryPoint.h"
#include "support/TestHost.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace Korvatune {
namespace {

using testing::dispatch;
using testing::textFrom;

class ParameterTexts : public ::testing::Test {
protected:
    void SetUp() override { effect = VSTPluginMain(testing::recordingHost); }
    void TearDown() override { dispatch(effect, effClose); }

    std::string name(int index) { return textFrom(effect, effGetParamName, index); }
    std::string label(int index) { return textFrom(effect, effGetParamLabel, index); }
    std::string display(int index, float value) {
        effect->setParameter(effect, index, value);
        return textFrom(effect, effGetParamDisplay, index);
    }

    AEffect* effect = nullptr;
};

TEST_F(ParameterTexts, NamesAreCutToEightCharacters) {
    EXPECT_EQ(name(0), "Wave 1");
    EXPECT_EQ(name(19), "Pitch2");
    EXPECT_EQ(name(32), "Pan  3");
    EXPECT_EQ(name(42), "Pitch Du");
    EXPECT_EQ(name(58), "BypassFX");
    EXPECT_EQ(name(57), "Dump/Exp");
    for (int osc = 0; osc < 3; ++osc) {
        const std::string fm = name(12 + 14 * osc);
        EXPECT_LE(fm.size(), 8u);
        EXPECT_EQ(fm.back(), '1' + osc);
        EXPECT_NE(fm, name(10 + 14 * osc));
    }
    char text[16] = "unchanged";
    dispatch(effect, effGetParamName, 60, 0, text);
    EXPECT_STREQ(text, "unchanged");
}

TEST_F(ParameterTexts, Labels) {
    EXPECT_EQ(label(3), "");
    EXPECT_EQ(label(60), "");
    EXPECT_EQ(label(36), "Q");
    EXPECT_EQ(label(42), "sec.");
    EXPECT_EQ(label(4), "L/R");
    EXPECT_EQ(label(59), "dB");
}

TEST_F(ParameterTexts, DisplaysFollowTheWorkingValues) {
    EXPECT_EQ(display(2, 0.0f), "-oo");
    EXPECT_EQ(display(2, 1.0f), "0.000000");
    EXPECT_EQ(display(5, 0.5f), "0.000000");
    EXPECT_EQ(display(5, 0.0f), "-1.00000");
    EXPECT_EQ(display(7, 1.0f), "22050.00");
    EXPECT_EQ(display(9, 0.5f), "off");
    EXPECT_EQ(display(9, 0.51f), "on");
    EXPECT_EQ(display(58, 0.5f), "off");
    EXPECT_EQ(display(58, 0.51f), "on");
    EXPECT_EQ(display(44, 0.7f), "14.00000");
    EXPECT_EQ(display(56, 0.1f), "200.0000");
    EXPECT_EQ(display(43, 0.5f), "50.00000");
    EXPECT_EQ(display(10, 0.5f), "2.500000");
    EXPECT_EQ(display(1, 0.5f), "0.500000");
    EXPECT_EQ(textFrom(effect, effGetParamDisplay, 60), "");
}

TEST_F(ParameterTexts, SampleRateScalesTheHertzAndPitchDisplays) {
    dispatch(effect, effSetSampleRate, 0, 0, nullptr, 48000.0f);
    EXPECT_EQ(display(7, 1.0f), "24000.00");
    // The pitch envelope's scale keeps the sweep in Hz: 100 x 44100 / 48000.
    EXPECT_EQ(display(43, 1.0f), "91.87500");
}

TEST_F(ParameterTexts, ListParametersShowNames) {
    EXPECT_EQ(display(0, 0.0f), "Sine");
    EXPECT_EQ(display(14, 1.0f / 29.0f), "Saw");
    EXPECT_EQ(display(28, 1.0f), "User10");
    EXPECT_EQ(display(54, 0.0f), "Linear");
    EXPECT_EQ(display(54, 2.0f / 24.0f), "HardOvld");
    EXPECT_EQ(display(54, 13.0f / 24.0f), "FuzzDrv");
    EXPECT_EQ(display(54, 1.0f), "MadDog");
    for (int type = 0; type < 25; ++type) {
        EXPECT_LE(display(54, static_cast<float>(type) / 24.0f).size(), 8u);
    }
}

TEST_F(ParameterTexts, PanShowsSideAndPercent) {
    EXPECT_EQ(display(4, 0.5f), "Center");
    EXPECT_EQ(display(4, 0.0f), "L 100");
    EXPECT_EQ(display(18, 1.0f), "R 100");
    EXPECT_EQ(display(32, 0.62f), "R 24");
    EXPECT_EQ(display(32, 0.245f), "L 51");
    EXPECT_LE(display(4, -1e30f).size(), 8u);
}

TEST_F(ParameterTexts, ValuesAreHeldToTheUnitRangeAndBadOnesIgnored) {
    effect->setParameter(effect, 5, 1.7f);
    EXPECT_EQ(effect->getParameter(effect, 5), 1.0f);
    effect->setParameter(effect, 5, 0.3f);
    effect->setParameter(effect, 5, std::numeric_limits<float>::quiet_NaN());
    effect->setParameter(effect, 5, std::numeric_limits<float>::infinity());
    EXPECT_EQ(effect->getParameter(effect, 5), 0.3f);
    EXPECT_EQ(effect->getParameter(effect, 60), 0.0f);
    EXPECT_EQ(effect->getParameter(effect, -1), 0.0f);
}

TEST_F(ParameterTexts, ProgramSelectionCopiesIntoWorkingValues) {
    effect->setParameter(effect, 59, 0.25f);
    dispatch(effect, effSetProgram, 0, 25);
    EXPECT_NEAR(effect->getParameter(effect, 48), 0.124778f, 1e-6f);
    dispatch(effect, effSetProgram, 0, 0);
    EXPECT_EQ(effect->getParameter(effect, 59), 0.25f);
}

} // namespace
} // namespace Korvatune
