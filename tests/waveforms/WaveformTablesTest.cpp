#include "WaveformTestFiles.h"
#include "waveforms/WaveformProvider.h"
#include "waveforms/WaveformTableBuilder.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <memory>
#include <set>
#include <vector>

namespace Korvatune {
namespace {

constexpr int kSize = WaveformProvider::kTableSize;

enum {
    kSine = 0,
    kSawtooth,
    kPulse,
    kQuadPulse,
    kOctPulse,
    kTriangle,
    kNoize,
    kLq1,
    kLq2,
    kLq3,
    kForm1,
    kForm2,
    kForm3,
    kForm4,
    kForm5,
    kForm6,
    kForm7,
    kForm8,
    kForm9,
    kForm10,
    kUser1
};

float peakOf(const float* table) {
    float m = 0.0f;
    for (int i = 0; i < kSize; ++i) {
        m = std::max(m, std::fabs(table[i]));
    }
    return m;
}

// The computed tables before any normalisation.
class ComputedTables : public ::testing::Test {
protected:
    void SetUp() override {
        tables.assign(static_cast<std::size_t>(WaveformProvider::kNumWaveforms) * kSize, 123.0f);
        WaveformTableBuilder::buildComputedTables(reinterpret_cast<float(*)[kSize]>(tables.data()),
                                                  WaveformProvider::kNumWaveforms);
    }
    const float* table(int index) const { return tables.data() + index * kSize; }
    std::vector<float> tables;
};

TEST_F(ComputedTables, ClassicShapes) {
    EXPECT_EQ(table(kSine)[0], 0.0f);
    EXPECT_EQ(table(kSine)[1024], 1.0f);
    EXPECT_EQ(table(kSine)[3072], -1.0f);
    EXPECT_EQ(table(kSawtooth)[0], 0.0f);
    EXPECT_EQ(table(kSawtooth)[2047], 2047.0f / 2048.0f);
    EXPECT_EQ(table(kSawtooth)[2048], -1.0f);
    EXPECT_EQ(table(kSawtooth)[4095], -1.0f / 2048.0f);
    for (int i = 0; i < kSize; ++i) {
        EXPECT_EQ(table(kPulse)[i], i < 2048 ? 1.0f : -1.0f);
        EXPECT_EQ(table(kQuadPulse)[i], i < 1024 ? 1.0f : -1.0f);
        EXPECT_EQ(table(kOctPulse)[i], i < 512 ? 1.0f : -1.0f);
    }
    EXPECT_EQ(table(kTriangle)[0], 0.0f);
    EXPECT_EQ(table(kTriangle)[1024], 1.0f);
    EXPECT_EQ(table(kTriangle)[2048], 0.0f);
    EXPECT_EQ(table(kTriangle)[3072], -1.0f);
    EXPECT_EQ(table(kTriangle)[4095], -1.0f / 1024.0f);
}

TEST_F(ComputedTables, UserTablesStartAtZero) {
    for (int t = kUser1; t < WaveformProvider::kNumWaveforms; ++t) {
        EXPECT_EQ(peakOf(table(t)), 0.0f) << t;
    }
}

TEST_F(ComputedTables, NoiseFollowsTheGeneratorFromSeed777) {
    std::uint32_t state = 777;
    auto value = [&state]() {
        state = state * 214013u + 2531011u;
        const int draw = static_cast<int>((state >> 16) & 0x7FFF);
        return static_cast<float>(draw % 200 - 100) / 100.0f;
    };
    float l1 = 0.0f;
    float l2 = 0.0f;
    float l3 = 0.0f;
    for (int i = 0; i < kSize; ++i) {
        const float n = value();
        if (i % 128 == 0) {
            l1 = value();
        }
        if (i % 64 == 0) {
            l2 = value();
        }
        if (i % 32 == 0) {
            l3 = value() * table(kSine)[i];
        }
        ASSERT_EQ(table(kNoize)[i], n) << i;
        ASSERT_EQ(table(kLq1)[i], l1) << i;
        ASSERT_EQ(table(kLq2)[i], l2) << i;
        ASSERT_EQ(table(kLq3)[i], l3) << i;
    }
    // By hand: 777 * 214013 + 2531011 = 168819112; >> 16 = 2575; 2575 mod 200 = 175.
    EXPECT_EQ(table(kNoize)[0], 0.75f);
}

TEST_F(ComputedTables, NoiseValuesAreHundredthsAndHeld) {
    std::set<int> seen;
    for (int i = 0; i < kSize; ++i) {
        const float n = table(kNoize)[i];
        const long hundredths = std::lround(n * 100.0f);
        EXPECT_EQ(n, static_cast<float>(hundredths) / 100.0f) << i;
        EXPECT_GE(hundredths, -100);
        EXPECT_LE(hundredths, 99);
        seen.insert(static_cast<int>(hundredths));
        if (i % 128) {
            EXPECT_EQ(table(kLq1)[i], table(kLq1)[i - 1]);
        }
        if (i % 64) {
            EXPECT_EQ(table(kLq2)[i], table(kLq2)[i - 1]);
        }
        if (i % 32) {
            EXPECT_EQ(table(kLq3)[i], table(kLq3)[i - 1]);
        }
    }
    EXPECT_GT(seen.size(), 150u);
}

TEST_F(ComputedTables, TangentPolesLieJustAboveThePole) {
    EXPECT_EQ(table(kForm2)[2048], -4.0f);
    EXPECT_EQ(table(kForm3)[1024], -4.0f);
    EXPECT_EQ(table(kForm3)[3072], -4.0f);
    EXPECT_EQ(table(kForm2)[2047], 4.0f);
    EXPECT_EQ(table(kForm2)[0], 0.0f);
    EXPECT_NEAR(table(kForm2)[1024], 1.0f, 1e-6f);
    for (int i = 0; i < kSize; ++i) {
        EXPECT_LE(std::fabs(table(kForm2)[i]), 4.0f);
        EXPECT_LE(std::fabs(table(kForm3)[i]), 4.0f);
    }
}

TEST_F(ComputedTables, FormsFollowTheirRules) {
    std::set<float> levels;
    for (int i = 0; i < kSize; ++i) {
        const float s = table(kSine)[i];
        float form1 = s > 0.5f ? 1.0f : (s < -0.5f ? -1.0f : s);
        if (std::fabs(s) > 0.997f) {
            form1 = 0.0f;
        }
        EXPECT_EQ(table(kForm1)[i], form1) << i;
        levels.insert(table(kForm4)[i]);
        EXPECT_EQ(table(kForm4)[i], std::trunc(4.0f * s) / 4.0f);
        for (int t : {kForm5, kForm6, kForm7, kForm9, kForm10}) {
            EXPECT_LE(std::fabs(table(t)[i]), 1.0f) << t << " " << i;
        }
        if (std::fabs(s) > 0.997f) {
            EXPECT_LE(std::fabs(table(kForm8)[i]), 0.3f) << i;
        } else {
            const float twoS = 2.0f * s;
            EXPECT_EQ(table(kForm8)[i], (s > 0.0f ? 1.0f : -1.0f) * twoS * twoS * twoS * twoS);
        }
    }
    EXPECT_EQ(levels.size(), 9u);
    EXPECT_EQ(*levels.begin(), -1.0f);
    EXPECT_EQ(*levels.rbegin(), 1.0f);
    // Form5 is QuadPulse scaled around 0.7 by LQ Noize 1.
    const float q0 = 0.4f * table(kLq1)[0] + 0.7f;
    EXPECT_EQ(table(kForm5)[0], std::min(1.0f, std::max(-1.0f, q0)));
}

TEST(WaveformBuild, PeaksAfterBuild) {
    testfiles::TemporaryDirectory directory;
    auto provider = std::make_unique<WaveformProvider>();
    provider->setSubfolder("waveforms");
    provider->setFolder(directory.get().c_str());
    provider->build();
    for (int t : {kSine, kPulse, kQuadPulse, kOctPulse}) {
        EXPECT_EQ(peakOf(provider->getTableAt(t)), 1.0f) << t;
    }
    const float* saw = provider->getTableAt(kSawtooth);
    EXPECT_EQ(*std::min_element(saw, saw + kSize), -1.0f);
    EXPECT_EQ(*std::max_element(saw, saw + kSize), 2047.0f / 2048.0f);
    for (int t = kTriangle; t <= kForm10; ++t) {
        EXPECT_EQ(peakOf(provider->getTableAt(t)), 0.9777f) << t;
    }
    for (int t = kUser1; t < WaveformProvider::kNumWaveforms; ++t) {
        EXPECT_EQ(peakOf(provider->getTableAt(t)), 0.98777f) << t;
    }
    EXPECT_EQ(provider->getTableAt(kForm2)[2048], -0.9777f);
    EXPECT_EQ(provider->getTableAt(kForm3)[1024], -0.9777f);
    EXPECT_EQ(provider->getTableAt(kForm3)[3072], -0.9777f);
}

TEST(WaveformBuild, TwoProvidersBuildTheSameTables) {
    testfiles::TemporaryDirectory directory;
    auto a = std::make_unique<WaveformProvider>();
    auto b = std::make_unique<WaveformProvider>();
    for (WaveformProvider* p : {a.get(), b.get()}) {
        p->setSubfolder("waveforms");
        p->setFolder(directory.get().c_str());
    }
    a->build();
    b->build();
    for (int t = 0; t < WaveformProvider::kNumWaveforms; ++t) {
        EXPECT_EQ(std::memcmp(a->getTableAt(t), b->getTableAt(t), sizeof(float) * kSize), 0) << t;
    }
    // Building again gives the same result: the generator is seeded inside build.
    a->build();
    EXPECT_EQ(std::memcmp(a->getTableAt(kNoize), b->getTableAt(kNoize), sizeof(float) * kSize), 0);
}

// The computed tables exist once per process; the user slots belong to each provider, so a
// waveform loaded into one instance is not heard in another.
TEST(WaveformBuild, ProvidersShareComputedTablesAndOwnTheirUserSlots) {
    testfiles::TemporaryDirectory directory;
    auto a = std::make_unique<WaveformProvider>();
    auto b = std::make_unique<WaveformProvider>();
    for (WaveformProvider* p : {a.get(), b.get()}) {
        p->setSubfolder("waveforms");
        p->setFolder(directory.get().c_str());
        p->build();
    }
    for (int t = 0; t < kUser1; ++t) {
        EXPECT_EQ(a->getTableAt(t), b->getTableAt(t)) << t;
        EXPECT_EQ(a->getMutableTableAt(t), nullptr) << t;
    }
    for (int t = kUser1; t < WaveformProvider::kNumWaveforms; ++t) {
        EXPECT_NE(a->getTableAt(t), b->getTableAt(t)) << t;
        EXPECT_EQ(a->getMutableTableAt(t), a->getTableAt(t)) << t;
    }
    const float before = b->getTableAt(kUser1)[100];
    a->getMutableTableAt(kUser1)[100] = before + 0.5f;
    EXPECT_EQ(b->getTableAt(kUser1)[100], before);
}

TEST(WaveformBuild, NormaliseScalesToThePeakAndLeavesSilenceAlone) {
    std::vector<float> table(kSize, 0.0f);
    WaveformTableBuilder::normalise(table.data(), 0.5f);
    EXPECT_EQ(peakOf(table.data()), 0.0f);
    table[10] = -2.0f;
    table[20] = 1.0f;
    WaveformTableBuilder::normalise(table.data(), 0.5f);
    EXPECT_EQ(table[10], -0.5f);
    EXPECT_EQ(table[20], 0.25f);
}

} // namespace
} // namespace Korvatune
