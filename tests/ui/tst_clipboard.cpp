// SPDX-License-Identifier: GPL-3.0-or-later
// Copy, paste and CSV export on the main window: rows travel to and from a
// spreadsheet through the clipboard, and the whole table to a .csv file.

#include "engine/catalogue/Bores.h"
#include "engine/catalogue/Tables.h"
#include "engine/fluid/Fluid.h"
#include "storage/project/ProjectFile.h"
#include "storage/settings/SettingsStore.h"
#include "presentation/ui/CircuitChanges.h"
#include "desktop/windows/CircuitModel.h"
#include "desktop/windows/MainWindow.h"
#include "desktop/widgets/Messages.h"

#include <QAction>
#include <QClipboard>
#include <QFile>
#include <QFileInfo>
#include <QItemSelectionModel>
#include <QLabel>
#include <QTableView>
#include <QUndoStack>
#include <QtTest>

#include <sys/stat.h>

#include "ui/DialogTestSupport.h"

using namespace dvx;
using namespace dvx::ui;

class ClipboardTest : public test::DialogTestBase {
    Q_OBJECT

private:
    std::unique_ptr<TMainForm> window_;
    std::vector<TFileDialogRequest> requests_;
    QStringList chosen_;
    TMainForm& W() { return *window_; }

    // A project of `count` items of the three kinds, saved and opened.
    void OpenProject(int count) {
        TCircuit c(Project());
        for (int i = 0; i < count; ++i) {
            std::unique_ptr<TBranch> item;
            if (i % 3 == 0) {
                auto pipe = std::make_unique<TPipe>(Project());
                pipe->Length = 2.5 + i;
                item = std::move(pipe);
            } else if (i % 3 == 1) {
                auto fitting = std::make_unique<TFitting>(Project(), i % FittingCount);
                fitting->Quantity = 1 + i % 4;
                item = std::move(fitting);
            } else {
                item = std::make_unique<TUser>(Project());
                item->PressureDrop = 500.0 * i;
            }
            item->Number = 100 + i;
            item->Description = "Item " + std::to_string(i);
            item->SetBore(Project(), 5 + i % 12);
            item->Flow = 0.0005 * (i + 1);
            c.Append(std::move(item));
        }
        const QString file = Path("rows.dvx");
        WriteProject(file.toStdString(), c, *Project().Liquid, Project().Tables);
        QVERIFY(W().OpenFile(file));
    }

private slots:
    void initTestCase() { SetUpHome(); }

    void init() {
        FreshStart("clipboard.ini");
        *dvx::test::TestProject().Liquid = dvx::TLiquid("Water", 0, 0.0, 9.0, 9.0);
        requests_.clear();
        chosen_.clear();
        window_ = std::make_unique<TMainForm>(Project());
        W().SetFileDialogHandler([this](QWidget*, const TFileDialogRequest& request) {
            requests_.push_back(request);
            return chosen_.isEmpty() ? QString() : chosen_.takeFirst();
        });
        W().show();
    }

    void cleanup() {
        W().Circuit().Saved = true;
        window_.reset();
    }

