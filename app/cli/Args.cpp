// SPDX-License-Identifier: GPL-3.0-or-later
#include "Args.h"

#include "base/Numbers.h"

namespace dvx::cli {
namespace {
bool IsNumber(const std::string& text) { return TryStrToFloat(text).has_value(); }
} // namespace

Args::Args(const std::vector<std::string>& args) {
    for (const std::string& a : args) {
        const std::size_t eq = a.find('=');
        if (a.size() > 2 && a.rfind("--", 0) == 0 && eq != std::string::npos && eq > 2) {
            args_.push_back(a.substr(0, eq));
            args_.push_back(a.substr(eq + 1));
            joined_.push_back(false);
            joined_.push_back(true);
        } else {
            args_.push_back(a);
            joined_.push_back(false);
        }
    }
    used_.assign(args_.size(), false);
}

bool AsksForHelp(const std::vector<std::string>& args) {
    for (const std::string& a : args)
        if (a == "--help" || a == "-h") return true;
    return false;
}

std::optional<std::string> TakeOutputOption(std::vector<std::string>& args) {
    std::optional<std::string> file;
    std::vector<std::string> rest;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a.rfind("--output=", 0) == 0) {
            file = a.substr(9);
        } else if (a == "-o" || a == "--output") {
            if (i + 1 >= args.size()) throw UsageError(a + " needs a file name");
            file = args[++i];
        } else {
            rest.push_back(a);
            continue;
        }
        if (file->empty()) throw UsageError(a + " needs a file name");
    }
    args = std::move(rest);
    return file;
}

bool Args::Flag(const std::string& name) {
    bool found = false;
    for (std::size_t i = 0; i < args_.size(); ++i)
        if (!used_[i] && !joined_[i] && args_[i] == name) {
            used_[i] = found = true;
            // "--flag=value": a flag takes no value.
            if (i + 1 < args_.size() && joined_[i + 1]) throw UsageError(name + " takes no value");
        }
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
        if (used_[i] || joined_[i] || args_[i] != name) continue;
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
        if (used_[i] || (!joined_[i] && args_[i].size() > 1 && args_[i][0] == '-' && !IsNumber(args_[i])))
            continue;
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
