// SPDX-License-Identifier: GPL-3.0-or-later
// Photo printing and the album report through Qt's printing, read back from real PDF files
// with poppler-utils: page counts and sizes, the report's text, a printed page against the page
// the window composed. With VIMBREL_CUPS_QUEUE and VIMBREL_CUPS_OUT set (tests/print/
// test_cups.sh does that) the same jobs also go through a CUPS queue.

#include "albumfixture.h"
#include "phprint.h"
#include "picturefiles.h"
#include "poolgate.h"
#include "reportprint.h"
#include "scriptedprinter.h"

#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <QTimer>
#include <gtest/gtest.h>
#include <thread>

using namespace vimbrel;

namespace {

QString run(const QString& program, const QStringList& args) {
    QProcess p;
    p.start(program, args);
    p.waitForFinished(60000);
    return QString::fromUtf8(p.readAllStandardOutput());
}

int pdfPages(const QString& file) {
    const QString out = run(QStringLiteral("pdfinfo"), {file});
    return QRegularExpression(QStringLiteral("Pages:\\s+(\\d+)")).match(out).captured(1).toInt();
}

// A PDF of `pages` pages of `width` x `height` points (Letter 612 x 792, 4 x 6 in 288 x 432).
void expectPdf(const QString& file, int pages, int width, int height) {
    const QString out = run(QStringLiteral("pdfinfo"), {file});
    EXPECT_EQ(pdfPages(file), pages) << qPrintable(file);
    const auto m =
        QRegularExpression(QStringLiteral("Page size:\\s+([\\d.]+) x ([\\d.]+) pts")).match(out);
    EXPECT_NEAR(m.captured(1).toDouble(), width, 1) << qPrintable(file);
    EXPECT_NEAR(m.captured(2).toDouble(), height, 1) << qPrintable(file);
}

// Page `page` of a PDF drawn at `dpi`.
QImage renderedPage(const QString& file, int page, int dpi) {
    QTemporaryDir dir;
    const QString prefix = dir.filePath(QStringLiteral("p"));
    run(QStringLiteral("pdftoppm"),
        {QStringLiteral("-r"), QString::number(dpi), QStringLiteral("-f"), QString::number(page),
         QStringLiteral("-l"), QString::number(page), QStringLiteral("-singlefile"),
         QStringLiteral("-png"), file, prefix});
    return QImage(prefix + QStringLiteral(".png")).convertToFormat(QImage::Format_RGB32);
}

// Mean difference per channel of two pictures of one size, 0..255; `b` is scaled to `a`'s size.
double meanDifference(const QImage& a, QImage b) {
    b = b.scaled(a.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
            .convertToFormat(QImage::Format_RGB32);
    double sum = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
            sum += std::abs(qRed(p) - qRed(q)) + std::abs(qGreen(p) - qGreen(q)) +
                   std::abs(qBlue(p) - qBlue(q));
        }
    return sum / (3.0 * a.width() * a.height());
}

// Group 1 of 8 frames holding pictures 1..5: landscape 1600 x 1200 ones and a portrait one.
struct PrintFixture : test::Fixture {
    QTemporaryDir tmp;
    PictureLibrary pictures{tmp.filePath(QStringLiteral("thumbs")), 64 << 20};
    test::ScriptedPrinterSetup printers;
    QList<QImage> composed;

    PrintFixture() {
        a.picdir = tmp.filePath(QStringLiteral("A")) + QLatin1Char('/');
        QDir().mkpath(a.picdir);
        for (int s = 1; s <= 5; ++s) {
            addPicture(s, s, s);
            const QSize size = s == 3 ? QSize(1200, 1600) : QSize(1600, 1200);
            test::writeFile(a.picdir + fileName(s),
                            test::jpegBytes(test::markedPicture(size.width(), size.height())));
            a.pics[s].pwidth = static_cast<Integer>(size.width());
            a.pics[s].pheight = static_cast<Integer>(size.height());
        }
        setGroups({8});
        a.curgrp = 1;
        a.albname = QStringLiteral("TRIP");
    }
    void select(std::initializer_list<int> chosen) {
        for (int s : chosen)
            a.pics[s].psel = 0;
        a.nsel = static_cast<Integer>(chosen.size());
    }
    QString toFile(const QString& name) {
        const QString path = tmp.filePath(name);
        printers.printer().setOutputFileName(path);
        return path;
    }
    std::unique_ptr<phprint> open() {
        auto w = std::make_unique<phprint>(a, pictures, printers);
        w->onPage = [this](int, const QImage& page) {
            composed.append(page);
        };
        return w;
    }
};

} // namespace

