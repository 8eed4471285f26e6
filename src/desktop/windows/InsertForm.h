// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// "Insert New Item": the non-modal tool window from which pipes, fittings,
// user items, K items and valves are added to the circuit. Flow and bore are
// shared by the kinds; each tab holds the fields of one kind and its add
// button.

#include "engine/hydraulics/ProjectContext.h"
#include "engine/hydraulics/Calc.h"
#include "engine/units/UnitChoice.h"

#include <QWidget>
#include <functional>
#include <memory>
#include <optional>
#include <string>

class QCheckBox;
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
    explicit TInsertForm(TProjectContext project, QWidget* parent = nullptr);

    // Receives each new item (the main window's insertion rule).
    std::function<void(std::unique_ptr<TBranch>)> OnAddItem;
    // The item of the main window's current row (nullptr: none), and the
    // receiver of its new values from the K item or valve page: true when
    // the item took them.
    std::function<const TBranch*()> CurrentItem;
    std::function<bool(std::unique_ptr<TBranch>)> OnUpdateItem;

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
    // The K item and valve tabs: the K or the flow coefficient checked,
    // with a message naming what to correct; false (nothing added) then.
    bool AddKItem();
    bool AddValve();
    // The valve tab's presetting: the flow coefficient that takes the drop
    // typed beside it at the window's flow, put into the coefficient field
    // (Kv, or Cv under US units); false with a message when it cannot.
    bool PresetValve();
    // Editing: the current row's K item or valve into its page ("Read
    // Item"), and the page's values into that item ("Update Item"), checked
    // as for adding. False, with a message, when the row holds no item of
    // the page's kind or a value is refused.
    bool ReadCurrentItem();
    bool UpdateCurrentItem();
    // The kind of the active tab (0 pipe, 1 fitting, 2 user item, 3 K item, 4 valve).
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
    QComboBox* KPresetCombo() const { return kPresetCombo_; }
    TFmtEdit* KEdit() const { return kEdit_; }
    QComboBox* OtherBoreCombo() const { return otherBoreCombo_; }
    TFmtEdit* AngleEdit() const { return angleEdit_; }
    QCheckBox* OutletCheck() const { return outletCheck_; }
    QLineEdit* KDescriptionEdit() const { return kDescriptionEdit_; }
    TFmtEdit* FlowCoefficientEdit() const { return kvEdit_; }
    QLabel* FlowCoefficientLabel() const { return kvLabel_; }
    TFmtEdit* PresetDropEdit() const { return presetDropEdit_; }
    QLineEdit* ValveDescriptionEdit() const { return valveDescriptionEdit_; }

    void SavePlacement() const;
    void RestorePlacementFromSettings();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    TProjectContext project_; // the project whose tables and defaults new items take
    // The value of a numeric field after its formatted-entry check; a text
    // that still is not a number shows the conversion error and gives nothing.
    bool ReadNumber(TFmtEdit* edit, double& value);
    // Gives the item the description, the flow (l/s) and the chosen bore and
    // hands it to OnAddItem; true.
    bool Hand(std::unique_ptr<TBranch> item, const QLineEdit* description, double flow);
    // Unit labels, bore names, formats and ranges for units_.
    void ShowUnitTexts();
    // The K item and valve tabs.
    void BuildResistanceTabs();
    void ShowResistanceUnitTexts(const TUnitChoice& before);
    // The K item tab after its preset, bores or angle changed: a fixed or
    // calculated K into the field (empty when the change of bore cannot
    // be), the bore-change fields enabled where they apply.
    void ShowKPreset();
    // The K item or valve the page's fields describe, with flow, bore and
    // description; nullptr after a refusal (the message has been shown).
    std::unique_ptr<TBranch> KItemFromFields();
    std::unique_ptr<TBranch> ValveFromFields();
    // A number typed into a field: nothing for a text that is not one.
    std::optional<double> TypedNumber(const TFmtEdit* edit) const;
    // Shows a message for the user and puts the focus on the field to correct.
    void Refuse(QWidget* field, const std::string& message);

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
    // K item tab.
    QComboBox* kPresetCombo_ = nullptr;
    TFmtEdit* kEdit_ = nullptr; // —
    QComboBox* otherBoreCombo_ = nullptr;
    TFmtEdit* angleEdit_ = nullptr; // degrees, the cone's included angle
    QCheckBox* outletCheck_ = nullptr;
    QLineEdit* kDescriptionEdit_ = nullptr;
    // Valve tab.
    TFmtEdit* kvEdit_ = nullptr; // Kv (m³/h at 1 bar) or Cv as units_ show it
    QLabel* kvLabel_ = nullptr;
    TFmtEdit* presetDropEdit_ = nullptr; // pressure drop in the shown unit
    QLabel* presetDropUnit_ = nullptr;
    QLineEdit* valveDescriptionEdit_ = nullptr;
};

} // namespace dvx::ui
