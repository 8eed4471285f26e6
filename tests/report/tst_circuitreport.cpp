// SPDX-License-Identifier: GPL-3.0-or-later
// The circuit report opened from the main window as a user opens it: the
// calculate-first question, the preview with the circuit's pages, the
// reduced-font message, the summary, and the logo in each of its forms.
// With DARVENIX_SCREENSHOT_DIR set, the first two pages and the preview
// window are saved there as PNG files.

#include "PageTextCapture.h"
#include "ui/TestProject.h"

#include "engine/catalogue/Bores.h"
#include "engine/catalogue/Tables.h"
#include "base/Format.h"
#include "engine/fluid/Fluid.h"
#include "base/platform/Folders.h"
#include "presentation/report/GridReport.h"
#include "presentation/report/ReportStyle.h"
#include "desktop/report/CircuitReportPreview.h"
#include "desktop/report/GifWriter.h"
#include "desktop/report/LogoImage.h"
#include "desktop/report/QtPageCanvas.h"
#include "desktop/report/PreviewWindow.h"
#include "storage/settings/SettingsStore.h"
#include "presentation/ui/PumpChart.h"
#include "desktop/windows/MainWindow.h"
#include "desktop/widgets/Messages.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPainter>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <functional>

#include <gif_lib.h>

using namespace dvx;
using namespace dvx::ui;

namespace {

// Texts of every page of the preview, page by page.
std::vector<QStringList> PageTexts(const TPreviewForm& form) {
    std::vector<QStringList> pages;
    for (int i = 0; i < form.PageCount(); ++i) {
        QStringList texts;
        for (const auto& t : test::PageTexts(form.Pages().Page(i), form.Pages().Width(),
                                             form.Pages().Height()))
            texts << t.text;
        pages.push_back(texts);
    }
    return pages;
}

int ImagesOn(const TPreviewForm& form, int page) {
    test::CaptureDevice device(form.Pages().Width(), form.Pages().Height());
    {
        QPainter p(&device);
        p.drawPicture(0, 0, form.Pages().Page(page));
    }
    return device.engine.images;
}

// The pixel sizes of the images drawn on a page.
std::vector<QSize> ImageSizesOn(const TPreviewForm& form, int page) {
    test::CaptureDevice device(form.Pages().Width(), form.Pages().Height());
    {
        QPainter p(&device);
        p.drawPicture(0, 0, form.Pages().Page(page));
    }
    return device.engine.imageSizes;
}

std::unique_ptr<TBranch> Pipe(int number, const std::string& description, double flowLs, double length) {
    auto pipe = std::make_unique<TPipe>(test::TestProject());
    pipe->Number = number;
    pipe->Description = description;
    pipe->Flow = flowLs / 1000;
    pipe->Length = length;
    pipe->SetBore(test::TestProject(), BoreForFlow(test::TestProject().Tables, flowLs));
    return pipe;
}

std::unique_ptr<TBranch> Fitting(int number, int type, const std::string& description, double flowLs, double quantity) {
    auto fitting = std::make_unique<TFitting>(test::TestProject(), type);
    fitting->Number = number;
    fitting->Description = description;
    fitting->Flow = flowLs / 1000;
    fitting->Quantity = quantity;
    fitting->SetBore(test::TestProject(), BoreForFlow(test::TestProject().Tables, flowLs));
    return fitting;
}

// A GIF written with giflib: a 4-colour palette, index 3 transparent,
// rows of index y % 3 and a transparent first column, stored interlaced or
// in order.
void WriteTestGif(const QString& path, int width, int height, bool interlaced) {
    int error = 0;
    GifFileType* gif = EGifOpenFileName(path.toLocal8Bit().constData(), false, &error);
    QVERIFY(gif != nullptr);
    GifColorType colours[4] = {{200, 30, 30}, {30, 160, 40}, {20, 40, 220}, {0, 0, 0}};
    ColorMapObject* map = GifMakeMapObject(4, colours);
    EGifSetGifVersion(gif, true);
    QCOMPARE(EGifPutScreenDesc(gif, width, height, 2, 0, map), GIF_OK);
    GraphicsControlBlock gcb{DISPOSAL_UNSPECIFIED, false, 0, 3};
    GifByteType ext[4];
    const size_t len = EGifGCBToExtension(&gcb, ext);
    QCOMPARE(EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, static_cast<int>(len), ext), GIF_OK);
    QCOMPARE(EGifPutImageDesc(gif, 0, 0, width, height, interlaced, nullptr), GIF_OK);
    std::vector<int> order;
    if (interlaced) {
        const int start[4] = {0, 4, 2, 1}, step[4] = {8, 8, 4, 2};
        for (int pass = 0; pass < 4; ++pass)
            for (int y = start[pass]; y < height; y += step[pass]) order.push_back(y);
    } else {
        for (int y = 0; y < height; ++y) order.push_back(y);
    }
    std::vector<GifPixelType> line(static_cast<size_t>(width));
    for (int y : order) {
        for (int x = 0; x < width; ++x) line[static_cast<size_t>(x)] = x == 0 ? 3 : static_cast<GifPixelType>(y % 3);
        QCOMPARE(EGifPutLine(gif, line.data(), width), GIF_OK);
    }
    QCOMPARE(EGifCloseFile(gif, &error), GIF_OK);
    GifFreeMapObject(map);
}

} // namespace

