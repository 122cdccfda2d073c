// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The one way the store and the windows talk to the user: message boxes, the input box
// and the busy pointer. The real implementation (QtUi) shows Qt dialogs; tests install a
// ScriptedUi that answers from a queue and records what was asked.

#include <QString>
#include <optional>

namespace vimbrel {

enum class MsgIcon { None, Critical, Question, Exclamation, Information };
enum class MsgButtons { Ok, OkCancel, YesNo, YesNoCancel };
enum class MsgAnswer { Ok, Cancel, Yes, No };

class Ui {
public:
    virtual ~Ui() = default;

    // Shows a modal message box. A text with a carriage return shows as two lines.
    virtual MsgAnswer message(const QString& title, const QString& text, MsgIcon icon,
                              MsgButtons buttons = MsgButtons::Ok) = 0;
    // Asks for one line of text; nothing when the user cancels.
    virtual std::optional<QString> input(const QString& prompt, const QString& title,
                                         const QString& initial = {}) = 0;

    // A Save-As file dialog: the chosen path, or nothing when the user cancels. The chosen
    // folder must exist; an existing file is replaced without asking.
    virtual std::optional<QString> saveFileName(const QString& title, const QString& filter,
                                                const QString& folder) = 0;

    // The busy pointer nests: it shows while at least one BusyPointer is alive.
    virtual void pushBusyPointer() = 0;
    virtual void popBusyPointer() = 0;
};

// Holds the busy (hourglass) pointer for its lifetime, so every way out restores it.
class BusyPointer {
public:
    explicit BusyPointer(Ui& ui) : m_ui(ui) { m_ui.pushBusyPointer(); }
    ~BusyPointer() { m_ui.popBusyPointer(); }
    BusyPointer(const BusyPointer&) = delete;
    BusyPointer& operator=(const BusyPointer&) = delete;

private:
    Ui& m_ui;
};

// Answers nothing and shows nothing: the default before a real Ui is installed.
class SilentUi : public Ui {
public:
    MsgAnswer message(const QString&, const QString&, MsgIcon, MsgButtons buttons) override {
        return buttons == MsgButtons::Ok ? MsgAnswer::Ok : MsgAnswer::Cancel;
    }
    std::optional<QString> input(const QString&, const QString&, const QString&) override {
        return std::nullopt;
    }
    std::optional<QString> saveFileName(const QString&, const QString&, const QString&) override {
        return std::nullopt;
    }
    void pushBusyPointer() override {}
    void popBusyPointer() override {}
};

} // namespace vimbrel
