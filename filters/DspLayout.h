#pragma once

#include "filters/DspTypes.h"

#include <array>
#include <cmath>
#include <limits>
#include <span>

namespace Dsp {

// The poles and zeros of one second-order section: a pair, or a single real pole and zero.
struct PoleZeroPair {
    Complex pole1;
    Complex zero1;
    Complex pole2;
    Complex zero2;
    bool single = false;
};

inline const Complex kInfinity{std::numeric_limits<double>::infinity(), 0.0};

inline bool isInfinite(Complex c) {
    return std::isinf(c.real());
}

// Pole/zero layout of an analog prototype or a digital design, with the frequency (angular,
// radians per sample for digital layouts) at which the design's gain is referenced.
class LayoutBase {
public:
    LayoutBase(const LayoutBase&) = delete;
    LayoutBase& operator=(const LayoutBase&) = delete;

    void clear() { count = 0; }
    void addConjugatePair(Complex pole, Complex zero) {
        add({pole, zero, std::conj(pole), std::conj(zero), false});
    }
    void addPair(Complex pole1, Complex zero1, Complex pole2, Complex zero2) {
        add({pole1, zero1, pole2, zero2, false});
    }
    void addSingle(Complex pole, Complex zero) { add({pole, zero, pole, zero, true}); }

    int pairCount() const { return count; }
    const PoleZeroPair& operator[](int index) const { return storage[index]; }
    std::span<const PoleZeroPair> pairs() const { return storage.first(count); }

    double referenceFrequency = 0.0;
    double referenceGain = 1.0;

protected:
    explicit LayoutBase(std::span<PoleZeroPair> storage) : storage(storage) {}

private:
    void add(const PoleZeroPair& pair) { storage[count++] = pair; }

    std::span<PoleZeroPair> storage;
    int count = 0;
};

template <int MaxPairs> class Layout : public LayoutBase {
public:
    Layout() : LayoutBase(pairStorage) {}

private:
    std::array<PoleZeroPair, MaxPairs> pairStorage{};
};

} // namespace Dsp
