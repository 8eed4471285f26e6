// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/windows/UnitsForm.h"

#include "storage/settings/SettingsStore.h"
#include "storage/settings/UnitSettings.h"
#include "desktop/widgets/Messages.h"

#include <QAction>
#include <QComboBox>
#include <QFormLayout>
#include <QFrame>
#include <QLabel>
#include <QVBoxLayout>

namespace dvx::ui {

namespace {
// The preset combo's entry for a choice that matches no preset.
const char* const kOwnChoice = "Own choice";
} // namespace

TUnitsForm::TUnitsForm(QWidget* parent) : TCustomForm("UnitsForm", "Units", parent) {
    connect(AddButton("Accept"), &QAction::triggered, this, &QDialog::accept);
    connect(AddButton("Cancel"), &QAction::triggered, this, &QDialog::reject);
    SetStatusText("Values are kept in SI; only what is shown changes");

    auto* form = new QFormLayout;
    form->setContentsMargins(10, 10, 10, 10);
    // Room between each caption and its list, whatever the style gives.
    form->setHorizontalSpacing(12);
    preset_ = new QComboBox(this);
    preset_->setObjectName("Preset");
    for (int p = 0; p < UnitPresetCount; ++p) preset_->addItem(PresetName(static_cast<TUnitPreset>(p)));
    preset_->addItem(kOwnChoice);
    form->addRow("Preset", preset_);
    auto* line = new QFrame(this);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    form->addRow(line);
    for (int q = 0; q < QuantityCount; ++q) {
        const auto quantity = static_cast<TQuantity>(q);
        auto* combo = new QComboBox(this);
        combo->setObjectName(QuantityName(quantity));
        for (const TDisplayUnit& unit : DisplayUnitsOf(quantity)) combo->addItem(QString::fromUtf8(unit.Label));
        connect(combo, qOverload<int>(&QComboBox::currentIndexChanged), this, [this] { ShowMatchingPreset(); });
        combos_[static_cast<std::size_t>(q)] = combo;
        form->addRow(QString::fromUtf8(QuantityName(quantity)), combo);
    }
    connect(preset_, qOverload<int>(&QComboBox::activated), this, [this](int index) { PresetChosen(index); });
    Body()->addLayout(form);
    FitToolBar();
    RestorePlacement(false);
    SetChoice(DisplayUnits());
}

void TUnitsForm::SetChoice(const TUnitChoice& choice) {
    filling_ = true;
    for (int q = 0; q < QuantityCount; ++q)
        combos_[static_cast<std::size_t>(q)]->setCurrentIndex(choice.Index(static_cast<TQuantity>(q)));
    filling_ = false;
    ShowMatchingPreset();
}

TUnitChoice TUnitsForm::Choice() const {
    TUnitChoice choice;
    for (int q = 0; q < QuantityCount; ++q)
        choice.Set(static_cast<TQuantity>(q), std::max(0, combos_[static_cast<std::size_t>(q)]->currentIndex()));
    return choice;
}

void TUnitsForm::PresetChosen(int index) {
    if (index < 0 || index >= UnitPresetCount) return; // "Own choice" changes nothing
    SetChoice(TUnitChoice::FromPreset(static_cast<TUnitPreset>(index)));
}

void TUnitsForm::ShowMatchingPreset() {
    if (filling_) return;
    const auto preset = Choice().MatchingPreset();
    preset_->setCurrentIndex(preset ? static_cast<int>(*preset) : UnitPresetCount);
}

bool TUnitsForm::Execute() {
    SetChoice(DisplayUnits());
    if (exec() != QDialog::Accepted) return false;
    SetDisplayUnits(Choice());
    try {
        SavePlacement();
        WriteUnitChoice(AppSettings(), DisplayUnits());
    } catch (const std::exception& e) {
        // The choice is in force for this run even when it cannot be kept.
        ShowMessage(this, MsgKind::Error, QString::fromUtf8(e.what()));
    }
    return true;
}

} // namespace dvx::ui