class CircuitReportTest : public QObject {
    Q_OBJECT

private:
    struct Shown {
        MsgKind kind;
        QString text;
    };
    QTemporaryDir home_;
    std::vector<Shown> messages_;
    std::vector<QMessageBox::StandardButton> answers_;
    std::unique_ptr<TMainForm> window_;
    int previewsShown_ = 0;

    TMainForm& W() { return *window_; }
    TPreviewForm& Preview() { return *W().ReportPreview(); }
    QString Path(const QString& name) { return home_.filePath(name); }
    QString ProgramPath(const QString& name) { return home_.filePath("program/" + name); }
    QString DataPath(const QString& name) { return home_.filePath("suite/Common Files/" + name); }

    static void WriteFile(const QString& path, const QByteArray& text) {
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(text);
    }

    // Opens the preview of a two-item circuit in a main window created now
    // (the letterhead and logo are read when it is created) and returns the
    // first page's texts and the sizes of the images on it.
    std::pair<QStringList, std::vector<QSize>> FirstPageOfANewWindow() {
        window_.reset();
        window_ = std::make_unique<TMainForm>(test::TestProject());
        Preview().Seams().printerInstalled = [] { return false; };
        FillCircuit(2);
        W().CalcBtnClick();
        std::pair<QStringList, std::vector<QSize>> page;
        WhenPreviewShows([&](TPreviewForm& form) {
            page = {PageTexts(form)[0], ImageSizesOn(form, 0)};
        });
        W().Preview1Click();
        return page;
    }

    // Runs `inspect` on the preview once it shows modally, then closes it.
    void WhenPreviewShows(std::function<void(TPreviewForm&)> inspect) {
        QTimer::singleShot(0, this, [this, inspect] {
            TPreviewForm& form = Preview();
            if (!form.isVisible()) return;
            ++previewsShown_;
            inspect(form);
            form.accept();
        });
    }

    QStringList Said() {
        QStringList r;
        for (const auto& m : messages_) r << m.text;
        return r;
    }

    // A circuit of `n` items as an engineer writes them: runs of pipe with
    // their elbows and valves, and a coil with its fixed pressure drop.
    void FillCircuit(int n) {
        TCircuit& c = W().Circuit();
        c.Heading1 = "Chilled water - Riverside office block";
        c.Heading2 = "Index circuit, plant room to AHU-3";
        for (int i = 1; i <= n; ++i) {
            const double flow = 2.0 + (i % 9) * 1.5;
            std::unique_ptr<TBranch> item;
            switch (i % 5) {
            case 0: item = Fitting(i, 0, "Elbows on riser " + std::to_string(i / 5 + 1), flow, 2 + i % 3); break;
            case 3: item = Fitting(i, 10, "Isolating valve", flow, 1); break;
            case 4: {
                auto user = std::make_unique<TUser>(test::TestProject());
                user->Number = i;
                user->Description = "Cooling coil AHU-" + std::to_string(i % 7 + 1);
                user->Flow = flow / 1000;
                user->PressureDrop = 18500 + 250.0 * (i % 11);
                user->SetBore(test::TestProject(), BoreForFlow(test::TestProject().Tables, flow));
                item = std::move(user);
                break;
            }
            default: item = Pipe(i, "Flow main level " + std::to_string(i % 12 + 1), flow, 3.5 + (i % 13) * 1.25);
            }
            c.Append(std::move(item));
        }
        W().SetSolved(false);
    }

