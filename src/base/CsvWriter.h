// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Comma-separated values as RFC 4180 writes them: the one writer behind the
// desktop program's "Export CSV…" and darvenix-cli's CSV output.
//
// A field is quoted when it holds a comma, a double quote or a line break
// (CR or LF), or when it starts or ends with a blank: many readers trim
// blanks from unquoted fields, and the blanks are part of the value. A double
// quote inside a quoted field is doubled. Every other field, empty ones and
// non-ASCII text included, is written as it is; the bytes are the caller's
// (the program gives UTF-8). Every record ends in CR LF.

#include <string>
#include <string_view>
#include <vector>

namespace dvx {

// One field as it stands in the file.
std::string CsvField(std::string_view text);

// The fields joined by commas, each as CsvField writes it, and CR LF,
// appended to out.
void AppendCsvRecord(std::string& out, const std::vector<std::string>& fields);

} // namespace dvx
