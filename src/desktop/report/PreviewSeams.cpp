// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/report/PreviewSeams.h"

#include "desktop/report/PreviewWindow.h"
#include "desktop/widgets/WatchedLaunch.h"

#include <QCoreApplication>
#include <QFileDialog>
#include <QFontDialog>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QPointer>

namespace dvx {

TPreviewSeams DesktopPreviewSeams(QWidget* parent) {
    TPreviewSeams s;
    s.message = [parent](TMessageKind kind, const QString& text) {
        const QString title = QString::fromUtf8(kApplicationTitle.data(),
                                                static_cast<qsizetype>(kApplicationTitle.size()));
        QMessageBox::Icon icon = QMessageBox::NoIcon;
        switch (kind) {
        case TMessageKind::Information: icon = QMessageBox::Information; break;
        case TMessageKind::Warning: icon = QMessageBox::Warning; break;
        case TMessageKind::Error: icon = QMessageBox::Critical; break;
        case TMessageKind::Plain: icon = QMessageBox::NoIcon; break;
        }
        QMessageBox box(icon, title, text, QMessageBox::Ok, parent);
        box.exec();
    };
    s.saveFileName = [parent](const QString& caption, const QString& startPath,
                              const QString& filter, const QString& suffix) {
        QFileDialog dialog(parent, caption, startPath, filter);
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setDefaultSuffix(suffix);
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return QString();
        return dialog.selectedFiles().first();
    };
    s.chooseFont = [parent](const QFont& current) -> std::optional<QFont> {
        bool ok = false;
        QFont f = QFontDialog::getFont(&ok, current, parent);
        if (!ok) return std::nullopt;
        return f;
    };
    s.printerSetup = [parent](QPrinter& printer) {
        QPrintDialog dialog(&printer, parent);
        dialog.setWindowTitle(QObject::tr("Printer Setup"));
        return dialog.exec() == QDialog::Accepted;
    };
    s.printerInstalled = [] { return !QPrinterInfo::availablePrinterNames().isEmpty(); };
    s.makePrinter = []() -> std::unique_ptr<QPrinter> {
        QPrinterInfo info = QPrinterInfo::defaultPrinter();
        if (info.isNull()) {
            const QList<QPrinterInfo> all = QPrinterInfo::availablePrinters();
            if (!all.isEmpty()) info = all.first();
        }
        if (info.isNull()) return nullptr;
        return std::make_unique<QPrinter>(info, QPrinter::HighResolution);
    };
    s.launch = [parent](const std::string& program, const std::vector<std::string>& args) {
        QStringList list;
        for (const auto& a : args) list << QString::fromStdString(a);
        // The mail helper may start and then find no mail program: the
        // preview learns of it when the helper ends.
        QPointer<TPreviewForm> preview = qobject_cast<TPreviewForm*>(parent);
        return StartWatched(QString::fromStdString(program), list, parent, [preview] {
            if (preview) preview->MailProgramFailed();
        });
    };
    s.programFolder = [] { return QCoreApplication::applicationDirPath(); };
    return s;
}

} // namespace dvx
