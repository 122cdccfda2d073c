// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The one printer every print command uses, and the dialog that chooses and sets it up, so a
// choice made once applies to later printing. Tests install a scripted set-up that answers
// without showing anything.

#include <QPrinter>
#include <QString>
#include <memory>

class QWidget;

namespace vimbrel {

class PrinterSetup {
public:
    PrinterSetup() = default;
    virtual ~PrinterSetup() = default;
    PrinterSetup(const PrinterSetup&) = delete;
    PrinterSetup& operator=(const PrinterSetup&) = delete;

    // Made when first needed: making it asks the print system for its printers.
    QPrinter& printer() {
        if (!m_printer)
            m_printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
        return *m_printer;
    }
    // Shows the set-up dialog titled `title`; false when the user cancels it.
    virtual bool setup(const QString& title, QWidget* parent) = 0;

private:
    std::unique_ptr<QPrinter> m_printer;
};

// The platform's print dialog.
class QtPrinterSetup : public PrinterSetup {
public:
    bool setup(const QString& title, QWidget* parent) override;
};

} // namespace vimbrel
