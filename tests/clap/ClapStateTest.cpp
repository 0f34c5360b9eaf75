#include "clap/ClapPhrase.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>

namespace Korvatune {
namespace {

using testing::sameBits;

// A folder of its own in the temporary folder, gone with the test.
class ScratchFolder {
public:
    ScratchFolder()
        : path_(std::filesystem::temp_directory_path() /
                ("ombrafell-clap-" + std::to_string(std::random_device{}()))) {
        std::filesystem::create_directories(path_);
    }
    ~ScratchFolder() {
        std::error_code error;
        std::filesystem::remove_all(path_, error);
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    const std::filesystem::path& path() const { return path_; }

private:
    std::filesystem::path path_;
};

// A host's stream over bytes in memory, moving at most a chunk a call; one that fails refuses.
struct MemoryStreams {
    std::vector<std::uint8_t> bytes;
    std::size_t position = 0;
    std::size_t chunk = SIZE_MAX;
    bool fails = false;

    Clap::InputStream input() {
        return {this, [](const Clap::InputStream* stream, void* buffer, std::uint64_t size) {
                    auto& self = *static_cast<MemoryStreams*>(stream->context);
                    if (self.fails) {
                        return std::int64_t{-1};
                    }
                    const std::size_t count =
                        std::min<std::size_t>({static_cast<std::size_t>(size), self.chunk,
                                               self.bytes.size() - self.position});
                    std::copy_n(self.bytes.begin() + static_cast<std::ptrdiff_t>(self.position),
                                count, static_cast<std::uint8_t*>(buffer));
                    self.position += count;
                    return static_cast<std::int64_t>(count);
                }};
    }

    Clap::OutputStream output() {
        return {this, [](const Clap::OutputStream* stream, const void* buffer, std::uint64_t size) {
                    auto& self = *static_cast<MemoryStreams*>(stream->context);
                    if (self.fails) {
                        return std::int64_t{-1};
                    }
                    const std::size_t count =
                        std::min<std::size_t>(static_cast<std::size_t>(size), self.chunk);
                    const auto* bytes = static_cast<const std::uint8_t*>(buffer);
                    self.bytes.insert(self.bytes.end(), bytes, bytes + count);
                    return static_cast<std::int64_t>(count);
                }};
    }
};

const Clap::PluginState& stateOf(const testing::ClapInstance& clap) {
    return *clap.extension<Clap::PluginState>(Clap::kStateExtension);
}

std::vector<std::uint8_t> savedState(const testing::ClapInstance& clap, std::size_t chunk) {
    MemoryStreams streams;
    streams.chunk = chunk;
    const Clap::OutputStream output = streams.output();
    EXPECT_TRUE(stateOf(clap).save(clap.plugin, &output));
    return streams.bytes;
}

bool load(const testing::ClapInstance& clap, MemoryStreams& streams) {
    const Clap::InputStream input = streams.input();
    return stateOf(clap).load(clap.plugin, &input);
}

bool load(const testing::ClapInstance& clap, std::vector<std::uint8_t> bytes) {
    MemoryStreams streams;
    streams.bytes = std::move(bytes);
    return load(clap, streams);
}

std::vector<double> valuesOf(const testing::ClapInstance& clap) {
    std::vector<double> values;
    for (std::uint32_t id = 0; id < 60; ++id) {
        values.push_back(clap.value(id));
    }
    return values;
}

void writeUser1(const std::filesystem::path& folder) {
    std::filesystem::create_directories(folder / "waveforms");
    std::ofstream file(folder / "waveforms" / "user01.raw", std::ios::binary);
    for (int i = 0; i < 4096; ++i) {
        const float phase = static_cast<float>(i) / 4096.0f;
        const float sample = std::sin(6.2831855f * phase) * std::sin(31.0f * phase);
        file.write(reinterpret_cast<const char*>(&sample), sizeof sample);
    }
}

// A session saved with a user waveform loaded from a file sounds the same when it is opened
// where the file is gone: the state carries the table itself. Hosts restore before and after
// they activate an instance.
TEST(ClapState, CarriesAUserWaveformBeyondItsFile) {
    ScratchFolder folder;
    const std::filesystem::path copy = folder.path() / "Ombrafell.clap";
    std::filesystem::copy_file(testing::clapModuleUnderTest(), copy);
    writeUser1(folder.path());
    testing::ClapModule module(copy.string());
    ASSERT_TRUE(module.ready());
    // Darkcore Bassdrum 1 plays User1 on its first oscillator.
    const std::vector<float> withFile = testing::renderClap(module, 18, {}, 44100.0, 512);
    testing::TestHost host;
    testing::ClapInstance saved(module, host);
    ASSERT_TRUE(saved.loadProgram(18));
    const std::vector<std::uint8_t> state = savedState(saved, 1000);
    std::filesystem::remove_all(folder.path() / "waveforms");

    const std::vector<float> withoutFile = testing::renderClap(module, 18, {}, 44100.0, 512);
    EXPECT_FALSE(sameBits(withoutFile, withFile));

    testing::ClapInstance restoredFirst(module, host);
    ASSERT_TRUE(load(restoredFirst, state));
    EXPECT_EQ(valuesOf(restoredFirst), valuesOf(saved));
    ASSERT_TRUE(restoredFirst.activate(44100.0, 512));
    EXPECT_TRUE(
        sameBits(testing::playPhrase(restoredFirst, 512, testing::Notes::AsMidi), withFile));

    testing::ClapInstance restoredLater(module, host);
    ASSERT_TRUE(restoredLater.activate(44100.0, 512));
    ASSERT_TRUE(load(restoredLater, state));
    EXPECT_TRUE(
        sameBits(testing::playPhrase(restoredLater, 512, testing::Notes::AsMidi), withFile));
    EXPECT_TRUE(host.logged.empty()) << host.logged.front();
    EXPECT_GE(host.rescans, 2);
}

class ClapDamagedState : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(module.ready());
        ASSERT_TRUE(source.loadProgram(25));
        state = savedState(source, SIZE_MAX);
        ASSERT_GT(state.size(), 1000u);
        ASSERT_TRUE(target.loadProgram(3));
        before = valuesOf(target);
    }

