// SPDX-License-Identifier: GPL-3.0-or-later
#include "storage/project/ExtendedFloat.h"

#include "base/BitCast.h"

#include <bit>
#include <cstring>

namespace dvx {

namespace {

constexpr int kExtendedBias = 16383;
constexpr int kDoubleBias = 1023;
constexpr std::uint64_t kIntegerBit = std::uint64_t{1} << 63;
constexpr std::uint64_t kDoubleFraction = (std::uint64_t{1} << 52) - 1;

Extended80 Pack(bool negative, std::uint32_t exponent, std::uint64_t significand) {
    Extended80 out{};
    for (int i = 0; i < 8; ++i) out[i] = static_cast<std::uint8_t>(significand >> (8 * i));
    const std::uint32_t top = (negative ? 0x8000u : 0u) | (exponent & 0x7FFFu);
    out[8] = static_cast<std::uint8_t>(top);
    out[9] = static_cast<std::uint8_t>(top >> 8);
    return out;
}

} // namespace

Extended80 DoubleToExtended(double value) {
    const std::uint64_t bits = BitCast<std::uint64_t>(value);
    const bool negative = (bits >> 63) != 0;
    const int exponent = static_cast<int>((bits >> 52) & 0x7FF);
    const std::uint64_t fraction = bits & kDoubleFraction;

    if (exponent == 0x7FF) // infinity (no fraction) or NaN (payload moves up unchanged)
        return Pack(negative, 0x7FFF, kIntegerBit | (fraction << 11));
    if (exponent == 0) {
        if (fraction == 0) return Pack(negative, 0, 0);
        // Subnormal double: fraction × 2^-1074, a normal number in extended.
        const int msb = 63 - std::countl_zero(fraction);
        const int unbiased = msb - 1074;
        return Pack(negative, static_cast<std::uint32_t>(unbiased + kExtendedBias),
                    fraction << (63 - msb));
    }
    return Pack(negative, static_cast<std::uint32_t>(exponent - kDoubleBias + kExtendedBias),
                kIntegerBit | (fraction << 11));
}

double ExtendedToDouble(const Extended80& bytes) {
    std::uint64_t significand = 0;
    for (int i = 0; i < 8; ++i) significand |= std::uint64_t{bytes[i]} << (8 * i);
    const std::uint32_t top = std::uint32_t{bytes[8]} | (std::uint32_t{bytes[9]} << 8);
    const bool negative = (top & 0x8000u) != 0;
    const int exponent = static_cast<int>(top & 0x7FFFu);
    const std::uint64_t sign = negative ? (std::uint64_t{1} << 63) : 0;

    if (exponent == 0x7FFF) {
        // The integer bit does not matter here: no fraction is infinity,
        // anything else a NaN.
        const std::uint64_t payload = significand & ~kIntegerBit;
        if (payload == 0) return BitCast<double>(sign | (std::uint64_t{0x7FF} << 52));
        std::uint64_t fraction = (payload >> 11) & kDoubleFraction;
        if (fraction == 0) fraction = std::uint64_t{1} << 51; // keep it a NaN
        return BitCast<double>(sign | (std::uint64_t{0x7FF} << 52) | fraction);
    }
    if (significand == 0) return BitCast<double>(sign);

    // value = significand × 2^(e - 63) with e the unbiased exponent of the
    // integer bit; denormal and unnormal encodings (integer bit clear) are
    // brought to the same form by shifting the leading one to the top.
    int unbiased = (exponent == 0 ? 1 : exponent) - kExtendedBias;
    const int lead = std::countl_zero(significand);
    significand <<= lead;
    unbiased -= lead;

    if (unbiased > kDoubleBias) return BitCast<double>(sign | (std::uint64_t{0x7FF} << 52));

    // Bits to drop below the 53 kept (normal) or fewer kept (subnormal).
    int shift = 11;
    std::uint64_t biased = 0;
    if (unbiased >= 1 - kDoubleBias) {
        biased = static_cast<std::uint64_t>(unbiased + kDoubleBias);
    } else {
        shift += (1 - kDoubleBias) - unbiased;
        if (shift > 64) return BitCast<double>(sign); // below half the smallest subnormal
    }
    std::uint64_t kept = shift >= 64 ? 0 : significand >> shift;
    const std::uint64_t dropped = shift >= 64 ? significand : significand & ((std::uint64_t{1} << shift) - 1);
    const std::uint64_t half = std::uint64_t{1} << (shift - 1);
    if (dropped > half || (dropped == half && (kept & 1) != 0)) ++kept;

    // For a normal number `kept` holds the implicit bit at bit 52, so it is
    // added onto (biased - 1): a carry out of the fraction raises the
    // exponent, up to infinity. A subnormal that rounds up to 2^52 becomes
    // the smallest normal number the same way.
    const std::uint64_t result = biased == 0 ? kept : ((biased - 1) << 52) + kept;
    return BitCast<double>(sign | result);
}

} // namespace dvx
