#include "plugin/lv2/Urids.h"

#include "plugin/lv2/Lv2Uris.h"

#include <lv2/atom/atom.h>
#include <lv2/log/log.h>
#include <lv2/midi/midi.h>
#include <lv2/state/state.h>

#include <string>

namespace Korvatune::Lv2 {

Urids mapUrids(const LV2_URID_Map& map) {
    const auto id = [&map](const char* uri) { return map.map(map.handle, uri); };
    Urids urids;
    urids.atomSequence = id(LV2_ATOM__Sequence);
    urids.atomFrameTime = id(LV2_ATOM__frameTime);
    urids.atomString = id(LV2_ATOM__String);
    urids.atomObject = id(LV2_ATOM__Object);
    urids.stateChanged = id(LV2_STATE__StateChanged);
    urids.midiEvent = id(LV2_MIDI__MidiEvent);
    urids.logWarning = id(LV2_LOG__Warning);
    urids.programNameKey = id(kProgramNameKey);
    urids.userWaveformType = id(kUserWaveformType);
    for (std::size_t slot = 0; slot < urids.userWaveformKeys.size(); ++slot) {
        urids.userWaveformKeys[slot] =
            id((kUserWaveformKeyPrefix + std::to_string(slot + 1)).c_str());
    }
    return urids;
}

} // namespace Korvatune::Lv2
