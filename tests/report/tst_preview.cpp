// SPDX-License-Identifier: GPL-3.0-or-later
// The report preview on the offscreen platform: pagination and footers,
// the page without a printer, margins mode, zoom and keys, GIF, PDF and
// e-mail output and the messages of their failures.

#include "DemoReport.h"
#include "PageTextCapture.h"

#include "presentation/report/ReportStyle.h"
#include "desktop/report/PageView.h"
#include "desktop/report/GifWriter.h"
#include "desktop/report/QtPageCanvas.h"
#include "desktop/report/ReportSettings.h"
#include "desktop/report/PreviewWindow.h"
#include "storage/settings/SettingsStore.h"

#include <QAction>
#include <QFile>
#include <QFileInfo>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPageLayout>
#include <QPageSize>
#include <QPrinter>
#include <QScrollArea>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QtTest>

#include <sys/stat.h>

#include <gif_lib.h>

#include <cmath>

using namespace dvx;
using dvx::test::DemoReport;

namespace {

struct Said {
    TMessageKind kind;
    QString text;
};

// A preview whose dialogs and programs are answered by the test.
struct Preview {
    explicit Preview(int rows, SettingsStore* settings = nullptr, TReportStyle* useStyle = nullptr)
        : report(rows), form(nullptr, settings) {
        report.UseStyle(useStyle ? useStyle : &style);
        form.SetReport(&report);
        TPreviewSeams& s = form.Seams();
        s.message = [this](TMessageKind k, const QString& t) { said.push_back({k, t}); };
        s.printerInstalled = [] { return false; };
        s.saveFileName = [this](const QString&, const QString& start, const QString& filter,
                                const QString&) {
            asked.push_back(start);
            filters.push_back(filter);
            if (answers.isEmpty()) return QString();
            return answers.takeFirst();
        };
        s.launch = [this](const std::string& program, const std::vector<std::string>& args) {
            launched = program;
            arguments = args;
            return launchResult;
        };
        s.programFolder = [this] { return dir.path(); };
        s.chooseFont = [this](const QFont&) { return font; };
        s.printerSetup = [](QPrinter&) { return false; };
    }

    // The pages sent by e-mail stay for the mail program; the test removes them.
    ~Preview() {
        for (std::size_t i = 0; i + 1 < arguments.size(); ++i)
            if (arguments[i] == "--attach")
                QDir(QFileInfo(QString::fromStdString(arguments[i + 1])).absolutePath())
                    .removeRecursively();
    }

    QStringList Footers(int page) {
        QStringList r;
        for (const auto& t : test::PageTexts(form.Pages().Page(page), form.Pages().Width(),
                                             form.Pages().Height()))
            if (t.text.startsWith("- ")) r << t.text;
        return r;
    }

    TReportStyle style;
    DemoReport report;
    TPreviewForm form;
    QTemporaryDir dir;
    std::vector<Said> said;
    QStringList asked, filters, answers;
    std::string launched;
    std::vector<std::string> arguments;
    bool launchResult = true;
    std::optional<QFont> font;
};

// The fewest rows that fill `pages` pages.
int RowsForPages(int pages) {
    Preview p(1);
    int low = 1, high = 4000;
    while (low < high) {
        int mid = (low + high) / 2;
        p.report.rows = mid;
        p.form.DoReport();
        if (p.form.PageCount() >= pages) high = mid; else low = mid + 1;
    }
    return low;
}

int GifHeight(const QString& path, int* width = nullptr, bool* hasInk = nullptr, int pageHeight = 0,
              int pages = 0) {
    int error = 0;
    GifFileType* gif = DGifOpenFileName(path.toLocal8Bit().constData(), &error);
    if (gif == nullptr) return -1;
    int height = -1;
    if (DGifSlurp(gif) == GIF_OK && gif->ImageCount == 1) {
        height = gif->SHeight;
        if (width) *width = gif->SWidth;
        if (hasInk) {
            // Every page band holds dark pixels (its text).
            *hasInk = true;
            const SavedImage& img = gif->SavedImages[0];
            const ColorMapObject* map = gif->SColorMap;
            for (int p = 0; p < pages; ++p) {
                int dark = 0;
                for (int y = p * pageHeight; y < (p + 1) * pageHeight; ++y)
                    for (int x = 0; x < img.ImageDesc.Width; ++x) {
                        GifColorType c = map->Colors[img.RasterBits[y * img.ImageDesc.Width + x]];
                        dark += c.Red < 100 && c.Green < 100 && c.Blue < 100;
                    }
                if (dark < 100) *hasInk = false;
            }
        }
    }
    DGifCloseFile(gif, &error);
    return height;
}

void SendMouse(QWidget* w, QEvent::Type type, QPoint pos, Qt::MouseButton button,
               Qt::MouseButtons buttons) {
    QMouseEvent e(type, QPointF(pos), w->mapToGlobal(QPointF(pos)), button, buttons,
                  Qt::NoModifier);
    QApplication::sendEvent(w, &e);
}

} // namespace

