// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Printing the album report: the printer set-up dialog, then every page of albumReport() in
// Liberation Mono, a header on every page.

#include "album.h"
#include "albumreport.h"
#include "printersetup.h"

#include <QPrinter>

class QWidget;

namespace vimbrel {

// The report of `a` on the shared printer, after the user confirmed the set-up dialog.
void PrintRep(const Album& a, PrinterSetup& printers, QWidget* parent);

// Draws `pages` on `printer` (already set up); false with a text when it could not print.
bool printReport(const QList<ReportPage>& pages, QPrinter& printer, QString* error);

} // namespace vimbrel
