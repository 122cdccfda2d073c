// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The Ui of the running program: Qt message boxes, input dialog and override cursor.

#include "ui.h"

#include <QPointer>
#include <QWidget>

namespace vimbrel {

class QtUi : public Ui {
public:
    // Dialogs are owned by the active window, else by `fallbackParent` when set.
    void setFallbackParent(QWidget* parent) { m_parent = parent; }
    // A window kept above all others (the splash) that a question must not sit behind: it
    // is hidden before any box or dialog is shown. Its own timers go on.
    void setStepAside(QWidget* w) { m_stepAside = w; }

    MsgAnswer message(const QString& title, const QString& text, MsgIcon icon,
                      MsgButtons buttons) override;
    std::optional<QString> input(const QString& prompt, const QString& title,
                                 const QString& initial) override;
    std::optional<QString> saveFileName(const QString& title, const QString& filter,
                                        const QString& folder) override;
    void pushBusyPointer() override;
    void popBusyPointer() override;

private:
    QWidget* parentWidget() const;
    void clearTheWay();
    QWidget* m_parent = nullptr;
    QPointer<QWidget> m_stepAside;
};

} // namespace vimbrel
