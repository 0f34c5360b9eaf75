#include "host/cli/MidiFile.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <utility>

namespace Korvatune {

namespace {

constexpr std::size_t kLargestFile = 64u << 20;
constexpr std::uint8_t kMeta = 0xFF;
constexpr std::uint8_t kSysEx = 0xF0;
constexpr std::uint8_t kSysExContinuation = 0xF7;
constexpr std::uint8_t kEndOfTrack = 0x2F;
constexpr std::uint8_t kSetTempo = 0x51;
constexpr std::uint8_t kNoteOff = 0x80;
constexpr std::uint8_t kNoteOn = 0x90;

std::string hexByte(unsigned value) {
    char text[8];
    std::snprintf(text, sizeof text, "0x%02X", value & 0xFFu);
    return text;
}

// Reads big-endian numbers and variable-length quantities from one region of the file, never
// past its end; offsets in messages are counted from the start of the file.
class ByteReader {
public:
    ByteReader(std::span<const std::uint8_t> bytes, std::size_t begin, std::size_t end,
               std::string region)
        : bytes(bytes), position(begin), end(end), region(std::move(region)) {}

    bool atEnd() const { return position >= end; }
    std::size_t offset() const { return position; }
    std::size_t remaining() const { return end - position; }

    std::uint8_t peek() const {
        need(1);
        return bytes[position];
    }
    std::uint8_t byte() {
        need(1);
        return bytes[position++];
    }
    std::uint32_t bigEndian(int count) {
        need(static_cast<std::size_t>(count));
        std::uint32_t value = 0;
        for (int i = 0; i < count; ++i) {
            value = (value << 8) | bytes[position++];
        }
        return value;
    }
    std::uint32_t variableLength() {
        std::uint32_t value = 0;
        for (int i = 0; i < 4; ++i) {
            const std::uint8_t next = byte();
            value = (value << 7) | (next & 0x7Fu);
            if ((next & 0x80) == 0) {
                return value;
            }
        }
        fail("a variable-length number longer than four bytes");
    }
    std::span<const std::uint8_t> take(std::size_t count) {
        need(count);
        const auto taken = bytes.subspan(position, count);
        position += count;
        return taken;
    }

    [[noreturn]] void fail(const std::string& problem) const {
        throw MidiFileError(region + ", byte " + std::to_string(position) + ": " + problem);
    }

private:
    void need(std::size_t count) const {
        if (count > remaining()) {
            fail("ends in the middle of an event (truncated file?)");
        }
    }

