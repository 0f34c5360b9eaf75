#pragma once

#include "plugin/vst2/VstAbi.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

namespace Korvatune::testing {

// Random choices that come out the same with every standard library, so a seed names one
// sequence everywhere.
class Dice {
public:
    explicit Dice(std::uint64_t seed) : engine(seed) {}

    std::uint64_t bits() { return engine(); }
    // 0 .. count - 1.
    int below(int count) { return static_cast<int>(engine() % static_cast<std::uint64_t>(count)); }
    int between(int lowest, int highest) { return lowest + below(highest - lowest + 1); }
    bool percent(int chance) { return below(100) < chance; }
    // 0 .. 1, with 24 bits.
    float unit() { return static_cast<float>(engine() >> 40) * 0x1p-24f; }
    template <class T, std::size_t N> T pickFrom(const std::array<T, N>& items) {
        return items[static_cast<std::size_t>(below(static_cast<int>(N)))];
    }

private:
    std::mt19937_64 engine;
};

// A host that calls the instrument through its record in every way the interface allows, with
// arguments of the right shape but wild values: odd opcodes, indices and values, garbage
// events, absurd sample rates, blocks longer than it announced. Every call is valid C: text
// buffers are exactly as large as the interface promises, pointers point at real memory.
class HostileHost {
public:
    // What the instrument may hand any host.
    static constexpr float kLoudestAllowed = 64.0f;

    // Each move is written to log, when there is one, before it is made.
    HostileHost(std::uint64_t seed, std::FILE* log);
    ~HostileHost();
    HostileHost(const HostileHost&) = delete;
    HostileHost& operator=(const HostileHost&) = delete;

    // Makes one random move; after a render, checks every output sample. Returns an empty
    // text, or what went wrong.
    std::string step();
    // The last move, to name it in a failure.
    const std::string& lastMove() const { return move; }

private:
    // Room for an event of any type.
    struct alignas(std::max_align_t) EventBody {
        std::array<char, 64> bytes;
    };

    void open();
    void close();
    void announce(const std::string& what);

    // The moves; each returns an empty text, or what went wrong.
    std::string render();
    std::string sendEvents();
    std::string changeParameter();
    std::string changeSampleRate();
    std::string changeBlockSize();
    std::string changeProgram();
    std::string askForTexts();
    std::string callOddOpcode();
    std::string callEditorWithoutWindow();
    std::string changeMains();
    std::string reopen();

    int usualBlockSize() const;
    std::int32_t wildEventType();
    std::int32_t wildDeltaFrames();
    std::array<int, 3> wildMidiBytes();
    VstMidiEvent wildMidiEvent();
    VstIntPtr dispatch(std::int32_t opcode, std::int32_t index, VstIntPtr value, void* ptr,
                       float opt);
    std::int32_t wildIndex();
    VstIntPtr wildValue();
    float wildFloat();
    float wildParameterValue();
    int wildFrames();
    void fillScratch();

    Dice dice;
    std::FILE* log;
    AEffect* effect = nullptr;
    std::int32_t announcedBlockSize = 1024;
    std::string move;
    // Memory that pointer arguments point at: random bytes, zero-terminated.
    std::vector<char> scratch;
    // The events of the last call stay alive until the next block, as the interface promises.
    std::vector<char> eventList;
    std::vector<EventBody> eventBodies;
    std::vector<float> left;
    std::vector<float> right;
};

} // namespace Korvatune::testing
