// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The labour editor ("Labour Rate Editor"): installation hours per metre of
// pipe and per fitting. Its maroon label names the table of the tab shown.

#include "desktop/windows/CostEditor.h"

class QLabel;

namespace dvx::ui {

class TLabourForm : public TCostEditor {
    Q_OBJECT
public:
    explicit TLabourForm(TProjectContext project, QWidget* parent = nullptr);

    QLabel* TableLabel() const { return label_; }

protected:
    void FillFromTables() override;

private:
    void ShowTabLabel();

    QLabel* label_ = nullptr;
};

} // namespace dvx::ui
