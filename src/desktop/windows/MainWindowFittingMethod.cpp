// SPDX-License-Identifier: GPL-3.0-or-later
// Calculate › Fitting Method: how the project turns its fittings into
// pressure drops (equivalent length, Crane K or 3-K). The method is saved
// with the project, so choosing another is a change to keep and to undo.

#include "desktop/windows/MainWindow.h"

#include "engine/catalogue/Tables.h"
#include "engine/resistance/FittingMethod.h"
#include "desktop/undo/ProjectCommands.h"
#include "desktop/widgets/QtText.h"
#include "desktop/windows/CircuitModel.h"
#include "desktop/windows/Warnings.h"

#include <QAction>
#include <QActionGroup>
#include <QMenu>

namespace dvx::ui {

void TMainForm::BuildFittingMethodMenu(QMenu* calculate) {
    QMenu* menu = calculate->addMenu("Fitting &Method");
    menu->setObjectName("menuCalcFittingMethod");
    menu->menuAction()->setObjectName("menuCalcFittingMethod");
    auto* group = new QActionGroup(this);
    const char* captions[FittingMethodCount] = {"&Equivalent length", "&Crane K", "&3-K"};
    const char* names[FittingMethodCount] = {"actionFittingMethodEquivalentLength", "actionFittingMethodCraneK",
                                             "actionFittingMethodThreeK"};
    for (int m = 0; m < FittingMethodCount; ++m) {
        const auto method = static_cast<TFittingMethod>(m);
        QAction* action = menu->addAction(captions[m]);
        action->setObjectName(names[m]);
        action->setCheckable(true);
        action->setStatusTip(Q(FittingMethodName(method)) + ": the fittings' pressure drops by this method");
        group->addAction(action);
        connect(action, &QAction::triggered, this,
                [this, method] { RunCommand([this, method] { ChooseFittingMethod(method); }); });
        methodActions_[static_cast<std::size_t>(m)] = action;
    }
    methodActions_[0]->setChecked(true);
}

void TMainForm::ApplyFittingMethod() {
    project_.Tables.FittingMethod = circuit_->FittingMethod;
    const auto m = static_cast<std::size_t>(circuit_->FittingMethod);
    if (m < methodActions_.size() && methodActions_[m] != nullptr) methodActions_[m]->setChecked(true);
}

void TMainForm::ChooseFittingMethod(TFittingMethod method) {
    Commit();
    const TFittingMethod before = circuit_->FittingMethod;
    if (before == method) {
        ApplyFittingMethod(); // the menu shows the method in force again
        return;
    }
    SetSaved(false);
    // The command's redo sets the method, puts it in force and recalculates.
    Record(new TFittingMethodCommand(*this, before, method));
}

void TMainForm::FittingMethodTakenBack() {
    ApplyFittingMethod();
    RecalculateQuietly();
}

void TMainForm::RecalculateQuietly() {
    bool solved = false;
    if (circuit_->FindInvalid().AllValid) {
        try {
            circuit_->Calculate(project_, GroupsActive());
            solved = circuit_->Solved;
        } catch (const std::exception&) {
            // F9 names the fault; here the results are only marked stale.
        }
    }
    RefreshGrid();
    if (solved) ShowDpPanel();
    SetSolved(solved);
    warningsForm_->BuildWarningList(*circuit_);
}

} // namespace dvx::ui
