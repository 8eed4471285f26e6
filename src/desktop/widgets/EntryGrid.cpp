// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/widgets/EntryGrid.h"

#include "desktop/widgets/ButtonPictures.h"
#include "desktop/widgets/Feedback.h"
#include "desktop/widgets/FmtEdit.h"

#include <QAbstractTableModel>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QStyledItemDelegate>
#include <QToolButton>
#include <algorithm>
#include <cmath>

namespace dvx {

// ---------------------------------------------------------------------------
// Model: the sheet's cells; sheet row 0 is the horizontal header.

class TEntryGridModel : public QAbstractTableModel {
public:
    explicit TEntryGridModel(TEntryGrid* grid) : QAbstractTableModel(grid), grid_(grid) {}

    int rowCount(const QModelIndex& parent = {}) const override {
        return parent.isValid() ? 0 : std::max(0, grid_->RowCount() - 1);
    }
    int columnCount(const QModelIndex& parent = {}) const override {
        return parent.isValid() ? 0 : grid_->ColCount();
    }

    QVariant data(const QModelIndex& index, int role) const override {
        if (!index.isValid()) return {};
        const int row = index.row() + 1;
        const int col = index.column();
        switch (role) {
        case Qt::DisplayRole:
        case Qt::EditRole: return QString::fromStdString(grid_->Cell(col, row));
        case Qt::ForegroundRole:
            if (col == 1 && !grid_->RowEnabled(row))
                return grid_->palette().color(QPalette::Disabled, QPalette::Text);
            return {};
        case Qt::BackgroundRole:
            if (col == 1 && grid_->ColorEditCol.isValid() &&
                grid_->ColorEditCol != grid_->palette().color(QPalette::Base))
                return grid_->ColorEditCol;
            return {};
        case Qt::TextAlignmentRole: return int(Qt::AlignLeft | Qt::AlignVCenter);
        default: return {};
        }
    }

    QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
        if (orientation == Qt::Horizontal && role == Qt::DisplayRole)
            return QString::fromStdString(grid_->Cell(section, 0));
        if (orientation == Qt::Horizontal && role == Qt::TextAlignmentRole)
            return int(Qt::AlignLeft | Qt::AlignVCenter);
        return {};
    }

    Qt::ItemFlags flags(const QModelIndex& index) const override {
        if (!index.isValid()) return Qt::NoItemFlags;
        Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
        if (grid_->CanEditText(index.column(), index.row() + 1)) f |= Qt::ItemIsEditable;
        return f;
    }

    void Reset() {
        beginResetModel();
        endResetModel();
    }

    void Changed(int col, int row) {
        if (row == 0) {
            emit headerDataChanged(Qt::Horizontal, 0, std::max(0, grid_->ColCount() - 1));
            return;
        }
        if (row < 1 || row - 1 >= rowCount()) return;
        const int first = col < 0 ? 0 : col;
        const int last = col < 0 ? grid_->ColCount() - 1 : col;
        emit dataChanged(index(row - 1, first), index(row - 1, last));
    }

private:
    TEntryGrid* grid_;
};

// ---------------------------------------------------------------------------
// Delegate: the formatted edit as the value column's in-place editor.

