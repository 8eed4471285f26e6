// SPDX-License-Identifier: GPL-3.0-or-later
#include "CodeNames.h"

#include "Args.h"
#include "CircuitOutput.h"

#include "base/Numbers.h"
#include "engine/catalogue/Tables.h"
#include "engine/fluid/Fluid.h"

#include <cctype>

namespace dvx::cli {

const std::array<const char*, 4> kAdditiveCaptions = {"None", "Ethylene Glycol", "Propylene Glycol",
                                                      "Calcium Chloride"};

namespace {

// "Freon - Liquid R12" → "freon-liquid-r12": lower case, every run of other
// characters one hyphen.
std::string OptionName(const std::string& caption) {
    std::string name;
    for (unsigned char c : caption) {
        if (std::isalnum(c)) name += static_cast<char>(std::tolower(c));
        else if (!name.empty() && name.back() != '-') name += '-';
    }
    while (!name.empty() && name.back() == '-') name.pop_back();
    return name;
}

std::vector<std::string> OptionNames(const auto& captions) {
    std::vector<std::string> names;
    for (const auto& caption : captions) names.push_back(OptionName(caption));
    return names;
}

// Letters and digits only, lower case: what two spellings must share.
std::string Key(const std::string& text) {
    std::string key;
    for (unsigned char c : text)
        if (std::isalnum(c)) key += static_cast<char>(std::tolower(c));
    return key;
}

} // namespace

const std::vector<std::string>& MaterialOptionNames() {
    static const std::vector<std::string> names = [] {
        std::vector<std::string> captions;
        for (int m = 0; m < MaterialCount; ++m) captions.push_back(MaterialName(m));
        return OptionNames(captions);
    }();
    return names;
}

const std::vector<std::string>& LiquidOptionNames() {
    static const std::vector<std::string> names = OptionNames(LiquidNames);
    return names;
}

const std::vector<std::string>& AdditiveOptionNames() {
    // The fluid sheet's captions ("Ethylene Glycol"); the stored names
    // ("EthyleneGlycol") have the same letters.
    static const std::vector<std::string> names = OptionNames(kAdditiveCaptions);
    return names;
}

int CodeOrName(const std::string& option, const std::string& text, const std::vector<std::string>& names) {
    const int count = static_cast<int>(names.size());
    if (const auto code = TryStrToInt(text)) {
        if (*code >= 0 && *code < count) return *code;
    } else if (const std::string key = Key(text); !key.empty()) {
        for (int i = 0; i < count; ++i)
            if (Key(names[static_cast<std::size_t>(i)]) == key) return i;
    }
    std::string accepted;
    for (const std::string& name : names) accepted += (accepted.empty() ? "" : ", ") + name;
    throw UsageError(option + ": '" + text + "' is neither a code 0 to " + std::to_string(count - 1) +
                     " nor a name (" + accepted + ")");
}

} // namespace dvx::cli
