// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// "Project Summary": the modal tool window that adds up the circuit by kind
// of item each time it is shown.

#include "engine/fluid/Fluid.h"
#include "presentation/ui/ProjectSummary.h"

#include <QDialog>

class QAction;
class QStatusBar;
class QTableWidget;

namespace dvx::ui {

class TSummaryForm : public QDialog {
    Q_OBJECT
public:
    explicit TSummaryForm(QWidget* parent = nullptr);

    // The circuit added up when the window is shown, and its project's
    // liquid (whose density serves drops shown as head; none: no head units).
    void SetCircuit(const TCircuit* circuit, const TLiquid* liquid) {
        circuit_ = circuit;
        liquid_ = liquid;
    }
    // Fills the rows and the status bar from the circuit.
    void Recompute();

    QTableWidget* List() const { return list_; }
    QStatusBar* StatusBar() const { return status_; }
    QAction* CloseAction() const { return close_; }

    void done(int result) override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    const TCircuit* circuit_ = nullptr;
    const TLiquid* liquid_ = nullptr;
    QTableWidget* list_ = nullptr;
    QStatusBar* status_ = nullptr;
    QAction* close_ = nullptr;
};

} // namespace dvx::ui
