// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/qt/InstallDataConfirm.h"

#include <QFontDatabase>
#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSplitter>
#include <QVBoxLayout>

namespace dvx::ui {

namespace {

QPushButton* Button(const QString& caption, const QString& hint, QWidget* parent) {
    auto* button = new QPushButton(caption, parent);
    button->setToolTip(hint);
    button->setAutoDefault(false);
    return button;
}

QPlainTextEdit* Memo(QWidget* parent) {
    auto* memo = new QPlainTextEdit(parent);
    memo->setReadOnly(true);
    memo->setLineWrapMode(QPlainTextEdit::NoWrap);
    memo->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    return memo;
}

QString Lines(const std::vector<std::string>& lines) {
    QStringList list;
    for (const std::string& line : lines) list << QString::fromStdString(line);
    return list.join('\n');
}

} // namespace

TConfirmChangeDlg::TConfirmChangeDlg(QWidget* parent) : QDialog(parent) {
    setObjectName("ConfirmChangeDlg");
    setWindowTitle("Install notice");
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    auto* layout = new QVBoxLayout(this);
    laterBtn_ = Button("&Decide later", "Decide all later", this);
    allBtn_ = Button("&Accept All", "Accept all installed data", this);
    layout->addWidget(laterBtn_);
    layout->addWidget(allBtn_);

    splitter_ = new QSplitter(Qt::Vertical, this);
    splitter_->setChildrenCollapsible(false);
    auto* userPart = new QWidget(splitter_);
    auto* userLayout = new QVBoxLayout(userPart);
    userLayout->setContentsMargins(0, 0, 0, 0);
    userBtn_ = Button("Keep your data", "Keep your data and ignore installed data", userPart);
    userMemo_ = Memo(userPart);
    userLayout->addWidget(userBtn_);
    userLayout->addWidget(userMemo_, 1);
    auto* installPart = new QWidget(splitter_);
    auto* installLayout = new QVBoxLayout(installPart);
    installLayout->setContentsMargins(0, 0, 0, 0);
    installBtn_ = Button("Use install data", "Replace your data with install data", installPart);
    installBtn_->setDefault(true);
    installMemo_ = Memo(installPart);
    installLayout->addWidget(installBtn_);
    installLayout->addWidget(installMemo_, 1);
    splitter_->addWidget(userPart);
    splitter_->addWidget(installPart);
    layout->addWidget(splitter_, 1);
    resize(480, 460);

    connect(laterBtn_, &QPushButton::clicked, this, [this] { Choose(crDecideLater); });
    connect(allBtn_, &QPushButton::clicked, this, [this] { Choose(crAcceptAll); });
    connect(userBtn_, &QPushButton::clicked, this, [this] { Choose(crKeepUser); });
    connect(installBtn_, &QPushButton::clicked, this, [this] { Choose(crUseInstall); });
}

void TConfirmChangeDlg::Choose(int answer) {
    answer_ = answer;
    accept();
}

void TConfirmChangeDlg::keyPressEvent(QKeyEvent* event) {
    const auto modifiers = event->modifiers() & ~Qt::KeypadModifier;
    if (modifiers == Qt::NoModifier) {
        switch (event->key()) {
        case Qt::Key_Escape: laterBtn_->click(); return;
        case Qt::Key_Return:
        case Qt::Key_Enter: {
            // Enter answers with the focused button; from anywhere else it
            // means "Use install data".
            QPushButton* focused = installBtn_;
            for (QPushButton* button : {laterBtn_, allBtn_, userBtn_, installBtn_})
                if (focusWidget() == button) focused = button;
            focused->click();
            return;
        }
        default: break;
        }
    }
    QDialog::keyPressEvent(event);
}

int TConfirmChangeDlg::Ask(const TConfirmChange& change) {
    setWindowTitle(QString::fromStdString(change.Caption));
    userMemo_->setPlainText(Lines(change.UserLines));
    installMemo_->setPlainText(Lines(change.InstallLines));
    // Closing the window without a button keeps the user's data.
    answer_ = crKeepUser;
    installBtn_->setFocus();
    exec();
    return answer_;
}

TConfirmFactory TConfirmChangeDlg::Factory() {
    return [] { return std::make_unique<TConfirmChangeDlg>(); };
}

} // namespace dvx::ui