    void SetReportFontSize(int points) {
        CircuitReportStyle().font.size = points;
    }

    void SaveScreenshot(const QImage& image, const QString& name) {
        const QByteArray dir = qgetenv("DARVENIX_SCREENSHOT_DIR");
        if (dir.isEmpty()) return;
        QDir().mkpath(QString::fromLocal8Bit(dir));
        QVERIFY(image.save(QDir(QString::fromLocal8Bit(dir)).filePath(name)));
    }

private slots:
    void initTestCase() {
        QVERIFY(home_.isValid());
        qputenv("HOME", home_.path().toUtf8());
        qputenv("XDG_CONFIG_HOME", Path("config").toUtf8());
        qputenv("XDG_DATA_HOME", Path("data").toUtf8());
        QDir().mkpath(Path("program"));
        QDir().mkpath(Path("suite/Common Files"));
        FixFolders({Path("program/").toStdString(), Path("suite/").toStdString(),
                    Path("suite/Common Files/").toStdString()});
        SetMessageHandler([this](QWidget*, MsgKind kind, const QString& text, QMessageBox::StandardButtons) {
            messages_.push_back({kind, text});
            if (answers_.empty()) return QMessageBox::Ok;
            auto answer = answers_.front();
            answers_.erase(answers_.begin());
            return answer;
        });
    }

    void init() {
        test::TestProject().Tables.RestoreBuiltIn();
        *dvx::test::TestProject().Liquid = dvx::TLiquid("Water", 0, 0.0, 9.0, 9.0);
        SetAppSettings(SettingsStore(Path("config/Quellstrand/darvenix.ini").toStdString()));
        CircuitReportStyle() = TReportStyle{};
        SetReportFontSize(10);
        messages_.clear();
        answers_.clear();
        previewsShown_ = 0;
        window_ = std::make_unique<TMainForm>(test::TestProject());
        Preview().Seams().printerInstalled = [] { return false; };
        W().show();
    }

    void cleanup() {
        W().Circuit().Saved = true;
        window_.reset();
        for (const QString& file : {ProgramPath("ReportLogo.gif"), ProgramPath("LetterHead.txt"),
                                    DataPath("ReportLogo.gif"), DataPath("LetterHead.txt"),
                                    DataPath("Letterhead.txt")})
            QFile::remove(file);
    }

    void menuEntryAndToolButtonOpenTheReport() {
        QAction* menu = W().Action("actionFilePreview");
        QAction* button = W().Action("actionToolBarReport");
        QVERIFY(menu && button);
        QVERIFY(menu->isEnabled());
        QVERIFY(button->isEnabled());
        QCOMPARE(button->toolTip(), QString("Report preview"));
        FillCircuit(3);
        W().CalcBtnClick();
        for (QAction* a : {menu, button}) {
            WhenPreviewShows([](TPreviewForm& form) {
                QCOMPARE(form.PageCount(), 1);
                // The style "Report"; only the four page margins can be dragged.
                QCOMPARE(form.Report()->Style(), &CircuitReportStyle());
                QCOMPARE(form.Report()->JobTitle(), std::string("Darvenix Report"));
                const auto& active = form.Engine().ActiveLines();
                for (int line = 0; line < kMarginLineCount; ++line)
                    QCOMPARE(active[line], line <= mlBottom);
            });
            a->trigger();
        }
        QCOMPARE(previewsShown_, 2);
        QVERIFY(messages_.empty()); // solved: no question
    }

    void notSolvedAsksAndCancelShowsNothing() {
        FillCircuit(3);
        answers_ = {QMessageBox::Cancel};
        WhenPreviewShows([](TPreviewForm&) {});
        W().Preview1Click();
        QCoreApplication::processEvents();
        QCOMPARE(previewsShown_, 0);
        QCOMPARE(messages_.size(), size_t(1));
        QCOMPARE(messages_[0].kind, MsgKind::Confirmation);
        QCOMPARE(messages_[0].text, QString("Circuit must be calculated first.\nCalculate now?"));
        QVERIFY(!W().Circuit().Solved);
        QCOMPARE(W().StatusPanel(1)->text(), QString("Not Solved"));
    }

