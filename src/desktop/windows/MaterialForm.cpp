// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/windows/MaterialForm.h"

#include "base/platform/Folders.h"
#include "desktop/widgets/Messages.h"
#include "engine/catalogue/Tables.h"
#include "presentation/ui/MaterialEntry.h"
#include "storage/catalogue/UserMaterial.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include <exception>

namespace dvx::ui {

namespace {
constexpr int kStartRows = 12;
}

TMaterialForm::TMaterialForm(TProjectContext project, QWidget* parent)
    : QDialog(parent), project_(project) {
    setWindowTitle("Add Pipe Material");
    auto* layout = new QVBoxLayout(this);
    auto* form = new QFormLayout;
    name_ = new QLineEdit(this);
    roughness_ = new QLineEdit(this);
    form->addRow("&Name:", name_);
    form->addRow("&Roughness, mm:", roughness_);
    layout->addLayout(form);
    layout->addWidget(new QLabel("Bores, largest inside diameter first:", this));
    bores_ = new QTableWidget(kStartRows, BoreEntryColumnCount, this);
    QStringList captions;
    for (const char* c : BoreEntryCaptions) captions << QString::fromUtf8(c);
    bores_->setHorizontalHeaderLabels(captions);
    bores_->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    bores_->horizontalHeader()->setStretchLastSection(true);
    layout->addWidget(bores_);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    QPushButton* more = buttons->addButton("Add &Row", QDialogButtonBox::ActionRole);
    layout->addWidget(buttons);
    connect(more, &QPushButton::clicked, this, [this] { bores_->insertRow(bores_->rowCount()); });
    connect(buttons, &QDialogButtonBox::accepted, this, [this] {
        if (TryAdd()) accept();
    });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    resize(620, 480);
}

bool TMaterialForm::TryAdd() {
    try {
        TMaterialEntry entry;
        entry.Name = name_->text().toStdString();
        entry.RoughnessMm = roughness_->text().toStdString();
        for (int r = 0; r < bores_->rowCount(); ++r) {
            std::array<std::string, BoreEntryColumnCount> cells;
            for (int c = 0; c < BoreEntryColumnCount; ++c)
                if (const QTableWidgetItem* cell = bores_->item(r, c)) cells[static_cast<std::size_t>(c)] = cell->text().toStdString();
            entry.Rows.push_back(std::move(cells));
        }
        std::string error;
        const std::optional<TMaterialTable> material = MaterialFromEntry(entry, error);
        if (!material) {
            ShowMessage(this, MsgKind::Warning, QString::fromStdString(error));
            return false;
        }
        const TUserMaterialResult added = AddUserMaterial(DataFolder(), *material, project_.Tables);
        if (!added.Added) {
            ShowMessage(this, MsgKind::Warning, "Pipe material not added: " + QString::fromStdString(added.Message));
            return false;
        }
        addedName_ = material->Name;
        addedFile_ = added.FileName;
        return true;
    } catch (const std::exception& e) {
        // Nothing escapes the button's slot.
        ShowMessage(this, MsgKind::Error, QString::fromUtf8(e.what()));
        return false;
    }
}

} // namespace dvx::ui
