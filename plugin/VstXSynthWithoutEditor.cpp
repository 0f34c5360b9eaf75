#include "plugin/VstXSynth.h"

namespace Korvatune {

// An instrument without an editor (the 32-bit engine test build): nothing to attach or update.
void VstXSynth::attachEditor() {}

void VstXSynth::refreshEditor() {}

void VstXSynth::showParameterInEditor(int, float) {}

} // namespace Korvatune
