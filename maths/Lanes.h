#pragma once

#include <bit>
#include <cstdint>

#include <xmmintrin.h>

// Four values side by side, one per lane, for code that treats several independent signals
// alike (the oscillators of a voice). Every operation acts on each lane exactly as the scalar
// operation would, so a lane computes the same bits as the scalar code it stands in for, on
// every instruction set the compiler lowers the vectors to.
namespace Korvatune {

inline constexpr int kLanes = 4;

// Where the double-precision work may also run in 256-bit registers, chosen at run time. Not on
// Windows, whose compiler does not keep the stack aligned for them, nor under AddressSanitizer,
// whose stack handling breaks on the realigned frames of such code in unoptimised builds.
#if defined(__GNUC__) && defined(__x86_64__) && !defined(_WIN32) && !defined(__SANITIZE_ADDRESS__)
#define KORVATUNE_WIDE_LANES 1
#else
#define KORVATUNE_WIDE_LANES 0
#endif

// Whether this build and processor can run the wide paths (the same results, sooner).
inline bool wideLanesAvailable() {
#if KORVATUNE_WIDE_LANES
    __builtin_cpu_init();
    return __builtin_cpu_supports("avx2");
#else
    return false;
#endif
}

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
// The bits of one lane vector read as another of the same size. A vector cast, not
// std::bit_cast: the sanitizers check bit_cast's reference argument wrongly in code compiled for
// other registers than the rest of the program.
template <class To, class From> [[gnu::always_inline]] inline To laneBits(From x) {
    static_assert(sizeof(To) == sizeof(From));
    return (To)x;
}

// Lanes bit for bit equal (a NaN matches itself).
[[gnu::always_inline]] inline bool sameBits(FloatLanes a, FloatLanes b) {
    const IntLanes equal = laneBits<IntLanes>(a) == laneBits<IntLanes>(b);
    return _mm_movemask_ps(laneBits<__m128>(equal)) == 0xF;
}

[[gnu::always_inline]] inline bool anyLane(IntLanes mask) {
    return _mm_movemask_ps(laneBits<__m128>(mask)) != 0;
}

[[gnu::always_inline]] inline bool allLanes(IntLanes mask) {
    return _mm_movemask_ps(laneBits<__m128>(mask)) == 0xF;
}

} // namespace Korvatune
