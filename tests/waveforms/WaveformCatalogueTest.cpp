#include "WaveformTestFiles.h"
#include "engine/SampleFunctions.h"
#include "waveforms/WaveformProvider.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <memory>
#include <set>
#include <string>

namespace Korvatune {
namespace {

const char* const kCatalogue[WaveformProvider::kNumWaveforms] = {
    "Sine",       "Sawtooth",   "Pulse", "QuadPulse", "OctPulse", "Triangle", "Noize", "LQ Noize 1",
    "LQ Noize 2", "LQ Noize 3", "Form1", "Form2",     "Form3",    "Form4",    "Form5", "Form6",
    "Form7",      "Form8",      "Form9", "Form10",    "User1",    "User2",    "User3", "User4",
    "User5",      "User6",      "User7", "User8",     "User9",    "User10"};

float valueOf(int index) {
    return static_cast<float>(index) / 29.0f;
}

class BuiltProvider : public ::testing::Test {
protected:
    void SetUp() override {
        provider = std::make_unique<WaveformProvider>();
        provider->setSubfolder("waveforms");
        provider->setFolder(directory.get().c_str());
        provider->build();
    }
    testfiles::TemporaryDirectory directory;
    std::unique_ptr<WaveformProvider> provider;
};

TEST(WaveformCatalogue, IndexOfValue) {
    EXPECT_EQ(WaveformProvider::waveformIndex(0.0f), 0);
    EXPECT_EQ(WaveformProvider::waveformIndex(0.017f), 0); // below 1/58
    EXPECT_EQ(WaveformProvider::waveformIndex(std::nextafter(1.0f / 58.0f, 0.0f)), 0);
    EXPECT_EQ(WaveformProvider::waveformIndex(0.018f), 1);
    EXPECT_EQ(WaveformProvider::waveformIndex(1.0f), 29);
    EXPECT_EQ(WaveformProvider::waveformIndex(0.5f), 15);
    EXPECT_EQ(WaveformProvider::waveformIndex(-0.4f), 0);
    EXPECT_EQ(WaveformProvider::waveformIndex(-1e30f), 0);
    EXPECT_EQ(WaveformProvider::waveformIndex(1.7f), 29);
    EXPECT_EQ(WaveformProvider::waveformIndex(std::numeric_limits<float>::infinity()), 29);
    EXPECT_EQ(WaveformProvider::waveformIndex(std::numeric_limits<float>::quiet_NaN()), 0);
    for (int k = 0; k < WaveformProvider::kNumWaveforms; ++k) {
        EXPECT_EQ(WaveformProvider::waveformIndex(valueOf(k)), k);
    }
}

TEST(WaveformCatalogue, NamesInCatalogueOrder) {
    for (int k = 0; k < WaveformProvider::kNumWaveforms; ++k) {
        EXPECT_STREQ(WaveformProvider::waveformName(valueOf(k)), kCatalogue[k]);
        EXPECT_STREQ(WaveformProvider::waveformNameAt(k), kCatalogue[k]);
        EXPECT_EQ(WaveformProvider::waveformIndexOfName(kCatalogue[k]), k);
    }
    EXPECT_STREQ(WaveformProvider::waveformName(0.5f), "Form6");
    EXPECT_STREQ(WaveformProvider::waveformName(2.0f), "User10");
    EXPECT_STREQ(WaveformProvider::waveformNameAt(30), "Sine");
    EXPECT_STREQ(WaveformProvider::waveformNameAt(-1), "Sine");
}

TEST(WaveformCatalogue, IndexOfNameIsExactAndCaseSensitive) {
    EXPECT_EQ(WaveformProvider::waveformIndexOfName("Sine"), 0);
    EXPECT_EQ(WaveformProvider::waveformIndexOfName("sine"), 0);
    EXPECT_EQ(WaveformProvider::waveformIndexOfName("user1"), 0);
    EXPECT_EQ(WaveformProvider::waveformIndexOfName("User1"), 20);
    EXPECT_EQ(WaveformProvider::waveformIndexOfName("User10"), 29);
    EXPECT_EQ(WaveformProvider::waveformIndexOfName("User1 "), 0);
    EXPECT_EQ(WaveformProvider::waveformIndexOfName("LQ Noize 3"), 9);
    EXPECT_EQ(WaveformProvider::waveformIndexOfName("Unknown"), 0);
    EXPECT_EQ(WaveformProvider::waveformIndexOfName(""), 0);
    EXPECT_EQ(WaveformProvider::waveformIndexOfName(nullptr), 0);
}

TEST(WaveformCatalogue, DisplayTextFitsEightBytes) {
    std::set<std::string> texts;
    for (int k = 0; k < WaveformProvider::kNumWaveforms; ++k) {
        char buffer[16];
        std::memset(buffer, 'X', sizeof(buffer));
        WaveformProvider::displayText(valueOf(k), buffer);
        const std::size_t length = strnlen(buffer, 8);
        EXPECT_LE(length, 7u) << k;
        EXPECT_GT(length, 0u) << k;
        for (std::size_t b = 8; b < sizeof(buffer); ++b) {
            EXPECT_EQ(buffer[b], 'X') << k; // nothing written past the 8 bytes
        }
        texts.insert(buffer);
        if (std::strlen(kCatalogue[k]) <= 7) {
            EXPECT_STREQ(buffer, kCatalogue[k]); // short names are shown whole
        }
    }
    EXPECT_EQ(texts.size(), static_cast<std::size_t>(WaveformProvider::kNumWaveforms));
    WaveformProvider::displayText(0.5f, nullptr); // ignored
}

TEST(WaveformCatalogue, PreviousAndNextStepThroughTheCatalogue) {
    EXPECT_EQ(WaveformProvider::nextValue(0.0f), 0.034482758620689655f);
    EXPECT_EQ(WaveformProvider::previousValue(0.0f), 0.0f);
    EXPECT_EQ(WaveformProvider::nextValue(1.0f), 1.0f);
    EXPECT_EQ(WaveformProvider::previousValue(1.0f), 1.0f - 0.034482758620689655f);
    EXPECT_EQ(WaveformProvider::previousValue(-3.0f), 0.0f);
    EXPECT_EQ(WaveformProvider::nextValue(5.0f), 1.0f);
    float value = 0.0f;
    for (int k = 1; k < WaveformProvider::kNumWaveforms; ++k) {
        value = WaveformProvider::nextValue(value);
        EXPECT_EQ(WaveformProvider::waveformIndex(value), k);
    }
    for (int k = WaveformProvider::kNumWaveforms - 2; k >= 0; --k) {
        value = WaveformProvider::previousValue(value);
        EXPECT_EQ(WaveformProvider::waveformIndex(value), k);
    }
}

TEST_F(BuiltProvider, GetTableSelectsDirectly) {
    for (int k = 0; k < WaveformProvider::kNumWaveforms; ++k) {
        EXPECT_EQ(provider->getTable(valueOf(k)), provider->getTableAt(k));
    }
    EXPECT_EQ(provider->getTable(-1.0f), provider->getTableAt(0));
    EXPECT_EQ(provider->getTable(3.0f), provider->getTableAt(29));
    EXPECT_EQ(provider->getTable(0.5f), provider->getTableAt(15));
    EXPECT_EQ(provider->getTableAt(30), provider->getTableAt(0));
    EXPECT_EQ(provider->getTableAt(-5), provider->getTableAt(0));
}

TEST_F(BuiltProvider, PreviewPoints) {
    for (int k : {0, 1, 7, 21}) {
        const float* table = provider->getTableAt(k);
        float plain[WaveformProvider::kPreviewPointCount];
        float inverted[WaveformProvider::kPreviewPointCount];
        provider->previewPoints(valueOf(k), false, plain);
        provider->previewPoints(valueOf(k), true, inverted);
        for (int i = 0; i < WaveformProvider::kPreviewPointCount; ++i) {
            const int index = static_cast<int>(std::trunc(i / 50.0 * 4096.0));
            EXPECT_EQ(plain[i], table[index]) << k << " " << i;
            EXPECT_EQ(inverted[i], invertSample(table[index])) << k << " " << i;
        }
    }
    float points[WaveformProvider::kPreviewPointCount];
    provider->previewPoints(0.0f, true, points);
    EXPECT_EQ(points[0], 0.0f); // zero stays zero
    EXPECT_EQ(points[1], 1.0f - provider->getTableAt(0)[81]);
    provider->previewPoints(0.0f, false, nullptr); // ignored
}

} // namespace
} // namespace Korvatune
