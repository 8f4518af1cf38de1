// SPDX-License-Identifier: MIT
#include "translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

namespace umbralux {

Translations::Translations(const QLocale& locale) {
    // Qt's own first: the program's translation, installed last, is the one asked first.
    auto qt = std::make_unique<QTranslator>();
    if (qt->load(locale, QStringLiteral("qtbase"), QStringLiteral("_"),
                 QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        install(std::move(qt));
    auto own = std::make_unique<QTranslator>();
    if (own->load(locale, QStringLiteral("umbralux"), QStringLiteral("_"),
                  QLatin1String(kTranslationsFolder)))
        install(std::move(own));
}

Translations::~Translations() {
    for (const auto& translator : m_installed)
        QCoreApplication::removeTranslator(translator.get());
}

void Translations::install(std::unique_ptr<QTranslator> translator) {
    if (QCoreApplication::installTranslator(translator.get()))
        m_installed.push_back(std::move(translator));
}

} // namespace umbralux
