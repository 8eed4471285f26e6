// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// "Pump & System Curve": a tool window beside the main window with the
// pump's point table (with NPSH required), the static head and curve
// settings, the pump selection (speed, number of pumps, suction side,
// running cost), and a plot of the system curve, the pump curve with its
// points, the design point and the duty point, the duty with one pump
// fewer, the best efficiency point with its preferred region and the NPSH
// available and required. It follows every recalculation of the circuit; the pump it
// edits is the project's and is saved with it.

#include "engine/hydraulics/ProjectContext.h"
#include "engine/pump/PumpAnalysis.h"
#include "presentation/ui/PumpChart.h"

#include <QWidget>
#include <functional>

class QAreaSeries;
class QChart;
class QCheckBox;
class QComboBox;
class QLineEdit;
class QPainter;
class QPushButton;
class QSpinBox;
class QTabWidget;
class QChartView;
class QGraphicsLineItem;
class QGraphicsSimpleTextItem;
class QLabel;
class QLineSeries;
class QScatterSeries;
class QTableWidget;
class QValueAxis;

namespace dvx {
class TFmtEdit;
}

namespace dvx::ui {

inline constexpr const char* kPumpFormTitle = "Pump & System Curve";
inline constexpr int kPumpTableRows = 8; // rows shown for a new pump; "Add Row" makes more

class TPumpCurveForm : public QWidget {
    Q_OBJECT
public:
    explicit TPumpCurveForm(TProjectContext project, QWidget* parent = nullptr);
    ~TPumpCurveForm() override;

    // The project's circuit: its pump fills the table and the fields.
    void SetCircuit(TCircuit* circuit);
    // Lets go of the circuit and stops taking edits: the owner is being
    // taken down, and a field that loses the focus then changes nothing.
    void Detach();
    // The main window's "Activate Groups" switch, read at every refresh.
    std::function<bool()> GroupsActive;
    // The user changed the pump or the curve settings: the owner records the
    // change (before → after) and puts `after` into the circuit. Without an
    // owner the form puts it there itself.
    std::function<void(const TPumpSettings& before, const TPumpSettings& after)> OnPumpChanged;
    // The circuit's pump was set back by an undo or redo: show it.
    void PumpTakenBack();

    // Analyses the circuit again and redraws, now if the window is shown,
    // otherwise when it is next shown.
    void Refresh();
    // Shows the table, the fields and the plot in the display units in force.
    void ApplyUnits();
    // Writes the plot as a PNG or SVG picture, by the file's extension,
    // headed by the project's name and followed by the design, fit and duty
    // lines; false when the file cannot be written.
    bool ExportChart(const QString& file);
    // "Export Plot...": asks for the file, starting at ExportStart with the
    // extension of the type chosen, which is added when none is typed.
    void ExportCommand();

    // The project's name, which heads an exported plot (none: no heading).
    std::function<QString()> ProjectName;
    // The file, without extension, that Export Plot offers first (the
    // project's folder and name).
    std::function<QString()> ExportStart;
    // Asks for the file to export to; `start` is the file offered, `filter`
    // receives the type chosen. Empty: cancelled. Unset: the file dialog.
    std::function<QString(QWidget* parent, const QString& start, const QStringList& filters, QString* filter)>
        AskExportFile;

    // "Dock"/"Undock": asks the owner to put the window into its own frame
    // (true) or to let it stand alone again (false). Unset: no button.
    std::function<void(bool dock)> OnDock;
    // Called by the owner when it has docked or undocked the window: the
    // button then offers the other.
    void ShowDocked(bool docked);
    QPushButton* DockButton() const { return dockButton_; }

    const TPumpAnalysis& Analysis() const { return analysis_; }
    QTableWidget* PointTable() const { return table_; }
    TFmtEdit* StaticHeadEdit() const { return staticHead_; }
    TFmtEdit* CurvePointsEdit() const { return curvePoints_; }
    TFmtEdit* MaxRatioEdit() const { return maxRatio_; }
    QLabel* DutyLabel() const { return duty_; }
    // The selection's figures under the duty line, one a line.
    QLabel* SelectionLabel() const { return selection_; }
    QTabWidget* Tabs() const { return tabs_; }
    QLabel* MessageLabel() const { return messages_; }
    QChartView* ChartView() const { return chartView_; }
    // The labels beside the design and duty points on the plot.
    QGraphicsSimpleTextItem* DesignPointLabel() const { return designLabel_; }
    QGraphicsSimpleTextItem* DutyPointLabel() const { return dutyLabel_; }
    // The efficiency against flow, on its own axis at the right.
    QLineSeries* EfficiencySeries() const { return efficiency_; }
    QLineSeries* StandbyCurveSeries() const { return standbyCurve_; }
    QScatterSeries* BepSeries() const { return bep_; }
    QAreaSeries* PreferredRegionSeries() const { return region_; }
    QLineSeries* NpshAvailableSeries() const { return npshAvailable_; }
    QLineSeries* NpshRequiredSeries() const { return npshRequired_; }
    QValueAxis* EfficiencyAxis() const { return axisEfficiency_; }

