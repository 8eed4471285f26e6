// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/widgets/UnitsChooser.h"

#include "desktop/widgets/EntryGrid.h"

#include <QDialog>
#include <QListWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

namespace dvx {

void ChooseUnits(TEntryGrid& sheet, int row, int x, TField* field, int y) {
    auto* num = dynamic_cast<TNumField*>(field);
    if (!num || num->UnitsType == utNone) return;
    const std::vector<std::string> labels = UnitLabels(num->UnitsType);

    QDialog popup(&sheet, Qt::Popup | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
    popup.setObjectName(QStringLiteral("UnitsChooser"));
    auto* layout = new QVBoxLayout(&popup);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSizeConstraint(QLayout::SetNoConstraint);
    auto* list = new QListWidget(&popup);
    list->setMinimumSize(0, 0);
    list->setUniformItemSizes(true);
    list->setFrameStyle(QFrame::Box | QFrame::Plain);
    list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    layout->addWidget(list);

    const int itemHeight = sheet.DefaultRowHeight();
    const QFontMetrics metrics(list->font());
    int widest = 50;
    for (const auto& label : labels) {
        auto* item = new QListWidgetItem(QString::fromStdString(label), list);
        item->setSizeHint(QSize(0, itemHeight));
        widest = std::max(widest, metrics.horizontalAdvance(item->text()));
    }
    list->setCurrentRow(std::clamp(num->UnitsValue, 0, std::max(0, list->count() - 1)));
    popup.setMinimumSize(0, 0);
    popup.setGeometry(x, y, widest + 10,
                      static_cast<int>(std::lround(itemHeight * (static_cast<double>(labels.size()) + 0.5))));
    // Enter (activation) or a press on an item closes it; Escape and a click
    // elsewhere close it through the dialog.
    QObject::connect(list, &QListWidget::activated, &popup, &QDialog::accept);
    QObject::connect(list, &QListWidget::itemPressed, &popup, &QDialog::accept);
    list->setFocus(Qt::PopupFocusReason);
    popup.exec();
    sheet.SetUnitsValue(row, std::max(0, list->currentRow()));
}

} // namespace dvx
