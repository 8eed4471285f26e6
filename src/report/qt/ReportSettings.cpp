// SPDX-License-Identifier: GPL-3.0-or-later
#include "report/qt/ReportSettings.h"

#include "report/ReportStyle.h"
#include "report/SettingsStyleStorage.h"
#include "report/qt/QtPageCanvas.h"

#include <QApplication>

namespace dvx {

void LoadReportStyles(SettingsStore& store) {
    TSettingsStyleStorage styles(store);
    ReadReportStyles(styles, ReportFontFromQFont(QApplication::font(), TReportFont{}));
}

void SaveReportStyles(SettingsStore& store) {
    TSettingsStyleStorage styles(store);
    WriteReportStyles(styles);
}

} // namespace dvx
