#include "editor/TypedValue.h"
#include "plugin/Instrument.h"
#include "plugin/VstXSynth.h"
#include "programs/ProgramKeys.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

namespace Korvatune {
namespace {

class TypedValue : public ::testing::Test {
protected:
    TypedValue()
        : synth(std::make_unique<VstXSynth>(std::filesystem::temp_directory_path().string(),
                                            nullptr)) {
        synth->setSampleRate(44100.0f);
    }

    // What the display shows for the value a typed text gives, or "nothing".
    std::string shownAfterTyping(int index, std::string_view typed) {
        const ParameterTexts texts = parameterTextsOf(*synth, index);
        const std::optional<float> value = readTypedValue(texts, typed);
        return value ? texts.display(*value) : "nothing";
    }

    std::unique_ptr<VstXSynth> synth;
};

constexpr int kSaturation1 = oscillatorKey(1, kOscSat);
constexpr int kPan1 = oscillatorKey(1, kOscPan);
constexpr int kCutoff1 = oscillatorKey(1, kOscFilterCutoff);
constexpr int kPitch1 = oscillatorKey(1, kOscPitch);

TEST_F(TypedValue, ReadsNumbersWithOrWithoutTheDisplayedUnit) {
    for (std::string_view typed : {"-6 dB", "  -6dB ", "-6,0 db", "-6", "-6.00000 DB"}) {
        EXPECT_EQ(shownAfterTyping(kVolume, typed), "-6.00000 dB") << typed;
    }
    EXPECT_EQ(shownAfterTyping(kSaturation1, "0.35"), "0.350000");
    EXPECT_EQ(shownAfterTyping(kSaturation1, ",5"), "0.500000");
    EXPECT_EQ(shownAfterTyping(kCutoff1, "1000 Hz"), "1000.000 Hz");
    EXPECT_EQ(shownAfterTyping(kPitch1, "+0.5 octave"), "0.500000 Octave");
    EXPECT_EQ(shownAfterTyping(kPitchDuration, "0.25 sec"), "0.250000 sec.");
}

TEST_F(TypedValue, RefusesTextsThatAreNoValueOfTheParameter) {
    for (std::string_view typed : {"garbage", "12 Hz", "", "   ", "-", "6 dB dB", "+-6", "1e3"}) {
        EXPECT_EQ(shownAfterTyping(kVolume, typed), "nothing") << typed;
    }
    EXPECT_EQ(shownAfterTyping(kSaturation1, "-oo"), "nothing");
    EXPECT_EQ(shownAfterTyping(kSaturation1, "C"), "nothing");
    EXPECT_EQ(shownAfterTyping(kSaturation1, "L 20"), "nothing");
    EXPECT_FALSE(readTypedValue(parameterTextsOf(*synth, 60), "0.5"));
}

TEST_F(TypedValue, NumbersBeyondTheRangeGiveItsNearestEnd) {
    EXPECT_EQ(shownAfterTyping(kVolume, "12 dB"), "0.000000 dB");
    EXPECT_EQ(shownAfterTyping(kSaturation1, "7"), "1.000000");
    EXPECT_EQ(shownAfterTyping(kSaturation1, "-7"), "0.000000");
    EXPECT_EQ(shownAfterTyping(kCutoff1, "99999 Hz"), "22050.00 Hz");
    for (std::string_view typed : {"-oo", "-inf dB", "-INF"}) {
        EXPECT_EQ(readTypedValue(parameterTextsOf(*synth, kVolume), typed), 0.0f) << typed;
    }
}

TEST_F(TypedValue, PanTakesSides) {
    EXPECT_EQ(shownAfterTyping(kPan1, "L 20"), "L 20 L/R");
    EXPECT_EQ(shownAfterTyping(kPan1, "r50"), "R 50 L/R");
    EXPECT_EQ(shownAfterTyping(kPan1, "-20"), "L 20 L/R");
    EXPECT_EQ(shownAfterTyping(kPan1, "C"), "Center L/R");
    EXPECT_EQ(shownAfterTyping(kPan1, "center"), "Center L/R");
    EXPECT_EQ(shownAfterTyping(kPan1, "L -20"), "nothing");
}

TEST_F(TypedValue, ListsTakeNamesNumbersAndNumberedNames) {
    const int steps = Instrument::stepCount(kOscWaveform);
    const std::string name = Instrument::stepName(kOscWaveform, 7);
    const ParameterTexts texts = parameterTextsOf(*synth, kOscWaveform);
    const float seventh = 7.0f / static_cast<float>(steps);
    std::string lower = name;
    for (char& c : lower) {
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    for (const std::string& typed :
         {name, lower, " " + name + " ", std::string("8"), "8: " + name, "8:" + lower}) {
        EXPECT_EQ(readTypedValue(texts, typed), seventh) << typed;
    }
    for (const std::string& typed : {std::string("0"), std::to_string(steps + 2), "9: " + name,
                                     name + "x", std::string("0.5")}) {
        EXPECT_FALSE(readTypedValue(texts, typed)) << typed;
    }
    const std::string type = Instrument::stepName(kDistortionType, 3);
    EXPECT_EQ(readTypedValue(parameterTextsOf(*synth, kDistortionType), type),
              3.0f / static_cast<float>(Instrument::stepCount(kDistortionType)));
    EXPECT_EQ(readTypedValue(parameterTextsOf(*synth, kBypassFX), "ON"), 1.0f);
    EXPECT_EQ(readTypedValue(parameterTextsOf(*synth, kBypassFX), "1"), 1.0f);
    EXPECT_EQ(readTypedValue(parameterTextsOf(*synth, kBypassFX), "0"), 0.0f);
}

// Whatever a parameter shows, typed back, shows the same.
TEST_F(TypedValue, EveryParametersDisplayReadsBackToItself) {
    for (int index = 0; index < Instrument::kParameterCount; ++index) {
        const ParameterTexts texts = parameterTextsOf(*synth, index);
        if (texts.stepCount > 0) {
            for (int step = 0; step <= texts.stepCount; ++step) {
                const auto value = readTypedValue(texts, texts.stepName(step));
                ASSERT_TRUE(value) << index << " " << step;
                EXPECT_EQ(texts.display(*value), texts.display(static_cast<float>(step) /
                                                               static_cast<float>(texts.stepCount)))
                    << index << " " << step;
            }
            continue;
        }
        for (float shown : {0.0f, 0.013f, 0.37f, 0.5f, 0.91f, 1.0f}) {
            const std::string text = texts.display(shown);
            const auto value = readTypedValue(texts, text);
            ASSERT_TRUE(value) << index << " " << text;
            EXPECT_EQ(texts.display(*value), text) << index;
        }
    }
}

} // namespace
} // namespace Korvatune