class PreviewTest : public QObject {
    Q_OBJECT
private slots:
    void onePageReportHasNoFooter();
    void twoPageReportIsNumbered();
    void everyPageIsWrittenInTheReportFont();
    void noPrinterGivesA4AndPrinterNotFound();
    void printingWithoutPrinterSaysPrinterError();
    void unreadablePrinterIsNoPrinter();
    void previewFollowsThePrinterPageAndLines();
    void threePagesBecomeOneGifThreePagesHigh();
    void reservedGifNameIsRefused();
    void exportsStartInTheDocumentFolderAndHonourTheUmask();
    void cancelledGifDialogWritesNothing();
    void draggedLeftMarginMovesTextAndIsKept();
    void marginDragStaysInsideItsRange();
    void resetMarginsRestoresTheDefaults();
    void zoomAndNavigation();
    void keysScrollThePage();
    void fontChangeRelaysAndSavesTheStyle();
    void pdfIsWritten();
    void mailAttachesEveryPage();
    void writeFailuresAreReported();
    void tooLongForOneGifIsRefused();
    void gifPaletteKeepsGreysAndColours();
    void printerSetupLaysOutAgain();
    void settingsKeepPlacementAndStyle();
    void saveLookImages();
};

void PreviewTest::onePageReportHasNoFooter() {
    Preview p(5);
    p.form.Activate();
    QCOMPARE(p.form.PageCount(), 1);
    QVERIFY(p.Footers(0).isEmpty());
    QVERIFY(p.said.empty());
}

void PreviewTest::twoPageReportIsNumbered() {
    Preview p(RowsForPages(2));
    p.form.Activate();
    QCOMPARE(p.form.PageCount(), 2);
    QCOMPARE(p.Footers(0), QStringList{"- 1 -"});
    QCOMPARE(p.Footers(1), QStringList{"- 2 -"});
    // Rows continue on page 2 after the repeated header row.
    bool row1 = false, header2 = false;
    for (const auto& t : test::PageTexts(p.form.Pages().Page(1), 2000, 3000)) {
        header2 |= t.text == " Item";
        row1 |= t.text == " 1";
    }
    QVERIFY(header2);
    QVERIFY(!row1);
}

void PreviewTest::everyPageIsWrittenInTheReportFont() {
    // Plain rows straight after each page break, with no font change between.
    struct Rows : TReportRoutine {
        void PageHeader(TPageEngine&, bool) override {}
        void ReportBody(TPageEngine& e) override {
            for (int i = 0; i < 150; ++i) {
                e.EnsureSpace(1);
                e.CellText(e.LeftPx(), e.RightPx(), "row", 1, false);
                e.LineFeed(1);
            }
        }
    } rows;
    Preview p(1);
    p.style.font = {"DejaVu Serif", 1, 0, 13, 0};
    p.form.SetReport(&rows);
    rows.UseStyle(&p.style);
    p.form.Activate();
    QVERIFY(p.form.PageCount() >= 3);
    const int pixels = int(std::lround(13 * p.form.Engine().PixelsPerCm().y * 2.54 / 72));
    for (int page = 0; page < p.form.PageCount(); ++page) {
        for (const auto& t : test::PageTexts(p.form.Pages().Page(page), 2000, 3000)) {
            QCOMPARE(t.font.pixelSize(), pixels);
            QCOMPARE(t.font.family(), QString("DejaVu Serif"));
        }
    }
}

void PreviewTest::noPrinterGivesA4AndPrinterNotFound() {
    Preview p(5);
    p.form.Activate();
    QVERIFY(!p.form.HasPrinter());
    QCOMPARE(p.form.StatusText(1), QString("Printer not found"));
    const TPixelsPerCm ppcm = p.form.Engine().PixelsPerCm();
    QCOMPARE(p.form.Pages().Width(), int(std::lround(21 * ppcm.x)));
    QCOMPARE(p.form.Pages().Height(), int(std::lround(29.7 * ppcm.y)));
    QVERIFY(ppcm.x > 10 && ppcm.y > 10);
    // Margins of 2.5 cm on that page.
    QCOMPARE(p.form.Engine().LeftPx(), int(std::lround(2.5 * ppcm.x)));
    QCOMPARE(p.form.Engine().BottomPx(), p.form.Pages().Height() - int(std::lround(2.5 * ppcm.y)));
}

void PreviewTest::printingWithoutPrinterSaysPrinterError() {
    Preview p(5);
    p.form.Activate();
    p.form.Print();
    QCOMPARE(p.said.size(), size_t(1));
    QCOMPARE(p.said[0].kind, TMessageKind::Information);
    QCOMPARE(p.said[0].text, QString("Printer error."));
    // The preview is untouched.
    QCOMPARE(p.form.PageCount(), 1);
    QCOMPARE(p.form.StatusText(1), QString("Printer not found"));
}

