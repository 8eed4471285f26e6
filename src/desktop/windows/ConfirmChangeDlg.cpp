// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/windows/ConfirmChangeDlg.h"

#include <QFileInfo>
#include <QFontDatabase>
#include <QHeaderView>
#include <QLabel>
#include <QTableWidget>
#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSplitter>
#include <QVBoxLayout>

#include <algorithm>

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
    explanation_ = new QLabel(this);
    explanation_->setWordWrap(true);
    explanation_->setTextFormat(Qt::PlainText);
    layout->addWidget(explanation_);
    laterBtn_ = Button("&Decide later", "Decide all later", this);
    allBtn_ = Button("&Accept All", "Accept all installed data", this);
    layout->addWidget(laterBtn_);
    layout->addWidget(allBtn_);

    comparison_ = new QTableWidget(0, 2, this);
    comparison_->setHorizontalHeaderLabels({"Yours", "Shipped"});
    comparison_->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    comparison_->verticalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    comparison_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    comparison_->setWordWrap(false);
    comparison_->setTextElideMode(Qt::ElideMiddle);
    comparison_->setFocusPolicy(Qt::NoFocus);
    layout->addWidget(comparison_);

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
    resize(560, 620);

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
    ShowComparison(change);
    // Closing the window without a button keeps the user's data.
    answer_ = crKeepUser;
    installBtn_->setFocus();
    exec();
    return answer_;
}

void TConfirmChangeDlg::ShowComparison(const TConfirmChange& change) {
    const QString section = QString::fromStdString(SectionOf(change));
    const QString caption = QString::fromStdString(change.Caption);
    const QString file = caption.contains(": ") ? caption.section(": ", 1) : caption;
    explanation_->setText(QString("A new version of the program brings its own section [%1] of %2, which differs "
                              "from yours: \"Keep your data\" leaves your values as they are, \"Use install data\" "
                              "replaces the whole section with the shipped values.")
                              .arg(section, file));
    const std::vector<TKeyDifference> keys = DifferingKeys(change);
    comparison_->setRowCount(static_cast<int>(keys.size()));
    QStringList names;
    const QString missing = QString::fromUtf8("\u2014"); // a key the version does not have
    for (int r = 0; r < static_cast<int>(keys.size()); ++r) {
        const TKeyDifference& d = keys[static_cast<std::size_t>(r)];
        names << QString::fromStdString(d.Key);
        const QString yours = d.InYours ? QString::fromStdString(d.Yours) : missing;
        const QString shipped = d.InShipped ? QString::fromStdString(d.Shipped) : missing;
        for (int c = 0; c < 2; ++c) {
            auto* item = new QTableWidgetItem(c == 0 ? yours : shipped);
            item->setToolTip(item->text()); // the whole value, however narrow the column
            comparison_->setItem(r, c, item);
        }
    }
    comparison_->setVerticalHeaderLabels(names);
    // As tall as its rows (up to eight; more scroll), the rest for the memos.
    int height = comparison_->horizontalHeader()->sizeHint().height() + 2 * comparison_->frameWidth() + 6;
    for (int r = 0; r < std::min(8, comparison_->rowCount()); ++r) height += comparison_->verticalHeader()->sectionSizeHint(r);
    comparison_->setFixedHeight(height);
}

TConfirmFactory TConfirmChangeDlg::Factory() {
    return [] { return std::make_unique<TConfirmChangeDlg>(); };
}

} // namespace dvx::ui
