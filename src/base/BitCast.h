// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// std::bit_cast where the standard library has it, a byte copy with the same
// result where it has not (the WebAssembly build's libc++).

#include <bit>
#include <cstring>
#include <type_traits>

namespace dvx {

template <class To, class From>
    requires(sizeof(To) == sizeof(From) && std::is_trivially_copyable_v<To> &&
             std::is_trivially_copyable_v<From>)
constexpr To BitCast(const From& from) noexcept {
#if __cpp_lib_bit_cast >= 201806L
    return std::bit_cast<To>(from);
#else
    To to;
    std::memcpy(&to, &from, sizeof to);
    return to;
#endif
}

} // namespace dvx
