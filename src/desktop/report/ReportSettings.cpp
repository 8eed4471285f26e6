// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/report/ReportSettings.h"

#include "presentation/report/ReportStyle.h"
#include "presentation/report/SettingsStyleStorage.h"
#include "desktop/report/QtPageCanvas.h"

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
