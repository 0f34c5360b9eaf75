#include "engine/Distortion.h"

namespace Korvatune {

Distortion::Distortion() : shapes(buildDistortionTables()) {}

void Distortion::setAmount(float value) {
    amount.store(value, std::memory_order_relaxed);
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

int Distortion::typeIndex(float) {
    return 0;
}

const char* Distortion::typeName(float value) {
    return typeNameOfIndex(typeIndex(value));
}

const char* Distortion::typeNameOfIndex(int) {
    return typeNames[0];
}

int Distortion::typeFromName(const char*) {
    return 0;
}

float Distortion::previousType(float value) {
    return value;
}

float Distortion::nextType(float value) {
    return value;
}

float Distortion::process(float x) const {
    return x;
}

void Distortion::processBlock(float*, float*, int) const {}

void Distortion::displayCurve(std::span<float, kDisplayCurvePoints> out) const {
    for (float& point : out) {
        point = 0.0f;
    }
}

} // namespace Korvatune
