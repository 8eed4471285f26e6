// SPDX-License-Identifier: GPL-3.0-or-later
// The Help menu: the help page, the manual and the about box.

#include "desktop/windows/MainWindow.h"

#include "base/platform/AtomicWrite.h"
#include "base/platform/Documents.h"
#include "base/platform/FileRead.h"
#include "base/platform/Folders.h"
#include "engine/units/UnitChoice.h"
#include "presentation/ui/HelpInUnits.h"
#include "desktop/windows/Desktop.h"
#include "desktop/windows/AboutBox.h"
#include "desktop/windows/MainWindowSupport.h"
#include "desktop/widgets/Messages.h"


#include <QFileInfo>
#include <QUrl>

#include <exception>
#include <filesystem>

namespace dvx::ui {

namespace {

// The help page in the units in force: with SI the shipped page, which says
// so; otherwise a copy in the cache folder whose introduction names the
// units chosen. When the copy can't be made the shipped page is opened: it
// is right about everything but that sentence.
QString HelpPageInForce(const QString& shipped) {
    try {
        const std::string page = ReadFileText(shipped.toStdString(), 4u << 20);
        const QString folderUrl =
            QUrl::fromLocalFile(QFileInfo(shipped).absolutePath() + "/").toString(QUrl::FullyEncoded);
        const std::optional<std::string> copy = HelpPageInUnits(page, DisplayUnits(), folderUrl.toStdString());
        if (!copy) return shipped;
        const std::filesystem::path target = std::filesystem::path(UserCacheFolder()) / "darvenix" / "Darvenix.htm";
        std::filesystem::create_directories(target.parent_path());
        WriteFileAtomically(target, *copy);
        return QString::fromStdString(target.string());
    } catch (const std::exception&) {
        return shipped;
    }
}

} // namespace

void TMainForm::OpenHelpPage(const QString& relativePath) {
    Commit();
    QString path = QString::fromStdString(DocumentPath(relativePath.toStdString()));
    if (relativePath == "Help/Darvenix.htm") path = HelpPageInForce(path);
    // Also when the viewer helper starts but finds no browser to show it.
    auto failed = [this, path] { ShowMessage(this, MsgKind::Warning, "Unable to open " + path); };
    if (!OpenDocument(path, this, failed)) failed();
}

void TMainForm::AboutCommand() {
    TAboutBox box(this);
    box.exec();
    box.StoreSplashSetting();
}

} // namespace dvx::ui
