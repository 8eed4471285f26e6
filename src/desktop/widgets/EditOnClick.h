// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// An item view whose click on the current cell opens the cell's editor at
// once. The plain view waits for the double-click delay before it opens the
// editor, and keys typed meanwhile go to its type-ahead search and are lost.
// The editor opens as a double click opens it, so the keys typed next reach
// the cell.

#include <QAbstractItemView>
#include <QMouseEvent>
#include <QPersistentModelIndex>

namespace dvx {

template <class View>
class TEditOnClick : public View {
public:
    using View::View;
    using View::edit; // the public edit(index) beside the override below

protected:
    bool edit(const QModelIndex& index, QAbstractItemView::EditTrigger trigger, QEvent* event) override {
        if (trigger == QAbstractItemView::SelectedClicked && this->state() != QAbstractItemView::EditingState &&
            this->editTriggers().testFlag(QAbstractItemView::SelectedClicked)) {
            clickEdit_ = index; // opened by mouseReleaseEvent, once the view has finished the click
            return false;
        }
        return View::edit(index, trigger, event);
    }

    void mouseReleaseEvent(QMouseEvent* event) override {
        clickEdit_ = QPersistentModelIndex();
        View::mouseReleaseEvent(event);
        const QModelIndex index = clickEdit_;
        clickEdit_ = QPersistentModelIndex();
        if (index.isValid() && this->state() != QAbstractItemView::EditingState)
            View::edit(index, QAbstractItemView::DoubleClicked, nullptr);
    }

private:
    // The cell a click on the current cell is to edit, once the click's
    // release has been handled.
    QPersistentModelIndex clickEdit_;
};

} // namespace dvx
