// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The price window ("Price"): the circuit's materials and labour estimate in
// eight groups, the total price and hours, the cost and labour editors, a
// fresh estimate ("Re-Calc") and the "Price Estimate Summary" report.

#include "engine/hydraulics/ProjectContext.h"
#include "presentation/report/PriceReport.h"

#include <QDialog>
#include <functional>
#include <memory>

class QLabel;
class QPlainTextEdit;
class QTableWidget;

namespace dvx {
class TCircuit;
class TPageImage;
class TPreviewForm;
}

namespace dvx::ui {

class TCostForm;
class TLabourForm;

// Estimates the circuit's price with the project's cost tables. True when
// every item is priced; otherwise false after showing why: "The price
// database is incomplete." with the first item missing, or the error of an
// item outside the tables.
bool EstimateWithMessages(QWidget* parent, const TProjectContext& project, TCircuit& circuit);

class TPriceForm : public QDialog {
    Q_OBJECT
public:
    explicit TPriceForm(TProjectContext project, QWidget* parent = nullptr);
    ~TPriceForm() override;

    // The circuit priced, and the editors "Material" and "Labour" open.
    void SetCircuit(TCircuit* circuit) { circuit_ = circuit; }
    void SetEditors(TCostForm* costForm, TLabourForm* labourForm);

    // Shows the window modally; each opening fills the list and makes the
    // figures valid.
    int Execute();

    bool Valid() const { return valid_; }
    QTableWidget* List() const { return list_; }
    QPlainTextEdit* Explanation() const { return text_; }
    QString StatusText() const;
    // A list cell as shown (row 0 "Pipes" … 7 "User"; column 0 to 2).
    QString Cell(int row, int column) const;

    // The buttons.
    void ReportClick();
    void MaterialClick();
    void LabourClick();
    void ReCalcClick();
    void CloseClick();

    // What "Report" runs while the figures are valid (the price report by
    // default; tests may put their own in place).
    std::function<void()> ReportHook;

    // The preview the report is shown in; without one the window makes its
    // own the first time a report is asked for.
    void SetPreview(TPreviewForm* preview) { preview_ = preview; }
    TPreviewForm* Preview();
    // The "Price Estimate Summary": letterhead, logo, the list's rows and the
    // total, shown modally in the preview with the style "Report 2".
    void ShowPriceReport();
    TStdReport& Report() { return report_; }

    // Fills the list from the circuit's items and the status line from its
    // last estimate.
    void FillList();

protected:
    void showEvent(QShowEvent* event) override;

public slots:
    void done(int result) override;

private:
    TProjectContext project_; // the project whose cost tables price the circuit
    void SetStatus(const QString& text);
    void RestoreWindowPlacement();
    void SaveWindowPlacement();

    TCircuit* circuit_ = nullptr;
    TCostForm* costForm_ = nullptr;
    TLabourForm* labourForm_ = nullptr;
    bool valid_ = false;
    QPlainTextEdit* text_ = nullptr;
    QTableWidget* list_ = nullptr;
    QLabel* status_ = nullptr;
    TPreviewForm* preview_ = nullptr;
    TStdReport report_;
    std::unique_ptr<TPageImage> logo_;
};

} // namespace dvx::ui
