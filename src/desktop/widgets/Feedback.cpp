// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/widgets/Feedback.h"

#include <QApplication>
#include <QMessageBox>
#include <utility>

namespace dvx {

namespace {
TBeepHook& BeepHookSlot() {
    static TBeepHook hook;
    return hook;
}
TMessageHook& MessageHookSlot() {
    static TMessageHook hook;
    return hook;
}
} // namespace

void Beep() {
    if (BeepHookSlot())
        BeepHookSlot()();
    else
        QApplication::beep();
}

TBeepHook SetBeepHook(TBeepHook hook) { return std::exchange(BeepHookSlot(), std::move(hook)); }

void ShowPlainMessage(QWidget* parent, const QString& text) {
    if (MessageHookSlot()) {
        MessageHookSlot()(text);
        return;
    }
    QMessageBox box(QMessageBox::NoIcon, QApplication::applicationDisplayName(), text, QMessageBox::Ok, parent);
    box.exec();
}

TMessageHook SetMessageHook(TMessageHook hook) {
    return std::exchange(MessageHookSlot(), std::move(hook));
}

} // namespace dvx
