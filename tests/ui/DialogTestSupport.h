// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Shared by the dialog tests: a temporary home and settings store, message
// boxes answered from a script, modal dialogs driven by a queued action, and
// pictures saved when DARVENIX_SCREENSHOT_DIR is set.

#include "engine/catalogue/Tables.h"
#include "engine/fluid/Fluid.h"
#include "ui/TestProject.h"
#include "storage/settings/SettingsStore.h"
#include "desktop/widgets/Messages.h"
#include "desktop/widgets/EntryGrid.h"
#include "desktop/widgets/Feedback.h"

#include <QDialog>
#include <QLineEdit>
#include <QDir>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolBar>
#include <QtTest>
#include <functional>
#include <vector>

namespace dvx::test {

class DialogTestBase : public QObject {

protected:
    struct Shown {
        ui::MsgKind kind;
        QString text;
        QMessageBox::StandardButtons buttons;
    };
    QTemporaryDir home_;
    std::vector<Shown> messages_;
    std::vector<QMessageBox::StandardButton> answers_; // given in order; Ok when none left
    int beeps_ = 0;

    QString Path(const QString& name) const { return home_.filePath(name); }
    SettingsStore& Store() { return AppSettings(); }

    // The project the test's windows are given (TestProject); FreshStart
    // puts its tables back to the built-in values for each test.
    static TProjectContext Project() { return TestProject(); }

    // HOME and the XDG folders in a temporary folder, before anything runs.
    void SetUpHome() {
        QVERIFY(home_.isValid());
        qputenv("HOME", home_.path().toUtf8());
        qputenv("XDG_CONFIG_HOME", Path("config").toUtf8());
        qputenv("XDG_DATA_HOME", Path("data").toUtf8());
        ui::SetMessageHandler([this](QWidget*, ui::MsgKind kind, const QString& text, QMessageBox::StandardButtons b) {
            messages_.push_back({kind, text, b});
            if (answers_.empty()) return QMessageBox::Ok;
            auto answer = answers_.front();
            answers_.erase(answers_.begin());
            return answer;
        });
        SetBeepHook([this] { ++beeps_; });
    }

    // Built-in tables, a fresh settings store of its own for each test.
    void FreshStart(const QString& storeName) {
        Project().Tables.RestoreBuiltIn();
        QFile::remove(Path("config/" + storeName));
        SetAppSettings(SettingsStore(Path("config/" + storeName).toStdString()));
        messages_.clear();
        answers_.clear();
        beeps_ = 0;
    }

    // Runs the dialog modally; `act` runs once it is shown (from the event
    // loop) and must close it. Returns the dialog's result.
    static int RunModal(QDialog& dialog, const std::function<void()>& act) {
        QTimer::singleShot(0, &dialog, [&dialog, act] {
            act();
            if (dialog.isVisible()) dialog.reject(); // never leave a test hanging
        });
        return dialog.exec();
    }

    // The value text of a row of a property-sheet window (one with Grid()).
    template <class Form>
    static QString Cell(Form& form, int row) {
        return QString::fromStdString(form.Grid()->Cell(1, row));
    }

    // Types into a value cell through the sheet's in-place editor.
    template <class Form>
    static void Type(Form& form, int row, const QString& text) {
        TEntryGrid* grid = form.Grid();
        grid->SetCurrentCell(1, row);
        const QModelIndex index = grid->model()->index(row - 1, 1);
        grid->edit(index);
        auto* editor = qobject_cast<QLineEdit*>(grid->indexWidget(index));
        QVERIFY2(editor != nullptr, "no in-place editor");
        editor->selectAll();
        QTest::keyClicks(editor, text);
        grid->FinishEditing();
    }

    static void Screenshot(QWidget& widget, const QString& name) {
        const QByteArray dir = qgetenv("DARVENIX_SCREENSHOT_DIR");
        if (dir.isEmpty()) return;
        QDir().mkpath(QString::fromLocal8Bit(dir));
        QVERIFY(widget.grab().save(QDir(QString::fromLocal8Bit(dir)).filePath(name + ".png")));
    }
};

} // namespace dvx::test