    void notSolvedAnsweredOkCalculatesAndReportsTheResults() {
        FillCircuit(3);
        answers_ = {QMessageBox::Ok};
        std::vector<QStringList> pages;
        WhenPreviewShows([&](TPreviewForm& form) { pages = PageTexts(form); });
        W().Preview1Click();
        QCOMPARE(previewsShown_, 1);
        QVERIFY(W().Circuit().Solved);
        QCOMPARE(pages.size(), size_t(1));
        const QStringList& texts = pages[0];
        QVERIFY(texts.contains("Darvenix Report"));
        QVERIFY(texts.contains("Chilled water - Riverside office block"));
        QVERIFY(texts.contains(" Description"));
        QVERIFY(texts.contains(" Flow main level 2"));
        const TCircuit& c = W().Circuit();
        QVERIFY(texts.contains(QString::fromStdString(
            FormatFloat("Index circuit total pressure drop %0.4g kPa", c.TotalDP / 1000))));
        QVERIFY(texts.contains(QString::fromStdString(FormatFloat("Total system volume %0.4g m\u00B3", c.TotalVolume))));
        QVERIFY(texts.contains(
            "System fluid: " +
            QString::fromStdString(test::TestProject().Liquid->GetDescription()) + " \u00B0C"));
        QVERIFY(!texts.contains("- 1 -")); // one page: no page number
    }

    void projectWithAPumpEndsWithThePlotPage() {
        FillCircuit(3);
        W().Circuit().Calculate(test::TestProject(), false);
        // A pump through 1.5 times the circuit's head at no flow and its
        // design head at 1.25 times the largest flow.
        const TCircuit& c = W().Circuit();
        double q = 0;
        for (const auto& item : c.Items) q = std::max(q, item->Flow);
        const double h = c.TotalDP / (test::TestProject().Liquid->ro * 9.80665);
        W().Circuit().Pump.Points = {{0, 1.5 * h, 0}, {0.8 * q, 1.3 * h, 0.6}, {1.6 * q, 0.7 * h, 0.7}};
        std::vector<QStringList> pages;
        QImage plot;
        WhenPreviewShows([&](TPreviewForm& form) {
            pages = PageTexts(form);
            plot = form.Pages().Render(form.PageCount() - 1);
        });
        answers_ = {QMessageBox::Ok};
        W().Preview1Click();
        QCOMPARE(pages.size(), std::size_t{2});
        QVERIFY(pages[0].contains(" Description"));
        QVERIFY(!pages[1].contains(" Description"));
        QVERIFY(pages[1].contains("Pump and System Curve"));
        QVERIFY(pages[1].contains("Flow (l/s)"));
        const TPumpAnalysis a =
            AnalysePump(test::TestProject(), W().Circuit(), W().GroupsActive(), W().Circuit().Pump);
        QVERIFY(a.Duty && a.Duty->Found);
        QVERIFY(pages[1].contains(QString::fromStdString(ChartOf(a, W().Circuit().Pump).DutyLabel)));
        QVERIFY(pages[1].join(' ').contains("shaft power"));
        SaveScreenshot(plot, "circuitreport-pump.png");
    }

    void calculationRefusedReportsWithoutANumber() {
        FillCircuit(3);
        W().Circuit().Item(1).Flow = 0; // "Data may not be zero"
        answers_ = {QMessageBox::Ok};
        std::vector<QStringList> pages;
        WhenPreviewShows([&](TPreviewForm& form) { pages = PageTexts(form); });
        W().Preview1Click();
        QCOMPARE(previewsShown_, 1);
        QVERIFY(Said().contains("Data may not be zero"));
        QCOMPARE(pages.size(), size_t(1));
        QVERIFY(pages[0].contains(QString::fromUtf8("Index circuit total pressure drop \u00A4\u00A4\u00A4\u00A4 kPa")));
        QVERIFY(!pages[0].join("|").contains("Total system volume"));
    }

