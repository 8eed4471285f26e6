// SPDX-License-Identifier: GPL-3.0-or-later
// The "Properties" dialog of the project details, on its own and as the
// main window uses it: defaults, the "General" tab's file facts, Cancel,
// "Keep as default", and the copies between dialog and circuit on New, Open,
// the first activation and "Project &Details".

#include "ui/TestProject.h"

#include "engine/catalogue/Tables.h"
#include "engine/fluid/Fluid.h"
#include "base/platform/Version.h"
#include "desktop/report/PropertiesDlg.h"
#include "storage/settings/SettingsStore.h"
#include "desktop/windows/MainWindow.h"
#include "desktop/widgets/Messages.h"

#include <QAction>
#include <QCheckBox>
#include <QDateEdit>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

using namespace dvx;
using namespace dvx::ui;

class PropertiesDlgTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir home_;
    std::unique_ptr<TMainForm> window_;

    TMainForm& W() { return *window_; }
    TPropertiesForm& D() { return *W().PropertiesForm(); }
    QString Path(const QString& name) { return home_.filePath(name); }
    QString SettingsFile() { return Path("config/Quellstrand/darvenix.ini"); }

    void RunDetails(std::function<void()> body) {
        QTimer::singleShot(0, &D(), [this, body] {
            body();
            if (D().isVisible()) D().reject();
        });
        W().Action("actionFileDetails")->trigger();
        QVERIFY(!D().isVisible());
    }

    QString MakeFile(const QString& name, int bytes) {
        QFile file(Path(name));
        if (!file.open(QIODevice::WriteOnly)) return {};
        file.write(QByteArray(bytes, 'x'));
        return file.fileName();
    }

    void SaveShot(QWidget* widget, const QString& name) {
        const QByteArray dir = qgetenv("DARVENIX_SCREENSHOT_DIR");
        if (dir.isEmpty()) return;
        QVERIFY(widget->grab().save(QString::fromUtf8(dir) + "/" + name));
    }

