// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// An in-memory settings section store for style tests.

#include "base/Numbers.h"
#include "presentation/report/StyleStorage.h"

#include <map>
#include <string>
#include <utility>

namespace dvx::test {

class MemoryStorage : public TStyleStorage {
public:
    std::string ReadText(std::string_view s, std::string_view k, std::string_view def) override {
        auto it = values.find({std::string(s), std::string(k)});
        return it == values.end() ? std::string(def) : it->second;
    }
    int ReadInt(std::string_view s, std::string_view k, int def) override {
        auto it = values.find({std::string(s), std::string(k)});
        if (it == values.end()) return def;
        auto v = TryStrToInt(it->second);
        return v ? *v : def;
    }
    void WriteText(std::string_view s, std::string_view k, std::string_view v) override {
        values[{std::string(s), std::string(k)}] = std::string(v);
    }
    void WriteInt(std::string_view s, std::string_view k, int v) override {
        values[{std::string(s), std::string(k)}] = std::to_string(v);
    }
    bool Has(std::string_view s, std::string_view k) const {
        return values.count({std::string(s), std::string(k)}) != 0;
    }
    std::string Get(std::string_view s, std::string_view k) const {
        return values.at({std::string(s), std::string(k)});
    }

    std::map<std::pair<std::string, std::string>, std::string> values;
};

} // namespace dvx::test
