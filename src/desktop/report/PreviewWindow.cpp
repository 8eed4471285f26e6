// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/report/PreviewWindow.h"

#include "desktop/widgets/QtText.h"
#include "base/Format.h"
#include "desktop/report/GifWriter.h"
#include "desktop/report/PageView.h"
#include "desktop/report/QtPageCanvas.h"
#include "desktop/widgets/WindowPlacement.h"
#include "storage/settings/SettingsStore.h"

#include <QAction>
#include <QApplication>
#include <QDate>
#include <QDir>
#include <QEvent>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QLocale>
#include <QPageLayout>
#include <QPageSize>
#include <QPrinter>
#include <QPrinterInfo>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QToolBar>
#include <QVBoxLayout>

#include <algorithm>
#include <exception>
#include <stdexcept>

namespace dvx {

namespace {

constexpr double kCmPerInch = 2.54;

// Restores the cursor however a layout ends.
struct BusyCursor {
    BusyCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~BusyCursor() { QApplication::restoreOverrideCursor(); }
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;
};


} // namespace

TPreviewForm::TPreviewForm(QWidget* parent, SettingsStore* settings)
    : QDialog(parent), seams_(DesktopPreviewSeams(this)), settings_(settings) {
    setObjectName("PreviewForm");
    setWindowTitle(tr("Report Preview"));
    BuildWindow();

    engine_.SetMessageSink([this](TMessageKind kind, const std::string& text) {
        Message(kind, Q(text));
    });
    engine_.SetDateFormatter([](const std::chrono::year_month_day& d) {
        QDate date(static_cast<int>(d.year()), static_cast<int>(static_cast<unsigned>(d.month())),
                   static_cast<int>(static_cast<unsigned>(d.day())));
        return QLocale().toString(date, QLocale::LongFormat).toStdString();
    });
    engine_.SetPrintHandler([this](const std::string& title) { PrintCopies(title); });
    engine_.SetReportFont(ReportFontFromQFont(QApplication::font(), TReportFont{}));
    resize(820, 900);
    RestoreWindowPlacement();
}

TPreviewForm::~TPreviewForm() = default;

void TPreviewForm::BuildWindow() {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    toolBar_ = new QToolBar(this);
    toolBar_->setToolButtonStyle(Qt::ToolButtonTextOnly);
    auto add = [this](const QString& text, const QString& shown, const char* name,
                      void (TPreviewForm::*slot)(), QKeySequence key = {}) {
        QAction* a = toolBar_->addAction(text);
        a->setIconText(shown);
        a->setToolTip(text);
        a->setObjectName(name);
        if (!key.isEmpty()) a->setShortcut(key);
        connect(a, &QAction::triggered, this, slot);
        return a;
    };
    actPrevious_ = add(tr("Previous page"), tr("< Previous"), "actPrevious", &TPreviewForm::PreviousPage);
    actNext_ = add(tr("Next page"), tr("Next >"), "actNext", &TPreviewForm::NextPage);
    toolBar_->addSeparator();
    act100_ = add(tr("100%"), tr("100%"), "act100", &TPreviewForm::Show100);
    actFullPage_ = add(tr("View Full Page"), tr("Full Page"), "actFullPage", &TPreviewForm::ShowFullPage);
    toolBar_->addSeparator();
    actMargins_ = add(tr("Margins on/off"), tr("Margins"), "actMargins", &TPreviewForm::ToggleMargins);
    actMargins_->setCheckable(true);
    add(tr("Reset margins"), tr("Reset"), "actResetMargins", &TPreviewForm::ResetMargins);
    add(tr("Change font"), tr("Font..."), "actFont", &TPreviewForm::ChangeFont);
    toolBar_->addSeparator();
    add(tr("Printer Setup"), tr("Setup..."), "actPrinterSetup", &TPreviewForm::PrinterSetup);
    add(tr("Print"), tr("Print"), "actPrint", &TPreviewForm::Print, QKeySequence::Print);
    toolBar_->addSeparator();
    add(tr("Write report to a GIF file."), tr("GIF..."), "actGif", &TPreviewForm::WriteGif);
    add(tr("Write report to a PDF file."), tr("PDF..."), "actPdf", &TPreviewForm::WritePdf);
    add(tr("Send report as email attachment"), tr("E-mail..."), "actMail", &TPreviewForm::SendMail);
    toolBar_->addSeparator();
    QAction* close = toolBar_->addAction(tr("Close"));
    close->setObjectName("actClose");
    connect(close, &QAction::triggered, this, &QDialog::accept);
    layout->addWidget(toolBar_);

    scroll_ = new QScrollArea(this);
    scroll_->setWidgetResizable(false);
    scroll_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    scroll_->setBackgroundRole(QPalette::Dark);
    scroll_->setFocusPolicy(Qt::StrongFocus);
    view_ = new TPageView;
    view_->SetPages(&pages_);
    scroll_->setWidget(view_);
    scroll_->installEventFilter(this);
    layout->addWidget(scroll_, 1);
    connect(view_, &TPageView::MarginReleased, this, &TPreviewForm::MarginReleased);

    auto* bar = new QStatusBar(this);
    bar->setSizeGripEnabled(true);
    status_[0] = new QLabel(bar);
    status_[0]->setMinimumWidth(80);
    status_[1] = new QLabel(bar);
    bar->addWidget(status_[0]);
    bar->addWidget(status_[1], 1);
    layout->addWidget(bar);
}

namespace {
constexpr const char* kPlacementSection = "PreviewForm";
} // namespace

void TPreviewForm::RestoreWindowPlacement() {
    if (settings_ == nullptr) return;
    try {
        const TWindowPlacement p = dvx::RestoreWindowPlacement(*this, *settings_, kPlacementSection, true);
        if (p.WinState == 1) setWindowState(Qt::WindowMinimized);
        if (p.WinState == 2) setWindowState(Qt::WindowMaximized);
    } catch (const std::exception& e) {
        Message(TMessageKind::Error, "Error on Report FormCreate... \r\n" + Q(e.what()));
    }
}

void TPreviewForm::SaveWindowPlacement() {
    if (settings_ == nullptr) return;
    try {
        // The normal place, also while maximised or minimised, with the state.
        dvx::SaveWindowPlacement(*this, *settings_, kPlacementSection);
    } catch (const std::exception& e) {
        Message(TMessageKind::Error, Q(e.what()));
    }
}

void TPreviewForm::SetReport(TReportRoutine* report) {
    report_ = report;
    engine_.SetReport(report);
}

QString TPreviewForm::StatusText(int panel) const { return status_.at(panel)->text(); }

void TPreviewForm::Message(TMessageKind kind, const QString& text) {
    if (seams_.message) seams_.message(kind, text);
}

void TPreviewForm::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!event->spontaneous()) Activate();
}

