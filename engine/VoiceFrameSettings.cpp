#include "engine/VoiceFrameSettings.h"

#include "waveforms/WaveformProvider.h"

namespace Korvatune {

namespace {

// Small nonzero amounts are raised so that a full-scale input still comes out at about 1.
float saturationAmount(float amount) {
    return static_cast<double>(amount) < 0.09279019767613905 ? 0.0927902f : amount;
}

} // namespace

VoiceFrameSettings makeVoiceFrameSettings(const OscillatorSettingsSet& settings,
                                          const WaveformProvider& provider) {
    VoiceFrameSettings lanes;
    for (int k = 0; k < 3; ++k) {
        const OscillatorSettings& oscillator = settings[static_cast<std::size_t>(k)];
        lanes.tables[static_cast<std::size_t>(k)] =
            provider.getTableAt(WaveformProvider::waveformIndex(oscillator.waveform));
        lanes.inverted[k] = oscillator.invertWaveform != 0.0f ? -1 : 0;
        lanes.sounding[k] = oscillator.volume > 0.0f ? -1 : 0;
        lanes.saturated[k] = oscillator.sat != 0.0f ? -1 : 0;
        lanes.saturation[k] = saturationAmount(oscillator.sat);
        lanes.pitch[k] = oscillator.pitch;
        lanes.freq[k] = oscillator.freq;
        lanes.filterType[k] = oscillator.filterType;
        lanes.filterCutoff[k] = oscillator.filterCutoff;
        lanes.filterResonance[k] = oscillator.filterResonance;
        lanes.volume[k] = oscillator.volume;
        lanes.pan[k] = oscillator.pan;
        lanes.modFrequency[k] = oscillator.modFrequency;
        lanes.ringModAmount[k] = oscillator.ringModAmount;
        lanes.freqModAmount[k] = oscillator.freqModAmount;
        lanes.filtModAmount[k] = oscillator.filtModAmount;
    }
    lanes.sounding[3] = -1;
    lanes.allSounding = lanes.sounding[0] && lanes.sounding[1] && lanes.sounding[2];
    lanes.anySounding = lanes.sounding[0] || lanes.sounding[1] || lanes.sounding[2];
    lanes.upperLanes = lanes.sounding[2] != 0;
    lanes.anySaturated = anyLane(lanes.saturated);
    return lanes;
}

} // namespace Korvatune
