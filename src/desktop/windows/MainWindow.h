// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The main window: the one document window of the program. It owns the
// circuit, shows it in the circuit grid and runs every command on the
// project from its menus, tool bar, pop-up menu and keys; its status bar
// shows Saved / Solved, the total pressure drop and the file name.

#include "engine/hydraulics/Calc.h"
#include "engine/hydraulics/ProjectContext.h"
#include "storage/project/ProjectFile.h"
#include "storage/settings/MRU.h"
#include "presentation/ui/CircuitGrid.h"
#include "desktop/undo/UndoHost.h"

#include <QMainWindow>
#include <array>
#include <QString>
#include <functional>
#include <memory>

class QAction;
class QDockWidget;
class QActionGroup;
class QLabel;
class QMenu;
class QTableView;
class QUndoCommand;
class QUndoStack;

namespace dvx {
class TPreviewForm;
class TPropertiesForm;
}

namespace dvx::ui {

class CircuitModel;
class CircuitView;
class TInsertForm;
class TFittingsForm;
class TPipeSpecForm;
class TLimitsForm;
class TDefaultsForm;
class TDefaultFlowForm;
class TFluidSpecForm;
class TWarningsForm;
class TSummaryForm;
class TCostForm;
class TLabourForm;
class TPriceForm;
class TUnitsForm;
class TPumpCurveForm;

// What a file dialog is asked for; the answer is the chosen path or empty.
struct TFileDialogRequest {
    bool Save = false;
    QString Folder;
    QString FileName;
    QString Filter;       // Qt form, e.g. "Darvenix data files (*.dvx)"
    QString DefaultSuffix;
    QString Title = {};   // the dialog's title; empty: the toolkit's own ("Save As", "Open")
};
using FileDialogHandler = std::function<QString(QWidget* parent, const TFileDialogRequest&)>;

class TMainForm : public QMainWindow, private TUndoHost {
    Q_OBJECT
public:
    // `project` is the project state the window works on (tables, liquid,
    // item counter); it outlives the window. Every window, dialog and
    // command the window creates works on the same one.
    explicit TMainForm(TProjectContext project, QWidget* parent = nullptr);
    ~TMainForm() override;

    TProjectContext Project() const { return project_; }
    TCircuit& Circuit() { return *circuit_; }
    QString CurrentFile() const { return currentFile_; }
    QString CurrentDir() const { return currentDir_; }
    bool GroupsActive() const;
    bool ShowTypes() const;
    const TBranch* UndoItem() const { return undoItem_.get(); }
    // The history of changes behind Edit › Undo and Redo.
    QUndoStack* UndoStack() const { return undoStack_; }

    QTableView* Grid() const;
    CircuitModel* Model() const { return model_; }
    QLabel* StatusPanel(int i) const { return panels_[i]; }
    TInsertForm* InsertForm() const { return insertForm_; }
    TFittingsForm* FittingsForm() const { return fittingsForm_; }
    TPipeSpecForm* PipeSpecForm() const { return pipeSpecForm_; }
    TLimitsForm* LimitsForm() const { return limitsForm_; }
    TDefaultsForm* DefaultsForm() const { return defaultsForm_; }
    TDefaultFlowForm* DefaultFlowForm() const { return defaultFlowForm_; }
    TFluidSpecForm* FluidSpecForm() const { return fluidSpecForm_; }
    TWarningsForm* WarningsForm() const { return warningsForm_; }
    TSummaryForm* SummaryForm() const { return summaryForm_; }
    TPropertiesForm* PropertiesForm() const { return propertiesForm_; }
    TCostForm* CostForm() const { return costForm_; }
    TLabourForm* LabourForm() const { return labourForm_; }
    TPriceForm* PriceForm() const { return priceForm_; }
    TPumpCurveForm* PumpForm() const { return pumpForm_; }
    QDockWidget* PumpDock() const { return pumpDock_; }
    // An action of the menus, the pop-up menu or the tool bar by its object
    // name (e.g. "actionCalcPressureDrop"); nullptr when there is none.
    QAction* Action(const QString& name) const;
    // The name of the Calculate menu's action for a material code
    // ("actionMaterial0"; the catalogues' further materials from 3 on).
    static QString MaterialActionName(int material);
    QMenu* ReopenMenu() const { return reopenMenu_; }
    const TRecentFiles& RecentFiles() const { return recent_; }
    // The report preview, created once with the window.
    TPreviewForm* ReportPreview() const { return preview_; }

