// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Exceptions shared by every subsystem. Commands catch them and show their
// message; nothing below the command layer shows anything itself.

#include <stdexcept>
#include <string>

namespace dvx {

// A stored or typed number that does not convert. The message names the
// text, e.g. "'12,5' is not a valid floating point value".
class ConvertError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A floating-point fault inside a calculation (a correlation with no real
// value, an overflow, a division by zero).
class MathError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A project, text or catalogue file that cannot be read or written.
class FileError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

} // namespace dvx
