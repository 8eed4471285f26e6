// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// "Warning Limits": the pressure-gradient and velocity limits against which
// every calculated item is tested. The limits affect warnings only.

#include "engine/hydraulics/ProjectContext.h"
#include "desktop/windows/CustomForm.h"

#include <string>

class QLabel;

namespace dvx {
class TFmtEdit;
}

namespace dvx::ui {

class TLimitsForm : public TCustomForm {
    Q_OBJECT
public:
    explicit TLimitsForm(TProjectContext project, QWidget* parent = nullptr);

    TFmtEdit* PRateEdit() const { return edPRate_; } // Pa/m, or the gradient unit in force
    TFmtEdit* MaxVEdit() const { return edMaxV_; }   // m/s, or the velocity unit in force
    QLabel* PRateUnit() const { return prateUnit_; }
    QLabel* MaxVUnit() const { return maxVUnit_; }
    TFmtEdit* FreezeMarginEdit() const { return edFreeze_; } // K above a mixture's freezing point

    // Fills the fields from the limits in force, in the display units in
    // force, with the ranges converted (each time the dialog opens).
    void FillFields();
    // "Accept": takes the fields into the limits, saves placement and
    // texts and closes with the OK result; false (the dialog stays open)
    // when a field is out of range or not a number.
    bool AcceptClick();

protected:
    void showEvent(QShowEvent* event) override;

private:
    TProjectContext project_; // the project whose warning limits the window edits
    TFmtEdit* edPRate_;
    TFmtEdit* edMaxV_;
    QLabel* prateUnit_ = nullptr;
    QLabel* maxVUnit_ = nullptr;
    TFmtEdit* edFreeze_;
    // The texts the fields were filled with: a limit whose text is unchanged
    // is kept as it is rather than read back through a unit conversion.
    std::string filledPRate_, filledMaxV_, filledFreeze_;
};

} // namespace dvx::ui
