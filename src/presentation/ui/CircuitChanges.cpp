// SPDX-License-Identifier: GPL-3.0-or-later
#include "presentation/ui/CircuitChanges.h"

#include <algorithm>
#include <stdexcept>

namespace dvx {

namespace {

bool SameBranch(const TBranch& a, const TBranch& b) {
    return a.Description == b.Description && a.TypeName == b.TypeName && a.InsideDiameter == b.InsideDiameter &&
           a.Friction == b.Friction && a.Flow == b.Flow && a.PressureDrop == b.PressureDrop && a.Volume == b.Volume &&
           a.Number == b.Number && a.Group == b.Group && a.BoreIndex == b.BoreIndex && a.InIndex == b.InIndex;
}

bool SamePipe(const TPipe& a, const TPipe& b) {
    return SameBranch(a, b) && a.Warning == b.Warning && a.Area == b.Area && a.Reynolds == b.Reynolds &&
           a.Velocity == b.Velocity && a.Length == b.Length && a.Gradient == b.Gradient;
}

bool SameResistance(const TResistanceItem& a, const TResistanceItem& b) {
    return SameBranch(a, b) && a.Warning == b.Warning && a.Area == b.Area && a.Reynolds == b.Reynolds &&
           a.Velocity == b.Velocity;
}

} // namespace

std::unique_ptr<TBranch> CloneItem(const TBranch& item) {
    switch (item.Kind()) {
    case TItemKind::Pipe: return std::make_unique<TPipe>(static_cast<const TPipe&>(item));
    case TItemKind::Fitting: return std::make_unique<TFitting>(static_cast<const TFitting&>(item));
    case TItemKind::User: return std::make_unique<TUser>(static_cast<const TUser&>(item));
    case TItemKind::KItem: return std::make_unique<TKItem>(static_cast<const TKItem&>(item));
    case TItemKind::Valve: return std::make_unique<TValve>(static_cast<const TValve&>(item));
    }
    throw std::invalid_argument("unknown item kind");
}

bool SameItem(const TBranch& a, const TBranch& b) {
    if (a.Kind() != b.Kind()) return false;
    switch (a.Kind()) {
    case TItemKind::Pipe: return SamePipe(static_cast<const TPipe&>(a), static_cast<const TPipe&>(b));
    case TItemKind::Fitting: {
        const auto& fa = static_cast<const TFitting&>(a);
        const auto& fb = static_cast<const TFitting&>(b);
        return SamePipe(fa, fb) && fa.FittingType == fb.FittingType && fa.EquivLength == fb.EquivLength &&
               fa.Quantity == fb.Quantity && fa.C == fb.C;
    }
    case TItemKind::User: return SameBranch(a, b);
    case TItemKind::KItem:
        return SameResistance(static_cast<const TKItem&>(a), static_cast<const TKItem&>(b)) &&
               static_cast<const TKItem&>(a).K == static_cast<const TKItem&>(b).K;
    case TItemKind::Valve:
        return SameResistance(static_cast<const TValve&>(a), static_cast<const TValve&>(b)) &&
               static_cast<const TValve&>(a).Kv == static_cast<const TValve&>(b).Kv;
    }
    return false;
}

void AssignItem(TBranch& target, const TBranch& source) {
    if (target.Kind() != source.Kind()) throw std::invalid_argument("items of different kinds");
    switch (source.Kind()) {
    case TItemKind::Pipe: static_cast<TPipe&>(target) = static_cast<const TPipe&>(source); break;
    case TItemKind::Fitting: static_cast<TFitting&>(target) = static_cast<const TFitting&>(source); break;
    case TItemKind::User: static_cast<TUser&>(target) = static_cast<const TUser&>(source); break;
    case TItemKind::KItem: static_cast<TKItem&>(target) = static_cast<const TKItem&>(source); break;
    case TItemKind::Valve: static_cast<TValve&>(target) = static_cast<const TValve&>(source); break;
    }
}

TItemCopies CopyItems(const TCircuit& circuit) {
    TItemCopies copies;
    copies.reserve(circuit.Items.size());
    for (const auto& item : circuit.Items) copies.push_back(CloneItem(*item));
    return copies;
}

// --- TValueChange ---

template <class TAt>
TValueChange TValueChange::Differences(const TItemCopies& before, int count, TAt after) {
    if (static_cast<int>(before.size()) != count) throw std::invalid_argument("a value change keeps the number of items");
    TValueChange change;
    for (int i = 0; i < count; ++i) {
        const TBranch& now = after(i);
        const TBranch& was = *before[static_cast<std::size_t>(i)];
        if (SameItem(was, now)) continue;
        if (was.Kind() != now.Kind()) throw std::invalid_argument("a value change keeps the kind of each item");
        change.entries_.push_back({i, CloneItem(was), CloneItem(now)});
    }
    return change;
}

TValueChange TValueChange::Between(const TItemCopies& before, const TCircuit& after) {
    return Differences(before, after.Count(), [&after](int i) -> const TBranch& { return after.Item(i); });
}

TValueChange TValueChange::Between(const TItemCopies& before, const TItemCopies& after) {
    return Differences(before, static_cast<int>(after.size()),
                       [&after](int i) -> const TBranch& { return *after[static_cast<std::size_t>(i)]; });
}

std::vector<int> TValueChange::Positions() const {
    std::vector<int> positions;
    for (const TEntry& e : entries_) positions.push_back(e.Position);
    return positions;
}

void TValueChange::Undo(TCircuit& circuit) const {
    for (const TEntry& e : entries_) AssignItem(circuit.Item(e.Position), *e.Before);
}

void TValueChange::Redo(TCircuit& circuit) const {
    for (const TEntry& e : entries_) AssignItem(circuit.Item(e.Position), *e.After);
}

// --- TSortState ---

TSortState TSortState::Of(const TCircuit& circuit) {
    return {circuit.SortAscending, circuit.SortKey, circuit.SecondKey};
}

void TSortState::ApplyTo(TCircuit& circuit) const {
    circuit.SortAscending = Ascending;
    circuit.SortKey = Key;
    circuit.SecondKey = SecondKey;
}

// --- TOrderChange ---

TOrderChange::TOrder TOrderChange::OrderOf(const TCircuit& circuit) {
    TOrder order;
    order.reserve(circuit.Items.size());
    for (const auto& item : circuit.Items) order.push_back(item.get());
    return order;
}

TOrderChange TOrderChange::Between(const TOrder& before, const TSortState& sortBefore, const TCircuit& after) {
    if (static_cast<int>(before.size()) != after.Count())
        throw std::invalid_argument("an order change keeps the items");
    // Position before the change of each item, by identity.
    std::vector<std::pair<const TBranch*, int>> was;
    was.reserve(before.size());
    for (std::size_t i = 0; i < before.size(); ++i) was.emplace_back(before[i], static_cast<int>(i));
    std::sort(was.begin(), was.end());
    TOrderChange change;
    change.sortBefore_ = sortBefore;
    change.sortAfter_ = TSortState::Of(after);
    std::vector<bool> taken(before.size(), false);
    for (const auto& item : after.Items) {
        auto hit = std::lower_bound(was.begin(), was.end(), std::make_pair(static_cast<const TBranch*>(item.get()), -1));
        if (hit == was.end() || hit->first != item.get() || taken[static_cast<std::size_t>(hit->second)])
            throw std::invalid_argument("an order change keeps the items");
        taken[static_cast<std::size_t>(hit->second)] = true;
        change.after_.push_back(hit->second);
    }
    return change;
}

bool TOrderChange::Empty() const {
    for (std::size_t i = 0; i < after_.size(); ++i)
        if (after_[i] != static_cast<int>(i)) return false;
    return sortBefore_ == sortAfter_;
}

void TOrderChange::Undo(TCircuit& circuit) const {
    if (circuit.Items.size() != after_.size()) throw std::invalid_argument("the circuit no longer holds these items");
    std::vector<std::unique_ptr<TBranch>> items(after_.size());
    for (std::size_t i = 0; i < after_.size(); ++i)
        items[static_cast<std::size_t>(after_[i])] = std::move(circuit.Items[i]);
    circuit.Items = std::move(items);
    sortBefore_.ApplyTo(circuit);
}

void TOrderChange::Redo(TCircuit& circuit) const {
    if (circuit.Items.size() != after_.size()) throw std::invalid_argument("the circuit no longer holds these items");
    std::vector<std::unique_ptr<TBranch>> items(after_.size());
    for (std::size_t i = 0; i < after_.size(); ++i)
        items[i] = std::move(circuit.Items[static_cast<std::size_t>(after_[i])]);
    circuit.Items = std::move(items);
    sortAfter_.ApplyTo(circuit);
}

// --- TPlacement ---

TPlacement::TPlacement(int position, const TBranch& item) : position_(position) {
    copies_.push_back(CloneItem(item));
}

TPlacement::TPlacement(int position, const std::vector<const TBranch*>& items) : position_(position) {
    for (const TBranch* item : items) copies_.push_back(CloneItem(*item));
}

void TPlacement::PutIn(TCircuit& circuit) const {
    if (position_ < 0 || position_ > circuit.Count()) throw std::out_of_range("placement outside the item list");
    std::vector<std::unique_ptr<TBranch>> items;
    for (const auto& copy : copies_) items.push_back(CloneItem(*copy));
    circuit.InsertRange(position_, std::move(items));
}

void TPlacement::TakeOut(TCircuit& circuit) const {
    if (position_ < 0 || position_ + Size() > circuit.Count()) throw std::out_of_range("placement outside the item list");
    for (int i = 0; i < Size(); ++i) circuit.Remove(position_);
}

// --- TProjectDetails ---

TProjectDetails TProjectDetails::Of(const TCircuit& circuit) {
    return {circuit.DescriptionLines, circuit.Author, circuit.Company};
}

void TProjectDetails::ApplyTo(TCircuit& circuit) const {
    circuit.DescriptionLines = DescriptionLines;
    circuit.Author = Author;
    circuit.Company = Company;
}

} // namespace dvx
