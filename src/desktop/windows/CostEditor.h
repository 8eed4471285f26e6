// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the cost editor and the labour editor share: a tool bar with "Save"
// and "Close", a panel the editor fills, and the tabs "Straight Pipe"
// (4 × 21 grid) and "Fittings" (21 × 25 grid) whose row 0 and column 0 are
// fixed headings and whose other cells are "%0.2f" formatted entries. Each
// opening fills the grids from the tables; the tables change only on Save.

#include "engine/cost/CostGrids.h"
#include "engine/hydraulics/ProjectContext.h"
#include "desktop/widgets/EditOnClick.h"

#include <QDialog>
#include <QTableWidget>

class QTabWidget;
class QVBoxLayout;
class QWidget;

namespace dvx::ui {

// A cost grid: fixed heading row and column, "%0.2f" cells edited in place
// by the formatted edit.
class TCostGrid : public TEditOnClick<QTableWidget> {
    Q_OBJECT
public:
    // The fitting grid's heading column is as wide as the longest fitting
    // name of `tables`.
    TCostGrid(int cols, int rows, const TCatalogueTables& tables, QWidget* parent);

    int Cols() const { return cols_; }
    int Rows() const { return rows_; }
    // Cell (col, row) with the headings at row 0 and column 0.
    QString Cell(int col, int row) const;
    void SetCell(int col, int row, const QString& text);
    // Puts the grid's texts in place without reporting a change.
    void Fill(const TTextGrid& grid);
    TTextGrid Texts() const;
    // Takes the open in-place edit into its cell.
    void CommitEdit();
    // Makes a value cell current.
    void GoTo(int col, int row);

signals:
    // A committed change of a value cell.
    void CellValueChanged(int col, int row);

private:
    int cols_;
    int rows_;
    bool filling_ = false;
};

class TCostEditor : public QDialog {
    Q_OBJECT
public:
    TCostGrid* PipeGrid() const { return pipeGrid_; }
    TCostGrid* FittingGrid() const { return fittingGrid_; }
    QTabWidget* Tabs() const { return tabs_; }
    bool Modified() const { return modified_; }

    // Opens the editor modally (filled afresh).
    int Execute();
    // "Save": the cells into the tables, then the catalogue files. False,
    // after the error message, when a cell is not a number or a file cannot
    // be written; the editor then stays modified.
    bool SaveClick();
    // "Close": asks to save a modified editor, then closes.
    void CloseClick();

protected:
    // `project` holds the tables the editor shows and saves.
    TCostEditor(TProjectContext project, const QString& caption, TCostTables tables,
                QWidget* parent);

    TProjectContext Project() const { return project_; }

    QWidget* Panel() const { return panel_; }
    void SetModified(bool modified) { modified_ = modified; }
    // Activation: the grids from the tables; editors add their panel.
    virtual void FillFromTables();
    // Save: the editor's own fields, after the grids.
    virtual void ReadExtraFields() {}

    void showEvent(QShowEvent* event) override;
    void reject() override;

private:
    // Asks "Not Saved" for a modified editor; false when the save asked for
    // failed, so the window stays open with its changes.
    bool CanClose();

    TProjectContext project_;
    TCostTables tables_;
    bool modified_ = false;
    QWidget* panel_ = nullptr;
    QTabWidget* tabs_ = nullptr;
    TCostGrid* pipeGrid_ = nullptr;
    TCostGrid* fittingGrid_ = nullptr;
};

} // namespace dvx::ui
