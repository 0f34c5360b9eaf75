#pragma once

#include <cstdint>
#include <cstring>

// Four values side by side, one per lane, for code that treats several independent signals
// alike (the oscillators of a voice). Every operation acts on each lane exactly as the scalar
// operation would, so a lane computes the same bits as the scalar code it stands in for, on
// every instruction set the compiler lowers the vectors to.
namespace Korvatune {

inline constexpr int kLanes = 4;

using FloatLanes = float __attribute__((vector_size(16)));
using IntLanes = std::int32_t __attribute__((vector_size(16)));
using DoubleLanes = double __attribute__((vector_size(32)));
// The result of comparing DoubleLanes: all bits set where true.
using DoubleMask = std::int64_t __attribute__((vector_size(32)));

inline DoubleLanes widen(FloatLanes x) {
    return __builtin_convertvector(x, DoubleLanes);
}
inline FloatLanes narrow(DoubleLanes x) {
    return __builtin_convertvector(x, FloatLanes);
}

inline FloatLanes broadcast(float x) {
    return FloatLanes{x, x, x, x};
}
inline DoubleLanes broadcast(double x) {
    return DoubleLanes{x, x, x, x};
}

inline IntLanes narrowMask(DoubleMask mask) {
    return __builtin_convertvector(mask, IntLanes);
}

// Lanes bit for bit equal (a NaN matches itself).
inline bool sameBits(FloatLanes a, FloatLanes b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}

inline bool anyLane(IntLanes mask) {
    return (mask[0] | mask[1] | mask[2] | mask[3]) != 0;
}

inline bool anyLane(DoubleMask mask) {
    return (mask[0] | mask[1] | mask[2] | mask[3]) != 0;
}

} // namespace Korvatune
