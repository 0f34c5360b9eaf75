#include "host/PluginHost.h"

#include "MidiBytes.h"
#include "support/CommandLineRun.h"

#include <gtest/gtest.h>
#include <sndfile.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <string>
#include <unistd.h>
#include <vector>

namespace Korvatune {
namespace {

using testing::Bytes;
using testing::midiFile;
using testing::TrackBytes;
using Result = testing::CommandResult;

constexpr int kRate = 44100;
constexpr int kBlock = 128;

struct Stereo {
    std::vector<float> left, right;
    bool operator==(const Stereo&) const = default;
};

Stereo readStereo(const std::string& path) {
    SF_INFO info{};
    SNDFILE* file = sf_open(path.c_str(), SFM_READ, &info);
    Stereo result;
    if (file == nullptr || info.channels != 2) {
        return result;
    }
    std::vector<float> frames(static_cast<std::size_t>(info.frames) * 2);
    sf_readf_float(file, frames.data(), info.frames);
    sf_close(file);
    for (std::size_t i = 0; i < frames.size(); i += 2) {
        result.left.push_back(frames[i]);
        result.right.push_back(frames[i + 1]);
    }
    return result;
}

struct TimedEvent {
    std::int64_t frame;
    std::vector<std::uint8_t> bytes;
};

bool isProgramChange(const TimedEvent& event) {
    return (event.bytes[0] & 0xF0) == 0xC0;
}

// Sends the events in [from, to) to the instance and renders those frames.
void renderSpan(PluginHost& host, const std::vector<TimedEvent>& events, std::int64_t from,
                std::int64_t to, Stereo& result) {
    std::vector<VstMidiEvent> due;
    for (const TimedEvent& event : events) {
        if (event.frame >= from && event.frame < to && !isProgramChange(event)) {
            VstMidiEvent midi{};
            midi.type = kVstMidiType;
            midi.byteSize = sizeof midi;
            midi.deltaFrames = static_cast<std::int32_t>(event.frame - from);
            const std::size_t length = std::min(event.bytes.size(), sizeof midi.midiData);
            std::copy_n(event.bytes.begin(), length, midi.midiData);
            due.push_back(midi);
        }
    }
    // Two events per span at most in these tests, the size of the declared list.
    VstEvents list{};
    list.numEvents = static_cast<std::int32_t>(due.size());
    for (std::size_t i = 0; i < due.size(); ++i) {
        list.events[i] = reinterpret_cast<VstEvent*>(&due[i]);
    }
    host.sendEvents(list);
    host.process(result.left.data() + from, result.right.data() + from,
                 static_cast<int>(to - from));
}

// Sends the events at their frames straight to a fresh instance, as a sequencer would; a
// program change selects its program between the frames before it and its own.
Stereo renderDirect(int program, const std::vector<TimedEvent>& events, std::int64_t frames) {
    std::string error;
    auto host = PluginHost::createBuiltIn(error);
    host->prepare(kRate, kBlock);
    host->selectProgram(program);
    host->resume();
    Stereo result;
    result.left.resize(static_cast<std::size_t>(frames));
    result.right.resize(static_cast<std::size_t>(frames));
    for (std::int64_t start = 0; start < frames; start += kBlock) {
        std::int64_t from = start;
        const std::int64_t blockEnd = std::min<std::int64_t>(start + kBlock, frames);
        for (const TimedEvent& event : events) {
            if (isProgramChange(event) && event.frame >= start && event.frame < blockEnd) {
                renderSpan(*host, events, from, event.frame, result);
                host->selectProgram(event.bytes[1]);
                from = event.frame;
            }
        }
        renderSpan(*host, events, from, blockEnd, result);
    }
    return result;
}

class MidiRender : public ::testing::Test {
protected:
    void SetUp() override {
        folder = std::filesystem::temp_directory_path() /
                 ("ombrafell-midi-" + std::to_string(::getpid()));
        std::filesystem::create_directories(folder);
    }
    void TearDown() override { std::filesystem::remove_all(folder); }
    std::string path(const std::string& name) const { return (folder / name).string(); }

    // Renders the bytes as a MIDI file with the given extra options.
    Stereo render(const Bytes& bytes, std::vector<std::string> options = {}) {
        testing::writeBytes(path("song.mid"), bytes);
        std::vector<std::string> words = {"render",
                                          "--midi",
                                          path("song.mid"),
                                          "-r",
                                          std::to_string(kRate),
                                          "-b",
                                          std::to_string(kBlock),
                                          "-o",
                                          path("song.wav")};
        words.insert(words.end(), options.begin(), options.end());
        const Result result = testing::runCommand(words);
        EXPECT_EQ(result.status, 0) << result.err;
        return readStereo(path("song.wav"));
    }

