#pragma once

namespace Korvatune {

// Per-voice cutoff multiplier: four humps from 1 down to 0 and back over its duration. Voices
// build it disabled, so it passes the cutoff unchanged unless someone enables it.
class FilterEnvelope {
public:
    FilterEnvelope() = default;
    virtual ~FilterEnvelope() = default;

    // Factor at t seconds after the note started; 1 when disabled or after the duration.
    float value(float t) const;

    void setEnabled(bool on) { enabled = on; }
    bool isEnabled() const { return enabled; }
    void setDuration(float seconds) { duration = seconds; }
    float getDuration() const { return duration; }

private:
    float duration = 0.5f;
    bool enabled = false;
};

} // namespace Korvatune
