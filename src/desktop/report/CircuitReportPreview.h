// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The circuit report in the report preview: the grid report's hooks
// installed in the preview, the letterhead and logo handed over at start-up,
// and the report shown from the main window's "Pre&view" command.

#include "engine/hydraulics/ProjectContext.h"

#include <string>

namespace dvx {

class TCircuit;
class TGridReport;
class TPreviewForm;

// Installs the grid report in the preview (hooks, the style "Report", the
// four page margins draggable, the reduced-font message armed).
void PrepareGridReport(TPreviewForm& form, TGridReport& report);

// The program's report with the logo decoder, and its letterhead and logo:
// "LetterHead.txt" and "ReportLogo.gif" from the user's `dataFolder`, else
// from `programFolder` (both end with "/"; see LetterheadFiles.h).
void SetReportLetterhead(const std::string& dataFolder, const std::string& programFolder);

// Fills the report from the circuit as the grid shows it and the project's
// liquid, and shows the preview modally.
void ShowCircuitReport(TPreviewForm& form, const TProjectContext& project, const TCircuit& circuit,
                       bool groupsOn, bool typesOn, unsigned extras = 0);

} // namespace dvx
