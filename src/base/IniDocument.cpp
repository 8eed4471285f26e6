// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/IniDocument.h"

#include "base/Numbers.h"

#include <algorithm>
#include <bit>

namespace dvx {

namespace {

char Lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

std::string LowerName(std::string_view name) {
    std::string lower(TrimBlanks(name));
    for (char& c : lower) c = Lower(c);
    return lower;
}

// Splits "key=value" lines; lines without "=" or with a blank key are dropped.
std::vector<std::pair<std::string, std::string>> SplitLines(const std::vector<std::string>& lines) {
    std::vector<std::pair<std::string, std::string>> pairs;
    for (const std::string& line : lines) {
        auto eq = line.find('=');
        if (eq == std::string::npos) continue;
        std::string key(TrimBlanks(std::string_view(line).substr(0, eq)));
        if (key.empty()) continue;
        pairs.emplace_back(key, std::string(TrimBlanks(std::string_view(line).substr(eq + 1))));
    }
    return pairs;
}

std::string PairText(std::string_view key, std::string_view value) {
    std::string text(TrimBlanks(key));
    text += '=';
    text += TrimBlanks(value);
    return text;
}

} // namespace

bool SameIniName(std::string_view a, std::string_view b) {
    a = TrimBlanks(a);
    b = TrimBlanks(b);
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (Lower(a[i]) != Lower(b[i])) return false;
    return true;
}

IniDocument IniDocument::Parse(std::string text) {
    IniDocument doc;
    if (text.size() >= UINT32_MAX) text.resize(UINT32_MAX - 1);
    doc.text_ = std::move(text);
    doc.Reindex();
    return doc;
}

std::string_view IniDocument::Content(std::size_t line) const {
    std::size_t begin = start_[line];
    std::size_t end = start_[line + 1];
    // The line end is the LF with every CR before it (or the CRs ending the
    // file), so that an edit of the line keeps it as it was.
    if (end > begin && text_[end - 1] == '\n') --end;
    while (end > begin && text_[end - 1] == '\r') --end;
    return std::string_view(text_).substr(begin, end - begin);
}

std::string_view IniDocument::NameOf(std::size_t line) const {
    std::string_view t = TrimBlanks(Content(line));
    if (kind_[line] == Section) {
        std::string_view inner = t.substr(1);
        return TrimBlanks(inner.substr(0, inner.find(']')));
    }
    if (kind_[line] == Pair) return TrimBlanks(t.substr(0, t.find('=')));
    return {};
}

std::string_view IniDocument::ValueOf(std::size_t line) const {
    std::string_view t = Content(line);
    return TrimBlanks(t.substr(t.find('=') + 1));
}

std::uint64_t IniDocument::HashOf(std::uint32_t group, std::string_view key) {
    std::uint64_t h = 1469598103934665603ull ^ group;
    for (char c : TrimBlanks(key)) {
        h ^= static_cast<unsigned char>(Lower(c));
        h *= 1099511628211ull;
    }
    return h ^ (h >> 29);
}

void IniDocument::Reindex() {
    start_.clear();
    kind_.clear();
    headers_.clear();
    headerGroup_.clear();
    groupNames_.clear();
    groupOf_.clear();
    pairTable_.clear();

    bomLength_ = text_.compare(0, 3, "\xEF\xBB\xBF") == 0 ? 3 : 0;
    bool eolKnown = false;
    eol_ = "\n";
    std::size_t pairs = 0;
    std::size_t pos = bomLength_;
    while (pos < text_.size()) {
        std::size_t nl = text_.find('\n', pos);
        std::size_t next = nl == std::string::npos ? text_.size() : nl + 1;
        if (!eolKnown && nl != std::string::npos) {
            eol_ = (nl > pos && text_[nl - 1] == '\r') ? "\r\n" : "\n";
            eolKnown = true;
        }
        start_.push_back(static_cast<std::uint32_t>(pos));
        pos = next;
        kind_.push_back(Other);
    }
    start_.push_back(static_cast<std::uint32_t>(text_.size()));

    std::uint32_t group = kNoGroup;
    for (std::size_t i = 0; i < LineCount(); ++i) {
        std::string_view t = TrimBlanks(Content(i));
        Kind kind = Other;
        if (t.empty())
            kind = Blank;
        else if (t.front() == ';' || t.front() == '#')
            kind = Comment;
        else if (t.front() == '[')
            kind = Section;
        else if (t.find('=') != std::string_view::npos)
            kind = Pair;
        kind_[i] = kind;
        if (kind == Section) {
            std::string_view name = NameOf(i);
            group = kNoGroup;
            if (!name.empty()) {
                auto [it, added] = groupOf_.try_emplace(LowerName(name), static_cast<std::uint32_t>(groupNames_.size()));
                if (added) groupNames_.emplace_back(name);
                group = it->second;
            }
            headers_.push_back(static_cast<std::uint32_t>(i));
            headerGroup_.push_back(group);
        } else if (kind == Pair && group != kNoGroup) {
            ++pairs;
        }
    }

    // Load factor between 1/3 and 2/3.
    pairTable_.assign(pairs == 0 ? 0 : std::bit_ceil(pairs + pairs / 2 + 1), 0);
    if (pairTable_.empty()) return;
    const std::size_t mask = pairTable_.size() - 1;
    std::size_t header = 0;
    group = kNoGroup;
    for (std::size_t i = 0; i < LineCount(); ++i) {
        if (kind_[i] == Section) group = headerGroup_[header++];
        if (kind_[i] != Pair || group == kNoGroup) continue;
        std::string_view name = NameOf(i);
        if (name.empty()) continue;
        for (std::size_t slot = HashOf(group, name) & mask;; slot = (slot + 1) & mask) {
            std::uint32_t entry = pairTable_[slot];
            if (entry == 0) {
                pairTable_[slot] = static_cast<std::uint32_t>(i + 1);
                break;
            }
            // The first occurrence of a key in file order stays.
            if (GroupOfLine(entry - 1) == group && SameIniName(NameOf(entry - 1), name)) break;
        }
    }
}

std::uint32_t IniDocument::GroupOfLine(std::size_t line) const {
    auto after = std::upper_bound(headers_.begin(), headers_.end(), line);
    if (after == headers_.begin()) return kNoGroup;
    return headerGroup_[static_cast<std::size_t>(after - headers_.begin()) - 1];
}

std::uint32_t IniDocument::FindGroup(std::string_view section) const {
    if (TrimBlanks(section).empty()) return kNoGroup;
    auto it = groupOf_.find(LowerName(section));
    return it == groupOf_.end() ? kNoGroup : it->second;
}

std::size_t IniDocument::FindPair(std::uint32_t group, std::string_view key) const {
    if (group == kNoGroup || pairTable_.empty() || TrimBlanks(key).empty()) return std::string::npos;
    const std::size_t mask = pairTable_.size() - 1;
    for (std::size_t slot = HashOf(group, key) & mask;; slot = (slot + 1) & mask) {
        std::uint32_t entry = pairTable_[slot];
        if (entry == 0) return std::string::npos;
        if (GroupOfLine(entry - 1) == group && SameIniName(NameOf(entry - 1), key)) return entry - 1;
    }
}

std::vector<std::pair<std::size_t, std::size_t>> IniDocument::Blocks(std::uint32_t group) const {
    std::vector<std::pair<std::size_t, std::size_t>> blocks;
    if (group == kNoGroup) return blocks;
    for (std::size_t h = 0; h < headers_.size(); ++h) {
        if (headerGroup_[h] != group) continue;
        std::size_t end = h + 1 < headers_.size() ? headers_[h + 1] : LineCount();
        blocks.emplace_back(headers_[h], end);
    }
    return blocks;
}

std::size_t IniDocument::BodyEnd(std::size_t first, std::size_t end) const {
    if (end >= LineCount()) return end; // the last section owns the end of the file
    while (end > first + 1 && (kind_[end - 1] == Blank || kind_[end - 1] == Comment)) --end;
    return end;
}

std::optional<std::string> IniDocument::Value(std::string_view section, std::string_view key) const {
    std::size_t line = FindPair(FindGroup(section), key);
    if (line == std::string::npos) return std::nullopt;
    return std::string(ValueOf(line).substr(0, kIniMaxValueLength));
}

std::size_t IniDocument::LineOf(std::string_view section, std::string_view key) const {
    std::size_t line = FindPair(FindGroup(section), key);
    return line == std::string::npos ? 0 : line + 1;
}

bool IniDocument::HasSection(std::string_view section) const { return FindGroup(section) != kNoGroup; }

std::vector<std::string> IniDocument::Sections() const { return groupNames_; }

std::vector<std::string> IniDocument::Keys(std::string_view section) const {
    std::vector<std::string> keys;
    const std::uint32_t group = FindGroup(section);
    for (auto [first, end] : Blocks(group)) {
        for (std::size_t i = first + 1; i < end; ++i) {
            if (kind_[i] != Pair) continue;
            std::string_view name = NameOf(i);
            // Each key once: only its first line (the one the index holds).
            if (!name.empty() && FindPair(group, name) == i) keys.emplace_back(name);
        }
    }
    return keys;
}

std::vector<std::string> IniDocument::SectionLines(std::string_view section) const {
    std::vector<std::string> result;
    for (const std::string& key : Keys(section)) result.push_back(key + "=" + *Value(section, key));
    return result;
}

std::size_t IniDocument::OffsetOf(std::size_t line) const { return start_[line]; }

void IniDocument::ReplaceLine(std::size_t line, const std::string& content) {
    std::string_view old = Content(line);
    const std::size_t begin = static_cast<std::size_t>(old.data() - text_.data());
    text_.replace(begin, old.size(), content);
    Reindex();
}

void IniDocument::InsertLines(std::size_t before, const std::vector<std::string>& contents) {
    std::string block;
    std::size_t at = OffsetOf(before);
    // A last line without a line end gets one before lines are added after it.
    if (before == LineCount() && at > bomLength_ && text_[at - 1] != '\n') block += eol_;
    for (const std::string& content : contents) {
        block += content;
        block += eol_;
    }
    text_.insert(at, block);
    Reindex();
}

void IniDocument::EraseLines(std::size_t first, std::size_t end) {
    if (first >= end) return;
    text_.erase(OffsetOf(first), OffsetOf(end) - OffsetOf(first));
    Reindex();
}

void IniDocument::Set(std::string_view section, std::string_view key, std::string_view value) {
    if (TrimBlanks(section).empty() || TrimBlanks(key).empty()) return;
    const std::uint32_t group = FindGroup(section);
    if (std::size_t line = FindPair(group, key); line != std::string::npos) {
        ReplaceLine(line, PairText(NameOf(line), value)); // keep the file's spelling of the key
        return;
    }
    auto blocks = Blocks(group);
    if (!blocks.empty()) {
        auto [first, end] = blocks.front();
        std::size_t at = first + 1;
        for (std::size_t i = first + 1; i < end; ++i)
            if (kind_[i] == Pair || kind_[i] == Other) at = i + 1;
        InsertLines(at, {PairText(key, value)});
        return;
    }
    std::vector<std::string> added;
    if (LineCount() > 0 && kind_.back() != Blank) added.emplace_back();
    added.push_back("[" + std::string(TrimBlanks(section)) + "]");
    added.push_back(PairText(key, value));
    InsertLines(LineCount(), added);
}

void IniDocument::SetLines(std::string_view section, const std::vector<std::string>& lines) {
    for (auto& [key, value] : SplitLines(lines)) Set(section, key, value);
}

void IniDocument::EraseSection(std::string_view section) {
    auto blocks = Blocks(FindGroup(section));
    if (blocks.empty()) return;
    // All occurrences go in one pass over the text.
    std::string kept;
    kept.reserve(text_.size());
    std::size_t from = 0;
    for (auto [first, end] : blocks) {
        kept.append(text_, from, OffsetOf(first) - from);
        from = OffsetOf(BodyEnd(first, end));
    }
    kept.append(text_, from, std::string::npos);
    text_ = std::move(kept);
    Reindex();
}

void IniDocument::ReplaceSection(std::string_view section, const std::vector<std::string>& lines) {
    if (TrimBlanks(section).empty()) return;
    auto blocks = Blocks(FindGroup(section));
    if (blocks.empty()) {
        SetLines(section, lines);
        return;
    }
    // A key given twice keeps its first position and its last value.
    std::vector<std::pair<std::string, std::string>> pairs;
    for (auto& pair : SplitLines(lines)) {
        auto same = std::find_if(pairs.begin(), pairs.end(),
                                 [&](const auto& p) { return SameIniName(p.first, pair.first); });
        if (same != pairs.end())
            same->second = pair.second;
        else
            pairs.push_back(std::move(pair));
    }
    std::string body;
    for (auto& [key, value] : pairs) {
        body += PairText(key, value);
        body += eol_;
    }
    // Later duplicates go; the first occurrence is refilled where it stands.
    std::string kept;
    kept.reserve(text_.size() + body.size());
    std::size_t from = 0;
    for (std::size_t b = 0; b < blocks.size(); ++b) {
        auto [first, end] = blocks[b];
        if (b == 0) {
            kept.append(text_, from, OffsetOf(first + 1) - from);
            // The header may be the last line, without a line end.
            if (!kept.empty() && kept.back() != '\n' && !body.empty()) kept += eol_;
            kept += body;
        } else {
            kept.append(text_, from, OffsetOf(first) - from);
        }
        from = OffsetOf(BodyEnd(first, end));
    }
    kept.append(text_, from, std::string::npos);
    text_ = std::move(kept);
    Reindex();
}

} // namespace dvx