    std::filesystem::path folder;
};

// At 96 ticks a quarter and the default 120 beats a minute, 96 ticks are 22050 frames; the
// tests use multiples of 16 ticks, which fall on whole frames.
constexpr std::int64_t framesOf(std::int64_t ticks) {
    return ticks * 22050 / 96;
}

TEST_F(MidiRender, PlaysTheSameAsTheEventsSentDirectly) {
    // Notes at tick 0, an overlap (40 starts before 36 ends), running status, a controller
    // and a pitch bend, all falling inside blocks rather than on their edges.
    TrackBytes track;
    track.event(0, {0x90, 36, 110})
        .event(0, {43, 70})
        .event(32, {40, 90})
        .event(32, {0xB0, 7, 30})
        .event(16, {0x80, 36, 0})
        .event(0, {0xE0, 0x00, 0x30})
        .event(16, {0x90, 40, 0})
        .event(0, {43, 0})
        .end();
    const Stereo rendered = render(midiFile(0, 96, {track}), {"--tail", "0.2"});
    const std::int64_t last = framesOf(96);
    const std::vector<TimedEvent> events = {
        {0, {0x90, 36, 110}},           {0, {0x90, 43, 70}},
        {framesOf(32), {0x90, 40, 90}}, {framesOf(64), {0xB0, 7, 30}},
        {framesOf(80), {0x80, 36, 0}},  {framesOf(80), {0xE0, 0x00, 0x30}},
        {last, {0x80, 40, 0}},          {last, {0x80, 43, 0}},
    };
    const Stereo direct = renderDirect(0, events, last + kRate / 5);
    ASSERT_EQ(rendered.left.size(), direct.left.size());
    EXPECT_TRUE(rendered == direct);
    EXPECT_GT(*std::max_element(rendered.left.begin(), rendered.left.end()), 0.05f);
}

TEST_F(MidiRender, TempoChangesInAFormatOneTempoTrackMoveTheNotesThatFollow) {
    TrackBytes tempoTrack;
    tempoTrack.tempo(96, 1000000).tempo(96, 250000).end();
    TrackBytes notes;
    notes.event(0, {0x90, 36, 127})
        .event(48, {0x80, 36, 0})
        .event(96, {0x90, 38, 127}) // tick 144: 0.5 s + 48 ticks at 60 beats a minute
        .event(144, {0x80, 38, 0})  // tick 288: 1.5 s + 96 ticks at 240
        .end();
    const Stereo rendered =
        render(midiFile(1, 96, {tempoTrack, notes}), {"-p", "4", "--tail", "0.1"});
    const std::int64_t last = kRate * 7 / 4;
    const std::vector<TimedEvent> events = {
        {0, {0x90, 36, 127}},
        {framesOf(48), {0x80, 36, 0}},
        {kRate, {0x90, 38, 127}},
        {last, {0x80, 38, 0}},
    };
    const Stereo direct = renderDirect(4, events, last + kRate / 10);
    ASSERT_EQ(rendered.left.size(), direct.left.size());
    EXPECT_TRUE(rendered == direct);
    // Quiet between the notes, sounding from the second note's frame on.
    EXPECT_LT(std::fabs(rendered.left[kRate - 1]), 1e-6f);
    EXPECT_GT(std::fabs(rendered.left[kRate + 40]), 1e-3f);
}

TEST_F(MidiRender, EndsOnceTheReleaseHasDiedAway) {
    TrackBytes track;
    track.event(0, {0x90, 36, 127}).event(48, {0x80, 36, 0}).end();
    const Stereo rendered = render(midiFile(0, 96, {track}));
    const std::size_t lastEvent = framesOf(48);
    ASSERT_GT(rendered.left.size(), lastEvent + kRate / 10);
    EXPECT_LT(rendered.left.size(), lastEvent + 5 * kRate);
    const std::size_t quietFrom = rendered.left.size() - kRate / 10;
    for (std::size_t i = quietFrom; i < rendered.left.size(); ++i) {
        ASSERT_LT(std::fabs(rendered.left[i]), 1e-5f) << i;
        ASSERT_LT(std::fabs(rendered.right[i]), 1e-5f) << i;
    }
    EXPECT_GE(std::fabs(rendered.left[quietFrom - 1]) + std::fabs(rendered.right[quietFrom - 1]),
              1e-5f);
}

TEST_F(MidiRender, SilenceBeforeTheLastEventDoesNotEndTheFile) {
    TrackBytes track;
    // A second of silence, then a note that starts and is released on the same tick.
    track.event(0, {0x90, 36, 127}).event(48, {0x80, 36, 0}).event(144, {0x90, 38, 127});
    track.event(0, {0x80, 38, 0}).end();
    const Stereo rendered = render(midiFile(0, 96, {track}));
    const std::size_t lastEvent = framesOf(192);
    ASSERT_GT(rendered.left.size(), lastEvent + kRate / 10);
    EXPECT_GT(
        std::fabs(*std::max_element(rendered.left.begin() + lastEvent, rendered.left.end(),
                                    [](float a, float b) { return std::fabs(a) < std::fabs(b); })),
        1e-3f);
}

TEST_F(MidiRender, ProgramChangesSelectTheProgramUnlessOneIsGiven) {
    TrackBytes plain;
    plain.event(0, {0x90, 36, 127}).event(48, {0x80, 36, 0}).end();
    TrackBytes changed;
    changed.event(0, {0xC0, 25}).event(0, {0x90, 36, 127}).event(48, {0x80, 36, 0}).end();
    const Stereo program25 = render(midiFile(0, 96, {plain}), {"-p", "25", "--tail", "0.1"});
    const Stereo program3 = render(midiFile(0, 96, {plain}), {"-p", "3", "--tail", "0.1"});
    ASSERT_FALSE(program25 == program3);
    EXPECT_TRUE(render(midiFile(0, 96, {changed}), {"--tail", "0.1"}) == program25);
    EXPECT_TRUE(render(midiFile(0, 96, {changed}), {"-p", "3", "--tail", "0.1"}) == program3);
}

TEST_F(MidiRender, AProgramChangeMidFileSwitchesOnItsFrame) {
    TrackBytes track;
    track.event(0, {0x90, 36, 127})
        .event(32, {0x80, 36, 0})
        .event(16, {0xC0, 25}) // frame 11025, inside a block
        .event(0, {0x90, 36, 127})
        .event(32, {0x80, 36, 0})
        .end();
    const Stereo rendered = render(midiFile(0, 96, {track}), {"--tail", "0.1"});
    const std::vector<TimedEvent> events = {
        {0, {0x90, 36, 127}},          {framesOf(32), {0x80, 36, 0}},
        {framesOf(48), {0xC0, 25}},    {framesOf(48), {0x90, 36, 127}},
        {framesOf(80), {0x80, 36, 0}},
    };
    const Stereo direct = renderDirect(0, events, framesOf(80) + kRate / 10);
    EXPECT_TRUE(rendered == direct);
    auto withoutChange = events;
    withoutChange.erase(withoutChange.begin() + 2);
    EXPECT_FALSE(rendered == renderDirect(0, withoutChange, framesOf(80) + kRate / 10));
}

TEST_F(MidiRender, AModuleFromDiskWithSettingsRendersLikeTheBuiltInInstrument) {
    TrackBytes track;
    track.event(0, {0x90, 36, 127}).event(48, {0x80, 36, 0}).end();
    const Bytes song = midiFile(0, 96, {track});
    const std::vector<std::string> options = {"-p", "7", "--set", "OscPitch1=0.8", "--tail", "0.1"};
    const Stereo builtIn = render(song, options);
    auto fromDisk = options;
    fromDisk.insert(fromDisk.end(), {"--plugin", OMBRAFELL_MODULE_PATH});
    EXPECT_TRUE(render(song, fromDisk) == builtIn);
    EXPECT_FALSE(render(song, {"-p", "7", "--tail", "0.1"}) == builtIn);
}

TEST_F(MidiRender, BadFilesExitWithStatusTwoAndLeaveNoOutput) {
    TrackBytes track;
    track.event(0, {0x90, 36, 127}).event(48, {0x80, 36, 0}).end();
    const Bytes good = midiFile(0, 96, {track});
    const std::vector<std::pair<std::string, Bytes>> files = {
        {"garbage.mid", Bytes(300, 0x5A)},
        {"truncated.mid", Bytes(good.begin(), good.end() - 4)},
        {"empty.mid", {}},
    };
    for (const auto& [name, bytes] : files) {
        testing::writeBytes(path(name), bytes);
        const Result result =
            testing::runCommand({"render", "--midi", path(name), "-o", path("out.wav")});
        EXPECT_EQ(result.status, 2) << name;
        ASSERT_EQ(testing::linesOf(result.err).size(), 1u) << result.err;
        EXPECT_EQ(result.err.rfind("ombrafell render: " + path(name) + ": ", 0), 0u) << result.err;
        EXPECT_TRUE(result.out.empty());
        EXPECT_FALSE(std::filesystem::exists(path("out.wav"))) << name;
    }
    testing::writeBytes(path("good.mid"), good);
    for (const auto& words : std::vector<std::vector<std::string>>{
             {"render", "--midi", path("missing.mid"), "-o", path("out.wav")},
             {"render", "--midi", path("good.mid"), "-n", "40", "-o", path("out.wav")},
             {"render", "--midi", path("good.mid"), "--tail", "0", "-o", path("out.wav")},
             {"render", "--tail", "1", "-o", path("out.wav")},
         }) {
        const Result result = testing::runCommand(words);
        EXPECT_EQ(result.status, 2) << words[2];
        EXPECT_EQ(testing::linesOf(result.err).size(), 1u) << result.err;
        EXPECT_FALSE(std::filesystem::exists(path("out.wav")));
    }
}

} // namespace
} // namespace Korvatune