    // Replaces the open and save dialogs (tests answer them).
    void SetFileDialogHandler(FileDialogHandler handler) { fileDialog_ = std::move(handler); }

    // --- commands, as the menus run them ---
    // False when the unsaved-changes question was answered Cancel.
    bool NewProject();
    void OpenCommand();
    void ReopenCommand(const QString& file);
    void SaveCommand();
    void SaveAsCommand();
    bool SaveChangesPrompt();
    bool SaveFile(const QString& file);
    bool OpenFile(const QString& file);
    void WriteTextFileCommand();
    void ReadTextFileCommand();
    void SendMailCommand();
    // File › "Export CSV…": every item with its results, for spreadsheets.
    void ExportCsvCommand();
    // Edit › Copy: the selected rows (or the current one) as tab-separated
    // text with a header row. Edit › Paste: rows from a spreadsheet, put in
    // before the current row; rows that cannot be read are named.
    void CopyCommand();
    void PasteCommand();
    // The folder of the project file, or CurrentDir for an untitled project.
    QString ProjectFolder() const;
    void CalcBtnClick();
    void SortCommand(int key);
    void RenumberCommand();
    void InsertCommand();
    void DeleteCommand();
    void UndoDeleteCommand();
    // Edit › Undo and Redo: the last change to the project taken back or done again.
    void UndoCommand();
    void RedoCommand();
    void AutoSizeCurrent();
    void AutoFlowCurrent();
    void ResizeAllCommand();
    void ResetAllFlowsCommand();
    void ChooseMaterial(int material);
    // Calculate › Fitting Method: the project's method, recalculated at
    // once and undoable; choosing the method in force changes nothing.
    void ChooseFittingMethod(TFittingMethod method);
    QAction* FittingMethodAction(TFittingMethod method) const {
        return methodActions_[static_cast<std::size_t>(method)];
    }
    void SetGroupsActive(bool on);
    void SetShowTypes(bool on);
    // View › Columns: an optional result column (gcVelocity … gcVolume) on or off.
    void SetExtraColumn(int column, bool on);
    TExtraColumns ExtraColumns() const { return extras_; }
    void OpenHelpPage(const QString& relativePath);
    void AboutCommand();
    // "Pre&view" / "&Report": the circuit report, calculated first on request.
    void Preview1Click();
    // The settings and catalogue dialogs, shown modally.
    void DefaultsCommand();
    void DefaultFlowsCommand();
    void LimitsCommand();
    void FittingsCommand();
    void PipeRoughnessCommand();
    void AddMaterialCommand();
    void WaterSpecCommand();
    void WarningsCommand();
    void SummaryCommand();
    void ProjectDetailsCommand();
    // Calculate, estimate, and the price window when every item is priced.
    void PriceEstimateCommand();
    // Tools > "&Units...": the display units; every window then shows its
    // quantities in the new units.
    void UnitsCommand();
    TUnitsForm* UnitsForm() const { return unitsForm_; }
    // The pump and system-curve window, shown beside the main window.
    void PumpCurveCommand();

    // The insertion rule: before the item of the current row, "Modified"
    // and "Not Solved"; the current row does not move.
    void InsertItem(std::unique_ptr<TBranch> item);
    // The current row's item takes the values of `item`, an item of the
    // same kind (its number, group and index stay); undoable. False when
    // the row holds another kind.
    bool UpdateItem(std::unique_ptr<TBranch> item);

