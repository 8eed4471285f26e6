// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// "Install notice": asks whether one differing section of a data file keeps
// the user's data or takes the newly installed data. Used by the
// install-data merge at start-up, before any other window exists.

#include "storage/settings/InstallDataConfirm.h"

#include <QDialog>

class QLabel;
class QPlainTextEdit;
class QTableWidget;
class QPushButton;
class QSplitter;

namespace dvx::ui {

class TConfirmChangeDlg : public QDialog, public TInstallDataConfirm {
    Q_OBJECT
public:
    explicit TConfirmChangeDlg(QWidget* parent = nullptr);

    // Shows the two versions of the section modally; the answer is the
    // button's result value, "Keep your data" when the window was closed
    // without a button.
    int Ask(const TConfirmChange& change) override;

    QPushButton* LaterBtn() const { return laterBtn_; }
    QPushButton* AllBtn() const { return allBtn_; }
    QPushButton* UserBtn() const { return userBtn_; }
    QPushButton* InstallBtn() const { return installBtn_; }
    QPlainTextEdit* UserMemo() const { return userMemo_; }
    QPlainTextEdit* InstallMemo() const { return installMemo_; }
    QSplitter* Splitter() const { return splitter_; }
    // The sentence saying what the choice does, and the differing keys side
    // by side (rows: keys; columns: yours, shipped).
    QLabel* Explanation() const { return explanation_; }
    QTableWidget* Comparison() const { return comparison_; }
    // The answer of the last Ask (a TConfirmResult).
    int Answer() const { return answer_; }

    // A factory for the merge: one dialog per merged file.
    static TConfirmFactory Factory();

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void Choose(int answer);
    void ShowComparison(const TConfirmChange& change);

    QPushButton* laterBtn_;
    QPushButton* allBtn_;
    QPushButton* userBtn_;
    QPushButton* installBtn_;
    QPlainTextEdit* userMemo_;
    QPlainTextEdit* installMemo_;
    QSplitter* splitter_;
    QLabel* explanation_;
    QTableWidget* comparison_;
    int answer_ = crKeepUser;
};

} // namespace dvx::ui