    void longCircuitContinuesOnFurtherPages() {
        // A firm's letterhead and logo, as a report handed to a client has them.
        {
            QFile f(ProgramPath("LetterHead.txt"));
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write("Quellstrand Consulting Engineers\n12 Harbour Road, Leith, Edinburgh EH6 6LX\n"
                    "Tel 0131 555 0123   www.quellstrand.example\n");
        }
        QImage logo(360, 140, QImage::Format_RGB32);
        logo.fill(Qt::white);
        {
            QPainter p(&logo);
            p.setRenderHint(QPainter::Antialiasing);
            p.setBrush(QColor(20, 60, 120));
            p.setPen(Qt::NoPen);
            p.drawRoundedRect(QRect(4, 4, 352, 132), 18, 18);
            p.setPen(Qt::white);
            QFont font = p.font();
            font.setPixelSize(70);
            font.setBold(true);
            p.setFont(font);
            p.drawText(QRect(4, 4, 352, 132), Qt::AlignCenter, "QCE");
        }
        WriteStackedGif(ProgramPath("ReportLogo.gif").toStdString(), 360, 140, 1,
                        [&](int) { return logo; });
        SetReportLetterhead(DataFolder(), ProgramFolder()); // as at start-up

        FillCircuit(150);
        W().CalcBtnClick();
        QVERIFY(W().Circuit().Solved);
        std::vector<QStringList> pages;
        QStringList numbers; // texts written at the left edge of the "#" column
        QImage first, second, last, window;
        WhenPreviewShows([&](TPreviewForm& form) {
            pages = PageTexts(form);
            const qreal left = form.Engine().LeftPx();
            for (int p = 0; p < form.PageCount(); ++p)
                for (const auto& t : test::PageTexts(form.Pages().Page(p), form.Pages().Width(),
                                                     form.Pages().Height()))
                    if (qAbs(t.baseline.x() - left) < 0.5 && t.text != " #" &&
                        t.text.trimmed().toInt() > 0)
                        numbers << t.text;
            first = form.Pages().Render(0);
            if (form.PageCount() > 1) second = form.Pages().Render(1);
            last = form.Pages().Render(form.PageCount() - 1);
            form.resize(900, 1000);
            QCoreApplication::processEvents();
            window = form.grab().toImage();
        });
        W().Preview1Click();
        QVERIFY(pages.size() >= 3);
        const QString total = QString::fromStdString(
            FormatFloat("Index circuit total pressure drop %0.4g kPa", W().Circuit().TotalDP / 1000));
        for (std::size_t p = 0; p < pages.size(); ++p) {
            const QStringList& t = pages[p];
            QCOMPARE(t.contains("Darvenix Report"), p == 0);
            QCOMPARE(t.contains("Quellstrand Consulting Engineers"), p == 0);
            QVERIFY(t.contains("Chilled water - Riverside office block"));
            QVERIFY(t.contains("Index circuit, plant room to AHU-3"));
            QVERIFY(t.contains(" #"));
            QVERIFY(t.contains(" dP, kPa"));
            QVERIFY(t.contains(QString("- %1 -").arg(p + 1)));
            QCOMPARE(t.contains(total), p + 1 == pages.size());
        }
        // The "#" column: every item once, in order, over the pages.
        QCOMPARE(numbers.size(), qsizetype(150));
        for (int i = 0; i < 150; ++i) QCOMPARE(numbers[i], QString(" %1").arg(i + 1));
        SaveScreenshot(first, "circuitreport-page1.png");
        SaveScreenshot(second, "circuitreport-page2.png");
        SaveScreenshot(last, "circuitreport-last.png");
        SaveScreenshot(window, "circuitreport-preview.png");
    }