TEST(PhotoPrinting, FivePicturesInLayout0MakeTwoLetterPages) {
    PrintFixture f;
    f.select({1, 2, 3, 4, 5});
    const QString pdf = f.toFile(QStringLiteral("five.pdf"));
    auto w = f.open();
    w->frmtype_Click(0);
    EXPECT_EQ(w->pages(), 2);
    w->cb_print_Click();
    EXPECT_EQ(f.printers.titles, QStringList{QStringLiteral("Printer Setup")});
    EXPECT_EQ(w->prstat->text(), QStringLiteral("Completed  2 Pages"));
    EXPECT_FALSE(w->cb_cancelprint->isEnabled());

    expectPdf(pdf, 2, 612, 792);

    // The printed page is the composed one: same picture at a lower resolution.
    ASSERT_EQ(f.composed.size(), 2);
    for (int p = 1; p <= 2; ++p) {
        const QImage printed = renderedPage(pdf, p, 30);
        ASSERT_EQ(printed.size(), QSize(255, 330));
        EXPECT_LT(meanDifference(printed, f.composed[p - 1]), 6.0) << "page " << p;
    }
    // Page 2 holds pictures 4 and 5; its third cell stays white.
    const PageGeometry g = pageGeometry(0);
    EXPECT_EQ(f.composed[1].pixel(g.cellOrigin(2) + QPoint(750, 450)), qRgb(255, 255, 255));
}

TEST(PhotoPrinting, CopiesOfOnePicture) {
    PrintFixture f;
    f.select({3});
    const QString pdf = f.toFile(QStringLiteral("copies.pdf"));
    auto w = f.open();
    EXPECT_FALSE(w->prtcp->isHidden());
    // Only digits can be typed.
    w->prtcp->clear();
    QTest::keyClicks(w->prtcp, QStringLiteral("1a-2."));
    EXPECT_EQ(w->prtcp->text(), QStringLiteral("12"));
    QTest::keyClick(w->prtcp, Qt::Key_Backspace);
    EXPECT_EQ(w->prtcp->text(), QStringLiteral("1"));

    // Out of range: the message, and nothing printed.
    w->prtcp->setText(QStringLiteral("7"));
    w->cb_print_Click();
    ASSERT_EQ(f.ui.shown.size(), 1);
    EXPECT_EQ(f.ui.shown[0].title, QStringLiteral("Print"));
    EXPECT_EQ(f.ui.shown[0].text, QStringLiteral("Invalid Number of Copies"));
    EXPECT_TRUE(f.printers.titles.isEmpty());

    // Another layout resets the field and its hint.
    w->frmtype_Click(3);
    EXPECT_EQ(w->prtcp->text(), QStringLiteral("1"));
    EXPECT_EQ(w->cplit2->text(), QStringLiteral(" ( 1 to 2 )"));

    // Three copies, two a page: two pages, the portrait picture turned in the wide cells.
    w->frmtype_Click(1);
    w->prtcp->setText(QStringLiteral("3"));
    w->cb_print_Click();
    EXPECT_EQ(w->prstat->text(), QStringLiteral("Completed  2 Pages"));
    EXPECT_EQ(pdfPages(pdf), 2);
    ASSERT_EQ(f.composed.size(), 2);
    const PageGeometry g = pageGeometry(1);
    // Turned clockwise: the red top-left corner of the picture is now at the top right.
    const QImage cell = f.composed[1].copy(QRect(g.cellOrigin(0), g.cell));
    EXPECT_TRUE(test::near(test::cornerColour(cell, 'b'), test::kRed));
    EXPECT_EQ(f.composed[1].pixel(g.cellOrigin(1) + QPoint(50, 50)), qRgb(255, 255, 255));
}

TEST(PhotoPrinting, NothingSelectedCancelledDialogAndFourBySix) {
    PrintFixture f;
    QString pdf = f.toFile(QStringLiteral("none.pdf"));
    {
        auto w = f.open();
        EXPECT_TRUE(w->prtcp->isHidden());
        w->cb_print_Click();
        EXPECT_EQ(w->prstat->text(), QStringLiteral("Completed  0 Pages"));
        EXPECT_FALSE(QFile::exists(pdf));
    }
    f.select({1, 3});
    f.printers.answers.enqueue(false);
    auto w = f.open();
    w->frmtype_Click(5);
    w->cb_print_Click();
    EXPECT_EQ(w->prstat->text(), QString());
    EXPECT_TRUE(f.composed.isEmpty());

    pdf = f.toFile(QStringLiteral("fourbysix.pdf"));
    w->cb_print_Click();
    expectPdf(pdf, 2, 288, 432);
    // The landscape picture is turned to the page and, smaller than it, printed at its own size
    // in the middle: not enlarged.
    ASSERT_EQ(f.composed.size(), 2);
    EXPECT_EQ(f.composed[0].size(), QSize(1200, 1800));
    EXPECT_EQ(f.composed[0].pixel(600, 60), qRgb(255, 255, 255));
    EXPECT_TRUE(test::near(f.composed[0].pixel(600, 900), test::kBlue));
}

