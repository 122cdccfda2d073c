// SPDX-License-Identifier: GPL-3.0-or-later
#include "catalogue.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

#include <memory>

namespace vimbrel {

namespace {

std::unique_ptr<QTranslator>& own() {
    static std::unique_ptr<QTranslator> t;
    return t;
}

std::unique_ptr<QTranslator>& qts() {
    static std::unique_ptr<QTranslator> t;
    return t;
}

// Installed only when found, so a missing catalogue leaves the English texts.
void install(std::unique_ptr<QTranslator>& slot, std::unique_ptr<QTranslator> t) {
    QCoreApplication::installTranslator(t.get());
    slot = std::move(t);
}

} // namespace

bool installTranslations(const QLocale& locale) {
    removeTranslations();
    auto qt = std::make_unique<QTranslator>();
    if (qt->load(locale, QStringLiteral("qtbase"), QStringLiteral("_"),
                 QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        install(qts(), std::move(qt));
    auto ours = std::make_unique<QTranslator>();
    if (!ours->load(locale, QStringLiteral("vimbrel"), QStringLiteral("_"),
                    QStringLiteral(":/translations")))
        return false;
    install(own(), std::move(ours));
    return true;
}

void removeTranslations() {
    for (auto* slot : {&own(), &qts()}) {
        if (*slot)
            QCoreApplication::removeTranslator(slot->get());
        slot->reset();
    }
}

} // namespace vimbrel
