// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// "Insert New Item": the non-modal tool window from which pipes, fittings and
// user items are added to the circuit. Flow and bore are shared by the three
// kinds; each tab holds the fields of one kind and its add button.

#include "engine/hydraulics/Calc.h"
#include "engine/units/UnitChoice.h"

#include <QWidget>
#include <functional>
#include <memory>

class QComboBox;
class QLabel;
class QLineEdit;
class QTabWidget;
class QToolButton;
class QSpinBox;

namespace dvx {
class TFmtEdit;
}

namespace dvx::ui {

class TInsertForm : public QWidget {
    Q_OBJECT
public:
    // The bore list from the active material's table (after a change of
    // material), keeping the nearest bore by inside diameter selected.
    void ShowBores();
    explicit TInsertForm(QWidget* parent = nullptr);

    // Receives each new item (the main window's insertion rule).
    std::function<void(std::unique_ptr<TBranch>)> OnAddItem;

    // Fills the fields from the defaults in force.
    void LoadDefaults();
    // Shows the fields in the display units in force: unit labels, the
    // bore list, formats and ranges; the values in the fields are kept and
    // shown in the new units.
    void ApplyUnits();

    // The add commands of the three tabs; false (nothing added) when a field
    // does not convert.
    bool AddPipe();
    bool AddFitting();
    bool AddUser();
    // The kind of the active tab (0 pipe, 1 fitting, 2 user item).
    bool AddActive();
    void AutoSizeClick();
    void AutoFlowClick();
    void SpinQuantity(int step);

    TFmtEdit* FlowEdit() const { return flowEdit_; }
    QComboBox* DiameterCombo() const { return diameterCombo_; }
    TFmtEdit* PipeLenEdit() const { return pipeLenEdit_; }
    QLineEdit* PipeDescriptionEdit() const { return pipeDescriptionEdit_; }
    QComboBox* FittingCombo() const { return fittingCombo_; }
    TFmtEdit* FittingQty() const { return fittingQty_; }
    QLineEdit* FittingDescriptionEdit() const { return fittingDescriptionEdit_; }
    TFmtEdit* UserDPEdit() const { return userDPEdit_; }
    QLineEdit* UserDescriptionEdit() const { return userDescriptionEdit_; }
    QTabWidget* Tabs() const { return tabs_; }

    void SavePlacement() const;
    void RestorePlacementFromSettings();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    // The value of a numeric field after its formatted-entry check; a text
    // that still is not a number shows the conversion error and gives nothing.
    bool ReadNumber(TFmtEdit* edit, double& value);
    // Gives the item the description, the flow (l/s) and the chosen bore and
    // hands it to OnAddItem; true.
    bool Hand(std::unique_ptr<TBranch> item, const QLineEdit* description, double flow);
    // Unit labels, bore names, formats and ranges for units_.
    void ShowUnitTexts();

    TFmtEdit* flowEdit_ = nullptr;
    QComboBox* diameterCombo_ = nullptr;
    TFmtEdit* pipeLenEdit_ = nullptr;
    QLineEdit* pipeDescriptionEdit_ = nullptr;
    QComboBox* fittingCombo_ = nullptr;
    TFmtEdit* fittingQty_ = nullptr;
    QLineEdit* fittingDescriptionEdit_ = nullptr;
    TFmtEdit* userDPEdit_ = nullptr;
    QLineEdit* userDescriptionEdit_ = nullptr;
    QTabWidget* tabs_ = nullptr;
    QLabel* flowUnit_ = nullptr;
    QLabel* sizeUnit_ = nullptr;
    QLabel* lengthUnit_ = nullptr;
    QLabel* dropUnit_ = nullptr;
    TUnitChoice units_; // the units the fields are shown in
};

} // namespace dvx::ui
