// SPDX-License-Identifier: GPL-3.0-or-later
// The main window: building its menus, tool bar, grid and status bar, the
// state shown in the status bar, the routing of keys and grid events, and
// its settings. The commands live in one file per menu (Menu<Name>.cpp).

#include "desktop/windows/MainWindow.h"

#include "engine/catalogue/Tables.h"
#include "base/Format.h"
#include "engine/fluid/Fluid.h"
#include "presentation/ui/FreezeText.h"
#include "base/platform/Folders.h"
#include "base/platform/Version.h"
#include "desktop/report/CircuitReportPreview.h"
#include "desktop/report/PropertiesDlg.h"
#include "desktop/report/ReportSettings.h"
#include "desktop/report/PreviewWindow.h"
#include "desktop/widgets/WindowPlacement.h"
#include "storage/settings/SettingsStore.h"
#include "storage/settings/UnitSettings.h"
#include "desktop/windows/CircuitDelegate.h"
#include "desktop/windows/CircuitModel.h"
#include "desktop/undo/ProjectCommands.h"
#include "desktop/windows/CircuitView.h"
#include "desktop/windows/CostForm.h"
#include "desktop/windows/DefaultFlowForm.h"
#include "desktop/windows/DefaultsForm.h"
#include "desktop/windows/FittingsForm.h"
#include "desktop/windows/FluidSpecForm.h"
#include "desktop/windows/InsertForm.h"
#include "desktop/windows/LabourForm.h"
#include "desktop/windows/LimitsForm.h"
#include "desktop/windows/MainWindowSupport.h"
#include "desktop/widgets/Messages.h"
#include "desktop/windows/PipeSpecForm.h"
#include "desktop/windows/PriceForm.h"
#include "desktop/windows/PumpCurveForm.h"
#include "desktop/windows/SummaryForm.h"
#include "desktop/windows/UnitsForm.h"
#include "desktop/windows/Warnings.h"
#include "desktop/undo/ItemCommands.h"
#include "engine/units/UnitChoice.h"
#include "engine/units/UnitView.h"
#include "desktop/widgets/ScreenFit.h"
#include "desktop/widgets/ToolIcons.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QDockWidget>
#include <QFileInfo>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QMenuBar>
#include <QScreen>
#include <QStatusBar>
#include <QStyle>
#include <QToolBar>
#include <QUndoStack>

