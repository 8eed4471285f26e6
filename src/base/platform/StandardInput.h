// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Standard input read as safely as a file: every read is checked (a folder
// or a closed descriptor is an error, never an empty input), and the bytes
// are bounded by a cap while they arrive, so an endless stream such as
// /dev/zero is refused in bounded memory instead of filling it.

#include "base/platform/FileRead.h"

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace dvx {

// Call first thing in main(). When the program was started with standard
// input closed, descriptor 0 is taken by /dev/null so that no file the
// program opens later lands on it (and is read as standard input); the
// closed state is remembered and ReadStandardInput reports it.
void ClaimStandardInput();

// The cap for the bytes read so far: called with the first bytes (up to
// headBytes, or fewer at the end of input) once they are known, it returns
// the most bytes the input may hold.
using TInputCap = std::function<std::uint64_t(std::string_view head)>;

// All of standard input (descriptor fd, 0 by default). Raises FileReadError
// "Error reading standard input: REASON" when a read fails or standard
// input is closed, and "standard input is larger than N MB" as soon as more
// bytes than the cap arrive.
std::string ReadStandardInput(const TInputCap& capFor, std::size_t headBytes, int fd = 0);

} // namespace dvx
