#include "HostileHost.h"

#include "support/EntryUnderTest.h"
#include "support/TestHost.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>
#include <memory>

namespace Korvatune::testing {

namespace {

constexpr int kLongestBlock = 8192;
constexpr std::size_t kScratchBytes = 4096;
// Text buffers as large as the interface promises: the limit and the terminating zero.
constexpr std::size_t kParameterTextBytes = 9;
constexpr std::size_t kProgramNameBytes = 25;
constexpr std::size_t kEffectNameBytes = 33;
constexpr std::size_t kVendorTextBytes = 65;
constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
constexpr float kInfinity = std::numeric_limits<float>::infinity();

std::string describeFloat(float value) {
    char text[48];
    std::snprintf(text, sizeof text, "%.9g", static_cast<double>(value));
    return text;
}

// Each text the interface writes goes into a heap buffer of exactly its promised size, so the
// address sanitizer sees a byte written past it.
std::unique_ptr<char[]> textBuffer(std::size_t bytes) {
    return std::make_unique<char[]>(bytes);
}

} // namespace

HostileHost::HostileHost(std::uint64_t seed, std::FILE* log)
    : dice(seed), log(log), scratch(kScratchBytes) {
    open();
}

HostileHost::~HostileHost() {
    close();
}

void HostileHost::open() {
    effect = entryUnderTest()(recordingHost);
    dispatch(effOpen, 0, 0, nullptr, 0.0f);
    dispatch(effSetSampleRate, 0, 0, nullptr, 44100.0f);
    dispatch(effSetBlockSize, 0, announcedBlockSize, nullptr, 0.0f);
    dispatch(effMainsChanged, 0, 1, nullptr, 0.0f);
}

void HostileHost::close() {
    dispatch(effMainsChanged, 0, 0, nullptr, 0.0f);
    dispatch(effClose, 0, 0, nullptr, 0.0f);
    effect = nullptr;
}

VstIntPtr HostileHost::dispatch(std::int32_t opcode, std::int32_t index, VstIntPtr value, void* ptr,
                                float opt) {
    return effect->dispatcher(effect, opcode, index, value, ptr, opt);
}

void HostileHost::announce(const std::string& what) {
    move = what;
    if (log != nullptr) {
        std::fprintf(log, "%s\n", what.c_str());
        std::fflush(log);
    }
}

// Each move with its chance in percent.
std::string HostileHost::step() {
    struct Move {
        int percent;
        std::string (HostileHost::*make)();
    };
    static constexpr std::array<Move, 11> kMoves = {{
        {30, &HostileHost::render},
        {18, &HostileHost::sendEvents},
        {15, &HostileHost::changeParameter},
        {6, &HostileHost::askForTexts},
        {10, &HostileHost::callOddOpcode},
        {6, &HostileHost::changeSampleRate},
        {3, &HostileHost::changeBlockSize},
        {5, &HostileHost::changeProgram},
        {3, &HostileHost::callEditorWithoutWindow},
        {3, &HostileHost::changeMains},
        {1, &HostileHost::reopen},
    }};
    int roll = dice.below(100);
    for (const Move& choice : kMoves) {
        if (roll < choice.percent) {
            return (this->*choice.make)();
        }
        roll -= choice.percent;
    }
    return {};
}

int HostileHost::wildFrames() {
    const int usual = usualBlockSize();
    const int roll = dice.below(100);
    if (roll < 25) {
        return usual;
    }
    if (roll < 45) {
        return dice.between(1, 64);
    }
    if (roll < 60) {
        return std::min(usual + dice.between(1, 4096), kLongestBlock);
    }
    if (roll < 70) {
        return dice.pickFrom(std::array{4095, 4096, 4097, kLongestBlock});
    }
    if (roll < 80) {
        return 0;
    }
    if (roll < 85) {
        return dice.percent(50) ? -1 : -dice.between(2, 100000);
    }
    return dice.between(65, 2048);
}

// The outputs start as NaN, so a sample the instrument leaves unwritten shows as well.
std::string HostileHost::render() {
    const int frames = wildFrames();
    announce("render " + std::to_string(frames) + " frames");
    const auto length = static_cast<std::size_t>(std::max(frames, 1));
    left.assign(length, kNaN);
    right.assign(length, kNaN);
    std::array<float*, 2> outputs = {left.data(), right.data()};
    // Some hosts pass input buffers to an instrument without inputs; the silent ones are read
    // by nobody.
    std::vector<float> silence(length, 0.0f);
    std::array<float*, 2> inputs = {silence.data(), silence.data()};
    effect->processReplacing(effect, dice.percent(50) ? inputs.data() : nullptr, outputs.data(),
                             frames);
    for (int i = 0; i < frames; ++i) {
        for (const auto* channel : {&left, &right}) {
            const float sample = (*channel)[static_cast<std::size_t>(i)];
            if (!(std::fabs(sample) <= kLoudestAllowed)) {
                return "sample " + std::to_string(i) + " of " + std::to_string(frames) + " is " +
                       describeFloat(sample);
            }
        }
    }
    return {};
}

int HostileHost::usualBlockSize() const {
    return announcedBlockSize > 0 && announcedBlockSize <= kLongestBlock ? announcedBlockSize : 512;
}

std::int32_t HostileHost::wildEventType() {
    const int roll = dice.below(100);
    return roll < 70   ? kVstMidiType
           : roll < 85 ? kVstSysExType
                       : static_cast<std::int32_t>(dice.bits());
}

// Mostly within the block, else beyond it, before it, or at the ends of the integer range.
std::int32_t HostileHost::wildDeltaFrames() {
    const int usual = usualBlockSize();
    const int roll = dice.below(100);
    if (roll < 60) {
        return dice.between(0, usual - 1);
    }
    if (roll < 75) {
        return dice.between(usual, 4 * usual);
    }
    if (roll < 85) {
        return -dice.between(1, 100000);
    }
    if (roll < 95) {
        return dice.pickFrom(std::array{std::numeric_limits<std::int32_t>::max(),
                                        std::numeric_limits<std::int32_t>::min(), -99, 1 << 30});
    }
    return usual;
}

// Notes on and off and the controllers the instrument knows, else any three bytes.
std::array<int, 3> HostileHost::wildMidiBytes() {
    const int channel = dice.below(16);
    const int roll = dice.below(100);
    if (roll < 40) {
        return {0x90 | channel, dice.below(128), dice.between(1, 127)};
    }
    if (roll < 55) {
        return {0x80 | channel, dice.below(128), dice.below(128)};
    }
    if (roll < 65) {
        return {0xB0 | channel, dice.pickFrom(std::array{123, 126, 64, 121, 0, 127}),
                dice.below(256)};
    }
    return {dice.below(256), dice.below(256), dice.below(256)};
}

VstMidiEvent HostileHost::wildMidiEvent() {
    VstMidiEvent event{};
    event.type = wildEventType();
    event.byteSize =
        dice.percent(70) ? static_cast<std::int32_t>(sizeof event) : dice.between(-64, 4096);
    event.deltaFrames = wildDeltaFrames();
    const std::array<int, 3> bytes = wildMidiBytes();
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        event.midiData[i] = static_cast<char>(bytes[i]);
    }
    event.midiData[3] = static_cast<char>(dice.below(256));
    event.noteLength = static_cast<std::int32_t>(dice.bits());
    event.noteOffset = static_cast<std::int32_t>(dice.bits());
    event.detune = static_cast<char>(dice.below(256));
    return event;
}