class TEntryGridDelegate : public QStyledItemDelegate {
public:
    explicit TEntryGridDelegate(TEntryGrid* grid) : QStyledItemDelegate(grid), grid_(grid) {}

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem&, const QModelIndex&) const override {
        auto* edit = new TFmtEdit(parent);
        edit->KeepFocusOnFailure = false;
        edit->setFrame(false);
        edit->SetFormatStr(grid_->CurrentFormat());
        edit->FormatType = grid_->CurrentFormatType();
        edit->SigDigs = grid_->CurrentSigDigs();
        // The sheet's display limits; the editor itself works in display units.
        edit->RangeLo = grid_->CurrentRangeLo();
        edit->RangeHi = grid_->CurrentRangeHi();
        QPalette palette = edit->palette();
        if (grid_->ColorEditMode.isValid()) palette.setColor(QPalette::Base, grid_->ColorEditMode);
        if (grid_->ColorEditModeText.isValid()) palette.setColor(QPalette::Text, grid_->ColorEditModeText);
        edit->setPalette(palette);
        edit->setAutoFillBackground(true);
        grid_->propEditor_->hide();
        grid_->spinUp_->hide();
        grid_->spinDown_->hide();
        grid_->editor_ = edit;
        return edit;
    }

    void setEditorData(QWidget* editor, const QModelIndex& index) const override {
        auto* edit = static_cast<TFmtEdit*>(editor);
        edit->SetText(grid_->Cell(index.column(), index.row() + 1));
        edit->selectAll();
    }

    void setModelData(QWidget* editor, QAbstractItemModel*, const QModelIndex& index) const override {
        auto* edit = static_cast<TFmtEdit*>(editor);
        edit->ValidateWithBeep();
        const int row = index.row() + 1;
        grid_->SetCell(index.column(), row, edit->Text());
        grid_->FireDoSetData(1, row);
    }

    void updateEditorGeometry(QWidget* editor, const QStyleOptionViewItem& option,
                              const QModelIndex&) const override {
        editor->setGeometry(option.rect);
    }

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override {
        QStyledItemDelegate::initStyleOption(option, index);
        // The value column keeps its own colour while the sheet is not focused.
        if (index.column() == 1 && (!grid_->hasFocus() || !grid_->isEnabled()) &&
            grid_->ColorEditCol.isValid())
            option->state &= ~QStyle::State_Selected;
    }

private:
    TEntryGrid* grid_;
};

// ---------------------------------------------------------------------------
// The sheet.

TEntryGrid::TEntryGrid(QWidget* parent) : TEditOnClick<QTableView>(parent), model_(new TEntryGridModel(this)) {
    // The buttons exist before the model, whose first current cell places them.
    dropDown_ = MakeButton(viewport(), PullDownPicture());
    propEditor_ = MakeButton(viewport(), PropEdPicture());
    spinUp_ = MakeButton(viewport(), SpinPicture(true));
    spinDown_ = MakeButton(viewport(), SpinPicture(false));
    setModel(model_);
    setItemDelegate(new TEntryGridDelegate(this));
    verticalHeader()->hide();
    horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    horizontalHeader()->setDefaultSectionSize(60);
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setSectionsClickable(false);
    horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setMinimumSectionSize(8);
    SetDefaultRowHeight(std::max(16, fontMetrics().height() + 4));
    setColumnWidth(0, 90);
    setColumnWidth(1, 60);
    setColumnWidth(2, 50);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setShowGrid(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                    QAbstractItemView::AnyKeyPressed | QAbstractItemView::SelectedClicked);
    setTabKeyNavigation(false);

    spinUp_->setAutoRepeat(true);
    spinDown_->setAutoRepeat(true);
    connect(dropDown_, &QToolButton::clicked, this, [this] { ToggleDropDown(); });
    connect(propEditor_, &QToolButton::clicked, this, [this] { RunPropertyEditor(); });
    connect(spinUp_, &QToolButton::clicked, this, [this] { Spin(true); });
    connect(spinDown_, &QToolButton::clicked, this, [this] { Spin(false); });
    connect(horizontalHeader(), &QHeaderView::sectionResized, this, [this] { PlaceButtons(); });
}

TEntryGrid::~TEntryGrid() {
    // The model reads the sheet's cells; detach it before the sheet goes.
    if (list_) list_->hide();
    setModel(nullptr);
    delete model_;
}

int TEntryGrid::DefaultRowHeight() const { return verticalHeader()->defaultSectionSize(); }

void TEntryGrid::SetDefaultRowHeight(int pixels) {
    verticalHeader()->setDefaultSectionSize(pixels);
    horizontalHeader()->setFixedHeight(pixels + 2);
    PlaceButtons();
}

int TEntryGrid::CurrentRow() const {
    const QModelIndex index = currentIndex();
    return index.isValid() ? index.row() + 1 : 0;
}

