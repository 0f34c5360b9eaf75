#include "plugin/clap/ClapInstrument.h"

#include "plugin/OfferedEditor.h"
#include "plugin/clap/NoteEvents.h"
#include "plugin/clap/ParameterMapping.h"
#include "plugin/clap/PluginRecord.h"
#include "plugin/clap/StateStream.h"

#include <algorithm>
#include <charconv>
#include <cstring>

namespace Korvatune::Clap {

namespace {

bool restoresAnything(const RestoredState& state) {
    const auto present = [](const auto& piece) { return piece.has_value(); };
    return state.program || state.programName ||
           std::any_of(state.values.begin(), state.values.end(), present) ||
           std::any_of(state.userWaveforms.begin(), state.userWaveforms.end(), present);
}

std::optional<int> programNumber(const char* loadKey) {
    int program = -1;
    const char* end = loadKey + std::strlen(loadKey);
    const auto [stop, error] = std::from_chars(loadKey, end, program);
    if (error != std::errc() || stop != end || program < 0 ||
        program >= Instrument::kProgramCount) {
        return std::nullopt;
    }
    return program;
}

template <class Event> Event outgoingEvent(std::uint16_t type) {
    Event event{};
    event.header = {sizeof(Event), 0, kCoreEventSpace, type, 0};
    return event;
}

} // namespace

ClapInstrument::ClapInstrument(const Host* host, const std::string& installFolder)
    : plugin_(pluginRecord(this)), host_(host),
      instrument_(std::make_unique<Instrument>(installFolder, offeredEditor())) {}

ClapInstrument::~ClapInstrument() = default;

void ClapInstrument::init() {
    host_.findExtensions();
}

bool ClapInstrument::activate(double sampleRate, std::uint32_t maxFrames) {
    if (!instrument_->setSampleRate(sampleRate)) {
        return false;
    }
    instrument_->setMaxBlockSize(
        static_cast<std::int32_t>(std::min<std::uint32_t>(maxFrames, INT32_MAX)));
    instrument_->activate();
    return true;
}

void ClapInstrument::deactivate() {
    instrument_->deactivate();
}

std::int32_t ClapInstrument::process(const Process& process) {
    sendEdits(process.outEvents);
    const AudioBuffer* output = process.audioOutputsCount > 0 ? process.audioOutputs : nullptr;
    if (output == nullptr || output->channelCount < 2 || output->data32 == nullptr ||
        output->data32[0] == nullptr || output->data32[1] == nullptr) {
        applyParameters(process.inEvents);
        return process.framesCount == 0 ? kProcessContinue : kProcessError;
    }
    process.audioOutputs[0].constantMask = 0;
    Block block{output->data32[0], output->data32[1], 0, process.framesCount};
    const InputEvents* in = process.inEvents;
    const std::uint32_t count = in != nullptr && in->size != nullptr ? in->size(in) : 0;
    for (std::uint32_t index = 0; index < count; ++index) {
        if (const EventHeader* event = in->get(in, index)) {
            play(*event, block);
        }
    }
    renderUpTo(block.frames, block);
    return kProcessContinue;
}

// Events come in time order; one that claims an earlier frame than one before it plays with it.
void ClapInstrument::play(const EventHeader& event, Block& block) {
    const std::uint32_t frame = std::clamp(event.time, block.start, block.frames);
    if (event.spaceId == kCoreEventSpace && event.type == kEventParamValue) {
        renderUpTo(frame, block);
        applyParameter(event);
    } else if (const auto message = midiMessageOf(event)) {
        queueMessage(*message, frame, block);
    }
}

// A full queue takes more once the frames before the message are rendered; more messages on one
// frame than it holds are lost, as in VST 2.
void ClapInstrument::queueMessage(const std::array<std::uint8_t, 3>& message, std::uint32_t frame,
                                  Block& block) {
    const auto offset = [&] { return static_cast<std::int32_t>(frame - block.start); };
    if (!instrument_->queueMidi(message, offset()) && frame > block.start) {
        renderUpTo(frame, block);
        instrument_->queueMidi(message, offset());
    }
}

void ClapInstrument::renderUpTo(std::uint32_t frame, Block& block) {
    if (frame > block.start) {
        instrument_->render(block.left + block.start, block.right + block.start,
                            static_cast<std::int32_t>(frame - block.start));
        block.start = frame;
    }
}

void ClapInstrument::applyParameter(const EventHeader& event) {
    if (event.spaceId != kCoreEventSpace || event.type != kEventParamValue ||
        event.size < sizeof(ParamValueEvent)) {
        return;
    }
    const auto& change = reinterpret_cast<const ParamValueEvent&>(event);
    if (isParameterId(change.paramId)) {
        const int index = static_cast<int>(change.paramId);
        instrument_->setParameterValue(index, instrumentValue(index, change.value));
    }
}

void ClapInstrument::applyParameters(const InputEvents* in) {
    const std::uint32_t count = in != nullptr && in->size != nullptr ? in->size(in) : 0;
    for (std::uint32_t index = 0; index < count; ++index) {
        if (const EventHeader* event = in->get(in, index)) {
            applyParameter(*event);
        }
    }
}

void ClapInstrument::releaseAllNotes() {
    constexpr std::array<std::uint8_t, 3> kAllNotesOff = {0xB0, 0x7B, 0};
    instrument_->queueMidi(kAllNotesOff, 0);
}

void ClapInstrument::flush(const InputEvents* in, const OutputEvents* out) {
    applyParameters(in);
    sendEdits(out);
}

// The editor already stored each value; the host learns of it with the gesture around it. An
// edit the host has no room for is lost to it.
void ClapInstrument::sendEdits(const OutputEvents* out) {
    if (out == nullptr || out->tryPush == nullptr) {
        return;
    }
    while (const std::optional<ParameterEdit> edit = edits_.pop()) {
        const auto id = static_cast<std::uint32_t>(edit->index);
        if (edit->kind == ParameterEdit::Kind::Value) {
            auto event = outgoingEvent<ParamValueEvent>(kEventParamValue);
            event.paramId = id;
            event.noteId = -1;
            event.portIndex = event.channel = event.key = -1;
            event.value = plainValue(edit->index, edit->value);
            out->tryPush(out, &event.header);
        } else {
            auto event = outgoingEvent<ParamGestureEvent>(edit->kind == ParameterEdit::Kind::Begin
                                                              ? kEventParamGestureBegin
                                                              : kEventParamGestureEnd);
            event.paramId = id;
            out->tryPush(out, &event.header);
        }
    }
}

bool ClapInstrument::save(const OutputStream& stream) const {
    const std::vector<std::uint8_t> record = encodeStateRecord(*instrument_->state());
    return writeAll(stream, record);
}

bool ClapInstrument::load(const InputStream& stream) {
    const StreamContents contents = readAll(stream, kStateLimit);
    if (contents.outcome == StreamContents::Outcome::TooLarge) {
        host_.warn("state: larger than any this instrument saves; nothing was restored");
        return false;
    }
    if (contents.outcome == StreamContents::Outcome::Failed) {
        host_.warn("state: the host's stream failed; nothing was restored");
        return false;
    }
    const std::unique_ptr<RestoredState> state = decodeStateRecord(contents.bytes);
    for (const std::string& refusal : state->refusals) {
        host_.warn(refusal);
    }
    if (!restoresAnything(*state)) {
        return false;
    }
    instrument_->restore(*state);
    host_.rescanValues();
    return true;
}

bool ClapInstrument::loadProgram(const char* loadKey) {
    const std::optional<int> program = loadKey != nullptr ? programNumber(loadKey) : std::nullopt;
    if (!program) {
        return false;
    }
    instrument_->selectProgram(*program);
    host_.rescanValues();
    host_.presetLoaded(loadKey);
    return true;
}

void ClapInstrument::publishStateChange() {
    if (instrument_->takeStateChange()) {
        host_.markDirty();
    }
}

} // namespace Korvatune::Clap
