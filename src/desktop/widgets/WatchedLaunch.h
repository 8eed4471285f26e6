// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Starting a desktop helper (xdg-open, xdg-email) without waiting for it,
// while still learning whether it did its work: those helpers end with a
// failure exit code when no viewer or mail program could be started, which a
// plain detached start never sees.

#include <QString>
#include <QStringList>

#include <functional>

class QObject;

namespace dvx {

// Starts program with arguments and returns at once; false when it cannot
// be started at all. When it later ends with a non-zero exit code or
// crashes, `failed` runs from the event loop, unless `context` has been
// destroyed by then. A program still running when this one ends goes on
// running; its output is discarded.
bool StartWatched(const QString& program, const QStringList& arguments, QObject* context,
                  std::function<void()> failed);

} // namespace dvx