void PreviewTest::unreadablePrinterIsNoPrinter() {
    Preview p(5);
    p.form.Seams().printerInstalled = [] { return true; };
    p.form.Seams().makePrinter = [] { return std::unique_ptr<QPrinter>(); };
    p.form.Activate();
    QCOMPARE(p.said.size(), size_t(1));
    QCOMPARE(p.said[0].text, QString("Printer Device Error..."));
    QVERIFY(!p.form.HasPrinter());
    QCOMPARE(p.form.StatusText(1), QString("Printer not found"));
    QCOMPARE(p.form.Pages().Width(), int(std::lround(21 * p.form.Engine().PixelsPerCm().x)));
}

void PreviewTest::previewFollowsThePrinterPageAndLines() {
    // A "printer" that prints into a PDF file: US Letter with half-inch
    // printer margins, a printable page of 19.05 x 25.4 cm.
    Preview p(RowsForPages(3));
    const QString out = p.dir.filePath("printed.pdf");
    p.form.Seams().printerInstalled = [] { return true; };
    p.form.Seams().makePrinter = [out] {
        auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
        printer->setOutputFormat(QPrinter::PdfFormat);
        printer->setOutputFileName(out);
        printer->setPageLayout(QPageLayout(QPageSize(QPageSize::Letter), QPageLayout::Portrait,
                                           QMarginsF(0.5, 0.5, 0.5, 0.5), QPageLayout::Inch));
        return printer;
    };
    p.form.Activate();
    QVERIFY(p.said.empty());
    QVERIFY(p.form.HasPrinter());
    QCOMPARE(p.form.StatusText(1), out);
    const TPixelsPerCm ppcm = p.form.Engine().PixelsPerCm();
    // The printer page in whole centimetres: 19 x 25.
    QCOMPARE(p.form.Pages().Width(), int(std::lround(19 * ppcm.x)));
    QCOMPARE(p.form.Pages().Height(), int(std::lround(25 * ppcm.y)));
    // Lines as high as the printer's, scaled to the preview page.
    QPrinter probe(QPrinter::HighResolution);
    probe.setOutputFormat(QPrinter::PdfFormat);
    probe.setPageLayout(QPageLayout(QPageSize(QPageSize::Letter), QPageLayout::Portrait,
                                    QMarginsF(0.5, 0.5, 0.5, 0.5), QPageLayout::Inch));
    const int dpi = probe.resolution();
    const int printerHeight = probe.pageLayout().paintRectPixels(dpi).height();
    const double printerX =
        QFontMetricsF(MakePageFont(p.form.Engine().ReportFont(), dpi), &probe).height();
    QCOMPARE(p.form.Engine().LineHeight(), printerX * p.form.Pages().Height() / printerHeight);

    // Printing lays the same document out on the printer: as many sheets as
    // preview pages, and the preview is as it was afterwards.
    const int pages = p.form.PageCount();
    const int leftPx = p.form.Engine().LeftPx();
    p.form.Print();
    QVERIFY(p.said.empty());
    QFile pdf(out);
    QVERIFY(pdf.open(QIODevice::ReadOnly));
    const QByteArray data = pdf.readAll();
    QVERIFY(data.startsWith("%PDF"));
    QVERIFY2(data.contains("/Count " + QByteArray::number(pages)), qPrintable(QString::number(pages)));
    QCOMPARE(p.form.Engine().LeftPx(), leftPx);
    QCOMPARE(p.form.PageCount(), pages);
    QVERIFY(!p.form.Engine().Printing());
}

void PreviewTest::threePagesBecomeOneGifThreePagesHigh() {
    Preview p(RowsForPages(3));
    p.form.Activate();
    QCOMPARE(p.form.PageCount(), 3);
    const QString path = p.dir.filePath("three.gif");
    p.answers << path;
    p.form.WriteGif();
    QVERIFY(p.said.empty());
    QCOMPARE(p.asked, QStringList{p.dir.filePath("Report.gif")});
    QCOMPARE(p.filters, QStringList{"GIF Image File (*.gif)"});
    int width = 0;
    bool ink = false;
    const int h = p.form.Pages().Height();
    QCOMPARE(GifHeight(path, &width, &ink, h, 3), 3 * h);
    QCOMPARE(width, p.form.Pages().Width());
    QVERIFY(ink);

    // The next export starts where the last one went.
    p.answers << "";
    p.form.WriteGif();
    QCOMPARE(p.asked.last(), path);
}

void PreviewTest::exportsStartInTheDocumentFolderAndHonourTheUmask() {
    Preview p(5);
    p.form.Activate();
    const QString project = p.dir.filePath("project");
    QVERIFY(QDir().mkpath(project));
    p.form.SetDocumentFolder(project);
    const QString gif = p.dir.filePath("shared.gif");
    p.answers << gif << "";
    const mode_t old = ::umask(022);
    p.form.WriteGif();
    ::umask(old);
    QVERIFY(p.said.empty());
    QCOMPARE(p.asked.first(), QDir(project).filePath("Report.gif"));
    // Readable by others as any file the user creates under umask 022.
    QCOMPARE(QFileInfo(gif).permissions() & (QFile::ReadGroup | QFile::ReadOther),
             QFile::ReadGroup | QFile::ReadOther);
    // The PDF dialog starts there too.
    p.form.WritePdf();
    QCOMPARE(p.asked.last(), QDir(project).filePath("Report.pdf"));
}

