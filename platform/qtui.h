#pragma once
// The Ui of the running program: Qt message boxes, input dialog and override cursor.

#include "ui.h"

class QWidget;

namespace vimbrel {

class QtUi : public Ui {
public:
    // Dialogs are owned by the active window, else by `fallbackParent` when set.
    void setFallbackParent(QWidget* parent) { m_parent = parent; }

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
    QWidget* m_parent = nullptr;
};

} // namespace vimbrel
