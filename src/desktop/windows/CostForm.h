// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The cost editor ("Pipe and Fitting Costs"): pipe prices per metre, fitting
// prices per item and the labour cost per hour.

#include "desktop/windows/CostEditor.h"

class QLabel;

namespace dvx {
class TFmtEdit;
}

namespace dvx::ui {

class TCostForm : public TCostEditor {
    Q_OBJECT
public:
    explicit TCostForm(TProjectContext project, QWidget* parent = nullptr);

    TFmtEdit* LabourRateEdit() const { return rateEdit_; }
    QLabel* PerHourLabel() const { return perHour_; }

protected:
    void FillFromTables() override;
    // The project's labour rate from its field; a text that is not a number raises ConvertError.
    void ReadExtraFields() override;

private:
    TFmtEdit* rateEdit_ = nullptr;
    QLabel* perHour_ = nullptr;
};

} // namespace dvx::ui
