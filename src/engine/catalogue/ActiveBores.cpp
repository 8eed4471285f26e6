// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/catalogue/ActiveBores.h"

#include "engine/catalogue/Bores.h"

#include <cmath>
#include <stdexcept>
#include <string>

namespace dvx {

const TMaterialTable* OwnBoreTable(const TCatalogueTables& tables) {
    return ExtraMaterial(tables, tables.ActiveMaterial);
}

int BoreRowCount(const TCatalogueTables& tables) {
    const TMaterialTable* own = OwnBoreTable(tables);
    return own != nullptr ? static_cast<int>(own->Bores.size()) : BoreCount;
}

TBoreRow BoreRow(const TCatalogueTables& tables, int i) {
    if (i < 0 || i >= BoreRowCount(tables))
        throw std::out_of_range("bore index " + std::to_string(i) + " is not in the bore table");
    const auto row = static_cast<std::size_t>(i);
    if (const TMaterialTable* own = OwnBoreTable(tables)) {
        const TMaterialBore& b = own->Bores[row];
        return {b.Label, b.ID, b.ff, b.mf};
    }
    const TBoreRec& b = tables.BoreTable[row];
    return {BoreName[row], b.ID, b.ff, b.mf};
}

int BoreRowForFlow(const TCatalogueTables& tables, double q) {
    if (const TMaterialTable* own = OwnBoreTable(tables)) return static_cast<int>(MaterialBoreForFlow(*own, q));
    return BoreForFlow(tables, q);
}

namespace {

template <class IdOf>
int NearestById(int count, double d, IdOf idOf) {
    int best = 0;
    double bestGap = std::fabs(idOf(0) - d);
    for (int i = 1; i < count; ++i) {
        // Rows run from the largest bore down: "<=" keeps the smaller on a tie.
        const double gap = std::fabs(idOf(i) - d);
        if (gap <= bestGap) {
            best = i;
            bestGap = gap;
        }
    }
    return best;
}

} // namespace

int NearestBuiltInBore(const TCatalogueTables& tables, double d) {
    return NearestById(BoreCount, d, [&](int i) { return tables.BoreTable[static_cast<std::size_t>(i)].ID; });
}

int NearestBoreRow(const TCatalogueTables& tables, double d) {
    if (const TMaterialTable* own = OwnBoreTable(tables)) {
        if (own->Bores.empty()) return 0;
        return NearestById(static_cast<int>(own->Bores.size()), d,
                           [&](int i) { return own->Bores[static_cast<std::size_t>(i)].ID; });
    }
    return NearestBuiltInBore(tables, d);
}

int BoreRowForInsideDiameter(const TCatalogueTables& tables, double d) {
    if (OwnBoreTable(tables) == nullptr) return BoreForInsideDiameter(tables, d);
    return NearestBoreRow(tables, d);
}

int BoreRowForBuiltIn(const TCatalogueTables& tables, int b) {
    if (OwnBoreTable(tables) == nullptr) return b;
    return NearestBoreRow(tables, tables.BoreTable.at(static_cast<std::size_t>(b)).ID);
}

double BoreRowNominal(const TCatalogueTables& tables, int i) {
    if (OwnBoreTable(tables) == nullptr) return NominalOf(tables, i);
    return tables.BoreTable[static_cast<std::size_t>(NearestBuiltInBore(tables, BoreRow(tables, i).ID))].Nominal;
}

} // namespace dvx
