// SPDX-License-Identifier: GPL-3.0-or-later
#include "printersetup.h"

#include <QPrintDialog>

namespace vimbrel {

bool QtPrinterSetup::setup(const QString& title, QWidget* parent) {
    QPrintDialog d(&printer(), parent);
    d.setWindowTitle(title);
    // Printer and paper only: what is printed is decided by the window that asks.
    d.setOptions(QAbstractPrintDialog::PrintToFile | QAbstractPrintDialog::PrintShowPageSize);
    return d.exec() == QDialog::Accepted;
}

} // namespace vimbrel