// Each event sits in a body large enough for any event type, so odd types are of the right
// shape too; the list's count may also be negative.
std::string HostileHost::sendEvents() {
    const int count = dice.percent(10) ? dice.between(250, 300) : dice.between(0, 8);
    const bool negativeCount = dice.percent(5);
    eventBodies.assign(static_cast<std::size_t>(count), {});
    eventList.assign(sizeof(VstEvents) + static_cast<std::size_t>(count) * sizeof(VstEvent*), 0);
    auto* list = reinterpret_cast<VstEvents*>(eventList.data());
    list->numEvents = negativeCount ? -dice.between(1, 100) : count;
    std::string first;
    for (int i = 0; i < count; ++i) {
        EventBody& body = eventBodies[static_cast<std::size_t>(i)];
        const VstMidiEvent event = wildMidiEvent();
        std::memcpy(body.bytes.data(), &event, sizeof event);
        list->events[i] = reinterpret_cast<VstEvent*>(body.bytes.data());
        if (i == 0) {
            char text[96];
            std::snprintf(text, sizeof text, " (first: type %d delta %d bytes %02x %02x %02x)",
                          event.type, event.deltaFrames,
                          static_cast<unsigned char>(event.midiData[0]),
                          static_cast<unsigned char>(event.midiData[1]),
                          static_cast<unsigned char>(event.midiData[2]));
            first = text;
        }
    }
    announce("events " + std::to_string(list->numEvents) + first);
    dispatch(effProcessEvents, 0, 0, list, 0.0f);
    return {};
}