    void wideTableFontReducedAtTwelvePointsNotAtEight() {
        W().SetGroupsActive(true); // all nine columns
        FillCircuit(20);
        W().Circuit().Item(0).Description = "Flow and return mains from the plant room to the riser at grid line C";
        W().CalcBtnClick();
        messages_.clear();

        SetReportFontSize(12);
        int fitted = 0;
        int edge = 0, right = 0;
        WhenPreviewShows([&](TPreviewForm& form) {
            SaveScreenshot(form.Pages().Render(0), "circuitreport-reduced-12pt.png");
            fitted = GridReport().Setup().fittedSize;
            edge = GridReport().Setup().columnEdges.back();
            right = form.Engine().RightPx();
        });
        W().Preview1Click();
        QVERIFY(fitted == 10 || fitted == 11);
        QCOMPARE(Said(), QStringList{QString("Font size in table reduced to %1 to fit all columns").arg(fitted)});
        QVERIFY(edge <= right);

        // Laid out again while it is open (margins reset): not repeated.
        messages_.clear();
        WhenPreviewShows([&](TPreviewForm& form) {
            messages_.clear();
            form.ResetMargins();
        });
        W().Preview1Click();
        QCOMPARE(Said(), QStringList{});

        messages_.clear();
        SetReportFontSize(8);
        WhenPreviewShows([&](TPreviewForm& form) {
            SaveScreenshot(form.Pages().Render(0), "circuitreport-narrowed-8pt.png");
            fitted = GridReport().Setup().fittedSize;
            edge = GridReport().Setup().columnEdges.back();
            right = form.Engine().RightPx();
        });
        W().Preview1Click();
        QCOMPARE(fitted, 8);
        QVERIFY(Said().isEmpty());
        QVERIFY(edge <= right); // the description column gave way
    }

    void logoInEveryFormAndBrokenOnesSkippedSilently() {
        // The same small picture as GIF, JPEG, PNG and BMP.
        QImage picture(120, 60, QImage::Format_RGB32);
        picture.fill(QColor(20, 90, 160));
        for (int x = 0; x < 60; ++x)
            for (int y = 0; y < 60; ++y) picture.setPixel(x, y, qRgb(230, 40, 30));
        const QString gif = Path("logo.gif"), jpg = Path("logo.jpg"), png = Path("logo.png"),
                      bmp = Path("logo.bmp");
        WriteStackedGif(gif.toStdString(), 120, 60, 1, [&](int) { return picture; });
        QVERIFY(picture.save(jpg, "JPG", 95));
        QVERIFY(picture.save(png, "PNG"));
        QVERIFY(picture.save(bmp, "BMP"));

        // GIF rows, interlaced or not, with their transparent pixels.
        for (bool interlaced : {false, true}) {
            WriteTestGif(Path("rows.gif"), 20, 13, interlaced);
            const QImage rows = DecodeGifFile(Path("rows.gif").toStdString());
            QCOMPARE(rows.size(), QSize(20, 13));
            const QRgb expected[3] = {qRgb(200, 30, 30), qRgb(30, 160, 40), qRgb(20, 40, 220)};
            for (int y = 0; y < 13; ++y) {
                QCOMPARE(qAlpha(rows.pixel(0, y)), 0);
                QCOMPARE(rows.pixel(7, y), expected[y % 3]);
            }
        }

        for (const QString& file : {gif, jpg, png, bmp}) {
            auto image = LoadLogoImage(file.toStdString());
            QVERIFY2(image != nullptr, qPrintable(file));
            QCOMPARE(image->Width(), 120);
            QCOMPARE(image->Height(), 60);
            const QImage& q = static_cast<TQtPageImage&>(*image).Image();
            // The GIF carries the colours of the writer's palette.
            const bool isGif = file == gif;
            const QColor red = isGif ? QColor(GifPaletteColor(GifPaletteIndex(qRgb(230, 40, 30)))) : QColor(230, 40, 30);
            const QColor blue = isGif ? QColor(GifPaletteColor(GifPaletteIndex(qRgb(20, 90, 160)))) : QColor(20, 90, 160);
            const QColor left = q.pixelColor(10, 30), right = q.pixelColor(110, 30);
            QVERIFY2(qAbs(left.red() - red.red()) < 8 && qAbs(left.blue() - red.blue()) < 8, qPrintable(file));
            QVERIFY2(qAbs(right.red() - blue.red()) < 8 && qAbs(right.blue() - blue.blue()) < 8, qPrintable(file));
        }

        // Damaged files: truncated, or not pictures at all.
        QFile::copy(gif, Path("cut.gif"));
        QFile::resize(Path("cut.gif"), 30);
        QFile::copy(jpg, Path("cut.jpg"));
        QFile::resize(Path("cut.jpg"), 200);
        for (QString name : {"cut.gif", "cut.jpg", "text.gif", "text.jpg", "text.png", "text.bmp"}) {
            if (name.startsWith("text")) {
                QFile f(Path(name));
                QVERIFY(f.open(QIODevice::WriteOnly));
                f.write("not a picture at all\n");
            }
            QVERIFY2(LoadLogoImage(Path(name).toStdString()) == nullptr, qPrintable(name));
        }

        // In the report: the logo found in the program folder at start-up.
        FillCircuit(3);
        W().CalcBtnClick();
        for (const auto& [file, drawn] : {std::pair{gif, 1}, std::pair{Path("cut.gif"), 0}}) {
            window_.reset();
            QFile::remove(ProgramPath("ReportLogo.gif"));
            QVERIFY(QFile::copy(file, ProgramPath("ReportLogo.gif")));
            window_ = std::make_unique<TMainForm>(test::TestProject());
            Preview().Seams().printerInstalled = [] { return false; };
            FillCircuit(3);
            W().CalcBtnClick();
            messages_.clear();
            int images = -1;
            QStringList texts;
            WhenPreviewShows([&](TPreviewForm& form) {
                images = ImagesOn(form, 0);
                texts = PageTexts(form)[0];
            });
            W().Preview1Click();
            QCOMPARE(images, drawn);
            QVERIFY(messages_.empty());
            QVERIFY(texts.contains("Darvenix Report"));
            W().Circuit().Saved = true;
        }
    }

