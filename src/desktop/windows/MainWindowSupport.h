// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Small path and text helpers shared by the main window's command files.

#include "desktop/widgets/QtText.h"

#include <QFileInfo>
#include <QString>
#include <string>

namespace dvx::ui {

inline const char* const kProjectFilter = "Darvenix data files (*.dvx)";
inline const char* const kTextFilter = "Darvenix data files (*.txt)";

inline QString FileNamePart(const QString& path) { return QFileInfo(path).fileName(); }

// The folder of a path, with a trailing "/".
inline QString FolderPart(const QString& path) {
    QString folder = QFileInfo(path).absolutePath();
    return folder.endsWith('/') ? folder : folder + '/';
}

// The path with its extension replaced (or added); empty stays empty.
inline QString WithSuffix(const QString& path, const QString& suffix) {
    if (path.isEmpty()) return {};
    QFileInfo info(path);
    QString base = info.completeSuffix().isEmpty() ? path : path.left(path.size() - info.suffix().size() - 1);
    return base + "." + suffix;
}

inline bool HasSuffix(const QString& path, const QString& suffix) {
    return QFileInfo(path).suffix().compare(suffix, Qt::CaseInsensitive) == 0;
}

} // namespace dvx::ui
