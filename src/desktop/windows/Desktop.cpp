// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/windows/Desktop.h"

#include "desktop/widgets/WatchedLaunch.h"

namespace dvx::ui {

namespace {

Launcher& Current() {
    static Launcher launcher;
    return launcher;
}

} // namespace

bool Launch(const QString& program, const QStringList& arguments, QObject* context,
            std::function<void()> failedLater) {
    if (Current()) return Current()(program, arguments);
    return StartWatched(program, arguments, context, std::move(failedLater));
}

Launcher SetLauncher(Launcher launcher) {
    Launcher previous = std::move(Current());
    Current() = std::move(launcher);
    return previous;
}

bool OpenDocument(const QString& path, QObject* context, std::function<void()> failedLater) {
    return Launch("xdg-open", {path}, context, std::move(failedLater));
}

bool ComposeMail(const QString& subject, const QString& body, const QStringList& attachments, QObject* context,
                 std::function<void()> failedLater) {
    QStringList args{"--subject", subject, "--body", body};
    for (const QString& file : attachments) args << "--attach" << file;
    return Launch("xdg-email", args, context, std::move(failedLater));
}

} // namespace dvx::ui
