// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The bore table of a project's active material: BoreTable for the three
// built-in materials, the material's own table for any other. An item's
// BoreIndex is a row of this table, so every lookup by BoreIndex goes
// through here.

#include "engine/catalogue/Tables.h"

#include <string_view>

namespace dvx {

// One row of the active table, whichever table it comes from.
struct TBoreRow {
    std::string_view Label; // "100", "1¼\"", "DN 25"
    double ID = 0;          // m, inside diameter
    double ff = 0;          // —, friction factor an item starts from
    double mf = 0;          // l/s, maximum flow
};

// The active material's own table; null when it is one of the built-in three.
const TMaterialTable* OwnBoreTable(const TCatalogueTables& tables);

// Rows of the active table.
int BoreRowCount(const TCatalogueTables& tables);

// Row i of the active table; a row outside it raises std::out_of_range.
TBoreRow BoreRow(const TCatalogueTables& tables, int i);

// The row for flow q (l/s) as auto-size picks it: the smallest bore whose
// maximum flow is at least q, else the largest.
int BoreRowForFlow(const TCatalogueTables& tables, double q);

// The row whose inside diameter is nearest d (m); the smaller bore on a tie.
int NearestBoreRow(const TCatalogueTables& tables, double d);

// The row for an inside diameter d (m) given as a size: for the built-in
// table the smallest bore within 10 % (BoreForInsideDiameter), for an own
// table the nearest bore.
int BoreRowForInsideDiameter(const TCatalogueTables& tables, double d);

// mm, the nominal size that stands for row i where a size in mm is needed
// (project and text files, 3-K constants, sorting): the built-in bore's
// Nominal, or for an own table that of the built-in bore nearest the row's
// inside diameter.
double BoreRowNominal(const TCatalogueTables& tables, int i);

// The row of the active table for built-in bore b (a row of BoreTable): b
// itself, or for an own table the row nearest b's inside diameter.
int BoreRowForBuiltIn(const TCatalogueTables& tables, int b);

// The built-in bore (row of BoreTable) nearest the inside diameter d (m):
// where the built-in tables are indexed by bore (fitting prices and labour).
int NearestBuiltInBore(const TCatalogueTables& tables, double d);

} // namespace dvx
