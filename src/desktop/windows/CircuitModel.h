// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The circuit as a Qt table model. It holds no item data: every cell is
// asked of the circuit through the grid logic (presentation/ui/CircuitGrid.h) when the
// view draws it, so only the visible cells are ever formatted.

#include "presentation/ui/CircuitGrid.h"

#include <QAbstractTableModel>
#include <QColor>
#include <QPalette>
#include <functional>
#include <vector>

namespace dvx::ui {

class CircuitModel : public QAbstractTableModel {
    Q_OBJECT
public:
    // project: the tables and liquid the cells are shown and typed in.
    explicit CircuitModel(TProjectContext project, QObject* parent = nullptr);

    void SetCircuit(TCircuit* circuit);
    TCircuit* Circuit() const { return circuit_; }

    // RebuildColumns: the shown columns for the two view switches.
    void RebuildColumns(bool groupsOn, bool typesOn, TExtraColumns extras = 0);
    const std::vector<int>& Shown() const { return shown_; }
    // View column of a logical column, or -1 when it is hidden.
    int ViewColumnOf(int logicalColumn) const;
    int LogicalColumnAt(int viewColumn) const;

    // Refills every cell (after any command that changed the circuit).
    void Refresh();

    // The item on a view row, or nullptr for the empty row of an empty circuit.
    TBranch* ItemAt(int row) const;

    // Warning cells (an item over a limit) are drawn in these colours: text
    // and background, chosen to read as a warning on light and dark palettes.
    void SetWarningColours(const QPalette& palette);
    QColor WarningText() const { return warningText_; }
    QColor WarningBackground() const { return warningBackground_; }

    // Called with (row, logical column) just before a setter runs.
    std::function<void(int, int)> OnCellAboutToCommit;
    // Called with (row, logical column, committed text) after a setter ran
    // and the row was refreshed, so the window can update its flags.
    std::function<void(int, int, const QString&)> OnCellCommitted;
    // Called with the message of a conversion error; the item is unchanged.
    std::function<void(const QString&)> OnConvertError;
    // Called when a row was dragged from one position to another.
    std::function<void(int, int)> OnRowMoved;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;

    Qt::DropActions supportedDropActions() const override { return Qt::MoveAction; }
    QStringList mimeTypes() const override;
    QMimeData* mimeData(const QModelIndexList& indexes) const override;
    bool canDropMimeData(const QMimeData* data, Qt::DropAction action, int row, int column,
                         const QModelIndex& parent) const override;
    bool dropMimeData(const QMimeData* data, Qt::DropAction action, int row, int column,
                      const QModelIndex& parent) override;

private:
    TProjectContext project_;
    TCircuit* circuit_ = nullptr;
    std::vector<int> shown_;
    QColor warningText_{Qt::darkRed};
    QColor warningBackground_{255, 214, 204};
};

} // namespace dvx::ui
