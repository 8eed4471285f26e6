// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// "Fittings Editor": the equivalent-length coefficient of every fitting
// type, on the property-sheet tool window. Accept puts the edited values in
// force until the program ends; "Save as default" also stores them;
// "Restore standard defaults" puts the built-in coefficients in force.

#include "engine/hydraulics/ProjectContext.h"
#include "desktop/windows/TechForm.h"

#include <string>
#include <vector>

namespace dvx::ui {

class TFittingsForm : public TTechForm {
    Q_OBJECT
public:
    explicit TFittingsForm(TProjectContext project, QWidget* parent = nullptr);

    // Fills the value column from the project's fitting table (each time the
    // window opens).
    void FillGrid();
    // Takes the sheet into the project's fitting table. A row whose text is still the one
    // shown keeps its exact coefficient (the sheet shows whole numbers). A
    // text that is not a number shows the conversion error; that type and
    // the ones after it keep their coefficients. False on such an error.
    bool TakeGrid();

    bool AcceptClick() override;
    void SaveClick() override;
    void ResetClick() override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    TProjectContext project_;        // the project whose fitting coefficients the window edits
    std::vector<std::string> shown_; // value texts as filled, by sheet row
};

} // namespace dvx::ui
