// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The drop-down list of an enumerated sheet row: a flat pop-up with a thin
// border and a vertical scroll bar. Each key release and a click set the
// highlighted item as the row's value; Enter, Escape and a click close it.

#include <QListWidget>

namespace dvx {

class TEntryGrid;

class TMyListBox : public QListWidget {
    Q_OBJECT
public:
    explicit TMyListBox(TEntryGrid* grid);

protected:
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    void CloseList();
    void CloseIfOverOtherCell(QMouseEvent* event);
    TEntryGrid* grid_;
};

} // namespace dvx