    void RestorePlacementFromSettings();
    void SavePlacement() const;

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    TProjectContext project_; // the project (tables, liquid) the circuit is analysed with
    void BuildTable();
    void BuildChart();
    // The selection's tab: the fields and what they change.
    QWidget* BuildSelectionTab();
    // The pump and settings into the table and fields.
    void LoadFromCircuit();
    // The table and fields into the circuit's pump when they read; a table
    // or field that does not read is reported and changes nothing.
    void TakeEdits();
    void TakeEditsInto(TCircuit& circuit);
    void Redraw();
    void Draw();
    void PlaceLabels();
    // What an exported plot shows under its heading: the plot, then the
    // design, fit and duty lines (pixels at 1:1).
    QStringList ExportLines() const;
    QSize ExportSize() const;
    void PaintExport(QPainter& painter) const;

    TCircuit* circuit_ = nullptr;
    TPumpAnalysis analysis_;
    TPumpSettings shown_; // the pump the table and fields were filled with
    bool stale_ = true;
    bool loading_ = false;
    std::string entryError_;

    QTableWidget* table_ = nullptr;
    TFmtEdit* staticHead_ = nullptr;
    QLabel* staticHeadLabel_ = nullptr;
    TFmtEdit* curvePoints_ = nullptr;
    TFmtEdit* maxRatio_ = nullptr;
    QLabel* design_ = nullptr;
    QLabel* fit_ = nullptr;
    QLabel* duty_ = nullptr;
    QLabel* messages_ = nullptr;
    QLabel* selection_ = nullptr;

    QTabWidget* tabs_ = nullptr;
    QPushButton* dockButton_ = nullptr;
    bool docked_ = false;
    QLineEdit* speed_ = nullptr;
    QSpinBox* pumps_ = nullptr;
    QComboBox* arrangement_ = nullptr;
    QCheckBox* standby_ = nullptr;
    QLineEdit* suctionItems_ = nullptr;
    QLineEdit* suctionHeight_ = nullptr;
    QLineEdit* surfacePressure_ = nullptr;
    QLineEdit* vapourPressure_ = nullptr;
    QLineEdit* npshMargin_ = nullptr;
    QLineEdit* hours_ = nullptr;
    QLineEdit* price_ = nullptr;
    QLineEdit* motorEfficiency_ = nullptr;
    QLineEdit* driveEfficiency_ = nullptr;
    // Captions that name a display unit, set again when the units change.
    QLabel* suctionHeightLabel_ = nullptr;
    QLabel* surfacePressureLabel_ = nullptr;
    QLabel* vapourPressureLabel_ = nullptr;
    QLabel* npshMarginLabel_ = nullptr;

    QChart* chart_ = nullptr;
    QChartView* chartView_ = nullptr;
    QValueAxis* axisX_ = nullptr;
    QValueAxis* axisY_ = nullptr;
    QValueAxis* axisEfficiency_ = nullptr; // at the right, shown with efficiency points
    QLineSeries* efficiency_ = nullptr;
    QLineSeries* system_ = nullptr;
    QLineSeries* pumpCurve_ = nullptr;
    QScatterSeries* pumpPoints_ = nullptr;
    QScatterSeries* designPoint_ = nullptr;
    QScatterSeries* dutyPoint_ = nullptr;
    QGraphicsSimpleTextItem* designLabel_ = nullptr;
    QGraphicsSimpleTextItem* dutyLabel_ = nullptr;
    QGraphicsLineItem* designLeader_ = nullptr; // from a point to its label placed away from it
    QGraphicsLineItem* dutyLeader_ = nullptr;
    QLineSeries* standbyCurve_ = nullptr;
    QScatterSeries* standbyDuty_ = nullptr;
    QScatterSeries* bep_ = nullptr;
    QLineSeries* regionTop_ = nullptr;    // the preferred region's edges, for its area
    QLineSeries* regionBottom_ = nullptr;
    QAreaSeries* region_ = nullptr;
    QLineSeries* npshAvailable_ = nullptr;
    QLineSeries* npshRequired_ = nullptr;
    QGraphicsSimpleTextItem* standbyLabel_ = nullptr;
    QGraphicsSimpleTextItem* bepLabel_ = nullptr;
    QGraphicsLineItem* standbyLeader_ = nullptr;
    QGraphicsLineItem* bepLeader_ = nullptr;
};

} // namespace dvx::ui