std::int32_t HostileHost::wildIndex() {
    const int roll = dice.below(100);
    if (roll < 70) {
        return dice.between(-2, 64);
    }
    if (roll < 85) {
        return dice.pickFrom(std::array{std::numeric_limits<std::int32_t>::min(),
                                        std::numeric_limits<std::int32_t>::max(), 128, 255, 1000});
    }
    return static_cast<std::int32_t>(dice.bits());
}

VstIntPtr HostileHost::wildValue() {
    const int roll = dice.below(100);
    if (roll < 60) {
        return dice.between(-2, 130);
    }
    if (roll < 80) {
        return dice.pickFrom(std::array<VstIntPtr, 4>{std::numeric_limits<VstIntPtr>::min(),
                                                      std::numeric_limits<VstIntPtr>::max(), -1,
                                                      VstIntPtr{1} << 31});
    }
    return static_cast<VstIntPtr>(dice.bits());
}

float HostileHost::wildFloat() {
    const int roll = dice.below(100);
    if (roll < 50) {
        return dice.unit() * 2.0f - 0.5f;
    }
    if (roll < 80) {
        return dice.pickFrom(std::array{kNaN, kInfinity, -kInfinity, 0.0f, -0.0f, 1e30f, -1e30f,
                                        std::numeric_limits<float>::denorm_min(),
                                        std::numeric_limits<float>::max()});
    }
    return std::bit_cast<float>(static_cast<std::uint32_t>(dice.bits()));
}

float HostileHost::wildParameterValue() {
    const int roll = dice.below(100);
    if (roll < 40) {
        return dice.unit();
    }
    if (roll < 65) {
        return dice.percent(50) ? 0.0f : 1.0f;
    }
    return wildFloat();
}

std::string HostileHost::changeParameter() {
    const std::int32_t index = dice.percent(85) ? dice.below(effect->numParams) : wildIndex();
    const float value = wildParameterValue();
    announce("setParameter " + std::to_string(index) + " = " + describeFloat(value));
    effect->setParameter(effect, index, value);
    const std::int32_t asked = dice.percent(80) ? index : wildIndex();
    const float stored = effect->getParameter(effect, asked);
    if (asked >= 0 && asked < effect->numParams && !(stored >= 0.0f && stored <= 1.0f)) {
        return "parameter " + std::to_string(asked) + " reads " + describeFloat(stored);
    }
    return {};
}

std::string HostileHost::changeSampleRate() {
    float rate = 0.0f;
    if (dice.percent(50)) {
        rate = dice.pickFrom(std::array{
            0.0f, -0.0f, -44100.0f, kNaN, kInfinity, -kInfinity, 1.0f, 999.9f, 1600000.2f, 1e30f,
            std::numeric_limits<float>::max(), std::numeric_limits<float>::denorm_min(), 1e-30f});
    } else if (dice.percent(50)) {
        rate = dice.pickFrom(std::array{1000.0f, 8000.0f, 22050.0f, 44100.0f, 48000.0f, 96000.0f,
                                        192000.0f, 1600000.0f});
    } else {
        rate = 1000.0f * std::pow(1600.0f, dice.unit());
    }
    announce("sample rate " + describeFloat(rate));
    dispatch(effSetSampleRate, 0, 0, nullptr, rate);
    return {};
}

std::string HostileHost::changeBlockSize() {
    announcedBlockSize = dice.percent(60)
                             ? dice.pickFrom(std::array{1, 32, 64, 256, 512, 1024, 4096, 8192})
                             : static_cast<std::int32_t>(wildValue());
    announce("block size " + std::to_string(announcedBlockSize));
    dispatch(effSetBlockSize, 0, announcedBlockSize, nullptr, 0.0f);
    return {};
}

std::string HostileHost::changeProgram() {
    const int roll = dice.below(4);
    if (roll == 0) {
        const VstIntPtr program = dice.percent(50) ? dice.between(-3, 50) : wildValue();
        announce("program " + std::to_string(program));
        dispatch(effSetProgram, 0, program, nullptr, 0.0f);
    } else if (roll == 1) {
        std::string name(static_cast<std::size_t>(dice.between(0, 3000)), ' ');
        for (char& c : name) {
            c = static_cast<char>(dice.between(1, 255));
        }
        announce("program name of " + std::to_string(name.size()) + " characters");
        dispatch(effSetProgramName, 0, 0, name.data(), 0.0f);
    } else if (roll == 2) {
        announce("current program name");
        auto name = textBuffer(kProgramNameBytes);
        dispatch(effGetProgramName, 0, 0, name.get(), 0.0f);
    } else {
        const std::int32_t index = wildIndex();
        announce("program name " + std::to_string(index));
        auto name = textBuffer(kProgramNameBytes);
        dispatch(effGetProgramNameIndexed, index, wildValue(), name.get(), 0.0f);
    }
    return {};
}

