#include "waveforms/WaveformFileLoader.h"
#include "WaveformTestFiles.h"
#include "waveforms/WaveformProvider.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cmath>
#include <cstdint>
#include <filesystem>
#include <limits>
#include <memory>
#include <vector>

namespace Korvatune {
namespace {

using namespace testfiles;

constexpr int kSize = 4096;
constexpr float kSentinel = 0.625f; // what the table held before a load

std::vector<float> ramp(int count, float scale = 0.0001f) {
    std::vector<float> values(static_cast<std::size_t>(count));
    for (int k = 0; k < count; ++k) {
        values[k] = scale * static_cast<float>(k + 1);
    }
    return values;
}

std::vector<std::int16_t> samples(int count) {
    std::vector<std::int16_t> values(static_cast<std::size_t>(count));
    for (int k = 0; k < count; ++k) {
        values[k] = static_cast<std::int16_t>((k * 37) % 65536 - 32768);
    }
    return values;
}

float sampleValue(std::int16_t s) {
    return static_cast<float>(s / 32767.0);
}

class FileLoading : public ::testing::Test {
protected:
    void SetUp() override {
        provider = std::make_unique<WaveformProvider>();
        table.assign(kSize, kSentinel);
    }
    bool load(const std::string& path) { return provider->loadFile(path.c_str(), table.data()); }
    bool unchanged() const {
        for (float v : table) {
            if (v != kSentinel) {
                return false;
            }
        }
        return true;
    }

