// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The CSV tables of darvenix-cli: a header row naming every column and its
// unit ("flow [m3/s]"), then the rows, written by the program's one CSV
// writer (base/CsvWriter.h: RFC 4180, fields with a comma, a double quote,
// a line break or blanks at an end quoted, records ending in CR LF). Texts are valid
// UTF-8 (8-bit text decoded as Windows-1252); numbers are written in the
// shortest form that reads back to the same double, never in the display
// formats; a value that is not finite or does not apply is an empty field.
//
// A command uses it like this:
//
//   TCsvTable table({{"description", ""}, {"flow", "m3/s"}});
//   table.AddRow({CsvText(item.Description), CsvNumber(item.Flow)});
//   out << table.Text();

#include <string>
#include <string_view>
#include <vector>

namespace dvx::cli {

struct TCsvColumn {
    std::string Name;
    std::string Unit; // empty: dimensionless, a code or a text
};

// A text cell, valid UTF-8.
std::string CsvText(std::string_view text);
// A number cell: shortest round-trip form, empty when not finite.
std::string CsvNumber(double value);
std::string CsvInteger(long long value);

class TCsvTable {
public:
    explicit TCsvTable(std::vector<TCsvColumn> columns) : columns_(std::move(columns)) {}

    const std::vector<TCsvColumn>& Columns() const { return columns_; }
    // A row with fewer cells than columns is filled with empty fields; more
    // cells than columns is a programming error (std::invalid_argument).
    void AddRow(std::vector<std::string> cells);

    std::string Text() const;

private:
    std::vector<TCsvColumn> columns_;
    std::vector<std::vector<std::string>> rows_;
};

} // namespace dvx::cli
