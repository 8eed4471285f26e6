// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The desktop services the windows use: opening a document in the default
// viewer (xdg-open) and composing a mail with attachments (xdg-email). Both
// go through one replaceable launcher so tests see the command instead of
// starting a viewer or a mail client.

#include <QString>
#include <QStringList>
#include <functional>

namespace dvx::ui {

using Launcher = std::function<bool(const QString& program, const QStringList& arguments)>;

// Starts program with arguments, detached; false when it cannot be started.
bool Launch(const QString& program, const QStringList& arguments);
Launcher SetLauncher(Launcher launcher);

// xdg-open path.
bool OpenDocument(const QString& path);

// xdg-email --subject … --body … --attach … for each attachment.
bool ComposeMail(const QString& subject, const QString& body, const QStringList& attachments);

} // namespace dvx::ui
