// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The table view of the circuit grid: a QTableView that can take or drop a
// pending in-place edit on request, as the main window's commands need.

#include <QTableView>

namespace dvx::ui {

class CircuitView : public QTableView {
    Q_OBJECT
public:
    explicit CircuitView(QWidget* parent = nullptr);

    bool IsEditing() const { return state() == QAbstractItemView::EditingState; }
    // Takes the editor's text into the model and closes the editor.
    void CommitEdit();
    // Closes the editor without taking its text.
    void CancelEdit();
};

} // namespace dvx::ui
