// SPDX-License-Identifier: GPL-3.0-or-later
#include "qtui.h"

#include <QApplication>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>

namespace vimbrel {

QWidget* QtUi::parentWidget() const {
    if (QWidget* w = QApplication::activeWindow())
        return w;
    return m_parent;
}

void QtUi::clearTheWay() {
    if (m_stepAside && m_stepAside->isVisible())
        m_stepAside->hide();
}

MsgAnswer QtUi::message(const QString& title, const QString& text, MsgIcon icon,
                        MsgButtons buttons) {
    clearTheWay();
    QMessageBox box(parentWidget());
    // The splash and the Photo Box stay on top; a box waiting for an answer must not hide
    // behind them.
    box.setWindowFlag(Qt::WindowStaysOnTopHint);
    box.setWindowTitle(title);
    // Two-line texts are joined with a carriage return; Qt breaks lines on \n only.
    box.setText(QString(text).replace(QLatin1Char('\r'), QLatin1Char('\n')));
    box.setTextFormat(Qt::PlainText);
    switch (icon) {
    case MsgIcon::None:
        box.setIcon(QMessageBox::NoIcon);
        break;
    case MsgIcon::Critical:
        box.setIcon(QMessageBox::Critical);
        break;
    case MsgIcon::Question:
        box.setIcon(QMessageBox::Question);
        break;
    case MsgIcon::Exclamation:
        box.setIcon(QMessageBox::Warning);
        break;
    case MsgIcon::Information:
        box.setIcon(QMessageBox::Information);
        break;
    }
    switch (buttons) {
    case MsgButtons::Ok:
        box.setStandardButtons(QMessageBox::Ok);
        break;
    case MsgButtons::OkCancel:
        box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
        break;
    case MsgButtons::YesNo:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        break;
    case MsgButtons::YesNoCancel:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        break;
    }
    // A busy pointer must not hide that the program is waiting for an answer.
    const bool busy = QApplication::overrideCursor() != nullptr;
    if (busy)
        QApplication::setOverrideCursor(Qt::ArrowCursor);
    const int r = box.exec();
    if (busy)
        QApplication::restoreOverrideCursor();
    switch (r) {
    case QMessageBox::Yes:
        return MsgAnswer::Yes;
    case QMessageBox::No:
        return MsgAnswer::No;
    case QMessageBox::Cancel:
        return MsgAnswer::Cancel;
    default:
        return buttons == MsgButtons::Ok ? MsgAnswer::Ok : MsgAnswer::Cancel;
    }
}

std::optional<QString> QtUi::input(const QString& prompt, const QString& title,
                                   const QString& initial) {
    clearTheWay();
    bool ok = false;
    const QString s =
        QInputDialog::getText(parentWidget(), title, prompt, QLineEdit::Normal, initial, &ok);
    if (!ok)
        return std::nullopt;
    return s;
}

std::optional<QString> QtUi::saveFileName(const QString& title, const QString& filter,
                                          const QString& folder) {
    clearTheWay();
    const QString f = QFileDialog::getSaveFileName(parentWidget(), title, folder, filter, nullptr,
                                                   QFileDialog::DontConfirmOverwrite);
    if (f.isEmpty())
        return std::nullopt;
    return f;
}

void QtUi::pushBusyPointer() {
    QApplication::setOverrideCursor(Qt::WaitCursor);
}
void QtUi::popBusyPointer() {
    QApplication::restoreOverrideCursor();
}

} // namespace vimbrel
