// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/BitCast.h"
#include "storage/project/ExtendedFloat.h"

#include <gtest/gtest.h>

#include <bit>
#include <cfloat>
#include <cmath>
#include <cstring>
#include <limits>
#include <random>

namespace dvx {
namespace {

Extended80 Ext(std::uint64_t significand, std::uint16_t signExponent) {
    Extended80 e{};
    for (int i = 0; i < 8; ++i) e[i] = static_cast<std::uint8_t>(significand >> (8 * i));
    e[8] = static_cast<std::uint8_t>(signExponent);
    e[9] = static_cast<std::uint8_t>(signExponent >> 8);
    return e;
}

std::uint64_t Bits(double d) { return dvx::BitCast<std::uint64_t>(d); }

TEST(ExtendedFloat, KnownEncodings) {
    struct Case {
        double value;
        std::uint64_t significand;
        std::uint16_t signExponent;
    };
    const Case cases[] = {
        {1.0, 0x8000000000000000ull, 0x3FFF},
        {-2.0, 0x8000000000000000ull, 0xC000},
        {0.5, 0x8000000000000000ull, 0x3FFE},
        {100.0, 0xC800000000000000ull, 0x4005},
        {0.0, 0, 0x0000},
        {-0.0, 0, 0x8000},
        {std::numeric_limits<double>::infinity(), 0x8000000000000000ull, 0x7FFF},
        {-std::numeric_limits<double>::infinity(), 0x8000000000000000ull, 0xFFFF},
        // Smallest subnormal double 2^-1074: a normal extended number.
        {std::numeric_limits<double>::denorm_min(), 0x8000000000000000ull, 16383 - 1074},
        {std::numeric_limits<double>::max(), 0xFFFFFFFFFFFFF800ull, 16383 + 1023},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.value);
        EXPECT_EQ(DoubleToExtended(c.value), Ext(c.significand, c.signExponent));
        EXPECT_EQ(Bits(ExtendedToDouble(Ext(c.significand, c.signExponent))), Bits(c.value));
    }
}

TEST(ExtendedFloat, EveryDoubleClassRoundTripsBitForBit) {
    std::vector<double> values = {
        0.0, -0.0, 1.0, -1.0, 0.1, 1e-300, 1e300, 0.025, 8077.123456789,
        std::numeric_limits<double>::min(),
        std::numeric_limits<double>::min() / 3,          // subnormal
        std::numeric_limits<double>::denorm_min() * 12345, // subnormal
        std::numeric_limits<double>::max(),
        std::numeric_limits<double>::infinity(),
        -std::numeric_limits<double>::infinity(),
        std::numeric_limits<double>::quiet_NaN(),
        -std::numeric_limits<double>::quiet_NaN(),
        dvx::BitCast<double>(0x7FF0000000000001ull), // signalling NaN, smallest payload
        dvx::BitCast<double>(0xFFF8DEADBEEF1234ull), // negative quiet NaN with payload
    };
    std::mt19937_64 rng(42);
    for (int i = 0; i < 200000; ++i) values.push_back(dvx::BitCast<double>(rng()));
    for (double v : values) {
        const double back = ExtendedToDouble(DoubleToExtended(v));
        ASSERT_EQ(Bits(back), Bits(v)) << std::hex << Bits(v);
    }
}

TEST(ExtendedFloat, RoundsToNearestEven) {
    // 1 + 2^-53 is a tie between 1 and the next double: goes to 1 (even).
    EXPECT_EQ(ExtendedToDouble(Ext(0x8000000000000400ull, 0x3FFF)), 1.0);
    // 1 + 3·2^-53 is a tie between 1+2^-52 (odd) and 1+2^-51: goes up.
    EXPECT_EQ(ExtendedToDouble(Ext(0x8000000000000C00ull, 0x3FFF)), 1.0 + 2 * DBL_EPSILON);
    // Just above the tie rounds up.
    EXPECT_EQ(ExtendedToDouble(Ext(0x8000000000000401ull, 0x3FFF)), 1.0 + DBL_EPSILON);
    // All ones below 2: rounds up to exactly 2.
    EXPECT_EQ(ExtendedToDouble(Ext(0xFFFFFFFFFFFFFFFFull, 0x3FFF)), 2.0);
}

TEST(ExtendedFloat, OutOfDoubleRange) {
    const double inf = std::numeric_limits<double>::infinity();
    EXPECT_EQ(ExtendedToDouble(Ext(0x8000000000000000ull, 0x4400)), inf);  // 2^1025
    EXPECT_EQ(ExtendedToDouble(Ext(0x8000000000000000ull, 0xC400)), -inf);
    // Just above DBL_MAX by more than half an ulp: overflows on rounding.
    EXPECT_EQ(ExtendedToDouble(Ext(0xFFFFFFFFFFFFFC00ull, 16383 + 1023)), inf);
    // Half of the smallest subnormal is a tie with zero: zero (even).
    EXPECT_EQ(Bits(ExtendedToDouble(Ext(0x8000000000000000ull, 16383 - 1075))), 0u);
    // A bit more than half rounds up to the smallest subnormal.
    EXPECT_EQ(ExtendedToDouble(Ext(0x8000000000000001ull, 16383 - 1075)),
              std::numeric_limits<double>::denorm_min());
    // Far below: signed zero.
    EXPECT_EQ(Bits(ExtendedToDouble(Ext(0x8000000000000000ull, 0x8001))), Bits(-0.0));
    // Extended denormal (exponent field 0, integer bit clear).
    EXPECT_EQ(Bits(ExtendedToDouble(Ext(0x0000000000000001ull, 0x0000))), 0u);
    // A subnormal result that rounds up into the smallest normal number.
    EXPECT_EQ(ExtendedToDouble(Ext(0xFFFFFFFFFFFFFFFFull, 16383 - 1023)),
              std::numeric_limits<double>::min());
}

TEST(ExtendedFloat, NaNsStayNaNs) {
    // Payload only in the low 11 bits, which double cannot hold.
    const double a = ExtendedToDouble(Ext(0x8000000000000001ull, 0x7FFF));
    EXPECT_TRUE(std::isnan(a));
    const double b = ExtendedToDouble(Ext(0xC000000000000000ull, 0xFFFF));
    EXPECT_TRUE(std::isnan(b));
    EXPECT_TRUE(std::signbit(b));
    // Pseudo-infinity (integer bit clear) still reads as infinity.
    EXPECT_EQ(ExtendedToDouble(Ext(0, 0x7FFF)), std::numeric_limits<double>::infinity());
}

TEST(ExtendedFloat, UnnormalIsReadByItsValue) {
    // 0.5 · 2^1 written without the integer bit set.
    EXPECT_EQ(ExtendedToDouble(Ext(0x4000000000000000ull, 0x4000)), 1.0);
}

#if LDBL_MANT_DIG == 64
// Where the compiler's long double is the x87 format, the hardware gives the
// reference for arbitrary bit patterns.
TEST(ExtendedFloat, AgreesWithX87LongDouble) {
    std::mt19937_64 rng(7);
    for (int i = 0; i < 200000; ++i) {
        std::uint64_t sig = rng();
        std::uint16_t se = static_cast<std::uint16_t>(rng());
        // Keep the exponent near the double range most of the time.
        if (i % 2 == 0) se = static_cast<std::uint16_t>((se & 0x8000) | (16383 - 1100 + (se % 2200)));
        sig |= (se & 0x7FFF) != 0 ? 0x8000000000000000ull : 0; // hardware rejects unnormals
        const Extended80 e = Ext(sig, se);
        long double ld = 0;
        std::memcpy(&ld, e.data(), 10);
        const double expected = static_cast<double>(ld);
        const double got = ExtendedToDouble(e);
        if (std::isnan(expected)) {
            ASSERT_TRUE(std::isnan(got));
        } else {
            ASSERT_EQ(Bits(got), Bits(expected)) << std::hex << sig << " " << se;
        }
        const long double fromDouble = got;
        Extended80 mine = DoubleToExtended(got);
        Extended80 hw{};
        std::memcpy(hw.data(), &fromDouble, 10);
        if (!std::isnan(got)) {
            ASSERT_EQ(mine, hw);
        }
    }
}
#endif

} // namespace
} // namespace dvx
