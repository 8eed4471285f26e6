// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The text of one INI file with an index for its lookups, and the edits the
// program's INI files need. The settings store, the catalogues and the
// refrigerant library all read through it.
//
// Rules: a line whose first non-blank character is "[" opens a section (its
// name is the text up to "]", trimmed); lines starting with ";" or "#" are
// comments; other lines holding "=" are key=value pairs (key and value
// trimmed). Names are compared without regard to ASCII letter case. Lines
// before the first section belong to no section and are never read.
// A section that appears more than once reads as one section, its first
// occurrence first.
//
// The document keeps the file's bytes as they are and parses them once: a
// lookup goes through the index (a hash of section and key) and never reads
// the text again. Memory is the text plus about 13 bytes per line. Edits
// touch only the lines concerned; every other byte, line ends (LF, CR LF,
// stray CRs) and a missing final line end included, survives a rewrite. New
// lines take the line end of the file's first line.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace dvx {

// Values are read up to this many characters.
inline constexpr std::size_t kIniMaxValueLength = 2047;

bool SameIniName(std::string_view a, std::string_view b);

class IniDocument {
public:
    IniDocument() = default;
    // Takes the file's bytes; a text of 4 GiB or more is cut there (the
    // readers cap files far below that).
    static IniDocument Parse(std::string text);
    static IniDocument Parse(std::string_view text) { return Parse(std::string(text)); }
    static IniDocument Parse(const char* text) { return Parse(std::string(text)); }
    const std::string& Text() const { return text_; }

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
    // The line number (from 1) of the line that holds the key's value, or 0.
    std::size_t LineOf(std::string_view section, std::string_view key) const;

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
    enum Kind : std::uint8_t { Other, Blank, Comment, Section, Pair };
    static constexpr std::uint32_t kNoGroup = UINT32_MAX;

    void Reindex();
    std::size_t LineCount() const { return kind_.size(); }
    // The line without its line end (and without a leading byte-order mark).
    std::string_view Content(std::size_t line) const;
    std::string_view NameOf(std::size_t line) const;
    std::string_view ValueOf(std::size_t line) const;
    // The section group a line belongs to (kNoGroup before the first header).
    std::uint32_t GroupOfLine(std::size_t line) const;
    std::uint32_t FindGroup(std::string_view section) const;
    // The first pair line of key in group, or npos.
    std::size_t FindPair(std::uint32_t group, std::string_view key) const;
    static std::uint64_t HashOf(std::uint32_t group, std::string_view key);
    // [first, end) line ranges of the section's occurrences, the header at first.
    std::vector<std::pair<std::size_t, std::size_t>> Blocks(std::uint32_t group) const;
    // End of the section's body: trailing blank and comment lines before the
    // next section header are left to that header.
    std::size_t BodyEnd(std::size_t first, std::size_t end) const;

    // Text edits; each keeps every other byte and re-indexes the document.
    void ReplaceLine(std::size_t line, const std::string& content);
    void InsertLines(std::size_t before, const std::vector<std::string>& contents);
    void EraseLines(std::size_t first, std::size_t end);
    std::size_t OffsetOf(std::size_t line) const;

    std::string text_;
    std::size_t bomLength_ = 0;
    std::string eol_ = "\n";
    // Line i spans [start_[i], start_[i + 1]) of text_, its line end included.
    std::vector<std::uint32_t> start_{0};
    std::vector<Kind> kind_;
    // Section headers in file order and the group (name) of each.
    std::vector<std::uint32_t> headers_;
    std::vector<std::uint32_t> headerGroup_;
    // One group per section name (letter case ignored), in file order.
    std::vector<std::string> groupNames_;
    std::unordered_map<std::string, std::uint32_t> groupOf_; // lower-case name -> group
    // Open-addressing hash of the first pair line of each (group, key):
    // entries are line numbers + 1, 0 is free.
    std::vector<std::uint32_t> pairTable_;
};

} // namespace dvx
