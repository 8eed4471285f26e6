// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/windows/PipeSpecForm.h"

#include "storage/catalogue/CatalogueFiles.h"
#include "engine/catalogue/Tables.h"
#include "base/Errors.h"
#include "base/Format.h"
#include "base/Numbers.h"
#include "storage/settings/SettingsStore.h"
#include "desktop/widgets/Messages.h"
#include "desktop/widgets/FmtEdit.h"

#include <QAction>
#include <QGridLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace dvx::ui {

namespace {
QString Mm(double metres) { return QString::fromStdString(FormatFloat("%0.6f", metres * 1000)); }
} // namespace

TPipeSpecForm::TPipeSpecForm(TProjectContext project, QWidget* parent)
    : TCustomForm("PipeSpecForm", "Pipe Specification", parent), project_(project) {
    connect(AddButton("Accept"), &QAction::triggered, this, [this] { AcceptClick(); });
    connect(AddButton("Cancel"), &QAction::triggered, this, &QDialog::reject);
    connect(AddButton("Restore"), &QAction::triggered, this, [this] { RestoreClick(); });
    SetStatusText("Pipe and tube inside surface roughness, mm");

    auto* grid = new QGridLayout;
    grid->setContentsMargins(10, 10, 10, 10);
    grid->setHorizontalSpacing(8);
    const char* captions[3] = {"Schedule 40 Pipe", "Galvanised Iron Pipe", "Drawn Tubing"};
    const char* names[3] = {"edXShed40Steel", "edXGalvIronPipe", "edXDrawnTubing"};
    for (int m = 0; m < 3; ++m) {
        auto* edit = new TFmtEdit(this);
        edit->setObjectName(names[m]);
        edit->SetFormatStr("%0.6f");
        edit->RangeLo = 0;
        edit->RangeHi = 1;
        edit->setAlignment(Qt::AlignRight);
        edit->setFixedWidth(90);
        auto* label = new QLabel(captions[m], this);
        label->setBuddy(edit);
        grid->addWidget(label, m, 0);
        grid->addWidget(edit, m, 1);
        grid->addWidget(new QLabel("mm", this), m, 2);
        edits_[static_cast<std::size_t>(m)] = edit;
    }
    grid->setColumnStretch(3, 1);
    Body()->addLayout(grid);
    Body()->addStretch(1);
    resize(300, sizeHint().height());
    FitToolBar();

    // The stored roughness is in force from start-up (read with the other
    // settings of the core); the window comes back where it was.
    RestorePlacement(false);
    FillFields();
}

void TPipeSpecForm::FillFields() {
    for (std::size_t m = 0; m < edits_.size(); ++m)
        edits_[m]->setText(Mm(project_.Tables.MaterialRoughness[m]));
}

void TPipeSpecForm::showEvent(QShowEvent* event) {
    FillFields();
    edits_[0]->setFocus();
    TCustomForm::showEvent(event);
}

bool TPipeSpecForm::TakeFields() {
    try {
        for (std::size_t m = 0; m < edits_.size(); ++m)
            project_.Tables.MaterialRoughness[m] = StrToFloat(edits_[m]->Text()) * 0.001;
    } catch (const ConvertError& e) {
        ShowMessage(this, MsgKind::Error, QString::fromUtf8(e.what()));
        return false;
    }
    return true;
}

void TPipeSpecForm::Store() {
    try {
        SavePlacement();
        SaveRoughnessSettings(AppSettings(), project_.Tables);
    } catch (const std::exception& e) {
        ShowMessage(this, MsgKind::Error, QString::fromUtf8(e.what()));
    }
}

bool TPipeSpecForm::AcceptClick() {
    // A value typed and not yet checked goes through the range rule first.
    for (TFmtEdit* edit : edits_) {
        if (!edit->ValidateWithBeep()) {
            edit->setFocus();
            return false;
        }
    }
    if (!TakeFields()) return false;
    Store();
    accept();
    return true;
}

void TPipeSpecForm::RestoreClick() {
    for (std::size_t m = 0; m < edits_.size(); ++m) edits_[m]->setText(Mm(BuiltInMaterialRoughness[m]));
    TakeFields();
    Store();
}

} // namespace dvx::ui
