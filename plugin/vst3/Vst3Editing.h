#pragma once

// The VST 3 binary interface of the controller part: parameters, the host's handler of edits,
// units with their program list, and MIDI controller mapping.

#include "plugin/vst3/Vst3Processing.h"

namespace Korvatune::Vst3 {

class IPlugView;

struct ParameterInfo {
    enum Flags : std::int32_t {
        kCanAutomate = 1 << 0,
        kIsList = 1 << 3,
        kIsHidden = 1 << 4,
        kIsProgramChange = 1 << 15,
    };
    ParamID id;
    String128 title;
    String128 shortTitle;
    String128 units;
    std::int32_t stepCount;
    ParamValue defaultNormalizedValue;
    std::int32_t unitId;
    std::int32_t flags;
};

enum RestartFlags : std::int32_t { kParamValuesChanged = 1 << 2 };

class IComponentHandler : public FUnknown {
public:
    static constexpr Uid iid = makeUid(0x93A0BEA3, 0x0BD045DB, 0x8E890B0C, 0xC1E46AC6);
    virtual tresult VST3_API beginEdit(ParamID id) = 0;
    virtual tresult VST3_API performEdit(ParamID id, ParamValue valueNormalized) = 0;
    virtual tresult VST3_API endEdit(ParamID id) = 0;
    virtual tresult VST3_API restartComponent(std::int32_t flags) = 0;

protected:
    ~IComponentHandler() = default;
};

// Offered by most hosts beside IComponentHandler; setDirty marks the project modified by a
// change no parameter shows.
class IComponentHandler2 : public FUnknown {
public:
    static constexpr Uid iid = makeUid(0xF040B4B3, 0xA36045EC, 0xABCDC045, 0xB4D5A2CC);
    virtual tresult VST3_API setDirty(TBool state) = 0;
    virtual tresult VST3_API requestOpenEditor(FIDString name) = 0;
    virtual tresult VST3_API startGroupEdit() = 0;
    virtual tresult VST3_API finishGroupEdit() = 0;

protected:
    ~IComponentHandler2() = default;
};

class IEditController : public IPluginBase {
public:
    static constexpr Uid iid = makeUid(0xDCD7BBE3, 0x7742448D, 0xA874AACC, 0x979C759E);
    virtual tresult VST3_API setComponentState(IBStream* state) = 0;
    virtual tresult VST3_API setState(IBStream* state) = 0;
    virtual tresult VST3_API getState(IBStream* state) = 0;
    virtual std::int32_t VST3_API getParameterCount() = 0;
    virtual tresult VST3_API getParameterInfo(std::int32_t index, ParameterInfo& info) = 0;
    virtual tresult VST3_API getParamStringByValue(ParamID id, ParamValue valueNormalized,
                                                   String128 text) = 0;
    virtual tresult VST3_API getParamValueByString(ParamID id, char16* text,
                                                   ParamValue& valueNormalized) = 0;
    virtual ParamValue VST3_API normalizedParamToPlain(ParamID id, ParamValue value) = 0;
    virtual ParamValue VST3_API plainParamToNormalized(ParamID id, ParamValue value) = 0;
    virtual ParamValue VST3_API getParamNormalized(ParamID id) = 0;
    virtual tresult VST3_API setParamNormalized(ParamID id, ParamValue value) = 0;
    virtual tresult VST3_API setComponentHandler(IComponentHandler* handler) = 0;
    virtual IPlugView* VST3_API createView(FIDString name) = 0;

protected:
    ~IEditController() = default;
};

class IMidiMapping : public FUnknown {
public:
    static constexpr Uid iid = makeUid(0xDF0FF9F7, 0x49B74669, 0xB63AB732, 0x7ADBF5E5);
    virtual tresult VST3_API getMidiControllerAssignment(std::int32_t busIndex,
                                                         std::int16_t channel,
                                                         std::int16_t controller, ParamID& id) = 0;

protected:
    ~IMidiMapping() = default;
};

inline constexpr std::int32_t kRootUnitId = 0;
inline constexpr std::int32_t kNoParentUnitId = -1;

struct UnitInfo {
    std::int32_t id;
    std::int32_t parentUnitId;
    String128 name;
    std::int32_t programListId;
};

struct ProgramListInfo {
    std::int32_t id;
    String128 name;
    std::int32_t programCount;
};

class IUnitInfo : public FUnknown {
public:
    static constexpr Uid iid = makeUid(0x3D4BD6B5, 0x913A4FD2, 0xA886E768, 0xA5EB92C1);
    virtual std::int32_t VST3_API getUnitCount() = 0;
    virtual tresult VST3_API getUnitInfo(std::int32_t index, UnitInfo& info) = 0;
    virtual std::int32_t VST3_API getProgramListCount() = 0;
    virtual tresult VST3_API getProgramListInfo(std::int32_t index, ProgramListInfo& info) = 0;
    virtual tresult VST3_API getProgramName(std::int32_t listId, std::int32_t program,
                                            String128 name) = 0;
    virtual tresult VST3_API getProgramInfo(std::int32_t listId, std::int32_t program,
                                            const char* attribute, String128 value) = 0;
    virtual tresult VST3_API hasProgramPitchNames(std::int32_t listId, std::int32_t program) = 0;
    virtual tresult VST3_API getProgramPitchName(std::int32_t listId, std::int32_t program,
                                                 std::int16_t pitch, String128 name) = 0;
    virtual std::int32_t VST3_API getSelectedUnit() = 0;
    virtual tresult VST3_API selectUnit(std::int32_t unitId) = 0;
    virtual tresult VST3_API getUnitByBus(std::int32_t type, std::int32_t direction,
                                          std::int32_t busIndex, std::int32_t channel,
                                          std::int32_t& unitId) = 0;
    virtual tresult VST3_API setUnitProgramData(std::int32_t listOrUnitId, std::int32_t program,
                                                IBStream* data) = 0;

protected:
    ~IUnitInfo() = default;
};

static_assert(sizeof(ParameterInfo) == 792);
static_assert(sizeof(UnitInfo) == 268);
static_assert(sizeof(ProgramListInfo) == 264);

} // namespace Korvatune::Vst3