void PreviewTest::reservedGifNameIsRefused() {
    Preview p(5);
    p.form.Activate();
    const QString reserved = p.dir.filePath("reportlogo.gif");
    const QString reserved2 = p.dir.filePath("REPORTLOGO");
    const QString fine = p.dir.filePath("out.gif");
    p.answers << reserved << reserved2 << fine;
    p.form.WriteGif();
    QCOMPARE(p.said.size(), size_t(2));
    QCOMPARE(p.said[0].text, QString("Sorry, reportlogo is a reserved filename"));
    QCOMPARE(p.said[1].text, QString("Sorry, REPORTLOGO is a reserved filename"));
    // The dialog came back with the name cleared, in the same folder.
    QCOMPARE(p.asked.size(), 3);
    QCOMPARE(p.asked[1], p.dir.path() + "/");
    QVERIFY(!QFileInfo::exists(reserved));
    QVERIFY(!QFileInfo::exists(reserved2 + ".gif"));
    QCOMPARE(GifHeight(fine), p.form.Pages().Height());
}

void PreviewTest::cancelledGifDialogWritesNothing() {
    Preview p(5);
    p.form.Activate();
    p.answers << p.dir.filePath("ReportLogo.gif"); // refused, then cancelled
    p.form.WriteGif();
    QCOMPARE(p.asked.size(), 2);
    QCOMPARE(QDir(p.dir.path()).entryList(QDir::Files).size(), 0);
}

void PreviewTest::draggedLeftMarginMovesTextAndIsKept() {
    Preview p(30);
    p.form.resize(900, 1000);
    p.form.Activate();
    p.form.Engine().SetActiveLines({true, true, true, true});
    p.form.Show100();
    p.form.ToggleMargins();
    QVERIFY(p.form.MarginsMode());

    TPageView* view = p.form.View();
    const TPixelsPerCm ppcm = p.form.Engine().PixelsPerCm();
    const int from = view->LineViewPosition(mlLeft);
    // Near a line the cursor offers to move it.
    SendMouse(view, QEvent::MouseMove, {from - 4, 400}, Qt::NoButton, Qt::NoButton);
    QCOMPARE(view->cursor().shape(), Qt::SplitHCursor);
    SendMouse(view, QEvent::MouseMove, {300, view->LineViewPosition(mlTop) + 5}, Qt::NoButton,
              Qt::NoButton);
    QCOMPARE(view->cursor().shape(), Qt::SplitVCursor);
    SendMouse(view, QEvent::MouseMove, {300, 400}, Qt::NoButton, Qt::NoButton);
    QCOMPARE(view->cursor().shape(), Qt::ArrowCursor);
    QCOMPARE(from, int(std::lround(2.5 * ppcm.x)));
    const int to = int(std::lround(3.0 * ppcm.x));
    const int y = 400;
    SendMouse(view, QEvent::MouseButtonPress, {from + 3, y}, Qt::LeftButton, Qt::LeftButton);
    QCOMPARE(view->Grabbed(), int(mlLeft));
    SendMouse(view, QEvent::MouseMove, {to, y}, Qt::NoButton, Qt::LeftButton);
    SendMouse(view, QEvent::MouseButtonRelease, {to, y}, Qt::LeftButton, Qt::NoButton);

    QCOMPARE(p.form.StatusText(0), QString("3.0"));
    const double left = p.form.Engine().Margins()[mlLeft];
    QVERIFY2(std::abs(left - 3.0) <= 0.5 / ppcm.x, qPrintable(QString::number(left)));
    QCOMPARE(p.form.Engine().LeftPx(), to);
    // Every line of text now starts at the new margin or right of it; the
    // title starts exactly there.
    bool titleAtMargin = false;
    for (const auto& t : test::PageTexts(p.form.Pages().Page(0), 2000, 3000)) {
        QVERIFY2(t.baseline.x() >= to - 0.5, qPrintable(t.text));
        titleAtMargin |= t.text == "Demo Report" && std::lround(t.baseline.x()) == to;
    }
    QVERIFY(titleAtMargin);
    // Margins mode stays on and the line is drawn at its new place.
    QCOMPARE(view->LineViewPosition(mlLeft), to);

    p.form.done(QDialog::Accepted);
    QVERIFY(!p.form.MarginsMode());
    QCOMPARE(p.style.margins[mlLeft], left);
    QCOMPARE(p.form.PageCount(), 0); // pages freed on close
}

