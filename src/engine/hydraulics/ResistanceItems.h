// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Items given by a resistance rather than a length: a fixed resistance
// coefficient K on the item's bore (TKItem: entrances, exits, changes of
// bore, anything a maker gives as K) and a valve given by its flow
// coefficient Kv (TValve: control and balancing valves, strainers). Both
// have a velocity (the velocity warning applies) but no length, so no
// gradient and no liquid volume of their own, and both drop with the square
// of the flow.

#include "engine/hydraulics/Items.h"

namespace dvx {

class TResistanceItem : public TBranch {
public:
    std::uint8_t Warning = wnNone; // TWarning of the last calculation: velocity only
    double Area = 0;               // m², flow area
    double Reynolds = 0;           // —
    double Velocity = 0;           // m/s, mean velocity

    // —, the resistance coefficient on the item's bore in the project's liquid.
    virtual double ResistanceK(const TProjectContext& project) const = 0;

    using TBranch::DropAtRatio;
    using TBranch::Process;
    void Process(const TProjectContext& project) override;
    // The calculated drop scaled with s²: K does not depend on the flow.
    double DropAtRatio(const TProjectContext& project, double s) const override;

protected:
    explicit TResistanceItem(const TProjectContext& project) : TBranch(project) {}
};

class TKItem : public TResistanceItem {
public:
    explicit TKItem(const TProjectContext& project);

    double K = 1; // —, on the item's bore

    TItemKind Kind() const override { return TItemKind::KItem; }
    double ResistanceK(const TProjectContext&) const override { return K; }
    // Flow above zero, and K a number above zero.
    bool ValidData(int& column) const override;
};

class TValve : public TResistanceItem {
public:
    explicit TValve(const TProjectContext& project);

    double Kv = 10; // m³/h at 1 bar of water

    TItemKind Kind() const override { return TItemKind::Valve; }
    double ResistanceK(const TProjectContext& project) const override;
    // Flow above zero, and Kv a number above zero.
    bool ValidData(int& column) const override;
};

} // namespace dvx
