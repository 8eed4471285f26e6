// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/windows/CostEditor.h"

#include "storage/catalogue/CatalogueFiles.h"
#include "engine/catalogue/Tables.h"
#include "base/platform/Folders.h"
#include "desktop/widgets/Messages.h"
#include "desktop/widgets/FmtEdit.h"

#include <QCloseEvent>
#include <QHeaderView>
#include <QStyledItemDelegate>
#include <QTabWidget>
#include <QToolBar>
#include <QVBoxLayout>

namespace dvx::ui {

namespace {

constexpr int kColumnWidth = 55;         // pixels, every value column
constexpr int kFittingNameWidth = 120;   // pixels, the heading column of "Fittings"
constexpr int kRowHeight = 16;           // pixels, at least

// The formatted edit as the in-place editor of the value cells.
class TCostCellDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem&, const QModelIndex&) const override {
        auto* edit = new TFmtEdit(parent);
        edit->KeepFocusOnFailure = false;
        edit->setFrame(false);
        edit->SetFormatStr(CostCellFormat);
        edit->FormatType = ft_Fixed;
        edit->SigDigs = 5;
        edit->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        return edit;
    }

    void setEditorData(QWidget* editor, const QModelIndex& index) const override {
        auto* edit = static_cast<TFmtEdit*>(editor);
        edit->SetText(index.data(Qt::DisplayRole).toString().toStdString());
        edit->selectAll();
    }

    void setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const override {
        auto* edit = static_cast<TFmtEdit*>(editor);
        edit->ValidateWithBeep();
        model->setData(index, QString::fromStdString(edit->Text()), Qt::DisplayRole);
    }

    void updateEditorGeometry(QWidget* editor, const QStyleOptionViewItem& option, const QModelIndex&) const override {
        editor->setGeometry(option.rect);
    }
};

} // namespace

// ------------------------------------------------------------------ grid

TCostGrid::TCostGrid(int cols, int rows, const TCatalogueTables& tables, QWidget* parent)
    : TEditOnClick<QTableWidget>(rows - 1, cols - 1, parent), cols_(cols), rows_(rows) {
    setItemDelegate(new TCostCellDelegate(this));
    horizontalHeader()->setDefaultSectionSize(kColumnWidth);
    horizontalHeader()->setMinimumSectionSize(20);
    horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setSectionsClickable(false);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setMinimumSectionSize(8);
    verticalHeader()->setDefaultSectionSize(std::max(kRowHeight, fontMetrics().height() + 4));
    verticalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    verticalHeader()->setHighlightSections(false);
    verticalHeader()->setSectionsClickable(false);
    verticalHeader()->setFixedWidth(cols == FittingGridCols ? kFittingNameWidth : kColumnWidth);
    if (cols == FittingGridCols) {
        // 120 pixels, or wider when the fitting names need it in this font.
        int widest = 0;
        for (const TFittingRec& rec : tables.FittingTable)
            widest = std::max(widest, fontMetrics().horizontalAdvance(QString::fromStdString(rec.FittingName)));
        verticalHeader()->setFixedWidth(std::max(kFittingNameWidth, widest + 12));
    }
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                    QAbstractItemView::AnyKeyPressed | QAbstractItemView::SelectedClicked);
    for (int r = 1; r < rows; ++r)
        for (int c = 1; c < cols; ++c) {
            auto* item = new QTableWidgetItem;
            item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            setItem(r - 1, c - 1, item);
        }
    connect(this, &QTableWidget::itemChanged, this, [this](QTableWidgetItem* item) {
        if (!filling_) emit CellValueChanged(item->column() + 1, item->row() + 1);
    });
}

QString TCostGrid::Cell(int col, int row) const {
    if (row == 0) {
        QTableWidgetItem* h = horizontalHeaderItem(col - 1);
        return col == 0 || h == nullptr ? QString() : h->text();
    }
    if (col == 0) {
        QTableWidgetItem* h = verticalHeaderItem(row - 1);
        return h == nullptr ? QString() : h->text();
    }
    QTableWidgetItem* cell = item(row - 1, col - 1);
    return cell == nullptr ? QString() : cell->text();
}

void TCostGrid::SetCell(int col, int row, const QString& text) {
    if (col <= 0 || row <= 0 || col >= cols_ || row >= rows_) return;
    item(row - 1, col - 1)->setText(text);
}

void TCostGrid::Fill(const TTextGrid& grid) {
    filling_ = true;
    QStringList top;
    for (int c = 1; c < cols_; ++c) top << QString::fromStdString(grid.At(c, 0));
    setHorizontalHeaderLabels(top);
    QStringList left;
    for (int r = 1; r < rows_; ++r) left << QString::fromStdString(grid.At(0, r));
    setVerticalHeaderLabels(left);
    for (int r = 1; r < rows_; ++r)
        for (int c = 1; c < cols_; ++c) item(r - 1, c - 1)->setText(QString::fromStdString(grid.At(c, r)));
    filling_ = false;
}

