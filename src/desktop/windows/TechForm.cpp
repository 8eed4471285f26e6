// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/windows/TechForm.h"

#include "base/Numbers.h"
#include "presentation/ui/TechSheet.h"
#include "desktop/widgets/EntryGrid.h"

#include <QAction>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QHeaderView>
#include <QMenu>
#include <QScrollBar>
#include <QStatusBar>
#include <QStyle>
#include <QToolBar>
#include <QVBoxLayout>

namespace dvx::ui {

double SheetNumber(const TEntryGrid& grid, int row) {
    const TValue value = grid.GetValue(1, row);
    if (const auto* text = std::get_if<std::string>(&value)) return StrToFloat(*text);
    return *ValueAsNumber(value);
}

TTechForm::TTechForm(const QString& name, const QString& caption, QWidget* parent)
    : TCustomForm(name, caption, parent) {
    struct Def {
        const char* caption;
        void (TTechForm::*run)();
    };
    const Def defs[TechButtonCount] = {
        {"Open", &TTechForm::OpenClick},   {"Copy", &TTechForm::CopyClick},   {"Paste", &TTechForm::PasteClick},
        {"Solve", &TTechForm::SolveClick}, {"View", &TTechForm::ViewClick},   {"Print", &TTechForm::PrintClick},
        {"Help", &TTechForm::HelpClick},   {"About", &TTechForm::AboutClick}, {"&Save", &TTechForm::SaveClick},
        {"Align", &TTechForm::Align},      {"Reset", &TTechForm::ResetClick}, {"Cancel", &TTechForm::CancelClick},
        {"Accept", nullptr},
    };
    for (int b = 0; b < TechButtonCount; ++b) {
        buttons_[b] = AddButton(defs[b].caption);
        if (defs[b].run != nullptr)
            connect(buttons_[b], &QAction::triggered, this, [this, run = defs[b].run] { (this->*run)(); });
    }
    connect(buttons_[tbAccept], &QAction::triggered, this, [this] { AcceptClick(); });

    grid_ = new TEntryGrid(this);
    Body()->addWidget(grid_, 1);

    popup_ = new QMenu(this);
    connect(popup_->addAction("Copy to XML"), &QAction::triggered, this, [this] { CopyToXml(); });
}

void TTechForm::ShowTechButtons(std::initializer_list<TTechButton> shown) {
    for (QAction* action : buttons_) action->setVisible(false);
    for (TTechButton b : shown) buttons_[b]->setVisible(true);
}

bool TTechForm::AcceptClick() {
    grid_->FinishEditing();
    accept();
    return true;
}

void TTechForm::CancelClick() { reject(); }

QString TTechForm::XmlText() const { return QString::fromStdString(SheetToXml(*grid_)); }

void TTechForm::CopyToXml() { QGuiApplication::clipboard()->setText(XmlText()); }

void TTechForm::contextMenuEvent(QContextMenuEvent* event) {
    popup_->popup(event->globalPos());
    event->accept();
}

void TTechForm::Align() {
    TAlignInput in;
    const QFontMetrics metrics(grid_->font());
    for (int c = 0; c < grid_->ColCount(); ++c) {
        int widest = 0;
        for (int r = 0; r < grid_->RowCount(); ++r)
            widest = std::max(widest, metrics.horizontalAdvance(QString::fromStdString(grid_->Cell(c, r))));
        in.WidestText.push_back(widest);
    }
    in.RowHeight = grid_->DefaultRowHeight();
    in.RowCount = grid_->RowCount();
    in.GridLineWidth = grid_->showGrid() ? 1 : 0;
    in.SingleBorder = grid_->frameShape() != QFrame::NoFrame;
    in.ToolBarHeight = ToolBar()->sizeHint().height();
    in.StatusBarHeight = StatusText()->parentWidget()->sizeHint().height();
    in.WindowWidth = frameGeometry().width();
    in.WindowHeight = frameGeometry().height();
    in.ClientWidth = width();
    in.ClientHeight = height();
    in.ScrollBarWidth = std::max(19, style()->pixelMetric(QStyle::PM_ScrollBarExtent));
    const TAlignResult out = AlignSheet(in);
    for (std::size_t c = 0; c < out.ColumnWidths.size(); ++c)
        grid_->setColumnWidth(static_cast<int>(c), out.ColumnWidths[c]);
    resize(out.WindowWidth - (in.WindowWidth - in.ClientWidth), out.WindowHeight - (in.WindowHeight - in.ClientHeight));
}

} // namespace dvx::ui
