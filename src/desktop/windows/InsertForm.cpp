// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/windows/InsertForm.h"

#include "desktop/widgets/QtText.h"
#include "engine/catalogue/ActiveBores.h"
#include "engine/catalogue/Bores.h"
#include "engine/catalogue/Tables.h"
#include "base/Errors.h"
#include "base/Format.h"
#include "base/Numbers.h"
#include "desktop/widgets/WindowPlacement.h"
#include "storage/settings/SettingsStore.h"
#include "desktop/widgets/Messages.h"
#include "engine/units/UnitView.h"
#include "presentation/widgets/FmtNumber.h"
#include "presentation/ui/ResistanceEntry.h"
#include "desktop/widgets/FmtEdit.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QSignalBlocker>
#include <QStatusBar>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>

namespace dvx::ui {

namespace {

// A formatted numeric field: format and range (internal units as shown).
TFmtEdit* NumberEdit(QWidget* parent, const char* format, double low, double high) {
    auto* edit = new TFmtEdit(parent);
    edit->SetFormatStr(format);
    edit->RangeLo = low;
    edit->RangeHi = high;
    edit->setAlignment(Qt::AlignRight);
    edit->setMaximumWidth(90);
    return edit;
}

QLineEdit* DescriptionEdit(QWidget* parent) {
    auto* edit = new QLineEdit(parent);
    // Description fields sit on the information colour.
    QPalette p = edit->palette();
    p.setColor(QPalette::Base, QApplication::palette().color(QPalette::ToolTipBase));
    p.setColor(QPalette::Text, QApplication::palette().color(QPalette::ToolTipText));
    edit->setPalette(p);
    return edit;
}

QPushButton* AddButton(const QString& text, const QString& hint, QWidget* parent) {
    auto* button = new QPushButton(text, parent);
    button->setToolTip(hint);
    button->setMinimumSize(64, 64);
    button->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Expanding);
    return button;
}

// A tab of one kind with a single value: the add button at its left, the
// labelled value with its unit, and the description below.
QWidget* ValueTab(QPushButton* add, const QString& label, QLineEdit* value, QLabel*& unit,
                  QLineEdit* description) {
    auto* tab = new QWidget;
    auto* grid = new QGridLayout(tab);
    grid->addWidget(add, 0, 0, 3, 1);
    grid->addWidget(new QLabel(label, tab), 0, 1);
    grid->addWidget(value, 0, 2);
    unit = new QLabel(tab);
    grid->addWidget(unit, 0, 3);
    grid->addWidget(description, 2, 1, 1, 3);
    grid->setColumnStretch(3, 1);
    return tab;
}

// The window's quantities; with SI chosen they show exactly what the fields
// always showed (flow in l/s, size in mm, length in m, drop in kPa).
TUnitView FlowView(const TUnitChoice& units) {
    return TUnitView(units, qtFlow, {"l/s", "%0.1f", Times(1000), Times(0.001)}, kNoHeadDensity);
}
TUnitView SizeView(const TUnitChoice& units) {
    return TUnitView(units, qtPipeSize, {"mm", "%0.0f", Times(1)}, kNoHeadDensity);
}
TUnitView LengthView(const TUnitChoice& units) {
    return TUnitView(units, qtLength, {"m", "%0.1f", Times(1)}, kNoHeadDensity);
}
TUnitView DropView(const TUnitChoice& units, double density) {
    return TUnitView(units, qtPressureDrop, {"kPa", "%0.1f", Times(0.001), Times(1000)}, density);
}

// The field's range in the shown unit, from its range in the metric unit.
void SetShownRange(TFmtEdit* edit, const TUnitView& view, double low, double high) {
    edit->SetFormatStr(view.NumberFormat());
    edit->RangeLo = view.ShownFromMetric(low);
    edit->RangeHi = view.ShownFromMetric(high);
}


} // namespace