TEST(PhotoPrinting, CancelMidJobAndPrinterFailure) {
    PrintFixture f;
    f.select({1, 2, 3, 4, 5});
    const QString pdf = f.toFile(QStringLiteral("cancel.pdf"));
    auto w = f.open();
    w->frmtype_Click(3); // one a page: five pages
    // The user presses Cancel while page 2 is being filled; page 1 is already out.
    w->onPage = [&](int page, const QImage&) {
        if (page == 1)
            QTimer::singleShot(0, w->cb_cancelprint, &QPushButton::click);
    };
    f.printers.onConfirm = [&] {
        EXPECT_FALSE(w->printing());
    };
    w->cb_print_Click();
    EXPECT_EQ(w->prstat->text(), QStringLiteral("Print Canceled"));
    EXPECT_EQ(pdfPages(pdf), 1);
    EXPECT_TRUE(w->cb_cancel->isEnabled());

    // A file that cannot be written: the error, then the job ends as cancelled.
    f.printers.onConfirm = nullptr;
    w->onPage = nullptr;
    f.printers.printer().setOutputFileName(f.tmp.filePath(QStringLiteral("no/such/dir/x.pdf")));
    w->cb_print_Click();
    ASSERT_EQ(f.ui.shown.size(), 1);
    EXPECT_EQ(f.ui.shown[0].title, QStringLiteral("Print - ERROR"));
    EXPECT_EQ(f.ui.shown[0].icon, MsgIcon::Critical);
    EXPECT_EQ(w->prstat->text(), QStringLiteral("Print Canceled"));
    EXPECT_TRUE(w->cb_print->isEnabled());
}

// Cells still being made are waited for with the window alive: never made on the GUI thread
// meanwhile, and Cancel ends the wait.
TEST(PhotoPrinting, CancelWhileACellIsBeingMade) {
    PrintFixture f;
    f.select({1, 2, 3, 4, 5});
    f.toFile(QStringLiteral("waiting.pdf"));
    auto w = f.open();
    w->frmtype_Click(3);
    test::PoolGate busy(f.pictures); // no cell can be made
    // Should the window block, the cells are let through in the end, so the test fails, not hangs.
    std::thread unblock([&busy] {
        std::this_thread::sleep_for(std::chrono::seconds(3));
        busy.release();
    });
    QTimer::singleShot(100, w->cb_cancelprint, &QPushButton::click);
    w->cb_print_Click();
    unblock.join();
    EXPECT_EQ(w->prstat->text(), QStringLiteral("Print Canceled"));
    EXPECT_TRUE(f.composed.isEmpty());
    EXPECT_EQ(f.pictures.stats().guiThreadLoads, 0);
}

