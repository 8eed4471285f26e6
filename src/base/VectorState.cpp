// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/VectorState.h"

namespace dvx {

// Out of line on purpose: the vector registers are the caller's to save
// across a call, so clearing their upper halves here cannot lose a value
// (and the program's own code, built for SSE2, never uses them).
void ClearUpperVectorState() {
#if defined(__x86_64__) && defined(__GNUC__)
    static const bool avx = __builtin_cpu_supports("avx");
    if (avx) __asm__ volatile("vzeroupper");
#endif
}

} // namespace dvx