TInsertForm::TInsertForm(TProjectContext project, QWidget* parent)
    : QWidget(parent, Qt::Tool), project_(project) {
    setWindowTitle("Insert New Item");
    setObjectName("InsertForm");
    setMinimumSize(312, 280);
    setMaximumSize(500, 450);

    auto* layout = new QVBoxLayout(this);
    auto* shared = new QGridLayout;
    // Formats and ranges are set with the units (ShowUnitTexts).
    flowEdit_ = NumberEdit(this, "%0.1f", 0.1, 1300);
    diameterCombo_ = new QComboBox(this);
    diameterCombo_->setMaxVisibleItems(14);
    for (const char* name : BoreName) diameterCombo_->addItem(QString::fromLatin1(name));
    auto* autoFlow = new QPushButton("AutoFlow", this);
    auto* autoSize = new QPushButton("AutoSize", this);
    shared->addWidget(new QLabel("Water Flowrate", this), 0, 0);
    shared->addWidget(flowEdit_, 0, 1);
    flowUnit_ = new QLabel(this);
    shared->addWidget(flowUnit_, 0, 2);
    shared->addWidget(autoFlow, 0, 3);
    shared->addWidget(new QLabel("Nominal Diameter", this), 1, 0);
    shared->addWidget(diameterCombo_, 1, 1);
    sizeUnit_ = new QLabel(this);
    shared->addWidget(sizeUnit_, 1, 2);
    shared->addWidget(autoSize, 1, 3);
    shared->setColumnStretch(4, 1);
    layout->addLayout(shared);

    tabs_ = new QTabWidget(this);
    // Straight pipe.
    pipeLenEdit_ = NumberEdit(nullptr, "%0.1f", 0, 100);
    pipeDescriptionEdit_ = DescriptionEdit(nullptr);
    pipeDescriptionEdit_->setText("Pipe");
    auto* newPipe = AddButton("Pipe", "Add straight pipe to project", nullptr);
    tabs_->addTab(ValueTab(newPipe, "Straight Length", pipeLenEdit_, lengthUnit_, pipeDescriptionEdit_), "Straight Pipe");
    // Standard fitting.
    auto* fittingTab = new QWidget;
    auto* fittingGrid = new QGridLayout(fittingTab);
    auto* newFitting = AddButton("Fitting", "Add standard fitting to project", fittingTab);
    fittingCombo_ = new QComboBox(fittingTab);
    fittingCombo_->setMaxVisibleItems(16);
    for (const TFittingRec& rec : project_.Tables.FittingTable)
        fittingCombo_->addItem(QString::fromStdString(rec.FittingName));
    fittingQty_ = NumberEdit(fittingTab, "%d", 1, 999);
    auto* up = new QToolButton(fittingTab);
    up->setArrowType(Qt::UpArrow);
    auto* down = new QToolButton(fittingTab);
    down->setArrowType(Qt::DownArrow);
    auto* spin = new QVBoxLayout;
    spin->setSpacing(0);
    up->setFixedSize(18, 12);
    down->setFixedSize(18, 12);
    spin->addWidget(up);
    spin->addWidget(down);
    fittingDescriptionEdit_ = DescriptionEdit(fittingTab);
    fittingGrid->addWidget(newFitting, 0, 0, 3, 1);
    fittingGrid->addWidget(new QLabel("Fitting Type", fittingTab), 0, 1);
    fittingGrid->addWidget(fittingCombo_, 0, 2, 1, 3);
    fittingGrid->addWidget(new QLabel("Quantity", fittingTab), 1, 1);
    fittingGrid->addWidget(fittingQty_, 1, 2);
    fittingGrid->addLayout(spin, 1, 3);
    fittingGrid->addWidget(new QLabel("off", fittingTab), 1, 4);
    fittingGrid->addWidget(fittingDescriptionEdit_, 2, 1, 1, 4);
    fittingGrid->setColumnStretch(4, 1);
    tabs_->addTab(fittingTab, "Standard Fitting");
    // User item.
    userDPEdit_ = NumberEdit(nullptr, "%0.1f", 0, 200);
    userDescriptionEdit_ = DescriptionEdit(nullptr);
    userDescriptionEdit_->setText("User");
    auto* newUser = AddButton("User", "Add user defined item to project", nullptr);
    tabs_->addTab(ValueTab(newUser, "Pressure Drop", userDPEdit_, dropUnit_, userDescriptionEdit_), "User Defined");
    BuildResistanceTabs();
    tabs_->setCurrentIndex(1);
    layout->addWidget(tabs_, 1);

    auto* status = new QStatusBar(this);
    status->setSizeGripEnabled(false);
    // A label rather than a passing message, so that the window's size
    // accounts for the whole text.
    status->addWidget(new QLabel("Select component and add to project with the [insert] button", status), 1);
    layout->addWidget(status);

    connect(newPipe, &QPushButton::clicked, this, [this] { AddPipe(); });
    connect(newFitting, &QPushButton::clicked, this, [this] { AddFitting(); });
    connect(newUser, &QPushButton::clicked, this, [this] { AddUser(); });
    connect(autoSize, &QPushButton::clicked, this, [this] { AutoSizeClick(); });
    connect(autoFlow, &QPushButton::clicked, this, [this] { AutoFlowClick(); });
    connect(up, &QToolButton::clicked, this, [this] { SpinQuantity(+1); });
    connect(down, &QToolButton::clicked, this, [this] { SpinQuantity(-1); });
    connect(fittingCombo_, &QComboBox::currentIndexChanged, this, [this](int i) {
        if (i >= 0 && i < FittingCount)
            fittingDescriptionEdit_->setText(QString::fromStdString(
                project_.Tables.FittingTable[static_cast<std::size_t>(i)].FittingName));
    });

    // The window sees keys before its controls (Insert, Up, Down).
    for (QWidget* w : findChildren<QWidget*>()) w->installEventFilter(this);
    units_ = DisplayUnits();
    ShowUnitTexts();
    LoadDefaults();
    // 312 × 280 pixels at the least, more where the font needs it to show
    // every label whole, within the 500 × 450 limit.
    const QSize needed = minimumSizeHint();
    setMinimumSize(std::clamp(needed.width(), 312, 500), std::clamp(needed.height(), 280, 450));
}

