// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The album's text fields hold Windows-1252 in a fixed number of bytes. These keep a line edit
// to that, so nothing is changed or cut without the user seeing it: characters the code page
// lacks are refused as typed or pasted, and a counter beside the field shows how much is left.

#include "ansi.h"

#include <QLabel>
#include <QLineEdit>
#include <QValidator>
#include <algorithm>

namespace vimbrel {

class CodePageValidator : public QValidator {
public:
    using QValidator::QValidator;
    // Pasted text is first made what the file will hold (accents composed, line breaks made
    // blanks); what the code page still lacks is refused.
    State validate(QString& input, int& pos) const override {
        const QString fitted = ansi::forField(input);
        if (!ansi::holds(fitted))
            return Invalid;
        if (fitted != input) {
            pos = std::min(int(ansi::forField(input.left(pos)).size()), int(fitted.size()));
            input = fitted;
        }
        return Acceptable;
    }
};

// "12/30": the characters used of the field's limit.
inline QString limitText(int used, int limit) {
    return QStringLiteral("%1/%2").arg(used).arg(limit);
}

// Puts the code-page filter on `field` and returns a counter label (made a child of `host`)
// that follows it; the caller places the label.
inline QLabel* limitField(QLineEdit* field, QWidget* host) {
    field->setValidator(new CodePageValidator(field));
    auto* counter = new QLabel(host);
    counter->setObjectName(field->objectName() + QStringLiteral("_count"));
    counter->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    counter->setMinimumWidth(counter->fontMetrics().horizontalAdvance(QStringLiteral("00/00")) + 4);
    const auto show = [field, counter] {
        counter->setText(limitText(int(field->text().size()), field->maxLength()));
    };
    QObject::connect(field, &QLineEdit::textChanged, counter, show);
    show();
    return counter;
}

} // namespace vimbrel
