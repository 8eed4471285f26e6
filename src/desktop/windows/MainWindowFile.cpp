// SPDX-License-Identifier: GPL-3.0-or-later
// The File menu: new, open, reopen, save, text files, e-mail, project
// details and the report preview, with the file dialogs they ask.

#include "desktop/windows/MainWindow.h"

#include "base/Errors.h"
#include "engine/fluid/Fluid.h"
#include "desktop/windows/Desktop.h"
#include "storage/project/ProjectFile.h"
#include "storage/project/TextItems.h"
#include "storage/project/ItemTable.h"
#include "desktop/report/CircuitReportPreview.h"
#include "desktop/report/PreviewWindow.h"
#include "desktop/report/PropertiesDlg.h"
#include "desktop/windows/CircuitModel.h"
#include "desktop/windows/CircuitView.h"
#include "desktop/windows/MainWindowSupport.h"
#include "desktop/widgets/Messages.h"
#include "desktop/windows/PriceForm.h"
#include "desktop/windows/PumpCurveForm.h"
#include "desktop/windows/SummaryForm.h"
#include "desktop/windows/Warnings.h"
#include "desktop/undo/ProjectCommands.h"

#include <QDialog>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QMenu>
#include <QAction>
#include <QUndoStack>

#include <optional>

namespace dvx::ui {

TFileDialogRequest TMainForm::SaveDialogRequest() const {
    return {true, currentFile_.isEmpty() ? ProgramFolderPath() : FolderPart(currentFile_), FileNamePart(currentFile_),
            kProjectFilter, "dvx"};
}

TFileDialogRequest TMainForm::OpenDialogRequest(const QString& suffix, const QString& filter) const {
    return {false, currentFile_.isEmpty() ? currentDir_ : FolderPart(currentFile_),
            FileNamePart(WithSuffix(currentFile_, suffix)), filter, suffix};
}

QString TMainForm::AskFile(const TFileDialogRequest& request) {
    if (fileDialog_) return fileDialog_(this, request);
    QFileDialog dialog(this);
    dialog.setAcceptMode(request.Save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(request.Save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog.setDirectory(request.Folder);
    dialog.selectFile(request.FileName);
    dialog.setNameFilter(request.Filter);
    dialog.setDefaultSuffix(request.DefaultSuffix);
    if (!request.Title.isEmpty()) dialog.setWindowTitle(request.Title);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    return dialog.selectedFiles().first();
}

bool TMainForm::NewProject() {
    // A value still in the cell editor is part of the project the question
    // is about.
    Commit();
    if (!SaveChangesPrompt()) return false;
    NewCircuit();
    propertiesForm_->ResetDetails();
    DetailsToCircuit();
    return true;
}

void TMainForm::NewCircuit() {
    LeaveGrid();
    SetCurrentFile({});
    ReplaceCircuit(std::make_unique<TCircuit>(project_));
    RebuildColumns();
    RefreshGrid();
    SetSolved(false);
    SetSaved(true);
    panels_[2]->clear();
    ForgetUndo();
    ResetHistory();
    ApplyMaterial();
}

void TMainForm::ReplaceCircuit(std::unique_ptr<TCircuit> circuit) {
    // Every window that keeps a pointer into the circuit learns the new one
    // before the old circuit and its items are destroyed.
    model_->SetCircuit(circuit.get());
    summaryForm_->SetCircuit(circuit.get(), project_.Liquid);
    priceForm_->SetCircuit(circuit.get());
    pumpForm_->SetCircuit(circuit.get());
    // The project's fitting method is in force while it is open (the
    // warnings list names the fittings it cannot calculate).
    project_.Tables.FittingMethod = circuit->FittingMethod;
    warningsForm_->BuildWarningList(*circuit);
    circuit_ = std::move(circuit);
    ApplyFittingMethod();
}

bool TMainForm::SaveChangesPrompt() {
    if (circuit_->Saved) return true;
    QString name = currentFile_.isEmpty() ? QString("File") : FileNamePart(currentFile_);
    auto answer = ShowMessage(this, MsgKind::Confirmation, name + " not saved.\nSave now?",
                              QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    if (answer == QMessageBox::No) return true;
    if (answer != QMessageBox::Yes) return false;
    QString chosen = AskFile(SaveDialogRequest());
    if (chosen.isEmpty()) return false;
    return SaveFile(chosen);
}

bool TMainForm::SaveFile(const QString& file) {
    if (!HasSuffix(file, "dvx")) {
        ShowMessage(this, MsgKind::Information, "File not saved.  Extension must be \"dvx\".");
        return false;
    }
    try {
        WriteProject(file.toStdString(), *circuit_, *project_.Liquid, project_.Tables);
    } catch (const std::exception&) {
        // The safe save left any earlier file as it was.
        SetSaved(false);
        ShowMessage(this, MsgKind::Information, "Error saving file");
        return false;
    }
    SetCurrentFile(file);
    SetSaved(true);
    undoStack_->setClean();
    return true;
}

bool TMainForm::OpenFile(const QString& file) {
    if (!HasSuffix(file, "dvx")) {
        ShowMessage(this, MsgKind::Information, "File extension must be \"dvx\".");
        return false;
    }
    std::optional<TProjectData> data;
    try {
        data.emplace(ReadProject(file.toStdString(), project_));
    } catch (const std::exception&) {
        // Nothing was read into the project: it stays as it was, unchanged
        // or not.
        ShowMessage(this, MsgKind::Warning, "Error reading " + file);
        return false;
    }
    ShowOpenedProject(std::move(*data), file, true);
    return true;
}

void TMainForm::ShowOpenedProject(TProjectData&& data, const QString& file, bool saved) {
    LeaveGrid();
    // A material this machine lacks comes from the file's own copy; say so
    // once the project shows.
    const std::string materialMessage = ResolveStoredMaterial(data, project_.Tables);
    std::unique_ptr<TCircuit> opened;
    InstallProject(std::move(data), opened, project_);
    ReplaceCircuit(std::move(opened));
    SetCurrentFile(file);
    // The project's details into the dialog; name and number keep their
    // texts unless empty.
    propertiesForm_->SetProjectName(propertiesForm_->ProjectNameOrDefault());
    propertiesForm_->SetProjectNumber(propertiesForm_->ProjectNumberOrDefault());
    propertiesForm_->SetDescriptionLines(circuit_->DescriptionLines.Lines());
    propertiesForm_->SetAuthor(Q(circuit_->Author));
    propertiesForm_->SetCompany(Q(circuit_->Company));
    ApplyMaterial();
    RebuildColumns();
    RefreshGrid();
    SetSaved(saved);
    SetSolved(false);
    // The earlier project's total is no result of this one; the calculation
    // below fills the panel again unless an item is invalid.
    panels_[2]->clear();
    ForgetUndo();
    ResetHistory();
    if (!materialMessage.empty()) ShowMessage(this, MsgKind::Warning, QString::fromStdString(materialMessage));
    CalcBtnClick();
}

void TMainForm::OpenStartupFile(const QString& file) {
    if (file.isEmpty() || !QFileInfo::exists(file)) return; // a name that does not exist is ignored
    openedAtStartup_ = OpenFile(QFileInfo(file).absoluteFilePath());
}

void TMainForm::OpenCommand() {
    Commit();
    LeaveGrid();
    if (!SaveChangesPrompt()) return;
    QString chosen = AskFile(OpenDialogRequest("dvx", kProjectFilter));
    if (chosen.isEmpty()) return;
    currentDir_ = FolderPart(chosen);
    OpenFile(chosen);
}

void TMainForm::ReopenCommand(const QString& file) {
    Commit();
    LeaveGrid();
    if (!SaveChangesPrompt()) return;
    OpenFile(file);
}

void TMainForm::SaveCommand() {
    // The value still in the cell editor is saved with the rest.
    Commit();
    if (currentFile_.isEmpty()) {
        SaveAsCommand();
        return;
    }
    if (!SaveFile(currentFile_)) ShowMessage(this, MsgKind::Plain, "Error writing " + FileNamePart(currentFile_));
}

void TMainForm::SaveAsCommand() {
    Commit();
    QString chosen = AskFile(SaveDialogRequest());
    if (chosen.isEmpty()) return;
    currentDir_ = FolderPart(chosen);
    // A refused extension has said so already; a second box adds nothing.
    if (!SaveFile(chosen) && HasSuffix(chosen, "dvx"))
        ShowMessage(this, MsgKind::Plain, "Error writing " + FileNamePart(chosen));
}

void TMainForm::WriteTextFileCommand() {
    Commit();
    QString file = currentFile_.isEmpty() ? QString("Darvenix.txt") : WithSuffix(currentFile_, "txt");
    try {
        WriteTextItemsFile(*circuit_, file.toStdString());
    } catch (const std::exception& e) {
        ShowMessage(this, MsgKind::Error, QString::fromUtf8(e.what()));
        return;
    }
    ShowMessage(this, MsgKind::Information, "Saved as... " + file);
}

void TMainForm::ReadTextFileCommand() {
    Commit();
    QString chosen = AskFile(OpenDialogRequest("txt", kTextFilter));
    if (chosen.isEmpty()) return;
    // The New command, with its unsaved-changes question.
    if (!NewProject()) return;
    TTextImport import;
    try {
        import = ReadTextItems(ReadTextFileBytes(chosen.toStdString()), project_);
    } catch (const std::exception& e) {
        ShowMessage(this, MsgKind::Error, QString::fromUtf8(e.what()));
        return;
    }
    // Each item goes before the first row, as inserted one by one.
    for (auto& item : import.Items) {
        MoveCursorTo(0, gcDescription);
        InsertItem(std::move(item));
    }
    MoveCursorTo(0, gcDescription);
    if (!import.Messages.empty()) {
        QString text = "Lines not read:";
        for (const std::string& m : import.Messages) text += "\n" + Q(m);
        ShowMessage(this, MsgKind::Warning, text);
    } else if (circuit_->Count() == 0 && import.HasText) {
        // Something was in the file, yet no item came of it.
        ShowMessage(this, MsgKind::Warning, FileNamePart(chosen) + " holds no item line.");
    }
    SetCurrentFile(WithSuffix(chosen, "dvx"));
    // The imported list is where the history of this project starts.
    ResetHistory();
}

void TMainForm::SendMailCommand() {
    Commit();
    if (circuit_->Count() == 0) {
        ShowMessage(this, MsgKind::Plain, "Nothing to send...");
        return;
    }
    // A project unchanged since it was saved is sent as it is on disk:
    // a file the user did not change is not written again.
    if (!circuit_->Saved || currentFile_.isEmpty() || !QFileInfo::exists(currentFile_)) SaveCommand();
    // Only a project that is now on disk can be attached.
    if (currentFile_.isEmpty() || !circuit_->Saved) return;
    // Also when the mail helper starts but finds no mail program: the user
    // learns where the file is, to send it some other way.
    const QString file = currentFile_;
    auto failed = [this, file] {
        ShowMessage(this, MsgKind::Warning, "Unable to start the mail program.\nThe project file is " + file);
    };
    if (!ComposeMail("Darvenix data file", "Please find Darvenix datafile attached...\r", {file}, this, failed))
        failed();
}

QString TMainForm::ProjectFolder() const { return currentFile_.isEmpty() ? currentDir_ : FolderPart(currentFile_); }

void TMainForm::ExportCsvCommand() {
    Commit();
    const QString name = currentFile_.isEmpty() ? QString("Darvenix.csv") : FileNamePart(WithSuffix(currentFile_, "csv"));
    const QString chosen = AskFile({true, ProjectFolder(), name, "CSV files (*.csv)", "csv", "Export CSV"});
    if (chosen.isEmpty()) return;
    try {
        WriteCircuitCsv(*circuit_, chosen.toStdString(), project_);
    } catch (const std::exception&) {
        ShowMessage(this, MsgKind::Error, "Error writing " + FileNamePart(chosen));
    }
}

void TMainForm::Preview1Click() {
    if (!circuit_->Solved) {
        auto answer = ShowMessage(this, MsgKind::Confirmation, "Circuit must be calculated first.\nCalculate now?",
                                  QMessageBox::Ok | QMessageBox::Cancel);
        if (answer != QMessageBox::Ok) return;
        CalcBtnClick();
    }
    preview_->SetDocumentFolder(ProjectFolder());
    ShowCircuitReport(*preview_, project_, *circuit_, GroupsActive(), ShowTypes(), extras_);
}

void TMainForm::ProjectDetailsCommand() {
    const TProjectDetails before = TProjectDetails::Of(*circuit_);
    if (propertiesForm_->exec() != QDialog::Accepted) return;
    // The description lines, author and company are saved with the project:
    // a real change to them is a change to keep, and one to undo. The
    // command's redo puts them into the circuit.
    const TProjectDetails after{propertiesForm_->DescriptionLines(), propertiesForm_->Author().toStdString(),
                                propertiesForm_->Company().toStdString()};
    if (after == before) return;
    SetSaved(false);
    Record(new TDetailsCommand(*this, before, after));
}

void TMainForm::DetailsToCircuit() {
    circuit_->DescriptionLines = propertiesForm_->DescriptionLines();
    circuit_->Author = propertiesForm_->Author().toStdString();
    circuit_->Company = propertiesForm_->Company().toStdString();
}

void TMainForm::RebuildReopenMenu() {
    reopenMenu_->clear();
    for (const std::string& entry : recent_.Visible()) {
        QString file = Q(entry);
        QAction* a = reopenMenu_->addAction(file);
        // Named by place: "actionFileReopen1" is the most recent file.
        a->setObjectName(QString("actionFileReopen%1").arg(reopenMenu_->actions().size()));
        connect(a, &QAction::triggered, this, [this, file] { RunCommand([this, file] { ReopenCommand(file); }); });
    }
    reopenMenu_->setEnabled(!reopenMenu_->actions().isEmpty());
}

} // namespace dvx::ui
