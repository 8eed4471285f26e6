// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/widgets/WatchedLaunch.h"

#include <QProcess>

namespace dvx {

bool StartWatched(const QString& program, const QStringList& arguments, QObject* context,
                  std::function<void()> failed) {
    // No parent: a QProcess destroyed with its parent would end a browser or
    // mail program the helper runs in the foreground. The process object
    // deletes itself when the helper ends.
    auto* process = new QProcess;
    process->setProgram(program);
    process->setArguments(arguments);
    process->setStandardInputFile(QProcess::nullDevice());
    process->setStandardOutputFile(QProcess::nullDevice());
    process->setStandardErrorFile(QProcess::nullDevice());
    QObject::connect(process, &QProcess::finished, process, &QObject::deleteLater);
    if (context != nullptr && failed) {
        QObject::connect(process, &QProcess::finished, context,
                         [failed](int exitCode, QProcess::ExitStatus status) {
                             if (status != QProcess::NormalExit || exitCode != 0) failed();
                         });
    }
    process->start();
    if (!process->waitForStarted(10000)) {
        delete process;
        return false;
    }
    return true;
}

} // namespace dvx
