// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/windows/AboutBox.h"

#include "base/platform/Version.h"
#include "storage/settings/SettingsStore.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QVBoxLayout>

namespace dvx::ui {

TAboutBox::TAboutBox(QWidget* parent) : QDialog(parent) {
    const TVersionInfo version = ProgramVersionInfo();
    const QString product = QString::fromStdString(version.ProductName);
    setWindowTitle("About " + product);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel("<h2>" + product.toHtmlEscaped() + "</h2>", this));
    layout->addWidget(new QLabel("Version " + QString::fromStdString(version.Version), this));
    layout->addWidget(new QLabel(QString::fromStdString(version.FileDescription), this));
    // The licence, as the program is distributed under it.
    auto* licence = new QLabel(
        QString(kCopyrightLine).replace("(C)", "\u00A9").toHtmlEscaped() + "<br>" +
            QString("This program is free software under the <a href=\"%1\">%2</a>. "
                    "It comes with ABSOLUTELY NO WARRANTY.")
                .arg(kLicenceUrl, QString(kLicenceName).toHtmlEscaped()),
        this);
    licence->setObjectName("licence");
    licence->setWordWrap(true);
    licence->setOpenExternalLinks(true);
    layout->addWidget(licence);
    splash_ = new QCheckBox("Show this box at start-up", this);
    splash_->setChecked(AppSettings().Read(settings::SplashScreen));
    layout->addWidget(splash_);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    layout->addWidget(buttons);
}

void TAboutBox::StoreSplashSetting() const { AppSettings().Write(settings::SplashScreen, splash_->isChecked()); }

} // namespace dvx::ui
