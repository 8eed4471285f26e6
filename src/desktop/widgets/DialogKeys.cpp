// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/widgets/DialogKeys.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QTextEdit>
#include <QWidget>

namespace dvx {

namespace {

// Grids, lists and multi-line texts use the arrows and Enter themselves.
bool KeepsItsKeys(QWidget* widget) {
    for (QWidget* w = widget; w; w = w->parentWidget()) {
        if (qobject_cast<QAbstractItemView*>(w) || qobject_cast<QTextEdit*>(w) ||
            qobject_cast<QPlainTextEdit*>(w))
            return true;
        if (w->isWindow()) break;
    }
    return false;
}

} // namespace

TDialogKeys::TDialogKeys(QWidget* dialog) : QObject(dialog), dialog_(dialog) {}

TDialogKeys* TDialogKeys::Install(QWidget* dialog) {
    auto* filter = new TDialogKeys(dialog);
    dialog->installEventFilter(filter);
    return filter;
}

bool TDialogKeys::MoveFocus(QWidget* from, bool forward) {
    QWidget* w = from;
    for (int guard = 0; guard < 1000; ++guard) {
        w = forward ? w->nextInFocusChain() : w->previousInFocusChain();
        if (!w || w == from) return false;
        if (w != dialog_ && dialog_->isAncestorOf(w) && w->isVisibleTo(dialog_) && w->isEnabled() &&
            (w->focusPolicy() & Qt::TabFocus) && !w->focusProxy()) {
            w->setFocus(forward ? Qt::TabFocusReason : Qt::BacktabFocusReason);
            return true;
        }
    }
    return false;
}

bool TDialogKeys::eventFilter(QObject* watched, QEvent* event) {
    if (watched != dialog_ || event->type() != QEvent::KeyPress) return false;
    auto* key = static_cast<QKeyEvent*>(event);
    const auto modifiers = key->modifiers() & ~Qt::KeypadModifier;
    if (modifiers != Qt::NoModifier) return false;
    bool forward = true;
    switch (key->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Down: forward = true; break;
    case Qt::Key_Up: forward = false; break;
    default: return false;
    }
    QWidget* focus = QApplication::focusWidget();
    if (!focus || !dialog_->isAncestorOf(focus) || KeepsItsKeys(focus)) return false;
    return MoveFocus(focus, forward);
}

} // namespace dvx