    void twentyCopiedRowsPasteIntoANewProjectAsTheSameItems() {
        OpenProject(25);
        // Rows 2 to 21 selected, as with Shift and the mouse.
        QTableView* grid = W().Grid();
        grid->selectionModel()->select(QItemSelection(W().Model()->index(2, 1), W().Model()->index(21, 1)),
                                       QItemSelectionModel::ClearAndSelect);
        W().Action("actionEditCopy")->trigger();
        std::vector<std::unique_ptr<TBranch>> copied;
        for (int i = 2; i < 22; ++i) copied.push_back(CloneItem(W().Circuit().Item(i)));

        W().NewProject();
        W().Action("actionEditPaste")->trigger();
        QVERIFY2(messages_.empty(), qPrintable(messages_.empty() ? QString() : messages_.front().text));
        TCircuit& c = W().Circuit();
        QCOMPARE(c.Count(), 20);
        for (int i = 0; i < 20; ++i) {
            const TBranch& a = *copied[static_cast<std::size_t>(i)];
            const TBranch& b = c.Item(i);
            QCOMPARE(b.Kind(), a.Kind());
            QCOMPARE(b.Number, a.Number);
            QCOMPARE(b.Description, a.Description);
            QCOMPARE(b.BoreIndex, a.BoreIndex);
            QCOMPARE(b.Flow, a.Flow);
            // What the grid shows of each input is the same too (a pipe's
            // pressure drop is a result, calculated again after the paste).
            for (int column = 0; column < GridColumnCount; ++column)
                if (column != gcPressureDrop || a.Kind() == TItemKind::User)
                    QCOMPARE(CellText(&b, column, dvx::test::TestProject()), CellText(&a, column, dvx::test::TestProject()));
        }
        QCOMPARE(W().StatusPanel(0)->text(), QString("Modified"));
        QCOMPARE(W().StatusPanel(1)->text(), QString("Not Solved"));
        // One paste is one step of the history.
        W().UndoCommand();
        QCOMPARE(c.Count(), 0);
        QCOMPARE(W().StatusPanel(0)->text(), QString("Ready"));
    }

    void pasteOfThreeRowsWithOneBadRowInsertsTwoBeforeTheCurrentRow() {
        OpenProject(3);
        W().Grid()->setCurrentIndex(W().Model()->index(1, 1));
        QApplication::clipboard()->setText("Description\tQ, l/s\tType\tSize, mm\tLength, m\n"
                                           "Supply\t1.5\tPipe\t50\t12\n"
                                           "Return\tlots\tPipe\t50\t12\n"
                                           "Coil\t0.8\tUser\t32\t\n");
        W().PasteCommand();
        TCircuit& c = W().Circuit();
        QCOMPARE(c.Count(), 5);
        QCOMPARE(QString::fromStdString(c.Item(1).Description), QString("Supply"));
        QCOMPARE(QString::fromStdString(c.Item(2).Description), QString("Coil"));
        QCOMPARE(QString::fromStdString(c.Item(3).Description), QString("Item 1"));
        QCOMPARE(c.Item(1).Flow, 0.0015);
        QCOMPARE(NominalOf(Project().Tables, c.Item(2).BoreIndex), 32.0);
        QCOMPARE(messages_.size(), std::size_t(1));
        QCOMPARE(messages_[0].kind, MsgKind::Warning);
        QCOMPARE(messages_[0].text, QString("Rows not pasted:\nRow 3, Q (l/s): 'lots' is not a number"));
    }

    void exportCsvWritesTheWholeTableInTheProjectFolder() {
        OpenProject(4);
        const QString target = Path("export/rows.csv");
        QDir().mkpath(Path("export"));
        chosen_ << target;
        const mode_t old = ::umask(022);
        W().ExportCsvCommand();
        ::umask(old);
        QCOMPARE(requests_.size(), std::size_t(1));
        QVERIFY(requests_[0].Save);
        // The dialog starts beside the project, offering its name as .csv.
        QCOMPARE(QDir(requests_[0].Folder).canonicalPath(), QDir(Path("")).canonicalPath());
        QCOMPARE(requests_[0].FileName, QString("rows.csv"));
        QCOMPARE(requests_[0].Title, QString("Export CSV"));
        QFile file(target);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QStringList lines = QString::fromUtf8(file.readAll()).split("\r\n", Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), 5);
        QVERIFY(lines[0].startsWith("Kind,#,Description,\"Size, mm\",\"Q, l/s\""));
        QVERIFY(lines[1].startsWith("p,100,Item 0,"));
        // A solved project carries its results: the velocity cell is filled.
        QVERIFY(!lines[1].split(',')[13].isEmpty());
        // The file honours the umask like any other the user creates.
        QCOMPARE(QFileInfo(target).permissions() & (QFile::ReadOther | QFile::ReadGroup),
                 QFile::ReadOther | QFile::ReadGroup);
        QVERIFY(messages_.empty());
    }
};

QTEST_MAIN(ClipboardTest)
#include "tst_clipboard.moc"