void PreviewTest::marginDragStaysInsideItsRange() {
    Preview p(30);
    p.form.resize(900, 1000);
    p.form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&p.form));
    p.form.Engine().SetActiveLines({true, true, true, true});
    p.form.ShowFullPage();
    p.form.ToggleMargins();
    TPageView* view = p.form.View();
    QVERIFY(view->Scale() > 0.5 && view->Scale() < 1);

    // The top margin dragged far below half the page stops 5 pixels above it.
    const int x = view->PageOrigin().x() + 200;
    const int top = view->LineViewPosition(mlTop);
    SendMouse(view, QEvent::MouseButtonPress, {x, top}, Qt::LeftButton, Qt::LeftButton);
    QCOMPARE(view->Grabbed(), int(mlTop));
    SendMouse(view, QEvent::MouseMove, {x, view->height() - 2}, Qt::NoButton, Qt::LeftButton);
    const int half = view->PageOrigin().y() + int(std::lround(p.form.Pages().Height() / 2 * view->Scale()));
    QCOMPARE(view->LineViewPosition(mlTop), half - 5);
    SendMouse(view, QEvent::MouseButtonRelease, {x, view->height() - 2}, Qt::LeftButton, Qt::NoButton);
    const double cm = p.form.Engine().Margins()[mlTop];
    QVERIFY2(cm > 13 && cm < 14.85, qPrintable(QString::number(cm)));

    // Far past the page's left edge the left margin stops 5 pixels inside 0.
    const int left = view->LineViewPosition(mlLeft);
    SendMouse(view, QEvent::MouseButtonPress, {left, 300}, Qt::LeftButton, Qt::LeftButton);
    SendMouse(view, QEvent::MouseMove, {view->PageOrigin().x() - 50, 300}, Qt::NoButton, Qt::LeftButton);
    QCOMPARE(view->LineViewPosition(mlLeft), view->PageOrigin().x() + 5);
    SendMouse(view, QEvent::MouseButtonRelease, {0, 300}, Qt::LeftButton, Qt::NoButton);

    // An inactive line cannot be grabbed.
    const int x1 = view->LineViewPosition(mlX1);
    SendMouse(view, QEvent::MouseButtonPress, {x1, 500}, Qt::LeftButton, Qt::LeftButton);
    QCOMPARE(view->Grabbed(), -1);
    SendMouse(view, QEvent::MouseButtonRelease, {x1, 500}, Qt::LeftButton, Qt::NoButton);
}

void PreviewTest::resetMarginsRestoresTheDefaults() {
    Preview p(5);
    p.style.margins[mlLeft] = 4;
    p.style.defaults[mlX1] = 8; // a report's own default for this run
    p.form.Activate();
    QCOMPARE(p.form.Engine().Margins()[mlLeft], 4.0);
    p.form.ResetMargins();
    QCOMPARE(p.form.Engine().Margins()[mlLeft], 2.5);
    QCOMPARE(p.form.Engine().Margins()[mlX1], 8.0);
    QCOMPARE(p.form.Engine().LeftPx(), int(std::lround(2.5 * p.form.Engine().PixelsPerCm().x)));
}

void PreviewTest::zoomAndNavigation() {
    Preview p(RowsForPages(3));
    p.form.resize(700, 800);
    p.form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&p.form));
    QCOMPARE(p.form.PageCount(), 3);
    auto* full = p.form.findChild<QAction*>("actFullPage");
    auto* hundred = p.form.findChild<QAction*>("act100");
    auto* next = p.form.findChild<QAction*>("actNext");
    auto* previous = p.form.findChild<QAction*>("actPrevious");
    QVERIFY(full && hundred && next && previous);

    // Opens at 100 %: the page at its pixel size at the left edge.
    QVERIFY(full->isEnabled());
    QVERIFY(!hundred->isEnabled());
    QCOMPARE(p.form.View()->Scale(), 1.0);
    QCOMPARE(p.form.View()->PageOrigin(), QPoint(0, 0));

    full->trigger();
    QVERIFY(!full->isEnabled());
    QVERIFY(hundred->isEnabled());
    const QSize vp = p.form.ScrollArea()->viewport()->size();
    QCOMPARE(p.form.View()->Scale(), double(vp.height()) / p.form.Pages().Height());
    const int shown = int(std::lround(p.form.Pages().Width() * p.form.View()->Scale()));
    QCOMPARE(p.form.View()->PageOrigin().x(), (vp.width() - shown) / 2);

    // Resizing shows the page again at the new height.
    p.form.resize(900, 600);
    QApplication::processEvents();
    QCOMPARE(p.form.View()->Scale(),
             double(p.form.ScrollArea()->viewport()->height()) / p.form.Pages().Height());

    QVERIFY(!previous->isEnabled());
    next->trigger();
    next->trigger();
    QCOMPARE(p.form.CurrentPage(), 2);
    QVERIFY(!next->isEnabled());
    p.form.NextPage();
    QCOMPARE(p.form.CurrentPage(), 2);
    previous->trigger();
    QCOMPARE(p.form.CurrentPage(), 1);

    // A layout with fewer pages keeps the page index inside the document.
    p.form.NextPage();
    p.report.rows = 3;
    p.form.DoReport();
    QCOMPARE(p.form.CurrentPage(), 0);
    QCOMPARE(p.form.Engine().Zoom(), 1);
    p.form.done(QDialog::Accepted);
    QCOMPARE(p.style.zoom, 1);
}

