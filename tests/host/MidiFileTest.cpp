#include "host/cli/MidiFile.h"
#include "host/cli/TempoMap.h"

#include "MidiBytes.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

namespace Korvatune {
namespace {

using testing::Bytes;
using testing::midiFile;
using testing::TrackBytes;

std::vector<std::vector<std::uint8_t>> messageBytes(const MidiSong& song) {
    std::vector<std::vector<std::uint8_t>> result;
    for (const MidiMessage& message : song.messages) {
        result.emplace_back(message.bytes.begin(), message.bytes.begin() + message.size);
    }
    return result;
}

TEST(MidiFile, RunningStatusRepeatsTheLastChannelStatus) {
    TrackBytes track;
    track.event(0, {0x91, 36, 100})
        .event(0, {38, 80}) // note-on, running
        .event(10, {36, 0}) // note-on of velocity 0: a note-off
        .event(0, {0xE1, 0x00, 0x50})
        .event(5, {0x10, 0x40}) // pitch bend, running
        .event(0, {0xC1, 7})
        .event(0, {9}) // program change, one data byte, running
        .end();
    const MidiSong song = parseMidiFile(midiFile(0, 96, {track}));
    EXPECT_EQ(messageBytes(song), (std::vector<std::vector<std::uint8_t>>{
                                      {0x91, 36, 100},
                                      {0x91, 38, 80},
                                      {0x81, 36, 0},
                                      {0xE1, 0x00, 0x50},
                                      {0xE1, 0x10, 0x40},
                                      {0xC1, 7},
                                      {0xC1, 9},
                                  }));
    EXPECT_EQ(song.messages[2].tick, 10);
    EXPECT_EQ(song.messages[4].tick, 15);
    EXPECT_EQ(song.ticksPerQuarter, 96);
}

TEST(MidiFile, FormatOneMergesTracksInTimeOrder) {
    TrackBytes tempoTrack;
    tempoTrack.tempo(0, 400000).event(0, {0xFF, 0x03, 0x02, 'h', 'i'}).tempo(96, 1000000).end();
    TrackBytes first;
    first.event(0, {0x90, 36, 100}).event(96, {0x80, 36, 0}).end();
    TrackBytes second;
    second.event(48, {0xB0, 1, 64}).event(48, {0x90, 40, 90}).end(48);
    // A chunk of an unknown type between tracks is skipped.
    Bytes file = midiFile(1, 96, {tempoTrack, first});
    const Bytes alien = {'X', 'y', 'z', 'w', 0, 0, 0, 2, 0xAA, 0xBB};
    file.insert(file.end(), alien.begin(), alien.end());
    const Bytes secondChunk = second.chunk();
    file.insert(file.end(), secondChunk.begin(), secondChunk.end());
    file[11] = 3; // three tracks

    const MidiSong song = parseMidiFile(file);
    EXPECT_EQ(song.format, 1);
    ASSERT_EQ(song.tempoChanges.size(), 2u);
    EXPECT_EQ(song.tempoChanges[1].tick, 96);
    EXPECT_EQ(song.tempoChanges[1].microsecondsPerQuarter, 1000000u);
    EXPECT_EQ(messageBytes(song), (std::vector<std::vector<std::uint8_t>>{
                                      {0x90, 36, 100},
                                      {0xB0, 1, 64},
                                      {0x80, 36, 0}, // same tick: the earlier track first
                                      {0x90, 40, 90},
                                  }));
}

TEST(TempoMap, FollowsEveryTempoChange) {
    TrackBytes track;
    track.tempo(96, 1000000).tempo(96, 250000).end();
    const MidiSong song = parseMidiFile(midiFile(1, 96, {track}));
    const TempoMap tempo(song);
    EXPECT_DOUBLE_EQ(tempo.secondsAt(0), 0.0);
    EXPECT_DOUBLE_EQ(tempo.secondsAt(48), 0.25); // 120 beats a minute until the first change
    EXPECT_DOUBLE_EQ(tempo.secondsAt(96), 0.5);
    EXPECT_DOUBLE_EQ(tempo.secondsAt(144), 1.0); // then 60
    EXPECT_DOUBLE_EQ(tempo.secondsAt(192), 1.5);
    EXPECT_DOUBLE_EQ(tempo.secondsAt(288), 1.75); // then 240
}

TEST(TempoMap, TimeCodeDivisionCountsFramesAndIgnoresTempo) {
    TrackBytes track;
    track.tempo(0, 1000000).end();
    // 25 frames a second, 40 ticks a frame: a millisecond a tick.
    const MidiSong song = parseMidiFile(midiFile(0, 0xE728, {track}));
    EXPECT_DOUBLE_EQ(TempoMap(song).secondsAt(1500), 1.5);
}

Bytes validFile() {
    TrackBytes track;
    track.tempo(0, 600000).event(0, {0x90, 36, 100}).event(10, {40, 90}).event(20, {0x80, 36, 0});
    track.event(0, {0xF0, 0x02, 0x7E, 0xF7}).event(5, {0x80, 40, 0}).end();
    return midiFile(0, 96, {track});
}

TEST(MidiFile, MalformedFilesAreRefusedWithAReason) {
    auto with = [](std::size_t offset, std::uint8_t value) {
        Bytes file = validFile();
        file[offset] = value;
        return file;
    };
    // Header 14 bytes, track chunk header 8: the first event starts at offset 22.
    const Bytes valid = validFile();
    Bytes sysexThenData = validFile();
    sysexThenData.insert(sysexThenData.begin() + 45, {0x00, 41, 0x10});
    sysexThenData[21] = static_cast<std::uint8_t>(sysexThenData[21] + 3);
    Bytes longDelta = validFile();
    longDelta.insert(longDelta.begin() + 22, {0x81, 0x80, 0x80, 0x80});
    longDelta[21] = static_cast<std::uint8_t>(longDelta[21] + 4);
    const std::vector<std::pair<Bytes, std::string>> cases = {
        {{}, "the file is empty"},
        {Bytes{'R', 'I', 'F', 'F', 0, 0, 0, 0, 'W', 'A', 'V', 'E'}, "not a MIDI file"},
        {Bytes{'M', 'T', 'h', 'd', 0, 0}, "header is cut short"},
        {Bytes(valid.begin(), valid.end() - 5), "track 1 is cut short"},
        {Bytes(valid.begin(), valid.begin() + 14), "only 0 of 1 tracks"},
        {with(9, 2), "format 2"},
        {with(9, 7), "unknown format 7"},
        {with(11, 0), "no tracks"},
        {with(11, 2), "format 0 with 2 tracks"},
        {with(13, 0), "zero ticks"},
        {with(12, 0xE5), "time code division"},
        {with(25, 0x02), "tempo event of 2 bytes"},
        {with(23, 0xF4), "does not belong"},
        {with(31, 0x99), "where a data byte belongs"},
        {sysexThenData, "no status to repeat"},
        {longDelta, "longer than four bytes"},
    };
    for (const auto& [bytes, reason] : cases) {
        try {
            parseMidiFile(bytes);
            ADD_FAILURE() << "accepted, expected: " << reason;
        } catch (const MidiFileError& error) {
            EXPECT_NE(std::string(error.what()).find(reason), std::string::npos)
                << error.what() << " (expected: " << reason << ")";
        }
    }
}

TEST(MidiFile, EveryTruncationIsRefusedOrReadSafely) {
    const Bytes whole = validFile();
    EXPECT_EQ(parseMidiFile(whole).messages.size(), 4u);
    for (std::size_t length = 0; length < whole.size(); ++length) {
        EXPECT_THROW(parseMidiFile(Bytes(whole.begin(), whole.begin() + length)), MidiFileError)
            << length;
    }
}

TEST(MidiFile, RandomlyDamagedFilesAreRefusedOrReadSafely) {
    const Bytes whole = validFile();
    std::mt19937 random(13);
    std::uniform_int_distribution<std::size_t> position(0, whole.size() - 1);
    std::uniform_int_distribution<int> value(0, 255);
    int refused = 0;
    for (int round = 0; round < 3000; ++round) {
        Bytes damaged = whole;
        for (int hits = 1 + round % 4; hits > 0; --hits) {
            damaged[position(random)] = static_cast<std::uint8_t>(value(random));
        }
        try {
            const MidiSong song = parseMidiFile(damaged);
            EXPECT_LE(song.messages.size(), damaged.size() / 2);
        } catch (const MidiFileError& error) {
            EXPECT_GT(std::string(error.what()).size(), 5u);
            ++refused;
        }
    }
    EXPECT_GT(refused, 100);
}

TEST(MidiFile, ReadsFromDiskAndNamesTheSystemError) {
    EXPECT_THROW(
        {
            try {
                readMidiFile("/no/such/file.mid");
            } catch (const MidiFileError& error) {
                EXPECT_STREQ(error.what(), "No such file or directory");
                throw;
            }
        },
        MidiFileError);
}

} // namespace
} // namespace Korvatune
