// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/widgets/Messages.h"

#include <QApplication>

namespace dvx::ui {

namespace {

QMessageBox::StandardButton RealBox(QWidget* parent, MsgKind kind, const QString& text,
                                    QMessageBox::StandardButtons buttons) {
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    switch (kind) {
    case MsgKind::Information: icon = QMessageBox::Information; break;
    case MsgKind::Warning: icon = QMessageBox::Warning; break;
    case MsgKind::Error: icon = QMessageBox::Critical; break;
    case MsgKind::Confirmation: icon = QMessageBox::Question; break;
    case MsgKind::Plain: icon = QMessageBox::NoIcon; break;
    }
    QMessageBox box(icon, QApplication::applicationName(), text, buttons, parent);
    return static_cast<QMessageBox::StandardButton>(box.exec());
}

MessageHandler& Handler() {
    static MessageHandler handler;
    return handler;
}

} // namespace

QMessageBox::StandardButton ShowMessage(QWidget* parent, MsgKind kind, const QString& text,
                                        QMessageBox::StandardButtons buttons) {
    if (Handler()) return Handler()(parent, kind, text, buttons);
    return RealBox(parent, kind, text, buttons);
}

MessageHandler SetMessageHandler(MessageHandler handler) {
    MessageHandler previous = std::move(Handler());
    Handler() = std::move(handler);
    return previous;
}

} // namespace dvx::ui
