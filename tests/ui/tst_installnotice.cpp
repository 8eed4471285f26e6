// SPDX-License-Identifier: GPL-3.0-or-later
// The "Install notice" dialog answering a real install-data merge of two
// INI files in temporary folders, by keys, buttons and closing the window.

#include "DialogTestSupport.h"

#include "storage/settings/IniFiles.h"
#include "storage/settings/MergeINI.h"
#include "desktop/windows/ConfirmChangeDlg.h"

#include <QApplication>
#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QScreen>
#include <QScrollBar>
#include <QTableWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSplitter>
#include <filesystem>

using namespace dvx;
using namespace dvx::ui;

class InstallNoticeTest : public test::DialogTestBase {
    Q_OBJECT

private:
    struct Seen {
        QString caption, user, install;
    };
    std::vector<Seen> seen_;
    std::vector<std::function<void(TConfirmChangeDlg&)>> script_;
    QString userFolder_, installFolder_;

    QString UserFile() const { return userFolder_ + "SteelPipe.ini"; }
    QString InstallFile() const { return installFolder_ + "SteelPipe.ini"; }

    static void Write(const QString& path, const QByteArray& text) {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(text);
    }
    static std::string Value(const QString& file, const char* section, const char* key) {
        return TIniFile(file.toStdString()).ReadString(section, key, "-");
    }

    // Runs the merge of the configured file; each time the dialog is shown
    // the next step of the script answers it.
    void RunMerge() {
        QTimer answer;
        answer.setInterval(0);
        connect(&answer, &QTimer::timeout, this, [this] {
            auto* dlg = qobject_cast<TConfirmChangeDlg*>(QApplication::activeModalWidget());
            if (dlg == nullptr || !dlg->isVisible()) return;
            seen_.push_back({dlg->windowTitle(), dlg->UserMemo()->toPlainText(), dlg->InstallMemo()->toPlainText()});
            if (script_.empty()) {
                dlg->reject();
                QFAIL("the dialog was shown more often than expected");
            }
            auto step = script_.front();
            script_.erase(script_.begin());
            step(*dlg);
        });
        answer.start();
        TIniFileMerger merger(TConfirmChangeDlg::Factory());
        merger.ReadConfiguration(Path("program/darvenix.ini").toStdString(), "", "");
        merger.ProcessFiles();
        answer.stop();
    }

private slots:
    void initTestCase() { SetUpHome(); }

    void init() {
        seen_.clear();
        script_.clear();
        userFolder_ = Path("data/");
        installFolder_ = Path("program/install-data/");
        QDir().mkpath(userFolder_);
        QDir().mkpath(installFolder_);
        // Each case is a first meeting with the shipped version.
        QFile::remove(userFolder_ + kMergeRecordFile);
        Write(Path("program/darvenix.ini"),
              ("[Data files]\nSteelPipe.ini=" + userFolder_ + ", " + installFolder_ + ", 1\n").toUtf8());
        Write(UserFile(), "[100]\nID=0.1023\nListPrice=12\n[80]\nID=0.0779\n[65]\nID=0.0627\n[50]\nID=0.0525\n");
        Write(InstallFile(),
              "[100]\nID=0.1022\n[80]\nID=0.078\n[65]\nID=0.0626\n[50]\nID=0.0525\n[40]\nID=0.0409\n");
        // The user's copy is older than the newly installed one.
        std::filesystem::last_write_time(UserFile().toStdString(),
                                         std::filesystem::file_time_type::clock::now() - std::chrono::hours(24));
    }

    void enterTakesInstallDataClosingKeepsTheUsersEscapeIsNotNeeded() {
        script_ = {
            [this](TConfirmChangeDlg& dlg) {
                Screenshot(dlg, "InstallNotice");
                QTest::keyClick(&dlg, Qt::Key_Return); // "Use install data"
            },
            [](TConfirmChangeDlg& dlg) { dlg.close(); }, // no button: "Keep your data"
            [](TConfirmChangeDlg& dlg) { dlg.UserBtn()->click(); },
        };
        RunMerge();
        QVERIFY(script_.empty());
        QCOMPARE(seen_.size(), std::size_t(3));
        QCOMPARE(seen_[0].caption, QString("Install notice: SteelPipe.ini"));
        QCOMPARE(seen_[0].user, QString("[100]\nID=0.1023\nListPrice=12"));
        QCOMPARE(seen_[0].install, QString("[100]\nID=0.1022"));
        QCOMPARE(seen_[1].user, QString("[80]\nID=0.0779"));
        // Section [100] replaced (its user-only key is lost), [80] and [65]
        // kept, [50] equal, [40] new and added without asking.
        QCOMPARE(Value(UserFile(), "100", "ID"), std::string("0.1022"));
        QCOMPARE(Value(UserFile(), "100", "ListPrice"), std::string("-"));
        QCOMPARE(Value(UserFile(), "80", "ID"), std::string("0.0779"));
        QCOMPARE(Value(UserFile(), "65", "ID"), std::string("0.0627"));
        QCOMPARE(Value(UserFile(), "40", "ID"), std::string("0.0409"));
        QVERIFY(QFile::exists(InstallFile())); // shared by every account, never deleted
        QVERIFY(QFile::exists(Path("data/SteelPipe.bak")));
    }

