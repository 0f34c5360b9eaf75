#include "plugin/lv2/Lv2Instrument.h"

#include "editor/DrawTestEditor.h"
#include "plugin/SampleRateRange.h"
#include "plugin/lv2/AtomSequence.h"
#include "plugin/lv2/Features.h"
#include "plugin/lv2/Lv2Ports.h"
#include "plugin/lv2/StateReader.h"
#include "plugin/lv2/StateWriter.h"

#include <lv2/log/log.h>
#include <lv2/urid/urid.h>

#include <algorithm>
#include <bit>
#include <cstring>
#include <string>

namespace Korvatune::Lv2 {

namespace {

// The instrument asks its host for its folder once, from its constructor; this is the bundle of
// the instance being built on this thread.
thread_local const char* bundleUnderConstruction = nullptr;

// The host the instrument sees: it knows the interface version and the bundle's folder, and
// answers nothing else.
VstIntPtr VSTCALLBACK answerInstrument(AEffect*, std::int32_t opcode, std::int32_t, VstIntPtr,
                                       void*, float) {
    switch (opcode) {
    case audioMasterVersion:
        return 2400;
    case audioMasterGetDirectory:
        return reinterpret_cast<VstIntPtr>(bundleUnderConstruction);
    default:
        return 0;
    }
}

struct BundleUnderConstruction {
    explicit BundleUnderConstruction(const std::string& folder) {
        bundleUnderConstruction = folder.c_str();
    }
    ~BundleUnderConstruction() { bundleUnderConstruction = nullptr; }
    BundleUnderConstruction(const BundleUnderConstruction&) = delete;
    BundleUnderConstruction& operator=(const BundleUnderConstruction&) = delete;
};

std::unique_ptr<VstXSynth> buildSynth(const char* bundlePath) {
    std::string folder = bundlePath != nullptr ? bundlePath : "";
    while (folder.size() > 1 && folder.back() == '/') {
        folder.pop_back();
    }
    const BundleUnderConstruction constructing(folder);
    return std::make_unique<VstXSynth>(answerInstrument);
}

bool sameBits(float a, float b) {
    return std::bit_cast<std::uint32_t>(a) == std::bit_cast<std::uint32_t>(b);
}

} // namespace

std::unique_ptr<Lv2Instrument> Lv2Instrument::create(double sampleRate, const char* bundlePath,
                                                     const LV2_Feature* const* features) {
    const auto* map = static_cast<const LV2_URID_Map*>(featureData(features, LV2_URID__map));
    if (!isUsableSampleRate(static_cast<float>(sampleRate)) || map == nullptr) {
        return nullptr;
    }
    const Urids urids = mapUrids(*map);
    const Lv2Log log(static_cast<const LV2_Log_Log*>(featureData(features, LV2_LOG__log)),
                     urids.logWarning);
    std::unique_ptr<VstXSynth> synth = buildSynth(bundlePath);
    // As a VST 2 host does: the rate first, then the program, whose filters follow the rate.
    synth->setSampleRate(static_cast<float>(sampleRate));
    synth->setProgram(0);
    return std::unique_ptr<Lv2Instrument>(new Lv2Instrument(std::move(synth), urids, log));
}

Lv2Instrument::Lv2Instrument(std::unique_ptr<VstXSynth> synth, const Urids& urids,
                             const Lv2Log& log)
    : synth_(std::move(synth)), urids_(urids), log_(log) {
    for (int index = 0; index < kNumProgramKeys; ++index) {
        appliedValues_[static_cast<std::size_t>(index)].store(synth_->getParameter(index),
                                                              std::memory_order_relaxed);
    }
}

Lv2Instrument::~Lv2Instrument() = default;

void Lv2Instrument::connectPort(std::uint32_t port, void* data) {
    if (isParameterPort(port)) {
        controls_[port] = static_cast<const float*>(data);
    } else if (port == kMidiInPort) {
        midiIn_ = static_cast<const LV2_Atom_Sequence*>(data);
    } else if (port == kLeftOutPort) {
        left_ = static_cast<float*>(data);
    } else if (port == kRightOutPort) {
        right_ = static_cast<float*>(data);
    }
}

void Lv2Instrument::activate() {
    synth_->resume();
    active_ = true;
}

// Tables still waiting are delivered now, so that none arrives later over one the editor loads
// while the instrument is stopped.
void Lv2Instrument::deactivate() {
    deliverUserWaveforms();
    synth_->suspend();
    active_ = false;
}

bool Lv2Instrument::isNewPortValue(int index, float value) const {
    return index >= 0 && index < kNumProgramKeys &&
           !sameBits(value, appliedValues_[static_cast<std::size_t>(index)].load(
                                std::memory_order_relaxed));
}

void Lv2Instrument::run(std::uint32_t frames) {
    deliverUserWaveforms();
    applyPortChanges();
    // An empty block needs no buffers; its events wait for the next.
    if (frames > 0 && (left_ == nullptr || right_ == nullptr)) {
        return;
    }
    playEvents(frames);
}

void Lv2Instrument::deliverUserWaveforms() {
    if (handover_.deliverTo(*synth_->getWaveformProvider())) {
        synth_->getDrawTestEditor()->refreshAll();
    }
}

// Only values that changed since the last block: a program chosen by MIDI stays chosen until
// the host moves a port.
void Lv2Instrument::applyPortChanges() {
    for (std::size_t index = 0; index < controls_.size(); ++index) {
        if (controls_[index] == nullptr) {
            continue;
        }
        const float value = *controls_[index];
        if (isNewPortValue(static_cast<int>(index), value)) {
            appliedValues_[index].store(value, std::memory_order_relaxed);
            synth_->setParameter(static_cast<std::int32_t>(index), value);
        }
    }
}

// Events go to the instrument's queue with their offsets and the block renders in one piece,
// as from a VST 2 host. It is cut only where it must be: at a program change, which takes
// effect on its frame, and where the queue is full, so that no event is lost to it.
void Lv2Instrument::playEvents(std::uint32_t frames) {
    Span span;
    if (midiIn_ != nullptr && midiIn_->atom.type == urids_.atomSequence) {
        const bool frameTimed =
            midiIn_->body.unit == 0 || midiIn_->body.unit == urids_.atomFrameTime;
        forEachEvent(*midiIn_, [&](const LV2_Atom_Event& event) {
            if (const std::optional<MidiMessage> message = midiMessageIn(event)) {
                const std::int64_t time = frameTimed ? event.time.frames : 0;
                play(*message,
                     static_cast<std::uint32_t>(std::clamp<std::int64_t>(time, span.start, frames)),
                     span);
            }
        });
    }
    render(span.start, frames);
}

std::optional<MidiMessage> Lv2Instrument::midiMessageIn(const LV2_Atom_Event& event) const {
    if (event.body.type != urids_.midiEvent) {
        return std::nullopt;
    }
    return midiMessageOf(reinterpret_cast<const std::uint8_t*>(&event.body + 1), event.body.size);
}

void Lv2Instrument::play(const MidiMessage& message, std::uint32_t frame, Span& span) {
    if (message.isProgramChange()) {
        renderUpTo(frame, span);
        synth_->setProgram(message.program());
        return;
    }
    if (span.queued == EventQueue::kSlots && frame > span.start) {
        renderUpTo(frame, span);
    }
    // More events on one frame than the queue holds: the rest are lost, as in VST 2.
    if (span.queued == EventQueue::kSlots) {
        return;
    }
    sendEvent(message, static_cast<std::int32_t>(frame - span.start));
    span.queuedAtLastFrame = frame == span.lastFrame ? span.queuedAtLastFrame + 1 : 1;
    span.lastFrame = frame;
    ++span.queued;
}

// Events on the frame itself stay queued, for the start of the next piece.
void Lv2Instrument::renderUpTo(std::uint32_t frame, Span& span) {
    render(span.start, frame);
    span.queued = span.lastFrame == frame ? span.queuedAtLastFrame : 0;
    span.start = frame;
}

void Lv2Instrument::sendEvent(const MidiMessage& message, std::int32_t deltaFrames) {
    VstMidiEvent event{};
    event.type = kVstMidiType;
    event.byteSize = sizeof event;
    event.deltaFrames = deltaFrames;
    std::memcpy(event.midiData, message.bytes.data(), message.bytes.size());
    VstEvents list{};
    list.numEvents = 1;
    list.events[0] = reinterpret_cast<VstEvent*>(&event);
    synth_->processEvents(&list);
}

void Lv2Instrument::render(std::uint32_t start, std::uint32_t end) {
    if (end <= start) {
        return;
    }
    float* outputs[kNumOutputs] = {left_ + start, right_ + start};
    synth_->processReplacing(nullptr, outputs, static_cast<std::int32_t>(end - start));
}

LV2_State_Status Lv2Instrument::save(LV2_State_Store_Function store, LV2_State_Handle handle) {
    char name[kProgramNameCapacity + 1] = {};
    synth_->getProgramName(name);
    return writeState(store, handle, urids_, name,
                      [this](int slot) { return userTableForState(slot); });
}

// A table not yet delivered is the one the instrument is about to play.
const float* Lv2Instrument::userTableForState(int slot) const {
    const float* pending = handover_.pendingTable(slot);
    return pending != nullptr ? pending
                              : synth_->getWaveformProvider()->getTableAt(
                                    WaveformProvider::kFirstUserWaveform + slot);
}

LV2_State_Status Lv2Instrument::restore(LV2_State_Retrieve_Function retrieve,
                                        LV2_State_Handle handle) {
    const std::unique_ptr<RestoredState> state = readState(retrieve, handle, urids_);
    for (const std::string& refusal : state->refusals) {
        log_.warning(refusal);
    }
    if (state->programName) {
        synth_->setProgramName(state->programName->c_str());
    }
    takeUserWaveforms(*state);
    synth_->getDrawTestEditor()->refreshAll();
    return LV2_STATE_SUCCESS;
}

// Nothing renders while the instrument is not active, so the tables then go in at once.
void Lv2Instrument::takeUserWaveforms(const RestoredState& state) {
    const auto& tables = state.userWaveforms;
    if (active_) {
        UserWaveformHandover::Offer offer(handover_);
        for (std::size_t slot = 0; slot < tables.size(); ++slot) {
            if (tables[slot]) {
                offer.put(static_cast<int>(slot), *tables[slot]);
            }
        }
        return;
    }
    WaveformProvider& provider = *synth_->getWaveformProvider();
    for (std::size_t slot = 0; slot < tables.size(); ++slot) {
        if (tables[slot]) {
            std::copy(tables[slot]->begin(), tables[slot]->end(),
                      provider.getMutableTableAt(WaveformProvider::kFirstUserWaveform +
                                                 static_cast<int>(slot)));
        }
    }
    provider.markTablesChanged();
}

} // namespace Korvatune::Lv2
