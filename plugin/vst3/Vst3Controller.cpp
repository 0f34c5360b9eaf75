#include "plugin/vst3/Vst3Controller.h"

#include "plugin/OfferedEditor.h"
#include "plugin/vst3/EditorViewFactory.h"
#include "plugin/vst3/OwnMessage.h"
#include "plugin/vst3/StreamBytes.h"
#include "plugin/vst3/Vst3Ids.h"
#include "plugin/vst3/Vst3Parameters.h"
#include "plugin/vst3/Vst3Text.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <new>

namespace Korvatune::Vst3 {

Vst3Controller::Vst3Controller(const std::string& installFolder)
    : instrument_(std::make_unique<Instrument>(installFolder, offeredEditor())) {}

Vst3Controller::~Vst3Controller() {
    releaseHostObjects();
}

void Vst3Controller::releaseHostObjects() {
    setComponentHandler(nullptr);
    disconnect(processor_);
    if (host_ != nullptr) {
        host_->release();
        host_ = nullptr;
    }
}

tresult Vst3Controller::queryInterface(const char* iid, void** object) {
    if (object == nullptr) {
        return kInvalidArgument;
    }
    if (offerAs<IEditController>(this, iid, object) || offerAs<IPluginBase>(this, iid, object) ||
        offerAs<IMidiMapping>(this, iid, object) || offerAs<IUnitInfo>(this, iid, object) ||
        offerAs<IConnectionPoint>(this, iid, object)) {
        return kResultOk;
    }
    if (sameUid(iid, FUnknown::iid)) {
        addRef();
        *object = static_cast<FUnknown*>(static_cast<IEditController*>(this));
        return kResultOk;
    }
    *object = nullptr;
    return kNoInterface;
}

// The host's application object makes the messages; without one the controller makes its own.
tresult Vst3Controller::initialize(FUnknown* context) {
    void* host = nullptr;
    if (context != nullptr && host_ == nullptr &&
        context->queryInterface(IHostApplication::iid.data(), &host) == kResultOk) {
        host_ = static_cast<IHostApplication*>(host);
    }
    return kResultOk;
}

tresult Vst3Controller::terminate() {
    releaseHostObjects();
    return kResultOk;
}

tresult Vst3Controller::connect(IConnectionPoint* other) {
    if (other == nullptr) {
        return kInvalidArgument;
    }
    other->addRef();
    disconnect(processor_);
    processor_ = other;
    return kResultOk;
}

tresult Vst3Controller::disconnect(IConnectionPoint* other) {
    if (other == nullptr || other != processor_) {
        return kResultFalse;
    }
    processor_->release();
    processor_ = nullptr;
    return kResultOk;
}

// Values reach the processor as the host's parameter changes; the rest only this way. A change
// waits for the host to connect the parts.
void Vst3Controller::publishSessionChange() {
    if (processor_ != nullptr && instrument_->takeStateChange() && sendSessionState()) {
        markProjectDirty();
    }
    if (processor_ != nullptr && instrument_->takeAuditionRequest()) {
        sendAudition();
    }
}

void Vst3Controller::sendAudition() {
    if (IMessage* message = createMessage()) {
        message->setMessageID(kAuditionMessage);
        processor_->notify(message);
        message->release();
    }
}

bool Vst3Controller::sendSessionState() {
    IMessage* message = createMessage();
    if (message == nullptr) {
        return false;
    }
    const std::vector<std::uint8_t> record = encodeStateRecord(*instrument_->state());
    message->setMessageID(kSessionChangeMessage);
    IAttributeList* attributes = message->getAttributes();
    const bool sent =
        attributes != nullptr &&
        attributes->setBinary(kStateRecordAttribute, record.data(),
                              static_cast<std::uint32_t>(record.size())) == kResultOk &&
        processor_->notify(message) == kResultOk;
    message->release();
    return sent;
}

IMessage* Vst3Controller::createMessage() {
    Uid classId = IMessage::iid;
    Uid interfaceId = IMessage::iid;
    void* made = nullptr;
    if (host_ != nullptr &&
        host_->createInstance(classId.data(), interfaceId.data(), &made) == kResultOk &&
        made != nullptr) {
        return static_cast<IMessage*>(made);
    }
    return new (std::nothrow) OwnMessage();
}

void Vst3Controller::markProjectDirty() {
    void* handler2 = nullptr;
    if (handler_ != nullptr &&
        handler_->queryInterface(IComponentHandler2::iid.data(), &handler2) == kResultOk) {
        static_cast<IComponentHandler2*>(handler2)->setDirty(1);
        static_cast<IComponentHandler2*>(handler2)->release();
    }
}

// The processor's record: the program, its values and name and the user waveforms, which the
// editor shows.
tresult Vst3Controller::setComponentState(IBStream* state) {
    if (state == nullptr) {
        return kInvalidArgument;
    }
    const std::optional<std::vector<std::uint8_t>> bytes = readWholeStream(*state);
    if (!bytes) {
        return kResultFalse;
    }
    instrument_->restore(*decodeStateRecord(*bytes));
    return kResultOk;
}

// Everything the controller shows comes from the processor's state.
tresult Vst3Controller::setState(IBStream*) {
    return kResultOk;
}

tresult Vst3Controller::getState(IBStream*) {
    return kResultOk;
}

std::int32_t Vst3Controller::getParameterCount() {
    return kListedParameterCount;
}

tresult Vst3Controller::getParameterInfo(std::int32_t index, ParameterInfo& info) {
    return describeParameter(index, info) ? kResultOk : kInvalidArgument;
}

tresult Vst3Controller::getParamStringByValue(ParamID id, ParamValue value, String128 text) {
    if (text == nullptr || (!isInstrumentParameter(id) && stepsOf(id) == 0)) {
        return kInvalidArgument;
    }
    copyToUtf16(parameterText(*instrument_, id, value), text, 128);
    return kResultOk;
}

tresult Vst3Controller::getParamValueByString(ParamID id, char16* text, ParamValue& value) {
    if (text == nullptr) {
        return kInvalidArgument;
    }
    const std::optional<ParamValue> parsed =
        parameterValueOf(*instrument_, id, utf8FromUtf16(text));
    if (!parsed) {
        return kResultFalse;
    }
    value = *parsed;
    return kResultOk;
}

// A list's plain value is its entry's number; a continuous parameter has no other scale.
ParamValue Vst3Controller::normalizedParamToPlain(ParamID id, ParamValue value) {
    const int steps = stepsOf(id);
    return steps > 0 ? std::round(std::clamp(value, 0.0, 1.0) * steps) : value;
}

ParamValue Vst3Controller::plainParamToNormalized(ParamID id, ParamValue value) {
    const int steps = stepsOf(id);
    return steps > 0 ? std::clamp(value / steps, 0.0, 1.0) : value;
}

ParamValue Vst3Controller::getParamNormalized(ParamID id) {
    if (isInstrumentParameter(id)) {
        return instrument_->parameterValue(static_cast<int>(id));
    }
    if (id == kProgramId) {
        return static_cast<ParamValue>(instrument_->currentProgram()) / kLastProgram;
    }
    return controllerValue(id);
}

ParamValue Vst3Controller::controllerValue(ParamID id) const {
    return id == kAllNotesOffId ? allNotesOff_ : id == kMonoModeId ? monoMode_ : 0.0;
}

tresult Vst3Controller::setParamNormalized(ParamID id, ParamValue value) {
    if (!std::isfinite(value)) {
        return kInvalidArgument;
    }
    value = std::clamp(value, 0.0, 1.0);
    if (isInstrumentParameter(id)) {
        instrument_->setParameterValue(static_cast<int>(id), static_cast<float>(value));
    } else if (id == kProgramId) {
        selectProgram(static_cast<int>(std::lround(value * kLastProgram)));
    } else if (id == kAllNotesOffId) {
        allNotesOff_ = value;
    } else if (id == kMonoModeId) {
        monoMode_ = value;
    } else {
        return kInvalidArgument;
    }
    return kResultOk;
}

// The program's values replace the parameters', so the host reads them all again.
void Vst3Controller::selectProgram(int program) {
    instrument_->selectProgram(program);
    if (handler_ != nullptr) {
        handler_->restartComponent(kParamValuesChanged);
    }
}

tresult Vst3Controller::setComponentHandler(IComponentHandler* handler) {
    if (handler != nullptr) {
        handler->addRef();
    }
    if (handler_ != nullptr) {
        handler_->release();
    }
    handler_ = handler;
    return kResultOk;
}

IPlugView* Vst3Controller::createView(FIDString name) {
    InstrumentEditor* editor = instrument_->editor();
    if (editor == nullptr || name == nullptr || std::strcmp(name, "editor") != 0) {
        return nullptr;
    }
    return createEditorView(*editor, *this, [this] { publishSessionChange(); });
}

void Vst3Controller::beginEdit(int index) {
    if (handler_ != nullptr) {
        handler_->beginEdit(static_cast<ParamID>(index));
    }
}

void Vst3Controller::valueEdited(int index, float value) {
    if (handler_ != nullptr) {
        handler_->performEdit(static_cast<ParamID>(index), value);
    }
}

void Vst3Controller::endEdit(int index) {
    if (handler_ != nullptr) {
        handler_->endEdit(static_cast<ParamID>(index));
    }
}

// The instrument's controllers 123 and 126, on every channel of the event input.
tresult Vst3Controller::getMidiControllerAssignment(std::int32_t busIndex, std::int16_t,
                                                    std::int16_t controller, ParamID& id) {
    if (busIndex != 0) {
        return kResultFalse;
    }
    for (const ParamID candidate : {kAllNotesOffId, kMonoModeId}) {
        if (controllerOf(candidate) == controller) {
            id = candidate;
            return kResultTrue;
        }
    }
    return kResultFalse;
}

tresult Vst3Controller::getUnitInfo(std::int32_t index, UnitInfo& info) {
    if (index != 0) {
        return kInvalidArgument;
    }
    info = {};
    info.id = kRootUnitId;
    info.parentUnitId = kNoParentUnitId;
    copyToUtf16("Root", info.name);
    info.programListId = kProgramListId;
    return kResultOk;
}

tresult Vst3Controller::getProgramListInfo(std::int32_t index, ProgramListInfo& info) {
    if (index != 0) {
        return kInvalidArgument;
    }
    info = {};
    info.id = kProgramListId;
    copyToUtf16("Factory programs", info.name);
    info.programCount = Instrument::kProgramCount;
    return kResultOk;
}

tresult Vst3Controller::getProgramName(std::int32_t listId, std::int32_t program, String128 name) {
    if (listId != kProgramListId || program < 0 || program > kLastProgram || name == nullptr) {
        return kInvalidArgument;
    }
    copyToUtf16(instrument_->programName(program), name, 128);
    return kResultOk;
}

tresult Vst3Controller::selectUnit(std::int32_t unitId) {
    return unitId == kRootUnitId ? kResultOk : kInvalidArgument;
}

tresult Vst3Controller::getUnitByBus(std::int32_t, std::int32_t, std::int32_t, std::int32_t,
                                     std::int32_t& unitId) {
    unitId = kRootUnitId;
    return kResultOk;
}

} // namespace Korvatune::Vst3
