#pragma once

#include "plugin/Instrument.h"
#include "plugin/vst3/Vst3Processing.h"

namespace Korvatune::Vst3 {

// The two classes' ids are set in CMakeLists.txt, which writes the same numbers into the
// bundle's moduleinfo.json.
inline constexpr Uid kProcessorUid = makeUid(OMBRAFELL_VST3_PROCESSOR_UID);
inline constexpr Uid kControllerUid = makeUid(OMBRAFELL_VST3_CONTROLLER_UID);

inline constexpr const char* kAudioModuleCategory = "Audio Module Class";
inline constexpr const char* kControllerCategory = "Component Controller Class";
inline constexpr const char* kSubCategories = "Instrument|Drum";
inline constexpr const char* kVersionText = OMBRAFELL_VERSION_TEXT;
inline constexpr const char* kInterfaceVersion = "VST 3.7.14";

// The instrument's parameters keep their indices as ids. Past them, out of the way of any the
// instrument may gain: the program, and the MIDI controllers the instrument answers, which
// reach it as hidden parameters because notes are the only MIDI a host passes on.
inline constexpr ParamID kProgramId = 1000;
inline constexpr ParamID kAllNotesOffId = 1001;
inline constexpr ParamID kMonoModeId = 1002;
inline constexpr int kExtraParameterCount = 3;

inline constexpr std::int32_t kProgramListId = 1;

// The controller's message to the processor after the editor changed the session beyond the
// parameters: the controller's state record, of which the processor takes the user waveforms
// and the program's name.
inline constexpr const char* kSessionChangeMessage = "Korvatune.SessionChange";
inline constexpr const char* kStateRecordAttribute = "stateRecord";
// The editor's AUDITION, which only the processor can play.
inline constexpr const char* kAuditionMessage = "Korvatune.Audition";
inline constexpr int kLastProgram = Instrument::kProgramCount - 1;

inline bool isInstrumentParameter(ParamID id) {
    return id < static_cast<ParamID>(Instrument::kParameterCount);
}

// The MIDI controller number a hidden parameter stands for, or -1.
inline int controllerOf(ParamID id) {
    return id == kAllNotesOffId ? 123 : id == kMonoModeId ? 126 : -1;
}

} // namespace Korvatune::Vst3
