// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/windows/FluidSpecForm.h"

#include "desktop/widgets/WindowPlacement.h"
#include "engine/catalogue/Tables.h"
#include "storage/settings/SettingsStore.h"
#include "desktop/widgets/Messages.h"
#include "desktop/widgets/UnitsChooser.h"

#include <QApplication>
#include <QFontMetrics>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>

#include <algorithm>

namespace dvx::ui {

namespace {

const char* const kWindowName = "FluidSpecForm";
const QColor kTeal(0, 128, 128);
const QColor kMaroon(128, 0, 0);

} // namespace

void TFluidGrid::ShowMessage(const std::string& text) {
    ui::ShowMessage(this, MsgKind::Plain, QString::fromStdString(text));
}

TFluidSpecForm::TFluidSpecForm(TProjectContext project, QWidget* parent)
    : QDialog(parent, Qt::Tool), project_(project), grid_(new TFluidGrid(this)), logic_(*grid_) {
    setObjectName(kWindowName);
    setWindowTitle("Fluid Specification");
    setModal(true);
    setMinimumSize(300, 300);
    setMaximumSize(400, 500);
    resize(340, 330);

    accept_ = new QPushButton("Accept", this);
    cancel_ = new QPushButton("Cancel", this);
    accept_->setAutoDefault(false);
    cancel_->setAutoDefault(false);
    connect(accept_, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);
    auto* panel = new QHBoxLayout;
    panel->addWidget(accept_);
    panel->addWidget(cancel_);
    panel->addStretch(1);

    statusLabel_ = new QLabel("Status...", this);
    // Water mixtures only: the freezing point, and the least volume of the
    // additive that protects down to a temperature the user types.
    freezeLabel_ = new QLabel(this);
    freezeLabel_->hide();
    protectRow_ = new QWidget(this);
    auto* protect = new QHBoxLayout(protectRow_);
    protect->setContentsMargins(0, 0, 0, 0);
    protectEdit_ = new QLineEdit(protectRow_);
    protectEdit_->setObjectName("protectEdit");
    protectEdit_->setMaximumWidth(60);
    protectUnit_ = new QLabel(protectRow_);
    protectAnswer_ = new QLabel(protectRow_);
    protect->addWidget(new QLabel("Protect down to", protectRow_));
    protect->addWidget(protectEdit_);
    protect->addWidget(protectUnit_);
    protect->addWidget(protectAnswer_, 1);
    protectRow_->hide();
    connect(protectEdit_, &QLineEdit::textChanged, this, [this] { ShowProtection(); });
    ShowStatus({"Status...", true});

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addLayout(panel);
    layout->addWidget(grid_, 1);
    layout->addWidget(statusLabel_);
    layout->addWidget(freezeLabel_);
    layout->addWidget(protectRow_);

    // Column widths: 100, 100 and 50, or wider where the font needs it
    // for the captions and the unit labels.
    grid_->setColumnWidth(0, 100);
    grid_->setColumnWidth(1, 100);
    grid_->setColumnWidth(2, 50);
    logic_.OnStatus = [this](const TFluidStatus& status) { ShowStatus(status); };
    logic_.OnMessage = [this](const std::string& text) {
        ui::ShowMessage(this, MsgKind::Plain, QString::fromStdString(text));
    };
    logic_.OnError = [this](const std::string& text) {
        ui::ShowMessage(this, MsgKind::Error, QString::fromStdString(text));
    };
    // Lines, liquid names, units and the units column.
    logic_.Setup();
    // The sheet's notifications.
    grid_->OnDoSetData = [this](TEntryGrid&, int, int row) { RowChanged(row); };
    grid_->OnAfterRightClick = [this](TEntryGrid&, int) { logic_.ShowStatus(); };
    grid_->SetUnitsChooser(ChooseUnits);
    const QFontMetrics metrics(grid_->font());
    int captions = 0;
    int labels = 0;
    int items = 0;
    for (int r = 1; r < grid_->RowCount(); ++r) {
        captions = std::max(captions, metrics.horizontalAdvance(QString::fromStdString(grid_->Cell(0, r))));
        if (auto* field = grid_->EnumField(r))
            for (const std::string& item : field->Items)
                items = std::max(items, metrics.horizontalAdvance(QString::fromStdString(item)));
        if (auto* field = grid_->NumField(r))
            for (const std::string& label : UnitLabels(field->UnitsType))
                labels = std::max(labels, metrics.horizontalAdvance(QString::fromStdString(label)));
    }
    grid_->setColumnWidth(0, std::max(100, captions + 12));
    // The value column leaves room for the drop-down button of the lists.
    grid_->setColumnWidth(1, std::max(100, items + 12 + grid_->DefaultRowHeight()));
    grid_->setColumnWidth(2, std::max(50, labels + 12));
    int sheetWidth = 0;
    for (int c = 0; c < grid_->ColCount(); ++c) sheetWidth += grid_->columnWidth(c);
    resize(std::clamp(sheetWidth + 2 * grid_->frameWidth() + 12, 300, 400), height());
    // Stored widths and units.
    std::vector<int> widths = ColumnWidths();
    logic_.LoadSheetSettings(AppSettings(), widths);
    for (int c = 0; c < static_cast<int>(widths.size()); ++c) grid_->setColumnWidth(c, widths[static_cast<std::size_t>(c)]);
    // Placement, position and size (over the design size worked out above).
    RestoreWindowPlacement(*this, AppSettings(), kWindowName, true);
}

std::vector<int> TFluidSpecForm::ColumnWidths() const {
    std::vector<int> widths;
    for (int c = 0; c < grid_->ColCount(); ++c) widths.push_back(grid_->columnWidth(c));
    return widths;
}

void TFluidSpecForm::ShowStatus(const TFluidStatus& status) {
    statusLabel_->setText(QString::fromStdString(status.Text));
    QPalette palette = statusLabel_->palette();
    palette.setColor(QPalette::WindowText, status.InRange ? kTeal : kMaroon);
    statusLabel_->setPalette(palette);
    if (freezeLabel_ == nullptr) return;
    const TFreezeStatus freezing = logic_.FreezeStatus();
    freezeLabel_->setVisible(freezing.Applies);
    protectRow_->setVisible(freezing.Applies);
    if (!freezing.Applies) return;
    freezeLabel_->setText(QString::fromStdString(freezing.Text));
    QPalette freezePalette = freezeLabel_->palette();
    freezePalette.setColor(QPalette::WindowText, freezing.AtRisk ? kMaroon : kTeal);
    freezeLabel_->setPalette(freezePalette);
    ShowProtection();
}

void TFluidSpecForm::ShowProtection() {
    protectUnit_->setText(QString::fromStdString(grid_->Cell(2, frTemperature)));
    protectAnswer_->setText(QString::fromStdString(logic_.ProtectionAnswer(protectEdit_->text().toStdString())));
}

void TFluidSpecForm::RowChanged(int row) { logic_.RowChanged(row); }

void TFluidSpecForm::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    // Once per opening: a message box or the units list taking the focus
    // for a moment must not renew the backup that Cancel restores.
    if (!event->spontaneous()) {
        logic_.SetFreezingMargin(project_.Tables.FreezingMargin);
        logic_.Activate();
    }
}

void TFluidSpecForm::done(int result) {
    if (grid_->IsEditing()) grid_->FinishEditing();
    if (result != QDialog::Accepted) logic_.RestoreBackup();
    try {
        SettingsStore& store = AppSettings();
        SaveWindowPlacement(*this, store, kWindowName);
        logic_.SaveSheetSettings(store, ColumnWidths());
    } catch (const std::exception& e) {
        ui::ShowMessage(this, MsgKind::Error, QString::fromUtf8(e.what()));
    }
    QDialog::done(result);
}

} // namespace dvx::ui