void TPreviewForm::Activate() {
    if (report_) report_->LoadStyle(engine_);
    engine_.SetPrinting(false);
    currentPage_ = 0;
    SetMarginsMode(false);
    DoReport();
    scroll_->setFocus();
}

bool TPreviewForm::EnsurePrinterObject() {
    if (!printer_ && seams_.makePrinter) printer_ = seams_.makePrinter();
    return printer_ != nullptr;
}

QString TPreviewForm::PrinterLabel(const QPrinter& printer) {
    // A printer set to print into a PDF file is named by that file.
    return printer.outputFormat() == QPrinter::PdfFormat ? printer.outputFileName()
                                                         : printer.printerName();
}

void TPreviewForm::SetUpPreviewPages() {
    pages_.Clear();

    // Display resolution.
    std::optional<TPixelsPerCm> ppcm;
    QString failure = tr("no display");
    if (QScreen* screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen()) {
        QSize px = screen->size();
        QSizeF mm = screen->physicalSize();
        ppcm = DisplayPixelsPerCm(px.width(), px.height(), mm.width(), mm.height());
        if (!ppcm) failure = tr("the display does not report its size");
    }
    if (!ppcm) {
        Message(TMessageKind::Error, "Bitmap Device Error... \r\n" + failure);
        ppcm = MakePixelsPerCm(kFallbackPixelsPerCm, kFallbackPixelsPerCm);
    }

    // Page size: the printer's page in whole cm, else A4.
    const TPageSizeCm defaultPage = DefaultPage(report_ && report_->Landscape());
    std::optional<TPrinterFacts> facts;
    std::optional<TPageSizeCm> printerPage;
    hasPrinter_ = false;
    printerName_.clear();
    if (seams_.printerInstalled && seams_.printerInstalled()) {
        if (EnsurePrinterObject() && printer_->isValid()) {
            const int dpi = printer_->resolution();
            const QRect page = printer_->pageLayout().paintRectPixels(dpi);
            facts = TPrinterFacts{printer_->printerName().toStdString(), page.width(),
                                  page.height(), static_cast<double>(dpi),
                                  static_cast<double>(dpi)};
            printerPage = UsablePrinterPage(*facts, defaultPage);
            printerName_ = PrinterLabel(*printer_);
        } else {
            Message(TMessageKind::Error, "Printer Device Error...");
        }
    }
    const TPreviewPage page = PlanPreviewPage(*ppcm, defaultPage, printerPage);
    hasPrinter_ = page.hasPrinter;

    // The page and its line height, from the printer when there is one so
    // that lines break where they will on paper.
    pages_.Begin(page.widthPx, page.heightPx, ppcm->y * kCmPerInch, engine_.ReportFont());
    double lineHeight = pages_.Canvas().TextHeight("X");
    if (hasPrinter_) {
        QFontMetricsF printerFont(MakePageFont(engine_.ReportFont(), facts->dpiY), printer_.get());
        if (printerFont.height() > 0)
            lineHeight = PreviewLineHeightFromPrinter(printerFont.height(), page.heightPx,
                                                      facts->pageHeightPx);
        else
            Message(TMessageKind::Error, "Failure reading printer font...");
    }
    previewSetup_ = TDeviceSetup{*ppcm, page.widthPx, page.heightPx, lineHeight};
    status_[1]->setText(hasPrinter_ ? printerName_ : tr("Printer not found"));
}

