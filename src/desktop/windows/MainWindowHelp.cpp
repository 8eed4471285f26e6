// SPDX-License-Identifier: GPL-3.0-or-later
// The Help menu: the help page, the manual and the about box.

#include "desktop/windows/MainWindow.h"

#include "base/platform/Documents.h"
#include "desktop/windows/Desktop.h"
#include "desktop/windows/AboutBox.h"
#include "desktop/windows/MainWindowSupport.h"
#include "desktop/widgets/Messages.h"


namespace dvx::ui {

void TMainForm::OpenHelpPage(const QString& relativePath) {
    Commit();
    const QString path = QString::fromStdString(DocumentPath(relativePath.toStdString()));
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