void TInsertForm::ShowUnitTexts() {
    const TUnitView flow = FlowView(units_), size = SizeView(units_), length = LengthView(units_),
                    drop = DropView(units_, LiquidDensity(project_.Liquid));
    flowUnit_->setText(Q(flow.Label()));
    sizeUnit_->setText(Q(size.Label()));
    lengthUnit_->setText(Q(length.Label()));
    dropUnit_->setText(Q(drop.Label()));
    SetShownRange(flowEdit_, flow, 0.1, 1300);
    SetShownRange(pipeLenEdit_, length, 0, 100);
    SetShownRange(userDPEdit_, drop, 0, 200);
    ShowBores();
    ShowResistanceUnitTexts(units_);
}

void TInsertForm::ShowBores() {
    const TCatalogueTables& tables = project_.Tables;
    const TUnitView size = SizeView(units_);
    const QSignalBlocker block(diameterCombo_);
    // The bore shown stays the nearest one by inside diameter, in whichever
    // table the active material has now.
    bool known = false;
    const double shownID = diameterCombo_->currentData().toDouble(&known);
    const int index = diameterCombo_->currentIndex();
    diameterCombo_->clear();
    const bool ownTable = OwnBoreTable(tables) != nullptr;
    // Own labels carry their unit ("1¼\"", "DN 32"): no unit beside them.
    sizeUnit_->setText(ownTable ? QString() : Q(size.Label()));
    for (int b = 0; b < BoreRowCount(tables); ++b) {
        const TBoreRow row = BoreRow(tables, b);
        // A material's own labels are its standard's sizes in any unit.
        const QString label = size.IsMetric() || ownTable
                                  ? QString::fromStdString(std::string(row.Label))
                                  : Q(size.Text(NominalOf(tables, b)));
        diameterCombo_->addItem(label, row.ID);
    }
    diameterCombo_->setCurrentIndex(known && shownID > 0 ? NearestBoreRow(tables, shownID)
                                                         : std::min(index, diameterCombo_->count() - 1));
}

void TInsertForm::ApplyUnits() {
    // Each value is read in the units it is shown in and written in the
    // new ones; a text that does not read is left as it is.
    auto convert = [](TFmtEdit* edit, const TUnitView& from, const TUnitView& to) {
        if (auto shown = TryStrToFloat(edit->text().toStdString()))
            edit->setText(Q(to.Text(from.FromShown(*shown))));
    };
    const TUnitChoice before = units_;
    units_ = DisplayUnits();
    if (units_ == before) return;
    const QString flow = flowEdit_->text(), length = pipeLenEdit_->text(), drop = userDPEdit_->text();
    ShowResistanceUnitTexts(before);
    ShowUnitTexts();
    flowEdit_->setText(flow);
    pipeLenEdit_->setText(length);
    userDPEdit_->setText(drop);
    convert(flowEdit_, FlowView(before), FlowView(units_));
    convert(pipeLenEdit_, LengthView(before), LengthView(units_));
    convert(userDPEdit_, DropView(before, LiquidDensity(project_.Liquid)), DropView(units_, LiquidDensity(project_.Liquid)));
}

