// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// "Properties": the project details — name, number, comments and date on
// "Project", author and organisation on "User", and facts about the saved
// project file on "General" (hidden while the project has no file).

#include "presentation/report/ProjectDetails.h"

#include <QDate>
#include <QDialog>

class QCheckBox;
class QDateEdit;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTabWidget;

namespace dvx {

class TPropertiesForm : public QDialog {
    Q_OBJECT
public:
    explicit TPropertiesForm(QWidget* parent = nullptr);

    // The user's defaults into name, number, author and organisation; no
    // comments; today's date.
    void ResetDetails();
    // The project name, "Project" when empty; the number, "001" when empty.
    QString ProjectNameOrDefault() const;
    QString ProjectNumberOrDefault() const;
    // The variable holding the path of the current project file.
    void SetFileReference(const QString* currentFile) { currentFile_ = currentFile; }

    // The values of the fields.
    QString ProjectName() const;
    QString ProjectNumber() const;
    std::vector<std::string> DescriptionLines() const;
    QString Author() const;
    QString Company() const;
    QDate ProjectDate() const;
    void SetProjectName(const QString& name);
    void SetProjectNumber(const QString& number);
    void SetDescriptionLines(const std::vector<std::string>& lines);
    void SetAuthor(const QString& author);
    void SetCompany(const QString& company);

    QTabWidget* Tabs() const { return tabs_; }
    bool GeneralTabVisible() const;
    QLineEdit* NameEdit() const { return edProjectName_; }
    QLineEdit* NumberEdit() const { return edProjectNumber_; }
    QPlainTextEdit* DescriptionEdit() const { return edDescription_; }
    QDateEdit* DateEdit() const { return edDate_; }
    QLineEdit* AuthorEdit() const { return edAuthor_; }
    QLineEdit* CompanyEdit() const { return edCompany_; }
    QCheckBox* KeepAsDefault() const { return keepAsDefault_; }
    QPushButton* AcceptButton() const { return accept_; }
    QPushButton* CancelButton() const { return cancel_; }
    QLabel* FileNameLabel() const { return fileNameLabel_; }
    QLabel* AppTypeLabel() const { return appTypeLabel_; }
    QLabel* LocationLabel() const { return locationLabel_; }
    QLabel* FileCreationLabel() const { return fileCreationLabel_; }
    QLabel* LastWriteLabel() const { return lastWriteLabel_; }
    QLabel* FileSizeLabel() const { return fileSizeLabel_; }
    QCheckBox* ReadOnlyBox() const { return readOnly_; }
    QCheckBox* HiddenBox() const { return hidden_; }
    QCheckBox* ArchiveBox() const { return archive_; }
    QCheckBox* SystemBox() const { return system_; }

    void done(int result) override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    // Activation: the "Project" tab, "Keep as default" cleared, the values
    // remembered for Cancel and the "General" tab filled or hidden.
    void Activate();
    // False when there is no file or its facts cannot be read.
    bool FillGeneral();
    void ApplyDefaults(const TDetailsDefaults& defaults);

    // The platform's registered owner and organisation, read once.
    std::string registeredOwner_;
    std::string registeredOrganization_;
    const QString* currentFile_ = nullptr;

    struct TRemembered {
        QString Name, Number, Comments, Author, Company;
        QDate Date;
    } remembered_;

    QTabWidget* tabs_ = nullptr;
    QWidget* generalTab_ = nullptr;
    QLineEdit* edProjectName_ = nullptr;
    QLineEdit* edProjectNumber_ = nullptr;
    QPlainTextEdit* edDescription_ = nullptr;
    QDateEdit* edDate_ = nullptr;
    QLineEdit* edAuthor_ = nullptr;
    QLineEdit* edCompany_ = nullptr;
    QLabel* iconLabel_ = nullptr;
    QLabel* fileNameLabel_ = nullptr;
    QLabel* appTypeLabel_ = nullptr;
    QLabel* locationLabel_ = nullptr;
    QLabel* fileCreationLabel_ = nullptr;
    QLabel* lastWriteLabel_ = nullptr;
    QLabel* fileSizeLabel_ = nullptr;
    QCheckBox* readOnly_ = nullptr;
    QCheckBox* hidden_ = nullptr;
    QCheckBox* archive_ = nullptr;
    QCheckBox* system_ = nullptr;
    QCheckBox* keepAsDefault_ = nullptr;
    QPushButton* accept_ = nullptr;
    QPushButton* cancel_ = nullptr;
};

} // namespace dvx
