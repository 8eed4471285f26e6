// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Choosing the unit of a sheet row from a pop-up list of its family's labels.

#include <functional>

namespace dvx {

class TEntryGrid;
class TField;

// Opens the units chooser for a row at a screen position.
using TUnitsChooser = std::function<void(TEntryGrid& sheet, int row, int x, TField* field, int y)>;

// The standard units chooser: for a numeric row with a unit family, a modal
// borderless list of the family's labels with its top-left corner at (x, y)
// and the current unit highlighted; Enter, Escape or a press on an item
// closes it, and the highlighted unit becomes the row's unit.
void ChooseUnits(TEntryGrid& sheet, int row, int x, TField* field, int y);

} // namespace dvx