void TInsertForm::LoadDefaults() {
    // The defaults are held in l/s, mm, m and kPa.
    const TCatalogueTables& tables = project_.Tables;
    flowEdit_->setText(Q(FlowView(units_).TextFromMetric(tables.DefaultFlow)));
    diameterCombo_->setCurrentIndex(
        BoreRowForBuiltIn(tables, BoreAtLeast(tables, tables.DefaultBore)));
    pipeLenEdit_->setText(Q(LengthView(units_).TextFromMetric(tables.DefaultLength)));
    userDPEdit_->setText(Q(DropView(units_, LiquidDensity(project_.Liquid)).TextFromMetric(tables.DefaultUserDP)));
    int type = tables.DefaultFittingType >= 0 && tables.DefaultFittingType < FittingCount
                   ? tables.DefaultFittingType
                   : 0;
    fittingCombo_->setCurrentIndex(type);
    fittingDescriptionEdit_->setText(
        QString::fromStdString(tables.FittingTable[static_cast<std::size_t>(type)].FittingName));
    fittingQty_->setText(QString::number(tables.DefaultQuantity));
}

bool TInsertForm::ReadNumber(TFmtEdit* edit, double& value) {
    // The formatted-entry rules: the text is cleaned and a value outside the
    // field's range is taken at the nearer limit, with a beep. A value typed
    // below zero is refused rather than taken as that limit: the field shows
    // the limit and keeps the focus, and no item is added.
    const std::optional<double> typed = dvx::ReadNumber(edit->text().toStdString());
    edit->ValidateWithBeep();
    if (typed && *typed < 0) {
        edit->setFocus();
        edit->selectAll();
        return false;
    }
    try {
        value = StrToFloat(edit->text().toStdString());
    } catch (const ConvertError& e) {
        ShowMessage(this, MsgKind::Error, QString::fromUtf8(e.what()));
        edit->setFocus();
        return false;
    }
    return true;
}

bool TInsertForm::Hand(std::unique_ptr<TBranch> item, const QLineEdit* description, double flow) {
    // What the three kinds share: description, flow (as shown in the field) and bore.
    item->Description = description->text().toStdString();
    item->Flow = FlowView(units_).FromShown(flow); // m³/s
    item->SetBore(project_, diameterCombo_->currentIndex());
    if (OnAddItem) OnAddItem(std::move(item));
    return true;
}

bool TInsertForm::AddPipe() {
    double flow = 0, length = 0;
    if (!ReadNumber(flowEdit_, flow) || !ReadNumber(pipeLenEdit_, length))
        return false;
    auto pipe = std::make_unique<TPipe>(project_);
    pipe->Length = LengthView(units_).FromShown(length); // m
    return Hand(std::move(pipe), pipeDescriptionEdit_, flow);
}

bool TInsertForm::AddFitting() {
    double flow = 0, quantity = 0;
    if (!ReadNumber(flowEdit_, flow) || !ReadNumber(fittingQty_, quantity))
        return false;
    int type = std::clamp(fittingCombo_->currentIndex(), 0, FittingCount - 1);
    auto fitting = std::make_unique<TFitting>(project_, type);
    fitting->Quantity = static_cast<int>(quantity);
    return Hand(std::move(fitting), fittingDescriptionEdit_, flow);
}

bool TInsertForm::AddUser() {
    double flow = 0, dp = 0;
    if (!ReadNumber(flowEdit_, flow) || !ReadNumber(userDPEdit_, dp))
        return false;
    auto user = std::make_unique<TUser>(project_);
    user->PressureDrop = DropView(units_, LiquidDensity(project_.Liquid)).FromShown(dp); // Pa
    return Hand(std::move(user), userDescriptionEdit_, flow);
}

bool TInsertForm::AddActive() {
    switch (tabs_->currentIndex()) {
    case 0: return AddPipe();
    case 1: return AddFitting();
    case 3: return AddKItem();
    case 4: return AddValve();
    default: return AddUser();
    }
}

