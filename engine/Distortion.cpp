#include "engine/Distortion.h"

#include "engine/DistortionCurves.h"
#include "engine/SampleFunctions.h"

#include <cmath>
#include <cstring>

namespace Korvatune {

namespace {

constexpr int kLastType = Distortion::kNumTypes - 1;
constexpr double kTypeStep = 0.041666666666666664;

// NaN lands on 0 rather than slipping through the comparisons.
float unitClamped(double value) {
    if (!(value > 0.0)) {
        return 0.0f;
    }
    return value < 1.0 ? static_cast<float>(value) : 1.0f;
}

template <typename Curve> void shapeChannel(float* samples, int count, const Curve& curve) {
    if (samples == nullptr) {
        return;
    }
    for (int n = 0; n < count; ++n) {
        samples[n] = clampValue(curve(samples[n]), -1.0f, 1.0f);
    }
}

} // namespace

Distortion::Distortion() : shapes(sharedDistortionTables()) {}

void Distortion::setAmount(float value) {
    // Out-of-range amounts are used as they come; only NaN, which would poison every sample,
    // is taken as 0.
    amount.store(std::isnan(value) ? 0.0f : value, std::memory_order_relaxed);
}

float Distortion::getAmount() const {
    return amount.load(std::memory_order_relaxed);
}

void Distortion::setType(float value) {
    type.store(typeIndex(value), std::memory_order_relaxed);
}

int Distortion::getType() const {
    return type.load(std::memory_order_relaxed);
}

int Distortion::typeIndex(float value) {
    const float clamped = unitClamped(value);
    return static_cast<int>(std::floor(clamped * static_cast<float>(kLastType) + 0.5));
}

const char* Distortion::typeName(float value) {
    return typeNames[typeIndex(value)];
}

const char* Distortion::typeNameOfIndex(int index) {
    return typeNames[index < 0 ? 0 : (index > kLastType ? kLastType : index)];
}

int Distortion::typeFromName(const char* text) {
    if (text == nullptr) {
        return 0;
    }
    for (int index = 1; index <= kLastType; ++index) {
        if (std::strcmp(text, typeNames[index]) == 0) {
            return index;
        }
    }
    return 0;
}

float Distortion::previousType(float value) {
    return unitClamped(value - kTypeStep);
}

float Distortion::nextType(float value) {
    return unitClamped(value + kTypeStep);
}

float Distortion::process(float x) const {
    const float drive = getAmount();
    if (drive == 0.0f) {
        return x;
    }
    return DistortionCurves::withCurve(getType(), drive, shapes, [x](const auto& curve) {
        return clampValue(curve(x), -1.0f, 1.0f);
    });
}

void Distortion::processBlock(float* left, float* right, int count) const {
    const float drive = getAmount();
    if (drive == 0.0f) {
        return;
    }
    DistortionCurves::withCurve(getType(), drive, shapes, [=](const auto& curve) {
        shapeChannel(left, count, curve);
        shapeChannel(right, count, curve);
    });
}

void Distortion::displayCurve(std::span<float, kDisplayCurvePoints> out) const {
    for (int n = 0; n < kDisplayCurvePoints; ++n) {
        out[n] = process(static_cast<float>(n) / static_cast<float>(kDisplayCurvePoints) - 0.5f);
    }
}

} // namespace Korvatune
