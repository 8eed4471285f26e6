// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// "Defaults": the values new circuit items start from, on a property sheet.

#include "engine/hydraulics/ProjectContext.h"
#include "desktop/windows/CustomForm.h"
#include "engine/units/UnitChoice.h"

#include <string>
#include <vector>

namespace dvx {
class TEntryGrid;
}

namespace dvx::ui {

class TDefaultsForm : public TCustomForm {
    Q_OBJECT
public:
    explicit TDefaultsForm(TProjectContext project, QWidget* parent = nullptr);

    // The definition lines of the sheet; rows 2 and 5 get their choices at
    // each opening (the bore labels and the fitting type names).
    static const std::vector<std::string>& Lines();
    // The same lines for the display units `units`: temperature, length,
    // flow and pressure drop rows in the chosen units with their limits
    // converted, the bore row's units text "in" for inch sizes; a drop shown
    // as head in a liquid of density (kg/m³). With SI chosen these are Lines().
    static std::vector<std::string> LinesFor(const TUnitChoice& units, double density);

    TEntryGrid* Grid() const { return grid_; }

    // Puts the bore labels and fitting names in and fills the sheet from the
    // defaults in force (each time the dialog opens).
    void FillGrid();
    // Takes the sheet into the defaults, row by row; a text that is not a
    // number shows the conversion error and leaves that default and the
    // ones after it unchanged. False on such an error.
    bool TakeGrid();
    // "Accept": closes with the OK result once the sheet is taken; then the
    // placement and the seven keys are written.
    bool AcceptClick();
    // "Restore": the built-in defaults in force and stored at once.
    void RestoreClick();

protected:
    void showEvent(QShowEvent* event) override;

private:
    TProjectContext project_; // the project whose item defaults the window edits
    void Store();
    void FitColumns();
    // Rebuilds the sheet when the display units changed since it was built.
    void FollowUnits();
    TEntryGrid* grid_;
    TUnitChoice units_; // the units the sheet shows
    // The value texts the sheet was filled with, by row: in another unit
    // than SI an untouched row keeps its default exactly.
    std::vector<std::string> filled_;
};

} // namespace dvx::ui
