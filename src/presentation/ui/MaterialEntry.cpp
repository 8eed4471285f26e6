// SPDX-License-Identifier: GPL-3.0-or-later
#include "presentation/ui/MaterialEntry.h"

#include "base/Numbers.h"

namespace dvx {

const std::array<const char*, BoreEntryColumnCount> BoreEntryCaptions = {
    "Label", "Inside diameter mm", "Maximum flow l/s", "Price per m", "Labour h/m"};

namespace {

// A number as typed, or fallback when the cell is blank; none (with the
// error) for a text that is no number.
std::optional<double> Number(const std::string& text, double fallback, const std::string& where, std::string& error) {
    const std::string_view trimmed = TrimBlanks(text);
    if (trimmed.empty()) return fallback;
    if (const std::optional<double> v = TryStrToFloat(trimmed)) return v;
    error = where + ": '" + std::string(trimmed) + "' is not a number";
    return std::nullopt;
}

} // namespace

std::optional<TMaterialTable> MaterialFromEntry(const TMaterialEntry& entry, std::string& error) {
    TMaterialTable m;
    m.Name = std::string(TrimBlanks(entry.Name));
    // Blank stays 0, which the catalogue rules then refuse by name.
    const auto roughness = Number(entry.RoughnessMm, 0, "Roughness", error);
    if (!roughness) return std::nullopt;
    m.Roughness = *roughness / 1000;
    int row = 0;
    for (const auto& cells : entry.Rows) {
        ++row;
        bool blank = true;
        for (const std::string& c : cells) blank = blank && TrimBlanks(c).empty();
        if (blank) continue;
        const std::string where = "Row " + std::to_string(row) + ", ";
        TMaterialBore b;
        b.Label = std::string(TrimBlanks(cells[beLabel]));
        const auto id = Number(cells[beInsideDiameter], 0, where + BoreEntryCaptions[beInsideDiameter], error);
        const auto mf = id ? Number(cells[beMaxFlow], 0, where + BoreEntryCaptions[beMaxFlow], error) : std::nullopt;
        const auto price = mf ? Number(cells[beListPrice], -1, where + BoreEntryCaptions[beListPrice], error) : std::nullopt;
        const auto labour = price ? Number(cells[beLabourTime], 0, where + BoreEntryCaptions[beLabourTime], error) : std::nullopt;
        if (!labour) return std::nullopt;
        b.ID = *id / 1000;
        b.mf = *mf;
        b.ListPrice = *price;
        b.LabourTime = *labour;
        m.Bores.push_back(std::move(b));
    }
    return m;
}

} // namespace dvx
