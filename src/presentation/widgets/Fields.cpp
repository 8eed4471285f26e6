// SPDX-License-Identifier: GPL-3.0-or-later
#include "presentation/widgets/Fields.h"

#include "base/Format.h"
#include "base/Numbers.h"

namespace dvx {

namespace {

std::string_view TrimControls(std::string_view text) {
    auto isControl = [](char c) { return static_cast<unsigned char>(c) <= ' ' || c == '\x7f'; };
    while (!text.empty() && isControl(text.front())) text.remove_prefix(1);
    while (!text.empty() && isControl(text.back())) text.remove_suffix(1);
    return text;
}

bool EqualsNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        char x = a[i], y = b[i];
        if (x >= 'A' && x <= 'Z') x = static_cast<char>(x - 'A' + 'a');
        if (y >= 'A' && y <= 'Z') y = static_cast<char>(y - 'A' + 'a');
        if (x != y) return false;
    }
    return true;
}

bool IsNumericFormat(std::string_view format) {
    return format.find_first_of("dDfFgG") != std::string_view::npos;
}

std::string FieldAt(const std::vector<std::string>& fields, std::size_t i) {
    return i < fields.size() ? fields[i] : std::string();
}

// The text a fresh row shows: the format applied to zero (to 0 and 0 for a
// pair).
std::string StartingText(std::string_view format) {
    try {
        switch (FormatClassOf(format)) {
        case TFormatClass::Pair: return Format(format, {0.0, 0.0});
        case TFormatClass::Integer: return Format(format, {0});
        case TFormatClass::Real: return Format(format, {0.0});
        case TFormatClass::Text: return {};
        }
    } catch (const FormatError&) {
    }
    return {};
}

} // namespace

std::vector<std::string> SplitLine(std::string_view line, char delim) {
    std::vector<std::string> fields;
    while (!line.empty()) {
        auto pos = line.find(delim);
        if (pos == std::string_view::npos) {
            fields.emplace_back(TrimControls(line));
            break;
        }
        fields.emplace_back(TrimControls(line.substr(0, pos)));
        line.remove_prefix(pos + 1);
    }
    return fields;
}

unsigned char EditStyleOf(std::string_view flag) {
    if (EqualsNoCase(flag, "PE")) return esPropEditor;
    if (EqualsNoCase(flag, "Spin")) return esSpin;
    return esNone;
}

TParsedLine ParseLine(std::string_view line, char delim) {
    TParsedLine result;
    result.Cells = SplitLine(line, delim);
    if (result.Cells.size() < 2) result.Cells.resize(2);
    const auto& cells = result.Cells;
    const std::string caption = cells[0];
    const std::string format = cells[1];

    if (IsNumericFormat(format)) {
        auto lo = TryStrToFloat(FieldAt(cells, 4));
        auto hi = TryStrToFloat(FieldAt(cells, 5));
        const std::string stepText = FieldAt(cells, 6);
        std::optional<double> step = stepText.empty() ? std::optional<double>(1.0) : TryStrToFloat(stepText);
        if (lo && hi && step) {
            std::unique_ptr<TNumField> field = format.find('/') != std::string::npos
                                                   ? std::make_unique<TDelimNumField>()
                                                   : std::make_unique<TNumField>();
            field->Format = format;
            field->EditStyle = EditStyleOf(FieldAt(cells, 3));
            field->RangeLo = *lo;
            field->RangeHi = *hi;
            field->Increment = *step;
            field->Decimals = DecimalsOf(format);
            result.Cells[1] = StartingText(format);
            result.Field = std::move(field);
            return result;
        }
        auto field = std::make_unique<TField>();
        field->Format = "%S";
        field->EditStyle = EditStyleOf(FieldAt(cells, 3));
        result.Cells[1].clear();
        result.Field = std::move(field);
        result.Error = "Error initialising " + caption;
        return result;
    }

    if (EqualsNoCase(format, "enum")) {
        auto field = std::make_unique<TEnumField>();
        for (std::size_t i = 3; i < cells.size(); ++i) field->Items.push_back(cells[i]);
        result.Cells[1] = field->Items.empty() ? std::string() : field->Items.front();
        result.Field = std::move(field);
        return result;
    }

    auto field = std::make_unique<TField>();
    field->Format = format;
    field->EditStyle = EditStyleOf(FieldAt(cells, 3));
    result.Cells[1].clear();
    result.Field = std::move(field);
    return result;
}

} // namespace dvx