namespace dvx::ui {

TMainForm::TMainForm(TProjectContext project, QWidget* parent)
    : QMainWindow(parent), project_(project) {
    setObjectName("MainForm");
    ShowTitle();
    resize(760, 520);
    // Every window of the program opens inside the usable screen area.
    FitWindowsOnScreen();

    // The dialogs start in the program's folder.
    currentDir_ = ProgramFolderPath();
    circuit_ = std::make_unique<TCircuit>(project_);
    columnWidths_ = DefaultColumnWidths();
    undoStack_ = new QUndoStack(this);
    // Undoing or redoing to the state last saved reads "Ready" again; a
    // change being recorded has set the flags itself.
    connect(undoStack_, &QUndoStack::indexChanged, this, [this] {
        if (!recording_) SetSaved(undoStack_->isClean());
    });
    // The engineer's display units, before anything shows a quantity.
    SetDisplayUnits(ReadUnitChoice(AppSettings()));

    BuildMenus();
    BuildToolBar();
    BuildGrid();
    BuildStatusBar();

    // The other windows, once, in start-up order (their values were read
    // from the settings by the core start-up).
    warningsForm_ = new TWarningsForm(project_, this);
    preview_ = new TPreviewForm(this, &AppSettings());
    preview_->Seams().message = [this](TMessageKind kind, const QString& text) {
        const MsgKind kinds[] = {MsgKind::Information, MsgKind::Warning, MsgKind::Error, MsgKind::Plain};
        ShowMessage(preview_, kinds[static_cast<int>(kind)], text);
    };
    fittingsForm_ = new TFittingsForm(project_, this);
    pipeSpecForm_ = new TPipeSpecForm(project_, this);
    summaryForm_ = new TSummaryForm(this);
    limitsForm_ = new TLimitsForm(project_, this);
    defaultsForm_ = new TDefaultsForm(project_, this);
    insertForm_ = new TInsertForm(project_, this);
    insertForm_->OnAddItem = [this](std::unique_ptr<TBranch> item) { InsertItem(std::move(item)); };
    insertForm_->CurrentItem = [this]() -> const TBranch* {
        return circuit_->Count() > 0 ? &circuit_->Item(std::clamp(CurrentRow(), 0, circuit_->Count() - 1)) : nullptr;
    };
    insertForm_->OnUpdateItem = [this](std::unique_ptr<TBranch> item) { return UpdateItem(std::move(item)); };
    labourForm_ = new TLabourForm(project_, this);
    costForm_ = new TCostForm(project_, this);
    priceForm_ = new TPriceForm(project_, this);
    priceForm_->SetEditors(costForm_, labourForm_);
    priceForm_->SetPreview(preview_); // one preview window for every report
    defaultFlowForm_ = new TDefaultFlowForm(project_, this);
    propertiesForm_ = new TPropertiesForm(this);
    fluidSpecForm_ = new TFluidSpecForm(project_, this);
    unitsForm_ = new TUnitsForm(this);
    pumpForm_ = new TPumpCurveForm(project_, this);
    pumpForm_->GroupsActive = [this] { return GroupsActive(); };
    // An exported plot is headed by the project's name, else its file's.
    pumpForm_->ProjectName = [this] {
        const QString name = propertiesForm_->ProjectName().trimmed();
        return !name.isEmpty() || currentFile_.isEmpty() ? name : QFileInfo(currentFile_).completeBaseName();
    };
    // Export Plot starts beside the project, named after it.
    pumpForm_->ExportStart = [this] {
        const QString name = currentFile_.isEmpty() ? QString("Pump curve") : QFileInfo(currentFile_).completeBaseName();
        return QDir(ProjectFolder()).filePath(name);
    };
    // The pump is saved with the project: its changes go through the undo
    // history, so undoing another change to the saved state cannot hide one.
    pumpForm_->OnPumpChanged = [this](const TPumpSettings& before, const TPumpSettings& after) {
        SetSaved(false);
        Record(new TPumpCommand(*this, before, after));
    };
    pumpForm_->OnDock = [this](bool dock) { SetPumpDocked(dock); };

    // Own settings and recent files (the catalogues were loaded at start-up).
    LoadSettings();
    // An empty circuit with the material in force; nothing to undo.
    NewCircuit();
    circuit_->Material = project_.Tables.PipeMaterial;
    ApplyMaterial();
    // The first start opens wide enough for the columns; later starts keep
    // the size the user left.
    if (!HasStoredPlacement(AppSettings(), "MainForm") && WidenToShowColumns()) {
        // Widened, it may be too wide for the window manager to place it
        // whole: it opens centred in the screen's usable area.
        const QRect area = AvailableArea(this);
        const QSize outside = size().grownBy(FrameMargins(this));
        move(area.left() + std::max(0, (area.width() - outside.width()) / 2),
             area.top() + std::max(0, (area.height() - outside.height()) / 2));
    }
    // The report's letterhead and logo.
    SetReportLetterhead(DataFolder(), ProgramFolder());
    installEventFilter(this);
}

TMainForm::~TMainForm() {
    // The circuit goes before the windows do: a pump field that loses the
    // focus as this window is taken down must find no circuit to change.
    pumpForm_->Detach();
}

QAction* TMainForm::Action(const QString& name) const { return findChild<QAction*>(name); }

QString TMainForm::MaterialActionName(int material) { return QString("actionMaterial%1").arg(material); }

void TMainForm::BuildMenus() {
    // Each action is named for tests and tools to find it by ("actionFileSave"):
    // the captions carry mnemonics and may change, the names stay.
    auto add = [this](QMenu* menu, const QString& caption, const QString& name, auto slot, const QKeySequence& key = {}) {
        QAction* a = menu->addAction(caption);
        a->setObjectName(name);
        if (!key.isEmpty()) a->setShortcut(key);
        connect(a, &QAction::triggered, this, [this, slot] { RunCommand(slot); });
        return a;
    };
    // A menu and the action that opens it share a name ("menuFile").
    auto named = [](QMenu* menu, const char* name) {
        menu->setObjectName(name);
        menu->menuAction()->setObjectName(name);
        return menu;
    };

    QMenu* file = named(menuBar()->addMenu("&File"), "menuFile");
    add(file, "&New Project", "actionFileNew", [this] { NewProject(); }, QKeySequence(Qt::CTRL | Qt::Key_F11));
    add(file, "&Open...", "actionFileOpen", [this] { OpenCommand(); });
    reopenMenu_ = named(file->addMenu("&Reopen..."), "menuFileReopen");
    add(file, "&Save", "actionFileSave", [this] { SaveCommand(); }, QKeySequence(Qt::CTRL | Qt::Key_S));
    add(file, "Save &As...", "actionFileSaveAs", [this] { SaveAsCommand(); });
    file->addSeparator();
    add(file, "Write &to Text File", "actionFileWriteText", [this] { WriteTextFileCommand(); });
    add(file, "Read &from Text File", "actionFileReadText", [this] { ReadTextFileCommand(); });
    add(file, "Send as E&mail Attachment ", "actionFileSendMail", [this] { SendMailCommand(); });
    add(file, "Export CSV…", "actionFileExportCsv", [this] { ExportCsvCommand(); });
    file->addSeparator();
    add(file, "Project &Details", "actionFileDetails", [this] { ProjectDetailsCommand(); });
    add(file, "Pre&view", "actionFilePreview", [this] { Preview1Click(); });
    // One printer set-up for the whole run, shared with the report preview.
    add(file, "&Printer Setup", "actionFilePrinterSetup", [this] { preview_->PrinterSetup(); });
    file->addSeparator();
    add(file, "&Exit", "actionFileExit", [this] { close(); }, QKeySequence(Qt::ALT | Qt::Key_F4));

    QMenu* edit = named(menuBar()->addMenu("&Edit"), "menuEdit");
    // The history's own actions: enabled while there is something to undo or
    // redo, the caption naming the change ("&Undo Sort"). Triggered, they run
    // UndoCommand and RedoCommand instead of the stack's slots, which close
    // the grid's editor and drop "Undo last delete" before the history moves.
    stackUndoAction_ = undoStack_->createUndoAction(this, "&Undo");
    stackRedoAction_ = undoStack_->createRedoAction(this, "&Redo");
    disconnect(stackUndoAction_, &QAction::triggered, undoStack_, &QUndoStack::undo);
    disconnect(stackRedoAction_, &QAction::triggered, undoStack_, &QUndoStack::redo);
    connect(stackUndoAction_, &QAction::triggered, this, [this] { RunCommand([this] { UndoCommand(); }); });
    connect(stackRedoAction_, &QAction::triggered, this, [this] { RunCommand([this] { RedoCommand(); }); });
    stackUndoAction_->setObjectName("actionEditUndo");
    stackRedoAction_->setObjectName("actionEditRedo");
    edit->addAction(stackUndoAction_);
    edit->addAction(stackRedoAction_);
    stackUndoAction_->setShortcut(QKeySequence::Undo);
    stackRedoAction_->setShortcuts({QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)});
    connect(undoStack_, &QUndoStack::undoTextChanged, stackUndoAction_, [this](const QString& text) {
        stackUndoAction_->setToolTip(text.isEmpty() ? QString("Undo") : "Undo " + text);
        stackUndoAction_->setStatusTip(stackUndoAction_->toolTip());
    });
    connect(undoStack_, &QUndoStack::redoTextChanged, stackRedoAction_, [this](const QString& text) {
        stackRedoAction_->setToolTip(text.isEmpty() ? QString("Redo") : "Redo " + text);
        stackRedoAction_->setStatusTip(stackRedoAction_->toolTip());
    });
    edit->addSeparator();
    QAction* copy = add(edit, "&Copy", "actionEditCopy", [this] { CopyCommand(); });
    copy->setShortcut(QKeySequence::Copy);
    QAction* paste = add(edit, "&Paste", "actionEditPaste", [this] { PasteCommand(); });
    paste->setShortcut(QKeySequence::Paste);
    edit->addSeparator();
    QMenu* sort = named(edit->addMenu("&Sort by..."), "menuEditSort");
    const struct {
        const char* caption;
        const char* name;
        int key;
    } sorts[] = {{"&Reference no.", "actionSortByNumber", skNumber},
                 {"&Description", "actionSortByDescription", skDescription},
                 {"&Size", "actionSortBySize", skBore},
                 {"&Quantity", "actionSortByQuantity", skLengthOrQuantity},
                 {"&Flow", "actionSortByFlow", skFlow},
                 {"&Pressure", "actionSortByPressure", skPressureDrop},
                 {"&Type", "actionSortByType", skTypeName}};
    for (const auto& s : sorts) add(sort, s.caption, s.name, [this, key = s.key] { SortCommand(key); });
    add(edit, "&Re-Number in existing order", "actionEditRenumber", [this] { RenumberCommand(); });
    edit->addSeparator();
    add(edit, "&Insert", "actionEditInsert", [this] { InsertCommand(); });
    add(edit, "&Delete", "actionEditDelete", [this] { DeleteCommand(); });
    undoAction_ = add(edit, "&Undo last delete", "actionEditUndoDelete", [this] { UndoDeleteCommand(); });
    edit->addSeparator();
    add(edit, "D&efaults", "actionEditDefaults", [this] { DefaultsCommand(); });

