#pragma once
// A Ui for tests: answers come from queues, every question is recorded.

#include "ui.h"

#include <QList>
#include <QQueue>

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
    QQueue<MsgAnswer> answers;             // empty: Ok, or the first button
    QQueue<std::optional<QString>> inputs; // empty: cancelled
    QQueue<std::optional<QString>> saveNames; // empty: cancelled
    int busyDepth = 0;
    int busyMaxDepth = 0;

    MsgAnswer message(const QString& title, const QString& text, MsgIcon icon,
                      MsgButtons buttons) override {
        shown.append({title, text, icon, buttons});
        if (!answers.isEmpty())
            return answers.dequeue();
        return buttons == MsgButtons::YesNo || buttons == MsgButtons::YesNoCancel ? MsgAnswer::Yes
                                                                                  : MsgAnswer::Ok;
    }
    std::optional<QString> input(const QString& prompt, const QString& title,
                                 const QString&) override {
        shown.append({title, prompt, MsgIcon::None, MsgButtons::OkCancel});
        return inputs.isEmpty() ? std::nullopt : inputs.dequeue();
    }
    std::optional<QString> saveFileName(const QString& title, const QString& filter,
                                        const QString&) override {
        shown.append({title, filter, MsgIcon::None, MsgButtons::OkCancel});
        return saveNames.isEmpty() ? std::nullopt : saveNames.dequeue();
    }
    void pushBusyPointer() override { busyMaxDepth = std::max(busyMaxDepth, ++busyDepth); }
    void popBusyPointer() override { --busyDepth; }
};

} // namespace vimbrel