TTextGrid TCostGrid::Texts() const {
    TTextGrid grid(cols_, rows_);
    for (int r = 0; r < rows_; ++r)
        for (int c = 0; c < cols_; ++c) grid.At(c, r) = Cell(c, r).toStdString();
    return grid;
}

void TCostGrid::CommitEdit() {
    QWidget* editor = indexWidget(currentIndex());
    if (editor == nullptr) return;
    commitData(editor);
    closeEditor(editor, QAbstractItemDelegate::NoHint);
}

void TCostGrid::GoTo(int col, int row) {
    if (col <= 0 || row <= 0 || col >= cols_ || row >= rows_) return;
    setCurrentCell(row - 1, col - 1);
}

// ---------------------------------------------------------------- editor

TCostEditor::TCostEditor(TProjectContext project, const QString& caption, TCostTables tables,
                         QWidget* parent)
    : QDialog(parent), project_(project), tables_(tables) {
    setWindowTitle(caption);
    setModal(true);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    auto* bar = new QToolBar(this);
    bar->setToolButtonStyle(Qt::ToolButtonTextOnly);
    QAction* save = bar->addAction("Save");
    QAction* close = bar->addAction("Close");
    connect(save, &QAction::triggered, this, [this] { SaveClick(); });
    connect(close, &QAction::triggered, this, [this] { CloseClick(); });
    layout->addWidget(bar);

    panel_ = new QWidget(this);
    panel_->setMinimumHeight(34);
    layout->addWidget(panel_);

    tabs_ = new QTabWidget(this);
    pipeGrid_ = new TCostGrid(PipeGridCols, PipeGridRows, project_.Tables, tabs_);
    fittingGrid_ = new TCostGrid(FittingGridCols, FittingGridRows, project_.Tables, tabs_);
    tabs_->addTab(pipeGrid_, "Straight Pipe");
    tabs_->addTab(fittingGrid_, "Fittings");
    layout->addWidget(tabs_, 1);
    for (TCostGrid* grid : {pipeGrid_, fittingGrid_})
        connect(grid, &TCostGrid::CellValueChanged, this, [this] { modified_ = true; });

    // The straight pipe grid whole; the fittings grid scrolls.
    const int rowHeight = pipeGrid_->verticalHeader()->defaultSectionSize();
    resize(kFittingNameWidth + 10 * kColumnWidth + 30, 90 + PipeGridRows * rowHeight + 40);
}

int TCostEditor::Execute() { return exec(); }

void TCostEditor::FillFromTables() {
    pipeGrid_->Fill(MakePipeGrid(project_.Tables, tables_));
    fittingGrid_->Fill(MakeFittingGrid(project_.Tables, tables_));
}

void TCostEditor::showEvent(QShowEvent* event) {
    if (!event->spontaneous()) {
        FillFromTables();
        modified_ = false;
    }
    QDialog::showEvent(event);
}

bool TCostEditor::SaveClick() {
    pipeGrid_->CommitEdit();
    fittingGrid_->CommitEdit();
    TCostGrid* grid = pipeGrid_;
    try {
        ReadPipeGrid(pipeGrid_->Texts(), project_.Tables, tables_);
        grid = fittingGrid_;
        ReadFittingGrid(fittingGrid_->Texts(), project_.Tables, tables_);
        ReadExtraFields();
        SaveCatalogues(DataFolder(), project_.Tables);
    } catch (const TCostCellError& e) {
        tabs_->setCurrentWidget(grid);
        grid->GoTo(e.Col, e.Row);
        ShowMessage(this, MsgKind::Error, QString::fromUtf8(e.what()));
        return false;
    } catch (const std::exception& e) {
        ShowMessage(this, MsgKind::Error, QString::fromUtf8(e.what()));
        return false;
    }
    modified_ = false;
    return true;
}

bool TCostEditor::CanClose() {
    pipeGrid_->CommitEdit();
    fittingGrid_->CommitEdit();
    if (!modified_) return true;
    auto answer = ShowMessage(this, MsgKind::Confirmation, "Not Saved\nSave now?", QMessageBox::Yes | QMessageBox::No);
    if (answer != QMessageBox::Yes) return true;
    return SaveClick();
}

void TCostEditor::CloseClick() { reject(); }

void TCostEditor::reject() {
    // "Close", Escape and the window's close box all come here.
    if (!CanClose()) return;
    QDialog::reject();
}

} // namespace dvx::ui
