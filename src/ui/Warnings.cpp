// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/Warnings.h"

#include "common/Format.h"
#include "hydraulics/Calc.h"

namespace dvx::ui {

const char* WarningText(int warning) {
    switch (warning) {
    case wnNone: return "Flow OK";
    case wnGradient: return "High dP Rate";
    case wnVelocity: return "High Velocity";
    default: return "";
    }
}

std::vector<TWarningLine> BuildWarningList(const TCircuit& circuit) {
    std::vector<TWarningLine> lines;
    for (const auto& item : circuit.Items) {
        if (item->Kind() == TItemKind::User) continue;
        auto* pipe = static_cast<TPipe*>(item.get());
        if (pipe->Warning == wnNone) continue;
        lines.push_back({Format("%3d: %s %s", {pipe->Number, pipe->Description, WarningText(pipe->Warning)}), pipe});
    }
    return lines;
}

std::string WarningDetail(const TPipe& item) {
    return Format("%3d: %s %0.4g kPa %0.1f m/s %0.1f m %0.4g kPa/m",
                  {item.Number, item.Description, item.PressureDrop * 0.001, item.Velocity, item.Length,
                   item.Gradient * 0.001});
}

} // namespace dvx::ui
