// SPDX-License-Identifier: GPL-3.0-or-later
#include "presentation/report/ReportRoutine.h"

#include "presentation/report/PageEngine.h"
#include "presentation/report/ReportStyle.h"

namespace dvx {

void TReportRoutine::LoadStyle(TPageEngine& engine) {
    if (style_ == nullptr) return;
    engine.SetMargins(style_->margins);
    engine.SetDefaultMargins(style_->defaults);
    engine.SetZoom(style_->zoom);
    engine.SetReportFont(style_->font);
}

void TReportRoutine::SaveStyle(TPageEngine& engine) {
    if (style_ == nullptr) return;
    style_->margins = engine.Margins();
    style_->zoom = engine.Zoom();
    style_->font = engine.ReportFont();
}

void TReportRoutine::PrintReport(TPageEngine& engine) { engine.PrintDocument(JobTitle()); }

} // namespace dvx