namespace {

// The report's text as pdftotext lays it out, one string per page.
QStringList reportText(const QString& pdf) {
    return run(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")})
        .split(QLatin1Char('\f'), Qt::SkipEmptyParts);
}

} // namespace

TEST(AlbumReportPrinting, ReadBackFromThePdf) {
    PrintFixture f;
    f.a.albdesc = QStringLiteral("Summer at the sea");
    f.a.grps[1].gname = QStringLiteral("Beach");
    const QString pdf = f.toFile(QStringLiteral("report.pdf"));
    f.printers.answers.enqueue(false);
    PrintRep(f.a, f.printers, nullptr);
    EXPECT_FALSE(QFile::exists(pdf));

    PrintRep(f.a, f.printers, nullptr);
    EXPECT_EQ(f.printers.titles.size(), 2);
    expectPdf(pdf, 1, 612, 792);
    const QStringList pages = reportText(pdf);
    ASSERT_EQ(pages.size(), 1);
    const QString today = QDate::currentDate().toString(QStringLiteral("MM/dd/yy"));
    for (const QString& want :
         {QStringLiteral("Vimbrel"), today + QStringLiteral("    Page     1"),
          QStringLiteral("TRIP - Summer at the sea"), QStringLiteral("Groups:     1"),
          QStringLiteral("Photos:     5"), QStringLiteral("Beach        [Frames: 8    Photos: 5]"),
          QStringLiteral("- vmb0004.jpg  ,short 4"), QStringLiteral("long 4")})
        EXPECT_TRUE(pages[0].simplified().contains(want.simplified())) << qPrintable(want) << "\n"
                                                                       << qPrintable(pages[0]);
}

TEST(AlbumReportPrinting, LongAlbumKeepsEveryLineOnItsPage) {
    test::Fixture f;
    for (int s = 1; s <= 200; ++s)
        f.addPicture(s, s, s);
    f.setGroups({100, 100});
    QTemporaryDir tmp;
    test::ScriptedPrinterSetup printers;
    const QString pdf = tmp.filePath(QStringLiteral("long.pdf"));
    printers.printer().setOutputFileName(pdf);
    PrintRep(f.a, printers, nullptr);
    const QList<ReportPage> want = albumReport(f.a, QDate::currentDate());
    const QStringList pages = reportText(pdf);
    ASSERT_EQ(pages.size(), want.size());
    EXPECT_EQ(pdfPages(pdf), want.size());
    // Each page ends with the last line the report put on it.
    for (int i = 0; i < want.size(); ++i) {
        QString last;
        for (const ReportLine& l : want[i])
            if (!l.text().trimmed().isEmpty())
                last = l.text().trimmed();
        EXPECT_TRUE(pages[i].simplified().endsWith(last.simplified()))
            << i << ": " << qPrintable(last);
    }
}

namespace {

// The PDFs cups-pdf has written since `before`, oldest first, once the queue is empty.
QStringList cupsOutput(const QString& folder, const QSet<QString>& before, int expected) {
    QElapsedTimer t;
    t.start();
    QStringList found;
    while (t.elapsed() < 60000) {
        found.clear();
        for (const QFileInfo& fi :
             QDir(folder).entryInfoList({QStringLiteral("*.pdf")}, QDir::Files, QDir::Time))
            if (!before.contains(fi.fileName()))
                found.prepend(fi.filePath());
        if (found.size() >= expected &&
            run(QStringLiteral("lpstat"), {QStringLiteral("-o")}).trimmed().isEmpty())
            break;
        QThread::msleep(200);
    }
    return found;
}

QSet<QString> pdfsIn(const QString& folder) {
    const QStringList l = QDir(folder).entryList({QStringLiteral("*.pdf")}, QDir::Files);
    return {l.begin(), l.end()};
}

} // namespace

TEST(CupsPrinting, EveryPageIsAJobOfItsOwn) {
    const QString queue = qEnvironmentVariable("VIMBREL_CUPS_QUEUE");
    const QString out = qEnvironmentVariable("VIMBREL_CUPS_OUT");
    if (queue.isEmpty() || out.isEmpty())
        GTEST_SKIP() << "no CUPS queue (tests/print/test_cups.sh sets one up)";
    PrintFixture f;
    f.select({1, 2, 3});
    f.printers.printer().setPrinterName(queue);
    f.printers.printer().setOutputFileName(QString());
    auto w = f.open();

    QSet<QString> before = pdfsIn(out);
    w->cb_print_Click(); // 6 x 4, two a page: two jobs
    EXPECT_EQ(w->prstat->text(), QStringLiteral("Completed  2 Pages"));
    QStringList jobs = cupsOutput(out, before, 2);
    ASSERT_EQ(jobs.size(), 2);
    for (const QString& job : jobs)
        expectPdf(job, 1, 612, 792);
    const QImage printed = renderedPage(jobs[0], 1, 30);
    ASSERT_EQ(printed.size(), QSize(255, 330));
    EXPECT_LT(meanDifference(printed, f.composed[0]), 8.0);

    before = pdfsIn(out);
    w->frmtype_Click(5);
    w->cb_print_Click(); // 4 x 6 pages
    jobs = cupsOutput(out, before, 3);
    ASSERT_EQ(jobs.size(), 3);
    for (const QString& job : jobs)
        expectPdf(job, 1, 288, 432);

    // The report: cups-pdf turns the fonts into drawings, so its text is compared as a picture
    // with the same report printed by Qt to a file.
    const QString direct = f.toFile(QStringLiteral("report.pdf"));
    PrintRep(f.a, f.printers, nullptr);
    f.printers.printer().setOutputFileName(QString());
    before = pdfsIn(out);
    PrintRep(f.a, f.printers, nullptr);
    jobs = cupsOutput(out, before, 1);
    ASSERT_EQ(jobs.size(), 1);
    EXPECT_EQ(pdfPages(jobs[0]), 1);
    const QImage viaCups = renderedPage(jobs[0], 1, 50);
    const QImage viaFile = renderedPage(direct, 1, 50);
    ASSERT_EQ(viaCups.size(), viaFile.size());
    EXPECT_LT(meanDifference(viaCups, viaFile), 3.0);
    QImage white(viaCups.size(), QImage::Format_RGB32);
    white.fill(Qt::white);
    EXPECT_GT(meanDifference(viaCups, white), 0.5) << "a blank page";
}
