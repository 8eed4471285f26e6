// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// TCircuit: the project in memory. The ordered items, the project's headings
// and description, its pipe material, the results of the last calculation and
// estimate, the Saved / Solved flags and the sort state.

#include "base/Errors.h"
#include "base/TextLines.h"
#include "engine/hydraulics/Items.h"
#include "engine/hydraulics/PumpSettings.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace dvx {

// Sort keys of SetSortKey.
enum TSortKey : std::uint8_t {
    skNumber = 0,
    skDescription = 1,
    skGroup = 2,
    skBore = 3,             // InsideDiameter
    skLengthOrQuantity = 4, // fitting Quantity, pipe Length, user item 0
    skFlow = 5,
    skPressureDrop = 6,
    skTypeName = 7,
};
inline constexpr int SortKeyCount = 8;

// A failure inside Calculate: a floating-point fault or a result that is not
// a finite number. Position is the list position of the failing item.
class CalculationError : public MathError {
public:
    CalculationError(const std::string& message, int position) : MathError(message), Position(position) {}
    int Position;
};

// Result of FindInvalid.
struct TInvalidItem {
    bool AllValid = true;
    int Position = -1; // list position of the first item that fails
    int Column = 0;    // its TDataColumn
    bool Negative = false; // the value there is below zero (otherwise zero)
};

// The message for a failed check: "Data may not be zero", or for a value
// below zero "Data must be positive".
const char* InvalidItemMessage(const TInvalidItem& invalid);

class TCircuit {
public:
    // A new circuit: empty, today's date, material 0, not saved, not solved,
    // and the project's item counter back to 0.
    explicit TCircuit(const TProjectContext& project);
    TCircuit(const TCircuit&) = delete;
    TCircuit& operator=(const TCircuit&) = delete;

    std::array<bool, SortKeyCount> SortAscending{}; // direction each key was last sorted in
    std::uint8_t SortKey = 0;   // primary sort key (TSortKey)
    std::uint8_t SecondKey = 0; // secondary sort key
    std::string Heading1;       // report heading lines
    std::string Heading2;
    TTextLines DescriptionLines; // the project's description, line by line
    std::string Author;
    std::string Company;
    double CreationDate = 0;    // days since 30 December 1899
    std::vector<std::unique_ptr<TBranch>> Items; // owned, in list order
    double TotalDP = 0;         // Pa, index-circuit pressure drop of the last calculation
    std::uint8_t Material = 0;  // the project's PipeMaterial
    // How the project calculates its fittings; put in force in the tables
    // like Material.
    TFittingMethod FittingMethod = TFittingMethod::EquivalentLength;
    bool Saved = false;         // no unsaved changes
    bool Solved = false;        // results are current
    double TotalCost = 0;       // estimate: material plus labour
    double MaterialTotal = 0;   // estimate: material cost
    double LabourTotal = 0;     // estimate: labour cost
    double LabourHoursTotal = 0; // h, estimate: labour hours
    double TotalVolume = 0;     // m³, sum of the items' Volume in the last calculation
    TPumpSettings Pump;             // the pump's points and the system curve's settings

    // List operations; a position outside the list raises std::out_of_range.
    int Count() const { return static_cast<int>(Items.size()); }
    TBranch& Item(int i) const;
    // Inserts before position i (i = Count() appends).
    void Insert(int i, std::unique_ptr<TBranch> item);
    // Inserts the items before position i, keeping their order.
    void InsertRange(int i, std::vector<std::unique_ptr<TBranch>> items);
    void Append(std::unique_ptr<TBranch> item);
    // Takes the item at position i out of the list and hands it over.
    std::unique_ptr<TBranch> Remove(int i);
    // Moves the item at position from so that it ends at position to.
    void Move(int from, int to);

    // The first item, in list order, whose ValidData fails.
    TInvalidItem FindInvalid() const;
    // Processes every item in list order and totals the index-circuit
    // pressure drop (only items in the index when groupsActive) and the volume.
    // A fault raises CalculationError; the items before it keep their results
    // and the totals their partial sums.
    void Calculate(const TProjectContext& project, bool groupsActive);
    // Totals materials and labour. False, with the format "%s  %s dia" filled
    // with the first unpriced item's TypeName and bore name, when a price or
    // labour time is missing; TotalCost is then 0.
    bool Estimate(const TProjectContext& project, std::string& message);

    // InIndex of the first item of group g whose Number is not n; true if none.
    bool GroupIndex(std::int32_t g, std::int32_t n) const;
    // InIndex = flag on every item of group g.
    void SetGroupIndex(std::int32_t g, bool flag);

    // Key k (0 to 7) becomes the primary key, the old one the secondary key.
    // Any other key raises std::out_of_range.
    void SetSortKey(int k);
    // Flips the primary key's direction and sorts on it, ties on the secondary key.
    void SortItems();

    // Auto-size every item, in list order.
    void ResizeAll(const TProjectContext& project);
    // Auto-flow every item, in list order.
    void ResetAllFlows(const TProjectContext& project);

private:
    int CompareItems(const TBranch& a, const TBranch& b) const;
};

} // namespace dvx
