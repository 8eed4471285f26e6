// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The frame the program's small dialogs share: a tool bar of text buttons at
// the top, the dialog's own controls in the middle and a status bar with one
// fixed text at the bottom. The dialog key rule (Enter / Down to the next
// field, Up to the previous) is installed. Placement helpers keep the window
// where the user left it, under the window's name in the settings store.

#include <QDialog>

class QTableView;
#include <QString>

class QAction;
class QLabel;
class QToolBar;
class QVBoxLayout;

namespace dvx::ui {

class TCustomForm : public QDialog {
    Q_OBJECT
public:
    // name: the window's name (its settings section, e.g. "LimitsForm").
    TCustomForm(const QString& name, const QString& caption, QWidget* parent = nullptr);

    // Adds a tool button; hint empty = the caption without "&".
    QAction* AddButton(const QString& caption, const QString& hint = {});
    QAction* Button(const QString& caption) const;
    QToolBar* ToolBar() const { return toolBar_; }
    QLabel* StatusText() const { return status_; }
    void SetStatusText(const QString& text);

    // Restores the position (and the size when asked) stored for the window.
    void RestorePlacement(bool restoreSize);
    void SavePlacement();

    // Keeps the window at least as wide as its visible tool buttons and its
    // status text need (call after both are set up).
    void FitToolBar();

protected:
    // Where the dialog's own controls go, between tool bar and status bar.
    QVBoxLayout* Body() const { return body_; }
    // The window opens large enough to show `rows` rows of the table whole,
    // with its header and every column, up to the height of the screen (a
    // larger size the user chose stays).
    void ShowRowsOf(QTableView* table, int rows);
    void showEvent(QShowEvent* event) override;

private:
    QTableView* rowsTable_ = nullptr;
    int rowsWanted_ = 0;
    QToolBar* toolBar_;
    QVBoxLayout* body_;
    QLabel* status_;
};

} // namespace dvx::ui
