// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The album report as data: pages of text lines in a fixed-width font, each line starting at a
// column and made of runs that may be bold or underlined. Printing only draws these lines, so
// the report's content and page breaks are tested without a printer.

#include "album.h"

#include <QDate>
#include <QList>
#include <QString>

namespace vimbrel {

struct ReportRun {
    QString text;
    bool bold = false;
    bool underline = false;
};

struct ReportLine {
    int size = 10;  // points
    int column = 1; // of the first run; column 1 is the left margin
    QList<ReportRun> runs;
    QString text() const; // the runs joined, without the leading columns
};

using ReportPage = QList<ReportLine>;

// Every page of the report of album `a`, dated `today`.
QList<ReportPage> albumReport(const Album& a, const QDate& today);

// "#,##0": thousands separated by commas.
QString reportCount(int n);
// A number placed at the right end of a field of five blanks.
QString rightIn5(const QString& s);

} // namespace vimbrel
