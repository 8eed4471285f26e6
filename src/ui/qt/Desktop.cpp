// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/qt/Desktop.h"

#include <QProcess>

namespace dvx::ui {

namespace {

Launcher& Current() {
    static Launcher launcher;
    return launcher;
}

} // namespace

bool Launch(const QString& program, const QStringList& arguments) {
    if (Current()) return Current()(program, arguments);
    return QProcess::startDetached(program, arguments);
}

Launcher SetLauncher(Launcher launcher) {
    Launcher previous = std::move(Current());
    Current() = std::move(launcher);
    return previous;
}

bool OpenDocument(const QString& path) { return Launch("xdg-open", {path}); }

bool ComposeMail(const QString& subject, const QString& body, const QStringList& attachments) {
    QStringList args{"--subject", subject, "--body", body};
    for (const QString& file : attachments) args << "--attach" << file;
    return Launch("xdg-email", args);
}

} // namespace dvx::ui
