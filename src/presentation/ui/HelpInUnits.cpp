// SPDX-License-Identifier: GPL-3.0-or-later
#include "presentation/ui/HelpInUnits.h"

#include "engine/units/Quantities.h"

namespace dvx {

namespace {

constexpr std::string_view kOpen = "<span id=\"units-in-force\">";
constexpr std::string_view kClose = "</span>";

// Unit labels and file URLs are plain text: only the characters HTML gives
// a meaning are escaped.
std::string Escaped(std::string_view text) {
    std::string out;
    for (char c : text) {
        switch (c) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '"': out += "&quot;"; break;
        default: out += c;
        }
    }
    return out;
}

} // namespace

std::string GridUnitsText(const TUnitChoice& units) {
    return std::string("flow ") + units.Unit(qtFlow).Label + ", bore " + units.Unit(qtPipeSize).Label +
           ", length " + units.Unit(qtLength).Label + ", pressure drop " + units.Unit(qtPressureDrop).Label;
}

std::optional<std::string> HelpPageInUnits(std::string_view page, const TUnitChoice& units,
                                           std::string_view pageFolderUrl) {
    if (units.MatchingPreset() == upSI) return std::nullopt;
    std::string out(page);
    const std::size_t open = out.find(kOpen);
    const std::size_t close = open == std::string::npos ? open : out.find(kClose, open + kOpen.size());
    if (close != std::string::npos) {
        const std::optional<TUnitPreset> preset = units.MatchingPreset();
        const std::string which = preset ? std::string(PresetName(*preset)) + " units" : "your own choice of units";
        const std::string sentence = "now " + which + " (" + GridUnitsText(units) +
                                     "); SI, US customary units or a unit of your choice per quantity can be "
                                     "chosen there";
        const std::size_t from = open + kOpen.size();
        out.replace(from, close - from, Escaped(sentence));
    }
    // The copy lives elsewhere: its relative links are resolved against the shipped page's folder.
    const std::size_t head = out.find("<head>");
    if (head != std::string::npos)
        out.insert(head + 6, "\n<base href=\"" + Escaped(pageFolderUrl) + "\">");
    return out;
}

} // namespace dvx
