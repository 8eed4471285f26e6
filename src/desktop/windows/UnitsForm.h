// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// "Units": the display unit of every quantity the program shows, set one by
// one or all at once from a preset. Values are held in SI whatever is
// chosen; only what windows, reports and entries show changes.

#include "desktop/windows/CustomForm.h"
#include "engine/units/UnitChoice.h"

#include <array>

class QComboBox;

namespace dvx::ui {

class TUnitsForm : public TCustomForm {
    Q_OBJECT
public:
    explicit TUnitsForm(QWidget* parent = nullptr);

    // The combos show `choice`; the preset combo names the preset it equals.
    void SetChoice(const TUnitChoice& choice);
    // What the combos show now.
    TUnitChoice Choice() const;

    QComboBox* PresetCombo() const { return preset_; }
    QComboBox* UnitCombo(TQuantity quantity) const { return combos_[static_cast<std::size_t>(quantity)]; }

    // Runs the dialog on the choice in force; on "Accept" the new choice is
    // put in force and saved. True when it was accepted.
    bool Execute();

private:
    void PresetChosen(int index);
    void ShowMatchingPreset();

    QComboBox* preset_;
    std::array<QComboBox*, QuantityCount> combos_{};
    bool filling_ = false;
};

} // namespace dvx::ui