    QMenu* view = named(menuBar()->addMenu("&View"), "menuView");
    add(view, "List of &Warnings", "actionViewWarnings", [this] { WarningsCommand(); });
    add(view, "Project &Summary", "actionViewSummary", [this] { SummaryCommand(); });
    view->addSeparator();
    typesAction_ = add(view, "Show &Types", "actionViewTypes", [this] { SetShowTypes(typesAction_->isChecked()); });
    typesAction_->setCheckable(true);
    typesAction_->setChecked(true);
    groupsAction_ = add(view, "Activate &Groups", "actionViewGroups", [this] { SetGroupsActive(groupsAction_->isChecked()); });
    groupsAction_->setCheckable(true);
    // Result columns beyond the standard grid; none unless chosen.
    QMenu* columns = named(view->addMenu("&Columns"), "menuViewColumns");
    const char* extraCaptions[ExtraColumnCount] = {"&Velocity", "&Gradient", "&Reynolds", "&Friction factor",
                                                   "V&olume"};
    const char* extraNames[ExtraColumnCount] = {"actionColumnVelocity", "actionColumnGradient", "actionColumnReynolds",
                                                "actionColumnFriction", "actionColumnVolume"};
    for (int e = 0; e < ExtraColumnCount; ++e) {
        const int column = gcVelocity + e;
        extraActions_[e] = add(columns, extraCaptions[e], extraNames[e], [this, e, column] {
            SetExtraColumn(column, extraActions_[e]->isChecked());
        });
        extraActions_[e]->setCheckable(true);
    }

