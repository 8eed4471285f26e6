// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/windows/CircuitDelegate.h"

#include "presentation/ui/CircuitGrid.h"
#include "desktop/windows/CircuitModel.h"
#include "desktop/widgets/FmtEdit.h"

#include <QLineEdit>

namespace dvx::ui {

CircuitDelegate::CircuitDelegate(CircuitModel* model, QObject* parent)
    : QStyledItemDelegate(parent), model_(model) {}

QWidget* CircuitDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem&, const QModelIndex& index) const {
    int column = model_->LogicalColumnAt(index.column());
    if (column < 0 || column >= AllColumnCount || !ColumnDef(column).Numeric || TypedAsText(column)) {
        auto* edit = new QLineEdit(parent);
        edit->setFrame(false);
        return edit;
    }
    auto* edit = new TFmtEdit(parent);
    edit->setFrame(false);
    edit->SetFormatStr(ColumnFormat(column));
    edit->RangeLo = edit->RangeHi = 0; // the grid checks no ranges
    edit->KeepFocusOnFailure = false;
    edit->setAlignment(Qt::AlignRight);
    return edit;
}

void CircuitDelegate::setEditorData(QWidget* editor, const QModelIndex& index) const {
    auto* edit = qobject_cast<QLineEdit*>(editor);
    if (edit == nullptr) return;
    edit->setText(index.data(Qt::EditRole).toString());
    edit->selectAll();
}

void CircuitDelegate::setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const {
    if (auto* fmt = qobject_cast<TFmtEdit*>(editor)) {
        // Only a changed text is taken: the model compares with the cell.
        if (fmt->text() != index.data(Qt::DisplayRole).toString()) fmt->Validate();
        model->setData(index, fmt->text(), Qt::EditRole);
        return;
    }
    if (auto* edit = qobject_cast<QLineEdit*>(editor)) model->setData(index, edit->text(), Qt::EditRole);
}

} // namespace dvx::ui
