#include "editor/SoundExport.h"
#include "editor/Wave24Writer.h"
#include "plugin/Instrument.h"
#include "plugin/VstXSynth.h"
#include "support/CommandLineRun.h"

#include <gtest/gtest.h>
#include <sndfile.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <ostream>
#include <sstream>
#include <string>
#include <vector>

namespace Korvatune {
namespace {

namespace fs = std::filesystem;

class TemporaryFolder {
public:
    TemporaryFolder() {
        std::string pattern = (fs::temp_directory_path() / "ombrafell-export-XXXXXX").string();
        if (const char* made = mkdtemp(pattern.data())) {
            path = made;
        }
    }
    ~TemporaryFolder() {
        std::error_code error;
        fs::remove_all(path, error);
    }
    TemporaryFolder(const TemporaryFolder&) = delete;
    TemporaryFolder& operator=(const TemporaryFolder&) = delete;

    fs::path path;
};

// The samples as the 24-bit integers the file holds, interleaved.
struct Pcm24 {
    int format = 0;
    int channels = 0;
    int rate = 0;
    std::vector<int> samples;
};

Pcm24 readPcm24(const fs::path& path) {
    SF_INFO info{};
    SNDFILE* file = sf_open(path.c_str(), SFM_READ, &info);
    Pcm24 result;
    if (file == nullptr) {
        return result;
    }
    result = {info.format, info.channels, info.samplerate, {}};
    result.samples.resize(static_cast<std::size_t>(info.frames * info.channels));
    sf_readf_int(file, result.samples.data(), info.frames);
    sf_close(file);
    for (int& sample : result.samples) {
        sample >>= 8;
    }
    return result;
}

std::string secondsOf(std::size_t frames, int rate) {
    std::ostringstream text;
    text.precision(17);
    text << static_cast<double>(frames) / rate;
    return text.str();
}

struct Sound {
    int program;
    std::vector<std::pair<int, float>> settings;
};

// The running instrument as a host has it: at another rate, with blocks behind it.
std::unique_ptr<Instrument> runningInstrument(const Sound& sound) {
    auto instrument = std::make_unique<Instrument>("", nullptr);
    instrument->setSampleRate(96000.0);
    instrument->selectProgram(sound.program);
    for (const auto& [index, value] : sound.settings) {
        instrument->setParameterValue(index, value);
    }
    instrument->activate();
    std::vector<float> left(256), right(256);
    const std::uint8_t noteOn[] = {0x90, 40, 100};
    instrument->queueMidi(noteOn, 0);
    instrument->render(left.data(), right.data(), 256);
    return instrument;
}

Pcm24 renderByCommandLine(const Sound& sound, int rate, std::size_t frames, const fs::path& file) {
    std::vector<std::string> words = {"render", "-p", std::to_string(sound.program)};
    for (const auto& [index, value] : sound.settings) {
        std::ostringstream setting;
        setting.precision(9);
        setting << index << '=' << value;
        words.insert(words.end(), {"--set", setting.str()});
    }
    words.insert(words.end(), {"-r", std::to_string(rate), "--length", secondsOf(frames, rate),
                               "--gate", "0.5", "--format", "pcm24", "-o", file.string()});
    const testing::CommandResult result = testing::runCommand(words);
    EXPECT_EQ(result.status, 0) << result.err;
    return readPcm24(file);
}

struct ExportCase {
    const char* name;
    Sound sound;
    bool endless;
};

void PrintTo(const ExportCase& example, std::ostream* out) {
    *out << example.name;
}

class SoundExport : public ::testing::TestWithParam<ExportCase> {};

// An export is what `ombrafell render` makes of the same sound, to the 24-bit integer; it ends
// with the sound, or at four seconds for one that keeps ringing (a resonant output filter with
// its bass boost rings on past four seconds).
TEST_P(SoundExport, EqualsTheCommandLinesRender) {
    const ExportCase& example = GetParam();
    const auto running = runningInstrument(example.sound);
    TemporaryFolder folder;
    for (int rate : {44100, 48000}) {
        SCOPED_TRACE(rate);
        const fs::path exported = folder.path / "export.wav";
        const ExportResult result = exportSound(running->synth(), exported, rate);
        ASSERT_TRUE(result.ok) << result.error;
        const auto longest = static_cast<std::size_t>(std::llround(kLongestExportSeconds * rate));
        if (example.endless) {
            EXPECT_EQ(result.frames, longest);
        } else {
            EXPECT_GT(result.frames, static_cast<std::size_t>(rate / 2));
            EXPECT_LT(result.frames, longest);
        }
        const Pcm24 file = readPcm24(exported);
        EXPECT_EQ(file.format, SF_FORMAT_WAV | SF_FORMAT_PCM_24);
        EXPECT_EQ(file.channels, 2);
        EXPECT_EQ(file.rate, rate);
        ASSERT_EQ(file.samples.size(), 2 * result.frames);
        const Pcm24 rendered =
            renderByCommandLine(example.sound, rate, result.frames, folder.path / "render.wav");
        ASSERT_EQ(rendered.samples.size(), file.samples.size());
        for (std::size_t index = 0; index < file.samples.size(); ++index) {
            ASSERT_EQ(file.samples[index], rendered.samples[index]) << "sample " << index;
        }
        if (!example.endless) {
            // The file ends where the sound does: the last block is already silent (quieter than
            // one step, which the rounding may leave at -1).
            const std::size_t lastBlock = 2 * (result.frames - 512);
            for (std::size_t index = lastBlock; index < file.samples.size(); ++index) {
                ASSERT_LE(std::abs(file.samples[index]), 1) << "sample " << index;
            }
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    Sounds, SoundExport,
    ::testing::Values(ExportCase{"Program0", {0, {}}, false},
                      ExportCase{"Program18", {18, {}}, false},
                      ExportCase{"Program18WithCutoff", {18, {{kFilterCutoff, 0.3f}}}, false},
                      ExportCase{
                          "RingingFilter",
                          {0, {{kFilterResonance, 1.0f}, {kBassAmount, 1.0f}, {kVolume, 1.0f}}},
                          true}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(SoundExportFailure, MissingFolderIsNamedAndNothingIsLeft) {
    const auto running = runningInstrument({0, {}});
    TemporaryFolder folder;
    const ExportResult result =
        exportSound(running->synth(), folder.path / "missing" / "export.wav", 44100.0);
    EXPECT_FALSE(result.ok);
    EXPECT_NE(result.error.find("does not exist"), std::string::npos) << result.error;
    EXPECT_TRUE(fs::is_empty(folder.path));
}

TEST(SoundExportFailure, UnwritableNameFailsAndLeavesNoTemporaryFile) {
    const auto running = runningInstrument({0, {}});
    TemporaryFolder folder;
    const fs::path taken = folder.path / "taken.wav";
    fs::create_directory(taken);
    fs::create_directory(taken / "inside");
    const ExportResult result = exportSound(running->synth(), taken, 44100.0);
    EXPECT_FALSE(result.ok);
    EXPECT_NE(result.error.find("cannot write"), std::string::npos) << result.error;
    EXPECT_EQ(std::distance(fs::directory_iterator(folder.path), fs::directory_iterator()), 1);
}

TEST(SoundExportFailure, RateAFileCannotNameIsRefused) {
    const auto running = runningInstrument({0, {}});
    TemporaryFolder folder;
    for (double rate : {0.0, 44100.5}) {
        const ExportResult result = exportSound(running->synth(), folder.path / "x.wav", rate);
        EXPECT_FALSE(result.ok) << rate;
        EXPECT_FALSE(result.error.empty());
    }
    EXPECT_TRUE(fs::is_empty(folder.path));
}

// The export renders with a copy: the running instrument's blocks come out as they would have
// without it.
TEST(SoundExportCopy, LeavesTheRunningInstrumentsSoundAlone) {
    const Sound sound{18, {{kFilterCutoff, 0.4f}}};
    const auto undisturbed = runningInstrument(sound);
    const auto exporting = runningInstrument(sound);
    TemporaryFolder folder;
    std::vector<float> left(512), right(512), otherLeft(512), otherRight(512);
    for (int block = 0; block < 40; ++block) {
        if (block == 3) {
            ASSERT_TRUE(exportSound(exporting->synth(), folder.path / "export.wav", 48000.0).ok);
        }
        undisturbed->render(left.data(), right.data(), 512);
        exporting->render(otherLeft.data(), otherRight.data(), 512);
        ASSERT_EQ(left, otherLeft) << "block " << block;
        ASSERT_EQ(right, otherRight) << "block " << block;
    }
    EXPECT_GT(undisturbed->synth().getPeakLeft(), 0.01f);
}

// A table no waveform file holds: the copy can only have it from the running instrument.
void playSquareInUserSlot1(Instrument& instrument) {
    WaveformTable square{};
    for (std::size_t index = 0; index < square.size(); ++index) {
        square[index] = index < square.size() / 2 ? 0.7f : -0.7f;
    }
    WaveformProvider& provider = *instrument.synth().getWaveformProvider();
    provider.replaceUserTable(0, square.data());
    provider.markTablesChanged();
    instrument.setParameterValue(kOscWaveform,
                                 static_cast<float>(WaveformProvider::kFirstUserWaveform) / 29.0f);
}

std::vector<int> hostRenderAsPcm24(Instrument& instrument, std::size_t frames) {
    constexpr std::size_t kBlock = 512;
    const auto release = static_cast<std::size_t>(std::llround(kAuditionGateSeconds * 44100.0));
    const std::uint8_t noteOn[] = {0x90, 36, 127};
    const std::uint8_t noteOff[] = {0x80, 36, 0};
    std::vector<float> left(kBlock), right(kBlock);
    std::vector<int> samples;
    for (std::size_t start = 0; start < frames; start += kBlock) {
        const std::size_t length = std::min(kBlock, frames - start);
        if (start == 0) {
            instrument.queueMidi(noteOn, 0);
        }
        if (release >= start && release < start + length) {
            instrument.queueMidi(noteOff, static_cast<std::int32_t>(release - start));
        }
        instrument.render(left.data(), right.data(), static_cast<std::int32_t>(length));
        for (std::size_t frame = 0; frame < length; ++frame) {
            samples.insert(samples.end(), {pcm24Sample(left[frame]), pcm24Sample(right[frame])});
        }
    }
    return samples;
}

TEST(SoundExportCopy, PlaysTheRunningInstrumentsUserTables) {
    const auto running = runningInstrument({0, {}});
    playSquareInUserSlot1(*running);
    TemporaryFolder folder;
    const ExportResult result = exportSound(running->synth(), folder.path / "square.wav", 44100.0);
    ASSERT_TRUE(result.ok) << result.error;

    Instrument host("", nullptr);
    host.setSampleRate(44100.0);
    playSquareInUserSlot1(host);
    host.activate();
    const std::vector<int> expected = hostRenderAsPcm24(host, result.frames);
    EXPECT_EQ(readPcm24(folder.path / "square.wav").samples, expected);

    Instrument withoutSquare("", nullptr);
    withoutSquare.setParameterValue(
        kOscWaveform, static_cast<float>(WaveformProvider::kFirstUserWaveform) / 29.0f);
    ASSERT_TRUE(exportSound(withoutSquare.synth(), folder.path / "file.wav", 44100.0).ok);
    EXPECT_NE(readPcm24(folder.path / "file.wav").samples, expected);
}

} // namespace
} // namespace Korvatune
