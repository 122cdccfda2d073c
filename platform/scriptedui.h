// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A Ui for tests: answers come from queues, every question is recorded.
//
// A real modal box runs an event loop while it is open: signals of finished futures, timers
// and posted events are delivered then, and code that shows a box must survive being
// re-entered. With `spin` on, every question does the same before it is answered: it waits
// for the global thread pool's tasks (as a user reading the box gives them time to end) and
// then runs an event loop until the events posted so far are delivered. Widget tests have it
// on (spinByDefault); tests without an application leave it off.

#include "ui.h"

#include <QEventLoop>
#include <QList>
#include <QQueue>
#include <QThreadPool>
#include <QTimer>
#include <algorithm>

namespace vimbrel {

class ScriptedUi : public Ui {
public:
    struct Shown {
        QString title;
        QString text;
        MsgIcon icon;
        MsgButtons buttons;
    };

    QList<Shown> shown;
    QQueue<MsgAnswer> answers;                // empty: Ok, or the first button
    QQueue<std::optional<QString>> inputs;    // empty: cancelled
    QQueue<std::optional<QString>> saveNames; // empty: cancelled
    int busyDepth = 0;
    int busyMaxDepth = 0;

    static inline bool spinByDefault = false;
    bool spin = spinByDefault;
    int openBoxes = 0;    // questions being asked now; above 1 a box was opened inside another
    int maxOpenBoxes = 0; // the deepest nesting seen

    MsgAnswer message(const QString& title, const QString& text, MsgIcon icon,
                      MsgButtons buttons) override {
        shown.append({title, text, icon, buttons});
        runOpenBox();
        if (!answers.isEmpty())
            return answers.dequeue();
        return buttons == MsgButtons::YesNo || buttons == MsgButtons::YesNoCancel ? MsgAnswer::Yes
                                                                                  : MsgAnswer::Ok;
    }
    std::optional<QString> input(const QString& prompt, const QString& title,
                                 const QString&) override {
        shown.append({title, prompt, MsgIcon::None, MsgButtons::OkCancel});
        runOpenBox();
        return inputs.isEmpty() ? std::nullopt : inputs.dequeue();
    }
    std::optional<QString> saveFileName(const QString& title, const QString& filter,
                                        const QString&) override {
        shown.append({title, filter, MsgIcon::None, MsgButtons::OkCancel});
        runOpenBox();
        return saveNames.isEmpty() ? std::nullopt : saveNames.dequeue();
    }
    void pushBusyPointer() override { busyMaxDepth = std::max(busyMaxDepth, ++busyDepth); }
    void popBusyPointer() override { --busyDepth; }

private:
    void runOpenBox() {
        if (!spin)
            return;
        maxOpenBoxes = std::max(maxOpenBoxes, ++openBoxes);
        QThreadPool::globalInstance()->waitForDone();
        // The quit is posted behind everything already waiting, so all of that is delivered.
        QEventLoop loop;
        QTimer::singleShot(0, &loop, &QEventLoop::quit);
        loop.exec();
        --openBoxes;
    }
};

} // namespace vimbrel
