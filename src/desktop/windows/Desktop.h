// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The desktop services the windows use: opening a document in the default
// viewer (xdg-open) and composing a mail with attachments (xdg-email). Both
// go through one replaceable launcher so tests see the command instead of
// starting a viewer or a mail client.

#include <QString>
#include <QStringList>
#include <functional>

class QObject;

namespace dvx::ui {

using Launcher = std::function<bool(const QString& program, const QStringList& arguments)>;

// Starts program with arguments without waiting; false when it cannot be
// started. `failedLater` runs (unless `context` is gone) when the program
// ends with a failure, as xdg-open and xdg-email do when no viewer or mail
// program could be started. A replaced launcher answers at once.
bool Launch(const QString& program, const QStringList& arguments, QObject* context = nullptr,
            std::function<void()> failedLater = {});
Launcher SetLauncher(Launcher launcher);

// xdg-open path.
bool OpenDocument(const QString& path, QObject* context = nullptr, std::function<void()> failedLater = {});

// xdg-email --subject … --body … --attach … for each attachment.
bool ComposeMail(const QString& subject, const QString& body, const QStringList& attachments,
                 QObject* context = nullptr, std::function<void()> failedLater = {});

} // namespace dvx::ui
