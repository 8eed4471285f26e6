// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The circuit grid's in-place editor: numeric columns are edited in a
// formatted numeric edit with the column's format and no range (its key
// filter and cleaning rules apply), text columns in a plain line edit.

#include <QStyledItemDelegate>

namespace dvx::ui {

class CircuitModel;

class CircuitDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    CircuitDelegate(CircuitModel* model, QObject* parent = nullptr);

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override;
    void setEditorData(QWidget* editor, const QModelIndex& index) const override;
    void setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const override;

private:
    CircuitModel* model_;
};

} // namespace dvx::ui
