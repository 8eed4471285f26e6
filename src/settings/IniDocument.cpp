// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/IniDocument.h"

#include "common/Numbers.h"

namespace dvx {

namespace {

char Lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

} // namespace

bool SameIniName(std::string_view a, std::string_view b) {
    a = TrimBlanks(a);
    b = TrimBlanks(b);
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (Lower(a[i]) != Lower(b[i])) return false;
    return true;
}

IniDocument::Line IniDocument::Classify(std::string text) {
    Line line;
    std::string_view t = TrimBlanks(text);
    if (t.empty()) {
        line.kind = Kind::Blank;
    } else if (t.front() == ';' || t.front() == '#') {
        line.kind = Kind::Comment;
    } else if (t.front() == '[') {
        line.kind = Kind::Section;
        std::string_view inner = t.substr(1);
        auto close = inner.find(']');
        line.name = std::string(TrimBlanks(inner.substr(0, close)));
    } else if (auto eq = t.find('='); eq != std::string_view::npos) {
        line.kind = Kind::Pair;
        line.name = std::string(TrimBlanks(t.substr(0, eq)));
        line.value = std::string(TrimBlanks(t.substr(eq + 1)));
    }
    line.text = std::move(text);
    return line;
}

IniDocument::Line IniDocument::PairLine(std::string_view key, std::string_view value) {
    std::string text(TrimBlanks(key));
    text += '=';
    text += TrimBlanks(value);
    return Classify(std::move(text));
}

IniDocument IniDocument::Parse(std::string_view text) {
    IniDocument doc;
    if (text.substr(0, 3) == "\xEF\xBB\xBF") {
        doc.bom_ = true;
        text.remove_prefix(3);
    }
    bool eolKnown = false;
    while (!text.empty()) {
        auto nl = text.find('\n');
        std::string_view raw = text.substr(0, nl);
        text.remove_prefix(nl == std::string_view::npos ? text.size() : nl + 1);
        bool cr = !raw.empty() && raw.back() == '\r';
        if (cr) raw.remove_suffix(1);
        if (!eolKnown && nl != std::string_view::npos) {
            doc.eol_ = cr ? "\r\n" : "\n";
            eolKnown = true;
        }
        doc.lines_.push_back(Classify(std::string(raw)));
    }
    return doc;
}

std::string IniDocument::Text() const {
    std::string out = bom_ ? "\xEF\xBB\xBF" : "";
    for (const Line& line : lines_) {
        out += line.text;
        out += eol_;
    }
    return out;
}

std::vector<std::pair<std::size_t, std::size_t>> IniDocument::Blocks(std::string_view section) const {
    std::vector<std::pair<std::size_t, std::size_t>> blocks;
    if (TrimBlanks(section).empty()) return blocks;
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        if (lines_[i].kind != Kind::Section || !SameIniName(lines_[i].name, section)) continue;
        std::size_t end = i + 1;
        while (end < lines_.size() && lines_[end].kind != Kind::Section) ++end;
        blocks.emplace_back(i, end);
        i = end - 1;
    }
    return blocks;
}

std::size_t IniDocument::BodyEnd(std::size_t first, std::size_t end) const {
    if (end >= lines_.size()) return end; // the last section owns the end of the file
    while (end > first + 1 &&
           (lines_[end - 1].kind == Kind::Blank || lines_[end - 1].kind == Kind::Comment))
        --end;
    return end;
}

std::optional<std::string> IniDocument::Value(std::string_view section, std::string_view key) const {
    if (TrimBlanks(key).empty()) return std::nullopt;
    for (auto [first, end] : Blocks(section)) {
        for (std::size_t i = first + 1; i < end; ++i) {
            const Line& line = lines_[i];
            if (line.kind == Kind::Pair && SameIniName(line.name, key))
                return line.value.substr(0, kIniMaxValueLength);
        }
    }
    return std::nullopt;
}

bool IniDocument::HasSection(std::string_view section) const { return !Blocks(section).empty(); }

