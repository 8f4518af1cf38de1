// SPDX-License-Identifier: MIT
#pragma once

#include <QLocale>
#include <memory>
#include <vector>

class QTranslator;

namespace umbralux {

/// The resource folder of the program's own compiled translations (umbralux_de.qm, ...).
inline constexpr char kTranslationsFolder[] = ":/i18n";

/// The program's texts, and Qt's own (standard buttons, the command line's usage), in the user's language
/// for as long as it lives: installed at construction into the running core application, taken out again
/// at destruction. A language the program has no translation for leaves every text as written in the code.
class Translations {
  public:
    explicit Translations(const QLocale& locale = QLocale::system());
    ~Translations();
    Translations(const Translations&) = delete;
    Translations& operator=(const Translations&) = delete;

  private:
    void install(std::unique_ptr<QTranslator> translator);

    std::vector<std::unique_ptr<QTranslator>> m_installed;
};

} // namespace umbralux
