// SPDX-License-Identifier: GPL-3.0-or-later
#include "CsvOut.h"

#include "OutputText.h"

#include <charconv>
#include <cmath>
#include <stdexcept>

namespace dvx::cli {

std::string CsvText(std::string_view text) { return Utf8Text(text); }

std::string CsvNumber(double value) {
    if (!std::isfinite(value)) return {};
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value); // shortest round-trip
    return std::string(buffer, result.ptr);
}

std::string CsvInteger(long long value) { return std::to_string(value); }

std::string CsvField(std::string_view text) {
    const bool quote = text.find_first_of(",\"\r\n") != std::string_view::npos ||
                       (!text.empty() && (text.front() == ' ' || text.back() == ' '));
    if (!quote) return std::string(text);
    std::string out = "\"";
    for (char c : text) {
        if (c == '"') out += '"';
        out += c;
    }
    return out + "\"";
}

void TCsvTable::AddRow(std::vector<std::string> cells) {
    if (cells.size() > columns_.size()) throw std::invalid_argument("CSV row has more cells than columns");
    cells.resize(columns_.size());
    rows_.push_back(std::move(cells));
}

std::string TCsvTable::Text() const {
    std::string out;
    auto record = [&out](const std::vector<std::string>& fields) {
        for (std::size_t i = 0; i < fields.size(); ++i) {
            if (i) out += ',';
            out += CsvField(fields[i]);
        }
        out += "\r\n";
    };
    std::vector<std::string> header;
    for (const TCsvColumn& c : columns_) header.push_back(c.Unit.empty() ? c.Name : c.Name + " [" + c.Unit + "]");
    record(header);
    for (const auto& row : rows_) record(row);
    return out;
}

} // namespace dvx::cli