void TInsertForm::AutoSizeClick() {
    double q = 0;
    try {
        q = StrToFloat(flowEdit_->text().toStdString());
    } catch (const ConvertError& e) {
        ShowMessage(this, MsgKind::Error, QString::fromUtf8(e.what()));
        return;
    }
    // Maximum flows are in l/s.
    diameterCombo_->setCurrentIndex(
        BoreRowForFlow(project_.Tables, FlowView(units_).MetricFromShown(q)));
}

void TInsertForm::AutoFlowClick() {
    int bore = diameterCombo_->currentIndex();
    if (bore < 0 || bore >= BoreRowCount(project_.Tables)) return;
    const double mf = BoreRow(project_.Tables, bore).mf; // l/s
    const TUnitView flow = FlowView(units_);
    flowEdit_->setText(Q(flow.IsMetric() ? FloatToStr(mf) : flow.TextFromMetric(mf)));
}

void TInsertForm::SpinQuantity(int step) {
    auto value = TryStrToFloat(fittingQty_->text().toStdString());
    int quantity = value ? static_cast<int>(*value) : project_.Tables.DefaultQuantity;
    if (step > 0 && quantity < 999) ++quantity;
    if (step < 0 && quantity > 1) --quantity;
    fittingQty_->setText(QString::number(quantity));
}

