// SPDX-License-Identifier: GPL-3.0-or-later
#include "presentation/report/PriceReport.h"

#include "base/platform/FileRead.h"
#include "presentation/report/LetterheadFiles.h"
#include "presentation/report/ReportStyle.h"

#include <cmath>
#include <filesystem>

namespace dvx {

namespace {

bool IsFile(const std::string& path) {
    std::error_code ec;
    return std::filesystem::is_regular_file(path, ec);
}

} // namespace

std::vector<std::string> LoadPriceLetterhead(const std::string& dataFolder, const std::string& programFolder) {
    for (const std::string& path : LetterheadCandidates(dataFolder, programFolder))
        if (IsFile(path))
            if (std::optional<std::vector<std::string>> lines = ReadLetterheadLines(path)) return *lines;
    return {" "};
}

std::string PriceLogoFile(const std::string& dataFolder, const std::string& programFolder) {
    return FirstExistingFile(LogoCandidates(dataFolder, programFolder));
}

TStdReport::TStdReport() { UseStyle(&PriceReportStyle()); }

bool TStdReport::Setup(TPageEngine& engine, TPriceReportData data, std::vector<std::string> letterhead,
                       const TPageImage* logo) {
    active_ = false;
    try {
        titles_ = {"Price Estimate Summary"};
        headings_ = {data.Heading1, data.Heading2};
        letterhead_ = std::move(letterhead);
        logo_ = logo;
        data_ = std::move(data);
    } catch (const std::exception&) {
        return false;
    }
    std::array<bool, kMarginLineCount> lines{};
    for (int line : {mlLeft, mlRight, mlTop, mlBottom, mlX1, mlX2}) lines[static_cast<std::size_t>(line)] = true;
    engine.SetActiveLines(lines);

    TReportStyle& style = *Style();
    // Tabs still at the built-in 3.5 and 11 cm would put the figures over
    // the descriptions: they move with the defaults. Tabs the user has
    // placed stay where they are.
    const TMarginValues builtIn = BuiltInMargins();
    if (style.margins[mlX1] == builtIn[mlX1] && style.margins[mlX2] == builtIn[mlX2]) {
        style.margins[mlX1] = kTab1Cm;
        style.margins[mlX2] = kTab2Cm;
    }
    style.defaults[mlX1] = kTab1Cm;
    style.defaults[mlX2] = kTab2Cm;
    active_ = true;
    return true;
}

void TStdReport::PageHeader(TPageEngine& engine, bool firstPage) {
    descriptionX_ = engine.LeftPx();
    materialX_ = engine.TabPx(1);
    labourX_ = engine.TabPx(2);
    if (firstPage) {
        const int letterheadX =
            engine.LeftPx() + static_cast<int>(std::lround((kLogoWidthCm + kLetterheadOffsetCm) * engine.PixelsPerCm().x));
        engine.LetterheadBlock(letterhead_, letterheadX, "", "", kFirstLetterheadSize, kLaterLetterheadSize);
        if (logo_ != nullptr) {
            engine.SetPenX(engine.LeftPx());
            engine.Picture(*logo_, kLogoWidthCm, 0);
        }
        engine.SetPenX(engine.LeftPx());
        engine.DateLine(Today());
        engine.TextBlock(titles_, 3, 2);
    }
    if (!headings_.empty() && !headings_.front().empty()) {
        engine.TextBlock(headings_, 2, 2);
    } else {
        engine.LineFeed(1);
    }
}

void TStdReport::Row(TPageEngine& engine, const std::string& description, const std::string& material,
                     const std::string& labour, bool bold) {
    engine.EnsureSpace(1);
    TPageCanvas& canvas = engine.Canvas();
    const bool wasBold = canvas.Bold();
    canvas.SetBold(bold);
    const int y = engine.PenY();
    canvas.TextOut(descriptionX_, y, description);
    if (!material.empty()) canvas.TextOut(materialX_, y, material);
    if (!labour.empty()) canvas.TextOut(labourX_, y, labour);
    canvas.SetBold(wasBold);
    engine.LineFeed(1);
}

void TStdReport::ReportBody(TPageEngine& engine) {
    engine.LineFeed(1);
    Row(engine, "Description", data_.CurrencySymbol.empty() ? std::string("Materials") : "Materials (" + data_.CurrencySymbol + ")", "Labour", true);
    engine.LineFeed(1);
    for (const auto& row : data_.Rows) Row(engine, row[0], row[1], row[2], false);
    engine.LineFeed(1);
    Row(engine, data_.TotalLine, "", "", false);
    engine.LineFeed(1);
    engine.BottomLine(true, data_.Version);
}

} // namespace dvx
