// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The floating-point fault flags (division by zero, invalid operation,
// overflow) where the machine has them. WebAssembly has none: there
// kFloatFaultFlags is false, FloatFaultRaised() is always false, and a
// calculation checks its values for finiteness instead.

#if defined(__wasm__)
#define DVX_FLOAT_FAULT_FLAGS 0
#else
#define DVX_FLOAT_FAULT_FLAGS 1
#include <cfenv>
#if defined(__x86_64__) && defined(__SSE2__)
#include <immintrin.h>
#endif
#endif

namespace dvx {

inline constexpr bool kFloatFaultFlags = DVX_FLOAT_FAULT_FLAGS != 0;

#if DVX_FLOAT_FAULT_FLAGS
// The floating-point exceptions that count as a calculation fault.
inline constexpr int kFloatFaults = FE_DIVBYZERO | FE_INVALID | FE_OVERFLOW;

inline void ClearFloatFaults() { std::feclearexcept(kFloatFaults); }

// True when a fault flag is raised. Double arithmetic on x86-64 is SSE
// arithmetic, whose flags live in MXCSR: reading that register inline is
// much cheaper than the library call, which also asks the x87 unit.
inline bool FloatFaultRaised() {
#if defined(__x86_64__) && defined(__SSE2__)
    static_assert(FE_INVALID == 0x01 && FE_DIVBYZERO == 0x04 && FE_OVERFLOW == 0x08);
    return (_mm_getcsr() & kFloatFaults) != 0;
#else
    return std::fetestexcept(kFloatFaults) != 0;
#endif
}
#else
inline void ClearFloatFaults() {}
inline bool FloatFaultRaised() { return false; }
#endif

} // namespace dvx
