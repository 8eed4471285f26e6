// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The "Price Estimate Summary" report: a small report routine on the page
// engine that prints the price window's eight rows and the total under the
// letterhead, the logo, the date, the title and the circuit's headings. It
// uses the report style "Report 2".

#include "presentation/report/PageEngine.h"
#include "presentation/report/ReportRoutine.h"

#include <array>
#include <string>
#include <vector>

namespace dvx {

// The letterhead's lines from the first readable file of
// LetterheadCandidates (the user's data folder, then the program folder),
// else the single line " ".
std::vector<std::string> LoadPriceLetterhead(const std::string& dataFolder, const std::string& programFolder);
// The logo's file: the first of LogoCandidates that exists, else the last one.
std::string PriceLogoFile(const std::string& dataFolder, const std::string& programFolder);

// What the report prints, as the price window shows it.
struct TPriceReportData {
    std::vector<std::array<std::string, 3>> Rows; // description, material, hours
    std::string TotalLine;      // "Total Price = %m  (%0.0f hrs)"
    std::string CurrencySymbol;
    std::string Heading1;
    std::string Heading2;
    std::string Version;        // the program's version text for the last line
};

class TStdReport : public TReportRoutine {
public:
    static constexpr double kLogoWidthCm = 3;       // the logo's printed width
    static constexpr double kLetterheadOffsetCm = 6; // from the logo's right edge
    static constexpr double kTab1Cm = 8;             // default X1: material figures
    static constexpr double kTab2Cm = 12;            // default X2: labour figures
    static constexpr int kFirstLetterheadSize = 10;  // points
    static constexpr int kLaterLetterheadSize = 8;   // points

    TStdReport();

    // Takes the lines to print and prepares `engine` (active margin lines,
    // the style "Report 2" with X1 8 cm and X2 12 cm as its defaults). False
    // when the lines could not be stored; the report is then inactive.
    bool Setup(TPageEngine& engine, TPriceReportData data, std::vector<std::string> letterhead,
               const TPageImage* logo);
    bool Active() const { return active_; }
    void Deactivate() { active_ = false; }

    void PageHeader(TPageEngine& engine, bool firstPage) override;
    void ReportBody(TPageEngine& engine) override;
    std::string JobTitle() const override { return titles_.empty() ? std::string() : titles_.front(); }

    const std::vector<std::string>& Titles() const { return titles_; }

private:
    void Row(TPageEngine& engine, const std::string& description, const std::string& material,
             const std::string& labour, bool bold);

    bool active_ = false;
    int descriptionX_ = 0; // pixels
    int materialX_ = 0;    // pixels
    int labourX_ = 0;      // pixels
    std::vector<std::string> titles_;
    std::vector<std::string> headings_;
    std::vector<std::string> letterhead_;
    const TPageImage* logo_ = nullptr;
    TPriceReportData data_;
};

} // namespace dvx