    std::span<const std::uint8_t> bytes;
    std::size_t position;
    std::size_t end;
    std::string region;
};

int dataBytesOf(std::uint8_t status) {
    const std::uint8_t kind = status & 0xF0;
    return kind == 0xC0 || kind == 0xD0 ? 1 : 2;
}

MidiMessage channelMessage(ByteReader& reader, std::uint8_t status, std::int64_t tick) {
    MidiMessage message;
    message.tick = tick;
    message.size = 1 + dataBytesOf(status);
    message.bytes[0] = status;
    for (int i = 1; i < message.size; ++i) {
        const std::uint8_t data = reader.byte();
        if (data & 0x80) {
            reader.fail("status byte " + hexByte(data) + " where a data byte belongs");
        }
        message.bytes[static_cast<std::size_t>(i)] = data;
    }
    if (message.kind() == kNoteOn && message.bytes[2] == 0) {
        message.bytes[0] = static_cast<std::uint8_t>(kNoteOff | (status & 0x0F));
    }
    return message;
}

// Returns false at the end-of-track event.
bool readMetaEvent(ByteReader& reader, std::int64_t tick, MidiSong& song) {
    const std::uint8_t type = reader.byte();
    const std::uint32_t length = reader.variableLength();
    const auto data = reader.take(length);
    if (type == kEndOfTrack) {
        return false;
    }
    if (type == kSetTempo) {
        if (length != 3) {
            reader.fail("a tempo event of " + std::to_string(length) + " bytes instead of 3");
        }
        const std::uint32_t tempo = (std::uint32_t{data[0]} << 16) | (data[1] << 8) | data[2];
        if (tempo == 0) {
            reader.fail("a tempo of zero microseconds per quarter note");
        }
        song.tempoChanges.push_back({tick, tempo});
    }
    return true;
}

void readTrack(ByteReader& reader, MidiSong& song) {
    std::int64_t tick = 0;
    std::uint8_t runningStatus = 0;
    while (!reader.atEnd()) {
        tick += reader.variableLength();
        std::uint8_t status = reader.peek();
        if (status & 0x80) {
            reader.byte();
        } else if (runningStatus != 0) {
            status = runningStatus;
        } else {
            reader.fail("data byte " + hexByte(status) + " with no status to repeat");
        }
        if (status == kMeta) {
            runningStatus = 0;
            if (!readMetaEvent(reader, tick, song)) {
                return;
            }
        } else if (status == kSysEx || status == kSysExContinuation) {
            runningStatus = 0;
            reader.take(reader.variableLength());
        } else if (status >= 0xF0) {
            reader.fail("status byte " + hexByte(status) + " does not belong in a MIDI file");
        } else {
            runningStatus = status;
            song.messages.push_back(channelMessage(reader, status, tick));
        }
    }
}

void readDivision(std::uint32_t division, MidiSong& song) {
    if ((division & 0x8000u) == 0) {
        if (division == 0) {
            throw MidiFileError("header: zero ticks per quarter note");
        }
        song.ticksPerQuarter = static_cast<int>(division);
        return;
    }
    const int framesPerSecond = -static_cast<std::int8_t>(division >> 8);
    const unsigned ticksPerFrame = division & 0xFFu;
    if ((framesPerSecond != 24 && framesPerSecond != 25 && framesPerSecond != 29 &&
         framesPerSecond != 30) ||
        ticksPerFrame == 0) {
        throw MidiFileError("header: unknown time code division " + hexByte(division >> 8) +
                            hexByte(division).substr(2));
    }
    const double frameRate = framesPerSecond == 29 ? 30000.0 / 1001.0 : framesPerSecond;
    song.ticksPerSecond = frameRate * ticksPerFrame;
}

int readHeader(ByteReader& file, MidiSong& song) {
    if (file.remaining() < 4 || std::memcmp(file.take(4).data(), "MThd", 4) != 0) {
        throw MidiFileError("not a MIDI file (no MThd header)");
    }
    if (file.remaining() < 4) {
        throw MidiFileError("header is cut short (truncated file?)");
    }
    const std::uint32_t length = file.bigEndian(4);
    if (length < 6) {
        throw MidiFileError("header chunk of " + std::to_string(length) + " bytes, too short");
    }
    if (file.remaining() < length) {
        throw MidiFileError("header is cut short (truncated file?)");
    }
    song.format = static_cast<int>(file.bigEndian(2));
    const int tracks = static_cast<int>(file.bigEndian(2));
    readDivision(file.bigEndian(2), song);
    file.take(length - 6);
    if (song.format == 2) {
        throw MidiFileError("format 2 (independent sequences) is not supported");
    }
    if (song.format > 2) {
        throw MidiFileError("unknown format " + std::to_string(song.format));
    }
    if (tracks == 0) {
        throw MidiFileError("header announces no tracks");
    }
    if (song.format == 0 && tracks != 1) {
        throw MidiFileError("format 0 with " + std::to_string(tracks) + " tracks");
    }
    return tracks;
}

void readTracks(std::span<const std::uint8_t> bytes, ByteReader& file, int tracks, MidiSong& song) {
    int found = 0;
    while (found < tracks) {
        if (file.remaining() < 8) {
            throw MidiFileError("only " + std::to_string(found) + " of " + std::to_string(tracks) +
                                " tracks present (truncated file?)");
        }
        const auto type = file.take(4);
        const std::uint32_t length = file.bigEndian(4);
        if (length > file.remaining()) {
            throw MidiFileError("track " + std::to_string(found + 1) +
                                " is cut short: " + std::to_string(file.remaining()) + " of " +
                                std::to_string(length) + " bytes present (truncated file?)");
        }
        const std::size_t begin = file.offset();
        file.take(length);
        // Chunks of unknown types are skipped, as readers must.
        if (std::memcmp(type.data(), "MTrk", 4) == 0) {
            ++found;
            ByteReader track(bytes, begin, begin + length, "track " + std::to_string(found));
            readTrack(track, song);
        }
    }
}

} // namespace

MidiSong parseMidiFile(std::span<const std::uint8_t> bytes) {
    if (bytes.empty()) {
        throw MidiFileError("the file is empty");
    }
    MidiSong song;
    ByteReader file(bytes, 0, bytes.size(), "file");
    const int tracks = readHeader(file, song);
    readTracks(bytes, file, tracks, song);
    const auto byTick = [](const auto& a, const auto& b) { return a.tick < b.tick; };
    std::stable_sort(song.messages.begin(), song.messages.end(), byTick);
    std::stable_sort(song.tempoChanges.begin(), song.tempoChanges.end(), byTick);
    return song;
}

MidiSong readMidiFile(const std::string& path) {
    std::ifstream stream(path, std::ios::binary);
    if (!stream) {
        throw MidiFileError(std::strerror(errno));
    }
    std::vector<std::uint8_t> bytes;
    char chunk[65536];
    while (stream.read(chunk, sizeof chunk) || stream.gcount() > 0) {
        bytes.insert(bytes.end(), chunk, chunk + stream.gcount());
        if (bytes.size() > kLargestFile) {
            throw MidiFileError("larger than any MIDI file this program reads (64 MB)");
        }
    }
    if (stream.bad()) {
        throw MidiFileError(std::strerror(errno != 0 ? errno : EIO));
    }
    return parseMidiFile(bytes);
}

} // namespace Korvatune