    QMenu* calc = named(menuBar()->addMenu("&Calculate"), "menuCalculate");
    add(calc, "&Calculate Pressure Drop", "actionCalcPressureDrop", [this] { CalcBtnClick(); }, QKeySequence(Qt::Key_F9));
    add(calc, "&Materials && Labour Price Estimate", "actionCalcPriceEstimate", [this] { PriceEstimateCommand(); });
    add(calc, "&Pump && System Curve", "actionCalcPump", [this] { PumpCurveCommand(); });
    add(calc, "&Resize all from Flow", "actionCalcResizeAll", [this] { ResizeAllCommand(); });
    add(calc, "Reset all &Flows from Size", "actionCalcResetFlows", [this] { ResetAllFlowsCommand(); });
    BuildFittingMethodMenu(calc);
    calc->addSeparator();
    add(calc, "&Water Specification", "actionCalcLiquid", [this] { WaterSpecCommand(); });
    add(calc, "&Default Flow Settings", "actionCalcDefaultFlows", [this] { DefaultFlowsCommand(); });
    add(calc, "Warning &Limits", "actionCalcLimits", [this] { LimitsCommand(); });
    calc->addSeparator();
    materialGroup_ = new QActionGroup(this);
    const char* materials[] = {"&Schedule 40 Steel Pipe", "&Galvanised Iron Pipe", "Drawn &Tubing"};
    for (int m = 0; m < 3; ++m) {
        materialActions_[m] = add(calc, materials[m], MaterialActionName(m), [this, m] { ChooseMaterial(m); });
        materialActions_[m]->setCheckable(true);
        materialGroup_->addAction(materialActions_[m]);
    }
    calcMenu_ = calc;
    RefreshMaterialActions();

    QMenu* database = named(menuBar()->addMenu("&Database"), "menuDatabase");
    add(database, "&Fittings and Valves", "actionDatabaseFittings", [this] { FittingsCommand(); });
    add(database, "&Pipe Roughness", "actionDatabaseRoughness", [this] { PipeRoughnessCommand(); });
    add(database, "Add Pipe &Material...", "actionDatabaseAddMaterial", [this] { AddMaterialCommand(); });
    add(database, "&Cost Database", "actionDatabaseCost", [this] { costForm_->Execute(); });
    add(database, "&Labour Rates", "actionDatabaseLabour", [this] { labourForm_->Execute(); });

    QMenu* tools = named(menuBar()->addMenu("&Tools"), "menuTools");
    add(tools, "&Units...", "actionToolsUnits", [this] { UnitsCommand(); });

    QMenu* help = named(menuBar()->addMenu("&Help"), "menuHelp");
    add(help, "&Contents", "actionHelpContents", [this] { OpenHelpPage("Help/Darvenix.htm"); });
    add(help, "&Manual", "actionHelpManual", [this] { OpenHelpPage("Manual/Manual.htm"); });
    add(help, "&About...", "actionHelpAbout", [this] { AboutCommand(); });

    gridMenu_ = named(new QMenu(this), "menuGridPopup");
    add(gridMenu_, "&Insert", "actionPopupInsert", [this] { InsertCommand(); });
    popupDeleteAction_ = add(gridMenu_, "&Delete", "actionPopupDelete", [this] { DeleteCommand(); });
    popupUndoAction_ = add(gridMenu_, "Undo Last Delete", "actionPopupUndoDelete", [this] { UndoDeleteCommand(); });
    gridMenu_->addSeparator();
    add(gridMenu_, "AutoSize", "actionPopupAutoSize", [this] { AutoSizeCurrent(); });
    add(gridMenu_, "AutoFlow", "actionPopupAutoFlow", [this] { AutoFlowCurrent(); });
    connect(gridMenu_, &QMenu::aboutToShow, this, [this] { LeaveGrid(); });
}

void TMainForm::BuildToolBar() {
    QToolBar* bar = addToolBar("Tools");
    bar->setObjectName("MainToolBar");
    bar->setMovable(false);
    // Each button shows its picture with its caption beside it; the hint is
    // its tooltip and status tip.
    bar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    auto button = [&](TToolPicture picture, const QString& text, const char* name, const QString& hint, auto slot) {
        QAction* a = bar->addAction(ToolIcon(picture), text);
        a->setObjectName(name);
        a->setToolTip(hint);
        a->setStatusTip(hint);
        connect(a, &QAction::triggered, this, [this, slot] { RunCommand(slot); });
        return a;
    };
    button(TToolPicture::New, "&New", "actionToolBarNew", "Start new project", [this] { NewProject(); });
    button(TToolPicture::Open, "&Open", "actionToolBarOpen", "Open file", [this] { OpenCommand(); });
    button(TToolPicture::Save, "&Save", "actionToolBarSave", "Save file", [this] { SaveCommand(); });
    bar->addSeparator();
    button(TToolPicture::Renumber, "R&enum", "actionToolBarRenumber", "Re-number in existing order",
           [this] { RenumberCommand(); });
    button(TToolPicture::Calculate, "&Calc", "actionToolBarCalc", "Calculate circuit pressure drop",
           [this] { CalcBtnClick(); });
    button(TToolPicture::Report, "&Report", "actionToolBarReport", "Report preview", [this] { Preview1Click(); });
    button(TToolPicture::Pump, "&Pump", "actionToolBarPump", "Pump and system curve", [this] { PumpCurveCommand(); });
}

