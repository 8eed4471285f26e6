// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The preview's contacts with the user and the desktop: message boxes, the
// file, font and printer dialogs, the printer list and the program that
// opens the mail composer. Each is a replaceable function object so that
// tests can answer them without a user and without starting programs.

#include "base/platform/Mail.h"
#include "presentation/report/PageEngine.h"

#include <QFont>
#include <QString>

#include <functional>
#include <memory>
#include <optional>

class QPrinter;
class QWidget;

namespace dvx {

struct TPreviewSeams {
    // A modal message box of the given kind.
    std::function<void(TMessageKind, const QString& text)> message;
    // A save dialog starting at `startPath` (folder and name); the chosen
    // path, or empty when cancelled.
    std::function<QString(const QString& caption, const QString& startPath,
                          const QString& filter, const QString& defaultSuffix)>
        saveFileName;
    // The font dialog; nothing when cancelled.
    std::function<std::optional<QFont>(const QFont& current)> chooseFont;
    // The printer set-up dialog on `printer`; true on OK.
    std::function<bool(QPrinter& printer)> printerSetup;
    // Whether any printer is installed, and the printer object for the
    // current printer (nothing when it cannot be had).
    std::function<bool()> printerInstalled;
    std::function<std::unique_ptr<QPrinter>()> makePrinter;
    // Starts a program detached (the mail composer).
    TProgramLauncher launch;
    // Where the program's own files live (the first folder of the save dialogs).
    std::function<QString()> programFolder;
};

// The desktop versions, with `parent` as the dialogs' owner.
TPreviewSeams DesktopPreviewSeams(QWidget* parent);

} // namespace dvx
