#pragma once

#if defined(__SSE__)
#include <xmmintrin.h>
#endif

namespace Korvatune {

// Flushes denormal results and inputs to zero while rendering, so decaying filter tails cannot
// slow the audio thread down; the host's own setting comes back afterwards.
class DenormalGuard {
public:
#if defined(__SSE__)
    DenormalGuard() : saved(_mm_getcsr()) {
        _mm_setcsr(saved | kFlushToZero | kDenormalsAreZero);
    }
    ~DenormalGuard() {
        _mm_setcsr(saved);
    }
#else
    DenormalGuard() = default;
#endif
    DenormalGuard(const DenormalGuard&) = delete;
    DenormalGuard& operator=(const DenormalGuard&) = delete;

private:
#if defined(__SSE__)
    static constexpr unsigned kFlushToZero = 0x8000;
    static constexpr unsigned kDenormalsAreZero = 0x0040;
    unsigned saved;
#endif
};

} // namespace Korvatune