void TPreviewForm::DoReport() {
    BusyCursor busy;
    try {
        SetUpPreviewPages();
    } catch (const std::exception&) {
        Message(TMessageKind::Error, "Setup error...");
    }
    if (pages_.PageCount() == 0 && previewSetup_.pageWidthPx > 0)
        pages_.Begin(previewSetup_.pageWidthPx, previewSetup_.pageHeightPx,
                     previewSetup_.ppcm.y * kCmPerInch, engine_.ReportFont());
    if (pages_.PageCount() > 0) {
        try {
            engine_.WriteDocument(pages_, previewSetup_);
        } catch (const std::exception&) {
            Message(TMessageKind::Error, "Report write error...");
        }
    }
    pages_.Finish();
    // Print and PDF follow these page breaks (the GIF is these pages).
    previewRowPages_ = engine_.RowPages();
    engine_.UseSetup(previewSetup_);
    ShowPage();
}

void TPreviewForm::ShowPage() {
    currentPage_ = std::clamp(currentPage_, 0, std::max(0, pages_.PageCount() - 1));
    const int zoom = engine_.Zoom();
    scroll_->setHorizontalScrollBarPolicy(zoom == 1 ? Qt::ScrollBarAlwaysOff : Qt::ScrollBarAsNeeded);
    scroll_->setVerticalScrollBarPolicy(zoom == 1 ? Qt::ScrollBarAlwaysOff : Qt::ScrollBarAsNeeded);
    view_->SetZoom(zoom, scroll_->viewport()->size());
    view_->SetPage(currentPage_);
    view_->SetMarginLines(MarginLinePositions(engine_.Layout()), engine_.ActiveLines());
    scroll_->verticalScrollBar()->setValue(0);
    scroll_->horizontalScrollBar()->setValue(0);
    // Which page is shown, out of how many: the first panel is never empty
    // (a margin just dragged shows its value there until the next page).
    status_[0]->setText(tr("Page %1 of %2").arg(currentPage_ + 1).arg(std::max(1, pages_.PageCount())));
    UpdateActions();
}