    void letterheadFromTheProgramFolder() {
        WriteFile(ProgramPath("LetterHead.txt"),
                  "Quellstrand Consulting Engineers\r\n12 Harbour Road, Leith\r\nTel 0131 555 0123\r\n");
        const QStringList texts = FirstPageOfANewWindow().first;
        QVERIFY(texts.contains("Quellstrand Consulting Engineers"));
        QVERIFY(texts.contains("12 Harbour Road, Leith"));
        QVERIFY(texts.contains("Tel 0131 555 0123"));
    }

    // A user's own letterhead and logo in the data folder (writable, unlike
    // an installed program folder) come before the ones beside the program.
    void letterheadAndLogoFromTheUsersDataFolder() {
        WriteFile(ProgramPath("LetterHead.txt"), "Program Folder Letterhead Ltd\n");
        WriteStackedGif(ProgramPath("ReportLogo.gif").toStdString(), 40, 40, 1, [](int) {
            QImage square(40, 40, QImage::Format_RGB32);
            square.fill(Qt::red);
            return square;
        });
        // The logo is drawn 4 cm wide; its proportions tell which file it came from.
        auto [texts, images] = FirstPageOfANewWindow();
        QVERIFY(texts.contains("Program Folder Letterhead Ltd"));
        QCOMPARE(images.size(), size_t(1));
        QCOMPARE(images[0].width(), images[0].height());

        WriteFile(DataPath("LetterHead.txt"), "Northbank Building Services Ltd\n4 Mill Lane, Exampleton\n");
        WriteStackedGif(DataPath("ReportLogo.gif").toStdString(), 120, 30, 1, [](int) {
            QImage wide(120, 30, QImage::Format_RGB32);
            wide.fill(Qt::darkBlue);
            return wide;
        });
        std::tie(texts, images) = FirstPageOfANewWindow();
        QVERIFY(texts.contains("Northbank Building Services Ltd"));
        QVERIFY(texts.contains("4 Mill Lane, Exampleton"));
        QVERIFY(!texts.contains("Program Folder Letterhead Ltd"));
        QCOMPARE(images.size(), size_t(1));
        QVERIFY2(qAbs(images[0].width() - 4 * images[0].height()) <= 4,
                 qPrintable(QString("%1 x %2").arg(images[0].width()).arg(images[0].height())));

        // The data folder's letterhead also under the name earlier versions read there.
        QVERIFY(QFile::remove(DataPath("LetterHead.txt")));
        WriteFile(DataPath("Letterhead.txt"), "Riverside Mechanical\n");
        texts = FirstPageOfANewWindow().first;
        QVERIFY(texts.contains("Riverside Mechanical"));
        QVERIFY(!texts.contains("Program Folder Letterhead Ltd"));
    }
};

QTEST_MAIN(CircuitReportTest)
#include "tst_circuitreport.moc"
