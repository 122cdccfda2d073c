// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The Alt+letter keys of a window's buttons and labelled fields: a letter taken twice only
// moves the focus between the two instead of acting.

#include <QAbstractButton>
#include <QLabel>
#include <QMap>
#include <QStringList>
#include <QWidget>

namespace vimbrel::test {

inline QChar mnemonicOf(const QString& text) {
    for (qsizetype i = 0; i + 1 < text.size(); ++i) {
        if (text[i] != QLatin1Char('&'))
            continue;
        if (text[i + 1] != QLatin1Char('&'))
            return text[i + 1].toLower();
        ++i; // "&&" is a plain ampersand
    }
    return {};
}

// "E: R&ename, &Exit" for every letter two controls share; empty when none do.
inline QStringList mnemonicClashes(const QWidget& window) {
    QMap<QChar, QStringList> byKey;
    const auto note = [&](const QString& text) {
        if (const QChar k = mnemonicOf(text); !k.isNull())
            byKey[k].append(text);
    };
    for (const QAbstractButton* b : window.findChildren<QAbstractButton*>())
        note(b->text());
    for (const QLabel* l : window.findChildren<QLabel*>())
        if (l->buddy())
            note(l->text());
    QStringList clashes;
    for (auto it = byKey.cbegin(); it != byKey.cend(); ++it)
        if (it.value().size() > 1)
            clashes.append(QString(it.key()) + QStringLiteral(": ") +
                           it.value().join(QStringLiteral(", ")));
    return clashes;
}

} // namespace vimbrel::test
