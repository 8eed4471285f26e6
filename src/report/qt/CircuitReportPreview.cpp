// SPDX-License-Identifier: GPL-3.0-or-later
#include "report/qt/CircuitReportPreview.h"

#include "fluid/Fluid.h"
#include "report/CircuitReport.h"
#include "report/GridReport.h"
#include "report/LetterheadFiles.h"
#include "report/qt/LogoImage.h"
#include "report/qt/fReport.h"

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

void ShowCircuitReport(TPreviewForm& form, const TCircuit& circuit, bool groupsOn, bool typesOn) {
    TGridReport& report = GridReport();
    PrepareGridReport(form, report);
    FillCircuitReport(report.Setup(), circuit, groupsOn, typesOn, SystemFluid);
    form.exec();
}

} // namespace dvx
