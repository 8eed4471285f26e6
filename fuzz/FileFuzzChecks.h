// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the INI-based readers must hold for any input, shared by the fuzz
// targets and by the test that replays their seeds in the normal suite. Each
// check returns "" when every property holds, otherwise what failed.

#include "storage/catalogue/CatalogueFiles.h"
#include "engine/catalogue/Tables.h"
#include "base/IniDocument.h"
#include "engine/fluid/Refrig.h"

#include <string>
#include <string_view>

namespace dvx::fuzz {

// The document keeps the bytes, its index agrees with its listings, and an
// edit changes the edited key only.
inline std::string CheckIniDocument(std::string_view input) {
    IniDocument doc = IniDocument::Parse(input);
    if (doc.Text() != input) return "text not kept byte for byte";
    const std::vector<std::string> sections = doc.Sections();
    for (const std::string& section : sections) {
        if (!doc.HasSection(section)) return "listed section not found: " + section;
        const std::vector<std::string> keys = doc.Keys(section);
        if (doc.SectionLines(section).size() != keys.size()) return "section lines and keys differ: " + section;
        for (const std::string& key : keys) {
            auto value = doc.Value(section, key);
            if (!value) return "listed key not found: " + section + "/" + key;
            if (value->size() > kIniMaxValueLength) return "value longer than the limit";
            if (doc.LineOf(section, key) == 0) return "listed key without a line";
        }
    }
    if (IniDocument::Parse(doc.Text()).Sections() != sections) return "parse of the text differs";

    // An edit of a new key leaves every other value as it was.
    std::vector<std::pair<std::string, std::optional<std::string>>> before;
    for (const std::string& section : sections)
        for (const std::string& key : doc.Keys(section)) before.emplace_back(section + "\n" + key, doc.Value(section, key));
    doc.Set("Fuzz Section", "Fuzz Key", "value");
    if (doc.Value("fuzz section", "FUZZ KEY") != "value") return "set value not read back";
    for (auto& [name, value] : before) {
        const auto cut = name.find('\n');
        const std::string section = name.substr(0, cut), key = name.substr(cut + 1);
        if (SameIniName(section, "Fuzz Section") && SameIniName(key, "Fuzz Key")) continue;
        if (doc.Value(section, key) != value) return "an edit changed another key: " + section + "/" + key;
    }
    if (!sections.empty()) {
        doc.EraseSection(sections.front());
        if (doc.HasSection(sections.front())) return "erased section still there";
    }
    return "";
}

// The catalogue loader takes any file and keeps its promises: bore data that
// can be calculated with, coefficients that are not negative.
inline std::string CheckCatalogueLoader(std::string_view input) {
    TCatalogueTables tables; // the built-in values
    const IniDocument doc = IniDocument::Parse(input);
    ApplySteelCatalogue(doc, tables);
    ApplyPipeCostCatalogue(doc, pmGalvIron, tables);
    ApplyPipeCostCatalogue(doc, pmDrawnTube, tables);
    (void)ApplyFittingsCatalogue(doc, tables);
    for (const TBoreRec& bore : tables.BoreTable)
        if (!(bore.ID > 0) || !(bore.ff > 0) || !(bore.mf >= 0)) return "bore data out of range";
    for (const TFittingRec& fitting : tables.FittingTable)
        if (!(fitting.C >= 0)) return "negative fitting coefficient";
    return "";
}

// The refrigerant library takes any file: every selection either loads the
// section or keeps the built-in record, and a message stays short.
inline std::string CheckRefrigerantLibrary(std::string_view input) {
    TRefrigLib lib("fuzz.rdf", IniDocument::Parse(input));
    std::size_t selected = 0;
    for (const std::string& name : std::vector<std::string>(lib.Sections)) {
        if (++selected > 64) break;
        lib.Select(name);
        if (lib.Status == rsLoadError && lib.Data.RNumber != BuiltInRefrigRecord().RNumber)
            return "a failed selection left a half-read record";
        if (lib.Status != rsLoaded && lib.Status != rsLoadError) return "unexpected status";
    }
    for (const std::string& message : lib.Errors)
        if (message.size() > 400) return "message too long: " + message.substr(0, 100);
    if (lib.InternalNumbers.size() != lib.Sections.size()) return "number table out of step";
    return "";
}

} // namespace dvx::fuzz