    void SetSaved(bool saved);
    void SetSolved(bool solved);
    void ApplyMaterial();
    // The circuit's fitting method into the tables the calculation reads
    // and into the menu.
    void ApplyFittingMethod();
    // Calculates again after the method changed, without a message: a
    // circuit that cannot be calculated is left "Not Solved".
    void RecalculateQuietly();
    // Adds Calculate › Fitting Method.
    void BuildFittingMethodMenu(QMenu* calculate);
    // Takes a pending grid edit into its item.
    void Commit();
    // Closes the in-place editor without taking its text.
    void LeaveGrid();
    // Current grid row (item position), 0 when there is none.
    int CurrentRow() const;

    // Settings of the window: read at creation, written on close.
    void LoadSettings();
    void SaveSettings();

    // The file opened from the command line, before the window is shown.
    void OpenStartupFile(const QString& file);

    // The program is ended from outside (SIGTERM, SIGHUP): closes as File ›
    // Exit does, settings and placements written, but asks nothing; an
    // unsaved project is kept as the recovery copy instead. Ends the event
    // loops, modal ones included.
    void EndSession();
    // At start, when an earlier run left a recovery copy: asks whether to
    // open it (as an unsaved project under its own file's name) and removes
    // the copy once answered.
    void OfferRecovery();

protected:
    void closeEvent(QCloseEvent* event) override;
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // What closing writes: the settings, report styles and recent files.
    void SaveSettingsOnClose();
    // A project read from `file` into the window and calculated; `saved`
    // false for one that differs from its file.
    void ShowOpenedProject(TProjectData&& data, const QString& file, bool saved);
    void BuildMenus();
    void BuildToolBar();
    void BuildStatusBar();
    void BuildGrid();
    void RebuildColumns();
    // What each column needs in the grid's font: its caption, and five-digit
    // numbers or the longest texts it usually holds (pixels). The result
    // columns, whose widths are not stored, take theirs at once.
    TColumnWidths FittedWidths();
    // Widens the window until every shown column fits beside the row
    // numbers, as far as the screen allows; a wider window keeps its size.
    // Whether it widened.
    bool WidenToShowColumns();
    // The pump window's first place: beside this window, so that the grid
    // and the curves can be seen together.
    void PlacePumpWindowBeside();
    // Whether the pump window, placed beside this one, would cover part of it.
    bool NoRoomBeside() const;
    // Puts the pump window into a dock at the bottom of this window, or lets
    // it stand alone beside it again; the choice is kept for the next run.
    void SetPumpDocked(bool docked);
    void RefreshGrid();
    void RebuildReopenMenu();
    void SetCurrentFile(const QString& file);
    // The title names the project's file (or the program for an untitled
    // project), with the modified mark.
    void ShowTitle();
    void ShowDpPanel();
    void ShowGridMenu(const QPoint& pos);
    void HeaderClicked(int viewColumn);
    void MoveCursorTo(int row, int logicalColumn);
    // Discards the circuit for an empty one: no file, "Ready", "Not Solved".
    void NewCircuit();
    void ReplaceCircuit(std::unique_ptr<TCircuit> circuit);
    void ForgetUndo();
    // A fresh history for a new or opened project; a project that is not
    // saved has no state to return to that reads "Ready".
    void ResetHistory();
    // Pushes a change on the history; the command's redo makes it.
    void Record(QUndoCommand* command);
    // A change of item values that another part of the window (the grid, the
    // warnings window) has made already: `before` holds copies of the items
    // taken earlier; the command's redo puts the same values in again.
    void RecordValues(const TItemCopies& before, const std::function<QUndoCommand*(TValueChange)>& make);
    // A change of item values worked out on copies (`after`), pushed so
    // that the command's redo puts the new values into the circuit.
    void RecordValues(const TItemCopies& before, const TItemCopies& after,
                      const std::function<QUndoCommand*(TValueChange)>& make);

