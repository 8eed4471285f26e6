// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// "Add Pipe Material": the user's own material, its name, wall roughness
// and bores. OK adds it (a new catalogue file in the data folder) or says
// what is wrong and stays open.

#include "engine/hydraulics/ProjectContext.h"

#include <QDialog>

#include <string>

class QLineEdit;
class QTableWidget;

namespace dvx::ui {

class TMaterialForm : public QDialog {
    Q_OBJECT
public:
    // An added material joins the tables of `project`.
    explicit TMaterialForm(TProjectContext project, QWidget* parent = nullptr);

    QLineEdit* NameEdit() const { return name_; }
    QLineEdit* RoughnessEdit() const { return roughness_; } // mm
    QTableWidget* Bores() const { return bores_; }
    // After an accepted dialog: the material's name and its file.
    const std::string& AddedName() const { return addedName_; }
    const std::string& AddedFile() const { return addedFile_; }

    // Checks and adds the material; true when added (the dialog then closes).
    bool TryAdd();

private:
    TProjectContext project_;
    QLineEdit* name_ = nullptr;
    QLineEdit* roughness_ = nullptr;
    QTableWidget* bores_ = nullptr;
    std::string addedName_;
    std::string addedFile_;
};

} // namespace dvx::ui
