// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Every message box of the windows goes through one seam, so tests answer
// them without a person and without timers.

#include <QMessageBox>
#include <QString>
#include <functional>

class QWidget;

namespace dvx::ui {

enum class MsgKind { Information, Warning, Error, Confirmation, Plain };

// Returns the button pressed (QMessageBox::Ok, Yes, No, Cancel …).
using MessageHandler = std::function<QMessageBox::StandardButton(
    QWidget* parent, MsgKind kind, const QString& text, QMessageBox::StandardButtons buttons)>;

// Shows the box through the handler in force (a real QMessageBox unless a
// test has put its own in place).
QMessageBox::StandardButton ShowMessage(QWidget* parent, MsgKind kind, const QString& text,
                                        QMessageBox::StandardButtons buttons = QMessageBox::Ok);

// Replaces the handler; returns the previous one. An empty handler restores
// the real boxes.
MessageHandler SetMessageHandler(MessageHandler handler);

} // namespace dvx::ui