void TMainForm::BuildStatusBar() {
    const int widths[4] = {70, 70, 150, 100};
    for (int i = 0; i < 4; ++i) {
        panels_[i] = new QLabel(this);
        panels_[i]->setMinimumWidth(widths[i]);
        panels_[i]->setFrameShape(QFrame::Panel);
        panels_[i]->setFrameShadow(QFrame::Sunken);
        statusBar()->addWidget(panels_[i], i == 3 ? 1 : 0);
    }
}

void TMainForm::BuildGrid() {
    model_ = new CircuitModel(project_, this);
    model_->SetCircuit(circuit_.get());
    model_->SetWarningColours(QApplication::palette());
    grid_ = new CircuitView(this);
    grid_->setModel(model_);
    grid_->setItemDelegate(new CircuitDelegate(model_, grid_));
    grid_->setContextMenuPolicy(Qt::CustomContextMenu);
    setCentralWidget(grid_);
    // The model has refreshed the edited row (a size cell shows the nominal
    // size of the bore taken); the project is changed and unsolved.
    model_->OnCellAboutToCommit = [this](int, int) { cellEditBefore_ = CopyItems(*circuit_); };
    model_->OnCellCommitted = [this](int, int column, const QString&) {
        SetSaved(false);
        SetSolved(false);
        TItemCopies before = std::move(cellEditBefore_);
        cellEditBefore_.clear();
        const QString title = QString::fromUtf8(GridColumns[static_cast<std::size_t>(column)].Title);
        RecordValues(before, [this, title](TValueChange change) {
            return new TEditCellCommand(*this, std::move(change), title);
        });
    };
    model_->OnConvertError = [this](const QString& message) { ShowMessage(this, MsgKind::Error, message); };
    model_->OnRowMoved = [this](int from, int to) {
        SetSaved(false);
        MoveCursorTo(to, gcDescription);
        // The order before the move: the moved item back at its old place.
        TOrderChange::TOrder before = TOrderChange::OrderOf(*circuit_);
        const TBranch* moved = before[static_cast<std::size_t>(to)];
        before.erase(before.begin() + to);
        before.insert(before.begin() + from, moved);
        // The model has moved the item already: the order before is put back,
        // and the command's redo moves it as every redo does.
        TOrderChange change = TOrderChange::Between(before, TSortState::Of(*circuit_), *circuit_);
        change.Undo(*circuit_);
        Record(new TMoveItemCommand(*this, std::move(change), from, to));
    };
    connect(grid_, &QWidget::customContextMenuRequested, this, [this](const QPoint& pos) { ShowGridMenu(pos); });
    connect(grid_->horizontalHeader(), &QHeaderView::sectionClicked, this, [this](int c) { HeaderClicked(c); });
    connect(grid_->horizontalHeader(), &QHeaderView::sectionResized, this, [this](int c, int, int size) {
        int logical = model_->LogicalColumnAt(c);
        if (logical < 0) return;
        if (logical >= GridColumnCount) {
            extraWidths_[static_cast<std::size_t>(logical - GridColumnCount)] = size;
            return;
        }
        // A width the user dragged is theirs from now on.
        columnWidths_[static_cast<std::size_t>(logical)] = size;
        userWidths_[static_cast<std::size_t>(logical)] = true;
    });
    grid_->installEventFilter(this);
}

void TMainForm::RebuildColumns() {
    model_->RebuildColumns(GroupsActive(), ShowTypes(), extras_);
    const auto& shown = model_->Shown();
    QHeaderView* header = grid_->horizontalHeader();
    const QSignalBlocker block(header); // setting widths is not a user's resize
    for (std::size_t i = 0; i < shown.size(); ++i) {
        const auto column = static_cast<std::size_t>(shown[i]);
        header->resizeSection(static_cast<int>(i), column < GridColumnCount ? columnWidths_[column]
                                                                            : extraWidths_[column - GridColumnCount]);
    }
    header->setStretchLastSection(false);
}