private slots:
    void initTestCase() {
        QVERIFY(home_.isValid());
        qputenv("HOME", home_.path().toUtf8());
        qputenv("XDG_CONFIG_HOME", Path("config").toUtf8());
        qputenv("XDG_DATA_HOME", Path("data").toUtf8());
        qunsetenv("ORGANIZATION");
        SetMessageHandler([](QWidget*, MsgKind, const QString&, QMessageBox::StandardButtons) { return QMessageBox::Ok; });
    }

    void init() {
        test::TestProject().Tables.RestoreBuiltIn();
        *dvx::test::TestProject().Liquid = dvx::TLiquid("Water", 0, 0.0, 9.0, 9.0);
        QFile::remove(SettingsFile());
        SetAppSettings(SettingsStore(SettingsFile().toStdString()));
        window_ = std::make_unique<TMainForm>(test::TestProject());
        W().show();
        QApplication::setActiveWindow(&W());
        QVERIFY(QTest::qWaitForWindowActive(&W()));
    }

    void cleanup() {
        W().Circuit().Saved = true;
        window_.reset();
    }

    void newProjectStartsFromTheDefaults() {
        // The first activation copied the dialog's details into the circuit.
        QCOMPARE(W().Circuit().Author, RegisteredOwner());
        QCOMPARE(W().Circuit().Company, std::string());
        QVERIFY(W().Circuit().DescriptionLines.Empty());
        RunDetails([this] {
            QCOMPARE(D().windowTitle(), QString("Properties"));
            QCOMPARE(D().Tabs()->currentIndex(), 0);
            QVERIFY(!D().GeneralTabVisible());
            QCOMPARE(D().AuthorEdit()->text(), QString::fromStdString(RegisteredOwner()));
            QCOMPARE(D().DateEdit()->date(), QDate::currentDate());
            QVERIFY(!D().KeepAsDefault()->isChecked());
            D().NameEdit()->setText("Plant room");
            D().DescriptionEdit()->setPlainText("Chilled water\nSecond floor");
            SaveShot(&D(), "properties_project.png");
            D().Tabs()->setCurrentIndex(1);
            SaveShot(&D(), "properties_user.png");
        });
    }

    void generalTabShowsTheFile() {
        const QString file = MakeFile("plant.dvx", 3072);
        QVERIFY(!file.isEmpty());
        TPropertiesForm dialog;
        dialog.SetFileReference(&file);
        dialog.show();
        QVERIFY(dialog.GeneralTabVisible());
        QCOMPARE(dialog.Tabs()->currentIndex(), 0);
        QCOMPARE(dialog.FileSizeLabel()->text(), QString("3.00 KB (3072 bytes)"));
        QCOMPARE(dialog.FileNameLabel()->text(), QString("plant.dvx"));
        QCOMPARE(QDir(dialog.LocationLabel()->text()), QDir(home_.path()));
        QVERIFY(dialog.AppTypeLabel()->text().startsWith("Type: "));
        QVERIFY(dialog.LastWriteLabel()->text() != "unknown");
        QVERIFY(!dialog.ReadOnlyBox()->isChecked());
        QVERIFY(!dialog.ReadOnlyBox()->isEnabled());
        dialog.Tabs()->setCurrentIndex(2);
        SaveShot(&dialog, "properties_general.png");
        dialog.reject();

        // A read-only file ticks its box; a file that has gone hides the tab.
        QFile::setPermissions(file, QFileDevice::ReadOwner | QFileDevice::ReadGroup);
        dialog.show();
        QVERIFY(dialog.ReadOnlyBox()->isChecked());
        dialog.reject();
        QFile::setPermissions(file, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
        QVERIFY(QFile::remove(file));
        dialog.show();
        QVERIFY(!dialog.GeneralTabVisible());
        dialog.reject();
    }

    void openingAProjectFillsTheDialog() {
        TCircuit& c = W().Circuit();
        c.DescriptionLines = {"Heating main", "Block B"};
        c.Author = "Jo Saved";
        c.Company = "Quellstrand";
        const QString file = Path("details.dvx");
        QVERIFY(W().SaveFile(file));
        // The dialog now holds other texts and no name or number.
        D().SetProjectName("");
        D().SetProjectNumber("");
        D().SetDescriptionLines({"something else"});
        D().SetAuthor("Nobody");
        QVERIFY(W().OpenFile(file));
        QCOMPARE(D().ProjectName(), QString("Project"));
        QCOMPARE(D().ProjectNumber(), QString("001"));
        QCOMPARE(D().DescriptionLines(), (std::vector<std::string>{"Heating main", "Block B"}));
        QCOMPARE(D().Author(), QString("Jo Saved"));
        QCOMPARE(D().Company(), QString("Quellstrand"));
        // A name already there stays.
        D().SetProjectName("Boiler house");
        QVERIFY(W().OpenFile(file));
        QCOMPARE(D().ProjectName(), QString("Boiler house"));
        QCOMPARE(D().ProjectNumber(), QString("001"));
        // The opened project's file is the dialog's file.
        RunDetails([this] {
            QVERIFY(D().GeneralTabVisible());
            QCOMPARE(D().FileNameLabel()->text(), QString("details.dvx"));
        });
    }

    void cancelPutsBackAndAcceptMarksOnlyARealChange() {
        TCircuit& c = W().Circuit();
        c.DescriptionLines = {"kept"};
        D().SetDescriptionLines(c.DescriptionLines.Lines());
        D().SetProjectName("Name");
        W().SetSaved(true);
        const QDate date = D().ProjectDate();
        RunDetails([this] {
            D().DescriptionEdit()->setPlainText("changed");
            D().NameEdit()->setText("Other");
            D().NumberEdit()->setText("99");
            D().AuthorEdit()->setText("Someone");
            D().CompanyEdit()->setText("Elsewhere");
            D().DateEdit()->setDate(QDate(2001, 2, 3));
            D().CancelButton()->click();
        });
        QCOMPARE(c.DescriptionLines.Lines(), (std::vector<std::string>{"kept"}));
        QCOMPARE(D().DescriptionLines(), (std::vector<std::string>{"kept"}));
        QCOMPARE(D().ProjectName(), QString("Name"));
        QCOMPARE(D().ProjectNumber(), QString());
        QCOMPARE(D().Author(), QString::fromStdString(RegisteredOwner()));
        QCOMPARE(D().Company(), QString());
        QCOMPARE(D().ProjectDate(), date);

        RunDetails([this] {
            D().DescriptionEdit()->setPlainText("first\nsecond");
            D().CompanyEdit()->setText("Quellstrand");
            D().AcceptButton()->click();
        });
        QCOMPARE(c.DescriptionLines.Lines(), (std::vector<std::string>{"first", "second"}));
        QCOMPARE(c.Company, std::string("Quellstrand"));
        // The details are saved with the project: New or Exit must ask.
        QCOMPARE(W().StatusPanel(0)->text(), QString("Modified"));
        QVERIFY(!c.Saved);
        // Not kept as default.
        QVERIFY(!AppSettings().ValueExists("File Properties", "Company"));

        // Accepting without a change leaves the project as it was; so does
        // a change to a text the project file does not hold.
        W().SetSaved(true);
        RunDetails([this] { D().AcceptButton()->click(); });
        QCOMPARE(W().StatusPanel(0)->text(), QString("Ready"));
        RunDetails([this] {
            D().NumberEdit()->setText("12");
            D().AcceptButton()->click();
        });
        QCOMPARE(W().StatusPanel(0)->text(), QString("Ready"));
        for (auto change : std::vector<std::function<void()>>{
                 [this] { D().AuthorEdit()->setText("Another"); },
                 [this] { D().DescriptionEdit()->setPlainText("first\nsecond\nthird"); }}) {
            W().SetSaved(true);
            RunDetails([this, change] {
                change();
                D().AcceptButton()->click();
            });
            QCOMPARE(W().StatusPanel(0)->text(), QString("Modified"));
        }
    }

    void keepAsDefaultReachesTheNextNewProject() {
        RunDetails([this] {
            D().AuthorEdit()->setText("Kim Writer");
            D().NumberEdit()->setText("042");
            D().DescriptionEdit()->setPlainText("not a default");
            D().KeepAsDefault()->setChecked(true);
            D().AcceptButton()->click();
        });
        QCOMPARE(AppSettings().ReadString("File Properties", "Author", ""), std::string("Kim Writer"));
        QCOMPARE(AppSettings().ReadString("File Properties", "Number", ""), std::string("042"));
        // Someone else's texts, then New: the defaults come back.
        D().SetAuthor("Temporary");
        D().SetProjectNumber("7");
        W().SetSaved(true); // the changed details are not to be kept here
        QVERIFY(W().NewProject());
        QCOMPARE(D().Author(), QString("Kim Writer"));
        QCOMPARE(D().ProjectNumber(), QString("042"));
        QVERIFY(D().DescriptionLines().empty());
        QCOMPARE(W().Circuit().Author, std::string("Kim Writer"));
        QVERIFY(W().Circuit().DescriptionLines.Empty());
        // The box starts cleared at every opening.
        RunDetails([this] { QVERIFY(!D().KeepAsDefault()->isChecked()); });
    }
};

QTEST_MAIN(PropertiesDlgTest)
#include "tst_propertiesdlg.moc"
