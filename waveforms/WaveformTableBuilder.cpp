#include "waveforms/WaveformTableBuilder.h"

#include "filters/BiquadTweakedButterworthHP.h"
#include "maths/PreciseTrigonometry.h"
#include "waveforms/NoiseGenerator.h"

#include <cmath>
#include <cstring>

namespace Korvatune {

namespace {

enum TableIndex {
    kSine = 0,
    kSawtooth,
    kPulse,
    kQuadPulse,
    kOctPulse,
    kTriangle,
    kNoize,
    kLqNoize1,
    kLqNoize2,
    kLqNoize3,
    kForm1,
    kForm2,
    kForm3,
    kForm4,
    kForm5,
    kForm6,
    kForm7,
    kForm8,
    kForm9,
    kForm10,
};

constexpr float kPi = 3.1415927f;    // pi as a 32-bit float
constexpr float kTwoPi = 6.2831855f; // 2 pi as a 32-bit float
constexpr float kHighPassCutoff = 0.4f;
constexpr float kHighPassResonance = 0.2f;

float clampUnit(float x) {
    if (x > 1.0f) {
        return 1.0f;
    }
    if (x < -1.0f) {
        return -1.0f;
    }
    return x;
}

float limit(float x, float bound) {
    if (x > bound) {
        return bound;
    }
    if (x < -bound) {
        return -bound;
    }
    return x;
}

float sgn(float s) {
    return s > 0.0f ? 1.0f : -1.0f;
}

} // namespace

void WaveformTableBuilder::buildComputedTables(float (*tables)[kTableSize], int tableCount) {
    if (!tables || tableCount < kComputedTableCount) {
        return;
    }
    for (int t = kComputedTableCount; t < tableCount; ++t) {
        std::memset(tables[t], 0, sizeof(float) * kTableSize);
    }

    NoiseGenerator noise(kNoiseSeed);
    BiquadTweakedButterworthHP<float> highPass(0.0001f, 0.4777f);

    float l1 = 0.0f;
    float l2 = 0.0f;
    float l3 = 0.0f;
    float held = 0.0f; // H: the noise value latched every 10 entries

    for (int i = 0; i < kTableSize; ++i) {
        const float fi = static_cast<float>(i);
        const float s = PreciseMath::sin(kTwoPi * fi / 4096.0f);

        // Draw order within one entry: n, then L1, L2, L3 where due.
        const float n = noise.noiseValue();
        if (i % 128 == 0) {
            l1 = noise.noiseValue();
        }
        if (i % 64 == 0) {
            l2 = noise.noiseValue();
        }
        if (i % 32 == 0) {
            l3 = noise.noiseValue() * s;
        }
        if (i % 10 == 0) {
            held = n;
        }
        const float h = highPass.process(n, kHighPassCutoff, kHighPassResonance);

        tables[kSine][i] = s;
        tables[kSawtooth][i] = i < 2048 ? fi / 2048.0f : (fi - 2048.0f) / 2048.0f - 1.0f;
        tables[kPulse][i] = i < 2048 ? 1.0f : -1.0f;
        tables[kQuadPulse][i] = i < 1024 ? 1.0f : -1.0f;
        tables[kOctPulse][i] = i < 512 ? 1.0f : -1.0f;
        float triangle;
        if (i < 1024) {
            triangle = fi / 1024.0f;
        } else if (i < 3072) {
            triangle = (2048.0f - fi) / 1024.0f;
        } else {
            triangle = -(4096.0f - fi) / 1024.0f;
        }
        tables[kTriangle][i] = triangle;
        tables[kNoize][i] = n;
        tables[kLqNoize1][i] = l1;
        tables[kLqNoize2][i] = l2;
        tables[kLqNoize3][i] = l3;

        float form1 = s > 0.5f ? 1.0f : (s < -0.5f ? -1.0f : s);
        if (std::fabs(s) > 0.997f) {
            form1 = 0.0f;
        }
        tables[kForm1][i] = form1;
        tables[kForm2][i] = limit(PreciseMath::tan(kPi * fi / 4096.0f), 4.0f);
        tables[kForm3][i] = limit(PreciseMath::tan(kTwoPi * fi / 4096.0f), 4.0f);
        tables[kForm4][i] = std::trunc(4.0f * s) / 4.0f;

        const float q = tables[kQuadPulse][i];
        tables[kForm5][i] = clampUnit(q * 0.4f * l1 + q * 0.7f);
        const float p = tables[kPulse][i];
        tables[kForm6][i] = clampUnit(p * 0.4f * l2 + p * 0.7f);
        const float s2 = PreciseMath::sin(kTwoPi * (2.0f * fi) / 4096.0f);
        tables[kForm7][i] = clampUnit(0.25f * s2 - 0.75f * s2 * l3);

        const float twoS = 2.0f * s;
        float form8 = sgn(s) * (twoS * twoS * twoS * twoS);
        if (std::fabs(s) > 0.997f) {
            form8 = (h + l1) * 0.1f;
        }
        tables[kForm8][i] = form8;
        tables[kForm9][i] = clampUnit(triangle * 0.4f * (held + 0.2f * h) + triangle * 0.7f);
        const float w = sgn(s) * (twoS * twoS);
        tables[kForm10][i] = clampUnit(w * 0.4f * l1 + w * 0.7f);
    }
}

float WaveformTableBuilder::peakOf(const float* table) {
    float m = 0.0f;
    if (!table) {
        return m;
    }
    for (int i = 0; i < kTableSize; ++i) {
        const float a = std::fabs(table[i]);
        if (a > m) {
            m = a;
        }
    }
    return m;
}

void WaveformTableBuilder::normalise(float* table, float peak) {
    if (!table) {
        return;
    }
    const float m = peakOf(table);
    if (m == 0.0f) {
        return;
    }
    for (int i = 0; i < kTableSize; ++i) {
        table[i] = peak * (table[i] / m);
    }
}

} // namespace Korvatune
