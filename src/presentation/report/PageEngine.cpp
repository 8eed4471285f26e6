// SPDX-License-Identifier: GPL-3.0-or-later
#include "presentation/report/PageEngine.h"

#include "base/Format.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <ctime>
#include <stdexcept>

namespace dvx {

namespace {

int Round(double v) { return static_cast<int>(std::lround(v)); }

// Restores the canvas font when an operation that changes it ends.
class FontKeeper {
public:
    explicit FontKeeper(TPageCanvas& c) : canvas_(c), saved_(c.Font()) {}
    ~FontKeeper() { canvas_.SetFont(saved_); }
    FontKeeper(const FontKeeper&) = delete;
    FontKeeper& operator=(const FontKeeper&) = delete;

private:
    TPageCanvas& canvas_;
    TReportFont saved_;
};

} // namespace

std::string PlainLongDate(const std::chrono::year_month_day& date) {
    static const std::array<const char*, 12> months{
        "January", "February", "March",     "April",   "May",      "June",
        "July",    "August",   "September", "October", "November", "December"};
    unsigned m = static_cast<unsigned>(date.month());
    if (m < 1 || m > 12) return {};
    return Format("%d %s %d", {static_cast<int>(static_cast<unsigned>(date.day())),
                                months[m - 1], static_cast<int>(date.year())});
}

std::chrono::year_month_day Today() {
    // The local calendar day.
    std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return std::chrono::year_month_day{std::chrono::year{local.tm_year + 1900},
                                       std::chrono::month{static_cast<unsigned>(local.tm_mon + 1)},
                                       std::chrono::day{static_cast<unsigned>(local.tm_mday)}};
}

TPageEngine::TPageEngine() : margins_(BuiltInMargins()), defaults_(BuiltInMargins()) {}

void TPageEngine::WriteDocument(TPageDevice& device, const TDeviceSetup& setup) {
    if (report_ == nullptr) return;
    // The device is only known while this layout runs.
    struct DeviceScope {
        TPageDevice*& slot;
        ~DeviceScope() { slot = nullptr; }
    } scope{device_};
    device_ = &device;
    setup_ = setup;
    ComputeLayout();
    rowPages_.clear();
    headerGuard_ = false;
    CallPageHeader(true);
    report_->ReportBody(*this);
    // A one-page document carries no page number.
    if (device.PageCount() >= 2) PageFooter();
}

void TPageEngine::ComputeLayout() {
    layout_ = ComputePixelLayout(margins_, setup_.ppcm, setup_.pageWidthPx, setup_.pageHeightPx,
                                 setup_.lineHeight);
}

int TPageEngine::HalfLine() const { return Round(setup_.lineHeight / 2); }

TPageCanvas& TPageEngine::Canvas() {
    if (device_ == nullptr) throw std::logic_error("no page is being written");
    return device_->Canvas();
}

int TPageEngine::PageCount() const { return device_ ? device_->PageCount() : 0; }

void TPageEngine::StartPageHeader() {
    Canvas().SetFontSize(reportFont_.size);
    penX_ = layout_.leftPx;
    penY_ = layout_.topPx;
    lineCounter_ = 0;
    bodyOrigin_ = layout_.topPx;
}

void TPageEngine::CallPageHeader(bool firstPage) {
    StartPageHeader();
    report_->PageHeader(*this, firstPage);
    headerGuard_ = !firstPage;
    headerEndY_ = penY_;
    headerEndPage_ = PageCount();
}

void TPageEngine::MoveToLine() { penY_ = bodyOrigin_ + Round(lineCounter_ * setup_.lineHeight); }

void TPageEngine::LineFeed(int n) {
    lineCounter_ += n;
    MoveToLine();
}

void TPageEngine::EnsureSpace(int n) {
    if (penY_ + n * setup_.lineHeight <= layout_.textLimit) return;
    // Nothing has been written below a continuation page's header yet: a
    // fresh page would end the same way, so write on (over the limit)
    // instead of starting pages without end.
    if (headerGuard_ && PageCount() == headerEndPage_ && penY_ == headerEndY_) return;
    NewPage();
}

void TPageEngine::RowSpace(int n) {
    const std::size_t row = rowPages_.size();
    if (row < followPages_.size()) {
        // Never more pages than the followed layout had up to this row.
        const int target = followPages_[row];
        while (PageCount() < target) NewPage();
    } else {
        EnsureSpace(n);
    }
    rowPages_.push_back(PageCount());
}

void TPageEngine::NewPage(bool withPageEnd) {
    PageFooter(withPageEnd);
    device_->StartNewPage();
    // A fresh page image starts with the report font; a printer sheet keeps
    // the canvas font it had.
    if (!printing_) Canvas().SetFont(reportFont_);
    CallPageHeader(false);
}

void TPageEngine::PageFooter(bool withPageEnd) {
    if (withPageEnd && report_) report_->PageEnd(*this);
    TPageCanvas& c = Canvas();
    std::string text = Format("- %d -", {PageCount()});
    int x = layout_.leftPx + Round((layout_.rightPx - layout_.leftPx - c.TextWidth(text)) / 2.0);
    c.TextOut(x, layout_.bottomPx, text);
}

void TPageEngine::TextBlock(const std::vector<std::string>& lines, int sizeStep, int advance) {
    if (lines.empty()) return;
    TPageCanvas& c = Canvas();
    FontKeeper keep(c);
    c.SetBold(true);
    if (!lines[0].empty()) {
        c.SetFontSize(reportFont_.size + sizeStep);
        c.TextOut(layout_.leftPx, penY_, lines[0]);
        LineFeed(advance);
    }
    for (std::size_t i = 1; i < lines.size(); ++i) {
        c.SetFontSize(reportFont_.size + sizeStep - 2);
        c.TextOut(layout_.leftPx, penY_, lines[i]);
        LineFeed(1);
    }
    if (lines.size() > 1) LineFeed(1);
}

void TPageEngine::LetterheadBlock(const std::vector<std::string>& lines, int x,
                                  const std::string& firstLineFont,
                                  const std::string& laterLinesFont, int firstLineSize,
                                  int laterLinesSize) {
    if (lines.empty()) return;
    TPageCanvas& c = Canvas();
    int y0 = penY_;
    int y = y0;
    c.SetBold(true);
    if (!lines[0].empty()) {
        c.SetFontName(firstLineFont.empty() ? reportFont_.name : firstLineFont);
        c.SetFontSize(firstLineSize);
        c.TextOut(x, y, lines[0]);
        y += Round(1.25 * c.TextHeight("X"));
    }
    for (std::size_t i = 1; i < lines.size(); ++i) {
        c.SetFontName(laterLinesFont.empty() ? reportFont_.name : laterLinesFont);
        c.SetFontSize(laterLinesSize);
        c.TextOut(x, y, lines[i]);
        y += c.TextHeight("X");
    }
    TReportFont f = c.Font();
    f.name = reportFont_.name;
    f.size = reportFont_.size;
    f.style = reportFont_.style;
    c.SetFont(f);
    if (setup_.lineHeight > 0) LineFeed(Round((y - y0) / setup_.lineHeight));
}

void TPageEngine::DateLine(const std::chrono::year_month_day& date) {
    TPageCanvas& c = Canvas();
    {
        FontKeeper keep(c);
        c.SetBold(true);
        std::string text = LongDate(date);
        c.TextOut(layout_.rightPx - c.TextWidth(text), penY_, text);
    }
    LineFeed(2);
}

void TPageEngine::Rule(int x1, int x2) {
    int y = penY_ + HalfLine();
    Canvas().Line(x1, y, x2, y);
    LineFeed(1);
}

void TPageEngine::VerticalLine(int x, int y1, int y2) { Canvas().Line(x, y1, x, y2); }

void TPageEngine::CellText(int x1, int x2, std::string_view text, int align, bool markOverflow) {
    TPageCanvas& c = Canvas();
    std::string shown(text);
    if (markOverflow && c.TextWidth(shown) > x2 - x1) shown = "*****";
    int x = align == 0 ? x2 - c.TextWidth(shown) : x1;
    c.TextRect(x1, penY_, x2, penY_ + c.TextHeight("X"), x, penY_, shown);
}

void TPageEngine::BottomLine(bool withRule, std::string_view version) {
    if (withRule) Rule(layout_.leftPx, layout_.rightPx);
    TPageCanvas& c = Canvas();
    FontKeeper keep(c);
    c.SetFontSize(reportFont_.size);
    c.TextOut(layout_.leftPx, penY_, std::string(kApplicationTitle) + " " + std::string(version));
}

void TPageEngine::Picture(const TPageImage& image, double widthCm, int fromLine) {
    if (image.Width() <= 0 || image.Height() <= 0) return;
    int width = Round(widthCm * setup_.ppcm.x);
    int height = Round(static_cast<double>(width) * image.Height() / image.Width());
    int y = bodyOrigin_ + Round(fromLine * setup_.lineHeight);
    Canvas().Draw(image, penX_, y, width, height);
    if (setup_.lineHeight <= 0) return;
    int lines = static_cast<int>(std::ceil(height / setup_.lineHeight));
    lineCounter_ = std::max(lineCounter_, fromLine + lines);
    MoveToLine();
}

void TPageEngine::Message(TMessageKind kind, const std::string& text) const {
    if (message_) message_(kind, text);
}

std::string TPageEngine::LongDate(const std::chrono::year_month_day& date) const {
    return dateFormatter_ ? dateFormatter_(date) : PlainLongDate(date);
}

void TPageEngine::PrintDocument(const std::string& jobTitle) {
    if (printHandler_) printHandler_(jobTitle);
}

} // namespace dvx
