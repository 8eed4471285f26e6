// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/hydraulics/ItemValue.h"

#include "engine/hydraulics/ResistanceItems.h"

namespace dvx {

std::optional<double> ItemValue(const TBranch& item) {
    switch (item.Kind()) {
    case TItemKind::Pipe: return static_cast<const TPipe&>(item).Length;
    case TItemKind::Fitting: return static_cast<const TFitting&>(item).Quantity;
    case TItemKind::KItem: return static_cast<const TKItem&>(item).K;
    case TItemKind::Valve: return static_cast<const TValve&>(item).Kv;
    case TItemKind::User: break;
    }
    return std::nullopt;
}

} // namespace dvx
