#pragma once

// The names under which hosts know the instrument and its state. They are stored in hosts'
// sessions and presets, so they never change.
#define OMBRAFELL_LV2_URI "https://korvatune.example/lv2/ombrafell"

namespace Korvatune::Lv2 {

inline constexpr const char* kPluginUri = OMBRAFELL_LV2_URI;
inline constexpr const char* kUiUri = OMBRAFELL_LV2_URI "#ui";
inline constexpr const char* kPresetUriPrefix = OMBRAFELL_LV2_URI "/preset/";

// State properties: the current program's name and, per user slot 1..10, its table.
inline constexpr const char* kProgramNameKey = OMBRAFELL_LV2_URI "#programName";
inline constexpr const char* kUserWaveformKeyPrefix = OMBRAFELL_LV2_URI "#userWaveform";
inline constexpr const char* kUserWaveformType = OMBRAFELL_LV2_URI "#UserWaveform";

// The bundle's binary, holding both the plug-in and its editor.
inline constexpr const char* kBinaryName = "ombrafell.so";

} // namespace Korvatune::Lv2
