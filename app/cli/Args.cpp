// SPDX-License-Identifier: GPL-3.0-or-later
#include "Args.h"

#include "common/Numbers.h"

namespace dvx::cli {

bool Args::Flag(const std::string& name) {
    bool found = false;
    for (std::size_t i = 0; i < args_.size(); ++i)
        if (!used_[i] && args_[i] == name) used_[i] = found = true;
    return found;
}

std::optional<std::string> Args::Value(const std::string& name) {
    std::vector<std::string> all = Values(name);
    if (all.empty()) return std::nullopt;
    return all.back();
}

std::vector<std::string> Args::Values(const std::string& name) {
    std::vector<std::string> values;
    for (std::size_t i = 0; i < args_.size(); ++i) {
        if (used_[i] || args_[i] != name) continue;
        if (i + 1 >= args_.size()) throw UsageError(name + " needs a value");
        used_[i] = used_[i + 1] = true;
        values.push_back(args_[i + 1]);
        ++i;
    }
    return values;
}

std::optional<double> Args::Number(const std::string& name) {
    auto text = Value(name);
    if (!text) return std::nullopt;
    auto v = TryStrToFloat(*text);
    if (!v) throw UsageError(name + ": '" + *text + "' is not a number");
    return v;
}

std::optional<int> Args::Integer(const std::string& name) {
    auto text = Value(name);
    if (!text) return std::nullopt;
    auto v = TryStrToInt(*text);
    if (!v) throw UsageError(name + ": '" + *text + "' is not a whole number");
    return v;
}

std::vector<std::string> Args::Positionals() {
    std::vector<std::string> out;
    for (std::size_t i = 0; i < args_.size(); ++i) {
        if (used_[i] || (args_[i].size() > 2 && args_[i].rfind("--", 0) == 0)) continue;
        used_[i] = true;
        out.push_back(args_[i]);
    }
    return out;
}

void Args::RequireAllUsed() const {
    for (std::size_t i = 0; i < args_.size(); ++i)
        if (!used_[i]) throw UsageError("unexpected argument '" + args_[i] + "'");
}

} // namespace dvx::cli