void PreviewTest::keysScrollThePage() {
    Preview p(5);
    p.form.resize(600, 500);
    p.form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&p.form));
    QScrollArea* area = p.form.ScrollArea();
    QScrollBar* bar = area->verticalScrollBar();
    QVERIFY(bar->maximum() > area->viewport()->height());
    QCOMPARE(bar->value(), 0);
    QTest::keyClick(area, Qt::Key_PageDown);
    QCOMPARE(bar->value(), area->viewport()->height());
    QTest::keyClick(area, Qt::Key_Down);
    QCOMPARE(bar->value(), area->viewport()->height() + bar->singleStep());
    QTest::keyClick(area, Qt::Key_Up);
    QTest::keyClick(area, Qt::Key_PageUp);
    QCOMPARE(bar->value(), 0);
    QTest::keyClick(area, Qt::Key_End);
    QCOMPARE(bar->value(), bar->maximum());
    QTest::keyClick(area, Qt::Key_Home);
    QCOMPARE(bar->value(), 0);
}

void PreviewTest::fontChangeRelaysAndSavesTheStyle() {
    Preview p(60);
    p.style.font.size = 10;
    p.style.font.color = 0x0000FF; // kept through a font change: the dialog has no colour
    p.form.Activate();
    const double lineAt10 = p.form.Engine().LineHeight();
    const int pagesAt10 = p.form.PageCount();

    QFont big("DejaVu Serif");
    big.setPointSize(20);
    big.setItalic(true);
    p.font = big;
    QVERIFY(!p.form.Engine().FontChanged());
    p.form.ChangeFont();
    QVERIFY(p.form.Engine().FontChanged());
    QCOMPARE(p.form.Engine().ReportFont().size, 20);
    QVERIFY(p.form.Engine().LineHeight() > 1.7 * lineAt10);
    QVERIFY(p.form.PageCount() > pagesAt10);
    QCOMPARE(p.style.font.size, 20); // saved at once
    QCOMPARE(p.style.font.name, std::string("DejaVu Serif"));
    QCOMPARE(p.style.font.style, int(fsItalic));
    QCOMPARE(p.style.font.color, 0x0000FF);
    QCOMPARE(ColorFromStored(p.style.font.color), QColor(255, 0, 0));
    QCOMPARE(StoredFromColor(QColor(1, 2, 3)), 0x030201);

    // A cancelled font dialog changes nothing.
    p.font.reset();
    p.form.Engine().SetFontChanged(false);
    p.form.ChangeFont();
    QVERIFY(!p.form.Engine().FontChanged());
}

void PreviewTest::pdfIsWritten() {
    Preview p(RowsForPages(2));
    p.form.Activate();
    const double leftPx = p.form.Engine().LeftPx();
    const QString path = p.dir.filePath("report");
    p.answers << path;
    p.form.WritePdf();
    QVERIFY(p.said.empty());
    QCOMPARE(p.filters, QStringList{"PDF File (*.pdf)"});
    QCOMPARE(p.asked, QStringList{p.dir.filePath("Report.pdf")});
    QFile pdf(path + ".pdf");
    QVERIFY(pdf.open(QIODevice::ReadOnly));
    const QByteArray data = pdf.readAll();
    QVERIFY(data.startsWith("%PDF"));
    QVERIFY(data.contains("/Count 2"));
    // The preview's set-up is back after the printer layout.
    QCOMPARE(p.form.Engine().LeftPx(), int(leftPx));
    QCOMPARE(p.form.StatusText(1), QString("Printer not found"));
    QCOMPARE(p.form.PageCount(), 2);
}