int TEntryGrid::CurrentCol() const {
    const QModelIndex index = currentIndex();
    return index.isValid() ? index.column() : 1;
}

void TEntryGrid::SetCurrentCell(int col, int row) {
    setCurrentIndex(model_->index(row - 1, col));
}

void TEntryGrid::FireDoSetData(int col, int row) {
    if (OnDoSetData) OnDoSetData(*this, col, row);
    emit DoSetData(col, row);
}

void TEntryGrid::FinishEditing() {
    if (!IsEditing() || !editor_) return;
    QWidget* editor = editor_;
    commitData(editor);
    closeEditor(editor, QAbstractItemDelegate::NoHint);
}

void TEntryGrid::ShowMessage(const std::string& text) {
    ShowPlainMessage(this, QString::fromStdString(text));
}

void TEntryGrid::CellChanged(int col, int row) {
    model_->Changed(col, row);
    if (col < 0 && row == CurrentRow()) SelectCell(CurrentCol(), row);
}

void TEntryGrid::RowsRebuilt() {
    CloseDropDown();
    HideButtons();
    model_->Reset();
    if (model_->rowCount() > 0) SetCurrentCell(1, 1);
}

void TEntryGrid::HideButtons() {
    for (QToolButton* button : {dropDown_, propEditor_, spinUp_, spinDown_}) {
        button->hide();
        button->setEnabled(false);
    }
}

void TEntryGrid::CloseDropDown() {
    if (list_ && list_->isVisible()) list_->hide();
}

void TEntryGrid::SelectCell(int col, int row) {
    if (col != 0 && col != 2) CloseDropDown();
    HideButtons();
    const TCellButtons buttons = PrepareCell(col, row);
    auto show = [](QToolButton* button, bool on) {
        button->setVisible(on);
        button->setEnabled(on);
    };
    show(dropDown_, buttons.DropDown);
    show(propEditor_, buttons.PropEditor);
    show(spinUp_, buttons.Spin);
    show(spinDown_, buttons.Spin);
    PlaceButtons();
}

void TEntryGrid::PlaceButtons() {
    const QModelIndex index = currentIndex();
    if (!index.isValid()) return;
    const QRect cell = visualRect(model_->index(index.row(), 1));
    const int h = rowHeight(index.row());
    const int right = cell.left() + columnWidth(1); // the cell's right end, grid line included
    dropDown_->setGeometry(right - h, cell.top(), h, h);
    propEditor_->setGeometry(right - h, cell.top(), h, h);
    const int half = static_cast<int>(std::lround(h / 2.0));
    spinUp_->setGeometry(right - h, cell.top(), h, half);
    spinDown_->setGeometry(right - h, cell.top() + half, h, half);
}

void TEntryGrid::currentChanged(const QModelIndex& current, const QModelIndex& previous) {
    QTableView::currentChanged(current, previous);
    if (reverting_) return;
    if (!current.isValid()) {
        HideButtons();
        return;
    }
    const int col = current.column();
    const int row = current.row() + 1;
    SelectCell(col, row);
    bool allowed = true;
    if (OnSelectCell) OnSelectCell(*this, col, row, allowed);
    if (!allowed && previous.isValid()) {
        reverting_ = true;
        setCurrentIndex(previous);
        reverting_ = false;
        SelectCell(previous.column(), previous.row() + 1);
    }
}

bool TEntryGrid::EnumRowIsCurrent() const {
    if (CurrentCol() != 1) return false;
    const TEnumField* field = EnumField(CurrentRow());
    return field && field->Enabled;
}

void TEntryGrid::CycleCurrentEnum(int step) {
    const int row = CurrentRow();
    if (CycleEnum(row, step)) FireDoSetData(1, row);
}

