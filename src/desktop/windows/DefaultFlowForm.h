// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// "Default Flows": the maximum flow of each bore (mf of the project's bore
// table, l/s) that auto-size and auto-flow work from, kept as the
// "MaxFlows" text.

#include "engine/hydraulics/ProjectContext.h"
#include "storage/settings/Defaults.h"
#include "desktop/windows/CustomForm.h"
#include "engine/units/UnitChoice.h"

#include <string>

class QTableWidget;

namespace dvx::ui {

class TDefaultFlowForm : public TCustomForm {
    Q_OBJECT
public:
    explicit TDefaultFlowForm(TProjectContext project, QWidget* parent = nullptr);

    QTableWidget* Grid() const { return grid_; }
    // The dialog's own copy of the flows (l/s) and the "MaxFlows" text.
    const TFlowList& Flows() const { return flows_; }
    const std::string& MaxFlowsText() const { return text_; }

    // Writes flows (l/s) into the second column, "%0.2f" l/s or in the flow
    // unit in force; the bore column in the size unit in force.
    void FillGrid(const TFlowList& flows);
    // "Accept": the second column into the array and mf, the text rebuilt
    // from the cell texts; closes with the OK result. A cell that is not a
    // number shows the conversion error and keeps the dialog open (the rows
    // before it are taken).
    bool AcceptClick();
    // "Restore": the built-in flows into the grid and the text, stored at once.
    void RestoreClick();

    void done(int result) override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    TProjectContext project_; // the project whose bore flows the window edits
    std::vector<std::string> CellTexts() const;
    // The cell texts as the "MaxFlows" text keeps them: l/s, "%0.2f".
    // Raises ConvertError for a cell that is not a number.
    std::vector<std::string> StoredTexts() const;
    // Bore labels and the flow caption for units_.
    void ShowUnitTexts();
    TUnitChoice units_; // the units the grid shows
    void Store();
    QTableWidget* grid_;
    TFlowList flows_{};
    std::string text_;
};

} // namespace dvx::ui
