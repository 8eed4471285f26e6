// SPDX-License-Identifier: GPL-3.0-or-later
// darvenix: the desktop program. Start-up runs in a fixed order: the
// built-in tables and number format, the core modules (install-data merge,
// liquid library and system liquid, refrigerant library, folders, settings,
// catalogues), then the windows (under the about box as a splash when the
// user asked for it), then the project named on the command line, then the
// event loop.

#include "catalogue/Tables.h"
#include "platform/Folders.h"
#include "common/Money.h"
#include "fluid/Fluid.h"
#include "report/qt/ReportSettings.h"
#include "settings/SettingsStore.h"
#include "settings/Startup.h"
#include "ui/qt/AboutBox.h"
#include "ui/qt/InstallDataConfirm.h"
#include "ui/qt/Menu.h"
#include "ui/qt/Messages.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QStringList>
#include <QTimer>

#include <cstdio>
#include <algorithm>
#include <cstring>
#include <filesystem>
#include <memory>

namespace {

// "darvenix --check-install": prints where the program looks for its help
// and manual pages (the program folder, i.e. the executable's own folder)
// and exits 0 when both exist, 1 otherwise. No window, no settings, no
// display needed; the installation tests use it.
int CheckInstall() {
    int missing = 0;
    for (const char* page : {"Help/Darvenix.htm", "Manual/Manual.htm"}) {
        const std::string path = dvx::ProgramFolder() + page;
        const bool found = std::filesystem::is_regular_file(path);
        std::fputs((path + (found ? "\n" : " (missing)\n")).c_str(), stdout);
        if (!found) ++missing;
    }
    return missing == 0 ? 0 : 1;
}

} // namespace

int main(int argc, char** argv) {
    if (argc == 2 && std::strcmp(argv[1], "--check-install") == 0) return CheckInstall();
    QApplication app(argc, argv);
    QApplication::setApplicationName("Darvenix");
    // Numbers are always written and read with "." (the program never uses
    // the C library's locale-dependent conversions); money follows the
    // user's currency conventions.
    dvx::LoadMoneyFormatFromEnvironment();
    dvx::RestoreBuiltInTables();

    dvx::TStartOptions options;
    options.StartFluid = [] { dvx::StartFluidModule(dvx::DefaultTemperature); };
    // The merge asks with the "Install notice" dialog, before any other window.
    options.Confirm = dvx::ui::TConfirmChangeDlg::Factory();
    dvx::TStartResult started = dvx::StartCore(options);
    // A currency chosen in the settings names prices where the locale has none.
    dvx::UseCurrencySymbol(dvx::AppSettings().Read(dvx::settings::Currency));

    // With "Settings"/"SplashScreen" on, the about box stands while the
    // windows are created and for at least two seconds in all.
    std::unique_ptr<dvx::ui::TAboutBox> splash;
    QElapsedTimer splashShown;
    if (dvx::AppSettings().Read(dvx::settings::SplashScreen)) {
        splash = std::make_unique<dvx::ui::TAboutBox>();
        splash->show();
        QApplication::processEvents();
        splashShown.start();
    }

    dvx::ui::TMainForm window;
    // After every window exists: the two report styles.
    dvx::LoadReportStyles(dvx::AppSettings());
    if (splash)
        QTimer::singleShot(std::max<qint64>(0, 2000 - splashShown.elapsed()), splash.get(), &QWidget::close);
    for (const std::string& message : started.Messages)
        dvx::ui::ShowMessage(&window, dvx::ui::MsgKind::Error, QString::fromStdString(message));

    const QStringList args = QApplication::arguments();
    if (args.size() == 2) window.OpenStartupFile(args.at(1));
    window.show();
    return QApplication::exec();
}
