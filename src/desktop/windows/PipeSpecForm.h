// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// "Pipe Specification": the inside-surface roughness of the three pipe
// materials, in millimetres on screen and metres in the project's tables.

#include "engine/hydraulics/ProjectContext.h"
#include "desktop/windows/CustomForm.h"

#include <array>

namespace dvx {
class TFmtEdit;
}

namespace dvx::ui {

class TPipeSpecForm : public TCustomForm {
    Q_OBJECT
public:
    explicit TPipeSpecForm(TProjectContext project, QWidget* parent = nullptr);

    // Schedule 40 steel, galvanised iron, drawn tubing (material order), mm.
    TFmtEdit* RoughnessEdit(int material) const { return edits_[static_cast<std::size_t>(material)]; }

    // Fills the fields from the project's roughness × 1000 (each time the
    // dialog opens).
    void FillFields();
    // Takes the fields (mm) into the project's roughness (m), in material order; a
    // text that is not a number shows the conversion error and leaves that
    // material and the ones after it unchanged. False on such an error.
    bool TakeFields();
    // "Accept": closes with the OK result once the fields are taken; then
    // placement and the three keys are written.
    bool AcceptClick();
    // "Restore": the built-in roughness in force and stored at once.
    void RestoreClick();

protected:
    void showEvent(QShowEvent* event) override;

private:
    TProjectContext project_; // the project whose roughness the window edits
    void Store();
    std::array<TFmtEdit*, 3> edits_{};
};

} // namespace dvx::ui
