// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What a change to the circuit stores so that it can be taken back and done
// again, without any toolkit. Each kind of change keeps only what it needs:
// the values of the items it changed, the new order of the same items, or
// copies of the items it put in or took out. The undo commands of the main
// window (ui/qt/undo/) wrap these.

#include "base/TextLines.h"
#include "engine/hydraulics/Calc.h"

#include <array>
#include <memory>
#include <string>
#include <vector>

namespace dvx {

// A copy of an item of the same kind with every field.
std::unique_ptr<TBranch> CloneItem(const TBranch& item);
// True when both items are of one kind and hold the same values.
bool SameItem(const TBranch& a, const TBranch& b);
// Every field of source into target; both must be of the same kind
// (std::invalid_argument otherwise). The target keeps its identity, so
// windows that point at it stay valid.
void AssignItem(TBranch& target, const TBranch& source);

using TItemCopies = std::vector<std::unique_ptr<TBranch>>;
// Copies of every item of the circuit, in list order.
TItemCopies CopyItems(const TCircuit& circuit);

// New values of items that kept their places (cell edits, renumbering,
// sizes and flows chosen for the items).
class TValueChange {
public:
    // The items whose values differ between `before` (copies taken earlier)
    // and the circuit now. Both must list the same number of items.
    static TValueChange Between(const TItemCopies& before, const TCircuit& after);
    // The same between two lists of copies: new values worked out on copies
    // of the items, before anything in the circuit changes.
    static TValueChange Between(const TItemCopies& before, const TItemCopies& after);
    bool Empty() const { return entries_.empty(); }
    // Positions of the changed items, in list order.
    std::vector<int> Positions() const;
    void Undo(TCircuit& circuit) const;
    void Redo(TCircuit& circuit) const;

private:
    template <class TAt>
    static TValueChange Differences(const TItemCopies& before, int count, TAt after);
    struct TEntry {
        int Position;
        std::unique_ptr<TBranch> Before;
        std::unique_ptr<TBranch> After;
    };
    std::vector<TEntry> entries_;
};

// The sort state a circuit keeps between sorts (sorting twice by one key
// reverses the order, so it travels with the order).
struct TSortState {
    std::array<bool, SortKeyCount> Ascending{};
    std::uint8_t Key = 0;
    std::uint8_t SecondKey = 0;
    static TSortState Of(const TCircuit& circuit);
    void ApplyTo(TCircuit& circuit) const;
    bool operator==(const TSortState&) const = default;
};

// A new order of the same items (a sort, a row dragged elsewhere).
class TOrderChange {
public:
    // The items' identities in list order, taken before the change.
    using TOrder = std::vector<const TBranch*>;
    static TOrder OrderOf(const TCircuit& circuit);
    // From the order before (and the sort state before) to the circuit now.
    // Raises std::invalid_argument when the circuit does not hold the same items.
    static TOrderChange Between(const TOrder& before, const TSortState& sortBefore, const TCircuit& after);
    bool Empty() const;
    void Undo(TCircuit& circuit) const;
    void Redo(TCircuit& circuit) const;

private:
    // after_[i]: the position before the change of the item at position i after it.
    std::vector<int> after_;
    TSortState sortBefore_;
    TSortState sortAfter_;
};

// Items put in at given positions (insert, paste, an undone delete
// appended) or taken out (delete). Copies are kept, so the change does not
// depend on which object stands for the item in the circuit.
class TPlacement {
public:
    // One item at one position.
    TPlacement(int position, const TBranch& item);
    // A block of items from `position` on, in their order.
    TPlacement(int position, const std::vector<const TBranch*>& items);
    int Position() const { return position_; }
    int Size() const { return static_cast<int>(copies_.size()); }
    // Puts copies of the items in at their positions.
    void PutIn(TCircuit& circuit) const;
    // Takes the items at their positions out again.
    void TakeOut(TCircuit& circuit) const;

private:
    int position_ = 0;
    TItemCopies copies_;
};

// The project details the circuit carries.
struct TProjectDetails {
    TTextLines DescriptionLines;
    std::string Author;
    std::string Company;
    static TProjectDetails Of(const TCircuit& circuit);
    void ApplyTo(TCircuit& circuit) const;
    bool operator==(const TProjectDetails&) const = default;
};

} // namespace dvx
