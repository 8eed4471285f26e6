// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/windows/FittingsForm.h"

#include "storage/catalogue/CatalogueFiles.h"
#include "engine/catalogue/Tables.h"
#include "base/Errors.h"
#include "storage/settings/SettingsStore.h"
#include "desktop/widgets/Messages.h"
#include "desktop/widgets/EntryGrid.h"

#include <QAction>
#include <QKeySequence>

namespace dvx::ui {

TFittingsForm::TFittingsForm(TProjectContext project, QWidget* parent)
    : TTechForm("FittingsForm", "Fittings Editor", parent), project_(project) {
    ShowTechButtons({tbSave, tbAlign, tbReset, tbCancel, tbAccept});
    TechButton(tbSave)->setToolTip("Save as default");
    TechButton(tbSave)->setShortcut(QKeySequence(Qt::ALT | Qt::Key_S));
    TechButton(tbAlign)->setToolTip("Align");
    TechButton(tbReset)->setToolTip("Restore standard defaults");
    SetStatusText("Modify only if you are certain");

    TEntryGrid* grid = Grid();
    grid->SetColCount(2);
    std::vector<std::string> lines = {"Fitting Type; Coefficient"};
    for (const TFittingRec& rec : project_.Tables.FittingTable)
        lines.push_back(rec.FittingName + "; %0.0f; ; NPE; 0; 999");
    grid->SetLines(lines);
    grid->setColumnWidth(0, 150);
    grid->setColumnWidth(1, 80);
    grid->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    resize(260, 400);
    FitToolBar();
    ShowRowsOf(grid, FittingCount);

    // The user's coefficients ("Fittings") are read with the other settings
    // of the core, after the catalogue files.
    RestorePlacement(false);
    FillGrid();
}

void TFittingsForm::FillGrid() {
    TEntryGrid* grid = Grid();
    shown_.assign(static_cast<std::size_t>(grid->RowCount()), std::string());
    for (int t = 0; t < FittingCount; ++t) {
        grid->SetValue(1, t + 1, project_.Tables.FittingTable[static_cast<std::size_t>(t)].C);
        shown_[static_cast<std::size_t>(t + 1)] = grid->Cell(1, t + 1);
    }
}

void TFittingsForm::showEvent(QShowEvent* event) {
    FillGrid();
    Grid()->SetCurrentCell(1, 1);
    Grid()->setFocus();
    TTechForm::showEvent(event);
}

bool TFittingsForm::TakeGrid() {
    TEntryGrid* grid = Grid();
    grid->FinishEditing();
    try {
        for (int t = 0; t < FittingCount; ++t) {
            const int row = t + 1;
            if (grid->Cell(1, row) == shown_[static_cast<std::size_t>(row)]) continue;
            project_.Tables.FittingTable[static_cast<std::size_t>(t)].C = SheetNumber(*grid, row);
        }
    } catch (const ConvertError& e) {
        ShowMessage(this, MsgKind::Error, QString::fromUtf8(e.what()));
        return false;
    }
    // What is in force is what the sheet now stands for.
    for (int row = 1; row <= FittingCount; ++row) shown_[static_cast<std::size_t>(row)] = grid->Cell(1, row);
    return true;
}

bool TFittingsForm::AcceptClick() {
    if (!TakeGrid()) return false;
    accept();
    return true;
}

void TFittingsForm::SaveClick() {
    Grid()->FinishEditing();
    const auto answer = ShowMessage(this, MsgKind::Warning,
                                    "Are you sure you want to change the\ndefault pressure loss coefficients?",
                                    QMessageBox::Yes | QMessageBox::Cancel);
    if (answer != QMessageBox::Yes) return;
    if (!TakeGrid()) return;
    try {
        SavePlacement();
        SaveFittingsSettings(AppSettings(), project_.Tables);
    } catch (const std::exception& e) {
        ShowMessage(this, MsgKind::Error, QString::fromUtf8(e.what()));
    }
}

void TFittingsForm::ResetClick() {
    Grid()->FinishEditing();
    auto& fittings = project_.Tables.FittingTable;
    for (std::size_t t = 0; t < fittings.size(); ++t)
        fittings[t].C = StandardFittingTable[t].C;
    FillGrid();
}

} // namespace dvx::ui
