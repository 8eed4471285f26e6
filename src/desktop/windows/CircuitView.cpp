// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/windows/CircuitView.h"

#include <QAbstractItemDelegate>
#include <QHeaderView>

namespace dvx::ui {

CircuitView::CircuitView(QWidget* parent) : QTableView(parent) {
    // Several rows can be selected (Shift or Ctrl with the mouse or the
    // arrows) to copy them to a spreadsheet.
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                    QAbstractItemView::AnyKeyPressed);
    setDragEnabled(true);
    setAcceptDrops(true);
    setDropIndicatorShown(true);
    setDragDropMode(QAbstractItemView::InternalMove);
    setDefaultDropAction(Qt::MoveAction);
    setWordWrap(false);
    setAlternatingRowColors(false);
    verticalHeader()->setVisible(false);
    // Fixed row heights keep a circuit of any length cheap to lay out.
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setSectionsClickable(true);
    // A header click sorts (the main window handles it); it must not select a column.
    disconnect(horizontalHeader(), &QHeaderView::sectionPressed, this, nullptr);
    disconnect(horizontalHeader(), &QHeaderView::sectionEntered, this, nullptr);
}

void CircuitView::CommitEdit() {
    if (!IsEditing()) return;
    QWidget* editor = indexWidget(currentIndex());
    if (editor == nullptr) return;
    commitData(editor);
    closeEditor(editor, QAbstractItemDelegate::NoHint);
}

void CircuitView::CancelEdit() {
    if (!IsEditing()) return;
    QWidget* editor = indexWidget(currentIndex());
    if (editor == nullptr) return;
    closeEditor(editor, QAbstractItemDelegate::RevertModelCache);
}

} // namespace dvx::ui
