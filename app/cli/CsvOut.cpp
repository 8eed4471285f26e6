// SPDX-License-Identifier: GPL-3.0-or-later
#include "CsvOut.h"

#include "OutputText.h"

#include "base/CsvWriter.h"

#include "base/CharConv.h"

#include <charconv>
#include <cmath>
#include <stdexcept>

namespace dvx::cli {

std::string CsvText(std::string_view text) { return Utf8Text(text); }

std::string CsvNumber(double value) {
    if (!std::isfinite(value)) return {};
    char buffer[64];
    const auto result = dvx::ToChars(buffer, buffer + sizeof buffer, value); // shortest round-trip
    return std::string(buffer, result.ptr);
}

std::string CsvInteger(long long value) { return std::to_string(value); }

void TCsvTable::AddRow(std::vector<std::string> cells) {
    if (cells.size() > columns_.size()) throw std::invalid_argument("CSV row has more cells than columns");
    cells.resize(columns_.size());
    rows_.push_back(std::move(cells));
}

std::string TCsvTable::Text() const {
    std::string out;
    std::vector<std::string> header;
    for (const TCsvColumn& c : columns_) header.push_back(c.Unit.empty() ? c.Name : c.Name + " [" + c.Unit + "]");
    AppendCsvRecord(out, header);
    for (const auto& row : rows_) AppendCsvRecord(out, row);
    return out;
}

} // namespace dvx::cli