TColumnWidths TMainForm::FittedWidths() {
    const QFontMetrics cells(grid_->font());
    const QFontMetrics captions(grid_->horizontalHeader()->font());
    // Room for the cell's margins, and in the header for a sort arrow.
    const int cellPad = 2 * grid_->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, grid_) + 8;
    const int captionPad = cellPad + 8;
    QString longestType = "Pipe";
    for (const TFittingRec& fitting : project_.Tables.FittingTable)
        if (QString::fromStdString(fitting.FittingName).size() > longestType.size())
            longestType = QString::fromStdString(fitting.FittingName);
    // A sample of what each column holds at its widest, in display order.
    const QString samples[GridColumnCount] = {"10000", "Main riser to plant room 2", "99999", "0", "750",
                                              "9999.9", "999.99", "9999", longestType};
    TColumnWidths fitted{};
    for (int c = 0; c < GridColumnCount; ++c) {
        const QString caption = QString::fromUtf8(GridColumns[static_cast<std::size_t>(c)].Title);
        fitted[static_cast<std::size_t>(c)] = std::max(cells.horizontalAdvance(samples[c]) + cellPad,
                                                       captions.horizontalAdvance(caption) + captionPad);
    }
    // The result columns are always fitted: their widths are not stored.
    const QString extraSamples[ExtraColumnCount] = {"99.99", "99999.9", "99999999", "0.0000", "9.999e-05"};
    for (int e = 0; e < ExtraColumnCount; ++e) {
        const QString caption = QString::fromUtf8(ExtraGridColumns[static_cast<std::size_t>(e)].Title);
        extraWidths_[static_cast<std::size_t>(e)] =
            std::max(cells.horizontalAdvance(extraSamples[e]) + cellPad, captions.horizontalAdvance(caption) + captionPad);
    }
    return fitted;
}

bool TMainForm::WidenToShowColumns() {
    if (windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen)) return false;
    const int columns = grid_->horizontalHeader()->length();
    const int rowNumbers = std::max(grid_->verticalHeader()->width(), grid_->verticalHeader()->sizeHint().width());
    const int scrollBar = grid_->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, grid_);
    // The window's own margins around the grid are those of its layout.
    const int wanted = columns + rowNumbers + scrollBar + 2 * grid_->frameWidth() + 2;
    if (width() >= wanted) return false;
    resize(std::min(wanted, AvailableArea(this).width()), height());
    if (isVisible()) FitOnScreen(this); // a shown window is kept on the screen here, a hidden one when shown
    return true;
}

void TMainForm::PlacePumpWindowBeside() {
    const QMargins frame(geometry().left() - frameGeometry().left(), geometry().top() - frameGeometry().top(),
                         frameGeometry().right() - geometry().right(), frameGeometry().bottom() - geometry().bottom());
    const QRect inside =
        BesideGeometry(frameGeometry(), pumpForm_->size(), pumpForm_->minimumSizeHint(), frame, AvailableArea(this));
    // Placed as a remembered place is: the frame's corner, the inside's size.
    pumpForm_->resize(inside.size());
    pumpForm_->move(inside.topLeft() - QPoint(frame.left(), frame.top()));
}

bool TMainForm::NoRoomBeside() const {
    // Beside this window the pump window may cover a strip of it; where the
    // room left is less than half of what it needs, it would cover the
    // grid's columns, and it is docked instead.
    const QRect area = AvailableArea(this);
    const QRect frame = frameGeometry();
    const int room = std::max(area.right() - frame.right(), frame.left() - area.left());
    return room < pumpForm_->minimumSizeHint().width() / 2;
}

void TMainForm::SetPumpDocked(bool docked) {
    const bool shown = pumpForm_->isVisible() || (pumpDock_ != nullptr && pumpDock_->isVisible());
    if (docked) {
        if (pumpDock_ == nullptr) {
            pumpDock_ = new QDockWidget(kPumpFormTitle, this);
            pumpDock_->setObjectName("PumpDock");
            pumpDock_->setAllowedAreas(Qt::BottomDockWidgetArea | Qt::RightDockWidgetArea);
            pumpDock_->setFeatures(QDockWidget::DockWidgetClosable | QDockWidget::DockWidgetMovable);
            addDockWidget(Qt::BottomDockWidgetArea, pumpDock_);
        }
        if (pumpForm_->isWindow()) {
            try {
                pumpForm_->SavePlacement(); // for when it stands alone again
            } catch (const std::exception&) {
                // An unwritable settings file does not stop the docking.
            }
        }
        pumpDock_->setWidget(pumpForm_); // makes it a child of the dock
        pumpForm_->show();
        pumpDock_->show();
        // Grid and plot share the height: the window grows to the screen's
        // height, the plot takes a little more than half of it.
        if (isVisible() && !(windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen))) {
            const int frameHeight = frameGeometry().height() - height();
            // As wide as the pump window needs, so that its plot is not squeezed.
            const int wanted = pumpForm_->sizeHint().width() + 2 * style()->pixelMetric(QStyle::PM_DockWidgetFrameWidth);
            resize(std::max(width(), wanted), std::max(height(), AvailableArea(this).height() - frameHeight));
            FitOnScreen(this);
        }
        resizeDocks({pumpDock_}, {height() * 11 / 20}, Qt::Vertical);
    } else {
        if (pumpDock_ != nullptr) {
            pumpDock_->setWidget(nullptr);
            pumpDock_->hide();
        }
        pumpForm_->setParent(this, Qt::Window);
        if (HasStoredPlacement(AppSettings(), "PumpCurveForm")) pumpForm_->RestorePlacementFromSettings();
        else PlacePumpWindowBeside();
        if (shown) pumpForm_->show();
    }
    pumpForm_->ShowDocked(docked);
    try {
        // Written only when it changes, so that a user who never docks keeps
        // the settings file as it was.
        SettingsStore& store = AppSettings();
        if (store.ReadBool(settings::kToolsSection, "PumpDocked", false) != docked)
            store.WriteBool(settings::kToolsSection, "PumpDocked", docked);
    } catch (const std::exception&) {
        // The choice then lasts for this run.
    }
}

