// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// "Warnings": the modal tool window listing the pipes and fittings that the
// last calculation flagged, from which the selected item's bore ("Auto
// Size") or flow ("Auto Flow") is corrected on the spot.

#include "engine/hydraulics/ProjectContext.h"
#include "presentation/ui/WarningList.h"

#include <QDialog>

class QAction;
class QListWidget;
class QStatusBar;

namespace dvx::ui {

class TWarningsForm : public QDialog {
    Q_OBJECT
public:
    explicit TWarningsForm(TProjectContext project, QWidget* parent = nullptr);

    // Lists the flagged items of the circuit (the list before is dropped).
    void BuildWarningList(const TCircuit& circuit);
    // Shows the selected item's detail line again (after the display units
    // changed).
    void RefreshDetail();

    // The selected item's bore from its flow / flow from its bore; the line
    // leaves the list. Nothing happens on an empty list.
    void AutoSizeClick();
    void AutoFlowClick();

    // Items corrected since the window was last opened.
    int Corrected() const { return corrected_; }

    QListWidget* List() const { return list_; }
    QStatusBar* StatusBar() const { return status_; }
    const std::vector<TWarningLine>& Lines() const { return lines_; }
    QAction* AutoSizeAction() const { return autoSize_; }
    QAction* AutoFlowAction() const { return autoFlow_; }
    QAction* CloseAction() const { return close_; }

    void done(int result) override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    TProjectContext project_; // the project whose liquid, limits and bores the warnings use
    TBranch* SelectedItem() const;
    void ShowDetail(int line);
    // Removes the selected line and selects the first remaining one.
    void RemoveSelected();

    QListWidget* list_ = nullptr;
    QStatusBar* status_ = nullptr;
    QAction* autoSize_ = nullptr;
    QAction* autoFlow_ = nullptr;
    QAction* close_ = nullptr;
    std::vector<TWarningLine> lines_; // line i of the list belongs to entry i
    int corrected_ = 0;
};

} // namespace dvx::ui