void TPreviewForm::UpdateActions() {
    actFullPage_->setEnabled(engine_.Zoom() == 0);
    act100_->setEnabled(engine_.Zoom() == 1);
    actPrevious_->setEnabled(currentPage_ > 0);
    actNext_->setEnabled(currentPage_ + 1 < pages_.PageCount());
    actMargins_->setChecked(marginsMode_);
}

void TPreviewForm::PreviousPage() {
    if (currentPage_ <= 0) return;
    --currentPage_;
    ShowPage();
}

void TPreviewForm::NextPage() {
    if (currentPage_ + 1 >= pages_.PageCount()) return;
    ++currentPage_;
    ShowPage();
}

void TPreviewForm::SetZoom(int zoom) {
    engine_.SetZoom(zoom);
    ShowPage();
}

void TPreviewForm::ShowFullPage() { SetZoom(1); }
void TPreviewForm::Show100() { SetZoom(0); }

void TPreviewForm::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    if (pages_.PageCount() > 0) {
        view_->SetZoom(engine_.Zoom(), scroll_->viewport()->size());
    }
}

bool TPreviewForm::eventFilter(QObject* watched, QEvent* event) {
    if (watched == scroll_ && event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        QScrollBar* bar = scroll_->verticalScrollBar();
        switch (key->key()) {
        case Qt::Key_PageUp: bar->setValue(bar->value() - scroll_->viewport()->height()); return true;
        case Qt::Key_PageDown: bar->setValue(bar->value() + scroll_->viewport()->height()); return true;
        case Qt::Key_Home: bar->setValue(bar->minimum()); return true;
        case Qt::Key_End: bar->setValue(bar->maximum()); return true;
        case Qt::Key_Up: bar->setValue(bar->value() - bar->singleStep()); return true;
        case Qt::Key_Down: bar->setValue(bar->value() + bar->singleStep()); return true;
        default: break;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TPreviewForm::SetMarginsMode(bool on) {
    marginsMode_ = on;
    // The report may have changed which lines are active since the last layout.
    view_->SetMarginLines(MarginLinePositions(engine_.Layout()), engine_.ActiveLines());
    view_->SetMarginsMode(on);
    UpdateActions();
}

void TPreviewForm::ToggleMargins() { SetMarginsMode(!marginsMode_); }

void TPreviewForm::MarginReleased(int line, int pagePosition) {
    const double cm = MarginValueCm(line, pagePosition, previewSetup_.pageWidthPx,
                                    previewSetup_.pageHeightPx, previewSetup_.ppcm);
    engine_.SetMargin(line, cm);
    DoReport();
    status_[0]->setText(Q(FormatFloat("%0.1f", cm)));
}

void TPreviewForm::ResetMargins() {
    engine_.ResetMargins();
    DoReport();
}

void TPreviewForm::ChangeFont() {
    if (!seams_.chooseFont) return;
    std::optional<QFont> font = seams_.chooseFont(QFontFromReportFont(engine_.ReportFont()));
    if (!font) return;
    engine_.SetReportFont(ReportFontFromQFont(*font, engine_.ReportFont()));
    engine_.SetFontChanged(true);
    DoReport();
    if (report_) report_->SaveStyle(engine_);
}

void TPreviewForm::PrinterSetup() {
    if (!printer_ && !EnsurePrinterObject()) printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
    // Also called from the main window while the preview is closed: the
    // choice is kept on the printer object and the pages follow it the
    // next time the preview opens.
    if (seams_.printerSetup && seams_.printerSetup(*printer_) && pages_.PageCount() > 0) DoReport();
}

void TPreviewForm::Print() {
    if (isVisible()) {
        if (report_) report_->SaveStyle(engine_);
        SetMarginsMode(false);
    }
    if (report_) report_->PrintReport(engine_);
}

void TPreviewForm::LayOutOnPrinter(QPrinter& printer) {
    struct Restore {
        TPreviewForm& form;
        ~Restore() {
            form.engine_.SetPrinting(false);
            form.engine_.FollowRowPages({});
            form.engine_.UseSetup(form.previewSetup_);
            form.status_[1]->setText(form.hasPrinter_ ? form.printerName_ : tr("Printer not found"));
        }
    } restore{*this};

    QPainter painter;
    if (!painter.begin(&printer)) throw std::runtime_error("the document could not be started");
    const double dpi = printer.resolution();
    const QRect page = printer.pageLayout().paintRectPixels(printer.resolution());
    TPrinterPages device(printer, painter, dpi, engine_.ReportFont());
    TDeviceSetup setup{MakePixelsPerCm(dpi / kCmPerInch, dpi / kCmPerInch), page.width(),
                       page.height(), static_cast<double>(device.Canvas().TextHeight("X"))};
    status_[1]->setText(tr("Print to ") + PrinterLabel(printer));
    engine_.SetPrinting(true);
    // The rows go to the pages the preview showed them on.
    if (pages_.PageCount() > 0) engine_.FollowRowPages(previewRowPages_);
    try {
        engine_.WriteDocument(device, setup);
    } catch (...) {
        painter.end();
        throw;
    }
    if (!painter.end()) throw std::runtime_error("the document could not be ended");
}

void TPreviewForm::PrintCopies(const std::string& jobTitle) {
    try {
        // A printer chosen in the set-up dialog as a PDF file also prints.
        const bool toFile = printer_ && printer_->outputFormat() == QPrinter::PdfFormat &&
                            !printer_->outputFileName().isEmpty();
        if (!printer_ || !(hasPrinter_ || toFile)) throw std::runtime_error("no printer");
        const int copies = printer_->supportsMultipleCopies() ? 1 : std::max(1, printer_->copyCount());
        for (int copy = 0; copy < copies; ++copy) {
            printer_->setDocName(Q(jobTitle));
            if (report_) report_->LoadStyle(engine_);
            LayOutOnPrinter(*printer_);
        }
    } catch (const std::exception&) {
        Message(TMessageKind::Information, "Printer error.");
    }
}

QString TPreviewForm::AskFileName(const QString& caption, QString& folder, QString& name,
                                  const QString& defaultName, const QString& filter,
                                  const QString& suffix, bool refuseReserved) {
    if (!seams_.saveFileName) return {};
    if (!documentFolder_.isEmpty()) folder = documentFolder_;
    else if (folder.isEmpty()) folder = seams_.programFolder ? seams_.programFolder() : QDir::currentPath();
    if (name.isEmpty()) name = defaultName;
    QString start = QDir(folder).filePath(name);
    for (;;) {
        QString path = seams_.saveFileName(caption, start, filter, suffix);
        if (path.isEmpty()) return {};
        QFileInfo info(path);
        if (info.suffix().isEmpty()) {
            path += "." + suffix;
            info.setFile(path);
        }
        const QString base = info.completeBaseName();
        if (refuseReserved && base.compare("ReportLogo", Qt::CaseInsensitive) == 0) {
            Message(TMessageKind::Warning, "Sorry, " + base + " is a reserved filename");
            start = info.absolutePath() + "/";
            continue;
        }
        folder = info.absolutePath();
        name = info.fileName();
        return path;
    }
}

void TPreviewForm::WriteGif() {
    if (pages_.PageCount() == 0) return;
    const QString path = AskFileName(tr("Write report to a GIF file."), gifFolder_, gifName_,
                                     "Report.gif", "GIF Image File (*.gif)", "gif", true);
    if (path.isEmpty()) return;
    BusyCursor busy;
    try {
        WriteStackedGif(path.toStdString(), pages_.Width(), pages_.Height(), pages_.PageCount(),
                        [this](int i) { return pages_.Render(i); });
    } catch (const std::exception& e) {
        Message(TMessageKind::Error, Q(e.what()));
    }
}

void TPreviewForm::WritePdf() {
    if (pages_.PageCount() == 0) return;
    const QString path = AskFileName(tr("Write report to a PDF file."), pdfFolder_, pdfName_,
                                     "Report.pdf", "PDF File (*.pdf)", "pdf", false);
    if (path.isEmpty()) return;
    BusyCursor busy;
    QPrinter pdf(QPrinter::HighResolution);
    pdf.setOutputFormat(QPrinter::PdfFormat);
    pdf.setOutputFileName(path);
    pdf.setDocName(Q(report_ ? report_->JobTitle() : std::string("Report")));
    if (hasPrinter_ && printer_) {
        pdf.setPageLayout(printer_->pageLayout());
    } else {
        // The preview's own page: A4 with no printer margins.
        const bool landscape = report_ && report_->Landscape();
        pdf.setPageLayout(QPageLayout(QPageSize(QPageSize::A4),
                                      landscape ? QPageLayout::Landscape : QPageLayout::Portrait,
                                      QMarginsF(0, 0, 0, 0)));
    }
    try {
        LayOutOnPrinter(pdf);
    } catch (const std::exception&) {
        Message(TMessageKind::Error, "Unable to write to " + path);
    }
}

void TPreviewForm::SendMail() {
    if (pages_.PageCount() == 0) return;
    BusyCursor busy;
    // The pages go to a temporary folder of this run. The mail composer may
    // read them long after this returns, so the folder stays while the
    // program runs and is removed with the preview when the program ends, or
    // at once when the mail program cannot be started; each sending replaces
    // the pages of the previous one.
    if (!mailFolder_ || !mailFolder_->isValid())
        mailFolder_ = std::make_unique<QTemporaryDir>(QDir::temp().filePath("darvenix-report-XXXXXX"));
    if (!mailFolder_->isValid()) {
        Message(TMessageKind::Error, "Unable to write to " + QDir::tempPath());
        return;
    }
    QDir folder(mailFolder_->path());
    for (const QString& old : folder.entryList({"page*.gif"}, QDir::Files)) folder.remove(old);

    TMailMessage mail;
    mail.subject = "Report...";
    mail.body = "Please find our report attached.";
    try {
        for (int n = 0; n < pages_.PageCount(); ++n) {
            const QString file = folder.filePath(QString("page%1.gif").arg(n));
            WriteStackedGif(file.toStdString(), pages_.Width(), pages_.Height(), 1,
                            [this, n](int) { return pages_.Render(n); });
            mail.attachments.push_back(file.toStdString());
        }
    } catch (const std::exception& e) {
        Message(TMessageKind::Error, Q(e.what()));
        return;
    }
    if (!ComposeMail(mail, seams_.launch)) MailProgramFailed();
}

void TPreviewForm::MailProgramFailed() {
    mailFolder_.reset(); // removes the pages: nothing will read them
    Message(TMessageKind::Error, tr("The mail program could not be started."));
}

void TPreviewForm::done(int result) {
    SetMarginsMode(false);
    if (report_) report_->SaveStyle(engine_);
    SaveWindowPlacement();
    pages_.Clear();
    view_->update();
    if (report_) report_->OnPreviewClose(engine_);
    QDialog::done(result);
}

} // namespace dvx
