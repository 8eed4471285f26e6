// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/windows/DefaultsForm.h"

#include "engine/catalogue/Bores.h"
#include "engine/catalogue/Tables.h"
#include "base/Errors.h"
#include "base/Numbers.h"
#include "storage/settings/Defaults.h"
#include "storage/settings/SettingsStore.h"
#include "presentation/ui/UnitLines.h"
#include "desktop/widgets/Messages.h"
#include "engine/units/UnitView.h"
#include "desktop/widgets/EntryGrid.h"

#include <QAction>
#include <QLabel>
#include <QToolBar>
#include <QVBoxLayout>

namespace dvx::ui {

namespace {

enum TDefaultsRow {
    rowTemperature = 1,
    rowBore = 2,
    rowLength = 3,
    rowFlow = 4,
    rowFittingType = 5,
    rowQuantity = 6,
    rowUserDP = 7,
};

// A row's value as a number; a cell text that does not read raises the
// conversion error.
double Number(const TEntryGrid& grid, int row) {
    const TValue value = grid.GetValue(1, row);
    if (const auto* text = std::get_if<std::string>(&value)) return StrToFloat(*text);
    return *ValueAsNumber(value);
}

// A row of a quantity read back into its default (in the metric unit the
// default is kept in); an untouched row in another unit keeps the default.
void TakeQuantity(const TEntryGrid& grid, int row, const TUnitView& view, const std::vector<std::string>& filled,
                  double& value) {
    const std::size_t r = static_cast<std::size_t>(row);
    if (!view.IsMetric() && r < filled.size() && grid.Cell(1, row) == filled[r]) return;
    value = view.MetricFromShown(Number(grid, row));
}

int Index(const TEntryGrid& grid, int row) {
    const TValue value = grid.GetValue(1, row);
    return std::holds_alternative<int>(value) ? std::get<int>(value) : -1;
}

// The sheet's quantities. The defaults are held in °C, m, l/s and kPa, the
// units the SI sheet shows.
TUnitView TemperatureView(const TUnitChoice& u) {
    return TUnitView(u, qtTemperature, {"°C", "%0.1f", Times(1)}, kNoHeadDensity);
}
TUnitView LengthView(const TUnitChoice& u) { return TUnitView(u, qtLength, {"m", "%0.3f", Times(1)}, kNoHeadDensity); }
TUnitView FlowView(const TUnitChoice& u) {
    return TUnitView(u, qtFlow, {"l/s", "%0.3f", Times(1000), Times(0.001)}, kNoHeadDensity);
}
TUnitView DropView(const TUnitChoice& u, double density) {
    return TUnitView(u, qtPressureDrop, {"kPa", "%0.1f", Times(0.001), Times(1000)}, density);
}
TUnitView SizeView(const TUnitChoice& u) { return TUnitView(u, qtPipeSize, {"mm", "%0.0f", Times(1)}, kNoHeadDensity); }

} // namespace

std::vector<std::string> TDefaultsForm::LinesFor(const TUnitChoice& u, double density) {
    std::vector<std::string> lines = Lines();
    lines[rowTemperature] = QuantityLine("Water Temperature", TemperatureView(u), -10, 90);
    if (!SizeView(u).IsMetric()) lines[rowBore] = "Pipe Bore; enum; " + SizeView(u).Label();
    lines[rowLength] = QuantityLine("Pipe Length", LengthView(u), 0.1, 100, " ");
    lines[rowFlow] = QuantityLine("Water Flow Rate", FlowView(u), 0.1, 100);
    lines[rowUserDP] = QuantityLine("User Pressure Drop", DropView(u, density), 0, 100);
    return lines;
}

const std::vector<std::string>& TDefaultsForm::Lines() {
    static const std::vector<std::string> lines = {
        "Property; Value; Units",
        "Water Temperature; %0.1f; °C; NPE; -10; 90",
        "Pipe Bore; enum; mm; 300; 250; 200; 150; 125; 100; 80; 65; 50; 40; 35; 25",
        "Pipe Length; %0.3f; m; NPE; 0.1; 100 ",
        "Water Flow Rate; %0.3f; l/s; NPE; 0.1; 100",
        "Fitting Type; enum; ; Elbow; Taper; Valve; Strainer",
        "Fitting Quantity; %d; ; NPE; 1; 99",
        "User Pressure Drop; %0.1f; kPa; NPE; 0; 100",
    };
    return lines;
}

TDefaultsForm::TDefaultsForm(TProjectContext project, QWidget* parent)
    : TCustomForm("DefaultsForm", "Defaults", parent), project_(project) {
    connect(AddButton("Accept"), &QAction::triggered, this, [this] { AcceptClick(); });
    connect(AddButton("Cancel"), &QAction::triggered, this, &QDialog::reject);
    connect(AddButton("Restore"), &QAction::triggered, this, [this] { RestoreClick(); });
    SetStatusText("Program default values for new item");

    grid_ = new TEntryGrid(this);
    units_ = DisplayUnits();
    grid_->SetLines(LinesFor(units_, LiquidDensity(project_.Liquid)));
    grid_->setColumnWidth(0, 115);
    grid_->setColumnWidth(1, 93);
    grid_->setColumnWidth(2, 49);
    Body()->addWidget(grid_, 1);

    // The defaults themselves are read with the other settings of the core.
    FillGrid();
    FitColumns();
    RestorePlacement(false);
}

void TDefaultsForm::FitColumns() {
    // The design widths, widened where the sheet's font needs more room for
    // a caption, a choice (with its drop-down button) or a unit.
    const int design[3] = {115, 93, 49};
    const QFontMetrics metrics(grid_->font());
    const int pad = 12;
    int total = 0;
    for (int c = 0; c < 3; ++c) {
        int needed = 0;
        for (int r = 0; r < grid_->RowCount(); ++r)
            needed = std::max(needed, metrics.horizontalAdvance(QString::fromStdString(grid_->Cell(c, r))));
        if (c == 1) {
            for (int r = 1; r < grid_->RowCount(); ++r)
                if (const TEnumField* field = grid_->EnumField(r))
                    for (const std::string& item : field->Items)
                        needed = std::max(needed, metrics.horizontalAdvance(QString::fromStdString(item)));
            needed += grid_->DefaultRowHeight();
        }
        const int width = std::max(design[c], needed + pad);
        grid_->setColumnWidth(c, width);
        total += width;
    }
    const int rows = (grid_->DefaultRowHeight() + 1) * grid_->RowCount() + 8;
    resize(total + 2 * grid_->frameWidth() + 2, rows + ToolBar()->sizeHint().height() + StatusText()->sizeHint().height() + 16);
    FitToolBar();
}

void TDefaultsForm::FollowUnits() {
    if (units_ == DisplayUnits()) return;
    units_ = DisplayUnits();
    grid_->SetLines(LinesFor(units_, LiquidDensity(project_.Liquid)));
    FitColumns();
}

void TDefaultsForm::FillGrid() {
    FollowUnits();
    std::vector<std::string> bores(BoreName.begin(), BoreName.end());
    if (!SizeView(units_).IsMetric())
        for (int b = 0; b < BoreCount; ++b)
            bores[static_cast<std::size_t>(b)] =
                SizeView(units_).Text(NominalOf(project_.Tables, b));
    grid_->SetEnumStrings(rowBore, bores);
    // The fitting row offers every fitting type, so its value is the
    // fitting table index the insert dialog preselects.
    std::vector<std::string> fittings;
    for (const TFittingRec& rec : project_.Tables.FittingTable)
        fittings.push_back(rec.FittingName);
    grid_->SetEnumStrings(rowFittingType, fittings);
    grid_->SetValue(1, rowTemperature,
                    TemperatureView(units_).ShownFromMetric(project_.Tables.DefaultTemperature));
    grid_->SetValue(1, rowBore,
                    static_cast<int>(BoreAtLeast(project_.Tables, project_.Tables.DefaultBore)));
    grid_->SetValue(1, rowLength,
                    LengthView(units_).ShownFromMetric(project_.Tables.DefaultLength));
    grid_->SetValue(1, rowFlow, FlowView(units_).ShownFromMetric(project_.Tables.DefaultFlow));
    grid_->SetValue(1, rowFittingType, project_.Tables.DefaultFittingType);
    grid_->SetValue(1, rowQuantity, project_.Tables.DefaultQuantity);
    grid_->SetValue(1, rowUserDP, DropView(units_, LiquidDensity(project_.Liquid)).ShownFromMetric(project_.Tables.DefaultUserDP));
    filled_.assign(static_cast<std::size_t>(grid_->RowCount()), std::string());
    for (int r = 1; r < grid_->RowCount(); ++r) filled_[static_cast<std::size_t>(r)] = grid_->Cell(1, r);
}

void TDefaultsForm::showEvent(QShowEvent* event) {
    FillGrid();
    grid_->SetCurrentCell(1, 1);
    grid_->setFocus();
    TCustomForm::showEvent(event);
}

bool TDefaultsForm::TakeGrid() {
    grid_->FinishEditing();
    try {
        TCatalogueTables& tables = project_.Tables;
        TakeQuantity(*grid_, rowTemperature, TemperatureView(units_), filled_,
                     tables.DefaultTemperature);
        const int bore = Index(*grid_, rowBore);
        if (bore >= 0 && bore < BoreCount) tables.DefaultBore = NominalOf(tables, bore);
        TakeQuantity(*grid_, rowLength, LengthView(units_), filled_, tables.DefaultLength);
        TakeQuantity(*grid_, rowFlow, FlowView(units_), filled_, tables.DefaultFlow);
        const int type = Index(*grid_, rowFittingType);
        if (type >= 0 && type < FittingCount) tables.DefaultFittingType = type;
        tables.DefaultQuantity = static_cast<int>(Number(*grid_, rowQuantity));
        TakeQuantity(*grid_, rowUserDP, DropView(units_, LiquidDensity(project_.Liquid)), filled_, tables.DefaultUserDP);
    } catch (const ConvertError& e) {
        ShowMessage(this, MsgKind::Error, QString::fromUtf8(e.what()));
        return false;
    }
    return true;
}

void TDefaultsForm::Store() {
    try {
        SavePlacement();
        SaveItemDefaults(AppSettings(), project_.Tables);
    } catch (const std::exception& e) {
        ShowMessage(this, MsgKind::Error, QString::fromUtf8(e.what()));
    }
}

bool TDefaultsForm::AcceptClick() {
    if (!TakeGrid()) return false;
    Store();
    accept();
    return true;
}

void TDefaultsForm::RestoreClick() {
    grid_->FinishEditing();
    RestoreItemDefaults(project_.Tables);
    FillGrid();
    Store();
}

} // namespace dvx::ui
