// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The printer set-up dialog for tests: answers from a queue (empty: confirmed), records the
// titles, and may run something when confirmed (a test's stand-in for the user's next click).

#include "printersetup.h"

#include <QQueue>
#include <QStringList>
#include <functional>

namespace vimbrel::test {

class ScriptedPrinterSetup : public PrinterSetup {
public:
    QQueue<bool> answers;
    QStringList titles;
    std::function<void()> onConfirm;

    bool setup(const QString& title, QWidget*) override {
        titles.append(title);
        const bool ok = answers.isEmpty() || answers.dequeue();
        if (ok && onConfirm)
            onConfirm();
        return ok;
    }
};

} // namespace vimbrel::test
