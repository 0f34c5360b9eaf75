#include "plugin/Instrument.h"

#include "engine/Distortion.h"
#include "plugin/Identity.h"
#include "plugin/ParameterTable.h"
#include "plugin/SampleRateRange.h"
#include "plugin/UserWaveformHandover.h"
#include "plugin/VstXSynth.h"
#include "programs/FactoryBank.h"

#include <algorithm>
#include <cmath>

namespace Korvatune {

static_assert(Instrument::kParameterCount == kNumProgramKeys);
static_assert(Instrument::kProgramCount == kNumPrograms);
static_assert(Instrument::kMidiQueueCapacity == EventQueue::kSlots);

namespace {

bool isParameter(int index) {
    return index >= 0 && index < kNumProgramKeys;
}

const std::array<float, kNumProgramKeys>& factoryDefaults() {
    static const std::array<float, kNumProgramKeys> defaults = [] {
        auto bank = std::make_unique<VstXSynthProgram[]>(kNumPrograms);
        loadFactoryBank(std::span<VstXSynthProgram, kNumPrograms>(bank.get(), kNumPrograms));
        std::array<float, kNumProgramKeys> values{};
        for (int index = 0; index < kNumProgramKeys; ++index) {
            values[static_cast<std::size_t>(index)] = bank[0].getValue(index);
        }
        return values;
    }();
    return defaults;
}

} // namespace

Instrument::Instrument(const std::string& installFolder, EditorFactory makeEditor)
    : synth_(std::make_unique<VstXSynth>(installFolder, makeEditor)),
      handover_(std::make_unique<UserWaveformHandover>()) {}

Instrument::~Instrument() = default;

bool Instrument::setSampleRate(double rate) {
    const auto single = static_cast<float>(rate);
    if (!isUsableSampleRate(single)) {
        return false;
    }
    // As a VST 2 host does: the program after the rate, so its filters follow the rate.
    synth_->setSampleRate(single);
    synth_->setProgram(synth_->getProgram());
    return true;
}

double Instrument::sampleRate() const {
    return synth_->getSampleRate();
}

void Instrument::setMaxBlockSize(std::int32_t frames) {
    synth_->setBlockSize(frames);
}

void Instrument::activate() {
    synth_->resume();
    active_ = true;
}

// Tables still waiting are delivered now, so that none arrives later over one the editor loads
// while the instrument is stopped.
void Instrument::deactivate() {
    deliverUserWaveforms();
    synth_->suspend();
    active_ = false;
}

bool Instrument::queueMidi(std::span<const std::uint8_t> message, std::int32_t frame) {
    if (message.empty()) {
        return false;
    }
    char bytes[3] = {};
    std::copy_n(message.begin(), std::min<std::size_t>(message.size(), 3), bytes);
    return synth_->queueMidiEvent(frame, bytes);
}

void Instrument::render(float* left, float* right, std::int32_t frames) {
    deliverUserWaveforms();
    float* outputs[] = {left, right};
    synth_->processReplacing(nullptr, outputs, frames);
}

void Instrument::deliverUserWaveforms() {
    if (handover_->deliverTo(*synth_->getWaveformProvider())) {
        synth_->refreshEditor();
    }
}

float Instrument::parameterValue(int index) const {
    return synth_->getParameter(index);
}

void Instrument::setParameterValue(int index, float value) {
    synth_->setParameter(index, value);
}

std::string Instrument::parameterName(int index) {
    return isParameter(index) ? parameterInfo(index).name : "";
}

std::string Instrument::parameterShortName(int index) {
    return parameterName(index).substr(0, kParameterTextLimit);
}

std::string Instrument::parameterUnit(int index) {
    return isParameter(index) ? parameterInfo(index).label : "";
}

std::string Instrument::parameterKey(int index) {
    return isParameter(index) ? kProgramKeys[static_cast<std::size_t>(index)].text : "";
}

float Instrument::defaultValue(int index) {
    return isParameter(index) ? factoryDefaults()[static_cast<std::size_t>(index)] : 0.0f;
}

int Instrument::stepCount(int index) {
    if (!isParameter(index)) {
        return 0;
    }
    switch (parameterInfo(index).display) {
    case DisplayRule::Waveform:
        return WaveformProvider::kNumWaveforms - 1;
    case DisplayRule::DistortionType:
        return Distortion::kNumTypes - 1;
    case DisplayRule::OnOff:
        return 1;
    default:
        return 0;
    }
}

std::string Instrument::stepName(int index, int step) {
    if (step < 0 || step > stepCount(index)) {
        return "";
    }
    switch (parameterInfo(index).display) {
    case DisplayRule::Waveform:
        return WaveformProvider::waveformNameAt(step);
    case DisplayRule::DistortionType:
        return Distortion::typeNameOfIndex(step);
    case DisplayRule::OnOff:
        return step == 1 ? "on" : "off";
    default:
        return "";
    }
}

std::string Instrument::displayText(int index, float value) const {
    char text[kParameterTextLimit + 1] = {};
    if (isParameter(index) && std::isfinite(value)) {
        synth_->formatDisplay(index, std::clamp(value, 0.0f, 1.0f), text);
    }
    return text;
}

std::string Instrument::programName(int program) const {
    char name[kProgramNameCapacity + 1] = {};
    synth_->getProgramNameIndexed(0, program, name);
    return name;
}

std::string Instrument::factoryProgramName(int program) {
    if (program < 0 || program >= kNumPrograms) {
        return "";
    }
    return std::string(factoryPrograms()[static_cast<std::size_t>(program)].name)
        .substr(0, kProgramNameCapacity);
}

int Instrument::currentProgram() const {
    return synth_->getProgram();
}

void Instrument::selectProgram(int program) {
    synth_->setProgram(program);
}

void Instrument::renameCurrentProgram(const std::string& name) {
    synth_->setProgramName(name.c_str());
}

std::unique_ptr<InstrumentState> Instrument::state() const {
    auto state = std::make_unique<InstrumentState>();
    state->program = synth_->getProgram();
    for (int index = 0; index < kNumProgramKeys; ++index) {
        state->values[static_cast<std::size_t>(index)] = synth_->getParameter(index);
    }
    state->programName = synth_->currentProgram().getName();
    for (std::size_t slot = 0; slot < state->userWaveforms.size(); ++slot) {
        const float* table = userTableForState(static_cast<int>(slot));
        std::copy_n(table, WaveformProvider::kTableSize, state->userWaveforms[slot].begin());
    }
    return state;
}

// A table not yet delivered is the one the instrument is about to play.
const float* Instrument::userTableForState(int slot) const {
    const float* pending = handover_->pendingTable(slot);
    return pending != nullptr ? pending
                              : synth_->getWaveformProvider()->getTableAt(
                                    WaveformProvider::kFirstUserWaveform + slot);
}

// The program first: selecting it replaces the values, which the record then sets.
void Instrument::restore(const RestoredState& state) {
    if (state.program) {
        synth_->setProgram(*state.program);
    }
    for (std::size_t index = 0; index < state.values.size(); ++index) {
        if (state.values[index]) {
            synth_->setParameter(static_cast<int>(index), *state.values[index]);
        }
    }
    if (state.programName) {
        synth_->setProgramName(state.programName->c_str());
    }
    takeUserWaveforms(state);
    synth_->refreshEditor();
}

// Nothing renders while the instrument is not active, so the tables then go in at once.
void Instrument::takeUserWaveforms(const RestoredState& state) {
    const auto& tables = state.userWaveforms;
    if (active_) {
        UserWaveformHandover::Offer offer(*handover_);
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
            provider.replaceUserTable(static_cast<int>(slot), tables[slot]->data());
        }
    }
    provider.markTablesChanged();
}

bool Instrument::takeStateChange() {
    return synth_->takeStateChange();
}

void Instrument::requestAudition() {
    synth_->requestAudition();
}

bool Instrument::takeAuditionRequest() {
    return synth_->takeAuditionRequest();
}

InstrumentEditor* Instrument::editor() const {
    return synth_->getInstrumentEditor();
}

} // namespace Korvatune