void PreviewTest::mailAttachesEveryPage() {
    Preview p(RowsForPages(2));
    p.form.Activate();
    p.form.SendMail();
    QVERIFY(p.said.empty());
    QCOMPARE(p.launched, std::string("xdg-email"));
    const auto& a = p.arguments;
    auto has = [&](const std::string& option, const std::string& value) {
        for (std::size_t i = 0; i + 1 < a.size(); ++i)
            if (a[i] == option && a[i + 1] == value) return true;
        return false;
    };
    QVERIFY(has("--subject", "Report..."));
    QVERIFY(has("--body", "Please find our report attached."));
    std::vector<QString> files;
    for (std::size_t i = 0; i + 1 < a.size(); ++i)
        if (a[i] == "--attach") files.push_back(QString::fromStdString(a[i + 1]));
    QCOMPARE(files.size(), size_t(2));
    for (int n = 0; n < 2; ++n) {
        QCOMPARE(QFileInfo(files[n]).fileName(), QString("page%1.gif").arg(n));
        QCOMPARE(GifHeight(files[n]), p.form.Pages().Height());
    }

    // A mail program that does not start is reported, and the pages
    // written for it are removed.
    p.launchResult = false;
    p.form.SendMail();
    QCOMPARE(p.said.size(), size_t(1));
    QCOMPARE(p.said[0].kind, TMessageKind::Error);
    QCOMPARE(p.said[0].text, QString("The mail program could not be started."));
    QVERIFY(!QFileInfo::exists(QFileInfo(files[0]).absolutePath()));

    // The desktop's mail helper starts but finds no mail program: it ends
    // with a failure code, which is reported the same way once it is known.
    QTemporaryDir bin;
    QFile script(bin.filePath("xdg-email"));
    QVERIFY(script.open(QIODevice::WriteOnly));
    script.write("#!/bin/sh\nexit 3\n");
    script.close();
    script.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    const QByteArray path = qgetenv("PATH");
    qputenv("PATH", bin.path().toLocal8Bit() + ":" + path);
    p.form.Seams().launch = DesktopPreviewSeams(&p.form).launch;
    p.said.clear();
    QTemporaryDir temp; // the pages' folder goes in here
    const QByteArray tmpdir = qgetenv("TMPDIR");
    qputenv("TMPDIR", temp.path().toLocal8Bit());
    p.form.SendMail();
    qputenv("TMPDIR", tmpdir);
    QCOMPARE(QDir(temp.path()).entryList(QDir::Dirs | QDir::NoDotAndDotDot).size(), 1);
    QTRY_VERIFY_WITH_TIMEOUT(!p.said.empty(), 10000);
    qputenv("PATH", path);
    QCOMPARE(p.said[0].text, QString("The mail program could not be started."));
    QVERIFY(QDir(temp.path()).entryList(QDir::Dirs | QDir::NoDotAndDotDot).isEmpty());
}

void PreviewTest::writeFailuresAreReported() {
    // A GIF into a folder that does not exist.
    Preview p(5);
    p.form.Activate();
    p.answers << p.dir.filePath("missing/folder/r.gif");
    p.form.WriteGif();
    QCOMPARE(p.said.size(), size_t(1));
    QCOMPARE(p.said[0].kind, TMessageKind::Error);
    QVERIFY(p.said[0].text.startsWith("Unable to write to"));

    // A report routine that fails half-way: the pages so far stay.
    struct Failing : DemoReport {
        Failing() : DemoReport(200) {}
        void PageEnd(TPageEngine& e) override {
            DemoReport::PageEnd(e);
            if (e.PageCount() == 2) throw std::runtime_error("broken");
        }
    } failing;
    p.said.clear();
    p.form.SetReport(&failing);
    p.form.DoReport();
    QCOMPARE(p.said.size(), size_t(1));
    QCOMPARE(p.said[0].text, QString("Report write error..."));
    QCOMPARE(p.form.PageCount(), 2);
}

void PreviewTest::tooLongForOneGifIsRefused() {
    // A GIF image is at most 65535 pixels high: a longer report is refused
    // with a message instead of writing a broken file.
    Preview p(4000);
    p.form.Activate();
    const int perGif = 65535 / p.form.Pages().Height();
    QVERIFY(p.form.PageCount() > perGif);
    const QString path = p.dir.filePath("long.gif");
    p.answers << path;
    p.form.WriteGif();
    QCOMPARE(p.said.size(), size_t(1));
    QCOMPARE(p.said[0].text,
             QString("The report is too long for one GIF image (at most %1 pages)").arg(perGif));
    QVERIFY(!QFileInfo::exists(path));
    // Each page alone still goes by e-mail.
    p.said.clear();
    p.form.SendMail();
    QVERIFY(p.said.empty());
}

void PreviewTest::gifPaletteKeepsGreysAndColours() {
    struct Case {
        QRgb in;
        QRgb out;
    };
    const Case cases[] = {
        {qRgb(255, 255, 255), qRgb(255, 255, 255)},
        {qRgb(0, 0, 0), qRgb(0, 0, 0)},
        {qRgb(255, 0, 0), qRgb(255, 0, 0)},
        {qRgb(0, 0, 200), qRgb(0, 0, 204)},
        {qRgb(37, 37, 37), qRgb(37, 37, 37)},   // one of the extra greys
        {qRgb(128, 128, 128), qRgb(130, 130, 130)},
    };
    for (const Case& c : cases)
        QCOMPARE(GifPaletteColor(GifPaletteIndex(c.in)), c.out);
    // Every grey lands within 4 levels of itself.
    for (int v = 0; v < 256; ++v) {
        QRgb got = GifPaletteColor(GifPaletteIndex(qRgb(v, v, v)));
        QVERIFY(qRed(got) == qGreen(got) && qGreen(got) == qBlue(got));
        QVERIFY2(std::abs(qRed(got) - v) <= 4, qPrintable(QString::number(v)));
    }
}

