// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Shared by the tests that drive the main window's grid as a user does.

#include "desktop/windows/CircuitModel.h"
#include "desktop/windows/MainWindow.h"

#include <QLineEdit>
#include <QTableView>
#include <QtTest>

namespace dvx::test {

// What a grid cell shows, by its logical column.
inline QString GridCellText(ui::TMainForm& window, int row, int logicalColumn) {
    ui::CircuitModel* m = window.Model();
    return m->data(m->index(row, m->ViewColumnOf(logicalColumn)), Qt::DisplayRole).toString();
}

// Types text into a grid cell through the real in-place editor, then commits.
inline void TypeIntoGridCell(ui::TMainForm& window, int row, int logicalColumn, const QString& text) {
    QTableView* grid = window.Grid();
    const QModelIndex index = window.Model()->index(row, window.Model()->ViewColumnOf(logicalColumn));
    grid->setCurrentIndex(index);
    grid->edit(index);
    auto* editor = qobject_cast<QLineEdit*>(grid->indexWidget(index));
    QVERIFY2(editor != nullptr, "no in-place editor opened");
    editor->selectAll();
    QTest::keyClicks(editor, text);
    window.Commit();
}

} // namespace dvx::test
