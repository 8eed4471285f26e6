// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The text of one INI file held as its lines, with the lookups and edits the
// program's INI files need. Edits touch only the lines concerned, so comments,
// blank lines and the order of everything else survive a rewrite.
//
// Rules: a line whose first non-blank character is "[" opens a section (its
// name is the text up to "]", trimmed); lines starting with ";" or "#" are
// comments; other lines holding "=" are key=value pairs (key and value
// trimmed). Names are compared without regard to ASCII letter case. Lines
// before the first section belong to no section and are never read.
// A section that appears more than once reads as one section, its first
// occurrence first.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace dvx {

// Values are read up to this many characters.
inline constexpr std::size_t kIniMaxValueLength = 2047;

bool SameIniName(std::string_view a, std::string_view b);

class IniDocument {
public:
    IniDocument() = default;
    static IniDocument Parse(std::string_view text);
    std::string Text() const;

    // The value of key in section (trimmed, cut at kIniMaxValueLength), or
    // nothing when the section or key is missing or a name is blank.
    std::optional<std::string> Value(std::string_view section, std::string_view key) const;
    bool HasSection(std::string_view section) const;
    // Section names in file order, each once (first spelling).
    std::vector<std::string> Sections() const;
    // Key names of a section in file order, each once (first spelling).
    std::vector<std::string> Keys(std::string_view section) const;
    // One "key=value" line per key, in file order.
    std::vector<std::string> SectionLines(std::string_view section) const;

    // Sets key to value: the first line holding the key is rewritten in
    // place; a new key goes after the section's last pair; a new section is
    // added at the end. Blank section or key names are ignored.
    void Set(std::string_view section, std::string_view key, std::string_view value);
    // Takes each line holding "=" as key (before the first "=") and value
    // (the rest), both trimmed, and sets it; lines without "=" are skipped.
    void SetLines(std::string_view section, const std::vector<std::string>& lines);
    // Removes every occurrence of the section with its pairs.
    void EraseSection(std::string_view section);
    // Replaces the section's content by lines (as SetLines) where the section
    // stands, so the file keeps its order; keys not in lines are dropped.
    void ReplaceSection(std::string_view section, const std::vector<std::string>& lines);

private:
    enum class Kind { Other, Blank, Comment, Section, Pair };
    struct Line {
        std::string text;  // the line as it stands in the file, without line end
        Kind kind = Kind::Other;
        std::string name;  // section or key name, trimmed
        std::string value; // value of a pair, trimmed
    };
    static Line Classify(std::string text);
    static Line PairLine(std::string_view key, std::string_view value);
    // [first, end) line ranges of the section's occurrences, the header at first.
    std::vector<std::pair<std::size_t, std::size_t>> Blocks(std::string_view section) const;
    // End of the section's body: trailing blank and comment lines before the
    // next section header are left to that header.
    std::size_t BodyEnd(std::size_t first, std::size_t end) const;

    std::vector<Line> lines_;
    std::string eol_ = "\n";
    bool bom_ = false;
};

} // namespace dvx
