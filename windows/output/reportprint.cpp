// SPDX-License-Identifier: GPL-3.0-or-later
#include "reportprint.h"

#include <QCoreApplication>

#include "pagesender.h"
#include "ui.h"

#include <QFont>
#include <QFontMetricsF>
#include <QPageSize>
#include <QPainter>

namespace vimbrel {

namespace {

QFont reportFont(int size, bool bold = false, bool underline = false) {
    QFont f(QStringLiteral("Liberation Mono"));
    f.setStyleHint(QFont::Monospace);
    f.setFixedPitch(true);
    f.setPointSize(size);
    f.setBold(bold);
    f.setUnderline(underline);
    return f;
}

struct Metrics {
    qreal pitch;  // line to line
    qreal ascent; // baseline below the top of a line
    qreal column; // width of one column
};

Metrics metricsOf(int size, QPaintDevice* device) {
    const QFontMetricsF fm(reportFont(size), device);
    return {fm.lineSpacing(), fm.ascent(), fm.horizontalAdvance(QLatin1Char(' '))};
}

} // namespace

bool printReport(const QList<ReportPage>& pages, QPrinter& printer, QString* error) {
    printer.setDocName(QStringLiteral("Vimbrel album report"));
    QPainter p;
    if (!p.begin(&printer)) {
        *error = printerError(printer);
        return false;
    }
    const QRectF area = printer.pageLayout().paintRectPixels(printer.resolution());
    const Metrics header = metricsOf(12, &printer);
    const Metrics body = metricsOf(10, &printer);
    auto metrics = [&](int size) {
        return size == 12 ? header : body;
    };
    // The line counts allow more lines than fit a page at the fonts' own spacing on some papers:
    // then every page is drawn a little smaller, the same for all, rather than lines lost.
    qreal tallest = 0;
    for (const ReportPage& page : pages) {
        qreal h = 0;
        for (const ReportLine& l : page)
            h += metrics(l.size).pitch;
        tallest = std::max(tallest, h);
    }
    const qreal scale = tallest > area.height() ? area.height() / tallest : 1.0;
    for (int i = 0; i < pages.size(); ++i) {
        if (i > 0 && !printer.newPage())
            break;
        p.save();
        p.translate(printer.fullPage() ? area.topLeft() : QPointF());
        p.scale(scale, scale);
        qreal y = 0;
        for (const ReportLine& l : pages[i]) {
            const Metrics m = metrics(l.size);
            qreal x = (l.column - 1) * m.column;
            for (const ReportRun& r : l.runs) {
                p.setFont(reportFont(l.size, r.bold, r.underline));
                p.drawText(QPointF(x, y + m.ascent), r.text);
                x += r.text.length() * m.column;
            }
            y += m.pitch;
        }
        p.restore();
    }
    p.end();
    if (printer.printerState() == QPrinter::Error) {
        *error = printerError(printer);
        return false;
    }
    return true;
}

void PrintRep(const Album& a, PrinterSetup& printers, QWidget* parent) {
    QPrinter& printer = printers.printer();
    // An 80-column letter page; the dialog would put the printer's default paper in its place.
    auto letterPage = [&printer] {
        printer.setFullPage(false);
        printer.setPageSize(QPageSize(QPageSize::Letter));
        printer.setPageOrientation(QPageLayout::Portrait);
        printer.setPageMargins(QMarginsF(0.25, 0.4, 0.25, 0.4), QPageLayout::Inch);
    };
    {
        BusyPointer busy(*a.ui);
        letterPage();
    }
    if (!printers.setup(QCoreApplication::translate("phprint", "Printer Setup"), parent))
        return;
    BusyPointer busy(*a.ui);
    letterPage();
    QString error;
    if (!printReport(albumReport(a, QDate::currentDate()), printer, &error))
        a.ui->message(QCoreApplication::translate("phprint", "Print - ERROR"), error,
                      MsgIcon::Critical);
}

} // namespace vimbrel
