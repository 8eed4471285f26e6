// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/windows/CircuitModel.h"

#include <QBrush>
#include <QMimeData>

#include <exception>

namespace dvx::ui {

namespace {
const char* const kRowMime = "application/x-darvenix-row";
}

CircuitModel::CircuitModel(TProjectContext project, QObject* parent)
    : QAbstractTableModel(parent), project_(project) {
    shown_ = ShownColumns(false, true);
}

void CircuitModel::SetWarningColours(const QPalette& palette) {
    // A dark palette gets a deep red ground with light text; a light one a
    // pale red ground with dark red text. Neither is the selection's colour.
    const bool dark = palette.color(QPalette::Base).lightness() < 128;
    warningBackground_ = dark ? QColor(122, 24, 24) : QColor(255, 214, 204);
    warningText_ = dark ? QColor(255, 226, 220) : QColor(160, 0, 0);
}

void CircuitModel::SetCircuit(TCircuit* circuit) {
    beginResetModel();
    circuit_ = circuit;
    endResetModel();
}

void CircuitModel::RebuildColumns(bool groupsOn, bool typesOn, TExtraColumns extras) {
    beginResetModel();
    shown_ = ShownColumns(groupsOn, typesOn, extras);
    endResetModel();
}

int CircuitModel::ViewColumnOf(int logicalColumn) const {
    for (std::size_t i = 0; i < shown_.size(); ++i)
        if (shown_[i] == logicalColumn) return static_cast<int>(i);
    return -1;
}

int CircuitModel::LogicalColumnAt(int viewColumn) const {
    if (viewColumn < 0 || viewColumn >= static_cast<int>(shown_.size())) return -1;
    return shown_[static_cast<std::size_t>(viewColumn)];
}

void CircuitModel::Refresh() {
    beginResetModel();
    endResetModel();
}

TBranch* CircuitModel::ItemAt(int row) const {
    if (circuit_ == nullptr || row < 0 || row >= circuit_->Count()) return nullptr;
    return &circuit_->Item(row);
}

int CircuitModel::rowCount(const QModelIndex& parent) const {
    if (parent.isValid()) return 0;
    // One row per item, and the one empty row of an empty circuit.
    int count = circuit_ != nullptr ? circuit_->Count() : 0;
    return count > 0 ? count : 1;
}

int CircuitModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(shown_.size());
}

QVariant CircuitModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid()) return {};
    int column = LogicalColumnAt(index.column());
    const TBranch* item = ItemAt(index.row());
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
        return QString::fromStdString(CellText(item, column, project_));
    case Qt::ForegroundRole:
        switch (CellColour(item, column)) {
        case TCellColour::Highlight: return QBrush(warningText_);
        case TCellColour::Grey: return QBrush(QColor(128, 128, 128));
        case TCellColour::Default: return {};
        }
        return {};
    case Qt::BackgroundRole:
        if (CellColour(item, column) == TCellColour::Highlight) return QBrush(warningBackground_);
        if (column == gcNumber) return QBrush(QColor(240, 240, 240));
        return {};
    case Qt::ToolTipRole: {
        std::string tip = WarningTip(item, column, project_);
        if (tip.empty()) tip = QuantityTip(item, column);
        if (tip.empty()) return {};
        return QString::fromStdString(tip);
    }
    case Qt::TextAlignmentRole:
        if (ColumnDef(column).Numeric && column != gcSize)
            return int(Qt::AlignRight | Qt::AlignVCenter);
        if (column == gcSize) return int(Qt::AlignCenter);
        return int(Qt::AlignLeft | Qt::AlignVCenter);
    default:
        return {};
    }
}

QVariant CircuitModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole && role != Qt::ToolTipRole) return {};
    if (orientation == Qt::Vertical) return role == Qt::DisplayRole ? QVariant(section + 1) : QVariant();
    int column = LogicalColumnAt(section);
    if (column < 0) return {};
    if (role == Qt::ToolTipRole) {
        const std::string tip = ColumnTip(column);
        return tip.empty() ? QVariant() : QVariant(QString::fromStdString(tip));
    }
    return QString::fromStdString(ColumnTitle(column));
}

Qt::ItemFlags CircuitModel::flags(const QModelIndex& index) const {
    if (!index.isValid()) return Qt::ItemIsDropEnabled;
    int column = LogicalColumnAt(index.column());
    const TBranch* item = ItemAt(index.row());
    // The "#" column is fixed: not selectable, not editable; it is where a row is dragged from.
    if (column == gcNumber)
        return item != nullptr ? Qt::ItemIsEnabled | Qt::ItemIsDragEnabled | Qt::ItemIsDropEnabled
                               : Qt::ItemIsEnabled;
    Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (item != nullptr) f |= Qt::ItemIsDragEnabled | Qt::ItemIsDropEnabled;
    if (CanEdit(item, column)) f |= Qt::ItemIsEditable;
    return f;
}

bool CircuitModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (role != Qt::EditRole || circuit_ == nullptr || !index.isValid()) return false;
    int column = LogicalColumnAt(index.column());
    if (!CanEdit(ItemAt(index.row()), column)) return false;
    QString typed = value.toString();
    if (typed == data(index, Qt::DisplayRole).toString()) return false; // unchanged: nothing to take
    try {
        std::string committed = CommittedText(ItemAt(index.row()), column, typed.toStdString());
        if (committed.empty()) return false; // an empty text leaves the item as it is
        if (OnCellAboutToCommit) OnCellAboutToCommit(index.row(), column);
        ApplyCellText(*circuit_, index.row(), column, committed, project_);
        if (column == gcGroup || column == gcIndex)
            emit dataChanged(this->index(0, 0), this->index(rowCount() - 1, columnCount() - 1));
        else
            emit dataChanged(this->index(index.row(), 0), this->index(index.row(), columnCount() - 1));
        if (OnCellCommitted) OnCellCommitted(index.row(), column, QString::fromStdString(committed));
        return true;
    } catch (const std::exception& e) {
        // Called from the view's event handling: nothing may propagate.
        // In practice this is a text that is not a number (ConvertError).
        if (OnConvertError) OnConvertError(QString::fromUtf8(e.what()));
        return false;
    }
}

QStringList CircuitModel::mimeTypes() const { return {QString::fromLatin1(kRowMime)}; }

QMimeData* CircuitModel::mimeData(const QModelIndexList& indexes) const {
    if (indexes.isEmpty()) return nullptr;
    auto* mime = new QMimeData;
    mime->setData(kRowMime, QByteArray::number(indexes.first().row()));
    return mime;
}

bool CircuitModel::canDropMimeData(const QMimeData* data, Qt::DropAction action, int, int,
                                   const QModelIndex&) const {
    return action == Qt::MoveAction && data != nullptr && data->hasFormat(kRowMime) && circuit_ != nullptr;
}

bool CircuitModel::dropMimeData(const QMimeData* data, Qt::DropAction action, int row, int column,
                                const QModelIndex& parent) {
    if (!canDropMimeData(data, action, row, column, parent)) return false;
    int from = data->data(kRowMime).toInt();
    int to = parent.isValid() ? parent.row() : (row >= 0 ? row : circuit_->Count() - 1);
    if (from < 0 || from >= circuit_->Count()) return false;
    to = std::clamp(to, 0, circuit_->Count() - 1);
    if (from == to) return false;
    beginResetModel();
    circuit_->Move(from, to);
    endResetModel();
    if (OnRowMoved) OnRowMoved(from, to);
    // The move is done here; the view must not remove the source row as well
    // (removeRows is not implemented, so its attempt does nothing).
    return true;
}

} // namespace dvx::ui
