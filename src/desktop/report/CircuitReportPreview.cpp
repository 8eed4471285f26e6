// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/report/CircuitReportPreview.h"

#include "engine/hydraulics/ProjectContext.h"
#include "presentation/report/CircuitReport.h"
#include "presentation/report/GridReport.h"
#include "presentation/report/LetterheadFiles.h"
#include "desktop/report/LogoImage.h"
#include "desktop/report/PreviewWindow.h"

namespace dvx {

void PrepareGridReport(TPreviewForm& form, TGridReport& report) {
    form.SetReport(&report);
    report.Prepare(form.Engine());
}

void SetReportLetterhead(const std::string& dataFolder, const std::string& programFolder) {
    TGridReport& report = GridReport();
    report.SetImageLoader(LoadLogoImage);
    report.SetLetterhead(FirstExistingFile(LetterheadCandidates(dataFolder, programFolder)),
                         FirstExistingFile(LogoCandidates(dataFolder, programFolder)), false, "", "", 4, 4);
}

void ShowCircuitReport(TPreviewForm& form, const TProjectContext& project, const TCircuit& circuit,
                       bool groupsOn, bool typesOn, unsigned extras) {
    TGridReport& report = GridReport();
    PrepareGridReport(form, report);
    FillCircuitReport(report.Setup(), circuit, project, groupsOn, typesOn, project.Liquid, extras);
    form.exec();
}

} // namespace dvx