void TMainForm::RefreshGrid() {
    QModelIndex current = grid_->currentIndex();
    model_->Refresh();
    if (current.isValid()) {
        int row = std::min(current.row(), model_->rowCount() - 1);
        grid_->setCurrentIndex(model_->index(row, current.column()));
    } else {
        grid_->setCurrentIndex(model_->index(0, std::min(1, model_->columnCount() - 1)));
    }
}

bool TMainForm::GroupsActive() const { return groupsAction_ != nullptr && groupsAction_->isChecked(); }

bool TMainForm::ShowTypes() const { return typesAction_ == nullptr || typesAction_->isChecked(); }

QTableView* TMainForm::Grid() const { return grid_; }

void TMainForm::ShowTitle() {
    // "[*]" is where the window shows its modified mark.
    if (currentFile_.isEmpty()) {
        const TVersionInfo version = ProgramVersionInfo();
        setWindowTitle(Q(version.ProductName + " " + version.Version) + "[*]");
    } else {
        setWindowTitle(FileNamePart(currentFile_) + "[*] — " + Q(ProgramVersionInfo().ProductName));
    }
}

void TMainForm::SetSaved(bool saved) {
    circuit_->Saved = saved;
    setWindowModified(!saved);
    panels_[0]->setText(saved ? "Ready" : "Modified");
}

void TMainForm::SetSolved(bool solved) {
    circuit_->Solved = solved;
    panels_[1]->setText(solved ? "Solved" : "Not Solved");
    // A result for a liquid that would freeze says so where the result is
    // announced; the full text is the panel's tip and the warnings list's
    // first line.
    const std::string freezing =
        solved && project_.Liquid != nullptr
            ? LiquidFreezeWarning(*project_.Liquid, project_.Tables.FreezingMargin)
            : "";
    if (!freezing.empty()) panels_[1]->setText("Solved: freezing risk");
    panels_[1]->setToolTip(Q(freezing));
    QPalette palette = panels_[1]->palette();
    palette.setColor(QPalette::WindowText, freezing.empty() ? statusBar()->palette().color(QPalette::WindowText)
                                                            : QColor(128, 0, 0));
    panels_[1]->setPalette(palette);
    // The pump window follows every calculation and every change.
    if (pumpForm_ != nullptr) pumpForm_->Refresh();
    // A total from before the last change is no result of the circuit as it
    // is now: it stays for reference, greyed and struck out.
    const bool stale = !solved && !panels_[2]->text().isEmpty();
    QFont font = panels_[2]->font();
    font.setStrikeOut(stale);
    panels_[2]->setFont(font);
    panels_[2]->setEnabled(!stale);
    panels_[2]->setToolTip(stale ? QString("Not current: calculate again (F9)") : QString());
}

void TMainForm::ShowDpPanel() {
    const TUnitView drop(qtPressureDrop, {"kPa", "%0.4g", Over(1000)}, LiquidDensity(project_.Liquid));
    panels_[2]->setText(Q("dP = " + drop.Text(circuit_->TotalDP) + " " + drop.Label()));
}

void TMainForm::SetCurrentFile(const QString& file) {
    recent_.SetCurrentFile(currentFile_.toStdString(), file.toStdString());
    currentFile_ = file;
    panels_[3]->setText(FileNamePart(file));
    ShowTitle();
    RebuildReopenMenu();
}

void TMainForm::ForgetUndo() {
    undoItem_.reset();
    undoAction_->setEnabled(false);
    popupUndoAction_->setEnabled(false);
}

int TMainForm::CurrentRow() const {
    QModelIndex current = grid_->currentIndex();
    return current.isValid() ? current.row() : 0;
}

void TMainForm::Commit() { grid_->CommitEdit(); }

void TMainForm::LeaveGrid() { grid_->CancelEdit(); }

void TMainForm::MoveCursorTo(int row, int logicalColumn) {
    int column = model_->ViewColumnOf(logicalColumn);
    if (column < 0) column = model_->ViewColumnOf(gcDescription);
    grid_->setCurrentIndex(model_->index(std::clamp(row, 0, model_->rowCount() - 1), column));
}

QString TMainForm::ProgramFolderPath() const { return Q(ProgramFolder()); }

void TMainForm::RunCommand(const std::function<void()>& command) {
    // Nothing may leave a Qt slot or event handler by an exception: what a
    // command did not handle itself is shown, and the window carries on.
    try {
        command();
    } catch (const std::exception& e) {
        ShowMessage(this, MsgKind::Error, QString::fromUtf8(e.what()));
    }
}