void TEntryGrid::ToggleDropDown() {
    if (list_ && list_->isVisible()) {
        list_->hide();
        setFocus(Qt::OtherFocusReason);
        return;
    }
    const int row = CurrentRow();
    TEnumField* field = EnumField(row);
    if (!field || !field->Enabled) return;
    if (!list_) list_ = new TMyListBox(this);
    list_->clear();
    const int itemHeight = DefaultRowHeight();
    for (const auto& text : field->Items) {
        auto* item = new QListWidgetItem(QString::fromStdString(text), list_);
        item->setSizeHint(QSize(0, itemHeight));
    }
    const TValue value = GetValue(1, row);
    list_->setCurrentRow(std::holds_alternative<int>(value) ? std::get<int>(value) : -1);

    const int line = showGrid() ? 1 : 0;
    const QRect cell = visualRect(model_->index(row - 1, 1));
    int width = cell.width() + line;
    const int height = (std::min(static_cast<int>(field->Items.size()), 5) + 1) * itemHeight;
    const QFontMetrics metrics(list_->font());
    for (const auto& text : field->Items) {
        const int w = metrics.horizontalAdvance(QString::fromStdString(text)) + 8;
        if (w > width && w < 200) width = w;
    }
    const QPoint topLeft = viewport()->mapToGlobal(QPoint(cell.left() + line, cell.top() + line + itemHeight));
    list_->setGeometry(QRect(topLeft, QSize(width, height)));
    list_->show();
    list_->setFocus(Qt::PopupFocusReason);
}

void TEntryGrid::Spin(bool up) {
    const int row = CurrentRow();
    if (up ? SpinUp(row) : SpinDown(row)) FireDoSetData(1, row);
}

void TEntryGrid::RunPropertyEditor() {
    const int row = CurrentRow();
    TField* field = Field(row);
    if (field && field->EditHook) {
        TValue value = GetValue(1, row);
        if (field->EditHook(value) == ehAccept) {
            SetValue(1, row, value);
            FireDoSetData(1, row);
        }
    }
    setFocus(Qt::OtherFocusReason);
}

void TEntryGrid::keyPressEvent(QKeyEvent* event) {
    const auto modifiers = event->modifiers() & ~Qt::KeypadModifier;
    if (modifiers == Qt::NoModifier && EnumRowIsCurrent() &&
        (event->key() == Qt::Key_Right || event->key() == Qt::Key_Left)) {
        CycleCurrentEnum(event->key() == Qt::Key_Right ? +1 : -1);
        event->accept();
        return;
    }
    QTableView::keyPressEvent(event);
}

void TEntryGrid::mousePressEvent(QMouseEvent* event) {
    const QModelIndex index = indexAt(event->position().toPoint());
    const int row = index.isValid() ? index.row() + 1 : 0;
    if (index.isValid() && index.column() == UnitsColumn() && Field(row) && chooser_) {
        TField* field = Field(row);
        const QPoint global = event->globalPosition().toPoint();
        chooser_(*this, row, global.x(), field, global.y());
        SetCurrentFormat(field->Format);
        if (OnAfterRightClick) OnAfterRightClick(*this, row);
        emit AfterRightClick(row);
        SetValue(1, row, GetValue(1, row));
        SetCurrentCell(UnitsColumn(), row);
        event->accept();
        return;
    }
    QTableView::mousePressEvent(event);
}

void TEntryGrid::mouseDoubleClickEvent(QMouseEvent* event) {
    if (EnumRowIsCurrent()) {
        CycleCurrentEnum(+1);
        event->accept();
        return;
    }
    QTableView::mouseDoubleClickEvent(event);
}

void TEntryGrid::focusInEvent(QFocusEvent* event) {
    QTableView::focusInEvent(event);
    if (currentIndex().isValid() && state() != QAbstractItemView::EditingState)
        SelectCell(CurrentCol(), CurrentRow());
}

void TEntryGrid::scrollContentsBy(int dx, int dy) {
    QTableView::scrollContentsBy(dx, dy);
    PlaceButtons();
}

void TEntryGrid::resizeEvent(QResizeEvent* event) {
    QTableView::resizeEvent(event);
    PlaceButtons();
}

} // namespace dvx
