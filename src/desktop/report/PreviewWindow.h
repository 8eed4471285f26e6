// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The report preview ("Report Preview"): shows the pages a report routine
// writes through the page engine, lets the user page through them, zoom,
// drag the margins, change the font, set up the printer and print, and
// write the pages to a GIF or PDF file or send them as e-mail attachments.
//
// A report installs itself with SetReport and shows the window modally;
// every change of margins, font or printer lays the whole document out
// again from the first page.

#include "presentation/report/PageEngine.h"
#include "desktop/report/PreviewPages.h"
#include "desktop/report/PreviewSeams.h"

#include <QDialog>

#include <array>
#include <memory>

class QAction;
class QLabel;
class QPrinter;
class QScrollArea;
class QTemporaryDir;
class QToolBar;

namespace dvx {

class SettingsStore;
class TPageView;

class TPreviewForm : public QDialog {
    Q_OBJECT
public:
    // With a settings store the window takes its stored placement now and
    // stores it whenever it closes (section "PreviewForm").
    explicit TPreviewForm(QWidget* parent = nullptr, SettingsStore* settings = nullptr);
    ~TPreviewForm() override;

    // Installs a report's hooks (the routine outlives the preview's use of it).
    void SetReport(TReportRoutine* report);
    // The folder of the document the report is about: the GIF and PDF
    // dialogs start there.
    void SetDocumentFolder(const QString& folder) { documentFolder_ = folder; }
    TReportRoutine* Report() const { return report_; }
    TPageEngine& Engine() { return engine_; }
    TPreviewSeams& Seams() { return seams_; }

    // What activating the window does: the report's style, page 0, margins
    // mode off, and a fresh layout.
    void Activate();
    // Lays the document out onto the preview's pages and shows the current page.
    void DoReport();

    // State, for the program and its tests.
    const TPreviewPages& Pages() const { return pages_; }
    int PageCount() const { return pages_.PageCount(); }
    int CurrentPage() const { return currentPage_; }
    bool HasPrinter() const { return hasPrinter_; }
    // The one printer set-up of the program (the main window's "Printer
    // Setup" works on it too); null until it is first needed.
    QPrinter* Printer() const { return printer_.get(); }
    bool MarginsMode() const { return marginsMode_; }
    QString StatusText(int panel) const;
    TPageView* View() const { return view_; }
    QScrollArea* ScrollArea() const { return scroll_; }

public slots:
    void PreviousPage();
    void NextPage();
    void ShowFullPage();
    void Show100();
    void ToggleMargins();
    void ResetMargins();
    void ChangeFont();
    void PrinterSetup();
    void Print();
    void WriteGif();
    void WritePdf();
    void SendMail();
    // The mail program could not be started (at once, or its helper said so
    // later): says so and removes the pages written for it.
    void MailProgramFailed();
    // Closing: margins mode ends, the style is saved, the pages are freed.
    void done(int result) override;

protected:
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BuildWindow();
    void Message(TMessageKind kind, const QString& text);
    void SetUpPreviewPages();
    // Lays the document out on a printer (or PDF printer) whose painter is
    // started here; the preview's set-up is restored afterwards.
    void LayOutOnPrinter(QPrinter& printer);
    void PrintCopies(const std::string& jobTitle);
    void ShowPage();
    void SetZoom(int zoom);
    void SetMarginsMode(bool on);
    void MarginReleased(int line, int pagePosition);
    void UpdateActions();
    // Asks for a file name through the save dialog; empty when cancelled.
    QString AskFileName(const QString& caption, QString& folder, QString& name,
                        const QString& defaultName, const QString& filter,
                        const QString& suffix, bool refuseReserved);
    bool EnsurePrinterObject();
    static QString PrinterLabel(const QPrinter& printer);
    void RestoreWindowPlacement();
    void SaveWindowPlacement();

    TPageEngine engine_;
    TPreviewPages pages_;
    TReportRoutine* report_ = nullptr;
    TPreviewSeams seams_;
    SettingsStore* settings_ = nullptr;
    TDeviceSetup previewSetup_;
    std::vector<int> previewRowPages_; // page of each table row in the preview

    std::unique_ptr<QPrinter> printer_;
    bool hasPrinter_ = false;
    QString printerName_;

    int currentPage_ = 0;
    bool marginsMode_ = false;

    QString gifFolder_, gifName_, pdfFolder_, pdfName_;
    QString documentFolder_; // where the export dialogs start; empty: the last folder used
    std::unique_ptr<QTemporaryDir> mailFolder_;

    QToolBar* toolBar_ = nullptr;
    QScrollArea* scroll_ = nullptr;
    TPageView* view_ = nullptr;
    std::array<QLabel*, 2> status_{};
    QAction* actPrevious_ = nullptr;
    QAction* actNext_ = nullptr;
    QAction* act100_ = nullptr;
    QAction* actFullPage_ = nullptr;
    QAction* actMargins_ = nullptr;
};

} // namespace dvx
