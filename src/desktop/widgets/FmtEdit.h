// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The formatted numeric edit: a single-line field that refuses keys that
// cannot belong to a number of its format, restores its text on Escape,
// and on Enter or when it loses the focus cleans the number, keeps it in
// range (the nearer limit, with a beep) and shows it in its format.

#include "presentation/widgets/FmtEditBase.h"

#include <QLineEdit>
#include <QPointer>

#include <QLabel>

namespace dvx {

class TFmtEdit : public QLineEdit, public TFmtEditBase {
    Q_OBJECT
public:
    explicit TFmtEdit(QWidget* parent = nullptr);

    std::string Text() const override;
    void SetText(const std::string& text) override;

    // A label that shows the unit's name (optional).
    void SetUnitsLabel(QLabel* label);
    QLabel* UnitsLabel() const { return unitsLabel_; }

    // Validate, beeping when a number was set to a limit.
    bool ValidateWithBeep();

    // Whether a failed check on leaving the field takes the focus back
    // (dialog fields do; the property sheet's in-place editor does not).
    bool KeepFocusOnFailure = true;

    // The text the field had when it received the focus (restored by Escape).
    const QString& FocusText() const { return focusText_; }

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void UnitsLabelChanged(const std::string& label) override;

private:
    QPointer<QLabel> unitsLabel_;
    QString focusText_;
};

} // namespace dvx
