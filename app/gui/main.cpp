// SPDX-License-Identifier: GPL-3.0-or-later
// darvenix: the desktop program. Start-up runs in a fixed order: the
// built-in tables and number format, the core modules (install-data merge,
// liquid library and system liquid, refrigerant library, folders, settings,
// catalogues), then the windows (under the about box as a splash when the
// user asked for it), then the project named on the command line, then the
// event loop.

#include "engine/catalogue/Tables.h"
#include "DisplayGuard.h"
#include "EndSignals.h"
#include "base/platform/Documents.h"
#include "base/platform/Version.h"
#include "base/Money.h"
#include "engine/fluid/Fluid.h"
#include "engine/hydraulics/ProjectContext.h"
#include "desktop/report/ReportSettings.h"
#include "storage/settings/SettingsStore.h"
#include "storage/startup/Startup.h"
#include "desktop/windows/AboutBox.h"
#include "desktop/windows/ConfirmChangeDlg.h"
#include "desktop/windows/MainWindow.h"
#include "desktop/widgets/Messages.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QStringList>
#include <QTimer>

#include <cstdio>
#include <algorithm>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace {

// What "darvenix --help" prints. help2man builds the manual page from it, so
// the option lines keep its layout: two spaces, the option, its text.
constexpr const char* kUsage =
    "Usage: darvenix [FILE]\n"
    "   or: darvenix OPTION\n"
    "Calculate the pressure drop of a liquid pipe circuit.\n"
    "\n"
    "With FILE, the desktop program opens and calculates that project (.dvx);\n"
    "without it, it starts with an empty project.\n"
    "\n"
    "Options (each on its own, no window is opened):\n"
    "  --check-install  print where the help page and the manual are found;\n"
    "                   exit status 1 when one of them is missing\n"
    "  -h, --help       print this help and exit\n"
    "  --version        print the version and exit\n"
    "\n"
    "darvenix-cli calculates and converts project files without a display.\n";

// "darvenix --check-install": prints where the program finds its help and
// manual pages (beside the executable, or in the installed documentation
// folder) and exits 0 when both exist, 1 otherwise.
int CheckInstall() {
    int missing = 0;
    for (const char* page : {"Help/Darvenix.htm", "Manual/Manual.htm"}) {
        const std::string path = dvx::DocumentPath(page);
        const bool found = std::filesystem::is_regular_file(path);
        std::fputs((path + (found ? "\n" : " (missing)\n")).c_str(), stdout);
        if (!found) ++missing;
    }
    return missing == 0 ? 0 : 1;
}

// The options that only print something, as the first argument (anything
// after it is ignored). They are answered before the application object
// exists, so they need neither a display nor a platform plugin. Nothing when
// the command line starts the program.
std::optional<int> InformationOnly(int argc, char** argv) {
    if (argc < 2) return std::nullopt;
    const std::string_view option = argv[1];
    if (option == "--help" || option == "-h") {
        std::fputs(kUsage, stdout);
        return 0;
    }
    if (option == "--version") {
        std::fputs(dvx::VersionText("darvenix").c_str(), stdout);
        return 0;
    }
    if (option == "--check-install") return CheckInstall();
    return std::nullopt;
}

} // namespace

int main(int argc, char** argv) {
    if (const std::optional<int> status = InformationOnly(argc, argv)) return *status;
    std::optional<dvx::app::DisplayGuard> displayGuard(std::in_place);
    QApplication app(argc, argv);
    displayGuard.reset();
    QApplication::setApplicationName("Darvenix");
    // Numbers are always written and read with "." (the program never uses
    // the C library's locale-dependent conversions); money follows the
    // user's currency conventions.
    dvx::LoadMoneyFormatFromEnvironment();
    // The one project the desktop works on: start-up fills it (catalogues,
    // settings, liquid), the main window and every window it opens use it.
    // It lives as long as main(), beyond every window.
    dvx::TProjectState state;
    const dvx::TProjectContext project = state.Context();
    dvx::TStartOptions options;
    // The merge asks with the "Install notice" dialog, before any other window.
    options.Confirm = dvx::ui::TConfirmChangeDlg::Factory();
    dvx::TStartResult started = dvx::StartCore(options, project);
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

    dvx::ui::TMainForm window(project);
    // After every window exists: the two report styles.
    dvx::LoadReportStyles(dvx::AppSettings());
    if (splash)
        QTimer::singleShot(std::max<qint64>(0, 2000 - splashShown.elapsed()), splash.get(), &QWidget::close);
    for (const std::string& message : started.Messages)
        dvx::ui::ShowMessage(&window, dvx::ui::MsgKind::Error, QString::fromStdString(message));

    // Ended from outside (session end, kill), the program closes as File ›
    // Exit does and keeps an unsaved project for the next start.
    dvx::app::EndSignals endSignals;
    QObject::connect(&endSignals, &dvx::app::EndSignals::Received, &window, [&window] { window.EndSession(); });

    const QStringList args = QApplication::arguments();
    if (args.size() == 2) window.OpenStartupFile(args.at(1));
    window.show();
    // A project kept by an earlier run that was ended from outside is
    // offered once the window stands, unless a project was asked for on the
    // command line (the copy then waits for a start without one).
    if (args.size() != 2) QTimer::singleShot(0, &window, [&window] { window.OfferRecovery(); });
    return QApplication::exec();
}