void PreviewTest::printerSetupLaysOutAgain() {
    Preview p(5);
    p.form.Seams().printerInstalled = [] { return true; };
    p.form.Seams().makePrinter = [] {
        auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
        printer->setOutputFormat(QPrinter::PdfFormat);
        printer->setOutputFileName("unused.pdf");
        return printer;
    };
    p.form.Activate();
    QVERIFY(p.form.Pages().Height() > p.form.Pages().Width());
    p.form.Seams().printerSetup = [](QPrinter& printer) {
        printer.setPageOrientation(QPageLayout::Landscape);
        return true;
    };
    p.form.PrinterSetup();
    QVERIFY(p.form.Pages().Width() > p.form.Pages().Height());
    // Cancelled: no new layout.
    p.form.Seams().printerSetup = [](QPrinter& printer) {
        printer.setPageOrientation(QPageLayout::Portrait);
        return false;
    };
    p.form.PrinterSetup();
    QVERIFY(p.form.Pages().Width() > p.form.Pages().Height());
}

void PreviewTest::settingsKeepPlacementAndStyle() {
    QTemporaryDir dir;
    SettingsStore store(dir.filePath("Darvenix.ini").toStdString());
    store.WriteInteger("PreviewForm", "Left", -50);
    store.WriteInteger("PreviewForm", "Top", 40);
    store.WriteInteger("PreviewForm", "Width", 700);
    store.WriteInteger("PreviewForm", "Height", 650);
    store.WriteString("Report", "Top margin", "2");

    // Start-up: the styles are read; the window takes its place.
    LoadReportStyles(store);
    QCOMPARE(CircuitReportStyle().margins[mlTop], 2.0);
    QCOMPARE(CircuitReportStyle().margins[mlLeft], 2.5);
    Preview p(30, &store, &CircuitReportStyle());
    QCOMPARE(p.form.pos(), QPoint(0, 40));
    QCOMPARE(p.form.size(), QSize(700, 650));

    // The left margin dragged to 3.0 cm.
    p.form.Activate();
    p.form.Engine().SetActiveLines({true, true, true, true});
    p.form.ToggleMargins();
    TPageView* view = p.form.View();
    const int to = int(std::lround(3.0 * p.form.Engine().PixelsPerCm().x));
    SendMouse(view, QEvent::MouseButtonPress, {view->LineViewPosition(mlLeft), 300}, Qt::LeftButton,
              Qt::LeftButton);
    SendMouse(view, QEvent::MouseMove, {to, 300}, Qt::NoButton, Qt::LeftButton);
    SendMouse(view, QEvent::MouseButtonRelease, {to, 300}, Qt::LeftButton, Qt::NoButton);
    QCOMPARE(p.form.StatusText(0), QString("3.0"));

    p.form.move(120, 80);
    p.form.done(QDialog::Accepted);
    QCOMPARE(store.ReadInteger("PreviewForm", "Left", -1), 120);
    QCOMPARE(store.ReadInteger("PreviewForm", "Width", -1), 700);
    QCOMPARE(store.ReadInteger("PreviewForm", "WinState", -1), 0);
    // In the style after closing; in the store after the program's exit.
    const double left = CircuitReportStyle().margins[mlLeft];
    QVERIFY(std::abs(left - 3.0) < 0.05);
    QVERIFY(!store.ValueExists("Report", "Left margin"));
    SaveReportStyles(store);
    QVERIFY(std::abs(store.ReadFloat("Report", "Left margin", 0) - left) < 1e-12);
    QCOMPARE(store.ReadString("Report", "Top margin", ""), std::string("2"));
    QCOMPARE(store.ReadString("Report 2", "X1 margin", ""), std::string("3.5"));
}

// With DARVENIX_LOOK_DIR set, saves the window and a rendered page there for
// a person to look at.
void PreviewTest::saveLookImages() {
    const QByteArray dir = qgetenv("DARVENIX_LOOK_DIR");
    if (dir.isEmpty()) QSKIP("DARVENIX_LOOK_DIR not set");
    Preview p(RowsForPages(2));
    p.form.resize(900, 1000);
    p.form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&p.form));
    p.form.Engine().SetActiveLines({true, true, true, true, true, true});
    QVERIFY(p.form.grab().save(QString(dir) + "/report_preview_100.png"));
    p.form.ShowFullPage();
    p.form.ToggleMargins();
    QVERIFY(p.form.grab().save(QString(dir) + "/report_preview_fullpage_margins.png"));
    p.form.ToggleMargins();
    p.form.NextPage();
    QVERIFY(p.form.grab().save(QString(dir) + "/report_preview_page2.png"));
    QVERIFY(p.form.Pages().Render(0).save(QString(dir) + "/report_page1.png"));
    QVERIFY(p.form.Pages().Render(1).save(QString(dir) + "/report_page2.png"));
    // The GIF export as the file shows it, scaled down to half.
    p.answers << QString(dir) + "/report.gif";
    p.form.WriteGif();
    QImage gif(QString(dir) + "/report.gif");
    QVERIFY(!gif.isNull());
    QVERIFY(gif.scaled(gif.size() / 2, Qt::KeepAspectRatio, Qt::SmoothTransformation)
                .save(QString(dir) + "/report_gif_half.png"));
}

QTEST_MAIN(PreviewTest)
#include "tst_preview.moc"
