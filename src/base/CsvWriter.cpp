// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/CsvWriter.h"

namespace dvx {
namespace {

bool NeedsQuotes(std::string_view text) {
    if (text.find_first_of(",\"\r\n") != std::string_view::npos) return true;
    return !text.empty() && (text.front() == ' ' || text.back() == ' ');
}

} // namespace

std::string CsvField(std::string_view text) {
    if (!NeedsQuotes(text)) return std::string(text);
    std::string out;
    out.reserve(text.size() + 2);
    out += '"';
    for (char c : text) {
        if (c == '"') out += '"';
        out += c;
    }
    out += '"';
    return out;
}

void AppendCsvRecord(std::string& out, const std::vector<std::string>& fields) {
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (i > 0) out += ',';
        if (NeedsQuotes(fields[i])) out += CsvField(fields[i]);
        else out += fields[i];
    }
    out += "\r\n";
}

} // namespace dvx
