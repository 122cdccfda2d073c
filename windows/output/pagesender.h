// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Sends composed page pictures to the printer at their natural size, from the paper's corner.
//
// A printer gets every page as a job of its own, so the first page prints while the next is
// composed. Printing to a file makes one document of all pages instead: a job per page would
// write each page over the one before.

#include <QImage>
#include <QPainter>
#include <QPrinter>
#include <QString>

namespace vimbrel {

class PageSender {
public:
    // `dpi`: the resolution the pages were composed at. `docName` names the jobs.
    PageSender(QPrinter& printer, int dpi, QString docName);
    ~PageSender();
    PageSender(const PageSender&) = delete;
    PageSender& operator=(const PageSender&) = delete;

    // False with a text for the user when the page could not be printed.
    bool send(const QImage& page, QString* error);
    // Ends the document of a file; harmless when nothing is open.
    bool finish(QString* error);

private:
    bool begin(QString* error);
    void draw(const QImage& page);

    QPrinter& m_printer;
    int m_dpi;
    QString m_docName;
    bool m_toFile;
    QPainter m_painter;
    int m_sent = 0;
};

// What to tell the user when `p` refused a job: Qt gives no reason of its own.
QString printerError(const QPrinter& p);

// Makes the printer's paper the given size in inches, portrait, with no margins, so that a page
// composed for that paper lands on it exactly.
void setPaper(QPrinter& printer, QSizeF inches);

} // namespace vimbrel
