#pragma once

#include "engine/DistortionTables.h"

#include <array>
#include <atomic>
#include <span>

namespace Korvatune {

// Memoryless waveshaper of the output chain: 25 curves selected by a 0..1 type value and
// driven by a 0..1 amount. Amount and type are written by the parameter thread while the audio
// thread processes, hence the relaxed atomics.
class Distortion {
public:
    static constexpr int kNumTypes = 25;
    static constexpr int kDisplayCurvePoints = 86;

    // Stored by name in program files, so both the order and the text are fixed.
    static constexpr std::array<const char*, kNumTypes> typeNames = {"Linear",
                                                                     "Compressor",
                                                                     "Hard-Overload",
                                                                     "KVSigmoid1-Drive",
                                                                     "KVSigmoid2-Drive",
                                                                     "KVSigmoid3-Drive",
                                                                     "Gusterra-Fuzz",
                                                                     "Vortle-Fuzz",
                                                                     "QRT-Fuzz 1",
                                                                     "QRT-Fuzz 2",
                                                                     "Soft-Tube-Distort",
                                                                     "Tube-Distort",
                                                                     "Full-Clip",
                                                                     "Fuzz-Drive",
                                                                     "Korvatune-Drive",
                                                                     "Skraddle-Fuzz 1",
                                                                     "Skraddle-Fuzz 2",
                                                                     "Skraddle-Fuzz 3",
                                                                     "Invert-and-Drive",
                                                                     "Big-Bad-Drive",
                                                                     "Big-Fat-Drive",
                                                                     "ViciousViper",
                                                                     "AssKicking",
                                                                     "TigersBlood",
                                                                     "MadDog"};

    Distortion();
    virtual ~Distortion() = default;

    Distortion(const Distortion&) = delete;
    Distortion& operator=(const Distortion&) = delete;

    // 0 switches the distortion off; values outside 0..1 (and NaN) are clamped.
    void setAmount(float value);
    float getAmount() const;

    void setType(float value);
    int getType() const;

    static int typeIndex(float value);
    // The full name; the host's 8-character parameter display needs its own fitted form.
    static const char* typeName(float value);
    static const char* typeNameOfIndex(int index);
    // Unknown text, null and "Linear" all give 0.
    static int typeFromName(const char* text);
    static float previousType(float value);
    static float nextType(float value);

    float process(float x) const;
    void processBlock(float* left, float* right, int count) const;
    void displayCurve(std::span<float, kDisplayCurvePoints> out) const;

    const DistortionTables& tables() const { return shapes; }

private:
    const DistortionTables& shapes;
    std::atomic<float> amount{0.0f};
    std::atomic<int> type{0};
};

} // namespace Korvatune