void TMainForm::ShowGridMenu(const QPoint& pos) {
    QModelIndex index = grid_->indexAt(pos);
    if (!index.isValid() || model_->LogicalColumnAt(index.column()) == gcNumber) return;
    grid_->setCurrentIndex(index);
    // "&Delete" is offered on every row that holds an item.
    popupDeleteAction_->setEnabled(model_->ItemAt(index.row()) != nullptr);
    gridMenu_->popup(grid_->viewport()->mapToGlobal(pos));
}

void TMainForm::HeaderClicked(int viewColumn) {
    int logical = model_->LogicalColumnAt(viewColumn);
    if (logical >= GridColumnCount) return; // the result columns sort nothing
    const int keys[GridColumnCount] = {skNumber, skDescription, skGroup, -1, skBore,
                                       skLengthOrQuantity, skFlow, skPressureDrop, skTypeName};
    if (logical < 0 || keys[logical] < 0) return;
    SortCommand(keys[logical]);
}

bool TMainForm::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Insert && key->modifiers() == Qt::NoModifier) {
            RunCommand([this] {
                LeaveGrid();
                InsertCommand();
            });
            return false;
        }
        if (key->key() == Qt::Key_Delete && key->modifiers() == Qt::NoModifier && watched == grid_ &&
            !grid_->IsEditing()) {
            RunCommand([this] { DeleteCommand(); });
            return true;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

bool TMainForm::event(QEvent* event) {
    if (event->type() == QEvent::WindowActivate && firstActivation_) {
        firstActivation_ = false;
        propertiesForm_->SetFileReference(&currentFile_);
        DetailsToCircuit();
        // The liquid starts at the default temperature, unless a project
        // opened from the command line brought its own.
        if (!openedAtStartup_ && project_.Liquid != nullptr) {
            try {
                project_.Liquid->SetT(project_.Tables.DefaultTemperature);
            } catch (const std::exception& e) {
                ShowMessage(this, MsgKind::Error, QString::fromUtf8(e.what()));
            }
        }
    }
    return QMainWindow::event(event);
}

void TMainForm::LoadSettings() {
    SettingsStore& store = AppSettings();
    const TWindowPlacement p = RestoreWindowPlacement(*this, store, "MainForm", true);
    if (p.WinState == 2) setWindowState(Qt::WindowMaximized);
    currentDir_ = Q(store.ReadString(settings::kToolsSection, settings::kCurrentDir, currentDir_.toStdString()));
    groupsAction_->setChecked(store.Read(settings::ActiveGroups));
    typesAction_->setChecked(store.Read(settings::ShowTypes));
    extras_ = static_cast<TExtraColumns>(store.Read(settings::ExtraColumns)) & ((1u << ExtraColumnCount) - 1);
    for (int e = 0; e < ExtraColumnCount; ++e) extraActions_[e]->setChecked(extras_ & ExtraBit(gcVelocity + e));
    const TColumnWidths stored = ParseGridCols(store.Read(settings::GridCols));
    userWidths_ = UserChosenWidths(stored);
    columnWidths_ = ShownWidths(stored, userWidths_, FittedWidths());
    project_.Tables.LabourRate = store.Read(settings::LabourRate);
    recent_.Load(store);
    RebuildReopenMenu();
    insertForm_->RestorePlacementFromSettings();
    pumpForm_->RestorePlacementFromSettings();
}

void TMainForm::SaveSettings() {
    SettingsStore& store = AppSettings();
    SaveWindowPlacement(*this, store, "MainForm");
    store.WriteString(settings::kToolsSection, settings::kCurrentDir, currentDir_.toStdString());
    store.Write(settings::ActiveGroups, GroupsActive());
    store.Write(settings::ShowTypes, ShowTypes());
    store.Write(settings::ExtraColumns, static_cast<int>(extras_));
    store.Write(settings::GridCols, FormatGridCols(StoredWidths(columnWidths_, userWidths_)));
    store.Write(settings::LabourRate, project_.Tables.LabourRate);
}

void TMainForm::SaveSettingsOnClose() {
    SaveSettings();
    SaveReportStyles(AppSettings());
    recent_.Add(currentFile_.toStdString());
    recent_.Save(AppSettings());
}

void TMainForm::closeEvent(QCloseEvent* event) {
    // After EndSession everything is written already and nobody is there to
    // answer a question.
    if (sessionEnded_) {
        event->accept();
        return;
    }
    Commit();
    if (!SaveChangesPrompt()) {
        event->ignore();
        return;
    }
    try {
        SaveSettingsOnClose();
    } catch (const std::exception& e) {
        ShowMessage(this, MsgKind::Error, QString::fromUtf8(e.what()));
    }
    insertForm_->close(); // it stores its own placement
    if (pumpForm_->isVisible()) pumpForm_->close(); // so does the pump window
    event->accept();
}

} // namespace dvx::ui
