// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The program's dialog key rule: Enter or Down moves the focus to the next
// field and Up to the previous one, except while a grid, a list or a
// multi-line text has the focus. Installed once on a dialog; it acts on the
// keys the focused control leaves unhandled.

#include <QObject>

class QWidget;

namespace dvx {

class TDialogKeys : public QObject {
    Q_OBJECT
public:
    // Installs the rule on a dialog (the filter is owned by the dialog).
    static TDialogKeys* Install(QWidget* dialog);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    explicit TDialogKeys(QWidget* dialog);
    // Moves the focus to the next (or previous) control of the dialog that
    // takes the focus by keyboard; false when there is none.
    bool MoveFocus(QWidget* from, bool forward);

    QWidget* dialog_;
};

} // namespace dvx
