// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// "Fluid Specification": the modal tool window in which the user chooses
// the liquid of the circuit, its temperature, an additive to water or the
// user's own property values. It edits the liquid in place; Accept keeps the
// changes, Cancel (or the close box) puts the liquid back as it was opened.

#include "engine/hydraulics/ProjectContext.h"
#include "presentation/ui/FluidSheet.h"
#include "desktop/widgets/EntryGrid.h"

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;
class QWidget;

namespace dvx::ui {

// The sheet of the window: its failure messages go through the program's
// message seam.
class TFluidGrid : public TEntryGrid {
    Q_OBJECT
public:
    using TEntryGrid::TEntryGrid;

protected:
    void ShowMessage(const std::string& text) override;
};

class TFluidSpecForm : public QDialog {
    Q_OBJECT
public:
    explicit TFluidSpecForm(TProjectContext project, QWidget* parent = nullptr);

    // The liquid to edit; the caller sets it before showing the window.
    void SetFluid(TLiquid* fluid) { logic_.SetFluid(fluid); }
    TLiquid* Fluid() const { return logic_.Fluid(); }

    TFluidGrid* Grid() const { return grid_; }
    QLabel* StatusLabel() const { return statusLabel_; }
    // The freezing line and the inverse question, shown for water mixtures.
    QLabel* FreezeLabel() const { return freezeLabel_; }
    QLineEdit* ProtectEdit() const { return protectEdit_; }
    QLabel* ProtectAnswer() const { return protectAnswer_; }
    QPushButton* AcceptButton() const { return accept_; }
    QPushButton* CancelButton() const { return cancel_; }
    TFluidSpecSheet& Logic() { return logic_; }

    // Takes the values of every row after the user changed one (as the
    // sheet does after an edit).
    void RowChanged(int row);

    void done(int result) override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    TProjectContext project_; // the project whose freezing margin the sheet checks against
    void ShowStatus(const TFluidStatus& status);
    void ShowProtection();
    std::vector<int> ColumnWidths() const;

    TFluidGrid* grid_ = nullptr;
    QLabel* statusLabel_ = nullptr;
    QLabel* freezeLabel_ = nullptr;
    QWidget* protectRow_ = nullptr;
    QLineEdit* protectEdit_ = nullptr;
    QLabel* protectUnit_ = nullptr;
    QLabel* protectAnswer_ = nullptr;
    QPushButton* accept_ = nullptr;
    QPushButton* cancel_ = nullptr;
    TFluidSpecSheet logic_;
};

} // namespace dvx::ui
