// darvenix: the desktop program. Start-up runs in a fixed order: the
// built-in tables and number format, the core modules (install-data merge,
// liquid library and system liquid, refrigerant library, folders, settings,
// catalogues), then the windows, then the project named on the command line,
// then the event loop.

#include "catalogue/Tables.h"
#include "common/Money.h"
#include "fluid/Fluid.h"
#include "settings/Startup.h"
#include "ui/qt/InstallDataConfirm.h"
#include "ui/qt/Menu.h"
#include "ui/qt/Messages.h"

#include <QApplication>
#include <QStringList>

int main(int argc, char** argv) {
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

    dvx::ui::TMainForm window;
    for (const std::string& message : started.Messages)
        dvx::ui::ShowMessage(&window, dvx::ui::MsgKind::Error, QString::fromStdString(message));

    const QStringList args = QApplication::arguments();
    if (args.size() == 2) window.OpenStartupFile(args.at(1));
    window.show();
    return QApplication::exec();
}