std::vector<std::string> IniDocument::Sections() const {
    std::vector<std::string> names;
    for (const Line& line : lines_) {
        if (line.kind != Kind::Section || line.name.empty()) continue;
        bool known = false;
        for (const std::string& n : names) known = known || SameIniName(n, line.name);
        if (!known) names.push_back(line.name);
    }
    return names;
}

std::vector<std::string> IniDocument::Keys(std::string_view section) const {
    std::vector<std::string> keys;
    for (auto [first, end] : Blocks(section)) {
        for (std::size_t i = first + 1; i < end; ++i) {
            const Line& line = lines_[i];
            if (line.kind != Kind::Pair || line.name.empty()) continue;
            bool known = false;
            for (const std::string& k : keys) known = known || SameIniName(k, line.name);
            if (!known) keys.push_back(line.name);
        }
    }
    return keys;
}

std::vector<std::string> IniDocument::SectionLines(std::string_view section) const {
    std::vector<std::string> result;
    for (const std::string& key : Keys(section)) result.push_back(key + "=" + *Value(section, key));
    return result;
}

void IniDocument::Set(std::string_view section, std::string_view key, std::string_view value) {
    if (TrimBlanks(section).empty() || TrimBlanks(key).empty()) return;
    auto blocks = Blocks(section);
    for (auto [first, end] : blocks) {
        for (std::size_t i = first + 1; i < end; ++i) {
            Line& line = lines_[i];
            if (line.kind == Kind::Pair && SameIniName(line.name, key)) {
                line = PairLine(line.name, value); // keep the file's spelling of the key
                return;
            }
        }
    }
    if (!blocks.empty()) {
        auto [first, end] = blocks.front();
        std::size_t at = first + 1;
        for (std::size_t i = first + 1; i < end; ++i)
            if (lines_[i].kind == Kind::Pair || lines_[i].kind == Kind::Other) at = i + 1;
        lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(at), PairLine(key, value));
        return;
    }
    if (!lines_.empty() && lines_.back().kind != Kind::Blank) lines_.push_back(Classify(""));
    lines_.push_back(Classify("[" + std::string(TrimBlanks(section)) + "]"));
    lines_.push_back(PairLine(key, value));
}

namespace {

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

} // namespace

void IniDocument::SetLines(std::string_view section, const std::vector<std::string>& lines) {
    for (auto& [key, value] : SplitLines(lines)) Set(section, key, value);
}

void IniDocument::EraseSection(std::string_view section) {
    auto blocks = Blocks(section);
    for (auto it = blocks.rbegin(); it != blocks.rend(); ++it) {
        auto [first, end] = *it;
        std::size_t bodyEnd = BodyEnd(first, end);
        lines_.erase(lines_.begin() + static_cast<std::ptrdiff_t>(first),
                     lines_.begin() + static_cast<std::ptrdiff_t>(bodyEnd));
    }
}

void IniDocument::ReplaceSection(std::string_view section, const std::vector<std::string>& lines) {
    if (TrimBlanks(section).empty()) return;
    auto blocks = Blocks(section);
    if (blocks.empty()) {
        SetLines(section, lines);
        return;
    }
    // Later duplicates go; the first occurrence is refilled where it stands.
    for (std::size_t b = blocks.size(); b-- > 1;) {
        auto [first, end] = blocks[b];
        lines_.erase(lines_.begin() + static_cast<std::ptrdiff_t>(first),
                     lines_.begin() + static_cast<std::ptrdiff_t>(BodyEnd(first, end)));
    }
    auto [first, end] = blocks.front();
    std::size_t bodyEnd = BodyEnd(first, end);
    lines_.erase(lines_.begin() + static_cast<std::ptrdiff_t>(first + 1),
                 lines_.begin() + static_cast<std::ptrdiff_t>(bodyEnd));
    std::size_t at = first + 1;
    for (auto& [key, value] : SplitLines(lines)) {
        // A key given twice keeps its first position and its last value.
        bool done = false;
        for (std::size_t i = first + 1; i < at && !done; ++i) {
            if (SameIniName(lines_[i].name, key)) {
                lines_[i] = PairLine(lines_[i].name, value);
                done = true;
            }
        }
        if (!done) lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(at++), PairLine(key, value));
    }
}

} // namespace dvx
