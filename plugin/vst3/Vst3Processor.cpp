#include "plugin/vst3/Vst3Processor.h"

#include "plugin/vst3/BlockPlayer.h"
#include "plugin/vst3/StreamBytes.h"
#include "plugin/vst3/Vst3Ids.h"
#include "plugin/vst3/Vst3Text.h"

#include <algorithm>
#include <cstring>

namespace Korvatune::Vst3 {

Vst3Processor::Vst3Processor(const std::string& installFolder)
    : instrument_(std::make_unique<Instrument>(installFolder, nullptr)) {}

Vst3Processor::~Vst3Processor() = default;

tresult Vst3Processor::queryInterface(const char* iid, void** object) {
    if (object == nullptr) {
        return kInvalidArgument;
    }
    if (offerAs<IComponent>(this, iid, object) || offerAs<IPluginBase>(this, iid, object) ||
        offerAs<IAudioProcessor>(this, iid, object) ||
        offerAs<IConnectionPoint>(this, iid, object)) {
        return kResultOk;
    }
    if (sameUid(iid, FUnknown::iid)) {
        addRef();
        *object = static_cast<FUnknown*>(static_cast<IComponent*>(this));
        return kResultOk;
    }
    *object = nullptr;
    return kNoInterface;
}

tresult Vst3Processor::initialize(FUnknown*) {
    return kResultOk;
}

tresult Vst3Processor::terminate() {
    return kResultOk;
}

tresult Vst3Processor::getControllerClassId(char* classId) {
    if (classId == nullptr) {
        return kInvalidArgument;
    }
    std::memcpy(classId, kControllerUid.data(), kControllerUid.size());
    return kResultOk;
}

tresult Vst3Processor::setIoMode(std::int32_t) {
    return kResultOk;
}

// One event input and one audio output, both main buses.
std::int32_t Vst3Processor::getBusCount(std::int32_t type, std::int32_t direction) {
    return (type == kEvent && direction == kInput) || (type == kAudio && direction == kOutput) ? 1
                                                                                               : 0;
}

bool Vst3Processor::isBus(std::int32_t type, std::int32_t direction, std::int32_t index) {
    return index == 0 &&
           ((type == kEvent && direction == kInput) || (type == kAudio && direction == kOutput));
}

tresult Vst3Processor::getBusInfo(std::int32_t type, std::int32_t direction, std::int32_t index,
                                  BusInfo& bus) {
    if (!isBus(type, direction, index)) {
        return kInvalidArgument;
    }
    bus = {};
    bus.mediaType = type;
    bus.direction = direction;
    bus.channelCount = type == kAudio ? 2 : 16;
    copyToUtf16(type == kAudio ? "Output" : "MIDI In", bus.name);
    bus.busType = kMain;
    bus.flags = BusInfo::kDefaultActive;
    return kResultOk;
}

tresult Vst3Processor::getRoutingInfo(RoutingInfo&, RoutingInfo&) {
    return kNotImplemented;
}

tresult Vst3Processor::activateBus(std::int32_t type, std::int32_t direction, std::int32_t index,
                                   TBool) {
    return isBus(type, direction, index) ? kResultOk : kInvalidArgument;
}

tresult Vst3Processor::setActive(TBool state) {
    if (state != 0) {
        instrument_->activate();
    } else {
        instrument_->deactivate();
    }
    return kResultOk;
}

// Damaged or foreign pieces are refused one by one; a stream that is no record restores nothing.
tresult Vst3Processor::setState(IBStream* state) {
    if (state == nullptr) {
        return kInvalidArgument;
    }
    const std::optional<std::vector<std::uint8_t>> bytes = readWholeStream(*state);
    if (!bytes) {
        return kResultFalse;
    }
    const std::unique_ptr<RestoredState> restored = decodeStateRecord(*bytes);
    const bool anyPiece =
        restored->program || restored->programName ||
        std::any_of(restored->values.begin(), restored->values.end(),
                    [](const auto& value) { return value.has_value(); }) ||
        std::any_of(restored->userWaveforms.begin(), restored->userWaveforms.end(),
                    [](const auto& table) { return table.has_value(); });
    if (!anyPiece) {
        return kResultFalse;
    }
    instrument_->restore(*restored);
    return kResultOk;
}

tresult Vst3Processor::getState(IBStream* state) {
    if (state == nullptr) {
        return kInvalidArgument;
    }
    return writeWholeStream(*state, encodeStateRecord(*instrument_->state())) ? kResultOk
                                                                              : kResultFalse;
}

// The processor only listens, so it keeps no reference to the controller.
tresult Vst3Processor::connect(IConnectionPoint* other) {
    return other != nullptr ? kResultOk : kInvalidArgument;
}

tresult Vst3Processor::disconnect(IConnectionPoint* other) {
    return other != nullptr ? kResultOk : kInvalidArgument;
}

// The program and the values in the controller's record are the host's to set, as parameter
// changes; the tables go to the audio thread through the instrument's handover.
tresult Vst3Processor::notify(IMessage* message) {
    if (message == nullptr || message->getMessageID() == nullptr) {
        return kResultFalse;
    }
    if (std::strcmp(message->getMessageID(), kAuditionMessage) == 0) {
        instrument_->requestAudition();
        return kResultOk;
    }
    if (std::strcmp(message->getMessageID(), kSessionChangeMessage) != 0) {
        return kResultFalse;
    }
    IAttributeList* attributes = message->getAttributes();
    const void* data = nullptr;
    std::uint32_t size = 0;
    if (attributes == nullptr ||
        attributes->getBinary(kStateRecordAttribute, data, size) != kResultOk || data == nullptr) {
        return kResultFalse;
    }
    const std::unique_ptr<RestoredState> restored =
        decodeStateRecord({static_cast<const std::uint8_t*>(data), size});
    restored->program.reset();
    restored->values.fill(std::nullopt);
    instrument_->restore(*restored);
    return kResultOk;
}

tresult Vst3Processor::setBusArrangements(SpeakerArrangement*, std::int32_t inCount,
                                          SpeakerArrangement* outputs, std::int32_t outCount) {
    return inCount == 0 && outCount == 1 && outputs != nullptr && outputs[0] == kStereo
               ? kResultTrue
               : kResultFalse;
}

tresult Vst3Processor::getBusArrangement(std::int32_t direction, std::int32_t index,
                                         SpeakerArrangement& arrangement) {
    if (direction != kOutput || index != 0) {
        return kInvalidArgument;
    }
    arrangement = kStereo;
    return kResultOk;
}

tresult Vst3Processor::canProcessSampleSize(std::int32_t symbolicSampleSize) {
    return symbolicSampleSize == kSample32 ? kResultTrue : kResultFalse;
}

tresult Vst3Processor::setupProcessing(ProcessSetup& setup) {
    if (setup.symbolicSampleSize != kSample32 || !instrument_->setSampleRate(setup.sampleRate)) {
        return kResultFalse;
    }
    instrument_->setMaxBlockSize(setup.maxSamplesPerBlock);
    return kResultOk;
}

tresult Vst3Processor::process(ProcessData& data) {
    if (data.numSamples > 0 && data.symbolicSampleSize != kSample32) {
        return kResultFalse;
    }
    float* left = nullptr;
    float* right = nullptr;
    if (data.numOutputs > 0 && data.outputs != nullptr && data.outputs[0].numChannels >= 2 &&
        data.outputs[0].channelBuffers32 != nullptr) {
        left = data.outputs[0].channelBuffers32[0];
        right = data.outputs[0].channelBuffers32[1];
        data.outputs[0].silenceFlags = 0;
    }
    BlockPlayer(*instrument_, left, right, data.numSamples)
        .play(data.inputEvents, data.inputParameterChanges);
    return kResultOk;
}

} // namespace Korvatune::Vst3
