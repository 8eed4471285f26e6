// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Long floating-point loops call this first. Code elsewhere in the process
// (the desktop toolkit's drawing, for one) may leave the upper halves of the
// processor's 256-bit vector registers in use; until they are cleared, every
// 128-bit SSE instruction of the calculation, which is all this program's
// arithmetic, waits on them. Measured on the pump window's analysis of a
// 1 000-item circuit: six times the processor time.

namespace dvx {

// Clears the upper vector state where the processor has one (x86-64 with
// AVX); does nothing elsewhere.
void ClearUpperVectorState();

} // namespace dvx