    // TUndoHost
    TCircuit& UndoCircuit() override { return *circuit_; }
    TProjectContext UndoProject() override { return project_; }
    void ItemsTakenBack(bool resultsStale, int row) override;
    void MaterialTakenBack(int material) override;
    void LiquidTakenBack() override;
    void FittingMethodTakenBack() override;
    void DetailsTakenBack() override;
    void PumpTakenBack() override;
    void UndoFailed(const std::string& message) override;
    // The save dialog: the folder and name of the current file (the program
    // folder for an untitled project), for a project file.
    TFileDialogRequest SaveDialogRequest() const;
    // The open dialog for files with the suffix: the current file's folder
    // (CurrentDir for an untitled project) and its name with that suffix.
    TFileDialogRequest OpenDialogRequest(const QString& suffix, const QString& filter) const;
    QString AskFile(const TFileDialogRequest& request);
    // Runs a command started by a menu, button or key; an error it did not
    // handle is shown in a message instead of leaving the event loop.
    void RunCommand(const std::function<void()>& command);
    QString ProgramFolderPath() const;
    // The project details' comments, author and company into the circuit
    // (the project is not marked modified).
    void DetailsToCircuit();
    // After the display units changed: the grid's captions and cells, the
    // status bar total and every window that shows a quantity.
    void ShowNewUnits();

    TProjectContext project_;
    std::unique_ptr<TCircuit> circuit_;
    std::unique_ptr<TBranch> undoItem_;
    QUndoStack* undoStack_ = nullptr;
    bool recording_ = false;        // a change is being put on the history
    TItemCopies cellEditBefore_;    // the items before the cell edit being committed
    QString currentFile_;
    QString currentDir_;
    TRecentFiles recent_;
    TColumnWidths columnWidths_{};  // pixels, as shown
    TUserWidths userWidths_{};      // the columns whose width the user chose
    TExtraColumns extras_ = 0;      // the optional result columns shown
    std::array<int, ExtraColumnCount> extraWidths_{}; // pixels, fitted to the font each run
    QAction* extraActions_[ExtraColumnCount] = {};
    bool firstActivation_ = true;
    bool sessionEnded_ = false;     // EndSession ran: closing asks nothing
    bool openedAtStartup_ = false;

    CircuitModel* model_ = nullptr;
    CircuitView* grid_ = nullptr;
    TInsertForm* insertForm_ = nullptr;
    TPreviewForm* preview_ = nullptr;
    TFittingsForm* fittingsForm_ = nullptr;
    TPipeSpecForm* pipeSpecForm_ = nullptr;
    TLimitsForm* limitsForm_ = nullptr;
    TDefaultsForm* defaultsForm_ = nullptr;
    TDefaultFlowForm* defaultFlowForm_ = nullptr;
    TFluidSpecForm* fluidSpecForm_ = nullptr;
    TWarningsForm* warningsForm_ = nullptr;
    TSummaryForm* summaryForm_ = nullptr;
    TPropertiesForm* propertiesForm_ = nullptr;
    TCostForm* costForm_ = nullptr;
    TLabourForm* labourForm_ = nullptr;
    TPriceForm* priceForm_ = nullptr;
    TUnitsForm* unitsForm_ = nullptr;
    TPumpCurveForm* pumpForm_ = nullptr;
    QDockWidget* pumpDock_ = nullptr; // made when the pump window is first docked
    QLabel* panels_[4] = {};
    QMenu* reopenMenu_ = nullptr;
    QMenu* gridMenu_ = nullptr;
    QActionGroup* materialGroup_ = nullptr;
    QAction* materialActions_[3] = {};
    // The further materials of the catalogue files (and of an opened
    // project whose material this machine lacks), code 3 on, after the three.
    QMenu* calcMenu_ = nullptr;
    std::vector<QAction*> furtherMaterialActions_;
    std::vector<std::string> furtherMaterialTexts_;
    void RefreshMaterialActions();
    QAction* MaterialAction(int material) const;
    std::array<QAction*, FittingMethodCount> methodActions_{};
    QAction* groupsAction_ = nullptr;
    QAction* typesAction_ = nullptr;
    QAction* undoAction_ = nullptr; // "&Undo last delete"
    QAction* stackUndoAction_ = nullptr;
    QAction* stackRedoAction_ = nullptr;
    QAction* popupUndoAction_ = nullptr;
    QAction* popupDeleteAction_ = nullptr;
    FileDialogHandler fileDialog_;
};

} // namespace dvx::ui
