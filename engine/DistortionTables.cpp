#include "engine/DistortionTables.h"

#include "maths/PreciseExponential.h"
#include "maths/PreciseTrigonometry.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace Korvatune {

namespace {

// The float pi, widened: the tables were tuned with single-precision constants.
constexpr double kPi = 3.1415927f;

// A fixed linear congruential sequence, not the platform's rand(), so that the tables come out
// the same on every machine.
class TableRandom {
public:
    // A value in -1.00 .. 0.99 in steps of 0.01.
    float nextValue() {
        state = state * 214013u + 2531011u;
        const int draw = static_cast<int>((state >> 16) & 0x7FFFu);
        return static_cast<float>(draw % 200 - 100) / 100.0f;
    }

private:
    std::uint32_t state = 777u;
};

struct RandomValues {
    float every7 = 0.0f;
    float every21 = 0.0f;
    float every4 = 0.0f;

    // The draw order decides every later value, so it must stay 7, 21, 4.
    void renew(int i, TableRandom& random) {
        if (i % 7 == 0) {
            every7 = random.nextValue();
        }
        if (i % 21 == 0) {
            every21 = random.nextValue();
        }
        if (i % 4 == 0) {
            every4 = random.nextValue();
        }
    }
};

double sineOf(double argument) {
    return PreciseMath::sin(static_cast<double>(static_cast<float>(argument)));
}

double cosineOf(double argument) {
    return PreciseMath::cos(static_cast<double>(static_cast<float>(argument)));
}

float clampedEntry(double value, double low, double high) {
    return static_cast<float>(std::clamp(value, low, high));
}

double compressorKnee(int i) {
    if (i < 153) {
        return 0.7f * i / 153.0;
    }
    return ((i - 153) / 64.0 + 1.0) * 0.21f + 0.49f;
}

double tubeTent(int i) {
    if (i < 128) {
        return 0.97f * i / 128.0;
    }
    return (1.0 - (i - 128) / 128.0) * 0.2425f + 0.7275f;
}

double doubleSine(double v) {
    return v + 0.35777f * sineOf(4.0 * kPi * v);
}

double logarithmOfIndex(int i, double v) {
    if (i == 0) {
        return 0.0;
    }
    const double range = static_cast<float>(std::fabs(PreciseMath::log(1.0 / 256.0)));
    return (PreciseMath::log(v) + range) / range;
}

double sawFold(int i, double v, double u) {
    return v + u * ((i % 179) / 179.0 - 0.288f);
}

double sigmoidRipple(double v, double u) {
    return v + 0.4f * sineOf(2.0 * kPi * v) + 0.1f * u * sineOf(7.77f * kPi * v) +
           0.2f * u * cosineOf(21.0 * kPi * v);
}

double shiftedSigmoidRipple(double v, double u) {
    return v + 0.3777f * sineOf(2.0 * kPi * v - 1.0084513005746132) +
           0.3f * u * cosineOf(7.0 * kPi * v) - 0.15f * u * sineOf(17.0 * kPi * v);
}

double wobble(double v) {
    return v - 0.4777f * sineOf(2.5f * kPi * v) + 0.144f * sineOf(25.0 * kPi * v) -
           0.1777f * cosineOf(77.7f * kPi * v);
}

void fillFixedEntries(DistortionTables& tables, int i, double v, double u) {
    tables.shape0[i] = static_cast<float>(compressorKnee(i));
    tables.shape1[i] = static_cast<float>(tubeTent(i));
    tables.shape2[i] = static_cast<float>(doubleSine(v));
    tables.shape3[i] = static_cast<float>(doubleSine(v) - 0.1777f * cosineOf(3.0 * kPi * v));
    tables.shape4[i] = static_cast<float>(logarithmOfIndex(i, v));
    tables.shape5[i] = static_cast<float>(sawFold(i, v, u));
    tables.shape6[i] = static_cast<float>(v + u * sineOf(kPi * v));
    tables.shape7[i] =
        static_cast<float>(v + u * (0.5 * cosineOf(8.0 * kPi * v) + 0.5 * sineOf(16.0 * kPi * v)));
    tables.shape8[i] = clampedEntry(sigmoidRipple(v, u), 0.0, 1.0);
    tables.shape9[i] = clampedEntry(shiftedSigmoidRipple(v, u), 0.0, 1.0);
    tables.shape10[i] = clampedEntry(wobble(v), 0.0, 1.0);
}

void fillRandomEntries(DistortionTables& tables, int i, double v, const RandomValues& random) {
    tables.shape11[i] = clampedEntry(v + 0.33f * random.every7, 0.0, 1.0);
    tables.shape12[i] = clampedEntry(v + 0.44f * random.every21, 0.0, 1.0);
    tables.shape13[i] =
        clampedEntry(v - v * (0.277f * random.every7 + 0.2777f * wobble(v)), -2.0, 2.0);
    const float rippled =
        static_cast<float>(v + v * (0.7f * sineOf(5.0 * kPi * v) + 0.5f * sineOf(2.0 * kPi * v)));
    tables.shape14[i] =
        clampedEntry(rippled - v * (0.2777f * random.every4 + 0.44f * tables.shape5[i]), -2.0, 2.0);
}

} // namespace

DistortionTables buildDistortionTables() {
    DistortionTables tables{};
    TableRandom random;
    RandomValues values;
    for (int i = 0; i < kDistortionTableSize; ++i) {
        const float v = static_cast<float>(i) / static_cast<float>(kDistortionTableSize);
        const float u = 1.0f - v;
        fillFixedEntries(tables, i, v, u);
        values.renew(i, random);
        fillRandomEntries(tables, i, v, values);
    }
    return tables;
}

const DistortionTables& sharedDistortionTables() {
    static const DistortionTables tables = buildDistortionTables();
    return tables;
}

} // namespace Korvatune