    void explainsTheChoiceAndComparesTheDifferingKeysSideBySide() {
        // A long value that would sit far off at the end of a memo line.
        Write(UserFile(), "[100]\nID=0.1023\nListPrice=12\nNote=" + QByteArray(300, 'x') + "\n");
        Write(InstallFile(), "[100]\nID=0.1022\nlistprice=12\nNote=short\n");
        script_ = {[this](TConfirmChangeDlg& dlg) {
            QVERIFY(dlg.Explanation()->text().contains("[100] of SteelPipe.ini"));
            QVERIFY(dlg.Explanation()->text().contains("\"Use install data\" replaces the whole section"));
            QTableWidget* t = dlg.Comparison();
            QCOMPARE(t->horizontalHeaderItem(0)->text(), QString("Yours"));
            QCOMPARE(t->horizontalHeaderItem(1)->text(), QString("Shipped"));
            // ListPrice differs only in the key's letter case: not listed.
            QCOMPARE(t->rowCount(), 2);
            QCOMPARE(t->verticalHeaderItem(0)->text(), QString("ID"));
            QCOMPARE(t->item(0, 0)->text(), QString("0.1023"));
            QCOMPARE(t->item(0, 1)->text(), QString("0.1022"));
            QCOMPARE(t->item(1, 1)->text(), QString("short"));
            // The comparison fits the window: no sideways scrolling.
            QVERIFY(!t->horizontalScrollBar()->isVisible());
            QVERIFY(dlg.frameGeometry().width() <= QApplication::primaryScreen()->availableGeometry().width());
            Screenshot(dlg, "InstallNoticeComparison");
            dlg.UserBtn()->click();
        }};
        RunMerge();
        QVERIFY(script_.empty());
    }

    void escapeDecidesLaterAndKeepsTheInstallFile() {
        script_ = {[](TConfirmChangeDlg& dlg) { QTest::keyClick(&dlg, Qt::Key_Escape); }};
        RunMerge();
        QCOMPARE(seen_.size(), std::size_t(1));
        QCOMPARE(Value(UserFile(), "100", "ID"), std::string("0.1023"));
        QCOMPARE(Value(UserFile(), "40", "ID"), std::string("-")); // the loop ended before it
        QVERIFY(QFile::exists(InstallFile()));
    }

    void enterActivatesTheFocusedButton_data() {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("id100");     // section [100] after the merge
        QTest::addColumn<QString>("id80");      // section [80] after the merge
        QTest::addColumn<int>("dialogs");       // how often the dialog was shown
        QTest::addColumn<bool>("offeredAgain"); // left for the next start
        // "Keep your data" on [100] then on the two further differing sections.
        QTest::newRow("Keep your data") << "UserBtn" << "0.1023" << "0.0779" << 3 << false;
        QTest::newRow("Decide later") << "LaterBtn" << "0.1023" << "0.0779" << 1 << true;
        QTest::newRow("Accept All") << "AllBtn" << "0.1022" << "0.078" << 1 << false;
        QTest::newRow("Use install data") << "InstallBtn" << "0.1022" << "0.0779" << 3 << false;
    }

    void enterActivatesTheFocusedButton() {
        QFETCH(QString, button);
        QFETCH(QString, id100);
        QFETCH(QString, id80);
        QFETCH(int, dialogs);
        QFETCH(bool, offeredAgain);
        auto buttonOf = [](TConfirmChangeDlg& dlg, const QString& name) {
            return name == "UserBtn" ? dlg.UserBtn()
                 : name == "LaterBtn" ? dlg.LaterBtn()
                 : name == "AllBtn" ? dlg.AllBtn()
                                    : dlg.InstallBtn();
        };
        script_ = {[&](TConfirmChangeDlg& dlg) {
            QPushButton* target = buttonOf(dlg, button);
            target->setFocus();
            QTest::keyClick(target, Qt::Key_Return);
        }};
        for (int i = 1; i < dialogs; ++i)
            script_.push_back([](TConfirmChangeDlg& dlg) { dlg.UserBtn()->click(); });
        RunMerge();
        QVERIFY(script_.empty());
        QCOMPARE(int(seen_.size()), dialogs);
        QCOMPARE(QString::fromStdString(Value(UserFile(), "100", "ID")), id100);
        QCOMPARE(QString::fromStdString(Value(UserFile(), "80", "ID")), id80);

        // The next start asks again only after "Decide later".
        seen_.clear();
        script_ = {[](TConfirmChangeDlg& dlg) { dlg.LaterBtn()->click(); }};
        RunMerge();
        QCOMPARE(seen_.empty(), !offeredAgain);
    }

    void acceptAllReplacesEveryLaterSectionWithoutAsking() {
        script_ = {[](TConfirmChangeDlg& dlg) {
            QCOMPARE(dlg.AllBtn()->text(), QString("&Accept All"));
            QCOMPARE(dlg.AllBtn()->toolTip(), QString("Accept all installed data"));
            QCOMPARE(dlg.LaterBtn()->toolTip(), QString("Decide all later"));
            QCOMPARE(dlg.UserBtn()->toolTip(), QString("Keep your data and ignore installed data"));
            QCOMPARE(dlg.InstallBtn()->toolTip(), QString("Replace your data with install data"));
            QCOMPARE(dlg.Splitter()->count(), 2);
            dlg.AllBtn()->click();
        }};
        RunMerge();
        QCOMPARE(seen_.size(), std::size_t(1));
        QCOMPARE(Value(UserFile(), "100", "ID"), std::string("0.1022"));
        QCOMPARE(Value(UserFile(), "80", "ID"), std::string("0.078"));
        QCOMPARE(Value(UserFile(), "65", "ID"), std::string("0.0626"));
        QVERIFY(QFile::exists(InstallFile()));
    }
};

QTEST_MAIN(InstallNoticeTest)
#include "tst_installnotice.moc"
