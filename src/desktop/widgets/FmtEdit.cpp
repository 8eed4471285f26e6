// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/widgets/FmtEdit.h"

#include "desktop/widgets/Feedback.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QTimer>

namespace dvx {

TFmtEdit::TFmtEdit(QWidget* parent) : QLineEdit(parent) {
    QLineEdit::setText(QStringLiteral("0.0"));
    connect(this, &QLineEdit::textEdited, this, [this] { Modified = true; });
}

std::string TFmtEdit::Text() const { return text().toStdString(); }

void TFmtEdit::SetText(const std::string& text) { setText(QString::fromStdString(text)); }

void TFmtEdit::SetUnitsLabel(QLabel* label) {
    unitsLabel_ = label;
    if (unitsLabel_ && UnitsType() != utNone)
        unitsLabel_->setText(QString::fromStdString(UnitsLabelText()));
}

void TFmtEdit::UnitsLabelChanged(const std::string& label) {
    if (unitsLabel_) unitsLabel_->setText(QString::fromStdString(label));
}

bool TFmtEdit::ValidateWithBeep() {
    const bool ok = Validate();
    if (!ok) Beep();
    return ok;
}

void TFmtEdit::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_Escape:
        if (Modified) {
            if (text() != focusText_) setText(focusText_);
            Modified = false;
            event->accept();
            return;
        }
        event->ignore(); // reaches the dialog
        return;
    case Qt::Key_Return:
    case Qt::Key_Enter: {
        const bool ok = ValidateWithBeep();
        QLineEdit::keyPressEvent(event);
        // A value set to its limit keeps the focus here; an accepted one
        // lets the key go on to the dialog.
        if (ok)
            event->ignore();
        else
            event->accept();
        return;
    }
    default: break;
    }

    const QString typed = event->text();
    const bool command = event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
    if (!typed.isEmpty() && !command && !isReadOnly() && typed.front().isPrint()) {
        const std::string format = FormatStr();
        QString entered;
        for (char32_t ch : typed.toUcs4()) {
            ch = EnteredCharacter(format, ch);
            if (!KeyAllowed(format, ch)) {
                Beep();
                event->accept();
                return;
            }
            entered += QString::fromUcs4(&ch, 1);
        }
        if (entered != typed) {
            // The key stands for another character (a decimal comma): the
            // line edit handles that character as if it had been typed.
            const int key = entered == QStringLiteral(".") ? int(Qt::Key_Period) : event->key();
            QKeyEvent replaced(event->type(), key, event->modifiers(), entered, event->isAutoRepeat(),
                               static_cast<quint16>(event->count()));
            QLineEdit::keyPressEvent(&replaced);
            event->setAccepted(replaced.isAccepted());
            return;
        }
    }
    QLineEdit::keyPressEvent(event);
}

void TFmtEdit::focusInEvent(QFocusEvent* event) {
    Modified = false;
    focusText_ = text();
    QLineEdit::focusInEvent(event);
}

void TFmtEdit::focusOutEvent(QFocusEvent* event) {
    QLineEdit::focusOutEvent(event);
    if (!Modified) return;
    const bool ok = ValidateWithBeep();
    const auto reason = event->reason();
    if (!ok && KeepFocusOnFailure &&
        (reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason || reason == Qt::MouseFocusReason)) {
        QPointer<TFmtEdit> self(this);
        QTimer::singleShot(0, this, [self] {
            if (self) self->setFocus(Qt::OtherFocusReason);
        });
    }
}

} // namespace dvx
