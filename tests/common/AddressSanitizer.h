// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// DVX_TEST_ASAN is defined when the test program (and with it every program
// of the same build) is compiled with the address sanitizer. Such a program
// reserves terabytes of address space for its shadow memory at start, so a
// limit on the address space (RLIMIT_AS) would stop it before main(): tests
// leave that limit out under the sanitizer, which checks memory itself.

#if defined(__SANITIZE_ADDRESS__)
#define DVX_TEST_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define DVX_TEST_ASAN 1
#endif
#endif
