// SPDX-License-Identifier: GPL-3.0-or-later
#include "storage/settings/InstallDataConfirm.h"

#include <algorithm>
#include <cctype>

namespace dvx {

namespace {

struct KeyValue {
    std::string Key;
    std::string Value;
};

std::string Trimmed(const std::string& text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string::npos) return {};
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

// The key=value lines after the "[section]" line.
std::vector<KeyValue> Pairs(const std::vector<std::string>& lines) {
    std::vector<KeyValue> pairs;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::string& line = lines[i];
        if (i == 0 && !line.empty() && line.front() == '[') continue;
        const auto equals = line.find('=');
        if (equals == std::string::npos) continue;
        pairs.push_back({Trimmed(line.substr(0, equals)), line.substr(equals + 1)});
    }
    return pairs;
}

const KeyValue* Find(const std::vector<KeyValue>& pairs, const std::string& key) {
    const std::string wanted = Lower(key);
    for (const KeyValue& p : pairs)
        if (Lower(p.Key) == wanted) return &p;
    return nullptr;
}

} // namespace

std::string SectionOf(const TConfirmChange& change) {
    for (const auto* lines : {&change.InstallLines, &change.UserLines}) {
        if (lines->empty()) continue;
        const std::string& first = lines->front();
        if (first.size() >= 2 && first.front() == '[' && first.back() == ']') return first.substr(1, first.size() - 2);
    }
    return {};
}

std::vector<TKeyDifference> DifferingKeys(const TConfirmChange& change) {
    const std::vector<KeyValue> yours = Pairs(change.UserLines);
    const std::vector<KeyValue> shipped = Pairs(change.InstallLines);
    std::vector<TKeyDifference> differences;
    for (const KeyValue& s : shipped) {
        const KeyValue* y = Find(yours, s.Key);
        if (y == nullptr) differences.push_back({s.Key, {}, s.Value, false, true});
        else if (Lower(y->Value) != Lower(s.Value)) differences.push_back({s.Key, y->Value, s.Value, true, true});
    }
    // Keys only the user has are lost when the section is replaced.
    for (const KeyValue& y : yours)
        if (Find(shipped, y.Key) == nullptr) differences.push_back({y.Key, y.Value, {}, true, false});
    return differences;
}

} // namespace dvx
