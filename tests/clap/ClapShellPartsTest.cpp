// The parts of the CLAP shell on their own, linked in.

#include "plugin/Instrument.h"
#include "plugin/clap/EditQueue.h"
#include "plugin/clap/NoteEvents.h"
#include "plugin/clap/ParameterMapping.h"
#include "plugin/clap/StateStream.h"
#include "programs/ProgramKeys.h"

#include "clap/ClapEvents.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <thread>

namespace Korvatune::Clap {
namespace {

using Message = std::array<std::uint8_t, 3>;

TEST(ClapNoteEvents, NotesBecomeMidiNotesOnTheirChannel) {
    using testing::noteEvent;
    EXPECT_EQ(midiMessageOf(noteEvent(kEventNoteOn, 0, 36, 1.0).header), (Message{0x90, 36, 127}));
    EXPECT_EQ(midiMessageOf(noteEvent(kEventNoteOn, 0, 60, 100 / 127.0, 9).header),
              (Message{0x99, 60, 100}));
    EXPECT_EQ(midiMessageOf(noteEvent(kEventNoteOff, 0, 36, 0.5, 2).header),
              (Message{0x82, 36, 64}));
    EXPECT_EQ(midiMessageOf(noteEvent(kEventNoteChoke, 0, 40, 0.0).header), (Message{0x80, 40, 0}));
}

TEST(ClapNoteEvents, TheSoftestNoteStillSoundsAndWildcardsAreHandled) {
    using testing::noteEvent;
    EXPECT_EQ(midiMessageOf(noteEvent(kEventNoteOn, 0, 36, 0.0).header), (Message{0x90, 36, 1}));
    EXPECT_EQ(midiMessageOf(noteEvent(kEventNoteOn, 0, 36, 7.0, -1).header),
              (Message{0x90, 36, 127}));
    EXPECT_EQ(midiMessageOf(noteEvent(kEventNoteOn, 0, 36, std::nan("")).header),
              (Message{0x90, 36, 1}));
    EXPECT_EQ(midiMessageOf(noteEvent(kEventNoteOn, 0, -1, 1.0).header), std::nullopt);
    EXPECT_EQ(midiMessageOf(noteEvent(kEventNoteOn, 0, 128, 1.0).header), std::nullopt);
    EXPECT_EQ(midiMessageOf(noteEvent(kEventNoteOff, 0, -1, 0.0, 3).header),
              (Message{0xB3, 0x7B, 0}));
    EXPECT_EQ(midiMessageOf(noteEvent(kEventNoteChoke, 0, 200, 0.0).header), std::nullopt);
}

TEST(ClapNoteEvents, MidiPassesThroughAndTheRestIsIgnored) {
    EXPECT_EQ(midiMessageOf(testing::midiEvent(5, 0xE0, 0, 96).header), (Message{0xE0, 0, 96}));
    EXPECT_EQ(midiMessageOf(testing::midiEvent(5, 0xC0, 4, 0).header), (Message{0xC0, 4, 0}));
    EXPECT_EQ(midiMessageOf(testing::paramEvent(0, 3, 0.5).header), std::nullopt);
    testing::AnyEvent foreign = testing::noteEvent(kEventNoteOn, 0, 36, 1.0);
    foreign.header.spaceId = 7;
    EXPECT_EQ(midiMessageOf(foreign.header), std::nullopt);
    testing::AnyEvent truncated = testing::noteEvent(kEventNoteOn, 0, 36, 1.0);
    truncated.header.size = sizeof(EventHeader);
    EXPECT_EQ(midiMessageOf(truncated.header), std::nullopt);
    testing::AnyEvent shortMidi = testing::midiEvent(0, 0x90, 1, 1);
    shortMidi.header.size = sizeof(EventHeader) + 1;
    EXPECT_EQ(midiMessageOf(shortMidi.header), std::nullopt);
}

TEST(ClapParameterMapping, ListsCountTheirEntriesAndContinuousValuesStayInRange) {
    const int steps = Instrument::stepCount(kDistortionType);
    ASSERT_GT(steps, 1);
    EXPECT_EQ(plainValue(kDistortionType, 3.0f / static_cast<float>(steps)), 3.0);
    EXPECT_EQ(instrumentValue(kDistortionType, 3.0), 3.0f / static_cast<float>(steps));
    EXPECT_EQ(instrumentValue(kDistortionType, 2.6), 3.0f / static_cast<float>(steps));
    EXPECT_EQ(instrumentValue(kDistortionType, 1000.0), 1.0f);
    EXPECT_EQ(plainValue(kVolume, 0.3f), double{0.3f});
    EXPECT_EQ(instrumentValue(kVolume, double{0.3f}), 0.3f);
    EXPECT_EQ(instrumentValue(kVolume, -2.0), 0.0f);
    EXPECT_EQ(instrumentValue(kVolume, 2.0), 1.0f);
    EXPECT_EQ(instrumentValue(kVolume, std::numeric_limits<double>::infinity()), 0.0f);
    EXPECT_EQ(plainValue(kVolume, 1.5f), 1.0);
    EXPECT_FALSE(isParameterId(60));
    EXPECT_FALSE(isParameterId(UINT32_MAX));
}

TEST(ClapEditQueue, DeliversEditsInOrderAndDropsWhatDoesNotFit) {
    EditQueue queue;
    EXPECT_EQ(queue.pop(), std::nullopt);
    for (std::size_t i = 0; i < EditQueue::kCapacity; ++i) {
        ASSERT_TRUE(queue.push({ParameterEdit::Kind::Value, static_cast<int>(i), 0.5f}));
    }
    EXPECT_FALSE(queue.push({ParameterEdit::Kind::End, 1, 0.0f}));
    for (std::size_t i = 0; i < EditQueue::kCapacity; ++i) {
        const std::optional<ParameterEdit> edit = queue.pop();
        ASSERT_TRUE(edit.has_value());
        EXPECT_EQ(edit->index, static_cast<int>(i));
    }
    EXPECT_EQ(queue.pop(), std::nullopt);
}

// The editor's thread and the audio thread at once: every edit arrives once, in order.
TEST(ClapEditQueue, CarriesEditsBetweenTwoThreads) {
    EditQueue queue;
    constexpr int kEdits = 200000;
    std::thread editor([&queue] {
        for (int i = 0; i < kEdits;) {
            if (queue.push({ParameterEdit::Kind::Value, i, static_cast<float>(i)})) {
                ++i;
            }
        }
    });
    int expected = 0;
    while (expected < kEdits) {
        if (const std::optional<ParameterEdit> edit = queue.pop()) {
            ASSERT_EQ(edit->index, expected);
            ASSERT_EQ(edit->value, static_cast<float>(expected));
            ++expected;
        }
    }
    editor.join();
}

struct Source {
    std::vector<std::uint8_t> bytes;
    std::size_t position = 0;
    std::int64_t answer = 0;
};

InputStream streamOver(Source& source) {
    return {&source, [](const InputStream* stream, void* buffer, std::uint64_t size) {
                auto& self = *static_cast<Source*>(stream->context);
                if (self.answer != 0) {
                    return self.answer;
                }
                const std::size_t count = std::min<std::size_t>(
                    {static_cast<std::size_t>(size), 7, self.bytes.size() - self.position});
                std::copy_n(self.bytes.data() + self.position, count,
                            static_cast<std::uint8_t*>(buffer));
                self.position += count;
                return static_cast<std::int64_t>(count);
            }};
}

TEST(ClapStateStream, ReadsUpToTheLimitInPieces) {
    Source source{std::vector<std::uint8_t>(100, 0x5A)};
    const InputStream stream = streamOver(source);
    const StreamContents exact = readAll(stream, 100);
    EXPECT_EQ(exact.outcome, StreamContents::Outcome::Complete);
    EXPECT_EQ(exact.bytes, source.bytes);
    source.position = 0;
    const StreamContents over = readAll(stream, 99);
    EXPECT_EQ(over.outcome, StreamContents::Outcome::TooLarge);
    EXPECT_TRUE(over.bytes.empty());
}

// A stream that claims more than it was asked for is as broken as one that fails.
TEST(ClapStateStream, RefusesAStreamThatFailsOrOverstates) {
    for (const std::int64_t answer : {std::int64_t{-1}, std::int64_t{1} << 40}) {
        Source source{{1, 2, 3}, 0, answer};
        const StreamContents contents = readAll(streamOver(source), 100);
        EXPECT_EQ(contents.outcome, StreamContents::Outcome::Failed) << answer;
    }
    const InputStream noRead{nullptr, nullptr};
    EXPECT_EQ(readAll(noRead, 100).outcome, StreamContents::Outcome::Failed);
}

TEST(ClapStateStream, WritesEverythingThroughPartialWrites) {
    std::vector<std::uint8_t> written;
    const OutputStream stream{
        &written, [](const OutputStream* stream, const void* buffer, std::uint64_t size) {
            auto& target = *static_cast<std::vector<std::uint8_t>*>(stream->context);
            const std::size_t count = std::min<std::size_t>(static_cast<std::size_t>(size), 3);
            const auto* bytes = static_cast<const std::uint8_t*>(buffer);
            target.insert(target.end(), bytes, bytes + count);
            return static_cast<std::int64_t>(count);
        }};
    const std::vector<std::uint8_t> bytes = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10};
    EXPECT_TRUE(writeAll(stream, bytes));
    EXPECT_EQ(written, bytes);
    const OutputStream stuck{
        nullptr, [](const OutputStream*, const void*, std::uint64_t) { return std::int64_t{0}; }};
    EXPECT_FALSE(writeAll(stuck, bytes));
}

} // namespace
} // namespace Korvatune::Clap
