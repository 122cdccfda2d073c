// SPDX-License-Identifier: GPL-3.0-or-later
#include "pagesender.h"

#include <QCoreApplication>

#include <QPageSize>

namespace vimbrel {

QString printerError(const QPrinter& p) {
    if (!p.outputFileName().isEmpty())
        return QCoreApplication::translate("phprint", "The file %1 could not be written.")
            .arg(p.outputFileName());
    return QCoreApplication::translate("phprint", "The printer %1 did not accept the print job.")
        .arg(p.printerName());
}

PageSender::PageSender(QPrinter& printer, int dpi, QString docName)
    : m_printer(printer), m_dpi(dpi), m_docName(std::move(docName)),
      m_toFile(!printer.outputFileName().isEmpty()) {}

PageSender::~PageSender() {
    if (m_painter.isActive())
        m_painter.end();
}

bool PageSender::begin(QString* error) {
    m_printer.setDocName(m_toFile ? m_docName
                                  : QStringLiteral("%1 - page %2").arg(m_docName).arg(m_sent + 1));
    m_printer.setFullPage(true);
    if (!m_painter.begin(&m_printer)) {
        *error = printerError(m_printer);
        return false;
    }
    return true;
}

void PageSender::draw(const QImage& page) {
    m_painter.save();
    const qreal scale = qreal(m_printer.resolution()) / m_dpi;
    m_painter.scale(scale, scale);
    m_painter.drawImage(QPoint(0, 0), page);
    m_painter.restore();
}

bool PageSender::send(const QImage& page, QString* error) {
    if (m_toFile && m_painter.isActive()) {
        if (!m_printer.newPage()) {
            *error = printerError(m_printer);
            return false;
        }
    } else if (!begin(error)) {
        return false;
    }
    draw(page);
    ++m_sent;
    if (!m_toFile)
        m_painter.end();
    if (m_printer.printerState() == QPrinter::Error) {
        *error = printerError(m_printer);
        return false;
    }
    return true;
}

bool PageSender::finish(QString* error) {
    if (!m_painter.isActive())
        return true;
    m_painter.end();
    if (m_printer.printerState() == QPrinter::Error) {
        *error = printerError(m_printer);
        return false;
    }
    return true;
}

void setPaper(QPrinter& printer, QSizeF inches) {
    printer.setPageSize(QPageSize(inches, QPageSize::Inch));
    printer.setPageOrientation(QPageLayout::Portrait);
    printer.setFullPage(true);
    printer.setPageMargins(QMarginsF(0, 0, 0, 0), QPageLayout::Inch);
}

} // namespace vimbrel