    // The instance still plays, and plays something finite.
    void expectItStillPlays() {
        ASSERT_TRUE(target.activate(44100.0, 512));
        testing::EventList events;
        events.add(testing::noteEvent(Clap::kEventNoteOn, 0, 36, 1.0));
        EXPECT_EQ(target.process(512, events), Clap::kProcessContinue);
        for (const float sample : target.both()) {
            ASSERT_TRUE(std::isfinite(sample));
        }
        EXPECT_GT(testing::peakOf(target.left), 0.0f);
    }

    testing::ClapModule module;
    testing::TestHost host;
    testing::ClapInstance source{module, host};
    testing::ClapInstance target{module, host};
    std::vector<std::uint8_t> state;
    std::vector<double> before;
};

TEST_F(ClapDamagedState, ReadsAStreamThatGivesOneByteAtATime) {
    MemoryStreams streams;
    streams.bytes = state;
    streams.chunk = 1;
    ASSERT_TRUE(load(target, streams));
    EXPECT_EQ(valuesOf(target), valuesOf(source));
    EXPECT_TRUE(host.logged.empty());
}

TEST_F(ClapDamagedState, RefusesAForeignStreamAndKeepsItsValues) {
    EXPECT_FALSE(load(target, std::vector<std::uint8_t>{'R', 'I', 'F', 'F', 0, 0, 0, 0, 'W'}));
    EXPECT_FALSE(load(target, std::vector<std::uint8_t>{}));
    EXPECT_EQ(valuesOf(target), before);
    ASSERT_EQ(host.logged.size(), 2u);
    EXPECT_NE(host.logged[0].find("not a state"), std::string::npos) << host.logged[0];
    expectItStillPlays();
}

TEST_F(ClapDamagedState, RefusesAStreamLargerThanAnyStateUnread) {
    std::vector<std::uint8_t> huge = state;
    huge.resize(2 * 1024 * 1024, 0xA5);
    EXPECT_FALSE(load(target, huge));
    EXPECT_EQ(valuesOf(target), before);
    ASSERT_EQ(host.logged.size(), 1u);
    EXPECT_NE(host.logged[0].find("larger"), std::string::npos) << host.logged[0];
    expectItStillPlays();
}

TEST_F(ClapDamagedState, RefusesAFailingStream) {
    MemoryStreams streams;
    streams.bytes = state;
    streams.fails = true;
    EXPECT_FALSE(load(target, streams));
    EXPECT_EQ(valuesOf(target), before);
    EXPECT_EQ(host.logged.size(), 1u);
    MemoryStreams failing;
    failing.fails = true;
    const Clap::OutputStream output = failing.output();
    EXPECT_FALSE(stateOf(source).save(source.plugin, &output));
}

// Whatever survives of a cut record is taken, piece by piece; each cut is told to the host.
TEST_F(ClapDamagedState, TakesWhatSurvivesOfATruncatedState) {
    for (const std::size_t length :
         {std::size_t{3}, std::size_t{9}, std::size_t{200}, state.size() / 2, state.size() - 1}) {
        host.logged.clear();
        load(target, std::vector<std::uint8_t>(
                         state.begin(), state.begin() + static_cast<std::ptrdiff_t>(length)));
        EXPECT_FALSE(host.logged.empty()) << length;
    }
    // The values come first in the record, so half of it restores them.
    EXPECT_EQ(valuesOf(target), valuesOf(source));
    expectItStillPlays();
}

// Every byte of the record changed in turn, to values that break lengths and ids: never a
// crash, and whatever the instance takes it still plays.
TEST_F(ClapDamagedState, SurvivesEveryByteDamaged) {
    for (std::size_t at = 0; at < 400; ++at) {
        for (const std::uint8_t damage : {std::uint8_t{0x00}, std::uint8_t{0xFF}}) {
            std::vector<std::uint8_t> damaged = state;
            damaged[at] = damage;
            load(target, damaged);
        }
    }
    expectItStillPlays();
}

} // namespace
} // namespace Korvatune
