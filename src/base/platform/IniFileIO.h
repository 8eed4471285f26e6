// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// An INI file read from disk and written back, through the program's one
// file reader and one atomic writer. The catalogues, the refrigerant library
// and the settings store all load their files here.

#include "base/IniDocument.h"

#include <string>
#include <string_view>

namespace dvx {

struct IniLoad {
    IniDocument Doc;
    bool Missing = false; // the file does not exist (also a link to nothing): Doc is empty
    std::string Error;    // why an existing file could not be read, "" when it was read
    std::string Reason;   // the same without the file name, e.g. "Permission denied"

    bool Read() const { return !Missing && Error.empty(); }
};

// Reads and parses the file (at most kMaxIniFileBytes); never throws for a
// file that cannot be read, the result says why.
IniLoad LoadIniFile(const std::string& path);

// Replaces the file by text atomically; raises FileError
// "Unable to write to <path>" when that fails.
void WriteIniText(const std::string& path, std::string_view text);

} // namespace dvx
