#pragma once

#include "plugin/Instrument.h"
#include "plugin/InstrumentEditor.h"
#include "plugin/vst3/RefCounted.h"
#include "plugin/vst3/Vst3Editing.h"
#include "plugin/vst3/Vst3Messages.h"

#include <memory>
#include <string>

namespace Korvatune::Vst3 {

// The instrument's controller: its parameters, programs and editor. It keeps an instrument of
// its own that never plays, for the values, their texts and the editor, and follows the
// processor only through the host: its parameter changes and the processor's state. What the
// editor changes beyond the parameters reaches the processor as a message.
class Vst3Controller final : public IEditController,
                             public IMidiMapping,
                             public IUnitInfo,
                             public IConnectionPoint,
                             private EditListener,
                             private RefCounted {
public:
    explicit Vst3Controller(const std::string& installFolder);

    tresult VST3_API queryInterface(const char* iid, void** object) override;
    std::uint32_t VST3_API addRef() override { return addReference(); }
    std::uint32_t VST3_API release() override { return dropReference(); }

    tresult VST3_API initialize(FUnknown* context) override;
    tresult VST3_API terminate() override;

    tresult VST3_API setComponentState(IBStream* state) override;
    tresult VST3_API setState(IBStream* state) override;
    tresult VST3_API getState(IBStream* state) override;
    std::int32_t VST3_API getParameterCount() override;
    tresult VST3_API getParameterInfo(std::int32_t index, ParameterInfo& info) override;
    tresult VST3_API getParamStringByValue(ParamID id, ParamValue value, String128 text) override;
    tresult VST3_API getParamValueByString(ParamID id, char16* text, ParamValue& value) override;
    ParamValue VST3_API normalizedParamToPlain(ParamID id, ParamValue value) override;
    ParamValue VST3_API plainParamToNormalized(ParamID id, ParamValue value) override;
    ParamValue VST3_API getParamNormalized(ParamID id) override;
    tresult VST3_API setParamNormalized(ParamID id, ParamValue value) override;
    tresult VST3_API setComponentHandler(IComponentHandler* handler) override;
    IPlugView* VST3_API createView(FIDString name) override;

    tresult VST3_API getMidiControllerAssignment(std::int32_t busIndex, std::int16_t channel,
                                                 std::int16_t controller, ParamID& id) override;

    std::int32_t VST3_API getUnitCount() override { return 1; }
    tresult VST3_API getUnitInfo(std::int32_t index, UnitInfo& info) override;
    std::int32_t VST3_API getProgramListCount() override { return 1; }
    tresult VST3_API getProgramListInfo(std::int32_t index, ProgramListInfo& info) override;
    tresult VST3_API getProgramName(std::int32_t listId, std::int32_t program,
                                    String128 name) override;
    tresult VST3_API getProgramInfo(std::int32_t, std::int32_t, const char*, String128) override {
        return kResultFalse;
    }
    tresult VST3_API hasProgramPitchNames(std::int32_t, std::int32_t) override {
        return kResultFalse;
    }
    tresult VST3_API getProgramPitchName(std::int32_t, std::int32_t, std::int16_t,
                                         String128) override {
        return kResultFalse;
    }
    std::int32_t VST3_API getSelectedUnit() override { return kRootUnitId; }
    tresult VST3_API selectUnit(std::int32_t unitId) override;
    tresult VST3_API getUnitByBus(std::int32_t type, std::int32_t direction, std::int32_t busIndex,
                                  std::int32_t channel, std::int32_t& unitId) override;
    tresult VST3_API setUnitProgramData(std::int32_t, std::int32_t, IBStream*) override {
        return kNotImplemented;
    }

    tresult VST3_API connect(IConnectionPoint* other) override;
    tresult VST3_API disconnect(IConnectionPoint* other) override;
    tresult VST3_API notify(IMessage*) override { return kResultFalse; }

    // On the UI thread, often: sends the processor what the editor changed beyond the
    // parameters since the last call and marks the host's project modified.
    void publishSessionChange();

    // The instrument the editor shows, for the tests.
    Instrument& instrument() { return *instrument_; }

private:
    void sendAudition();
    ~Vst3Controller() override;

    void beginEdit(int index) override;
    void valueEdited(int index, float value) override;
    void endEdit(int index) override;

    void selectProgram(int program);
    ParamValue controllerValue(ParamID id) const;
    bool sendSessionState();
    IMessage* createMessage();
    void markProjectDirty();
    void releaseHostObjects();

    std::unique_ptr<Instrument> instrument_;
    IComponentHandler* handler_ = nullptr;
    IHostApplication* host_ = nullptr;
    IConnectionPoint* processor_ = nullptr;
    ParamValue allNotesOff_ = 0.0;
    ParamValue monoMode_ = 0.0;
};

} // namespace Korvatune::Vst3
