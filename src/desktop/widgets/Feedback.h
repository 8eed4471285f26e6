// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The beep and the plain message box of the widgets, each behind a hook
// that tests (or a silent batch run) can replace.

#include <QString>
#include <functional>

class QWidget;

namespace dvx {

using TBeepHook = std::function<void()>;
using TMessageHook = std::function<void(const QString& text)>;

// Sounds the system beep, or calls the installed hook.
void Beep();
// Installs a hook (an empty one restores the system beep); returns the old one.
TBeepHook SetBeepHook(TBeepHook hook);

// A plain message box without an icon and with an OK button, or the hook.
void ShowPlainMessage(QWidget* parent, const QString& text);
TMessageHook SetMessageHook(TMessageHook hook);

} // namespace dvx