bool TInsertForm::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Insert) {
            AddActive();
            return true;
        }
        if (key->key() == Qt::Key_Down || key->key() == Qt::Key_Up) {
            focusNextPrevChild(key->key() == Qt::Key_Down);
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void TInsertForm::SavePlacement() const {
    SaveWindowPlacement(*this, AppSettings(), "InsertForm");
}

void TInsertForm::RestorePlacementFromSettings() {
    RestoreWindowPlacement(*this, AppSettings(), "InsertForm", true);
}

void TInsertForm::closeEvent(QCloseEvent* event) {
    try {
        SavePlacement();
    } catch (const std::exception&) {
        // An unwritable settings file does not keep the window open; it
        // opens at its last stored place next time.
    }
    QWidget::closeEvent(event);
}

// --- K items and valves ----------------------------------------------------

namespace {

// A valve's flow coefficient as the window shows it: Kv, or Cv under US units.
TUnitView FlowCoefficientView(const TUnitChoice& units) {
    return TUnitView(units, qtFlowCoefficient, {"Kv", "%0.4g", Times(1)}, kNoHeadDensity);
}

// "Read Item" and "Update Item": the current row's K item or valve edited here.
QHBoxLayout* EditButtons(QWidget* tab, TInsertForm* form) {
    auto* row = new QHBoxLayout;
    auto* read = new QPushButton("Read Item", tab);
    read->setToolTip("Show the K item or valve of the current row here");
    auto* update = new QPushButton("Update Item", tab);
    update->setToolTip("Give the current row's item the values shown here");
    QObject::connect(read, &QPushButton::clicked, form, [form] { form->ReadCurrentItem(); });
    QObject::connect(update, &QPushButton::clicked, form, [form] { form->UpdateCurrentItem(); });
    row->addWidget(read);
    row->addWidget(update);
    row->addStretch(1);
    return row;
}

} // namespace

void TInsertForm::BuildResistanceTabs() {
    // K item: a preset, or K from a change of bore, or K as typed.
    auto* kTab = new QWidget;
    auto* kGrid = new QGridLayout(kTab);
    auto* newK = AddButton("K Item", "Add a fixed resistance coefficient K to project", kTab);
    kPresetCombo_ = new QComboBox(kTab);
    for (const TKPreset& p : KItemPresets()) kPresetCombo_->addItem(QString::fromUtf8(p.Name));
    kEdit_ = NumberEdit(kTab, "%0.4g", 0, 1e6);
    otherBoreCombo_ = new QComboBox(kTab);
    otherBoreCombo_->setMaxVisibleItems(14);
    angleEdit_ = NumberEdit(kTab, "%0.0f", 0, 180);
    angleEdit_->setMaximumWidth(50);
    angleEdit_->setText("30");
    outletCheck_ = new QCheckBox("The liquid leaves through the item's bore", kTab);
    outletCheck_->setToolTip("K is stated on the item's bore: the outlet's, or else the inlet's");
    kDescriptionEdit_ = DescriptionEdit(kTab);
    kGrid->addWidget(newK, 0, 0, 5, 1);
    kGrid->addWidget(new QLabel("Type", kTab), 0, 1);
    kGrid->addWidget(kPresetCombo_, 0, 2, 1, 3);
    kGrid->addWidget(new QLabel("K", kTab), 1, 1);
    kGrid->addWidget(kEdit_, 1, 2);
    kGrid->addWidget(new QLabel("Other bore", kTab), 2, 1);
    kGrid->addWidget(otherBoreCombo_, 2, 2);
    kGrid->addWidget(new QLabel("Angle", kTab), 2, 3);
    auto* angle = new QHBoxLayout;
    angle->addWidget(angleEdit_);
    angle->addWidget(new QLabel("\u00B0", kTab));
    kGrid->addLayout(angle, 2, 4);
    kGrid->addWidget(outletCheck_, 3, 1, 1, 4);
    kGrid->addWidget(kDescriptionEdit_, 4, 1, 1, 4);
    kGrid->addLayout(EditButtons(kTab, this), 5, 1, 1, 4);
    kGrid->setColumnStretch(4, 1);
    tabs_->addTab(kTab, "K Item");

    // Valve by its flow coefficient, with the balancing valve's presetting.
    auto* valveTab = new QWidget;
    auto* valveGrid = new QGridLayout(valveTab);
    auto* newValve = AddButton("Valve", "Add a valve given by its flow coefficient to project", valveTab);
    kvEdit_ = NumberEdit(valveTab, "%0.4g", 0, 1e6);
    kvEdit_->setText("10");
    kvLabel_ = new QLabel(valveTab);
    presetDropEdit_ = NumberEdit(valveTab, "%0.1f", 0, 1000);
    presetDropUnit_ = new QLabel(valveTab);
    auto* preset = new QPushButton("Preset", valveTab);
    preset->setToolTip("The flow coefficient that takes this pressure drop at the flow above");
    valveDescriptionEdit_ = DescriptionEdit(valveTab);
    valveDescriptionEdit_->setText("Valve");
    valveGrid->addWidget(newValve, 0, 0, 3, 1);
    valveGrid->addWidget(new QLabel("Flow coefficient", valveTab), 0, 1);
    valveGrid->addWidget(kvEdit_, 0, 2);
    valveGrid->addWidget(kvLabel_, 0, 3);
    valveGrid->addWidget(new QLabel("Drop to take", valveTab), 1, 1);
    valveGrid->addWidget(presetDropEdit_, 1, 2);
    valveGrid->addWidget(presetDropUnit_, 1, 3);
    valveGrid->addWidget(preset, 1, 4, Qt::AlignLeft);
    valveGrid->addWidget(valveDescriptionEdit_, 2, 1, 1, 4);
    valveGrid->addLayout(EditButtons(valveTab, this), 3, 1, 1, 4);
    valveGrid->setColumnStretch(4, 1);
    tabs_->addTab(valveTab, "Valve");

    connect(newK, &QPushButton::clicked, this, [this] { AddKItem(); });
    connect(newValve, &QPushButton::clicked, this, [this] { AddValve(); });
    connect(preset, &QPushButton::clicked, this, [this] { PresetValve(); });
    connect(kPresetCombo_, &QComboBox::currentIndexChanged, this, [this](int i) {
        if (i >= 0 && i < KPresetCount) kDescriptionEdit_->setText(QString::fromUtf8(KItemPresets()[static_cast<std::size_t>(i)].Name));
        ShowKPreset();
    });
    connect(otherBoreCombo_, &QComboBox::currentIndexChanged, this, [this] { ShowKPreset(); });
    connect(diameterCombo_, &QComboBox::currentIndexChanged, this, [this] { ShowKPreset(); });
    connect(outletCheck_, &QCheckBox::toggled, this, [this] { ShowKPreset(); });
    connect(angleEdit_, &QLineEdit::textEdited, this, [this] { ShowKPreset(); });
    kPresetCombo_->setCurrentIndex(0);
    kDescriptionEdit_->setText(QString::fromUtf8(KItemPresets()[0].Name));
}

void TInsertForm::ShowResistanceUnitTexts(const TUnitChoice& before) {
    const TUnitView kv = FlowCoefficientView(units_), drop = DropView(units_, LiquidDensity(project_.Liquid));
    if (!(before == units_)) {
        // The values typed are kept, shown in the new units.
        auto convert = [](TFmtEdit* edit, const TUnitView& from, const TUnitView& to) {
            if (auto shown = TryStrToFloat(edit->text().toStdString())) edit->setText(Q(to.Text(from.FromShown(*shown))));
        };
        const TUnitView kvBefore = FlowCoefficientView(before), dropBefore = DropView(before, LiquidDensity(project_.Liquid));
        SetShownRange(presetDropEdit_, drop, 0, 1000);
        convert(kvEdit_, kvBefore, kv);
        convert(presetDropEdit_, dropBefore, drop);
    } else {
        SetShownRange(presetDropEdit_, drop, 0, 1000);
    }
    kvLabel_->setText(Q(kv.Label()));
    presetDropUnit_->setText(Q(drop.Label()));
    const TUnitView size = SizeView(units_);
    const QSignalBlocker block(otherBoreCombo_);
    const int bore = otherBoreCombo_->currentIndex();
    otherBoreCombo_->clear();
    for (int b = 0; b < BoreCount; ++b)
        otherBoreCombo_->addItem(size.IsMetric()
                                     ? QString::fromLatin1(BoreName[static_cast<std::size_t>(b)])
                                     : Q(size.Text(NominalOf(project_.Tables, b))));
    otherBoreCombo_->setCurrentIndex(bore >= 0 ? bore : BoreCount - 1);
}

std::optional<double> TInsertForm::TypedNumber(const TFmtEdit* edit) const {
    return dvx::ReadNumber(edit->text().toStdString());
}

void TInsertForm::Refuse(QWidget* field, const std::string& message) {
    ShowMessage(this, MsgKind::Error, Q(message));
    field->setFocus();
    if (auto* edit = qobject_cast<QLineEdit*>(field)) edit->selectAll();
}

void TInsertForm::ShowKPreset() {
    const int i = kPresetCombo_->currentIndex();
    if (i < 0 || i >= KPresetCount) return;
    const TKPreset& preset = KItemPresets()[static_cast<std::size_t>(i)];
    const bool change = preset.Change.has_value();
    otherBoreCombo_->setEnabled(change);
    angleEdit_->setEnabled(change && !preset.Sudden);
    outletCheck_->setEnabled(change);
    // A preset's or a calculated K is not typed over.
    kEdit_->setReadOnly(i != KPresetOwnValue);
    if (i == KPresetOwnValue) return;
    if (!change) {
        kEdit_->setText(Q(FormatFloat("%0.4g", preset.K)));
        return;
    }
    const int item = diameterCombo_->currentIndex(), other = otherBoreCombo_->currentIndex();
    if (item < 0 || other < 0) return;
    // The item's bore is a row of the active material's table.
    const TCatalogueTables& tables = project_.Tables;
    if (item >= BoreRowCount(tables)) return;
    const TBoreChangeResult r = PresetK(
        preset, BoreRow(tables, item).ID, tables.BoreTable[static_cast<std::size_t>(other)].ID,
        TypedNumber(angleEdit_).value_or(std::nan("")), outletCheck_->isChecked());
    kEdit_->setText(r.Error.empty() ? Q(FormatFloat("%0.4g", r.K)) : QString());
    kEdit_->setToolTip(Q(r.Error));
}

std::unique_ptr<TBranch> TInsertForm::KItemFromFields() {
    double flow = 0;
    if (!ReadNumber(flowEdit_, flow)) return nullptr;
    const int i = std::clamp(kPresetCombo_->currentIndex(), 0, KPresetCount - 1);
    const TKPreset& preset = KItemPresets()[static_cast<std::size_t>(i)];
    double k = 0;
    if (preset.Change) {
        // The change of bore is checked again: its reason is the message.
        const TBoreChangeResult r = PresetK(
            preset,
            BoreRow(project_.Tables, std::clamp(diameterCombo_->currentIndex(), 0,
                                                BoreRowCount(project_.Tables) - 1))
                .ID,
            project_.Tables
                .BoreTable[static_cast<std::size_t>(std::max(0, otherBoreCombo_->currentIndex()))]
                .ID,
            TypedNumber(angleEdit_).value_or(std::nan("")), outletCheck_->isChecked());
        if (!r.Error.empty()) {
            Refuse(r.Error.find("angle") != std::string::npos ? static_cast<QWidget*>(angleEdit_) : otherBoreCombo_, r.Error);
            return nullptr;
        }
        k = r.K;
    } else {
        const std::optional<double> typed = i == KPresetOwnValue ? TypedNumber(kEdit_) : std::optional<double>(preset.K);
        if (const std::string error = KValueError(typed); !error.empty()) {
            Refuse(kEdit_, error);
            return nullptr;
        }
        k = *typed;
    }
    auto item = std::make_unique<TKItem>(project_);
    item->K = k;
    item->Description = kDescriptionEdit_->text().toStdString();
    item->Flow = FlowView(units_).FromShown(flow); // m³/s
    item->SetBore(project_, diameterCombo_->currentIndex());
    return item;
}

std::unique_ptr<TBranch> TInsertForm::ValveFromFields() {
    double flow = 0;
    if (!ReadNumber(flowEdit_, flow)) return nullptr;
    const TUnitView view = FlowCoefficientView(units_);
    const std::optional<double> shown = TypedNumber(kvEdit_);
    if (const std::string error = FlowCoefficientError(shown, view.Label()); !error.empty()) {
        Refuse(kvEdit_, error);
        return nullptr;
    }
    auto valve = std::make_unique<TValve>(project_);
    valve->Kv = view.FromShown(*shown); // m³/h at 1 bar
    valve->Description = valveDescriptionEdit_->text().toStdString();
    valve->Flow = FlowView(units_).FromShown(flow); // m³/s
    valve->SetBore(project_, diameterCombo_->currentIndex());
    return valve;
}

bool TInsertForm::AddKItem() {
    std::unique_ptr<TBranch> item = KItemFromFields();
    if (!item) return false;
    if (OnAddItem) OnAddItem(std::move(item));
    return true;
}

bool TInsertForm::AddValve() {
    std::unique_ptr<TBranch> item = ValveFromFields();
    if (!item) return false;
    if (OnAddItem) OnAddItem(std::move(item));
    return true;
}

bool TInsertForm::ReadCurrentItem() {
    const TBranch* item = CurrentItem ? CurrentItem() : nullptr;
    if (item == nullptr || (item->Kind() != TItemKind::KItem && item->Kind() != TItemKind::Valve)) {
        ShowMessage(this, MsgKind::Information, "The current row holds no K item or valve");
        return false;
    }
    flowEdit_->setText(Q(FlowView(units_).Text(item->Flow)));
    diameterCombo_->setCurrentIndex(item->BoreIndex);
    if (item->Kind() == TItemKind::KItem) {
        // Whatever preset gave it, the item holds its K.
        kPresetCombo_->setCurrentIndex(KPresetOwnValue);
        kEdit_->setText(Q(FormatFloat("%0.4g", static_cast<const TKItem&>(*item).K)));
        kDescriptionEdit_->setText(Q(item->Description));
        tabs_->setCurrentIndex(3);
    } else {
        kvEdit_->setText(Q(FlowCoefficientView(units_).Text(static_cast<const TValve&>(*item).Kv)));
        valveDescriptionEdit_->setText(Q(item->Description));
        tabs_->setCurrentIndex(4);
    }
    return true;
}

bool TInsertForm::UpdateCurrentItem() {
    const bool valvePage = tabs_->currentIndex() == 4;
    const TBranch* current = CurrentItem ? CurrentItem() : nullptr;
    const TItemKind kind = valvePage ? TItemKind::Valve : TItemKind::KItem;
    if (current == nullptr || current->Kind() != kind) {
        ShowMessage(this, MsgKind::Information,
                    valvePage ? "The current row holds no valve" : "The current row holds no K item");
        return false;
    }
    std::unique_ptr<TBranch> item = valvePage ? ValveFromFields() : KItemFromFields();
    if (!item) return false;
    return OnUpdateItem && OnUpdateItem(std::move(item));
}

bool TInsertForm::PresetValve() {
    const std::optional<double> flow = TypedNumber(flowEdit_), drop = TypedNumber(presetDropEdit_);
    const TPresetting p = PresettingKv(flow ? std::optional<double>(FlowView(units_).FromShown(*flow)) : std::nullopt,
                                       drop ? std::optional<double>(DropView(units_, LiquidDensity(project_.Liquid)).FromShown(*drop)) : std::nullopt,
                                       LiquidDensity(project_.Liquid));
    if (!p.Error.empty()) {
        Refuse(p.Error.find("flow") != std::string::npos ? static_cast<QWidget*>(flowEdit_) : presetDropEdit_, p.Error);
        return false;
    }
    kvEdit_->setText(Q(FlowCoefficientView(units_).Text(p.Kv)));
    return true;
}

} // namespace dvx::ui
