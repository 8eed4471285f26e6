// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/report/PropertiesDlg.h"

#include "desktop/widgets/QtText.h"
#include "base/platform/Version.h"
#include "desktop/widgets/WindowPlacement.h"
#include "storage/settings/SettingsStore.h"
#include "desktop/widgets/Messages.h"
#include "desktop/widgets/DialogKeys.h"

#include <QApplication>
#include <QCheckBox>
#include <QDateEdit>
#include <QFileIconProvider>
#include <QFileInfo>
#include <QFormLayout>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMimeDatabase>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QShowEvent>
#include <QTabWidget>
#include <QVBoxLayout>

namespace dvx {

namespace {

const char* const kWindowName = "PropertiesForm";
const char* const kUnknown = "unknown";


// A file time in the short date and long time format of the locale.
QString FileTimeText(const QDateTime& time) {
    if (!time.isValid()) return kUnknown;
    const QDateTime local = time.toLocalTime();
    const QLocale locale;
    return locale.toString(local.date(), QLocale::ShortFormat) + " " + locale.toString(local.time(), QLocale::LongFormat);
}

QLabel* ValueLabel(QWidget* parent) {
    auto* label = new QLabel(kUnknown, parent);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return label;
}

} // namespace

TPropertiesForm::TPropertiesForm(QWidget* parent)
    : QDialog(parent, Qt::Tool), registeredOwner_(RegisteredOwner()),
      registeredOrganization_(RegisteredOrganization()) {
    setObjectName(kWindowName);
    setWindowTitle("Properties");
    setModal(true);

    tabs_ = new QTabWidget(this);

    // "Project"
    auto* project = new QWidget(tabs_);
    auto* projectForm = new QFormLayout(project);
    edProjectName_ = new QLineEdit(project);
    edProjectNumber_ = new QLineEdit(project);
    edDescription_ = new QPlainTextEdit(project);
    edDescription_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    edDescription_->setTabChangesFocus(true);
    edDate_ = new QDateEdit(project);
    edDate_->setCalendarPopup(true);
    edDate_->setDisplayFormat(QLocale().dateFormat(QLocale::LongFormat));
    projectForm->addRow("Project Name:", edProjectName_);
    projectForm->addRow("Project Number:", edProjectNumber_);
    projectForm->addRow("Comments:", edDescription_);
    projectForm->addRow("Project Date:", edDate_);
    tabs_->addTab(project, "Project");

    // "User"
    auto* user = new QWidget(tabs_);
    auto* userForm = new QFormLayout(user);
    edAuthor_ = new QLineEdit(user);
    edCompany_ = new QLineEdit(user);
    userForm->addRow("Registered User:", edAuthor_);
    userForm->addRow("Registered Organization:", edCompany_);
    tabs_->addTab(user, "User");

    // "General"
    generalTab_ = new QWidget(tabs_);
    auto* general = new QGridLayout(generalTab_);
    iconLabel_ = new QLabel(generalTab_);
    iconLabel_->setFixedSize(32, 32);
    fileNameLabel_ = ValueLabel(generalTab_);
    appTypeLabel_ = ValueLabel(generalTab_);
    locationLabel_ = ValueLabel(generalTab_);
    locationLabel_->setWordWrap(true);
    fileCreationLabel_ = ValueLabel(generalTab_);
    lastWriteLabel_ = ValueLabel(generalTab_);
    fileSizeLabel_ = ValueLabel(generalTab_);
    auto line = [this] {
        auto* frame = new QFrame(generalTab_);
        frame->setFrameShape(QFrame::HLine);
        frame->setFrameShadow(QFrame::Sunken);
        return frame;
    };
    int row = 0;
    general->addWidget(iconLabel_, row, 0);
    general->addWidget(fileNameLabel_, row++, 1);
    general->addWidget(line(), row++, 0, 1, 2);
    general->addWidget(appTypeLabel_, row++, 0, 1, 2);
    general->addWidget(new QLabel("Location:", generalTab_), row, 0, Qt::AlignTop);
    general->addWidget(locationLabel_, row++, 1);
    general->addWidget(line(), row++, 0, 1, 2);
    general->addWidget(new QLabel("Created:", generalTab_), row, 0);
    general->addWidget(fileCreationLabel_, row++, 1);
    general->addWidget(new QLabel("Modified:", generalTab_), row, 0);
    general->addWidget(lastWriteLabel_, row++, 1);
    general->addWidget(new QLabel("Size:", generalTab_), row, 0);
    general->addWidget(fileSizeLabel_, row++, 1);
    general->addWidget(line(), row++, 0, 1, 2);
    general->addWidget(new QLabel("Attributes:", generalTab_), row, 0, Qt::AlignTop);
    auto* attributes = new QGridLayout;
    readOnly_ = new QCheckBox("Read Only", generalTab_);
    hidden_ = new QCheckBox("Hidden", generalTab_);
    archive_ = new QCheckBox("Archive", generalTab_);
    system_ = new QCheckBox("System", generalTab_);
    int i = 0;
    for (QCheckBox* box : {readOnly_, hidden_, archive_, system_}) {
        box->setEnabled(false);
        attributes->addWidget(box, i / 2, i % 2);
        ++i;
    }
    general->addLayout(attributes, row++, 1);
    general->setColumnStretch(1, 1);
    general->setRowStretch(row, 1);
    tabs_->addTab(generalTab_, "General");

    keepAsDefault_ = new QCheckBox("Keep as default", this);
    accept_ = new QPushButton("Accept", this);
    cancel_ = new QPushButton("Cancel", this);
    accept_->setDefault(true);
    cancel_->setAutoDefault(false);
    connect(accept_, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(keepAsDefault_);
    buttons->addStretch(1);
    buttons->addWidget(accept_);
    buttons->addWidget(cancel_);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(tabs_, 1);
    layout->addLayout(buttons);
    resize(380, 340);
    TDialogKeys::Install(this);

    // Position only.
    RestoreWindowPlacement(*this, AppSettings(), kWindowName, false);

    ApplyDefaults(ReadDetailsDefaults(AppSettings(), registeredOwner_, registeredOrganization_));
    edDate_->setDate(QDate::currentDate());
}

void TPropertiesForm::ApplyDefaults(const TDetailsDefaults& d) {
    edProjectName_->setText(Q(d.Name));
    edProjectNumber_->setText(Q(d.Number));
    edAuthor_->setText(Q(d.Author));
    edCompany_->setText(Q(d.Company));
}

void TPropertiesForm::ResetDetails() {
    ApplyDefaults(ReadDetailsDefaults(AppSettings(), registeredOwner_, registeredOrganization_));
    edDescription_->clear();
    edDate_->setDate(QDate::currentDate());
}

QString TPropertiesForm::ProjectNameOrDefault() const {
    return Q(dvx::ProjectNameOrDefault(edProjectName_->text().toStdString()));
}

QString TPropertiesForm::ProjectNumberOrDefault() const {
    return Q(dvx::ProjectNumberOrDefault(edProjectNumber_->text().toStdString()));
}

QString TPropertiesForm::ProjectName() const { return edProjectName_->text(); }
QString TPropertiesForm::ProjectNumber() const { return edProjectNumber_->text(); }
QString TPropertiesForm::Author() const { return edAuthor_->text(); }
QString TPropertiesForm::Company() const { return edCompany_->text(); }
QDate TPropertiesForm::ProjectDate() const { return edDate_->date(); }

std::vector<std::string> TPropertiesForm::DescriptionLines() const {
    return CommentLines(edDescription_->toPlainText().toStdString());
}

void TPropertiesForm::SetProjectName(const QString& name) { edProjectName_->setText(name); }
void TPropertiesForm::SetProjectNumber(const QString& number) { edProjectNumber_->setText(number); }
void TPropertiesForm::SetAuthor(const QString& author) { edAuthor_->setText(author); }
void TPropertiesForm::SetCompany(const QString& company) { edCompany_->setText(company); }

void TPropertiesForm::SetDescriptionLines(const std::vector<std::string>& lines) {
    edDescription_->setPlainText(Q(CommentText(lines)));
}

bool TPropertiesForm::GeneralTabVisible() const { return tabs_->isTabVisible(tabs_->indexOf(generalTab_)); }

bool TPropertiesForm::FillGeneral() {
    if (currentFile_ == nullptr || currentFile_->isEmpty()) return false;
    const std::optional<TFileFacts> facts = ReadFileFacts(currentFile_->toStdString());
    if (!facts) return false;
    const QFileInfo info(*currentFile_);
    iconLabel_->setPixmap(QFileIconProvider().icon(info).pixmap(32, 32));
    fileNameLabel_->setText(Q(facts->Name));
    const QMimeType type = QMimeDatabase().mimeTypeForFile(info);
    appTypeLabel_->setText("Type: " + (type.isDefault() ? QString() : type.comment()));
    locationLabel_->setText(Q(facts->Folder));
    fileCreationLabel_->setText(FileTimeText(info.birthTime()));
    lastWriteLabel_->setText(FileTimeText(info.lastModified()));
    fileSizeLabel_->setText(Q(FileSizeText(facts->Size)));
    readOnly_->setChecked(facts->ReadOnly);
    hidden_->setChecked(facts->Hidden);
    archive_->setChecked(facts->Archive);
    system_->setChecked(facts->System);
    return true;
}

void TPropertiesForm::Activate() {
    tabs_->setCurrentIndex(0);
    keepAsDefault_->setChecked(false);
    remembered_ = {edProjectName_->text(), edProjectNumber_->text(), edDescription_->toPlainText(),
                   edAuthor_->text(),      edCompany_->text(),       edDate_->date()};
    bool filled = false;
    try {
        filled = FillGeneral();
    } catch (const std::exception&) {
        filled = false;
    }
    tabs_->setTabVisible(tabs_->indexOf(generalTab_), filled);
}

void TPropertiesForm::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    // Once per opening, so that Cancel puts back what the dialog opened with.
    if (!event->spontaneous()) Activate();
}

void TPropertiesForm::done(int result) {
    if (result == QDialog::Accepted) {
        if (keepAsDefault_->isChecked()) {
            try {
                WriteDetailsDefaults(AppSettings(), {edProjectName_->text().toStdString(), edProjectNumber_->text().toStdString(),
                                                     edAuthor_->text().toStdString(), edCompany_->text().toStdString()});
            } catch (const std::exception& e) {
                // The details still go to the project; only the defaults are not kept.
                ui::ShowMessage(this, ui::MsgKind::Error, QString::fromUtf8(e.what()));
            }
        }
    } else {
        edProjectName_->setText(remembered_.Name);
        edProjectNumber_->setText(remembered_.Number);
        edDescription_->setPlainText(remembered_.Comments);
        edAuthor_->setText(remembered_.Author);
        edCompany_->setText(remembered_.Company);
        edDate_->setDate(remembered_.Date);
    }
    try {
        SaveWindowPlacement(*this, AppSettings(), kWindowName);
    } catch (const std::exception&) {
        // The dialog closes all the same.
    }
    QDialog::done(result);
}

} // namespace dvx