std::string HostileHost::askForTexts() {
    const std::int32_t index = wildIndex();
    announce("texts " + std::to_string(index));
    for (const std::int32_t opcode : {effGetParamName, effGetParamLabel, effGetParamDisplay}) {
        auto text = textBuffer(kParameterTextBytes);
        dispatch(opcode, index, 0, text.get(), 0.0f);
    }
    auto effectName = textBuffer(kEffectNameBytes);
    dispatch(effGetEffectName, 0, 0, effectName.get(), 0.0f);
    for (const std::int32_t opcode : {effGetVendorString, effGetProductString}) {
        auto text = textBuffer(kVendorTextBytes);
        dispatch(opcode, 0, 0, text.get(), 0.0f);
    }
    VstPinProperties pin{};
    dispatch(effGetOutputProperties, index, 0, &pin, 0.0f);
    MidiProgramName programName{};
    programName.thisProgramIndex = wildIndex();
    dispatch(effGetMidiProgramName, index, 0, &programName, 0.0f);
    dispatch(effGetCurrentMidiProgram, index, 0, &programName, 0.0f);
    MidiProgramCategory category{};
    category.thisCategoryIndex = wildIndex();
    dispatch(effGetMidiProgramCategory, index, 0, &category, 0.0f);
    MidiKeyName key{};
    key.thisKeyNumber = wildIndex();
    dispatch(effGetMidiKeyName, index, 0, &key, 0.0f);
    fillScratch();
    dispatch(effCanDo, 0, 0, scratch.data(), 0.0f);
    return {};
}

// Random bytes with a zero at a random place, so texts read from it end somewhere.
void HostileHost::fillScratch() {
    for (char& byte : scratch) {
        byte = static_cast<char>(dice.below(256));
    }
    scratch[static_cast<std::size_t>(dice.below(static_cast<int>(scratch.size())))] = '\0';
    scratch.back() = '\0';
}

// Any opcode, including the ones no host sends, with pointers to real memory wherever the
// instrument might look; closing and opening the editor's window are left to other moves.
std::string HostileHost::callOddOpcode() {
    std::int32_t opcode =
        dice.percent(60) ? dice.between(-8, 100) : static_cast<std::int32_t>(dice.bits());
    if (opcode == effClose || opcode == effEditOpen || opcode == effProcessEvents) {
        opcode = effGetVu;
    }
    fillScratch();
    const std::int32_t index = wildIndex();
    // The speaker arrangement opcodes take a pointer in value as well.
    const bool valueIsPointer =
        opcode == effGetSpeakerArrangement || opcode == effSetSpeakerArrangement;
    const VstIntPtr value =
        valueIsPointer ? reinterpret_cast<VstIntPtr>(scratch.data() + 64) : wildValue();
    const float opt = wildFloat();
    announce("opcode " + std::to_string(opcode) + " index " + std::to_string(index) + " value " +
             std::to_string(value) + " opt " + describeFloat(opt));
    dispatch(opcode, index, value, scratch.data(), opt);
    return {};
}

std::string HostileHost::callEditorWithoutWindow() {
    const std::int32_t opcode = dice.pickFrom(std::array{
        effEditGetRect, effEditOpen, effEditClose, effEditDraw, effEditMouse, effEditKey,
        effEditIdle, effEditTop, effEditSleep, effEditKeyDown, effEditKeyUp, effSetEditKnobMode});
    announce("editor opcode " + std::to_string(opcode));
    ERect* rect = nullptr;
    // No parent window: the editor must not open one.
    void* ptr = opcode == effEditGetRect ? static_cast<void*>(&rect) : nullptr;
    dispatch(opcode, wildIndex(), wildValue(), ptr, wildFloat());
    return {};
}

std::string HostileHost::changeMains() {
    const VstIntPtr value = dice.percent(80) ? dice.below(2) : wildValue();
    announce("mains " + std::to_string(value));
    dispatch(effMainsChanged, 0, value, nullptr, 0.0f);
    return {};
}

std::string HostileHost::reopen() {
    announce("close and open again");
    close();
    open();
    return {};
}

} // namespace Korvatune::testing
