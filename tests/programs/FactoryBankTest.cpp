#include "programs/FactoryBank.h"
#include "programs/VstXSynthProgram.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <memory>

namespace Korvatune {
namespace {

// Catalogue and distortion type orders, written out independently of the bank source.
enum Wave : int {
    Sine,
    Sawtooth,
    Pulse,
    QuadPulse,
    OctPulse,
    Triangle,
    Noize,
    LQNoize1,
    LQNoize2,
    LQNoize3,
    Form1,
    Form2,
    Form3,
    Form4,
    Form5,
    Form6,
    Form7,
    Form8,
    Form9,
    Form10,
    User1,
    User2,
    User3,
    User4,
    User5,
    User6,
    User7,
    User8,
    User9,
    User10
};

enum Dist : int {
    Linear,
    Compressor,
    HardOverload,
    KVSigmoid1Drive,
    KVSigmoid2Drive,
    KVSigmoid3Drive,
    GusterraFuzz,
    VortleFuzz,
    QRTFuzz1,
    QRTFuzz2,
    SoftTubeDistort,
    TubeDistort,
    FullClip,
    FuzzDrive,
    KorvatuneDrive,
    SkraddleFuzz1,
    SkraddleFuzz2,
    SkraddleFuzz3,
    InvertAndDrive,
    BigBadDrive,
    BigFatDrive,
    ViciousViper,
    AssKicking,
    TigersBlood,
    MadDog
};

struct BankRow {
    const char* name;
    std::array<Wave, 3> waves;
    std::array<float, 3> levels;
    Dist type;
    float amount;
};

const std::array<BankRow, kNumPrograms> kBankTable = {{
    {"KV Bassdrum", {Sine, Sine, Sine}, {1, 0, 0}, Linear, 0},
    {"KV Basic Bassdrum", {Sine, Sine, Sine}, {1, 0, 0}, Linear, 0},
    {"KV Basic Kickdrum 1", {Sine, Sine, Sine}, {1, 0, 0}, Linear, 0},
    {"KV Basic Kickdrum 2", {Sine, Sine, Sine}, {1, 0, 0}, Linear, 0},
    {"KV Laser 1", {Sine, Sine, Sine}, {1, 0, 0}, Compressor, 0},
    {"KV Laser 2", {Triangle, Sine, Sine}, {1, 0, 0}, FullClip, 0},
    {"KV Laser Kick 1", {Pulse, Sawtooth, Sine}, {0.75f, 0.75f, 0}, FuzzDrive, 0},
    {"KV Laser Kick 2", {Triangle, Pulse, Sawtooth}, {0.7f, 0.7f, 0.8f}, TubeDistort, 0},
    {"KV Pulse Beat 1", {Pulse, Sine, Sine}, {1, 0, 0}, FuzzDrive, 0},
    {"KV Pulse Beat 2", {Pulse, QuadPulse, Sine}, {0.75f, 0.75f, 0}, FuzzDrive, 0},
    {"Oldschool Bassdrum 1", {Pulse, Triangle, Sine}, {1, 1, 0}, HardOverload, 1},
    {"Oldschool Bassdrum 2", {Form1, Pulse, Sine}, {1, 1, 0}, SoftTubeDistort, 1},
    {"Oldschool Bassdrum 3", {Sawtooth, Form1, Sine}, {1, 1, 0}, Compressor, 0.7f},
    {"Oldschool Bassdrum 4", {Triangle, Sine, Form5}, {1, 1, 0.9777f}, HardOverload, 1},
    {"Oldschool Bassdrum 5", {Pulse, QuadPulse, Sine}, {1, 0.25f, 0}, HardOverload, 0.75f},
    {"Mainstream Bassdrum 1", {Form1, Form7, Form5}, {0.7f, 0.7f, 0.7f}, InvertAndDrive, 0.5f},
    {"Mainstream Bassdrum 2", {Form1, Form2, Form4}, {0.7f, 0.7f, 0.7f}, InvertAndDrive, 0.5f},
    {"Mainstream Bassdrum 3", {User7, Form7, Form5}, {0.7f, 0.7f, 0.7f}, VortleFuzz, 0.5f},
    {"Darkcore Bassdrum 1", {User1, User7, Sine}, {0.64f, 0.7f, 0}, FuzzDrive, 0.75f},
    {"Darkcore Bassdrum 2", {User4, User8, Sine}, {0.64f, 0.7f, 0}, FuzzDrive, 0.5f},
    {"QRT Bassdrum 1", {Form1, OctPulse, LQNoize3}, {0.4943f, 0.4908f, 0.4808f}, QRTFuzz1, 1},
    {"QRT Bassdrum 2", {QuadPulse, Form4, Form8}, {0.5777f, 0.7f, 0.7f}, VortleFuzz, 0.777f},
    {"QRT Kickdrum 1", {Form1, OctPulse, Form8}, {0.4f, 0.4f, 0.4f}, VortleFuzz, 0.75f},
    {"QRT Kickdrum 2", {Form1, Form5, Form7}, {0.4f, 0.4f, 0.4f}, QRTFuzz1, 0.777f},
    {"Industrial Bassdrum", {User6, User7, Sine}, {0.7768f, 0.7516f, 0}, FuzzDrive, 0.75f},
    {"Low Q Bassdrum", {LQNoize1, Form5, Form4}, {0.7f, 0.8f, 0.7f}, HardOverload, 0.75f},
    {"Crash-Boom-Beat", {Form10, Form7, Sine}, {1, 1, 0}, HardOverload, 0.7f},
    {"Vortle Darkcore-Kick", {User10, User4, Sine}, {0.64f, 0.7f, 0}, KVSigmoid1Drive, 0.25f},
    {"Deep-Underground-Beat", {Form10, Pulse, Form7}, {1, 1, 1}, FuzzDrive, 0.4f},
    {"Heavy-Bass-Beat", {Form6, Form9, Form1}, {1, 1, 1}, KVSigmoid1Drive, 0.4f},
    {"Terrorcore Beat 1", {Form10, Form5, Sine}, {0.75f, 0.75f, 0}, InvertAndDrive, 0.47f},
    {"Terrorcore Beat 2", {User1, User6, Sine}, {0.75f, 0.75f, 0}, FuzzDrive, 0.5777f},
    {"Killer Beat 1", {User1, User5, User6}, {1, 0.5f, 0.5f}, FuzzDrive, 0.75f},
    {"Killer Beat 2", {User3, User4, User5}, {0.75f, 0.75f, 0.75f}, BigFatDrive, 1},
    {"Dirty Beat 1", {User5, User8, QuadPulse}, {1, 0.75f, 0.5f}, KorvatuneDrive, 0.7f},
    {"Speedcore Kick 1", {User1, User5, User6}, {1, 0.5f, 0.5f}, VortleFuzz, 0.75f},
    {"Speedcore Kick 2", {User7, User8, User10}, {1, 0.48f, 0.64f}, SkraddleFuzz2, 0.75f},
    {"Bounce Kick 1", {User2, User5, QuadPulse}, {0.75f, 0.75f, 0.75f}, TubeDistort, 0.5f},
    {"Bounce Kick 2", {User2, QuadPulse, Pulse}, {0.75f, 0.75f, 0.75f}, Linear, 0.5f},
    {"NoiseCore Kick 1", {LQNoize1, LQNoize2, Form6}, {1, 1, 1}, SkraddleFuzz1, 0.7f},
    {"NoiseCore Kick 2", {LQNoize2, LQNoize3, Form10}, {1, 1, 1}, SkraddleFuzz2, 0.7f},
    {"KV Hard-Lead 1", {Sawtooth, Sawtooth, Sawtooth}, {1, 1, 1}, QRTFuzz1, 0.5f},
    {"KV Hard-D&B-Lead 1", {Form10, Form5, Sawtooth}, {1, 1, 1}, KVSigmoid1Drive, 0.5f},
    {"KV Filter Synth 1", {User1, Sine, Sine}, {1, 0, 0}, FuzzDrive, 0.5f},
    {"KV Filter Synth 2", {Sawtooth, QuadPulse, Sine}, {1, 1, 0}, Compressor, 0.5f},
}};

constexpr float w(Wave wave) {
    return static_cast<float>(wave) / 29.0f;
}
constexpr float d(Dist type) {
    return static_cast<float>(type) / 24.0f;
}

// Every key of a program, in key order: three oscillators of fourteen keys, then the globals.
struct Listing {
    int program;
    std::array<float, kKeysPerOscillator> osc1, osc2, osc3;
    std::array<float, kNumProgramKeys - 3 * kKeysPerOscillator> globals;

