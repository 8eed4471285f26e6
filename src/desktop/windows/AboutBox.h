// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The about box: the product name, version and description from the
// program's version information, and the check box "Show this box at
// start-up" ("Settings"/"SplashScreen"). With that setting on, the program
// shows the same box as a splash while its windows are created.

#include <QDialog>

class QCheckBox;

namespace dvx::ui {

class TAboutBox : public QDialog {
    Q_OBJECT
public:
    // The check box starts with the stored setting.
    explicit TAboutBox(QWidget* parent = nullptr);

    QCheckBox* SplashCheck() const { return splash_; }
    // Stores the check box as "Settings"/"SplashScreen".
    void StoreSplashSetting() const;

private:
    QCheckBox* splash_ = nullptr;
};

} // namespace dvx::ui
