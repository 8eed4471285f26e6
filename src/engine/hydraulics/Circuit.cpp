// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/hydraulics/Circuit.h"

#include "engine/catalogue/ActiveBores.h"

#include "engine/catalogue/Tables.h"
#include "engine/hydraulics/ItemValue.h"
#include "base/FloatFaults.h"
#include "base/Format.h"
#include "base/VectorState.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <ctime>
#include <stdexcept>


namespace dvx {

namespace {

// Today's local date as a day number counted from 30 December 1899.
double Today() {
    std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    using namespace std::chrono;
    const year_month_day date{year{local.tm_year + 1900}, month{static_cast<unsigned>(local.tm_mon + 1)},
                              day{static_cast<unsigned>(local.tm_mday)}};
    const sys_days epoch = year_month_day{year{1899}, December, day{30}};
    return static_cast<double>((sys_days{date} - epoch).count());
}

void CheckPosition(int i, int count) {
    if (i < 0 || i >= count)
        throw std::out_of_range("item position " + std::to_string(i) + " is outside the circuit");
}

// Where the machine has no fault flags (WebAssembly), a fault shows in the
// item's values: a division by zero, an invalid operation or an overflow
// leaves one of them infinite or not a number.
bool ItemValuesFinite(const TBranch& item) {
    if (!(std::isfinite(item.InsideDiameter) && std::isfinite(item.Friction) && std::isfinite(item.Flow) &&
          std::isfinite(item.PressureDrop) && std::isfinite(item.Volume)))
        return false;
    const auto* pipe = dynamic_cast<const TPipe*>(&item);
    return pipe == nullptr || (std::isfinite(pipe->Area) && std::isfinite(pipe->Reynolds) &&
                               std::isfinite(pipe->Velocity) && std::isfinite(pipe->Length) &&
                               std::isfinite(pipe->Gradient));
}

// -1, 0 or +1. A value that is not a number sorts after every number and
// equal to another such value, so the order stays consistent for the sort.
int CompareNumbers(double a, double b) {
    const bool aNan = std::isnan(a);
    const bool bNan = std::isnan(b);
    if (aNan || bNan) return aNan == bNan ? 0 : (aNan ? 1 : -1);
    if (a < b) return -1;
    if (a > b) return 1;
    return 0;
}

// Byte-by-byte as unsigned characters; a prefix is smaller.
int CompareTexts(const std::string& a, const std::string& b) {
    const int c = a.compare(b);
    return c < 0 ? -1 : (c > 0 ? 1 : 0);
}

double LengthOrQuantity(const TBranch& item) { return ItemValue(item).value_or(0); }

int CompareOnKey(int key, const TBranch& a, const TBranch& b) {
    switch (key) {
    case skNumber: return CompareNumbers(a.Number, b.Number);
    case skDescription: return CompareTexts(a.Description, b.Description);
    case skGroup: return CompareNumbers(a.Group, b.Group);
    case skBore: return CompareNumbers(a.InsideDiameter, b.InsideDiameter);
    case skLengthOrQuantity: return CompareNumbers(LengthOrQuantity(a), LengthOrQuantity(b));
    case skFlow: return CompareNumbers(a.Flow, b.Flow);
    case skPressureDrop: return CompareNumbers(a.PressureDrop, b.PressureDrop);
    case skTypeName: return CompareTexts(a.TypeName, b.TypeName);
    default: return 0;
    }
}

} // namespace

TCircuit::TCircuit(const TProjectContext& project) : CreationDate(Today()) { project.ItemCounter = 0; }

TBranch& TCircuit::Item(int i) const {
    CheckPosition(i, Count());
    return *Items[static_cast<std::size_t>(i)];
}

void TCircuit::Insert(int i, std::unique_ptr<TBranch> item) {
    if (i < 0 || i > Count()) throw std::out_of_range("insert position outside the circuit");
    if (!item) throw std::invalid_argument("no item to insert");
    Items.insert(Items.begin() + i, std::move(item));
}

void TCircuit::InsertRange(int i, std::vector<std::unique_ptr<TBranch>> items) {
    if (i < 0 || i > Count()) throw std::out_of_range("insert position outside the circuit");
    for (const auto& item : items)
        if (!item) throw std::invalid_argument("no item to insert");
    Items.insert(Items.begin() + i, std::make_move_iterator(items.begin()), std::make_move_iterator(items.end()));
}

void TCircuit::Append(std::unique_ptr<TBranch> item) { Insert(Count(), std::move(item)); }

std::unique_ptr<TBranch> TCircuit::Remove(int i) {
    CheckPosition(i, Count());
    std::unique_ptr<TBranch> item = std::move(Items[static_cast<std::size_t>(i)]);
    Items.erase(Items.begin() + i);
    return item;
}

void TCircuit::Move(int from, int to) {
    CheckPosition(from, Count());
    CheckPosition(to, Count());
    auto first = Items.begin();
    if (from < to)
        std::rotate(first + from, first + from + 1, first + to + 1);
    else if (from > to)
        std::rotate(first + to, first + from, first + from + 1);
}

namespace {

// The value ValidData found wanting in a column of the item.
double CheckedValue(const TBranch& item, int column) {
    switch (column) {
    case dcFlow: return item.Flow;
    case dcPressureDrop: return item.PressureDrop;
    default: break;
    }
    if (item.Kind() == TItemKind::KItem || item.Kind() == TItemKind::Valve) return ItemValue(item).value_or(0);
    if (item.Kind() == TItemKind::User) return 0;
    const auto& pipe = static_cast<const TPipe&>(item);
    if (!(pipe.Length > 0)) return pipe.Length;
    if (item.Kind() == TItemKind::Fitting) return static_cast<const TFitting&>(item).Quantity;
    return 0;
}

} // namespace

const char* InvalidItemMessage(const TInvalidItem& invalid) {
    return invalid.Negative ? "Data must be positive" : "Data may not be zero";
}

TInvalidItem TCircuit::FindInvalid() const {
    for (int i = 0; i < Count(); ++i) {
        const TBranch& item = *Items[static_cast<std::size_t>(i)];
        int column = 0;
        if (!item.ValidData(column)) return {false, i, column, CheckedValue(item, column) < 0};
    }
    return {};
}

void TCircuit::Calculate(const TProjectContext& project, bool groupsActive) {
    TotalDP = 0;
    TotalVolume = 0;
    ClearUpperVectorState();
    ClearFloatFaults();
    const std::size_t count = Items.size();
    for (std::size_t i = 0; i < count; ++i) {
        TBranch& item = *Items[i];
        item.Process(project);
        const bool counts = item.InIndex || !groupsActive;
        const double dp = counts ? TotalDP + item.PressureDrop : TotalDP;
        const double volume = TotalVolume + item.Volume;
        // One test of the fault flags per item: a division by zero, an invalid
        // operation or an overflow anywhere in Process, or a result (or total)
        // that is not a finite number, stops the calculation at this item.
        if (FloatFaultRaised() || !std::isfinite(dp) || !std::isfinite(volume) ||
            (!kFloatFaultFlags && !ItemValuesFinite(item))) [[unlikely]]
            throw CalculationError(Format("Pressure drop error at item %d (number %d)",
                                          {static_cast<int>(i) + 1, item.Number}),
                                   static_cast<int>(i));
        TotalDP = dp;
        TotalVolume = volume;
        Solved = true;
    }
}

bool TCircuit::Estimate(const TProjectContext& project, std::string& message) {
    TotalCost = 0;
    MaterialTotal = 0;
    LabourTotal = 0;
    LabourHoursTotal = 0;
    message.clear();
    for (const auto& item : Items) {
        const double m = item->MaterialCost(project);
        const double hours = item->LabourHours(project);
        LabourHoursTotal += hours;
        const double l = hours * project.Tables.LabourRate;
        if (m < 0 || l < 0) {
            message = Format("%s  %s dia", {item->TypeName, std::string(BoreRow(project.Tables, item->BoreIndex).Label)});
            TotalCost = 0;
            return false;
        }
        MaterialTotal += m;
        LabourTotal += l;
        TotalCost += m + l;
    }
    return true;
}

bool TCircuit::GroupIndex(std::int32_t g, std::int32_t n) const {
    for (const auto& item : Items)
        if (item->Group == g && item->Number != n) return item->InIndex;
    return true;
}

void TCircuit::SetGroupIndex(std::int32_t g, bool flag) {
    for (const auto& item : Items)
        if (item->Group == g) item->InIndex = flag;
}

void TCircuit::SetSortKey(int k) {
    if (k < 0 || k >= SortKeyCount) throw std::out_of_range("sort key " + std::to_string(k) + " is not 0 to 7");
    if (k != SortKey) SecondKey = SortKey;
    SortKey = static_cast<std::uint8_t>(k);
}

int TCircuit::CompareItems(const TBranch& a, const TBranch& b) const {
    int c = CompareOnKey(SortKey, a, b);
    if (c != 0) return SortAscending[SortKey] ? c : -c;
    c = CompareOnKey(SecondKey, a, b);
    return SortAscending[SecondKey] ? c : -c;
}

void TCircuit::SortItems() {
    SortAscending[SortKey] = !SortAscending[SortKey];
    std::sort(Items.begin(), Items.end(),
              [this](const std::unique_ptr<TBranch>& a, const std::unique_ptr<TBranch>& b) {
                  return CompareItems(*a, *b) < 0;
              });
}

void TCircuit::ResizeAll(const TProjectContext& project) {
    for (const auto& item : Items) AutoSize(project, *item);
}

void TCircuit::ResetAllFlows(const TProjectContext& project) {
    for (const auto& item : Items) AutoFlow(project, *item);
}

} // namespace dvx
