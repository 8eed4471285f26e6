// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/widgets/MyListBox.h"

#include "desktop/widgets/EntryGrid.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QMouseEvent>

namespace dvx {

TMyListBox::TMyListBox(TEntryGrid* grid) : QListWidget(grid), grid_(grid) {
    setWindowFlags(Qt::Popup | Qt::FramelessWindowHint);
    setAttribute(Qt::WA_NoMouseReplay); // a click on the drop-down button only closes the list
    setFrameStyle(QFrame::Box | QFrame::Plain);
    setLineWidth(1);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setUniformItemSizes(true);
    setMouseTracking(true);
    viewport()->setMouseTracking(true);
}

void TMyListBox::CloseList() {
    hide();
    grid_->setFocus(Qt::OtherFocusReason);
}

void TMyListBox::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Escape: CloseList(); return;
    default: QListWidget::keyPressEvent(event);
    }
}

void TMyListBox::keyReleaseEvent(QKeyEvent* event) {
    QListWidget::keyReleaseEvent(event);
    const int row = grid_->CurrentRow();
    if (!isVisible() || currentRow() < 0) return;
    grid_->SetValue(1, row, currentRow());
    grid_->FireDoSetData(1, row);
}

void TMyListBox::mouseReleaseEvent(QMouseEvent* event) {
    QListWidget::mouseReleaseEvent(event);
    // Events come from the list's viewport or, while the pop-up holds the
    // mouse, from outside it: compare screen positions.
    const QPoint global = event->globalPosition().toPoint();
    QListWidgetItem* item = itemAt(viewport()->mapFromGlobal(global));
    if (!item || !viewport()->rect().contains(viewport()->mapFromGlobal(global))) return;
    const int row = grid_->CurrentRow();
    setCurrentItem(item);
    grid_->SetValue(1, row, currentRow());
    grid_->FireDoSetData(1, row);
    CloseList();
}

bool TMyListBox::event(QEvent* event) {
    // While the pop-up holds the mouse, moves outside it arrive here rather
    // than through the viewport.
    if (event->type() == QEvent::MouseMove) CloseIfOverOtherCell(static_cast<QMouseEvent*>(event));
    return QListWidget::event(event);
}

void TMyListBox::mouseMoveEvent(QMouseEvent* event) {
    QListWidget::mouseMoveEvent(event);
    CloseIfOverOtherCell(event);
}

void TMyListBox::CloseIfOverOtherCell(QMouseEvent* event) {
    if (!isVisible()) return;
    const QPoint global = event->globalPosition().toPoint();
    if (rect().contains(mapFromGlobal(global))) return;
    // Over the sheet: any cell but the value cell of an enumerated row closes the list.
    const QPoint inGrid = grid_->viewport()->mapFromGlobal(global);
    if (!grid_->viewport()->rect().contains(inGrid)) return;
    const QModelIndex index = grid_->indexAt(inGrid);
    if (!index.isValid()) return;
    if (index.column() == 1 && grid_->EnumField(index.row() + 1)) return;
    CloseList();
}

void TMyListBox::focusOutEvent(QFocusEvent* event) {
    QListWidget::focusOutEvent(event);
    if (event->reason() != Qt::PopupFocusReason && isVisible()) hide();
}
} // namespace dvx
