// SPDX-License-Identifier: GPL-3.0-or-later
// The help page and the main window agree: every command the help page lists
// (Help/Darvenix.htm, cells class="cmd" with their menu and key) is an entry
// of that menu with that caption and accelerator letter, its key is the
// entry's shortcut or a window key that does what the page says, every menu
// entry of the window is on the page, and the tool buttons and their hints
// are the ones the page names.

#include "ui/TestProject.h"

#include "engine/catalogue/Tables.h"
#include "engine/fluid/Fluid.h"
#include "storage/settings/SettingsStore.h"
#include "desktop/windows/InsertForm.h"
#include "desktop/windows/MainWindow.h"
#include "desktop/widgets/Messages.h"

#include <QAction>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QRegularExpression>
#include <QTableView>
#include <QTemporaryDir>
#include <QTextDocumentFragment>
#include <QToolBar>
#include <QtTest>

using namespace dvx;
using namespace dvx::ui;

namespace {

struct HelpCommand {
    QString menu;    // "File", "Edit › Sort by...", "Pop-up"
    QString caption; // with "&" before the accelerator letter, "&&" for a literal "&"
    QString key;     // as the page writes it, empty when none
};

// Cell text to a menu caption: <u>X</u> marks the accelerator letter, a
// literal ampersand is doubled as Qt captions write it.
QString CaptionOf(QString html) {
    html.replace("&amp;", "&&");
    html.replace(QRegularExpression("<u>(.)</u>"), "&\\1");
    html.remove(QRegularExpression("<[^>]*>"));
    html.replace("&nbsp;", " ");
    return html.trimmed();
}

QString PlainText(const QString& html) { return QTextDocumentFragment::fromHtml(html).toPlainText().trimmed(); }

QString HelpPage() {
    QFile file(DARVENIX_SOURCE_DIR "/Help/Darvenix.htm");
    if (!file.open(QIODevice::ReadOnly)) return {};
    return QString::fromUtf8(file.readAll());
}

QList<HelpCommand> HelpCommands(const QString& page) {
    QList<HelpCommand> commands;
    static const QRegularExpression row(
        "<td class=\"menu\">(.*?)</td><td class=\"cmd\">(.*?)</td><td class=\"key\">(.*?)</td>");
    for (auto it = row.globalMatch(page); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        commands.append({PlainText(m.captured(1)), CaptionOf(m.captured(2)), PlainText(m.captured(3))});
    }
    return commands;
}

// Menu path without accelerator marks, as the page writes it.
QString Plain(QString caption) {
    caption.replace("&&", "\x01");
    caption.remove('&');
    caption.replace("\x01", "&");
    return caption.trimmed();
}

struct MenuEntry {
    QString menu;
    QAction* action;
};

void Collect(QMenu* menu, const QString& path, QList<MenuEntry>& out) {
    for (QAction* a : menu->actions()) {
        if (a->isSeparator() || a->text().isEmpty()) continue;
        out.append({path, a});
        // The recent-files list holds paths, not commands.
        if (a->menu() != nullptr && a->text() != "&Reopen...")
            Collect(a->menu(), path + " › " + Plain(a->text()), out);
    }
}

} // namespace

class HelpCommandsTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir home_;
    QStringList messages_;
    std::unique_ptr<TMainForm> window_;
    QList<HelpCommand> commands_;

    TMainForm& W() { return *window_; }

    QList<MenuEntry> WindowEntries() {
        QList<MenuEntry> entries;
        for (QAction* top : W().menuBar()->actions())
            if (top->menu() != nullptr) Collect(top->menu(), Plain(top->text()), entries);
        // Menus of the window that are not in the menu bar: the grid's pop-up.
        for (QMenu* menu : W().findChildren<QMenu*>(QString(), Qt::FindDirectChildrenOnly))
            Collect(menu, "Pop-up", entries);
        return entries;
    }