    TemporaryDirectory directory;
    std::unique_ptr<WaveformProvider> provider;
    std::vector<float> table;
};

// ------------------------------------------------------------------ raw loader

TEST_F(FileLoading, Raw16384BytesIsReadWhole) {
    const std::vector<float> source = ramp(4096);
    writeBytes(directory.file("whole.raw"), rawFloats(source));
    ASSERT_TRUE(load(directory.file("whole.raw")));
    for (int i = 0; i < kSize; ++i) {
        ASSERT_EQ(table[i], source[i]) << i;
    }
}

TEST_F(FileLoading, RawLongerFileUsesTheFirst4096Floats) {
    const std::vector<float> source = ramp(5000);
    writeBytes(directory.file("long.raw"), rawFloats(source));
    ASSERT_TRUE(load(directory.file("long.raw")));
    for (int i = 0; i < kSize; ++i) {
        ASSERT_EQ(table[i], source[i]) << i;
    }
}

TEST_F(FileLoading, Raw16383BytesGives4095FloatsResampled) {
    const std::vector<float> source = ramp(4096);
    std::vector<unsigned char> bytes = rawFloats(source);
    bytes.resize(16383);
    writeBytes(directory.file("short.raw"), bytes);
    ASSERT_TRUE(load(directory.file("short.raw")));
    for (int i = 0; i < kSize; ++i) {
        const double x = i / 4096.0 * 4095.0;
        const int r = static_cast<int>(std::floor(x + 0.5));
        const float expected = (source[static_cast<int>(x)] + source[r]) * 0.5f;
        ASSERT_EQ(table[i], expected) << i;
    }
    EXPECT_EQ(table[4095], source[4094]); // resampled, not read whole
    EXPECT_EQ(table[2048], (source[2047] + source[2048]) * 0.5f);
}

TEST_F(FileLoading, Raw1000FloatsResamplePositions) {
    const std::vector<float> source = ramp(1000, 0.001f);
    writeBytes(directory.file("thousand.raw"), rawFloats(source));
    ASSERT_TRUE(load(directory.file("thousand.raw")));
    EXPECT_EQ(table[0], source[0]);
    EXPECT_EQ(table[1], source[0]);
    EXPECT_EQ(table[2], source[0]);
    EXPECT_EQ(table[3], (source[0] + source[1]) * 0.5f);
    EXPECT_EQ(table[4093], source[999]);
    EXPECT_EQ(table[4094], kSentinel); // rounded position 1000 keeps the previous value
    EXPECT_EQ(table[4095], kSentinel);
}

TEST_F(FileLoading, RawShorterThanOneFloatLeavesTheTable) {
    writeBytes(directory.file("tiny.raw"), {1, 2, 3});
    EXPECT_TRUE(load(directory.file("tiny.raw")));
    EXPECT_TRUE(unchanged());
    writeBytes(directory.file("empty.raw"), {});
    EXPECT_TRUE(load(directory.file("empty.raw")));
    EXPECT_TRUE(unchanged());
}

TEST_F(FileLoading, RawNonFiniteValuesReadAsZero) {
    std::vector<float> source = ramp(4096);
    source[0] = std::numeric_limits<float>::quiet_NaN();
    source[1] = std::numeric_limits<float>::infinity();
    source[2] = -std::numeric_limits<float>::infinity();
    source[3] = std::numeric_limits<float>::signaling_NaN();
    writeBytes(directory.file("nan.raw"), rawFloats(source));
    ASSERT_TRUE(load(directory.file("nan.raw")));
    EXPECT_EQ(table[0], 0.0f);
    EXPECT_EQ(table[1], 0.0f);
    EXPECT_EQ(table[2], 0.0f);
    EXPECT_EQ(table[3], 0.0f);
    EXPECT_EQ(table[4], source[4]);

    std::vector<float> few = {std::numeric_limits<float>::quiet_NaN(), 0.5f};
    writeBytes(directory.file("fewnan.raw"), rawFloats(few));
    ASSERT_TRUE(load(directory.file("fewnan.raw")));
    EXPECT_EQ(table[0], 0.0f);
    EXPECT_EQ(table[1500], 0.25f); // x = 0.73: mean of 0 and 0.5
    for (float v : table) {
        ASSERT_TRUE(std::isfinite(v));
    }
}

TEST_F(FileLoading, MissingFileReportsFalse) {
    EXPECT_FALSE(load(directory.file("absent.raw")));
    EXPECT_FALSE(load(directory.file("absent.wav")));
    EXPECT_TRUE(unchanged());
    EXPECT_FALSE(provider->loadFile(nullptr, table.data()));
    EXPECT_FALSE(provider->loadFile(directory.file("absent.raw").c_str(), nullptr));
}

TEST_F(FileLoading, FolderInPlaceOfTheFileReportsFalseAndLeavesTheTable) {
    std::filesystem::create_directories(directory.file("user01.raw"));
    std::filesystem::create_directories(directory.file("shape.wav"));
    EXPECT_FALSE(load(directory.file("user01.raw")));
    EXPECT_FALSE(load(directory.file("shape.wav")));
    EXPECT_TRUE(unchanged());
}

TEST_F(FileLoading, FileWithoutReadPermissionReportsFalseAndLeavesTheTable) {
    const std::string path = directory.file("locked.raw");
    writeBytes(path, rawFloats(ramp(4096)));
    std::filesystem::permissions(path, std::filesystem::perms::none);
    if (::geteuid() != 0) {
        EXPECT_FALSE(load(path));
        EXPECT_TRUE(unchanged());
        return;
    }
    // The superuser reads every file, so the load runs in a child that has given that up.
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        const bool refused = ::setuid(65534) == 0 && !load(path) && unchanged();
        ::_exit(refused ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
}

// ------------------------------------------------------------------ WAVE loader

TEST_F(FileLoading, WaveCanonicalWholeTable) {
    const std::vector<std::int16_t> data = samples(4096);
    writeBytes(directory.file("whole.wav"), canonicalWave(1, 16, 8192, pcm16(data)));
    ASSERT_TRUE(load(directory.file("whole.wav")));
    for (int i = 0; i < kSize; ++i) {
        ASSERT_EQ(table[i], sampleValue(data[i])) << i;
    }
    EXPECT_EQ(table[0], static_cast<float>(-32768 / 32767.0));
}

TEST_F(FileLoading, WaveDataSize10000Gives4096WithoutResampling) {
    const std::vector<std::int16_t> data = samples(5000);
    writeBytes(directory.file("big.wav"), canonicalWave(1, 16, 10000, pcm16(data)));
    ASSERT_TRUE(load(directory.file("big.wav")));
    for (int i = 0; i < kSize; ++i) {
        ASSERT_EQ(table[i], sampleValue(data[i])) << i;
    }
}

TEST_F(FileLoading, WaveSizeFieldBeyondTheFileReadsZeros) {
    const std::vector<std::int16_t> data = samples(100);
    writeBytes(directory.file("truncated.wav"), canonicalWave(1, 16, 10000, pcm16(data)));
    ASSERT_TRUE(load(directory.file("truncated.wav")));
    for (int i = 0; i < 100; ++i) {
        ASSERT_EQ(table[i], sampleValue(data[i])) << i;
    }
    for (int i = 100; i < kSize; ++i) {
        ASSERT_EQ(table[i], 0.0f) << i;
    }
}

TEST_F(FileLoading, WaveDataSize100Gives50Resampled) {
    const std::vector<std::int16_t> data = samples(50);
    writeBytes(directory.file("small.wav"), canonicalWave(1, 16, 100, pcm16(data)));
    ASSERT_TRUE(load(directory.file("small.wav")));
    for (int i = 0; i < kSize; ++i) {
        const double x = i / 4096.0 * 50.0;
        const int r = static_cast<int>(std::floor(x + 0.5));
        if (r < 50) {
            const float expected =
                (sampleValue(data[static_cast<int>(x)]) + sampleValue(data[r])) * 0.5f;
            ASSERT_EQ(table[i], expected) << i;
        } else {
            ASSERT_EQ(table[i], kSentinel) << i; // i >= 4056 keeps what the table held
        }
    }
    EXPECT_EQ(table[4055], sampleValue(data[49]));
    EXPECT_EQ(table[4056], kSentinel);
}

TEST_F(FileLoading, WaveStereoAnd8BitAreRefused) {
    writeBytes(directory.file("stereo.wav"), canonicalWave(2, 16, 200, pcm16(samples(100))));
    EXPECT_FALSE(load(directory.file("stereo.wav")));
    EXPECT_TRUE(unchanged());
    std::vector<unsigned char> eight(200, 0x80);
    writeBytes(directory.file("eight.wav"), canonicalWave(1, 8, 200, eight));
    EXPECT_FALSE(load(directory.file("eight.wav")));
    EXPECT_TRUE(unchanged());
}

TEST_F(FileLoading, WaveThatIsNotRiffIsRefused) {
    std::vector<unsigned char> bytes = canonicalWave(1, 16, 200, pcm16(samples(100)));
    bytes[0] = 'X';
    writeBytes(directory.file("notriff.wav"), bytes);
    EXPECT_FALSE(load(directory.file("notriff.wav")));
    writeBytes(directory.file("stub.wav"), {'R', 'I', 'F', 'F'});
    EXPECT_FALSE(load(directory.file("stub.wav")));
    // RIFF/WAVE with a format chunk but no data chunk.
    std::vector<unsigned char> noData;
    appendText(noData, "RIFF");
    appendLe32(noData, 28);
    appendText(noData, "WAVE");
    appendChunk(noData, "fmt ", formatBody(1, 16));
    writeBytes(directory.file("nodata.wav"), noData);
    EXPECT_FALSE(load(directory.file("nodata.wav")));
    EXPECT_TRUE(unchanged());
}

TEST_F(FileLoading, WaveWithExtraChunksLoadsItsSamples) {
    const std::vector<std::int16_t> data = samples(4096);
    std::vector<unsigned char> bytes;
    appendText(bytes, "RIFF");
    appendLe32(bytes, 0); // a wrong RIFF size is not trusted
    appendText(bytes, "WAVE");
    appendChunk(bytes, "JUNK", std::vector<unsigned char>(28, 0));
    appendChunk(bytes, "bext", std::vector<unsigned char>(602, 'b'));
    appendChunk(bytes, "fmt ", formatBody(1, 16, 24));     // 40-byte extensible format chunk
    appendChunk(bytes, "LIST", {'I', 'N', 'F', 'O', 'x'}); // odd size: padded
    appendChunk(bytes, "data", pcm16(data));
    appendChunk(bytes, "LIST", std::vector<unsigned char>(10, 'z'));
    writeBytes(directory.file("chunks.wav"), bytes);
    ASSERT_TRUE(load(directory.file("chunks.wav")));
    for (int i = 0; i < kSize; ++i) {
        ASSERT_EQ(table[i], sampleValue(data[i])) << i;
    }
}

TEST_F(FileLoading, WaveWithDataBeforeFormatLoads) {
    const std::vector<std::int16_t> data = samples(4096);
    std::vector<unsigned char> bytes;
    appendText(bytes, "RIFF");
    appendLe32(bytes, 0);
    appendText(bytes, "WAVE");
    appendChunk(bytes, "data", pcm16(data));
    appendChunk(bytes, "fmt ", formatBody(1, 16));
    writeBytes(directory.file("late.wav"), bytes);
    ASSERT_TRUE(load(directory.file("late.wav")));
    EXPECT_EQ(table[4095], sampleValue(data[4095]));
}

TEST_F(FileLoading, WaveStereoWithExtraChunksIsStillRefused) {
    std::vector<unsigned char> bytes;
    appendText(bytes, "RIFF");
    appendLe32(bytes, 0);
    appendText(bytes, "WAVE");
    appendChunk(bytes, "LIST", std::vector<unsigned char>(20, 'l'));
    appendChunk(bytes, "fmt ", formatBody(2, 16));
    appendChunk(bytes, "data", pcm16(samples(200)));
    writeBytes(directory.file("stereo-chunks.wav"), bytes);
    EXPECT_FALSE(load(directory.file("stereo-chunks.wav")));
    EXPECT_TRUE(unchanged());
}

// ------------------------------------------------------------------ loader choice

TEST(LoaderChoice, ExtensionComparedWithoutCase) {
    EXPECT_TRUE(WaveformFileLoader::hasWaveExtension("a.wav"));
    EXPECT_TRUE(WaveformFileLoader::hasWaveExtension("/x/y/A.WAV"));
    EXPECT_TRUE(WaveformFileLoader::hasWaveExtension("shape.Wav"));
    EXPECT_TRUE(WaveformFileLoader::hasWaveExtension(".wav"));
    EXPECT_FALSE(WaveformFileLoader::hasWaveExtension("a.wav.raw"));
    EXPECT_FALSE(WaveformFileLoader::hasWaveExtension("a.wave"));
    EXPECT_FALSE(WaveformFileLoader::hasWaveExtension("a.wavx"));
    EXPECT_FALSE(WaveformFileLoader::hasWaveExtension("/data.wav/waveforms/user01.raw"));
    EXPECT_FALSE(WaveformFileLoader::hasWaveExtension("/data.wav/user01"));
    EXPECT_FALSE(WaveformFileLoader::hasWaveExtension("wav"));
    EXPECT_FALSE(WaveformFileLoader::hasWaveExtension(nullptr));
}

TEST_F(FileLoading, UpperCaseExtensionUsesTheWaveLoader) {
    const std::vector<std::int16_t> data = samples(4096);
    writeBytes(directory.file("SHAPE.WAV"), canonicalWave(1, 16, 8192, pcm16(data)));
    ASSERT_TRUE(load(directory.file("SHAPE.WAV")));
    EXPECT_EQ(table[7], sampleValue(data[7]));
}

TEST_F(FileLoading, FolderNamedDotWavStillUsesTheRawLoader) {
    const std::vector<float> source = ramp(4096);
    writeBytes(directory.file("kit.wav/waveforms/user01.raw"), rawFloats(source));
    ASSERT_TRUE(load(directory.file("kit.wav/waveforms/user01.raw")));
    EXPECT_EQ(table[100], source[100]);

    // At startup too: a data folder whose name contains ".wav" reads the raw user files.
    auto built = std::make_unique<WaveformProvider>();
    built->setSubfolder("waveforms");
    built->setFolder(directory.file("kit.wav").c_str());
    built->build();
    EXPECT_EQ(built->getTableAt(20)[4095], 0.98777f);
    EXPECT_NEAR(built->getTableAt(20)[0], 0.98777f / 4096.0f, 1e-7f);
}

// ------------------------------------------------------------------ user slots

TEST_F(FileLoading, FolderInPlaceOfAUserFileKeepsTheBuiltInShape) {
    WaveformProvider builtIn;
    builtIn.build();
    std::filesystem::create_directories(directory.file("waveforms/user01.raw"));
    std::filesystem::create_directories(directory.file("waveforms/user02.raw"));
    provider->setSubfolder("waveforms");
    provider->setFolder(directory.get().c_str());
    provider->build();
    for (int index = 20; index <= 21; ++index) {
        for (int i = 0; i < kSize; ++i) {
            ASSERT_EQ(provider->getTableAt(index)[i], builtIn.getTableAt(index)[i]) << index;
        }
    }

    // The editor's load of such a path fails the same way.
    const std::string folder = directory.file("waveforms/user01.raw");
    EXPECT_FALSE(provider->loadUserWaveform(folder.c_str(), 20.0f / 29.0f));
    for (int i = 0; i < kSize; ++i) {
        ASSERT_EQ(provider->getTableAt(20)[i], builtIn.getTableAt(20)[i]) << i;
    }
}

TEST_F(FileLoading, LoadUserWaveformFillsTheSelectedSlot) {
    provider->setSubfolder("waveforms");
    provider->setFolder(directory.get().c_str());
    provider->build();
    const std::vector<float> source = ramp(4096);
    writeBytes(directory.file("mine.raw"), rawFloats(source));

    EXPECT_TRUE(provider->loadUserWaveform(directory.file("mine.raw").c_str(), 22.0f / 29.0f));
    const float* user3 = provider->getTableAt(22);
    EXPECT_EQ(user3[4095], 0.98777f);
    EXPECT_NEAR(user3[2047], 0.98777f * 0.5f, 1e-6f);

    const std::vector<float> before(provider->getTableAt(15), provider->getTableAt(15) + kSize);
    EXPECT_FALSE(provider->loadUserWaveform(directory.file("mine.raw").c_str(), 0.5f));
    EXPECT_FALSE(provider->loadUserWaveform(directory.file("mine.raw").c_str(), 19.0f / 29.0f));
    EXPECT_TRUE(std::equal(before.begin(), before.end(), provider->getTableAt(15)));

    // A failing load reports false and leaves the slot (still normalised) as it was.
    const std::vector<float> user9(provider->getTableAt(28), provider->getTableAt(28) + kSize);
    EXPECT_FALSE(provider->loadUserWaveform(directory.file("absent.raw").c_str(), 28.0f / 29.0f));
    EXPECT_FALSE(provider->loadUserWaveform(nullptr, 28.0f / 29.0f));
    for (int i = 0; i < kSize; ++i) {
        ASSERT_NEAR(provider->getTableAt(28)[i], user9[i], 1e-6f) << i;
    }

    // A WAVE file by the editor's action, value 1 selects User10.
    writeBytes(directory.file("mine.wav"), canonicalWave(1, 16, 8192, pcm16(samples(4096))));
    EXPECT_TRUE(provider->loadUserWaveform(directory.file("mine.wav").c_str(), 1.0f));
    EXPECT_EQ(provider->getTableAt(29)[0], -0.98777f);
}

TEST_F(FileLoading, ResampleDoesNothingForFullCounts) {
    std::vector<float> source(kSize, 1.0f);
    WaveformFileLoader::resample(source.data(), table.data(), 4096);
    WaveformFileLoader::resample(source.data(), table.data(), 5000);
    WaveformFileLoader::resample(source.data(), table.data(), 0);
    EXPECT_TRUE(unchanged());
}

} // namespace
} // namespace Korvatune