    float value(int key) const {
        if (key < 3 * kKeysPerOscillator) {
            const auto& osc = key < kKeysPerOscillator       ? osc1
                              : key < 2 * kKeysPerOscillator ? osc2
                                                             : osc3;
            return osc[key % kKeysPerOscillator];
        }
        return globals[key - 3 * kKeysPerOscillator];
    }
};

const std::array<Listing, 4> kFullListings = {{
    {0,
     {w(Sine), 0.5f, 1, 0, 0.5f, 0.5f, 0, 1, 0, 0, 0, 0, 0, 0},
     {w(Sine), 0.5f, 0, 0, 0.5f, 0.5f, 0, 1, 0, 0, 0, 0, 0, 0},
     {w(Sine), 0.5f, 0, 0, 0.5f, 0.5f, 0, 1, 0, 0, 0, 0, 0, 0},
     {0.8f, 0.12f, 0.62f, 0, 0, 0, 1, 1, 1, 0, 0, 0, d(Linear), 0, 0.1f, 0.5f, 0, 0.842f}},
    {25,
     {w(LQNoize1), 0.5f, 0.7f, 0.25f, 0.524565f, 0.5f, 0.6875f, 0.75344f, 0.770294f, 0, 0.229167f,
      0, 0, 0.520472f},
     {w(Form5), 0.530111f, 0.8f, 0.8f, 0.4f, 0.5f, 0, 1, 0, 0, 0, 0, 0, 0},
     {w(Form4), 0.452873f, 0.7f, 0.27f, 0.6f, 0.5f, 0, 1, 0, 0, 0, 0, 0, 0},
     {0.85f, 0.45f, 0.6f, 0, 0, 0, 0.124778f, 1, 0.6f, 0, 0, 0.75f, d(HardOverload), 0, 0.1f, 0.5f,
      0, 0.842f}},
    {32,
     {w(User1), 0.5f, 1, 0.5f, 0.5f, 0.5f, 0.85f, 0.25f, 0.25f, 0, 0.1f, 0.5f, 0.4f, 0.5f},
     {w(User5), 0.5f, 0.5f, 0.25f, 0.42f, 0.5f, 0.777f, 0.25f, 0.5f, 0, 0.2f, 0.25f, 0, 0.85f},
     {w(User6), 0.5f, 0.5f, 0.25f, 0.58f, 0.5f, 0, 1, 0, 1, 0.25f, 0.25f, 0, 0.5f},
     {0.777f, 0.275f, 0.7f, 0, 0, 0, 1, 1, 0.8f, 0.04f, 0.12f, 0.75f, d(FuzzDrive), 0, 0.1f, 0.5f,
      0, 0.842f}},
    {41,
     {w(Sawtooth), 0.5f, 1, 0, 0.73f, 0.5f, 0.8f, 0.5f, 0.5f, 0, 0.04f, 0, 0, 0.5f},
     {w(Sawtooth), 0.5f, 1, 0, 0.245f, 0.5f, 0.2f, 0.5f, 0.75f, 0, 0.03f, 0, 0.18f, 0.49f},
     {w(Sawtooth), 0.5f, 1, 0, 0.5f, 0.5f, 0, 1, 0, 0, 0.08f, 0, 0.35f, 0},
     {0.5f, 0, 1, 0, 0, 0, 1, 1, 0.875f, 0.1f, 0.185f, 0.5f, d(QRTFuzz1), 0, 0.1f, 0.5f, 0,
      0.842f}},
}};

using Bank = std::array<VstXSynthProgram, kNumPrograms>;

std::unique_ptr<Bank> loadedBank() {
    auto bank = std::make_unique<Bank>();
    loadFactoryBank(*bank);
    return bank;
}

int listIndex(float value, int entries) {
    const float clamped = std::clamp(value, 0.0f, 1.0f);
    return static_cast<int>(std::floor(static_cast<float>(entries - 1) * clamped + 0.5f));
}

TEST(FactoryBank, NamesAreListedInHostOrderAndFitTheNameField) {
    const auto bank = loadedBank();
    for (int k = 0; k < kNumPrograms; ++k) {
        SCOPED_TRACE(k);
        EXPECT_STREQ((*bank)[k].getName().c_str(), kBankTable[k].name);
        EXPECT_LT(std::strlen(factoryPrograms()[k].name), kProgramNameCapacity);
    }
}

TEST(FactoryBank, FullyListedProgramsMatchEveryValue) {
    const auto bank = loadedBank();
    for (const Listing& listing : kFullListings) {
        for (int key = 0; key < kNumProgramKeys; ++key) {
            SCOPED_TRACE(testing::Message() << "program " << listing.program << ", "
                                            << VstXSynthProgram::keyName(key));
            EXPECT_FLOAT_EQ((*bank)[listing.program].getValue(key), listing.value(key));
        }
    }
}

TEST(FactoryBank, EveryProgramHasTheListedWaveformsLevelsAndDistortion) {
    const auto bank = loadedBank();
    for (int k = 0; k < kNumPrograms; ++k) {
        SCOPED_TRACE(kBankTable[k].name);
        const VstXSynthProgram& record = (*bank)[k];
        for (int osc = 1; osc <= 3; ++osc) {
            SCOPED_TRACE(osc);
            const float wave = record.getValue(oscillatorKey(osc, kOscWaveform));
            EXPECT_EQ(listIndex(wave, kNumWaveforms), kBankTable[k].waves[osc - 1]);
            EXPECT_FLOAT_EQ(wave, w(kBankTable[k].waves[osc - 1]));
            EXPECT_FLOAT_EQ(record.getValue(oscillatorKey(osc, kOscVolume)),
                            kBankTable[k].levels[osc - 1]);
        }
        const float type = record.getValue(kDistortionType);
        EXPECT_EQ(listIndex(type, kNumDistortionTypes), kBankTable[k].type);
        EXPECT_FLOAT_EQ(type, d(kBankTable[k].type));
        EXPECT_FLOAT_EQ(record.getValue(kDistortion), kBankTable[k].amount);
    }
}

TEST(FactoryBank, SharedSettingsHoldAcrossTheBank) {
    const auto bank = loadedBank();
    for (int k = 0; k < kNumPrograms; ++k) {
        SCOPED_TRACE(kBankTable[k].name);
        const VstXSynthProgram& record = (*bank)[k];
        EXPECT_EQ(record.getValue(kSampleRate), 1.0f);
        EXPECT_EQ(record.getValue(kVolume), 0.842f);
        EXPECT_EQ(record.getValue(kDumpExpand), 0.5f);
        EXPECT_EQ(record.getValue(kBypassFX), 0.0f);
        EXPECT_EQ(record.getValue(kRingModulationAmount), 0.0f);
        EXPECT_EQ(record.getValue(kBassAmount), 0.0f);
        EXPECT_EQ(record.getValue(kMidAmount), 0.0f);
        EXPECT_EQ(record.getValue(kHighAmount), 0.0f);
        EXPECT_EQ(record.getValue(kQuantization), k == 25 ? 0.124778f : 1.0f);
        EXPECT_EQ(record.getValue(kRingModulationFrequency), k == 17 || k == 28 ? 0.0f : 0.1f);

        const bool oscillator1Unpitched = k == 28 || k == 29;
        const bool oscillator2Unpitched = k == 39 || k == 40;
        EXPECT_EQ(record.getOscPitch1(), oscillator1Unpitched ? 0.0f : 0.5f);
        EXPECT_EQ(record.getOscPitch2(), oscillator2Unpitched ? 0.0f : 0.5f);
        EXPECT_EQ(record.getOscPitch3(), 0.5f);

        if (k >= 41) {
            EXPECT_EQ(record.getValue(kPitchAmount), 0.0f);
            EXPECT_EQ(record.getValue(kPitchPower), 1.0f);
        }
    }
}

TEST(FactoryBank, OnlyProgram14LeavesBypassFXToProgram0) {
    for (int k = 0; k < kNumPrograms; ++k) {
        for (int key = 0; key < kNumProgramKeys; ++key) {
            const bool kept = factoryPrograms()[k].values[key] == kKeepValue;
            EXPECT_EQ(kept, k == 14 && key == kBypassFX)
                << "program " << k << ", " << VstXSynthProgram::keyName(key);
        }
    }

    Bank bank;
    bank[14].setRawValue(kBypassFX, 1.0f);
    loadFactoryBank(bank);
    EXPECT_EQ(bank[14].getValue(kBypassFX), 0.0f);
}

TEST(FactoryBank, LoadedRecordsHoldTheirDefinitionsWithinRange) {
    const auto bank = loadedBank();
    for (int k = 0; k < kNumPrograms; ++k) {
        for (int key = 0; key < kNumProgramKeys; ++key) {
            SCOPED_TRACE(testing::Message()
                         << "program " << k << ", " << VstXSynthProgram::keyName(key));
            const float defined = factoryPrograms()[k].values[key];
            const float expected =
                defined == kKeepValue ? factoryPrograms()[0].values[key] : defined;
            const float value = (*bank)[k].getValue(key);
            EXPECT_EQ(value, expected);
            EXPECT_GE(value, 0.0f);
            EXPECT_LE(value, 1.0f);
        }
    }
}

} // namespace
} // namespace Korvatune