private slots:
    void initTestCase() {
        QVERIFY(home_.isValid());
        qputenv("HOME", home_.path().toUtf8());
        qputenv("XDG_CONFIG_HOME", home_.filePath("config").toUtf8());
        qputenv("XDG_DATA_HOME", home_.filePath("data").toUtf8());
        SetMessageHandler([this](QWidget*, MsgKind, const QString& text, QMessageBox::StandardButtons) {
            messages_ << text;
            return QMessageBox::Ok;
        });
        commands_ = HelpCommands(HelpPage());
        // Every menu of the window has its table on the page.
        QVERIFY2(commands_.size() >= 40, qPrintable(QString::number(commands_.size())));
    }

    void init() {
        test::TestProject().Tables.RestoreBuiltIn();
        *dvx::test::TestProject().Liquid = dvx::TLiquid("Water", 0, 0.0, 9.0, 9.0);
        SetAppSettings(SettingsStore(home_.filePath("config/Quellstrand/darvenix.ini").toStdString()));
        messages_.clear();
        window_ = std::make_unique<TMainForm>(test::TestProject());
        W().show();
    }

    void cleanup() {
        W().Circuit().Saved = true;
        window_.reset();
    }

    void everyHelpCommandIsAMenuEntryWithItsKey() {
        const QList<MenuEntry> entries = WindowEntries();
        for (const HelpCommand& c : commands_) {
            const MenuEntry* found = nullptr;
            for (const MenuEntry& e : entries)
                if (e.menu == c.menu && e.action->text().trimmed() == c.caption) found = &e;
            QVERIFY2(found != nullptr, qPrintable("not in the window: " + c.menu + " / " + c.caption));
            const QString shortcut = found->action->shortcut().toString(QKeySequence::PortableText);
            if (!shortcut.isEmpty())
                QVERIFY2(c.key == shortcut, qPrintable(c.caption + ": page says '" + c.key + "', menu has '" +
                                                       shortcut + "'"));
            else
                QVERIFY2(c.key.isEmpty() || c.key == "Ins" || c.key == "Del",
                         qPrintable(c.caption + ": key '" + c.key + "' is neither a shortcut nor a window key"));
        }
    }

    void everyMenuEntryIsOnTheHelpPage() {
        for (const MenuEntry& e : WindowEntries()) {
            if (e.action->menu() != nullptr) continue; // a sub-menu heading; its entries are checked
            bool listed = false;
            for (const HelpCommand& c : commands_)
                if (c.menu == e.menu && c.caption == e.action->text().trimmed()) listed = true;
            QVERIFY2(listed, qPrintable("missing on the help page: " + e.menu + " / " + e.action->text()));
        }
    }

    void windowKeysDoWhatThePageSays() {
        QTableView* grid = W().Grid();
        W().activateWindow(); // shortcuts reach an active window only
        QVERIFY(QTest::qWaitForWindowActive(&W()));
        grid->setFocus();
        QVERIFY(!W().InsertForm()->isVisible());
        QTest::keyClick(grid, Qt::Key_Insert); // "Ins": the insert window
        QVERIFY(W().InsertForm()->isVisible());
        QVERIFY(W().InsertForm()->AddPipe());
        QVERIFY(W().InsertForm()->AddUser());
        QCOMPARE(W().Circuit().Count(), 2);
        grid->setCurrentIndex(grid->model()->index(0, 1));
        QTest::keyClick(grid, Qt::Key_Delete); // "Del": the current item goes
        QCOMPARE(W().Circuit().Count(), 1);
        QCOMPARE(W().Circuit().Item(0).TypeName, std::string("Pipe"));
        QTest::keyClick(grid, Qt::Key_F9); // "F9": calculated
        QVERIFY2(messages_.isEmpty(), qPrintable(messages_.join(" | ")));
        QCOMPARE(W().StatusPanel(1)->text(), QString("Solved"));
    }

    void toolButtonsAndHints() {
        const QString page = HelpPage();
        static const QRegularExpression row("<td class=\"tool\">(.*?)</td><td class=\"hint\">(.*?)</td>");
        QToolBar* bar = W().findChild<QToolBar*>();
        QVERIFY(bar != nullptr);
        QStringList onPage;
        for (auto it = row.globalMatch(page); it.hasNext();) {
            const QRegularExpressionMatch m = it.next();
            const QString caption = CaptionOf(m.captured(1));
            onPage << caption;
            QAction* button = nullptr;
            for (QAction* a : bar->actions())
                if (a->text() == caption) button = a;
            QVERIFY2(button != nullptr, qPrintable("no tool button " + caption));
            QCOMPARE(button->toolTip(), PlainText(m.captured(2)));
        }
        for (QAction* a : bar->actions())
            if (!a->isSeparator()) QVERIFY2(onPage.contains(a->text()), qPrintable("not on the page: " + a->text()));
    }

    // The Keys table lists every key of a main-window command, so that
    // nobody has to look through the menus for them.
    void keysTableListsEveryShortcut() {
        const QString page = HelpPage();
        const int start = page.indexOf("<h2 id=\"keys\">");
        QVERIFY(start >= 0);
        const int end = page.indexOf("</table>", start);
        QVERIFY(end > start);
        QStringList listed;
        static const QRegularExpression key("<kbd>(.*?)</kbd>");
        for (auto it = key.globalMatch(page.mid(start, end - start)); it.hasNext();)
            listed << PlainText(it.next().captured(1));
        for (const MenuEntry& entry : WindowEntries())
            for (const QKeySequence& shortcut : entry.action->shortcuts()) {
                const QString text = shortcut.toString(QKeySequence::PortableText);
                // The page writes Insert and Delete as the keys are labelled.
                const QString written = text == "Ins" || text == "Insert" ? "Ins"
                                        : text == "Del" || text == "Delete" ? "Del"
                                                                             : text;
                QVERIFY2(listed.contains(written),
                         qPrintable(written + " (" + Plain(entry.action->text()) + ") is not in the Keys table"));
            }
    }
};

QTEST_MAIN(HelpCommandsTest)
#include "tst_helpcommands.moc"
